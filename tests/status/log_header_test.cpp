#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "status/log_header.h"

namespace kelvary {
namespace {

constexpr const char* kSalesHeader = "[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Sales/admin/Info(1012555)";

// Name, header, application, clock; the database, time and user parsed
// (kUserBefore: the user left as it was before the parse).
using HeaderCase = std::tuple<std::string, std::string, std::string, ClockFormat, std::string, std::string, std::string>;

constexpr const char* kUserBefore = "earlier";

// The header is upper-cased in place; a header of another application, or
// one cut short, leaves the user as it was.
TEST(ParseLogHeader, TakesDatabaseTimeAndUser) {
  const auto clock = [](const char* hhmm, const char* expected) {
    return HeaderCase{hhmm, "[Wed Jan 08 " + std::string(hhmm) + ":09 2003]Local/SAMPLE/Sales/admin/Info(1012555)",
                      "SAMPLE", ClockFormat::TwelveHour, "SALES", expected, "admin"};
  };
  const HeaderCase cases[] = {
      clock("00:15", "00:15 am"), clock("11:59", "11:59 am"), clock("12:45", "12:45 pm"), clock("13:05", "01:05 pm"),
      clock("23:59", "11:59 pm"),
      {"worked example, 24 hours", kSalesHeader, "SAMPLE", ClockFormat::TwentyFourHour, "SALES", "14:05", "admin"},
      {"user lower-cased", "[Thu Apr  6 10:09:19 1995] Local/Sample/Basic/Qatest/Info(1012669)", "SAMPLE",
       ClockFormat::TwelveHour, "BASIC", "10:09 am", "qatest"},
      {"application missing", kSalesHeader, "FINANCE", ClockFormat::TwelveHour, "", "", kUserBefore},
      {"application inside the stamp wins", kSalesHeader, "JAN", ClockFormat::TwentyFourHour,
       "08 14:05:09 2003]LOCAL", "14:05", "sample"},
      {"character after the name skipped", kSalesHeader, "SAMP", ClockFormat::TwentyFourHour, "E", "14:05", "sales"},
      {"no slash after the database", "[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Sales", "SAMPLE",
       ClockFormat::TwelveHour, "", "", kUserBefore},
      {"no slash after the user", "[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Sales/admin", "SAMPLE",
       ClockFormat::TwelveHour, "", "", kUserBefore},
      {"empty application never matches", kSalesHeader, "", ClockFormat::TwelveHour, "", "", kUserBefore},
      {"time without digits", "[Wed Jan 08 ab:cd:09 2003]Local/SAMPLE/Sales/admin/x", "SAMPLE",
       ClockFormat::TwelveHour, "SALES", "AB:CD", "admin"},
      {"short header", "SAMPLE/DB/U/", "SAMPLE", ClockFormat::TwelveHour, "DB", "", "u"},
      {"empty database kept", "[Wed Jan 08 14:05:09 2003]Local/SAMPLE//admin/Info", "SAMPLE",
       ClockFormat::TwentyFourHour, "", "14:05", "admin"}};
  for (const auto& [name, header, application, clock_format, database, time, user] : cases) {
    ScanState state;
    state.strPrevLine = "OLD";
    state.strUser = kUserBefore;
    state.strDatabase = "OLD";
    state.strStartTime = "OLD";
    ParseLogHeader(state, header, application, clock_format, CaseMap::Windows1252());
    EXPECT_EQ(state.strDatabase, database) << name;
    EXPECT_EQ(state.strStartTime, time) << name;
    EXPECT_EQ(state.strUser, user) << name;
    EXPECT_EQ(state.strPrevLine, CaseMap::Windows1252().Upper(header)) << name;
  }
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
