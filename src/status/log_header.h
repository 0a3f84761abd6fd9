#pragma once
// Taking a log header apart: the application, database, user and time of
// day in "[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Sales/admin/Info(1012555)".
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "status/scan_state.h"

namespace kelvary {

enum class ClockFormat { TwentyFourHour, TwelveHour };

// Where ParseLogHeader found the application, database and user (the
// "/" after the user at user_end).
struct HeaderFieldPlaces {
  std::size_t application;
  std::size_t database_begin;
  std::size_t database_end;
  std::size_t user_begin;
  std::size_t user_end;
};

// Sets state.strPrevLine to the header upper-cased, and strDatabase,
// strStartTime and strUser from it. Does not yield: the scanner does that
// after each call. Returns where the fields stood; nothing where the
// header names none.
std::optional<HeaderFieldPlaces> ParseLogHeader(ScanState& state, std::string_view header,
                                                std::string_view application, ClockFormat clock,
                                                const CaseMap& cases);

// ParseLogHeader for one scan, with a memory of recent headers. A header
// that agrees with one parsed before from its first byte to the "/" after
// the user, but for digits where both hold a digit, names the same database
// and user: the application stands where it stood in the other and not
// earlier, since an earlier one would stand in the other too, or hold a
// digit, which the application's name does not. Headers mostly differ only
// in their stamps' times, so most are not taken apart again. That holds
// where the case map upper-cases byte by byte and ASCII alone as usual, and
// the name holds no digit; elsewhere each header is parsed.
class RecentHeaders {
 public:
  RecentHeaders(std::string_view application, const CaseMap& cases);

  // ParseLogHeader's strDatabase, strStartTime and strUser. Returns whether
  // state.strPrevLine holds the header upper-cased: only where it was parsed.
  bool Parse(ScanState& state, std::string_view header, ClockFormat clock);

 private:
  struct Remembered {
    std::string header;  // as read, up to the "/" after the user
    std::size_t application = 0;
    std::string database;
    std::string user;
  };
  static constexpr std::size_t kSlots = 128;

  void Remember(std::string_view header, const HeaderFieldPlaces& fields, const ScanState& state);
  std::size_t SlotOf(std::string_view header) const;
  static bool Recalls(const Remembered& remembered, std::string_view header);

  std::string_view application_;
  const CaseMap& cases_;
  bool usable_;
  // Where the bytes that choose a header's slot begin: after the
  // application, where the header parsed last held it.
  std::size_t slot_key_at_ = 0;
  std::array<Remembered, kSlots> remembered_;
};

// The text between the first "[" and the next "]"; empty when either is missing.
std::string_view BracketText(std::string_view text);

// "hh:mm" of a stamp such as "WED JAN 08 14:05:09 2003", or the stamp as it
// stands when it cannot be read as a date and time.
std::string StampTimeOfDay(std::string_view stamp);

}  // namespace kelvary
