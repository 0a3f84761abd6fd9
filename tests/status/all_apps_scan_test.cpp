// Every application of a server at once: each folder under "app" with its
// own log, scanned on several threads, in the order of their names.
#include "status/all_apps_scan.h"

#include <gtest/gtest.h>

#include "stamped_log.h"
#include "support/temp_folder.h"

namespace kelvary::test {
namespace {

std::string LogOf(const std::string& application, const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) {
    std::string copy = line;
    const std::size_t at = copy.find("/Sample/");
    if (at != std::string::npos) copy.replace(at + 1, 6, application);
    text += copy + "\r\n";
  }
  return text;
}

TEST(ScanAllApplications, ScansEachFoldersOwnLogAndNamesThoseWithout) {
  TempFolder essbase;
  for (int k = 0; k < 12; ++k) {
    const std::string name = "Busy" + std::to_string(10 + k);
    essbase.Write("app/" + name + "/" + name + ".log", LogOf(name, Started("10:0" + std::to_string(k % 10) + ":00")));
  }
  essbase.Write("app/Idle/Idle.log", LogOf("Idle", Joined({Started("10:00:00"), Finished("10:12:14", "734")})));
  essbase.Write("app/Empty/notes.txt", "");
  essbase.Write("app/stray.log", "");

  const AllApplications all = ScanAllApplications(essbase.Text(), CaseMap::Windows1252(), 3);

  ASSERT_TRUE(all.app_folder_found);
  ASSERT_EQ(all.applications.size(), 14u);
  for (int k = 0; k < 12; ++k) {
    const ApplicationScan& busy = all.applications[k];
    EXPECT_EQ(busy.application, "BUSY" + std::to_string(10 + k));
    EXPECT_TRUE(busy.log_found);
    ASSERT_EQ(busy.state.intCalcCount, 1) << busy.application;
    EXPECT_EQ(busy.state.arrCalcs[0].StartTime, "10:0" + std::to_string(k % 10) + " am");
  }
  EXPECT_EQ(all.applications[12].application, "EMPTY");
  EXPECT_FALSE(all.applications[12].log_found);
  EXPECT_EQ(all.applications[13].application, "IDLE");
  EXPECT_EQ(all.applications[13].state.intCalcCount, 0);
  EXPECT_EQ(all.applications[13].state.history.LatestRuns().size(), 1u);

  EXPECT_FALSE(ScanAllApplications(essbase.File("app"), CaseMap::Windows1252(), 3).app_folder_found);
}

}  // namespace
}  // namespace kelvary::test
