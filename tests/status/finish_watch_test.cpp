// Two checks of the window in a row, and what the second one tells a user
// who left the automatic re-check on.
#include "status/finish_watch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stamped_log.h"

namespace kelvary::test {
namespace {

const Lines kServerRestart = {At("11:00:00"), "Starting Essbase Server - Release 11.1.2"};

struct WatchCase {
  const char* name;
  Lines first;   // the log at the first check, which reports
  Lines second;  // at the second
  Lines alerts;  // what the second check tells
  CheckOutcome between = CheckOutcome::Skipped;  // a check between the two
  const char* second_application = "SAMPLE";
  bool watching = true;
};

const Lines kBasicRuns = Started("10:00:00");
const Lines kBasicDone = Joined({kBasicRuns, Finished("10:12:14", "734.2")});

TEST(FinishWatchTable, TellsWhatTheSecondCheckNoLongerLists) {
  const WatchCase cases[] = {
      {"StillRunning", kBasicRuns, kBasicRuns, {}},
      {"FinishedWithItsElapsedTime", kBasicRuns, kBasicDone, {"BASIC in SAMPLE finished after 12 min"}},
      {"FinishedWithoutAReadableTime", kBasicRuns, Joined({kBasicRuns, Finished("garbled", "soon")}),
       {"BASIC in SAMPLE finished"}},
      {"GoneWithoutAFinish", kBasicRuns, Joined({kBasicRuns, kServerRestart}),
       {"BASIC in SAMPLE is no longer running"}},
      {"RestartedIsANewCalculation", kBasicRuns, Joined({kBasicDone, Started("10:20:00")}),
       {"BASIC in SAMPLE finished after 12 min"}},
      {"OthersStillRunningAreNotTold", Joined({kBasicRuns, Started("10:01:00", "Budget")}),
       Joined({kBasicDone, Started("10:01:00", "Budget")}), {"BASIC in SAMPLE finished after 12 min"}},
      {"AnotherUsersRunStartedTogetherIsNotTheSame", Joined({kBasicRuns, Started("10:00:00", "Basic", "joe")}),
       Joined({kBasicDone, Started("10:00:00", "Basic", "joe")}), {"BASIC in SAMPLE finished after 12 min"}},
      {"NotWatching", kBasicRuns, kBasicDone, {}, CheckOutcome::Skipped, "SAMPLE", false},
      {"AnotherApplication", kBasicRuns, {}, {}, CheckOutcome::Skipped, "BUDGET"},
      {"FailedCheckBetweenForgets", kBasicRuns, kBasicDone, {}, CheckOutcome::Failed},
      {"RefusedLoginBetweenForgets", kBasicRuns, kBasicDone, {}, CheckOutcome::LoginRefused},
      {"SkippedCheckBetweenChangesNothing", kBasicRuns, kBasicDone,
       {"BASIC in SAMPLE finished after 12 min"}, CheckOutcome::Skipped}};
  for (const WatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    FinishWatch watch;
    const ScanState first = Scanned(c.first);
    EXPECT_EQ(watch.AfterCheck(CheckOutcome::Reported, "Demo", "SAMPLE", first, true), Lines{});
    watch.AfterCheck(c.between, "Demo", "SAMPLE", Scanned({}), true);
    const ScanState second = Scanned(c.second);
    EXPECT_EQ(watch.AfterCheck(CheckOutcome::Reported, "Demo", c.second_application, second, c.watching), c.alerts);
  }
}

}  // namespace
}  // namespace kelvary::test
