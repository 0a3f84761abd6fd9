// Every application of a server at once: each folder under "app" with its
// own log, scanned on several threads, in the order of their names.
#include "status/all_apps_scan.h"

#include <gtest/gtest.h>

#include <regex>

#include "stamped_log.h"
#include "support/temp_folder.h"

namespace kelvary::test {
namespace {

// The log's lines, their headers naming `application`.
std::string LogOf(const std::string& application, const Lines& lines) {
  return std::regex_replace(CrLfLog(lines), std::regex("/Sample/"), "/" + application + "/");
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
  Lines seen, expected;
  for (const ApplicationScan& scan : all.applications) {
    seen.push_back(scan.application + (scan.log_found ? "" : " no log"));
    for (int k = 0; k < scan.state.intCalcCount; ++k) seen.push_back("  " + scan.state.arrCalcs[k].StartTime);
  }
  for (int k = 0; k < 12; ++k) {
    expected.insert(expected.end(), {"BUSY" + std::to_string(10 + k), "  10:0" + std::to_string(k % 10) + " am"});
  }
  expected.insert(expected.end(), {"EMPTY no log", "IDLE"});
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(all.applications.back().state.history.LatestRuns().size(), 1u);

  EXPECT_FALSE(ScanAllApplications(essbase.File("app"), CaseMap::Windows1252(), 3).app_folder_found);
}

}  // namespace
}  // namespace kelvary::test
