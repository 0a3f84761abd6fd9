#include "status/calc_estimate.h"

#include <algorithm>
#include <cmath>

namespace kelvary {
namespace {

constexpr int kWhole = 100;  // per cent
constexpr double kSecondsPerMinute = 60.0;
constexpr std::int64_t kMinutesPerHour = 60;

std::optional<int> PercentDone(const CalcPlace& place) {
  if (place.NoticesTotal <= 0 || place.NoticesDone > place.NoticesTotal) return std::nullopt;
  return static_cast<int>(place.NoticesDone * kWhole / place.NoticesTotal);
}

// Start to the latest notice, scaled from the notices done to the total.
std::optional<LogSeconds> FinishFromNotices(const CalcPlace& place) {
  const NoticeStamp* latest = place.LatestNotice();
  if (!latest || !latest->at || place.NoticesTotal <= 0 || place.NoticesDone > place.NoticesTotal) {
    return std::nullopt;
  }
  const std::int64_t so_far = *latest->at - *place.StartedAt;
  if (so_far < 0) return std::nullopt;  // the clock went back: the rate means nothing
  const double whole = static_cast<double>(so_far) * place.NoticesTotal / place.NoticesDone;
  return *place.StartedAt + std::llround(whole);
}

}  // namespace

CalcEstimate EstimateOf(const CalcPlace& place, const CalcHistory& history, std::optional<LogSeconds> latest_stamp,
                        std::optional<std::int64_t> latest_entry_age_seconds) {
  CalcEstimate estimate;
  estimate.percent = PercentDone(place);
  if (!place.StartedAt) return estimate;
  // Now, by the log's clock: the latest entry's stamp and the time since it was written.
  if (latest_stamp) latest_stamp = *latest_stamp + latest_entry_age_seconds.value_or(0);
  if (latest_stamp && *latest_stamp >= *place.StartedAt) estimate.elapsed_seconds = *latest_stamp - *place.StartedAt;
  if (const auto finish = FinishFromNotices(place)) {
    estimate.estimated_finish = finish;
    estimate.basis = EstimateBasis::Notices;
  } else if (const auto median = history.MedianSeconds(place.Database, place.StartedBy)) {
    estimate.estimated_finish = *place.StartedAt + std::llround(*median);
    estimate.basis = EstimateBasis::History;
  }
  // Past its estimated finish and still running: nothing left to say but "any time now".
  if (estimate.estimated_finish && latest_stamp) {
    estimate.estimated_seconds_left = std::max<std::int64_t>(0, *estimate.estimated_finish - *latest_stamp);
  }
  return estimate;
}

std::string DurationText(double seconds) {
  if (seconds < kSecondsPerMinute) return std::to_string(std::llround(std::max(0.0, seconds))) + " s";
  const std::int64_t minutes = std::llround(seconds / kSecondsPerMinute);
  if (minutes < kMinutesPerHour) return std::to_string(minutes) + " min";
  const std::int64_t rest = minutes % kMinutesPerHour;
  return std::to_string(minutes / kMinutesPerHour) + " h " + (rest < 10 ? "0" : "") + std::to_string(rest) + " min";
}

std::string EstimateText(const CalcEstimate& estimate) {
  std::string text = "~ ";
  if (estimate.percent) text += std::to_string(*estimate.percent) + "%, ";
  text += estimate.elapsed_seconds ? "running " + DurationText(static_cast<double>(*estimate.elapsed_seconds))
                                   : std::string("running for an unknown time");
  switch (estimate.basis) {
    case EstimateBasis::Notices:
    case EstimateBasis::History: {
      const auto& left_seconds = estimate.estimated_seconds_left;
      const std::string left = !left_seconds     ? std::string("time left unknown")
                               : *left_seconds == 0 ? std::string("due now")
                                                    : "about " + DurationText(static_cast<double>(*left_seconds)) + " left";
      text += ", " + left + (estimate.basis == EstimateBasis::Notices ? " (from its notices)" : " (from earlier runs)");
      break;
    }
    case EstimateBasis::None:
      text += ", no estimate";
      break;
  }
  return text;
}

std::string_view BasisName(EstimateBasis basis) {
  switch (basis) {
    case EstimateBasis::Notices:
      return "notices";
    case EstimateBasis::History:
      return "history";
    case EstimateBasis::None:
      break;
  }
  return {};
}

}  // namespace kelvary
