#include "status/calc_history.h"

#include <algorithm>

namespace kelvary {

CalcHistory::CalcHistory() { pairs_.reserve(kSummaryPairs); }

void CalcHistory::Record(std::string_view database, std::string_view user, std::optional<LogSeconds> started,
                         std::optional<LogSeconds> finished, std::optional<double> elapsed_seconds) {
  // Assigning into a kept run reuses its strings' room: no allocation once
  // the ring has gone round.
  FinishedRun& kept = latest_[recorded_++ % kLatestRunsKept];
  kept.database.assign(database);
  kept.user.assign(user);
  kept.started = started;
  kept.finished = finished;
  kept.elapsed_seconds = elapsed_seconds;

  Pair& pair = PairOf(database, user);
  ++pair.runs;
  if (finished && (!pair.latest_finished || *finished > *pair.latest_finished)) pair.latest_finished = finished;
  if (!elapsed_seconds) return;
  pair.longest = std::max(pair.longest.value_or(*elapsed_seconds), *elapsed_seconds);
  pair.recent[pair.timed++ % kMedianRuns] = *elapsed_seconds;
}

void CalcHistory::Clear() {
  pairs_.clear();
  recorded_ = 0;
}

std::vector<FinishedRun> CalcHistory::LatestRuns() const {
  std::vector<FinishedRun> runs;
  const std::size_t count = std::min(recorded_, kLatestRunsKept);
  for (std::size_t i = recorded_ - count; i < recorded_; ++i) runs.push_back(latest_[i % kLatestRunsKept]);
  return runs;
}

std::vector<RunSummary> CalcHistory::Summaries() const {
  std::vector<RunSummary> summaries;
  for (const Pair& pair : pairs_) {
    summaries.push_back({pair.database, pair.user, pair.runs, MedianOf(pair), pair.longest, pair.latest_finished});
  }
  return summaries;
}

std::optional<double> CalcHistory::MedianSeconds(std::string_view database, std::string_view user) const {
  const std::size_t found = IndexOfPair(database, user);
  return found < pairs_.size() ? MedianOf(pairs_[found]) : std::nullopt;
}

CalcHistory::Pair& CalcHistory::PairOf(std::string_view database, std::string_view user) {
  if (const std::size_t found = IndexOfPair(database, user); found < pairs_.size()) return pairs_[found];
  if (pairs_.size() == kSummaryPairs) {
    // A pair with no known finish counts as the oldest.
    const auto oldest = std::min_element(pairs_.begin(), pairs_.end(), [](const Pair& a, const Pair& b) {
      return a.latest_finished < b.latest_finished;
    });
    pairs_.erase(oldest);
  }
  Pair& pair = pairs_.emplace_back();
  pair.database.assign(database);
  pair.user.assign(user);
  return pair;
}

std::size_t CalcHistory::IndexOfPair(std::string_view database, std::string_view user) const {
  for (std::size_t i = 0; i < pairs_.size(); ++i) {
    if (pairs_[i].database == database && pairs_[i].user == user) return i;
  }
  return pairs_.size();
}

std::optional<double> CalcHistory::MedianOf(const Pair& pair) {
  const std::size_t count = std::min(pair.timed, kMedianRuns);
  if (count == 0) return std::nullopt;
  std::array<double, kMedianRuns> sorted = pair.recent;
  std::sort(sorted.begin(), sorted.begin() + count);
  return count % 2 == 1 ? sorted[count / 2] : (sorted[count / 2 - 1] + sorted[count / 2]) / 2.0;
}

}  // namespace kelvary
