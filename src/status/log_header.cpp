#include "status/log_header.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

#include "base/byte_words.h"
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

// Where the database and user stand: after the first occurrence of the
// application and the one character after it, each up to the next "/".
// Empty when the header does not name the application, or a "/" is missing.
std::optional<HeaderFieldPlaces> LocateFields(std::string_view header, std::string_view application) {
  if (application.empty()) return std::nullopt;
  HeaderFieldPlaces fields{};
  fields.application = header.find(application);
  if (fields.application == std::string_view::npos) return std::nullopt;
  fields.database_begin = fields.application + application.size() + 1;
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

std::string_view TimeOf(std::string_view header) {
  return header.substr(std::min(kTimeOffset, header.size()), kTimeLength);
}

void ConvertStartTime(ScanState& state, ClockFormat clock) {
  if (clock == ClockFormat::TwelveHour) state.strStartTime = ToTwelveHourClock(state.strStartTime);
}

// Whether two texts of one length are the same, but for digits where both
// hold one before `digits_end`. Eight bytes at a time: two headers of one
// day's messages differ in few of their words, and in those only in digits.
bool SameButDigits(std::string_view a, std::string_view b, std::size_t digits_end) {
  using byte_words::kTopBits;
  using byte_words::Word;
  const auto digits = [](Word word) { return byte_words::BytesWithin(word, '0', '9'); };
  const auto agree = [&](std::size_t at) {
    return a[at] == b[at] || (at < digits_end && IsDigit(a[at]) && IsDigit(b[at]));
  };
  const auto same_word_at = [&](std::size_t at) {
    Word x;
    Word y;
    std::memcpy(&x, a.data() + at, sizeof x);
    std::memcpy(&y, b.data() + at, sizeof y);
    if (x == y) return true;
    if (at + sizeof(Word) <= digits_end && ((x | y) & kTopBits) == 0) {
      return (byte_words::NonZeroBytes(x ^ y) & ~(digits(x) & digits(y))) == 0;
    }
    for (std::size_t k = at; k < at + sizeof(Word); ++k) {
      if (!agree(k)) return false;
    }
    return true;
  };
  if (a.size() < sizeof(Word)) {
    for (std::size_t at = 0; at < a.size(); ++at) {
      if (!agree(at)) return false;
    }
    return true;
  }
  for (std::size_t at = 0; at + sizeof(Word) <= a.size(); at += sizeof(Word)) {
    if (!same_word_at(at)) return false;
  }
  // The last bytes as one more word, which may overlap the one before.
  return same_word_at(a.size() - sizeof(Word));
}

}  // namespace

std::optional<HeaderFieldPlaces> ParseLogHeader(ScanState& state, std::string_view header_as_read,
                                                std::string_view application, ClockFormat clock,
                                                const CaseMap& cases) {
  cases.AssignUpper(state.strPrevLine, header_as_read);
  const std::string_view header = state.strPrevLine;
  const auto fields = LocateFields(header, application);
  if (!fields) {
    state.strDatabase.clear();
    state.strStartTime.clear();
    return std::nullopt;
  }
  state.strDatabase = Slice(header, fields->database_begin, fields->database_end);
  state.strStartTime = TimeOf(header);
  ConvertStartTime(state, clock);
  state.strUser = Slice(header, fields->user_begin, fields->user_end);
  cases.LowerInPlace(state.strUser);
  return fields;
}

RecentHeaders::RecentHeaders(std::string_view application, const CaseMap& cases)
    : application_(application),
      cases_(cases),
      usable_(cases.UppersAsciiAlone() && !application.empty() &&
              std::none_of(application.begin(), application.end(), IsDigit)) {}

bool RecentHeaders::Parse(ScanState& state, std::string_view header, ClockFormat clock) {
  if (!usable_ || !cases_.UppersByteByByte(header)) {
    ParseLogHeader(state, header, application_, clock, cases_);
    return true;
  }
  if (const Remembered& remembered = remembered_[SlotOf(header)]; Recalls(remembered, header)) {
    state.strDatabase = remembered.database;
    // Upper-cased byte by byte, the time's bytes alone come out as they
    // would from the whole header.
    cases_.AssignUpper(state.strStartTime, TimeOf(header));
    ConvertStartTime(state, clock);
    state.strUser = remembered.user;
    return false;
  }
  if (const auto fields = ParseLogHeader(state, header, application_, clock, cases_)) Remember(header, *fields, state);
  return true;
}

void RecentHeaders::Remember(std::string_view header, const HeaderFieldPlaces& fields, const ScanState& state) {
  slot_key_at_ = fields.database_begin;
  Remembered& remembered = remembered_[SlotOf(header)];
  remembered.header.assign(header.substr(0, fields.user_end + 1));
  remembered.application = fields.application;
  remembered.database = state.strDatabase;
  remembered.user = state.strUser;
}

// The bytes that name the database and user, mixed into a slot's number.
std::size_t RecentHeaders::SlotOf(std::string_view header) const {
  std::uint64_t key[2] = {};
  const std::string_view named = header.substr(std::min(slot_key_at_, header.size()), sizeof key);
  if (named.size() == sizeof key) {
    std::memcpy(key, named.data(), sizeof key);  // one fixed-size copy: no library call
  } else {
    std::memcpy(key, named.data(), named.size());
  }
  constexpr std::uint64_t kMixFirst = 0x9E3779B97F4A7C15;
  constexpr std::uint64_t kMixSecond = 0xC2B2AE3D27D4EB4F;
  constexpr int kSlotBits = std::bit_width(kSlots - 1);
  return static_cast<std::size_t>((key[0] * kMixFirst ^ key[1] * kMixSecond) >> (64 - kSlotBits));
}

bool RecentHeaders::Recalls(const Remembered& remembered, std::string_view header) {
  const std::string_view known = remembered.header;
  return !known.empty() && header.size() >= known.size() &&
         SameButDigits(header.substr(0, known.size()), known, remembered.application);
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
