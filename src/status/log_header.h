#pragma once
// Taking a log header apart: the application, database, user and time of
// day in "[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Sales/admin/Info(1012555)".
#include <string>
#include <string_view>

#include "status/scan_state.h"

namespace kelvary {

enum class ClockFormat { TwentyFourHour, TwelveHour };

// Sets state.strPrevLine to the header upper-cased, and strDatabase,
// strStartTime and strUser from it. Does not yield: the scanner does that
// after each call.
void ParseLogHeader(ScanState& state, std::string_view header, std::string_view application, ClockFormat clock,
                    const CaseMap& cases);

// The text between the first "[" and the next "]"; empty when either is missing.
std::string_view BracketText(std::string_view text);

// "hh:mm" of a stamp such as "WED JAN 08 14:05:09 2003", or the stamp as it
// stands when it cannot be read as a date and time.
std::string StampTimeOfDay(std::string_view stamp);

}  // namespace kelvary
