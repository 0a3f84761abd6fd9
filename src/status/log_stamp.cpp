#include "status/log_stamp.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace kelvary {
namespace {

constexpr std::array<std::string_view, 7> kWeekdays = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
constexpr std::array<std::string_view, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                      "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr char kStampBlank = ' ';
constexpr std::size_t kStampFields = 5;
constexpr std::size_t kYearDigits = 4;
constexpr int kLastDay = 31;
constexpr int kLastHour = 23;
constexpr int kLastMinuteOrSecond = 59;
constexpr LogSeconds kSecondsPerDay = 86400;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr std::size_t kNameLetters = 3;
using NameKey = std::uint32_t;

// A three-letter name in upper case as one number, so that a name is found
// with one comparison per candidate; 0 for a word of any other length.
constexpr NameKey KeyOf(std::string_view word) {
  if (word.size() != kNameLetters) return 0;
  NameKey key = 0;
  for (char c : word) {
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    key = key << 8 | static_cast<unsigned char>(upper);
  }
  return key;
}

template <std::size_t N>
constexpr std::array<NameKey, N> KeysOf(const std::array<std::string_view, N>& names) {
  std::array<NameKey, N> keys{};
  for (std::size_t i = 0; i < N; ++i) keys[i] = KeyOf(names[i]);
  return keys;
}
constexpr auto kWeekdayKeys = KeysOf(kWeekdays);
constexpr auto kMonthKeys = KeysOf(kMonths);

// The place of a word among the names' keys, from 0, ignoring ASCII case, or -1.
template <std::size_t N>
int IndexOf(std::string_view word, const std::array<NameKey, N>& keys) {
  const NameKey key = KeyOf(word);
  for (std::size_t i = 0; key != 0 && i < N; ++i) {
    if (key == keys[i]) return static_cast<int>(i);
  }
  return -1;
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

// The value of a text of one to max_digits digits within [min, max], or -1.
int NumberUpTo(std::string_view text, std::size_t max_digits, int min, int max) {
  if (text.size() > max_digits) return -1;
  const int value = DigitsValue(text);
  return value >= min && value <= max ? value : -1;
}

int TwoDigitsUpTo(std::string_view text, int max) { return text.size() == 2 ? NumberUpTo(text, 2, 0, max) : -1; }

// "Wed Jan 08 14:05:09 2003": where the blanks stand in nearly every stamp.
constexpr std::array<std::size_t, kStampFields - 1> kUsualBlanks = {3, 7, 10, 19};
constexpr std::size_t kUsualStampSize = 24;
// Where its fields stand in such a stamp.
constexpr std::size_t kWeekdayToDayBytes = 10;  // "Wed Jan 08"
constexpr std::size_t kClockAt = 11;
constexpr std::size_t kClockBytes = 8;
constexpr std::size_t kYearAt = 20;

// Blanks where they usually stand: the fields can then be taken where they
// stand, without searching. A blank elsewhere ("Jan  8") makes a field
// unreadable there, and the stamp is split at its blanks instead.
bool HasUsualShape(std::string_view stamp) {
  if (stamp.size() != kUsualStampSize) return false;
  for (std::size_t blank : kUsualBlanks) {
    if (stamp[blank] != kStampBlank) return false;
  }
  return true;
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
    fields[count++] = stamp.substr(pos, end - pos);
    pos = stamp.find_first_not_of(kStampBlank, end);
    if (pos == std::string_view::npos) break;
  }
  if (count != kStampFields) return std::nullopt;
  return fields;
}

bool ReadClock(std::string_view clock, LogStampFields& fields) {
  if (clock.size() != 8 || clock[2] != ':' || clock[5] != ':') return false;
  fields.hour = TwoDigitsUpTo(clock.substr(0, 2), kLastHour);
  fields.minute = TwoDigitsUpTo(clock.substr(3, 2), kLastMinuteOrSecond);
  fields.second = TwoDigitsUpTo(clock.substr(6, 2), kLastMinuteOrSecond);
  return fields.hour >= 0 && fields.minute >= 0 && fields.second >= 0;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the date in the proleptic Gregorian calendar.
LogSeconds DaysFromCivil(int year, int month, int day) {
  const LogSeconds y = month <= 2 ? year - 1 : year;
  const LogSeconds era = (y >= 0 ? y : y - 399) / 400;
  const LogSeconds year_of_era = y - era * 400;
  const LogSeconds day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const LogSeconds day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

LogStampFields CivilFromSeconds(LogSeconds at) {
  LogSeconds days = at / kSecondsPerDay;
  LogSeconds rest = at % kSecondsPerDay;
  if (rest < 0) rest += kSecondsPerDay, --days;
  const LogSeconds z = days + 719468;
  const LogSeconds era = (z >= 0 ? z : z - 146096) / 146097;
  const LogSeconds day_of_era = z - era * 146097;
  const LogSeconds year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const LogSeconds day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const LogSeconds mp = (5 * day_of_year + 2) / 153;
  const int day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
          static_cast<int>(rest % 60)};
}

std::optional<LogStampFields> FieldsOf(std::string_view weekday, std::string_view month, std::string_view day,
                                       std::string_view clock, std::string_view year) {
  if (IndexOf(weekday, kWeekdayKeys) < 0) return std::nullopt;
  LogStampFields fields{};
  fields.month = IndexOf(month, kMonthKeys) + 1;
  fields.day = NumberUpTo(day, 2, 1, kLastDay);
  fields.year = year.size() == kYearDigits ? DigitsValue(year) : -1;
  if (fields.month == 0 || fields.day < 0 || fields.year < 0 || !ReadClock(clock, fields)) return std::nullopt;
  return fields;
}

}  // namespace

std::optional<LogStampFields> ReadStampFields(std::string_view stamp) {
  if (HasUsualShape(stamp)) {
    const auto fields = FieldsOf(stamp.substr(0, 3), stamp.substr(4, 3), stamp.substr(8, 2),
                                 stamp.substr(kClockAt, kClockBytes), stamp.substr(kYearAt));
    if (fields) return fields;
  }
  const auto words = SplitStamp(stamp);
  if (!words) return std::nullopt;
  return FieldsOf((*words)[0], (*words)[1], (*words)[2], (*words)[3], (*words)[4]);
}

std::optional<LogSeconds> ReadLogStamp(std::string_view stamp) {
  const auto fields = ReadStampFields(stamp);
  if (!fields || fields->day > DaysInMonth(fields->year, fields->month)) return std::nullopt;
  return DaysFromCivil(fields->year, fields->month, fields->day) * kSecondsPerDay + fields->hour * 3600 +
         fields->minute * 60 + fields->second;
}

std::optional<LogSeconds> StampReader::Read(std::string_view stamp) {
  static_assert(kDateBytes == kWeekdayToDayBytes + kYearDigits);
  if (!HasUsualShape(stamp)) return ReadLogStamp(stamp);
  const char* text = stamp.data();
  // Compared where the date stands, without gathering it first: a copy
  // made of two pieces and read back whole stalls the processor.
  if (day_start_ && std::memcmp(text, date_, kWeekdayToDayBytes) == 0 &&
      std::memcmp(text + kYearAt, date_ + kWeekdayToDayBytes, kYearDigits) == 0) {
    LogStampFields fields{};
    if (ReadClock(stamp.substr(kClockAt, kClockBytes), fields)) {
      return *day_start_ + fields.hour * 3600 + fields.minute * 60 + fields.second;
    }
  }
  const std::optional<LogSeconds> at = ReadLogStamp(stamp);
  day_start_.reset();
  if (at) {
    std::memcpy(date_, text, kWeekdayToDayBytes);
    std::memcpy(date_ + kWeekdayToDayBytes, text + kYearAt, kYearDigits);
    day_start_ = *at - ((*at % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
  }
  return at;
}

std::string IsoDateTime(LogSeconds at) {
  const LogStampFields f = CivilFromSeconds(at);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", f.year, f.month, f.day, f.hour, f.minute,
                f.second);
  return text;
}

}  // namespace kelvary
