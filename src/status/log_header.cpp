#include "status/log_header.h"

#include <algorithm>
#include <optional>

#include "status/log_stamp.h"

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

}  // namespace

void ParseLogHeader(ScanState& state, std::string_view header_as_read, std::string_view application,
                    ClockFormat clock, const CaseMap& cases) {
  cases.AssignUpper(state.strPrevLine, header_as_read);
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

std::string_view BracketText(std::string_view text) {
  // A header begins with its stamp's bracket: no search for it then.
  const std::size_t open = text.starts_with('[') ? 0 : text.find('[');
  if (open == std::string_view::npos) return {};
  const std::size_t close = text.find(']', open);
  if (close == std::string_view::npos) return {};
  return Slice(text, open + 1, close);
}

std::string StampTimeOfDay(std::string_view stamp) {
  const auto fields = ReadStampFields(stamp);
  if (!fields) return std::string(stamp);
  return TwoDigits(fields->hour) + ':' + TwoDigits(fields->minute);
}

}  // namespace kelvary
