#include "status/log_scanner.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "status/line_facts.h"
#include "status/log_header.h"
#include "status/log_stamp.h"
#include "status/log_line_filter.h"
#include "status/log_messages.h"

namespace kelvary {
namespace {

constexpr std::string_view kDetailSeparator = "\r\n";
constexpr std::string_view kDetailStepsSeparator = "/";
constexpr std::string_view kDetailTimeSeparator = ":  ";
// Detail keeps the first entry and at least this many of the latest ones;
// it is cut back to this many once twice as many have gathered, so cutting
// costs little per notice.
constexpr std::int64_t kLatestDetailEntries = 100;
constexpr std::string_view kLeftOutBefore = "... ";
constexpr std::string_view kLeftOutAfter = " notices left out ...";
constexpr double kWholeCalculation = 100.0;  // per cent
constexpr double kMaxNoticeSteps = 32767.0;  // the largest 16-bit count
// A figure beyond this (about 300 years) is garbled: taken, it would push
// estimates off any clock.
constexpr double kLongestElapsedSeconds = 1e10;
// One character after the "[" is skipped before the percentage begins.
constexpr std::size_t kPercentageOffset = kNoticeInterval.size() + 1;

// A count's longest text: its sign and every digit it can have.
template <class Count>
constexpr std::size_t kLongestCount = std::numeric_limits<Count>::digits10 + 2;

// Appends an entry's counts as Detail shows them ("12/20:  ", after the
// separator unless it is the first entry) in one piece: this runs for
// every notice, and each append of its own costs more than its bytes.
void AppendDetailCounts(std::string& detail, bool first_entry, std::int64_t done, std::int16_t steps) {
  char text[kDetailSeparator.size() + kLongestCount<std::int64_t> + kDetailStepsSeparator.size() +
            kLongestCount<std::int16_t> + kDetailTimeSeparator.size()];
  char* const end = text + sizeof text;
  char* at = text;
  if (!first_entry) at = std::copy(kDetailSeparator.begin(), kDetailSeparator.end(), at);
  // The text has room for any count, so neither count can fail.
  const auto counted = std::to_chars(at, end, done);
  if (counted.ec != std::errc{}) return;
  at = std::copy(kDetailStepsSeparator.begin(), kDetailStepsSeparator.end(), counted.ptr);
  const auto stepped = std::to_chars(at, end, steps);
  if (stepped.ec != std::errc{}) return;
  at = std::copy(kDetailTimeSeparator.begin(), kDetailTimeSeparator.end(), stepped.ptr);
  detail.append(text, at);
}

bool IsPercentageSpace(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos;
}

// Digits with at most one point and nothing else, too long for a double.
double OutOfRangeValue(std::string_view number) {
  const std::string_view whole = number.substr(0, number.find('.'));
  return whole.find_first_not_of('0') == std::string_view::npos ? 0.0 : HUGE_VAL;
}

// The longest prefix of an optional sign, digits, and optionally "." and
// digits, read as a number; 0 when nothing is readable. Blanks, tabs and
// line feeds are ignored wherever they stand. Hexadecimal, exponents, "inf"
// and "nan" are not numbers here.
double ReadPercentage(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (!IsPercentageSpace(c)) kept.push_back(c);
  }
  const bool has_sign = !kept.empty() && (kept[0] == '-' || kept[0] == '+');
  const std::size_t number_begin = has_sign ? 1 : 0;
  std::size_t end = SkipDigits(kept, number_begin);
  std::size_t digits = end - number_begin;
  if (end < kept.size() && kept[end] == '.') {
    const std::size_t fraction_end = SkipDigits(kept, end + 1);
    digits += fraction_end - end - 1;
    end = fraction_end;
  }
  if (digits == 0) return 0.0;
  const std::string_view number(kept.data() + number_begin, end - number_begin);
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                      std::chars_format::fixed);
  if (result.ec == std::errc::result_out_of_range) value = OutOfRangeValue(number);
  return has_sign && kept[0] == '-' ? -value : value;
}

