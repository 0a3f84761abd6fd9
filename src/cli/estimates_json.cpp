#include "cli/estimates_json.h"

#include <cstdio>

#include "status/calc_estimate.h"

namespace kelvary::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kIndent = 2;

template <typename T>
Json OrNull(const std::optional<T>& value) {
  return value ? Json(*value) : Json(nullptr);
}

Json TimeOrNull(const std::optional<LogSeconds>& at) { return at ? Json(IsoDateTime(*at)) : Json(nullptr); }

Json NoticesJson(const CalcPlace& place) {
  Json notices = Json::array();
  for (const NoticeStamp& notice : place.KeptNotices()) {
    notices.push_back({{"done", notice.done}, {"total", notice.total}, {"stamp", TimeOrNull(notice.at)}});
  }
  return notices;
}

Json RunningJson(const ScanState& state, const CalcPlace& place) {
  const CalcEstimate estimate = EstimateOf(place, state.history, state.latest_stamp, state.latest_entry_age_seconds);
  const std::string_view basis = BasisName(estimate.basis);
  return {{"database", place.Database},
          {"user", place.StartedBy},
          {"started", TimeOrNull(place.StartedAt)},
          {"notices_done", place.NoticesDone},
          {"notices_total", place.NoticesTotal},
          {"percent", OrNull(estimate.percent)},
          {"elapsed_seconds", OrNull(estimate.elapsed_seconds)},
          {"estimated_finish", TimeOrNull(estimate.estimated_finish)},
          {"estimated_seconds_left", OrNull(estimate.estimated_seconds_left)},
          {"estimate_basis", basis.empty() ? Json(nullptr) : Json(basis)},
          {"notices", NoticesJson(place)}};
}

}  // namespace

Json HistoryJson(const CalcHistory& history) {
  Json runs = Json::array();
  for (const FinishedRun& run : history.LatestRuns()) {
    runs.push_back({{"database", run.database},
                    {"user", run.user},
                    {"started", TimeOrNull(run.started)},
                    {"finished", TimeOrNull(run.finished)},
                    {"elapsed_seconds", OrNull(run.elapsed_seconds)}});
  }
  Json summary = Json::array();
  for (const RunSummary& pair : history.Summaries()) {
    summary.push_back({{"database", pair.database},
                       {"user", pair.user},
                       {"runs", pair.runs},
                       {"median_seconds", OrNull(pair.median_seconds)},
                       {"longest_seconds", OrNull(pair.longest_seconds)},
                       {"latest_finished", TimeOrNull(pair.latest_finished)}});
  }
  return {{"runs", std::move(runs)}, {"summary", std::move(summary)}};
}

Json ScanJson(const ScanState& state, std::string_view application) {
  Json running = Json::array();
  for (int k = 0; k < state.intCalcCount; ++k) running.push_back(RunningJson(state, state.arrCalcs[k]));
  return {{"application", application},
          {"latest_stamp", TimeOrNull(state.latest_stamp)},
          {"latest_entry_age_seconds", OrNull(state.latest_entry_age_seconds)},
          {"running", std::move(running)},
          {"history", HistoryJson(state.history)}};
}

void PrintJson(const Json& json) {
  const std::string text = json.dump(kIndent, ' ', false, Json::error_handler_t::replace);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace kelvary::cli
