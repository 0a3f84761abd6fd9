#pragma once
// The calculations that a log shows as finished, kept in bounded memory
// whatever the log holds: a summary per database and user, and the latest
// runs. Filled by the scan; the estimate of a calculation that has not yet
// sent a notice rests on the median of its database and user.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "status/log_stamp.h"

namespace kelvary {

inline constexpr std::size_t kLatestRunsKept = 20;
// The median is taken over this many of a pair's latest timed runs: recent
// runs say more about the next one than runs of last year.
inline constexpr std::size_t kMedianRuns = 31;
// Pairs beyond this replace the one that finished longest ago.
inline constexpr std::size_t kSummaryPairs = 100;

struct FinishedRun {
  std::string database;
  std::string user;
  std::optional<LogSeconds> started;
  std::optional<LogSeconds> finished;
  std::optional<double> elapsed_seconds;
};

struct RunSummary {
  std::string database;
  std::string user;
  std::int64_t runs = 0;
  std::optional<double> median_seconds;
  std::optional<double> longest_seconds;
  std::optional<LogSeconds> latest_finished;
};

class CalcHistory {
 public:
  CalcHistory();

  void Record(std::string_view database, std::string_view user, std::optional<LogSeconds> started,
              std::optional<LogSeconds> finished, std::optional<double> elapsed_seconds);
  void Clear();

  // Oldest first.
  std::vector<FinishedRun> LatestRuns() const;
  // In the order the pairs first finished.
  std::vector<RunSummary> Summaries() const;
  // The median elapsed time of the pair's latest timed runs, if it has any.
  std::optional<double> MedianSeconds(std::string_view database, std::string_view user) const;

 private:
  struct Pair {
    std::string database;
    std::string user;
    std::int64_t runs = 0;
    std::optional<double> longest;
    std::optional<LogSeconds> latest_finished;
    std::array<double, kMedianRuns> recent{};  // a ring of elapsed times
    std::size_t timed = 0;                     // how many were ever written to it
  };

  Pair& PairOf(std::string_view database, std::string_view user);
  // The pair's index, or pairs_.size() when it has none.
  std::size_t IndexOfPair(std::string_view database, std::string_view user) const;
  static std::optional<double> MedianOf(const Pair& pair);

  std::vector<Pair> pairs_;
  std::array<FinishedRun, kLatestRunsKept> latest_;  // a ring
  std::size_t recorded_ = 0;
};

}  // namespace kelvary