// Where the interval text first stands in the line, or npos. Found from its
// closing '[', which a line holds rarely and the text holds once: every
// line is asked, and most hold the text's first letter many times.
std::size_t FindNoticeInterval(std::string_view line) {
  constexpr std::size_t kBracketAt = kNoticeInterval.size() - 1;
  static_assert(kNoticeInterval.find('[') == kBracketAt);
  for (std::size_t bracket = line.find('[', kBracketAt); bracket != std::string_view::npos;
       bracket = line.find('[', bracket + 1)) {
    const std::size_t begin = bracket - kBracketAt;
    if (line[begin] == kNoticeInterval.front() && line.substr(begin, kBracketAt) == kNoticeInterval.substr(0, kBracketAt)) {
      return begin;
    }
  }
  return std::string_view::npos;
}

// The number of notice intervals a "Completion Notice For Every: [" line
// announces; nothing when the line has no usable percentage.
std::optional<std::int16_t> NoticeStepsOf(std::string_view line) {
  const std::size_t found = FindNoticeInterval(line);
  if (found == std::string_view::npos) return std::nullopt;
  const std::size_t begin = found + kPercentageOffset;
  const std::size_t end = line.find(kNoticeIntervalEnd);
  if (end == std::string_view::npos || end < begin) return std::nullopt;
  const double percentage = ReadPercentage(line.substr(begin, end - begin));
  if (!(percentage > 0.0)) return std::nullopt;
  const double steps = std::trunc(kWholeCalculation / percentage);
  if (steps > kMaxNoticeSteps) return std::nullopt;
  return static_cast<std::int16_t>(steps);
}

// Keeps the first entry, a line that counts the entries left out, and the
// latest kLatestDetailEntries entries.
void CutDetail(CalcPlace& place) {
  const std::int64_t latest = place.NoticesDone - 1 - place.DetailLeftOut;
  if (latest < 2 * kLatestDetailEntries) return;
  std::size_t tail = place.Detail.size();
  for (std::int64_t i = 0; i < kLatestDetailEntries; ++i) tail = place.Detail.rfind(kDetailSeparator, tail - 1);
  place.DetailLeftOut += latest - kLatestDetailEntries;
  std::string cut = place.Detail.substr(0, place.Detail.find(kDetailSeparator));
  cut += kDetailSeparator;
  cut += kLeftOutBefore;
  cut += std::to_string(place.DetailLeftOut);
  cut += kLeftOutAfter;
  cut.append(place.Detail, tail);
  place.Detail = std::move(cut);
}

// The seconds of a "Total Calc Elapsed Time : [2.42] seconds" line: digits
// with at most one point between the brackets, blanks around them allowed.
// Nothing for anything else, so that a garbled figure is never taken.
std::optional<double> ElapsedSecondsOf(std::string_view line) {
  std::string_view figure = BracketText(line.substr(kCalculationFinished.size()));
  const std::size_t first = figure.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  figure = figure.substr(first, figure.find_last_not_of(' ') - first + 1);
  const std::size_t point = figure.find('.');
  const bool digits_only = figure.find_first_not_of("0123456789.") == std::string_view::npos &&
                           (point == std::string_view::npos || figure.find('.', point + 1) == std::string_view::npos) &&
                           figure != ".";
  if (!digits_only) return std::nullopt;
  double value = 0.0;
  const auto result = std::from_chars(figure.data(), figure.data() + figure.size(), value, std::chars_format::fixed);
  if (result.ec != std::errc{} || result.ptr != figure.data() + figure.size()) return std::nullopt;
  if (value > kLongestElapsedSeconds) return std::nullopt;
  return value;
}

void NoteStamp(ScanState& state, std::optional<LogSeconds> at) {
  if (at && (!state.latest_stamp || *at > *state.latest_stamp)) state.latest_stamp = at;
}

