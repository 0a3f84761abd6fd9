// The scan of a log, read whole and in blocks of any size: which
// calculations it leaves running, with their counts and detail; then the
// report written from the table.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "status/log_scanner.h"
#include "status/report.h"
#include "stamped_log.h"

namespace kelvary::test {
namespace {


// A header of application SAMPLE, as the server writes it.
std::string H(const std::string& database, const std::string& user, const std::string& clock = "14:05:09") {
  return "[Wed Jan 08 " + clock + " 2003]Local/Sample/" + database + "/" + user + "/Info(1012555)";
}
std::string Start() { return "Calculating [ Measures(Sales)] with fixed members [Year(Jan)]"; }
std::string Interval(const std::string& percentage) {
  return "Calculator Information Message: Notices: Completion Notice For Every: [" + percentage + "%] Of Blocks";
}
std::string Notice() { return "Calculator Information Message: Completion Notice: 10% complete"; }
std::string Finish() { return "Total Calc Elapsed Time : [2.42] seconds"; }
std::string ServerStart() { return "Starting Essbase Server - Application [Sample]"; }

struct Scan {
  ScanState state;

  ScanResult Run(const std::string& log, std::size_t piece = SIZE_MAX) {
    state.EmptyTable();
    StringSource source(log, piece);
    return ScanLog(state, source, ScanInputs{"SAMPLE", CaseMap::Windows1252(), nullptr});
  }

