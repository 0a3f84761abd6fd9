#include "status/log_line_filter.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "status/candidate_scan.h"
#include "status/log_messages.h"

namespace kelvary {
namespace {

using candidate_bytes::IsLineEnd;
using candidate_bytes::kCr;
using candidate_bytes::kLf;

// Room before the data for a sentinel line end, and after it for the
// look-ahead of the byte search.
constexpr std::size_t kPadding = kCandidateScanAfter;
static_assert(kPadding >= kCandidateScanBefore);
// Big enough to make reads cheap, small enough to stay in the cache.
constexpr std::size_t kBlockBytes = std::size_t{256} << 10;
// Room for the longest kept line and a whole block after it. The buffer
// starts far smaller and grows as the log turns out to need it: most logs
// are small, and a large one reaches full room after a few reads.
constexpr std::size_t kFullRoom = kMaxLineBytes + kBlockBytes;
constexpr std::size_t kFirstRoom = std::size_t{4} << 10;
constexpr std::size_t kRoomGrowth = 4;
constexpr std::size_t kPositionsPerBatch = 256;
// Headers stand every few lines: a block whose last lines hold none is not
// searched further back, and the header kept from earlier blocks stays.
constexpr int kBracketLineLookBack = 64;
constexpr char kHeaderStart = '[';
static_assert(kPositionsPerBatch >= kCandidateBatchRoom);

constexpr std::string_view kLineStartMessages[] = {kCalculationStarted, kCompletionNotice,
                                                    kCalculationFinished, kServerStarted};

// The first four bytes of a text, as one number: most passing positions are
// turned down by comparing these alone.
using Head = std::uint32_t;
Head HeadOf(const char* text) {
  Head head;
  std::memcpy(&head, text, sizeof head);
  return head;
}

bool HasCandidateHead(const char* text) {
  static const Head heads[] = {HeadOf(kCalculationStarted.data()), HeadOf(kCalculationFinished.data()),
                               HeadOf(kServerStarted.data()), HeadOf(kNoticeInterval.data())};
  static_assert(kCompletionNotice.substr(0, 4) == kCalculationStarted.substr(0, 4));
  const Head head = HeadOf(text);
  return head == heads[0] || head == heads[1] || head == heads[2] || head == heads[3];
}

// "Calculating in parallel ..." starts no calculation and is as common as
// the lines that do; it matters only if it holds the interval text, which
// brings it back through its own position.
bool StartsWithLineStartMessage(std::string_view text) {
  if (text.starts_with(kCalculationStartedExcept)) return false;
  for (std::string_view message : kLineStartMessages) {
    if (text.front() == message.front() && text.starts_with(message)) return true;
  }
  return false;
}

}  // namespace

LogLineFilter::LogLineFilter(ByteSource& source, std::string header_before_first_line)
    : source_(source),
      buffer_(std::make_unique_for_overwrite<char[]>(kPadding + kFirstRoom + kPadding)),
      room_(kFirstRoom),
      data_end_(kPadding),
      previous_line_(std::move(header_before_first_line)),
      search_(BestCandidateSearch()) {
  // The data always begins at a line start; a sentinel line end before it
  // lets the byte tests see that.
  std::memset(buffer_.get(), 0, kPadding - 1);
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
    KeepLastBracketLineOf(region_end);
    if (at_end) return read_ok ? End::LogEnd : End::ReadError;
    CarryTail(region_end);
  }
}

void LogLineFilter::GrowRoom() {
  room_ = std::min(kFullRoom, room_ * kRoomGrowth);
  auto grown = std::make_unique_for_overwrite<char[]>(kPadding + room_ + kPadding);
  std::memcpy(grown.get(), buffer_.get(), data_end_ + kPadding);
  buffer_ = std::move(grown);
}

bool LogLineFilter::ReadBlock(bool* at_end) {
  std::size_t free = kPadding + room_ - data_end_;
  if (room_ < kFullRoom && (free == 0 || (last_read_filled_ && free < kBlockBytes))) {
    GrowRoom();
    free = kPadding + room_ - data_end_;
  }
  const std::size_t wanted = std::min(free, kBlockBytes);
  char* fresh = buffer_.get() + data_end_;
  const std::ptrdiff_t read = source_.Read(fresh, wanted);
  if (read < 0) return false;
  last_read_filled_ = static_cast<std::size_t>(read) == wanted;
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
  // The search looks a little past the data; let it see zeros there.
  std::memset(buffer_.get() + data_end_, 0, kPadding);
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
  const char* b = buffer_.get();
  std::uint32_t positions[kPositionsPerBatch];
  std::size_t pos = kPadding;     // where the search goes on
  std::size_t resume = kPadding;  // the end of the last line visited
  while (pos < region_end) {
    std::size_t stopped_at = pos;
    const std::size_t found = search_(b, pos, region_end, positions, kPositionsPerBatch, &stopped_at);
    for (std::size_t k = 0; k < found; ++k) {
      const std::size_t at = positions[k];
      if (at < resume) continue;
      const auto begin = CandidateLineBegin(at, region_end);
      if (!begin) continue;
      resume = LineEnd(at, region_end);
      if (!visit(HeaderOf(*begin), Capped(*begin, resume))) return false;
    }
    pos = std::max(stopped_at, resume);
  }
  return true;
}

// Where the candidate line that a passing position belongs to begins, if
// the position really is one.
std::optional<std::size_t> LogLineFilter::CandidateLineBegin(std::size_t at, std::size_t region_end) const {
  if (!HasCandidateHead(buffer_.get() + at)) return std::nullopt;
  const std::string_view rest(buffer_.get() + at, region_end - at);
  if (IsLineEnd(buffer_[at - 1]) && StartsWithLineStartMessage(rest)) return at;
  if (rest.starts_with(kNoticeInterval)) return LineBegin(at);
  return std::nullopt;
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

void LogLineFilter::KeepLastBracketLineOf(std::size_t region_end) {
  std::size_t end = region_end;
  for (int lines = 0; lines < kBracketLineLookBack && end > kPadding; ++lines) {
    if (IsLineEnd(buffer_[end - 1])) --end;
    const std::size_t begin = LineBegin(end);
    if (begin < end && buffer_[begin] == kHeaderStart) {
      last_bracket_line_.assign(Capped(begin, end));
      return;
    }
    end = begin;
  }
}

void LogLineFilter::CarryTail(std::size_t region_end) {
  const std::size_t tail = data_end_ - region_end;
  // A line longer than we keep: its first part stays, the rest is skipped.
  const std::size_t kept = std::min(tail, kMaxLineBytes);
  skipping_rest_of_line_ = skipping_rest_of_line_ || tail > kMaxLineBytes;
  std::memmove(buffer_.get() + kPadding, buffer_.get() + region_end, kept);
  data_end_ = kPadding + kept;
}

std::size_t LogLineFilter::LineBegin(std::size_t pos) const {
  return LineStartBefore(buffer_.get(), pos, kPadding);
}

std::size_t LogLineFilter::LineEnd(std::size_t pos, std::size_t region_end) const {
  return NextLineEnd(buffer_.get(), pos, region_end);
}

std::string_view LogLineFilter::Capped(std::size_t begin, std::size_t end) const {
  return {buffer_.get() + begin, std::min(end - begin, kMaxLineBytes)};
}

}  // namespace kelvary
