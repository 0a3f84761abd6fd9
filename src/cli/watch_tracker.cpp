#include "cli/watch_tracker.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "cli/check_command.h"
#include "status/calc_estimate.h"

namespace kelvary::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr char kDateTimeJoint = 'T';
constexpr char kTextJoint = ' ';
constexpr std::string_view kEventGap = "  ";
constexpr std::string_view kNameJoint = ": ";

std::string Notices(const ListedCalc& calc) {
  std::string text = std::to_string(calc.notices_done);
  if (calc.notices_total > 0) {
    text += " of ";
    text += std::to_string(calc.notices_total);
  }
  text += calc.notices_total == 0 && calc.notices_done == 1 ? " notice" : " notices";
  return text;
}

std::string Who(const ListedCalc& calc) { return calc.database + " by " + calc.user; }

std::string_view EventName(CalcChangeKind kind) {
  switch (kind) {
    case CalcChangeKind::Started:
      return "started";
    case CalcChangeKind::Progressed:
      return "progress";
    case CalcChangeKind::Finished:
      return "finished";
    case CalcChangeKind::Gone:
      return "ended";
  }
  return {};
}

std::string ChangeText(const CalcChange& change) {
  const ListedCalc& calc = change.calc;
  switch (change.kind) {
    case CalcChangeKind::Started:
      return Who(calc) + " started at " + calc.start_time;
    case CalcChangeKind::Progressed:
      return Who(calc) + ": " + Notices(calc);
    case CalcChangeKind::Finished:
      return Who(calc) + " finished" +
             (change.elapsed_seconds ? " after " + DurationText(*change.elapsed_seconds) : std::string());
    case CalcChangeKind::Gone:
      return Who(calc) + " is no longer running";
  }
  return {};
}

Json Nullable(const std::optional<double>& value) { return value ? Json(*value) : Json(nullptr); }

}  // namespace

std::string WatchTracker::Line(std::string_view now, std::string_view event, std::string_view text,
                               std::string_view application, const CalcChange* change,
                               std::string_view reason) const {
  if (!json_) {
    std::string line(now);
    std::replace(line.begin(), line.end(), kDateTimeJoint, kTextJoint);
    line += kEventGap;
    if (named_) {
      line += application;
      line += kNameJoint;
    }
    line += text;
    return line;
  }
  Json json{{"time", now}, {"event", event}, {"application", application}};
  if (change) {
    const ListedCalc& calc = change->calc;
    json["database"] = calc.database;
    json["user"] = calc.user;
    json["started"] = calc.started ? Json(IsoDateTime(*calc.started)) : Json(nullptr);
    json["notices_done"] = calc.notices_done;
    json["notices_total"] = calc.notices_total > 0 ? Json(calc.notices_total) : Json(nullptr);
    if (change->kind == CalcChangeKind::Finished) json["elapsed_seconds"] = Nullable(change->elapsed_seconds);
  }
  if (!reason.empty()) json["reason"] = reason;
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::vector<std::string> WatchTracker::AfterCheck(std::string_view now, int exit_code, const ScanState* state,
                                                  std::string_view application) {
  std::vector<std::string> lines;
  if (exit_code != 0 || !state) {
    const std::string why(CheckFailureText(exit_code));
    if (failing_ != why) lines.push_back(Line(now, "check_failed", "check failed: " + why, application, nullptr, why));
    failing_ = why;
    nothing_running_ = false;
    return lines;
  }
  if (failing_) lines.push_back(Line(now, "check_recovered", "check recovered", application, nullptr, {}));
  failing_.reset();
  if (!seen_) {
    for (const ListedCalc& calc : ListedCalcs(*state)) {
      const CalcChange running{CalcChangeKind::Started, calc, std::nullopt};
      lines.push_back(Line(now, "running", Who(calc) + " running since " + calc.start_time + ", " + Notices(calc),
                           application, &running, {}));
    }
  } else {
    for (const CalcChange& change : ChangesBetween(*seen_, *state)) {
      lines.push_back(Line(now, EventName(change.kind), ChangeText(change), application, &change, {}));
    }
  }
  seen_ = ListedCalcs(*state);
  nothing_running_ = seen_->empty();
  return lines;
}

}  // namespace kelvary::cli