  Lines Report(bool detail = false) const {
    LinesSink sink;
    WriteReport(state, detail, sink);
    return sink.lines;
  }
};

const Lines kNothing = {"No calcs are currently processing"};

struct ScanCase {
  const char* name;
  Lines log;
  Lines report;
  bool detail = false;
};

// Read whole, and cut into small and odd-sized blocks: every CR LF is split
// between two blocks somewhere, and must still end one line.
TEST(ScanLogCase, ReportsRunningCalculationsWhateverTheBlocks) {
  const ScanCase cases[] = {
      {"EmptyLog", {}, kNothing},
      {"NoStart", {H("Sales", "admin"), Notice(), H("Sales", "admin"), Finish()}, kNothing},
      {"StartIsReported",
       {H("Sales", "Admin"), Start()},
       {"SALES (0 out of 0) - Started at 02:05 pm by admin"}},
      {"CalculatingInIsNoStart", {H("Sales", "admin"), "Calculating in parallel"}, kNothing},
      {"OtherApplicationIsIgnored",
       {"[Wed Jan 08 14:05:09 2003]Local/Finance/Sales/admin/Info(1012555)", Start()},
       kNothing},
      {"StartThenFinish", {H("Sales", "admin"), Start(), H("Sales", "admin"), Finish()}, kNothing},
      {"FinishOfAnotherUserKeepsIt",
       {H("Sales", "admin"), Start(), H("Sales", "joe"), Start(), H("Sales", "admin"), Finish()},
       {"SALES (0 out of 0) - Started at 02:05 pm by joe"}},
      // Names alike in length and first and last letters are still two users.
      {"FinishOfTheSecondUserKeepsTheFirst",
       {H("Sales", "jim"), Start(), H("Sales", "jam"), Start(), H("Sales", "jam"), Finish()},
       {"SALES (0 out of 0) - Started at 02:05 pm by jim"}},
      {"RestartMovesToTheEndAndBeginsAgain",
       {H("Sales", "admin", "09:00:00"), Start(), H("Sales", "admin"), Interval(" 10"),
        H("Sales", "admin"), Notice(), H("Plan", "joe", "10:00:00"), Start(),
        H("Sales", "Admin", "13:30:00"), Start()},
       {"PLAN (0 out of 0) - Started at 10:00 am by joe",
        "SALES (0 out of 0) - Started at 01:30 pm by admin"}},
      {"RemovingFromTheMiddleKeepsOrderAndCounts",
       {H("A", "u"), Start(), H("B", "u"), Start(), H("C", "u"), Start(), H("A", "u"), Interval(" 10"),
        H("A", "u"), Notice(), H("C", "u"), Notice(), H("B", "u"), Finish(), H("C", "u"), Notice()},
       {"A (1 out of 10) - Started at 02:05 pm by u", "  >> 1/10:  14:05",
        "C (2 out of 0) - Started at 02:05 pm by u", "  >> 1/10:  14:05",
        "  >> 2/10:  WED JAN 08 14:05:09 2003"},
       true},
      {"ServerStartForgetsEverything",
       {H("Sales", "admin"), Start(), H("Sales", "admin"), ServerStart(), H("Sales", "admin"), Notice(),
        H("Sales", "admin"), Finish()},
       kNothing},
      {"ThreeNoticesWithDetail",
       {H("Sales", "admin"), Start(), H("Sales", "admin"), Interval(" 10"), H("Sales", "admin", "14:06:00"),
        Notice(), H("Sales", "admin", "14:07:00"), Notice(), H("Sales", "admin", "14:08:00"), Notice()},
       {"SALES (3 out of 10) - Started at 02:05 pm by admin", "  >> 1/10:  14:06",
        "  >> 2/10:  WED JAN 08 14:07:00 2003", "  >> 3/10:  WED JAN 08 14:08:00 2003"},
       true},
      {"NoticeBeforeAnyIntervalCountsAgainstZero",
       {H("Sales", "admin"), Start(), H("Sales", "admin"), Notice()},
       {"SALES (1 out of 0) - Started at 02:05 pm by admin", "  >> 1/0:  14:05"},
       true},
      {"DoneMayExceedTotal",
       {H("Sales", "admin"), Start(), H("Sales", "admin"), Interval(" 50"), H("Sales", "admin"), Notice(),
        H("Sales", "admin"), Notice(), H("Sales", "admin"), Notice()},
       {"SALES (3 out of 2) - Started at 02:05 pm by admin"}},
      {"IntervalLineThatIsAlsoANoticeSetsThenCounts",
       {H("Sales", "admin"), Start(), H("Sales", "admin"),
        "Calculator Information Message: Completion Notice For Every: [ 25%] Of Blocks"},
       {"SALES (1 out of 4) - Started at 02:05 pm by admin", "  >> 1/4:  14:05"},
       true},
      {"UnreadableStampShownWhole",
       {H("Sales", "admin"), Start(), "[someday]Local/Sample/Sales/admin/Info", Notice()},
       {"SALES (1 out of 0) - Started at 02:05 pm by admin", "  >> 1/0:  SOMEDAY"},
       true},
      {"NulAndSubstituteAreOrdinaryBytes",
       {H("Sa\x1Ales", "ad\x1Amin"), Start(), std::string("x\0y", 3), H("Sa\x1Ales", "ad\x1Amin"), Finish()},
       kNothing},
      {"LinesMayBeginWithBlanksAndStillBeHeaders",
       {std::string(1, ' ') + H("Sales", "admin"), Start()},
       {"SALES (0 out of 0) - Started at 14:0 by admin"}}};
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.name);
    for (std::size_t piece : {SIZE_MAX, std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{64}}) {
      Scan scan;
      scan.Run(CrLfLog(c.log), piece);
      EXPECT_EQ(scan.Report(c.detail), c.report) << "pieces of " << piece;
    }
  }
}

