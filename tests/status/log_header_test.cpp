#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

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

// Parses each header with the memory and afresh, into two states, and
// checks that they agree; returns for each header 'p' where it was parsed,
// 'r' where recalled.
std::string ParseBothWays(const std::vector<std::string>& headers, const std::string& application,
                          const CaseMap& cases, ClockFormat clock, const std::string& name) {
  RecentHeaders recent(application, cases);
  ScanState remembering;
  ScanState parsing;
  std::string ways;
  for (const std::string& header : headers) {
    const bool parsed = recent.Parse(remembering, header, clock);
    ParseLogHeader(parsing, header, application, clock, cases);
    ways += parsed ? 'p' : 'r';
    EXPECT_EQ(remembering.strDatabase, parsing.strDatabase) << name << ": " << header;
    EXPECT_EQ(remembering.strStartTime, parsing.strStartTime) << name << ": " << header;
    EXPECT_EQ(remembering.strUser, parsing.strUser) << name << ": " << header;
    if (parsed) {
      EXPECT_EQ(remembering.strPrevLine, parsing.strPrevLine) << name << ": " << header;
    }
  }
  return ways;
}

std::string At(const std::string& stamp, const std::string& rest) { return "[" + stamp + "]" + rest; }

// A header is recalled only where the one remembered proves it names the
// same fields: differences in digits before the application alone.
TEST(RecentHeaders, RecallOnlyHeadersThatDifferInTheirStampsDigits) {
  const std::string sales = "Local/SAMPLE/Sales/admin/Info(1012555)";
  const std::string mon = "Mon Jan 08 14:05:09 2003";
  const std::string mon_later = "Mon Jan 08 15:59:00 2003";
  const std::string tue = "Tue Jan 09 14:05:09 2003";
  // Code pages where ASCII does not change case as usual: the capital of
  // 'i' beyond ASCII, or a letter beyond ASCII whose capital is 'I'.
  const auto code_page = [](unsigned char from, unsigned char to) {
    CaseMap::Table upper{};
    CaseMap::Table lower{};
    for (int c = 0; c < 256; ++c) {
      upper[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
      lower[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    upper[from] = to;
    return CaseMap(upper, lower);
  };
  const CaseMap dotted_capital = code_page('i', 0xDD);
  const CaseMap dotless_small = code_page(0xFD, 'I');
  struct Case {
    std::string name;
    std::vector<std::string> headers;
    std::string application;
    const CaseMap* cases;
    std::string ways;
  };
  const Case cases[] = {
      {"only the time differs", {At(mon, sales), At(mon_later, sales), At(mon, sales)}, "SAMPLE",
       &CaseMap::Windows1252(), "prr"},
      {"another weekday", {At(mon, sales), At(tue, sales)}, "SAMPLE", &CaseMap::Windows1252(), "pp"},
      {"digits after the application", {At(mon, "Local/SAMPLE/Db1/admin/"), At(mon, "Local/SAMPLE/Db2/admin/")},
       "SAMPLE", &CaseMap::Windows1252(), "pp"},
      {"another case", {At(mon, sales), At(mon, "Local/SAMPLE/Sales/Admin/Info(1012555)")}, "SAMPLE",
       &CaseMap::Windows1252(), "pp"},
      {"application inside the stamp", {At(mon, sales), At(mon_later, sales)}, "JAN", &CaseMap::Windows1252(), "pp"},
      {"letters where digits stood", {At(mon, "Local/AB/Db/admin/"), At("Mon Jan AB 14:05:09 2003", "Local/AB/Db/admin/")},
       "AB", &CaseMap::Windows1252(), "pp"},
      {"application with a digit", {At(mon, "Local/APP2/Sales/admin/"), At(mon_later, "Local/APP2/Sales/admin/")},
       "APP2", &CaseMap::Windows1252(), "pp"},
      {"header cut before the user's end", {At(mon, sales), At(mon_later, "Local/SAMPLE/Sales/admin")}, "SAMPLE",
       &CaseMap::Windows1252(), "pp"},
      {"UTF-8 beyond ASCII", {At(mon, "Local/SAMPLE/Säles/admin/"), At(mon_later, "Local/SAMPLE/Säles/admin/")},
       "SAMPLE", &CaseMap::Utf8(), "pp"},
      {"UTF-8 in ASCII", {At(mon, sales), At(mon_later, sales)}, "SAMPLE", &CaseMap::Utf8(), "pr"},
      {"'i' upper-cased beyond ASCII", {At(mon, sales), At(mon_later, sales)}, "SAMPLE", &dotted_capital, "pp"},
      {"upper-cased into ASCII", {At(mon, sales), At(mon_later, sales)}, "SAMPLE", &dotless_small, "pp"}};
  for (const Case& c : cases) {
    for (const ClockFormat clock : {ClockFormat::TwentyFourHour, ClockFormat::TwelveHour}) {
      EXPECT_EQ(ParseBothWays(c.headers, c.application, *c.cases, clock, c.name), c.ways) << c.name;
    }
  }
}

// Headers drawn from few pieces, so that they often differ in one place:
// stamps, names in either case, digits, the application in the stamp or
// twice, cut short. Whatever the memory recalls must be what parsing gives.
TEST(RecentHeaders, AgreeWithParsingOnDrawnHeaders) {
  std::mt19937 draw(20030108);
  const auto pick = [&draw](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(draw)];
  };
  const std::vector<std::string> weekdays = {"Mon", "MON", "Sat", "Jan"};
  const std::vector<std::string> digits = {"0", "1", "5", "9"};
  const std::vector<std::string> befores = {"Local/", "Local/X/", "", "SAMPLE/"};
  const std::vector<std::string> names = {"Basic", "BASIC", "Bas1c", "Sample", "JAN", "", "x/y"};
  const std::vector<std::string> ends = {"/Info(1012555)", "/", ""};
  std::vector<std::string> headers;
  for (int k = 0; k < 20000; ++k) {
    const std::string stamp = pick(weekdays) + " Jan 0" + pick(digits) + " 1" + pick(digits) + ":0" + pick(digits) +
                              ":" + pick(digits) + "9 200" + pick(digits);
    headers.push_back(At(stamp, pick(befores) + "SAMPLE/" + pick(names) + "/" + pick(names) + pick(ends)));
  }
  for (const std::string application : {"SAMPLE", "JAN", "BASIC", "SAMP"}) {
    const std::string ways = ParseBothWays(headers, application, CaseMap::Windows1252(), ClockFormat::TwelveHour,
                                           "drawn, " + application);
    EXPECT_NE(ways.find('r'), std::string::npos) << application << ": some headers are recalled";
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
