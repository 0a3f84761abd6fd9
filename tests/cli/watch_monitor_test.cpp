// What `watch` and `monitor` make of checks, without running them: the
// durations they are given, the plugin's status line, and the watch's lines
// over a run of checks.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <tuple>

#include "cli/duration_option.h"
#include "cli/exit_codes.h"
#include "cli/monitor_status.h"
#include "cli/watch_tracker.h"
#include "status/stamped_log.h"

namespace kelvary::test {
namespace {

using cli::MonitorStatus;
using cli::MonitorThresholds;

TEST(DurationOption, TakesSecondsMinutesAndHours) {
  const std::vector<std::pair<std::string, std::optional<std::int64_t>>> cases = {
      {"90s", 90}, {"30m", 1800}, {"2h", 7200}, {"45", 45}, {"60", 60}, {"0m", 0},
      {"", std::nullopt}, {"m", std::nullopt}, {"-5m", std::nullopt}, {"5x", std::nullopt},
      {"1.5h", std::nullopt}, {"99999999999999h", std::nullopt},
      {"878400h", 3162240000}, {"878401h", std::nullopt}};  // a hundred years of 366 days at most
  for (const auto& [text, seconds] : cases) EXPECT_EQ(cli::ParseDuration(text), seconds) << text;
}

// BASIC from 10:00, BUDGET from 10:05; the log's latest stamp is 10:12:14.
const Lines kTwoRunning = Joined({Started("10:00:00"), Started("10:05:00", "Budget"), Notice("10:12:14")});
constexpr std::int64_t k12Min = 734;

// A failed check is UNKNOWN.
TEST(MonitorTable, GivesTheStateAndOneLine) {
  const std::tuple<const char*, Lines, MonitorThresholds, MonitorStatus> cases[] = {
      {"NothingRunning", {}, {}, {0, "KELVARY OK - no calculations running in SAMPLE | running=0 longest=0s"}},
      {"BelowBoth", kTwoRunning, {k12Min + 1, 7200},
       {0, "KELVARY OK - 2 calculations running in SAMPLE, longest 12 min | running=2 longest=734s;735;7200"}},
      {"WarningFromItsThresholdOn", kTwoRunning, {k12Min, std::nullopt},
       {1, "KELVARY WARNING - 2 calculations running in SAMPLE, longest 12 min | running=2 longest=734s;734;"}},
      {"CriticalBeatsWarning", kTwoRunning, {60, k12Min},
       {2, "KELVARY CRITICAL - 2 calculations running in SAMPLE, longest 12 min | running=2 longest=734s;60;734"}},
      {"UnreadableStampsWarnOfNothing", Joined({{"[Wed Jan 08 25:00:00 2003]Local/Sample/Basic/admin/Info(1)",
                                                 "Calculating [ Measures(Sales)]"}}),
       {60, 120}, {0, "KELVARY OK - 1 calculation running in SAMPLE, longest unknown | running=1 longest=U;60;120"}}};
  for (const auto& [name, log, thresholds, expected] : cases) {
    const MonitorStatus status = cli::StatusOfCheck(Scanned(log), "SAMPLE", thresholds);
    EXPECT_EQ(status.exit_code, expected.exit_code) << name;
    EXPECT_EQ(status.line, expected.line) << name;
  }
  const MonitorStatus failed = cli::UnknownStatus("SAMPLE", "the server refused the login");
  EXPECT_EQ(failed.exit_code, 3);
  EXPECT_EQ(failed.line, "KELVARY UNKNOWN - SAMPLE: the server refused the login");
}

// One watch over a run of checks: what is running first, then each change
// once, a failure once however long it lasts, and the recovery.
TEST(WatchTracker, TellsWhatRunsThenEachChangeOnce) {
  const Lines basic = Joined({Started("10:00:00"), Notice("10:01:00")});
  const Lines budget = Started("10:02:00", "Budget");
  const ScanState first = Scanned(basic);
  const ScanState second = Scanned(Joined({basic, Notice("10:03:00"), budget}));
  const ScanState third = Scanned(Joined({basic, Notice("10:03:00"), budget, Finished("10:12:14", "734")}));
  cli::WatchTracker watch(false);
  const auto check = [&](int code, const ScanState* state) {
    return watch.AfterCheck("2026-12-07T06:30:00", code, state, "SAMPLE");
  };

  EXPECT_EQ(check(cli::kExitOk, &first), Lines{"2026-12-07 06:30:00  BASIC by admin running since 10:00 am, 1 notice"});
  EXPECT_EQ(check(cli::kExitOk, &second), (Lines{"2026-12-07 06:30:00  BASIC by admin: 2 notices",
                                                  "2026-12-07 06:30:00  BUDGET by admin started at 10:02 am"}));
  EXPECT_EQ(check(cli::kExitLoginRefused, nullptr), Lines{"2026-12-07 06:30:00  check failed: the server refused the login"});
  EXPECT_EQ(check(cli::kExitLoginRefused, nullptr), Lines{});
  EXPECT_EQ(check(cli::kExitOk, &third), (Lines{"2026-12-07 06:30:00  check recovered",
                                                 "2026-12-07 06:30:00  BASIC by admin finished after 12 min"}));
  EXPECT_FALSE(watch.NothingRunning());
  const ScanState none = Scanned({});
  EXPECT_EQ(check(cli::kExitOk, &none), Lines{"2026-12-07 06:30:00  BUDGET by admin is no longer running"});
  EXPECT_TRUE(watch.NothingRunning());
}

TEST(WatchTracker, JsonIsOneObjectALineWithTheLogsTimes) {
  cli::WatchTracker watch(true);
  const ScanState running = Scanned(Started("10:00:00"));
  const ScanState done = Scanned(Joined({Started("10:00:00"), Finished("10:12:14", "734")}));
  watch.AfterCheck("2026-12-07T06:30:00", cli::kExitOk, &running, "SAMPLE");
  const Lines lines = watch.AfterCheck("2026-12-07T06:30:30", cli::kExitOk, &done, "SAMPLE");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(nlohmann::json::parse(lines[0]),
            nlohmann::json::parse(R"({"time": "2026-12-07T06:30:30", "event": "finished", "application": "SAMPLE",
                "database": "BASIC", "user": "admin", "started": "2003-01-08T10:00:00", "notices_done": 0,
                "notices_total": null, "elapsed_seconds": 734.0})"));
}

}  // namespace
}  // namespace kelvary::test