// The percentage after "[" and one skipped character, up to "%] Of Blocks":
// blanks, tabs and line feeds ignored, no hexadecimal, exponent or "inf".
TEST(ScanLogNoticeInterval, SetsTotalFromPercentage) {
  const std::pair<std::string, int> cases[] = {  // -1: the line changes nothing
      {" 10", 10}, {" 25", 4}, {" 30", 3}, {" 100", 1}, {" 200", 0}, {"10", -1}, {"910", 10},
      {" 1 \t0 ", 10}, {" .5", 200}, {" +.5", 200}, {" 5.", 20}, {" 5-", 20}, {" 1.2.3", 83}, {" 0x14", -1},
      {" 1e1", 100}, {" inf", -1}, {" -10", -1}, {" 0", -1}, {" ", -1}, {" 0.003", -1},
      {" 0.00306", 32679}, {" 0.0030518", 32767}, {" 1" + std::string(400, '0'), 0}};
  const std::pair<std::string, int> lines[] = {
      {"Completion Notice For Every: [ 10%] of blocks", -1},
      {"%] Of Blocks Completion Notice For Every: [ 10%] Of Blocks", -1},
      {"Completion Notice For Every: [%] Of Blocks", -1}};
  std::vector<std::pair<std::string, int>> all(std::begin(lines), std::end(lines));
  for (const auto& [text, total] : cases) all.emplace_back("Completion Notice For Every: [" + text + "%] Of Blocks", total);
  for (const auto& [line, total] : all) {
    Scan scan;
    scan.Run(CrLfLog({H("Sales", "admin"), Start(), H("Sales", "admin"), Interval(" 20"), H("Sales", "admin"), line}));
    const int expected = total < 0 ? 5 : total;
    EXPECT_EQ(scan.state.arrCalcs[0].NoticesTotal, expected) << line;
    EXPECT_EQ(scan.state.intNoticeSteps, expected) << line;
  }
}

// Each line's test asks to yield once it has parsed its header; the first
// refusal stops the scan there, whichever test it came in, and nothing
// yields again (the window it would yield to is gone).
TEST(ScanLogYield, TheFirstRefusalStopsTheScan) {
  const std::string log = CrLfLog({H("Sales", "admin"), Start(), H("Sales", "admin"), Interval(" 20"),
                                   H("Sales", "admin"), Notice(), H("Sales", "admin"), Finish(),
                                   H("Sales", "admin"), ServerStart()});
  constexpr int kYields = 5;
  for (int refusal = 1; refusal <= kYields + 1; ++refusal) {
    int yields = 0;
    ScanState state;
    StringSource source(log, log.size());
    const ScanResult result =
        ScanLog(state, source, ScanInputs{"SAMPLE", CaseMap::Windows1252(), [&] { return ++yields < refusal; }});
    EXPECT_EQ(result, refusal <= kYields ? ScanResult::Abandoned : ScanResult::Complete) << refusal;
    EXPECT_EQ(yields, std::min(refusal, kYields)) << refusal;
  }
}

TEST(ScanLogTable, StartsBeyondTwentyAreIgnoredButRestartsStillWork) {
  Lines log;
  for (int i = 1; i <= 21; ++i) {
    log.push_back(H("Db" + std::to_string(i), "u"));
    log.push_back(Start());
  }
  log.push_back(H("Db1", "u", "15:00:00"));  // a restart while the table is full
  log.push_back(Start());
  Scan scan;
  scan.Run(CrLfLog(log));
  ASSERT_EQ(scan.state.intCalcCount, kCalcPlaces);
  EXPECT_EQ(scan.state.arrCalcs[0].Database, "DB2");
  EXPECT_EQ(scan.state.arrCalcs[18].Database, "DB20");
  EXPECT_EQ(scan.state.arrCalcs[19].Database, "DB1");
  EXPECT_EQ(scan.state.arrCalcs[19].StartTime, "03:00 pm");
}

