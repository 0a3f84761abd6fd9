// kelvary-cli's estimates and history, run as a user runs them: the JSON's
// keys are what scripts rely on, so the whole document is compared.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_run.h"

namespace kelvary::test {
namespace {

// One finished run of Sales by admin (its figure 600 s), then one running
// with one notice of two, and a later message that gives the latest stamp.
const std::string kLog =
    "[Wed Jan 08 08:00:00 2003]Local/Sample/Sales/admin/Info(1012555)\r\n"
    "Calculating [ Measures(Sales)] with fixed members [Year(Jan)]\r\n"
    "[Wed Jan 08 08:10:00 2003]Local/Sample/Sales/admin/Info(1012579)\r\n"
    "Total Calc Elapsed Time : [600] seconds\r\n"
    "[Wed Jan 08 09:00:00 2003]Local/Sample/Sales/admin/Info(1012555)\r\n"
    "Calculating [ Measures(Sales)] with fixed members [Year(Feb)]\r\n"
    "[Wed Jan 08 09:00:01 2003]Local/Sample/Sales/admin/Info(1012669)\r\n"
    "Completion Notice For Every: [ 50%] Of Blocks\r\n"
    "[Wed Jan 08 09:04:00 2003]Local/Sample/Sales/admin/Info(1012670)\r\n"
    "Calculator Information Message: Completion Notice: [1] of [2] intervals done\r\n"
    "[Wed Jan 08 09:05:00 2003]Local/Sample/Plan/joe/Info(1013091)\r\n"
    "Received Command [Report] from user [joe]\r\n";

const char* kHistoryJson = R"({"runs": [{"database": "SALES", "user": "admin", "started": "2003-01-08T08:00:00",
    "finished": "2003-01-08T08:10:00", "elapsed_seconds": 600.0}],
  "summary": [{"database": "SALES", "user": "admin", "runs": 1, "median_seconds": 600.0,
    "longest_seconds": 600.0, "latest_finished": "2003-01-08T08:10:00"}]})";

TEST(EstimatesCommand, ScanJsonAndHistoryKeepTheirShape) {
  TempFolder dir;
  const std::string log = dir.Write("SAMPLE.log", kLog);
  const CliRun scan = RunProgram(dir, KELVARY_CLI, {}, {"scan", "--app", "sample", "--json", log});
  ASSERT_EQ(scan.exit_code, 0) << scan.err;
  const auto expected = nlohmann::ordered_json::parse(std::string(R"({"application": "SAMPLE",
    "latest_stamp": "2003-01-08T09:05:00",
    "running": [{"database": "SALES", "user": "admin", "started": "2003-01-08T09:00:00", "notices_done": 1,
      "notices_total": 2, "percent": 50, "elapsed_seconds": 300, "estimated_finish": "2003-01-08T09:08:00",
      "estimated_seconds_left": 180, "estimate_basis": "notices",
      "notices": [{"done": 1, "total": 2, "stamp": "2003-01-08T09:04:00"}]}],
    "history": )") + kHistoryJson + "}");
  EXPECT_EQ(nlohmann::ordered_json::parse(scan.out), expected);

  const CliRun history_json = RunProgram(dir, KELVARY_CLI, {}, {"history", "--app", "SAMPLE", "--json", log});
  EXPECT_EQ(nlohmann::ordered_json::parse(history_json.out), nlohmann::ordered_json::parse(kHistoryJson));
  const CliRun history = RunProgram(dir, KELVARY_CLI, {}, {"history", "--app", "SAMPLE", log});
  EXPECT_EQ(history.out,
            "SALES by admin: 1 run, median 10 min, longest 10 min, latest finished 2003-01-08 08:10:00\n"
            "Latest finished runs, oldest first:\n"
            "  SALES by admin: 2003-01-08 08:00:00 to 2003-01-08 08:10:00, 10 min\n");
  EXPECT_EQ(RunProgram(dir, KELVARY_CLI, {}, {"history", "--app", "SAMPLE"}).exit_code, 64) << "no log named";
}

TEST(EstimatesCommand, EstimatesLineOnlyWhenAsked) {
  TempFolder dir;
  const std::string log = dir.Write("SAMPLE.log", kLog);
  const std::string line = "SALES (1 out of 2) - Started at 09:00 am by admin\n";
  EXPECT_EQ(RunProgram(dir, KELVARY_CLI, {}, {"scan", "--app", "SAMPLE", log}).out, line);
  EXPECT_EQ(RunProgram(dir, KELVARY_CLI, {}, {"scan", "--app", "SAMPLE", "--estimates", "--detail", log}).out,
            line + "  ~ 50%, running 5 min, about 3 min left (from its notices)\n  >> 1/2:  09:04\n");
}

}  // namespace
}  // namespace kelvary::test
