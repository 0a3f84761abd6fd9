#include "status/log_line_filter.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "status/log_messages.h"

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define KELVARY_FILTER_SSE2 1
#endif

namespace kelvary {
namespace {

// Room before the data for a sentinel line end, and after it for the
// look-ahead of the byte tests below.
constexpr std::size_t kPadding = 64;
// Big enough to make reads cheap, small enough to stay in the cache.
constexpr std::size_t kBlockBytes = std::size_t{256} << 10;
constexpr char kLf = '\n';
constexpr char kCr = '\r';

constexpr std::string_view kLineStartMessages[] = {kCalculationStarted, kCompletionNotice,
                                                    kCalculationFinished, kServerStarted};

// The byte tests that pick out candidates: a line start whose first letter
// begins one of the line-start messages, or a place where the interval text
// may begin (its first letter, its ':' and its '[').
constexpr char kStartLetterA = kCalculationStarted[0];
constexpr char kStartLetterB = kCalculationFinished[0];
constexpr char kStartLetterC = kServerStarted[0];
static_assert(kCompletionNotice[0] == kStartLetterA);
constexpr std::size_t kIntervalColon = kNoticeInterval.find(':');
constexpr std::size_t kIntervalBracket = kNoticeInterval.find('[');
constexpr char kIntervalFirst = kNoticeInterval[0];
static_assert(kIntervalBracket + 16 < kPadding);

bool IsLineEnd(char c) { return c == kLf || c == kCr; }

bool IsCandidateAt(const char* b, std::size_t i) {
  const char c = b[i];
  const bool start_letter = c == kStartLetterA || c == kStartLetterB || c == kStartLetterC;
  const bool interval = c == kIntervalFirst && b[i + kIntervalColon] == ':' && b[i + kIntervalBracket] == '[';
  return (start_letter && IsLineEnd(b[i - 1])) || interval;
}

// The first position in [from, end) that passes the byte tests, or end.
// Reads b[from - 1] and up to kPadding bytes past end.
std::size_t FindCandidate(const char* b, std::size_t from, std::size_t end) {
  std::size_t i = from;
#ifdef KELVARY_FILTER_SSE2
  const __m128i lf = _mm_set1_epi8(kLf);
  const __m128i cr = _mm_set1_epi8(kCr);
  const __m128i letter_a = _mm_set1_epi8(kStartLetterA);
  const __m128i letter_b = _mm_set1_epi8(kStartLetterB);
  const __m128i letter_c = _mm_set1_epi8(kStartLetterC);
  const __m128i colon = _mm_set1_epi8(':');
  const __m128i bracket = _mm_set1_epi8('[');
  auto load = [b](std::size_t at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at)); };
  for (; i + 16 <= end; i += 16) {
    const __m128i cur = load(i);
    const __m128i prev = load(i - 1);
    const __m128i is_a = _mm_cmpeq_epi8(cur, letter_a);
    const __m128i letter = _mm_or_si128(is_a, _mm_or_si128(_mm_cmpeq_epi8(cur, letter_b),
                                                           _mm_cmpeq_epi8(cur, letter_c)));
    const __m128i after_end = _mm_or_si128(_mm_cmpeq_epi8(prev, lf), _mm_cmpeq_epi8(prev, cr));
    static_assert(kIntervalFirst == kStartLetterA);
    const __m128i interval = _mm_and_si128(
        is_a, _mm_and_si128(_mm_cmpeq_epi8(load(i + kIntervalColon), colon),
                            _mm_cmpeq_epi8(load(i + kIntervalBracket), bracket)));
    const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_and_si128(letter, after_end), interval));
    if (mask != 0) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
  }
#endif
  for (; i < end; ++i) {
    if (IsCandidateAt(b, i)) return i;
  }
  return end;
}

bool StartsWithLineStartMessage(std::string_view text) {
  return std::any_of(std::begin(kLineStartMessages), std::end(kLineStartMessages),
                     [text](std::string_view message) { return text.starts_with(message); });
}

}  // namespace

bool IsCandidateLine(std::string_view line) {
  return StartsWithLineStartMessage(line) || line.find(kNoticeInterval) != std::string_view::npos;
}

LogLineFilter::LogLineFilter(ByteSource& source, std::string header_before_first_line)
    : source_(source),
      buffer_(kPadding + kMaxLineBytes + kBlockBytes + kPadding, '\0'),
      data_end_(kPadding),
      previous_line_(std::move(header_before_first_line)) {
  // The data always begins at a line start; a sentinel line end before it
  // lets the byte tests see that.
  buffer_[kPadding - 1] = kLf;
}

