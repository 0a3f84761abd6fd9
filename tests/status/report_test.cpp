#include <gtest/gtest.h>

#include <vector>

#include "status/report.h"

namespace kelvary {
namespace {

class LinesSink final : public ReportSink {
 public:
  void ClearLines() override { lines.assign({"(cleared)"}); }
  void AppendLine(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines{"progress line"};
};

CalcPlace Place(std::string database, std::int64_t done, std::int16_t total, std::string time, std::string user,
                std::string detail = {}) {
  return {std::move(database), done, std::move(time), total, std::move(user), std::move(detail)};
}

std::vector<std::string> Report(const std::vector<CalcPlace>& places, bool detail) {
  ScanState state;
  for (const CalcPlace& place : places) state.arrCalcs[state.intCalcCount++] = place;
  LinesSink sink;
  WriteReport(state, detail, sink);
  return sink.lines;
}

TEST(WriteReport, ClearsTheListFirstAndSaysWhenNothingRuns) {
  EXPECT_EQ(Report({}, true), (std::vector<std::string>{"(cleared)", "No calcs are currently processing"}));
}

TEST(WriteReport, OneLinePerCalculationInTableOrder) {
  EXPECT_EQ(Report({Place("SALES", 3, 10, "02:05 pm", "admin"), Place("PLAN", 0, 0, "09:00 am", "joe")}, false),
            (std::vector<std::string>{"(cleared)", "SALES (3 out of 10) - Started at 02:05 pm by admin",
                                      "PLAN (0 out of 0) - Started at 09:00 am by joe"}));
}

TEST(WriteReport, TrimsBlanksOfTimeAndUserButNotDatabase) {
  EXPECT_EQ(Report({Place(" DB ", 1, 2, "  10:00 am ", "\t joe  ")}, false),
            (std::vector<std::string>{"(cleared)", " DB  (1 out of 2) - Started at 10:00 am by \t joe"}));
}

TEST(WriteReport, CountsBeyondSixteenBitsArePrintedWhole) {
  EXPECT_EQ(Report({Place("S", 70000, 32767, "t", "u")}, false)[1], "S (70000 out of 32767) - Started at t by u");
}

TEST(WriteReport, DetailLinesFollowTheirOwnCalculation) {
  EXPECT_EQ(Report({Place("A", 2, 10, "t", "u", "1/10:  14:06\r\n2/10:  WED JAN 08 14:07:00 2003"),
                    Place("B", 0, 0, "t", "u"), Place("C", 1, 0, "t", "u", "1/0:  09:00")},
                   true),
            (std::vector<std::string>{"(cleared)", "A (2 out of 10) - Started at t by u", "  >> 1/10:  14:06",
                                      "  >> 2/10:  WED JAN 08 14:07:00 2003", "B (0 out of 0) - Started at t by u",
                                      "C (1 out of 0) - Started at t by u", "  >> 1/0:  09:00"}));
}

}  // namespace
}  // namespace kelvary
