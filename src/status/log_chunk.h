#pragma once
// One stretch of a log, read at its own offset and searched on its own, so
// that several can be searched at once. A chunk finds the candidate lines
// among the lines that lie wholly inside it; the line it begins in the
// middle of and the line it ends in the middle of are pieced together by
// whoever takes the chunks in order.
//
// Lines end at CR LF, a lone LF or a lone CR; a last line without an ending
// is still a line. Only the first max_line_bytes of a line are kept.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "status/byte_source.h"
#include "status/candidate_scan.h"
#include "status/line_facts.h"

namespace kelvary {

inline constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

struct ChunkShape {
  // Small enough to stay in a core's cache. Lines are cut to max_line_bytes
  // wherever they stand, inside a chunk or across chunks.
  std::size_t chunk_bytes = std::size_t{256} << 10;
  std::size_t max_line_bytes = kMaxLineBytes;
};

class LogChunk {
 public:
  struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
  };
  struct Candidate {
    std::optional<Span> header;  // nothing: the line before the chunk's first whole line
    Span line;
    LineFacts facts;  // with no header stamp when the header lies before the chunk
  };

  // Reads chunk `index` (bytes index * chunk_bytes on) and finds its
  // candidates. Safe to call for different chunks on different threads.
  void Read(ByteSource& source, std::uint64_t index, const ChunkShape& shape);
  // Marks the chunk unreadable (its reading failed outright): the log ends
  // before it.
  void Fail();

  std::string_view Text(Span span) const { return {buffer_.get() + span.begin, span.end - span.begin}; }

  // The chunk begins inside a line that began in an earlier one.
  bool continues_line() const { return continues_line_; }
  // That line's bytes in this chunk, up to its end or the chunk's.
  Span head() const { return head_; }
  // The head holds that line's end.
  bool head_ends_line() const { return head_ends_line_; }
  const std::vector<Candidate>& candidates() const { return candidates_; }
  // The last whole line, and the last whole line that begins with '[' among
  // the last few, if any.
  const std::optional<Span>& last_line() const { return last_line_; }
  const std::optional<Span>& last_bracket_line() const { return last_bracket_line_; }
  // A line begun in this chunk that runs past its end.
  Span tail() const { return tail_; }
  // Nothing of the log lies beyond this chunk: it was short, or a read failed.
  bool log_ends() const { return log_ends_; }
  bool read_failed() const { return read_failed_; }

 private:
  void Clear();
  std::size_t ReadBytes(ByteSource& source, std::uint64_t offset, std::size_t at, std::size_t wanted);
  void FindLines(std::size_t data_end);
  void FindCandidates(std::size_t from, std::size_t to);
  struct FoundLine {
    Span span;
    LineStart start;
    bool holds_interval;
  };
  std::optional<FoundLine> CandidateAt(std::size_t at, std::size_t to) const;
  void NoteInterval(Candidate& candidate, std::size_t at) const;
  std::optional<Span> HeaderOf(std::size_t line_begin) const;
  void FindLastLines(std::size_t from, std::size_t to);
  Span Capped(std::size_t begin, std::size_t end) const;

  ChunkShape shape_;
  std::unique_ptr<char[]> buffer_;  // padding, the byte before the chunk, the chunk, padding
  std::size_t room_ = 0;
  std::size_t lines_begin_ = 0;  // the first whole line's start
  bool continues_line_ = false;
  Span head_;
  bool head_ends_line_ = false;
  std::vector<Candidate> candidates_;
  std::optional<Span> last_line_;
  std::optional<Span> last_bracket_line_;
  Span tail_;
  bool log_ends_ = false;
  bool read_failed_ = false;
};

}  // namespace kelvary
