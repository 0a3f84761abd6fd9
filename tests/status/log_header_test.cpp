#include <gtest/gtest.h>

#include "status/log_header.h"

namespace kelvary {
namespace {

constexpr const char* kSalesHeader = "[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Sales/admin/Info(1012555)";

struct HeaderCase {
  const char* name;
  std::string header;
  std::string application;
  ClockFormat clock;
  std::string database;
  std::string time;
  std::string user;  // kUserBefore: left as it was before the parse
};

constexpr const char* kUserBefore = "earlier";

class ParseLogHeaderCase : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(ParseLogHeaderCase, TakesDatabaseTimeAndUser) {
  const HeaderCase& c = GetParam();
  ScanState state;
  state.strPrevLine = c.header;
  state.strUser = kUserBefore;
  state.strDatabase = "OLD";
  state.strStartTime = "OLD";
  ParseLogHeader(state, c.application, c.clock, CaseMap::Windows1252());
  EXPECT_EQ(state.strDatabase, c.database);
  EXPECT_EQ(state.strStartTime, c.time);
  EXPECT_EQ(state.strUser, c.user);
  EXPECT_EQ(state.strPrevLine, CaseMap::Windows1252().Upper(c.header)) << "the header is upper-cased in place";
}

HeaderCase Clock(const char* name, const std::string& hhmm, const std::string& expected) {
  return {name, "[Wed Jan 08 " + hhmm + ":09 2003]Local/SAMPLE/Sales/admin/Info(1012555)", "SAMPLE",
          ClockFormat::TwelveHour, "SALES", expected, "admin"};
}

INSTANTIATE_TEST_SUITE_P(
    TwelveHourClock, ParseLogHeaderCase,
    ::testing::Values(Clock("Midnight", "00:15", "00:15 am"), Clock("BeforeNoon", "11:59", "11:59 am"),
                      Clock("Noon", "12:45", "12:45 pm"), Clock("Afternoon", "13:05", "01:05 pm"),
                      Clock("LastMinute", "23:59", "11:59 pm")),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Headers, ParseLogHeaderCase,
    ::testing::Values(
        HeaderCase{"WorkedExample24Hour", kSalesHeader, "SAMPLE", ClockFormat::TwentyFourHour, "SALES", "14:05",
                   "admin"},
        HeaderCase{"UserIsLowerCased", "[Thu Apr  6 10:09:19 1995] Local/Sample/Basic/Qatest/Info(1012669)",
                   "SAMPLE", ClockFormat::TwelveHour, "BASIC", "10:09 am", "qatest"},
        HeaderCase{"ApplicationMissingLeavesUser", kSalesHeader, "FINANCE", ClockFormat::TwelveHour, "", "",
                   kUserBefore},
        HeaderCase{"ApplicationInsideTheStampWins", kSalesHeader, "JAN", ClockFormat::TwentyFourHour,
                   "08 14:05:09 2003]LOCAL", "14:05", "sample"},
        HeaderCase{"CharacterAfterTheNameIsSkipped", kSalesHeader, "SAMP", ClockFormat::TwentyFourHour, "E",
                   "14:05", "sales"},
        HeaderCase{"NoSlashAfterDatabase", "[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Sales", "SAMPLE",
                   ClockFormat::TwelveHour, "", "", kUserBefore},
        HeaderCase{"NoSlashAfterUser", "[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Sales/admin", "SAMPLE",
                   ClockFormat::TwelveHour, "", "", kUserBefore},
        HeaderCase{"EmptyApplicationNeverMatches", kSalesHeader, "", ClockFormat::TwelveHour, "", "",
                   kUserBefore},
        HeaderCase{"TimeWithoutDigitsStaysAsTaken", "[Wed Jan 08 ab:cd:09 2003]Local/SAMPLE/Sales/admin/x",
                   "SAMPLE", ClockFormat::TwelveHour, "SALES", "AB:CD", "admin"},
        HeaderCase{"ShortHeaderGivesShortTime", "SAMPLE/DB/U/", "SAMPLE", ClockFormat::TwelveHour, "DB", "",
                   "u"},
        HeaderCase{"EmptyDatabaseIsKept", "[Wed Jan 08 14:05:09 2003]Local/SAMPLE//admin/Info", "SAMPLE",
                   ClockFormat::TwentyFourHour, "", "14:05", "admin"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BracketText, ReturnsTextBetweenFirstOpenAndNextClose) {
  EXPECT_EQ(BracketText("[WED JAN 08 14:05:09 2003]LOCAL/SAMPLE"), "WED JAN 08 14:05:09 2003");
  EXPECT_EQ(BracketText("x]y[z]w"), "z") << "a close before the open is passed over";
  EXPECT_EQ(BracketText("[]"), "");
  EXPECT_EQ(BracketText("WED JAN 08]"), "") << "no open";
  EXPECT_EQ(BracketText("[WED JAN 08"), "") << "no close";
}

// The shape counts, not the calendar; anything else is shown whole.
TEST(StampTimeOfDay, ShowsHoursAndMinutesOfReadableStampsAndOthersWhole) {
  EXPECT_EQ(StampTimeOfDay("WED JAN 08 14:05:09 2003"), "14:05");
  EXPECT_EQ(StampTimeOfDay("THU APR  6 10:09:19 1995"), "10:09");
  EXPECT_EQ(StampTimeOfDay("MON FEB 31 00:00:00 2003"), "00:00");
  for (const std::string stamp :
       {"WED JAN 08\t14:05:09 2003", "WED JAN 08 24:05:09 2003", "WED JAN 08 14:05:60 2003", "WED JAN 0 14:05:09 2003",
        "WED JAN 32 14:05:09 2003", "WED JAX 08 14:05:09 2003", "WED JAN 08 14:05:09 03", "WED JAN 08 14:05:09 2003 X",
        " WED JAN 08 14:05:09 2003", ""}) {
    EXPECT_EQ(StampTimeOfDay(stamp), stamp);
  }
}

}  // namespace
}  // namespace kelvary