// A place's database and user sifted into one number: their lengths and
// their first and last bytes. Places whose numbers differ cannot match.
using PlaceKey = std::uint64_t;
PlaceKey PlaceKeyOf(std::string_view database, std::string_view user) {
  const auto byte = [](std::string_view text, bool last) -> PlaceKey {
    return text.empty() ? 0 : static_cast<unsigned char>(last ? text.back() : text.front());
  };
  constexpr PlaceKey kLengthMask = 0xFFFF;
  return (database.size() & kLengthMask) | (user.size() & kLengthMask) << 16 | byte(database, false) << 32 |
         byte(user, false) << 40 | byte(database, true) << 48 | byte(user, true) << 56;
}

// The five tests, for one scan: the keys of the table's places are kept
// beside it, so that finding a place reads one small array, not the places.
class LineTests {
 public:
  LineTests(ScanState& state, const ScanInputs& inputs)
      : s_(state), in_(inputs), headers_(inputs.application, inputs.cases) {
    for (int k = 0; k < s_.intCalcCount; ++k) keys_[k] = KeyOfPlace(k);
  }

  // Each test that the line's text calls for runs, in the tests' order.
  // Returns false when a yield asked to stop.
  bool Run(std::string_view header, std::string_view line, const LineFacts& facts) {
    header_ = header;
    facts_ = facts;
    if (facts.start == LineStart::CalculationStarted && !CalculationStarted()) return false;
    if (facts.holds_interval && !NoticeInterval(line)) return false;
    switch (facts.start) {
      case LineStart::CompletionNotice:
        return CompletionNotice();
      case LineStart::CalculationFinished:
        return CalculationFinished(line);
      case LineStart::ServerStarted:
        return ServerStarted();
      case LineStart::CalculationStarted:
      case LineStart::None:
        break;
    }
    return true;
  }

 private:
  bool ParseHeader(ClockFormat clock) {
    upper_header_in_state_ = headers_.Parse(s_, header_, clock);
    return !in_.yield || in_.yield();
  }

  // The stamp of the line's header, noted as the log's latest where it is.
  std::optional<LogSeconds> HeaderStamp() {
    NoteStamp(s_, facts_.header_stamp);
    return facts_.header_stamp;
  }

  // The header's stamp as the header upper-cased holds it: at hand where the
  // header was parsed. A recalled header upper-cases byte by byte and keeps
  // its brackets where they stood, so its stamp is upper-cased alone.
  std::string_view UpperStamp() {
    if (upper_header_in_state_) return BracketText(s_.strPrevLine);
    in_.cases.AssignUpper(stamp_, BracketText(header_));
    return stamp_;
  }

  PlaceKey KeyOfPlace(int k) const { return PlaceKeyOf(s_.arrCalcs[k].Database, s_.arrCalcs[k].StartedBy); }

  // The first place of the header's database and user, or -1. Only places
  // whose keys match are compared whole, so the loop reads one small array.
  int FindPlace() const {
    const PlaceKey key = PlaceKeyOf(s_.strDatabase, s_.strUser);
    for (int k = 0; k < s_.intCalcCount; ++k) {
      if (keys_[k] == key && s_.arrCalcs[k].Database == s_.strDatabase && s_.arrCalcs[k].StartedBy == s_.strUser) {
        return k;
      }
    }
    return -1;
  }

  void RemovePlace(int k) {
    for (int i = k; i + 1 < s_.intCalcCount; ++i) {
      s_.arrCalcs[i] = std::move(s_.arrCalcs[i + 1]);
      keys_[i] = keys_[i + 1];
    }
    s_.arrCalcs[s_.intCalcCount - 1] = CalcPlace{};
    --s_.intCalcCount;
  }

  bool CalculationStarted() {
    if (!ParseHeader(ClockFormat::TwelveHour)) return false;
    if (s_.strDatabase.empty()) return true;
    // A restart of the same database and user moves it to the end, afresh.
    if (const int k = FindPlace(); k >= 0) RemovePlace(k);
    // With every place in use, a new calculation is not followed.
    if (s_.intCalcCount == kCalcPlaces) return true;
    const int k = s_.intCalcCount++;
    CalcPlace& place = s_.arrCalcs[k];
    place.Database = s_.strDatabase;
    place.StartTime = s_.strStartTime;
    place.StartedBy = s_.strUser;
    place.StartedAt = HeaderStamp();
    keys_[k] = KeyOfPlace(k);
    return true;
  }