// Memory must not grow with the notices: the detail keeps the first entry,
// counts the ones left out, and keeps at least the latest hundred in order.
TEST(ScanLogDetail, ThousandsOfNoticesKeepTheFirstAndTheLatestAndCountTheRest) {
  // 201: the first cut is due, and leaves the latest hundred exactly.
  for (const int notices : {201, 1000}) {
    Lines log = {H("Sales", "admin"), Start(), H("Sales", "admin"), Interval(" 10")};
    for (int i = 0; i < notices; ++i) log.insert(log.end(), {H("Sales", "admin", "14:06:11"), Notice()});
    Scan scan;
    scan.Run(CrLfLog(log));
    const Lines report = scan.Report(true);
    ASSERT_GE(report.size(), 3u + 100u);
    EXPECT_EQ(report[0], "SALES (" + std::to_string(notices) + " out of 10) - Started at 02:05 pm by admin");
    EXPECT_EQ(report[1], "  >> 1/10:  14:06");
    const int kept = static_cast<int>(report.size()) - 3;
    EXPECT_LT(kept, 200);
    if (notices == 201) {
      EXPECT_EQ(kept, 100);
    }
    EXPECT_EQ(report[2], "  >> ... " + std::to_string(notices - 1 - kept) + " notices left out ...");
    for (int k = 0; k < kept; ++k) {
      EXPECT_EQ(report[3 + k], "  >> " + std::to_string(notices - kept + 1 + k) + "/10:  WED JAN 08 14:06:11 2003");
    }
  }
}

TEST(ScanLogCarryOver, LastLineAndNoticeStepsCarryToTheNextCheck) {
  Scan scan;
  scan.Run(CrLfLog({H("Plan", "joe"), Interval(" 25"), H("Sales", "admin")}));
  EXPECT_EQ(scan.state.strPrevLine, H("Sales", "admin")) << "kept as read, not upper-cased";
  scan.Run("");
  EXPECT_EQ(scan.state.strPrevLine, H("Sales", "admin")) << "an empty log leaves it";
  scan.Run(CrLfLog({Start(), H("Sales", "admin"), Notice()}));
  EXPECT_EQ(scan.Report(true), (Lines{"SALES (1 out of 0) - Started at 02:05 pm by admin", "  >> 1/4:  14:05"}));
}

TEST(ScanLogLongLines, LineAfterAHugeLineStillCounts) {
  const std::string huge(std::size_t{3} << 20, 'y');
  for (std::size_t piece : {std::size_t{4096}, std::size_t{1} << 20, SIZE_MAX}) {
    Scan scan;
    scan.Run(CrLfLog({H("Sales", "admin"), Start(), huge, H("Sales", "admin"), Finish(), H("Plan", "joe"), Start()}),
             piece);
    EXPECT_EQ(scan.Report(), Lines{"PLAN (0 out of 0) - Started at 02:05 pm by joe"}) << "pieces of " << piece;
    EXPECT_EQ(scan.state.strPrevLine, Start());
  }
}

// Starts with a line of its own, so a report that forgets to clear shows.
// Notes what the report announced and what then came, line by line.
class AnnouncingSink final : public ReportSink {
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

Lines ReportOf(const std::vector<CalcPlace>& places, bool detail) {
  ScanState state;
  for (const CalcPlace& place : places) state.arrCalcs[state.intCalcCount++] = place;
  AnnouncingSink sink;
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
  EXPECT_EQ(ReportOf({}, true), (Lines{"(cleared)", "No calcs are currently processing"}));
  const std::vector<CalcPlace> places = {
      Place("SALES", 2, 10, "02:05 pm", "admin", "1/10:  14:06\r\n2/10:  WED JAN 08 14:07:00 2003"),
      Place(" DB ", 70000, 32767, "  10:00 am ", "\t joe  "), Place("C", 1, 0, "t", "u", "1/0:  09:00")};
  const std::string sales = "SALES (2 out of 10) - Started at 02:05 pm by admin";
  const std::string db = " DB  (70000 out of 32767) - Started at 10:00 am by \t joe";
  const std::string c = "C (1 out of 0) - Started at t by u";
  EXPECT_EQ(ReportOf(places, true), (Lines{"(cleared)", sales, "  >> 1/10:  14:06",
                                         "  >> 2/10:  WED JAN 08 14:07:00 2003", db, c, "  >> 1/0:  09:00"}));
  EXPECT_EQ(ReportOf(places, false), (Lines{"(cleared)", sales, db, c}));
}

}  // namespace
}  // namespace kelvary::test
