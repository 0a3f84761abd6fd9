#include "status/log_header.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kelvary {
namespace {

constexpr char kPathSeparator = '/';
constexpr std::size_t kTimeOffset = 12;  // hh:mm stands at characters 13 to 17
constexpr std::size_t kTimeLength = 5;
constexpr int kNoonHour = 12;
constexpr std::string_view kNoonText = "12";
constexpr std::string_view kAm = " am";
constexpr std::string_view kPm = " pm";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct HeaderFields {
  std::size_t database_begin;
  std::size_t database_end;
  std::size_t user_begin;
  std::size_t user_end;
};

// Where the database and user stand: after the first occurrence of the
// application and the one character after it, each up to the next "/".
// Empty when the header does not name the application, or a "/" is missing.
std::optional<HeaderFields> LocateFields(std::string_view header, std::string_view application) {
  if (application.empty()) return std::nullopt;
  const std::size_t found = header.find(application);
  if (found == std::string_view::npos) return std::nullopt;
  HeaderFields fields{};
  fields.database_begin = found + application.size() + 1;
  fields.database_end = header.find(kPathSeparator, fields.database_begin);
  if (fields.database_end == std::string_view::npos) return std::nullopt;
  fields.user_begin = fields.database_end + 1;
  fields.user_end = header.find(kPathSeparator, fields.user_begin);
  if (fields.user_end == std::string_view::npos) return std::nullopt;
  return fields;
}

std::string TwoDigits(int value) {
  return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

// "14:05" becomes "02:05 pm"; a time that does not begin with two digits
// stays as it is.
std::string ToTwelveHourClock(const std::string& time) {
  if (time.size() < 2 || !IsDigit(time[0]) || !IsDigit(time[1])) return time;
  const std::string_view hour(time.data(), 2);
  if (hour > kNoonText) {
    const int value = (time[0] - '0') * 10 + (time[1] - '0');
    return TwoDigits(value - kNoonHour) + time.substr(2) + std::string(kPm);
  }
  return time + std::string(hour == kNoonText ? kPm : kAm);
}

std::string_view Slice(std::string_view text, std::size_t begin, std::size_t end) {
  return text.substr(begin, end - begin);
}

// --- date-and-time stamps: "WED JAN 08 14:05:09 2003" ---

constexpr std::array<std::string_view, 7> kWeekdays = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
constexpr std::array<std::string_view, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                      "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr char kStampBlank = ' ';
constexpr std::size_t kStampFields = 5;
constexpr std::size_t kYearDigits = 4;
constexpr int kLastDay = 31;
constexpr int kLastHour = 23;
constexpr int kLastMinuteOrSecond = 59;

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = (a[i] >= 'a' && a[i] <= 'z') ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
    if (x != b[i]) return false;
  }
  return true;
}

template <std::size_t N>
bool IsOneOf(std::string_view word, const std::array<std::string_view, N>& names) {
  for (std::string_view name : names) {
    if (EqualsIgnoringAsciiCase(word, name)) return true;
  }
  return false;
}

// The value of a text made only of digits, or -1.
int DigitsValue(std::string_view text) {
  if (text.empty()) return -1;
  int value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

bool IsNumberUpTo(std::string_view text, std::size_t max_digits, int min, int max) {
  if (text.size() > max_digits) return false;
  const int value = DigitsValue(text);
  return value >= min && value <= max;
}

bool IsTwoDigitsUpTo(std::string_view text, int max) {
  return text.size() == 2 && IsNumberUpTo(text, 2, 0, max);
}

// Splits at runs of blanks; nothing may stand before the first field.
std::optional<std::array<std::string_view, kStampFields>> SplitStamp(std::string_view stamp) {
  std::array<std::string_view, kStampFields> fields;
  std::size_t count = 0;
  std::size_t pos = 0;
  if (stamp.empty() || stamp.front() == kStampBlank || stamp.back() == kStampBlank) return std::nullopt;
  while (pos < stamp.size()) {
    if (count == kStampFields) return std::nullopt;
    const std::size_t end = std::min(stamp.find(kStampBlank, pos), stamp.size());
    fields[count++] = Slice(stamp, pos, end);
    pos = stamp.find_first_not_of(kStampBlank, end);
    if (pos == std::string_view::npos) break;
  }
  if (count != kStampFields) return std::nullopt;
  return fields;
}

bool IsClock(std::string_view clock) {
  return clock.size() == 8 && clock[2] == ':' && clock[5] == ':' &&
         IsTwoDigitsUpTo(clock.substr(0, 2), kLastHour) &&
         IsTwoDigitsUpTo(clock.substr(3, 2), kLastMinuteOrSecond) &&
         IsTwoDigitsUpTo(clock.substr(6, 2), kLastMinuteOrSecond);
}

}  // namespace

void ParseLogHeader(ScanState& state, std::string_view application, ClockFormat clock,
                    const CaseMap& cases) {
  cases.UpperInPlace(state.strPrevLine);
  const std::string_view header = state.strPrevLine;
  const auto fields = LocateFields(header, application);
  if (!fields) {
    state.strDatabase.clear();
    state.strStartTime.clear();
    return;
  }
  state.strDatabase = Slice(header, fields->database_begin, fields->database_end);
  state.strStartTime = header.substr(std::min(kTimeOffset, header.size()), kTimeLength);
  if (clock == ClockFormat::TwelveHour) state.strStartTime = ToTwelveHourClock(state.strStartTime);
  state.strUser = Slice(header, fields->user_begin, fields->user_end);
  cases.LowerInPlace(state.strUser);
}

std::string BracketText(std::string_view text) {
  const std::size_t open = text.find('[');
  if (open == std::string_view::npos) return {};
  const std::size_t close = text.find(']', open);
  if (close == std::string_view::npos) return {};
  return std::string(Slice(text, open + 1, close));
}

std::string StampTimeOfDay(std::string_view stamp) {
  const auto fields = SplitStamp(stamp);
  const bool readable = fields && IsOneOf((*fields)[0], kWeekdays) && IsOneOf((*fields)[1], kMonths) &&
                        IsNumberUpTo((*fields)[2], 2, 1, kLastDay) && IsClock((*fields)[3]) &&
                        (*fields)[4].size() == kYearDigits && DigitsValue((*fields)[4]) >= 0;
  if (!readable) return std::string(stamp);
  return std::string((*fields)[3].substr(0, kTimeLength));
}

}  // namespace kelvary
