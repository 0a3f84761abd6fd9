#pragma once
// Reads a log chunk by chunk and hands over, in order, only the lines that
// can matter to the scan, each with the line before it (its header).
// Everything else is skipped a chunk at a time, without looking at it line
// by line. Lines that cross from one chunk into the next are pieced
// together here.
//
// Lines end at CR LF, a lone LF or a lone CR; a last line without an ending
// is still a line. Only the first max_line_bytes of a line are kept; the
// rest of it is skipped, so memory stays bounded whatever the log holds.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "status/byte_source.h"
#include "status/log_chunk.h"

namespace kelvary {

struct FilterShape {
  ChunkShape chunks;
  // Threads that read and search ahead of the caller, where there are cores
  // to run them.
  unsigned helpers = 1;
};

class LogLineFilter {
 public:
  enum class End { LogEnd, ReadError, Stopped };
  // Called for each candidate line (one that begins with one of the
  // line-start messages, or holds the notice-interval text) with what its
  // text says; returns false to stop.
  using Visitor = std::function<bool(std::string_view header, std::string_view line, LineFacts facts)>;

  // `header_before_first_line` is the header of the log's first line.
  LogLineFilter(ByteSource& source, std::string header_before_first_line, const FilterShape& shape = {});

  End Run(const Visitor& visit);

  // After Run: the last line read, if the log held any line.
  std::optional<std::string_view> LastLine() const;
  // After Run: the last line that begins with "[" (a header), or empty.
  std::string_view LastBracketLine() const { return last_bracket_line_; }

 private:
  bool TakeChunk(const LogChunk& chunk, const Visitor& visit);
  bool FinishCrossingLine(const Visitor& visit);

  ByteSource& source_;
  FilterShape shape_;
  std::string previous_line_;  // the last whole line handed over or passed
  bool saw_line_ = false;
  // The start of a line that crosses into the next chunk, as far as kept.
  std::string crossing_line_;
  bool line_crosses_ = false;
  std::string last_bracket_line_;
};

}  // namespace kelvary