LogLineFilter::End LogLineFilter::Run(const Visitor& visit) {
  for (;;) {
    bool at_end = false;
    const std::size_t new_data = data_end_;
    const bool read_ok = ReadBlock(&at_end);
    // A failed read ends the log where it stands: what was read still counts.
    at_end = at_end || !read_ok;
    const std::size_t region_end = at_end ? data_end_ : CompleteRegionEnd(new_data);
    drop_leading_lf_ = !at_end && region_end == data_end_ && region_end > kPadding &&
                       buffer_[region_end - 1] == kCr;
    if (!VisitCandidates(region_end, visit)) return End::Stopped;
    KeepLastLineOf(region_end);
    if (at_end) return read_ok ? End::LogEnd : End::ReadError;
    CarryTail(region_end);
  }
}

bool LogLineFilter::ReadBlock(bool* at_end) {
  char* fresh = buffer_.data() + data_end_;
  const std::ptrdiff_t read = source_.Read(fresh, kBlockBytes);
  if (read < 0) return false;
  if (read == 0) {
    *at_end = true;
    return true;
  }
  std::size_t count = static_cast<std::size_t>(read);
  // A CR LF split between two blocks: the CR already ended its line.
  if (drop_leading_lf_ && fresh[0] == kLf) std::memmove(fresh, fresh + 1, --count);
  drop_leading_lf_ = false;
  if (skipping_rest_of_line_) {
    const char* line_end = std::find_if(fresh, fresh + count, IsLineEnd);
    const std::size_t skipped = static_cast<std::size_t>(line_end - fresh);
    skipping_rest_of_line_ = skipped == count;
    std::memmove(fresh, line_end, count - skipped);
    count -= skipped;
  }
  data_end_ += count;
  return true;
}

// The end of the last complete line; the carried tail before new_data holds
// no line end, so only the new data is searched.
std::size_t LogLineFilter::CompleteRegionEnd(std::size_t new_data) const {
  for (std::size_t i = data_end_; i > new_data; --i) {
    if (IsLineEnd(buffer_[i - 1])) return i;
  }
  return kPadding;
}

bool LogLineFilter::VisitCandidates(std::size_t region_end, const Visitor& visit) {
  const char* b = buffer_.data();
  std::size_t pos = kPadding;
  while ((pos = FindCandidate(b, pos, region_end)) < region_end) {
    const std::string_view rest(b + pos, region_end - pos);
    std::size_t begin = pos;
    if (!(IsLineEnd(b[pos - 1]) && StartsWithLineStartMessage(rest))) {
      if (!rest.starts_with(kNoticeInterval)) {
        ++pos;
        continue;
      }
      begin = LineBegin(pos);
    }
    const std::size_t end = LineEnd(pos, region_end);
    if (!visit(HeaderOf(begin), Capped(begin, end))) return false;
    pos = end;
  }
  return true;
}

std::string_view LogLineFilter::HeaderOf(std::size_t line_begin) const {
  if (line_begin == kPadding) return previous_line_;
  std::size_t header_end = line_begin - 1;
  if (buffer_[header_end] == kLf && header_end > kPadding && buffer_[header_end - 1] == kCr) --header_end;
  return Capped(LineBegin(header_end), header_end);
}

void LogLineFilter::KeepLastLineOf(std::size_t region_end) {
  if (region_end == kPadding) return;
  std::size_t end = region_end;
  if (IsLineEnd(buffer_[end - 1])) {
    --end;
    if (buffer_[end] == kLf && end > kPadding && buffer_[end - 1] == kCr) --end;
  }
  previous_line_.assign(Capped(LineBegin(end), end));
  last_line_ = previous_line_;
}

void LogLineFilter::CarryTail(std::size_t region_end) {
  const std::size_t tail = data_end_ - region_end;
  // A line longer than we keep: its first part stays, the rest is skipped.
  const std::size_t kept = std::min(tail, kMaxLineBytes);
  skipping_rest_of_line_ = skipping_rest_of_line_ || tail > kMaxLineBytes;
  std::memmove(buffer_.data() + kPadding, buffer_.data() + region_end, kept);
  data_end_ = kPadding + kept;
}

std::size_t LogLineFilter::LineBegin(std::size_t pos) const {
  while (pos > kPadding && !IsLineEnd(buffer_[pos - 1])) --pos;
  return pos;
}

std::size_t LogLineFilter::LineEnd(std::size_t pos, std::size_t region_end) const {
  const char* b = buffer_.data();
  return static_cast<std::size_t>(std::find_if(b + pos, b + region_end, IsLineEnd) - b);
}

std::string_view LogLineFilter::Capped(std::size_t begin, std::size_t end) const {
  return {buffer_.data() + begin, std::min(end - begin, kMaxLineBytes)};
}

}  // namespace kelvary
