#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "status/calc_estimate.h"
#include "status/log_scanner.h"
#include "status/report.h"
#include "stamped_log.h"

// GCC 12 warns of an overlapping copy inside std::string's operator+ when
// the table's texts are joined (its bug 105651); the copy cannot overlap.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif

namespace kelvary::test {
namespace {


// A header of application SAMPLE with the whole stamp given, e.g. "Wed Jan 08 10:00:00 2003".
std::string At(const std::string& stamp, const std::string& database = "Sales", const std::string& user = "admin") {
  return "[" + stamp + "]Local/Sample/" + database + "/" + user + "/Info(1012555)";
}
std::string Jan8(const std::string& clock) { return "Wed Jan 08 " + clock + " 2003"; }
const std::string kStart = "Calculating [ Measures(Sales)] with fixed members [Year(Jan)]";
const std::string kTen = "Calculator Information Message: Notices: Completion Notice For Every: [ 10%] Of Blocks";
// A bracket before the interval text does not hide it.
const std::string kHalf = "Calculator Information Message: [Notices] Completion Notice For Every: [ 50%] Of Blocks";
const std::string kOnePercent = "Calculator Information Message: Notices: Completion Notice For Every: [ 1%] Of Blocks";
const std::string kNotice = "Calculator Information Message: Completion Notice: 10% complete";
const std::string kOther = "Received Command [Report] from user [admin]";
std::string Total(const std::string& seconds) { return "Total Calc Elapsed Time : [" + seconds + "] seconds"; }

// A finished run: start and finish under the given clocks of Jan 8.
Lines EarlierRun(const std::string& from, const std::string& to, const std::string& seconds) {
  return {At(Jan8(from)), kStart, At(Jan8(to)), Total(seconds)};
}

// `count` notices a minute apart from 10:01 on: more than a calculation keeps the stamps of.
Lines MinuteNotices(int count) {
  Lines lines;
  for (int minute = 1; minute <= count; ++minute) {
    lines.insert(lines.end(), {At(Jan8((minute < 10 ? "10:0" : "10:") + std::to_string(minute) + ":00")), kNotice});
  }
  return lines;
}

std::string Seconds(const std::optional<double>& value) { return value ? std::to_string(std::llround(*value)) : "-"; }

// "SALES admin runs=2 median=900 longest=1200 latest=2003-01-08T11:30:00"
Lines SummaryLines(const CalcHistory& history) {
  Lines lines;
  for (const RunSummary& s : history.Summaries()) {
    lines.push_back(s.database + " " + s.user + " runs=" + std::to_string(s.runs) + " median=" +
                    Seconds(s.median_seconds) + " longest=" + Seconds(s.longest_seconds) +
                    " latest=" + (s.latest_finished ? IsoDateTime(*s.latest_finished) : "-"));
  }
  return lines;
}

// Read whole and in small blocks: the log's latest stamp may stand in any block.
TEST(EstimateTable, EstimatesAndHistoryFromTheStamps) {
  // Each case: its name, the log in parts, the report with estimate lines, the history's summary.
  const std::tuple<const char*, std::vector<Lines>, Lines, Lines> cases[] = {
      // 4 of 10 notices in 24 min: the whole takes 60; the log's latest stamp is a later message's.
      {"FromItsNotices",
       {{At(Jan8("10:00:00")), kStart, At(Jan8("10:00:01")), kTen, At(Jan8("10:06:00")), kNotice,
         At(Jan8("10:12:00")), kNotice, At(Jan8("10:18:00")), kNotice, At(Jan8("10:24:00")), kNotice,
         At(Jan8("10:30:00"), "Plan", "joe"), kOther}},
       {"SALES (4 out of 10) - Started at 10:00 am by admin",
        "  ~ 40%, running 30 min, about 30 min left (from its notices)"},
       {}},
      // The rate comes from the latest of 33 notices, the first whose stamp takes an older one's place.
      {"FromTheLatestOfManyNotices",
       {{At(Jan8("10:00:00")), kStart, At(Jan8("10:00:00")), kOnePercent}, MinuteNotices(33)},
       {"SALES (33 out of 100) - Started at 10:00 am by admin",
        "  ~ 33%, running 33 min, about 1 h 07 min left (from its notices)"},
       {}},
      // The server's figures 1500.5, 1200 and 900 s, not the stamps' 600 and 1260: median 1200 s.
      {"FromTheMedianOfEarlierRuns",
       {EarlierRun("08:00:00", "08:10:00", "1500.5"), EarlierRun("09:00:00", "09:21:00", "1200"),
        EarlierRun("11:15:00", "11:30:00", "900"), {At(Jan8("12:00:00")), kStart, At(Jan8("12:05:00")), kOther}},
       {"SALES (0 out of 0) - Started at 12:00 pm by admin",
        "  ~ running 5 min, about 15 min left (from earlier runs)"},
       {"SALES admin runs=3 median=1200 longest=1501 latest=2003-01-08T11:30:00"}},
      {"EarlierRunsOfAnotherUserDoNotCount",
       {EarlierRun("08:00:00", "08:10:00", "600"), {At(Jan8("12:00:00"), "Sales", "joe"), kStart}},
       {"SALES (0 out of 0) - Started at 12:00 pm by joe", "  ~ running 0 s, no estimate"},
       {"SALES admin runs=1 median=600 longest=600 latest=2003-01-08T08:10:00"}},
      {"UnreadableStartGivesNoEstimateDespiteHistory",
       {EarlierRun("08:00:00", "08:10:00", "600"), {At("Wed Jan 08 12:00 2003"), kStart, At(Jan8("12:05:00")), kOther}},
       {"SALES (0 out of 0) - Started at 12:00 pm by admin",
        "  ~ running for an unknown time, no estimate"},
       {"SALES admin runs=1 median=600 longest=600 latest=2003-01-08T08:10:00"}},
      // Feb 29 is a day of 2000; Feb 30 of no year, so that notice gives no rate.
      {"DayTheMonthLacksIsUnreadable",
       {{At("Tue Feb 29 10:00:00 2000"), kStart, At("Tue Feb 29 10:00:00 2000"), kHalf,
         At("Wed Feb 30 10:05:00 2000"), kNotice, At("Wed Mar 01 10:10:00 2000"), kOther}},
       {"SALES (1 out of 2) - Started at 10:00 am by admin",
        "  ~ 50%, running 24 h 10 min, no estimate"},
       {}},
      {"UnreadableNoticeStampFallsBackToHistory",
       {EarlierRun("08:00:00", "08:10:00", "600"),
        {At(Jan8("12:00:00")), kStart, At(Jan8("12:00:00")), kHalf, At("soon"), kNotice,
         At(Jan8("12:04:00")), kOther}},
       {"SALES (1 out of 2) - Started at 12:00 pm by admin",
        "  ~ 50%, running 4 min, about 6 min left (from earlier runs)"},
       {"SALES admin runs=1 median=600 longest=600 latest=2003-01-08T08:10:00"}},
      // A restart is not a finished run: its notices and start are forgotten.
      {"RestartedInTheMiddle",
       {{At(Jan8("09:00:00")), kStart, At(Jan8("09:00:00")), kHalf, At(Jan8("09:30:00")), kNotice,
         At(Jan8("10:00:00")), kStart, At(Jan8("10:02:00")), kOther}},
       {"SALES (0 out of 0) - Started at 10:00 am by admin", "  ~ running 2 min, no estimate"},
       {}},
      {"AcrossMidnightAndTheYearEnd",
       {{At("Fri Dec 31 23:50:00 1999"), kStart, At("Fri Dec 31 23:50:00 1999"), kHalf,
         At("Sat Jan 01 00:00:00 2000"), kNotice}},
       {"SALES (1 out of 2) - Started at 11:50 pm by admin",
        "  ~ 50%, running 10 min, about 10 min left (from its notices)"},
       {}},
      // Past its estimate and still running; no more than 100 percent.
      {"AllNoticesInIsDueNow",
       {{At(Jan8("10:00:00")), kStart, At(Jan8("10:00:00")), kHalf, At(Jan8("10:10:00")), kNotice,
         At(Jan8("10:20:00")), kNotice, At(Jan8("10:25:00")), kOther}},
       {"SALES (2 out of 2) - Started at 10:00 am by admin",
        "  ~ 100%, running 25 min, due now (from its notices)"},
       {}},
      // A notice stamped before its start: the clock went back, so no rate.
      {"NoticeBeforeItsStartIsNoRate",
       {{At(Jan8("10:00:01")), kStart, At(Jan8("10:00:01")), kHalf, At(Jan8("10:00:00")), kNotice}},
       {"SALES (1 out of 2) - Started at 10:00 am by admin", "  ~ 50%, running 0 s, no estimate"},
       {}},
      // More notices than the total: the total is wrong, so neither percent nor rate.
      {"NoticesBeyondTheTotalAreNoRate",
       {{At(Jan8("10:00:00")), kStart, At(Jan8("10:00:00")), kHalf, At(Jan8("10:10:00")), kNotice,
         At(Jan8("10:20:00")), kNotice, At(Jan8("10:30:00")), kNotice}},
       {"SALES (3 out of 2) - Started at 10:00 am by admin", "  ~ running 30 min, no estimate"},
       {}},
      // The stamps' 20, 5, 10 and 0 min stand in for figures that cannot be read.
      {"UnreadableElapsedFigureTakesTheStamps",
       {EarlierRun("07:00:00", "07:00:00", ""), EarlierRun("08:00:00", "08:20:00", "n/a"),
        EarlierRun("09:00:00", "09:05:00", "1.2.3"),
        EarlierRun("10:00:00", "10:10:00", "1" + std::string(30, '0')),
        {At(Jan8("12:00:00")), kStart, At(Jan8("12:05:00")), kOther}},
       {"SALES (0 out of 0) - Started at 12:00 pm by admin",
        "  ~ running 5 min, about 3 min left (from earlier runs)"},
       {"SALES admin runs=4 median=450 longest=1200 latest=2003-01-08T10:10:00"}},
      {"ServerStartLeavesHistoryButEndsTheRunning",
       {EarlierRun("08:00:00", "08:10:00", "600"),
        {At(Jan8("09:00:00")), kStart, At(Jan8("09:01:00")), "Starting Essbase Server - Application [Sample]",
         At(Jan8("09:30:00")), Total("60")}},
       {"No calcs are currently processing"},
       {"SALES admin runs=1 median=600 longest=600 latest=2003-01-08T08:10:00"}}};
  for (const auto& [name, parts, report, summary] : cases) {
    SCOPED_TRACE(name);
    Lines log;
    for (const Lines& part : parts) log.insert(log.end(), part.begin(), part.end());
    for (std::size_t piece : {SIZE_MAX, std::size_t{7}}) {
      ScanState state;
      StringSource source(CrLfLog(log), piece);
      ASSERT_EQ(ScanLog(state, source, ScanInputs{"SAMPLE", CaseMap::Windows1252(), nullptr}), ScanResult::Complete);
      LinesSink sink;
      WriteReport(state, ReportOptions{false, true}, sink);
      EXPECT_EQ(sink.lines, report) << "pieces of " << piece;
      EXPECT_EQ(SummaryLines(state.history), summary) << "pieces of " << piece;
    }
  }
}

// A log last written 10 min ago: its calculation has run 10 min longer, and
// has 10 min less to go.
TEST(EstimateTable, CountsTheAgeOfTheLogsLatestEntry) {
  ScanState state;
  StringSource source(CrLfLog({At(Jan8("10:00:00")), kStart, At(Jan8("10:00:00")), kTen,
                                           At(Jan8("10:06:00")), kNotice}));
  ScanLog(state, source, ScanInputs{"SAMPLE", CaseMap::Windows1252(), nullptr, 600});
  LinesSink sink;
  WriteReport(state, ReportOptions{false, true}, sink);
  EXPECT_EQ(sink.lines, (Lines{"SALES (1 out of 10) - Started at 10:00 am by admin",
                               "  ~ 10%, running 16 min, about 44 min left (from its notices)"}));
}

// The stamps of the latest 32 notices, oldest first.
TEST(CalcPlace, KeepsTheLatestNoticesOldestFirst) {
  CalcPlace place;
  for (LogSeconds at = 1; at <= 33; ++at) place.RecordNotice(2, at);
  const std::vector<NoticeStamp> kept = place.KeptNotices();
  ASSERT_EQ(kept.size(), kKeptNoticeStamps);
  EXPECT_EQ(kept.front().done, 2);
  EXPECT_EQ(kept.back().at, 33);
}

// The median of an even count is the mean of the middle two; a full summary
// forgets the pair whose latest finish is the oldest.
TEST(CalcHistory, MedianOfTheMiddleTwoAndAFullSummaryForgetsTheOldestPair) {
  CalcHistory history;
  history.Record("X", "u", std::nullopt, 10, 600.0);
  history.Record("X", "u", std::nullopt, 20, 1200.0);
  EXPECT_EQ(history.MedianSeconds("X", "u"), 900.0);
  history.Record("X", "u", std::nullopt, 15, 900.0);  // recorded last, finished earlier
  EXPECT_EQ(history.Summaries().front().latest_finished, 20);
  for (int k = 1; k <= static_cast<int>(kSummaryPairs); ++k) {
    history.Record("DB" + std::to_string(k), "u", std::nullopt, 100 + k, 60.0);
  }
  const std::vector<RunSummary> kept = history.Summaries();
  ASSERT_EQ(kept.size(), kSummaryPairs);
  EXPECT_EQ(kept.front().database, "DB1");
  EXPECT_EQ(kept.back().database, "DB100");
}

// Durations in seconds, minutes, then hours and minutes; a stamp as an ISO
// 8601 date-time, or none for a day its year lacks, a name that is no day's
// or a letter where a digit belongs.
TEST(Texts, DurationsAndDateTimes) {
  const std::pair<double, const char*> cases[] = {
      {0.4, "0 s"}, {59.4, "59 s"}, {60, "1 min"}, {3569, "59 min"}, {3600, "1 h 00 min"}, {36000 + 540, "10 h 09 min"}};
  for (const auto& [seconds, text] : cases) EXPECT_EQ(DurationText(seconds), text) << seconds;
  const std::pair<const char*, const char*> stamps[] = {
      {"Tue Feb 29 23:59:59 2000", "2000-02-29T23:59:59"}, {"Sun Jan 12 10:00:00 2003", "2003-01-12T10:00:00"},
      {"Sat Feb 29 10:00:00 2003", "none"}, {"Thu Feb 29 10:00:00 1900", "none"},
      {"Sat Jan 01 00:00:00 2000", "2000-01-01T00:00:00"}, {"Abc Jan 08 10:00:00 2003", "none"},
      {"Wed Jan 08 0A:00:00 2003", "none"}};
  for (const auto& [stamp, iso] : stamps) {
    const std::optional<LogSeconds> at = ReadLogStamp(stamp);
    EXPECT_EQ(at ? IsoDateTime(*at) : "none", iso) << stamp;
  }
}

// Read in a run, stamps give what each gives alone, whatever came before:
// the same day at other times, a new day, a day before 1970, odd shapes.
TEST(StampReader, ReadsEachStampAsItReadsAlone) {
  const char* const run[] = {"Wed Jan 08 14:05:09 2003", "Wed Jan 08 14:05:10 2003", "Wed Jan 08 23:59:59 2003",
                             "Wed Jan 08 24:00:00 2003", "Wed Jan 08 14:5:10 2003",  "Thu Jan 09 00:00:00 2003",
                             "Thu Jan 09 00:00:01 2004", "Wed Jan  8 14:05:09 2003", "Wed Jan  8 14:05:10 2003",
                             "Fri Feb 31 10:00:00 2003", "Fri Feb 31 10:00:01 2003", "Mon Dec 31 23:59:59 1969",
                             "Mon Dec 31 00:00:01 1969", "wed jan 08 14:05:11 2003", ""};
  StampReader reader;
  for (const char* stamp : run) EXPECT_EQ(reader.Read(stamp), ReadLogStamp(stamp)) << stamp;
}

}  // namespace
}  // namespace kelvary::test