  bool NoticeInterval(std::string_view line) {
    const auto steps = NoticeStepsOf(line);
    if (!steps) return true;
    s_.intNoticeSteps = *steps;
    if (!ParseHeader(ClockFormat::TwentyFourHour)) return false;
    if (const int k = FindPlace(); k >= 0) s_.arrCalcs[k].NoticesTotal = s_.intNoticeSteps;
    return true;
  }

  bool CompletionNotice() {
    if (!ParseHeader(ClockFormat::TwentyFourHour)) return false;
    const int k = FindPlace();
    if (k < 0) return true;
    CalcPlace& place = s_.arrCalcs[k];
    const std::string_view stamp = UpperStamp();
    place.RecordNotice(s_.intNoticeSteps, HeaderStamp());
    const bool first_entry = place.Detail.empty();
    AppendDetailCounts(place.Detail, first_entry, place.NoticesDone, s_.intNoticeSteps);
    // Only the first entry shows the short time of day.
    if (first_entry) {
      place.Detail += StampTimeOfDay(stamp);
    } else {
      place.Detail += stamp;
    }
    CutDetail(place);
    return true;
  }

  bool CalculationFinished(std::string_view line) {
    if (!ParseHeader(ClockFormat::TwentyFourHour)) return false;
    const int k = FindPlace();
    if (k < 0) return true;
    RecordFinishedRun(s_.arrCalcs[k], line);
    RemovePlace(k);
    return true;
  }

  // The server's own figure of the elapsed time, or the stamps' when that
  // figure cannot be read.
  void RecordFinishedRun(const CalcPlace& place, std::string_view line) {
    const std::optional<LogSeconds> finished = HeaderStamp();
    std::optional<double> elapsed = ElapsedSecondsOf(line);
    if (!elapsed && place.StartedAt && finished && *finished >= *place.StartedAt) {
      elapsed = static_cast<double>(*finished - *place.StartedAt);
    }
    s_.history.Record(place.Database, place.StartedBy, place.StartedAt, finished, elapsed);
  }

  bool ServerStarted() {
    if (!ParseHeader(ClockFormat::TwentyFourHour)) return false;
    // Nothing from before a server start is still running.
    s_.EmptyTable();
    return true;
  }

  ScanState& s_;
  const ScanInputs& in_;
  std::array<PlaceKey, kCalcPlaces> keys_{};
  RecentHeaders headers_;
  // The line under test's header, as read, and facts.
  std::string_view header_;
  LineFacts facts_;
  bool upper_header_in_state_ = false;  // strPrevLine holds header_ upper-cased
  std::string stamp_;                   // kept from line to line, so that it allocates once
};

}  // namespace

ScanResult ScanLog(ScanState& state, ByteSource& log, const ScanInputs& inputs) {
  state.history.Clear();
  state.latest_stamp.reset();
  state.latest_entry_age_seconds = inputs.log_age_seconds;
  // Lines that no test can match change nothing but strLine and strPrevLine,
  // so the filter skips them and only the last line is taken at the end.
  LogLineFilter filter(log, state.strPrevLine, inputs.reading);
  LineTests tests(state, inputs);
  // strLine and strPrevLine are not kept line by line: the tests read the
  // lines handed over (strPrevLine as each header is parsed), and the scan
  // leaves both at the log's last line.
  const auto end = filter.Run([&](std::string_view header, std::string_view line, LineFacts facts) {
    return tests.Run(header, line, facts);
  });
  if (end == LogLineFilter::End::Stopped) return ScanResult::Abandoned;
  NoteStamp(state, ReadLogStamp(BracketText(filter.LastBracketLine())));
  if (const auto& last = filter.LastLine()) {
    state.strLine = *last;
    state.strPrevLine = *last;
  }
  return end == LogLineFilter::End::ReadError ? ScanResult::ReadError : ScanResult::Complete;
}

}  // namespace kelvary
