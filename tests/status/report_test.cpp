#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "status/report.h"

namespace kelvary {
namespace {

using Lines = std::vector<std::string>;

// Starts with a line of its own, so a report that forgets to clear shows.
// Notes what the report announced and what then came, line by line.
class LinesSink final : public ReportSink {
 public:
  void ClearLines() override { lines.assign({"(cleared)"}); }
  void AppendLine(std::string_view line) override {
    lines.emplace_back(line);
    if (announced) came += line.size();
  }
  void BeginReport(std::size_t line_count, std::size_t bytes) override {
    announced = true;
    announced_lines = line_count;
    announced_bytes = bytes;
  }
  void EndReport() override { ended_after = lines.size(); }

  Lines lines{"progress line"};
  bool announced = false;
  std::size_t announced_lines = 0, announced_bytes = 0, came = 0, ended_after = 0;
};

CalcPlace Place(std::string database, std::int64_t done, std::int16_t total, std::string time, std::string user,
                std::string detail = {}) {
  CalcPlace place;
  std::tie(place.Database, place.NoticesDone, place.NoticesTotal, place.StartTime, place.StartedBy, place.Detail) =
      std::tie(database, done, total, time, user, detail);
  return place;
}

Lines Report(const std::vector<CalcPlace>& places, bool detail) {
  ScanState state;
  for (const CalcPlace& place : places) state.arrCalcs[state.intCalcCount++] = place;
  LinesSink sink;
  WriteReport(state, detail, sink);
  // The room asked for is exactly what came, and the end follows the last line.
  EXPECT_EQ(sink.announced_lines + 1, sink.lines.size());
  EXPECT_EQ(sink.announced_bytes, sink.came);
  EXPECT_EQ(sink.ended_after, sink.lines.size());
  return sink.lines;
}

// Blanks (0x20 only) are trimmed from time and user, not the database;
// counts are printed whole, past 16 bits too.
TEST(WriteReport, ClearsFirstThenOneLinePerCalculationEachWithItsOwnDetail) {
  EXPECT_EQ(Report({}, true), (Lines{"(cleared)", "No calcs are currently processing"}));
  const std::vector<CalcPlace> places = {
      Place("SALES", 2, 10, "02:05 pm", "admin", "1/10:  14:06\r\n2/10:  WED JAN 08 14:07:00 2003"),
      Place(" DB ", 70000, 32767, "  10:00 am ", "\t joe  "), Place("C", 1, 0, "t", "u", "1/0:  09:00")};
  const std::string sales = "SALES (2 out of 10) - Started at 02:05 pm by admin";
  const std::string db = " DB  (70000 out of 32767) - Started at 10:00 am by \t joe";
  const std::string c = "C (1 out of 0) - Started at t by u";
  EXPECT_EQ(Report(places, true), (Lines{"(cleared)", sales, "  >> 1/10:  14:06",
                                         "  >> 2/10:  WED JAN 08 14:07:00 2003", db, c, "  >> 1/0:  09:00"}));
  EXPECT_EQ(Report(places, false), (Lines{"(cleared)", sales, db, c}));
}

}  // namespace
}  // namespace kelvary
