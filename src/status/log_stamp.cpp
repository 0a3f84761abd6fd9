#include "status/log_stamp.h"

#include <algorithm>
#include <array>
#include <cstdio>

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

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = (a[i] >= 'a' && a[i] <= 'z') ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
    if (x != b[i]) return false;
  }
  return true;
}

// The place of a word among the names, from 0, or -1.
template <std::size_t N>
int IndexOf(std::string_view word, const std::array<std::string_view, N>& names) {
  for (std::size_t i = 0; i < N; ++i) {
    if (EqualsIgnoringAsciiCase(word, names[i])) return static_cast<int>(i);
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

}  // namespace

std::optional<LogStampFields> ReadStampFields(std::string_view stamp) {
  const auto words = SplitStamp(stamp);
  if (!words || IndexOf((*words)[0], kWeekdays) < 0) return std::nullopt;
  LogStampFields fields{};
  fields.month = IndexOf((*words)[1], kMonths) + 1;
  fields.day = NumberUpTo((*words)[2], 2, 1, kLastDay);
  fields.year = (*words)[4].size() == kYearDigits ? DigitsValue((*words)[4]) : -1;
  if (fields.month == 0 || fields.day < 0 || fields.year < 0 || !ReadClock((*words)[3], fields)) return std::nullopt;
  return fields;
}

std::optional<LogSeconds> ReadLogStamp(std::string_view stamp) {
  const auto fields = ReadStampFields(stamp);
  if (!fields || fields->day > DaysInMonth(fields->year, fields->month)) return std::nullopt;
  return DaysFromCivil(fields->year, fields->month, fields->day) * kSecondsPerDay + fields->hour * 3600 +
         fields->minute * 60 + fields->second;
}

std::string IsoDateTime(LogSeconds at) {
  const LogStampFields f = CivilFromSeconds(at);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", f.year, f.month, f.day, f.hour, f.minute,
                f.second);
  return text;
}

}  // namespace kelvary
