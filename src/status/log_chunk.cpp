#include "status/log_chunk.h"

#include <algorithm>
#include <cstring>

#include "status/log_header.h"
#include "status/log_messages.h"

namespace kelvary {
namespace {

using candidate_bytes::IsLineEnd;
using candidate_bytes::kCr;
using candidate_bytes::kLf;

// Room before the data for the line-start look-behind, and after it for the
// look-ahead of the byte search.
constexpr std::size_t kPadding = kCandidateScanAfter;
static_assert(kPadding >= kCandidateScanBefore && kPadding >= 16);
constexpr std::size_t kPositionsPerBatch = 256;
static_assert(kPositionsPerBatch >= kCandidateBatchRoom);
// Headers stand every few lines: a chunk whose last lines hold none leaves
// the one kept from earlier chunks.
constexpr int kBracketLineLookBack = 64;
constexpr char kHeaderStart = '[';

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

}  // namespace

void LogChunk::Read(ByteSource& source, std::uint64_t index, const ChunkShape& shape) {
  shape_ = shape;
  const std::size_t room = shape.chunk_bytes + 1;  // the byte before the chunk, and the chunk
  if (room_ < room) {
    buffer_ = std::make_unique_for_overwrite<char[]>(kPadding + room + kPadding);
    room_ = room;
    std::memset(buffer_.get(), 0, kPadding);
  }
  Clear();
  // The first chunk has a line end before it: the log begins with a line.
  const bool first = index == 0;
  std::size_t data_end = kPadding;
  if (first) buffer_[data_end++] = kLf;
  const std::uint64_t offset = first ? 0 : index * shape.chunk_bytes - 1;
  const std::size_t wanted = first ? shape.chunk_bytes : room;
  const std::size_t got = ReadBytes(source, offset, data_end, wanted);
  data_end += got;
  log_ends_ = got < wanted;
  // The search looks a little past the data; let it see zeros there.
  std::memset(buffer_.get() + data_end, 0, kPadding);
  lines_begin_ = data_end;
  if (data_end > kPadding + 1) FindLines(data_end);
}

void LogChunk::Fail() {
  Clear();
  log_ends_ = read_failed_ = true;
}

void LogChunk::Clear() {
  candidates_.clear();
  last_line_.reset();
  last_bracket_line_.reset();
  continues_line_ = head_ends_line_ = read_failed_ = false;
  head_ = tail_ = {};
  lines_begin_ = 0;
}

std::size_t LogChunk::ReadBytes(ByteSource& source, std::uint64_t offset, std::size_t at, std::size_t wanted) {
  char* to = buffer_.get() + at;
  std::size_t got = 0;
  while (got < wanted) {
    const std::ptrdiff_t read = source.ReadAt(offset + got, to + got, wanted - got);
    // A failed read ends the log where it stands: what was read still counts.
    if (read < 0) read_failed_ = true;
    if (read <= 0) break;
    got += static_cast<std::size_t>(read);
  }
  return got;
}

void LogChunk::FindLines(std::size_t data_end) {
  const char* b = buffer_.get();
  const std::size_t begin = kPadding + 1;
  const char before = b[kPadding];
  std::size_t lines_begin = begin;
  if (!IsLineEnd(before)) {
    continues_line_ = true;  // never so for the first chunk, which begins after a line end
    const std::size_t end = NextLineEnd(b, begin, data_end);
    head_ = {begin, end};
    head_ends_line_ = end < data_end;
    if (!head_ends_line_) return;
    lines_begin = end + 1;
    if (b[end] == kCr && lines_begin < data_end && b[lines_begin] == kLf) ++lines_begin;
  } else if (before == kCr && b[begin] == kLf) {
    lines_begin = begin + 1;  // the rest of a CR LF that ended the last chunk's line
  }
  lines_begin_ = lines_begin;
  const std::size_t lines_end = LineStartBefore(b, data_end, lines_begin);
  tail_ = {lines_end, data_end};
  FindCandidates(lines_begin, lines_end);
  FindLastLines(lines_begin, lines_end);
}

void LogChunk::FindCandidates(std::size_t from, std::size_t to) {
  static const CandidateSearch search = BestCandidateSearch();
  std::uint32_t positions[kPositionsPerBatch];
  std::size_t pos = from;     // where the search goes on
  std::size_t resume = from;  // the end of the last candidate line
  // Headers come many to a day: the reader reads a date once for a run of them.
  StampReader stamps;
  while (pos < to) {
    std::size_t stopped_at = pos;
    const std::size_t found = search(buffer_.get(), pos, to, positions, kPositionsPerBatch, &stopped_at);
    for (std::size_t k = 0; k < found; ++k) {
      const std::size_t at = positions[k];
      if (at < resume) {
        NoteInterval(candidates_.back(), at);
        continue;
      }
      const auto line = CandidateAt(at, to);
      if (!line) continue;
      resume = line->span.end;
      const Span kept = Capped(line->span.begin, line->span.end);
      const std::optional<Span> header = HeaderOf(line->span.begin);
      Candidate& candidate = candidates_.emplace_back(Candidate{header, kept, {line->start, line->holds_interval, {}}});
      if (header) candidate.facts.header_stamp = stamps.Read(BracketText(Text(*header)));
      // The search goes on past the line, so it reports none of the line's
      // positions beyond where this batch stopped: those are read here.
      if (stopped_at < kept.end && !candidate.facts.holds_interval) {
        const Span unsearched = {std::max(stopped_at, kept.begin), kept.end};
        candidate.facts.holds_interval = Text(unsearched).find(kNoticeInterval) != std::string_view::npos;
      }
    }
    pos = std::max(stopped_at, resume);
  }
}

// A passing position inside a candidate's line: the line holds the
// interval text if the text stands there whole, within the kept part.
void LogChunk::NoteInterval(Candidate& candidate, std::size_t at) const {
  if (!candidate.facts.holds_interval && at < candidate.line.end) {
    candidate.facts.holds_interval = Text({at, candidate.line.end}).starts_with(kNoticeInterval);
  }
}

// The whole line that a passing position makes a candidate, if it does,
// with what its text says.
std::optional<LogChunk::FoundLine> LogChunk::CandidateAt(std::size_t at, std::size_t to) const {
  const char* b = buffer_.get();
  if (!HasCandidateHead(b + at)) return std::nullopt;
  const std::string_view rest(b + at, to - at);
  // "Calculating in parallel ..." is as common as the lines that start a
  // calculation; it matters only if it holds the interval text, which
  // brings it back through its own position.
  if (IsLineEnd(b[at - 1])) {
    const LineStart start = LineStartOf(rest.substr(0, shape_.max_line_bytes));
    if (start != LineStart::None) return FoundLine{{at, NextLineEnd(b, at, to)}, start, false};
  }
  if (!rest.starts_with(kNoticeInterval)) return std::nullopt;
  const std::size_t begin = LineStartBefore(b, at, lines_begin_);
  // Past the part of the line that is kept, the text does not count.
  if (at - begin + kNoticeInterval.size() > shape_.max_line_bytes) return std::nullopt;
  // Had the line begun with a message, its start would have been taken
  // first, and this position would lie inside a line already found.
  return FoundLine{{begin, NextLineEnd(b, at, to)}, LineStart::None, true};
}

std::optional<LogChunk::Span> LogChunk::HeaderOf(std::size_t line_begin) const {
  if (line_begin == lines_begin_) return std::nullopt;
  const char* b = buffer_.get();
  std::size_t header_end = line_begin - 1;
  if (b[header_end] == kLf && header_end > lines_begin_ && b[header_end - 1] == kCr) --header_end;
  return Capped(LineStartBefore(b, header_end, lines_begin_), header_end);
}

void LogChunk::FindLastLines(std::size_t from, std::size_t to) {
  const char* b = buffer_.get();
  std::size_t end = to;
  for (int lines = 0; lines < kBracketLineLookBack && end > from; ++lines) {
    --end;  // every line here has its ending
    if (b[end] == kLf && end > from && b[end - 1] == kCr) --end;
    const std::size_t begin = LineStartBefore(b, end, from);
    if (lines == 0) last_line_ = Capped(begin, end);
    if (begin < end && b[begin] == kHeaderStart) {
      last_bracket_line_ = Capped(begin, end);
      return;
    }
    end = begin;
  }
}

LogChunk::Span LogChunk::Capped(std::size_t begin, std::size_t end) const {
  return {begin, begin + std::min(end - begin, shape_.max_line_bytes)};
}

}  // namespace kelvary
