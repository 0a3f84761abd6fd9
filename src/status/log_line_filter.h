#pragma once
// Streams a log in large blocks and hands over only the lines that can
// matter to the scan, each with the line before it (its header). Everything
// else is skipped a block at a time, without looking at it line by line.
//
// Lines end at CR LF, a lone LF or a lone CR; a last line without an ending
// is still a line. Only the first kMaxLineBytes of a line are kept; the rest
// of it is skipped, so memory stays bounded whatever the log holds.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "status/byte_source.h"
#include "status/candidate_scan.h"

namespace kelvary {

inline constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

class LogLineFilter {
 public:
  enum class End { LogEnd, ReadError, Stopped };
  // Called for each candidate line (one that begins with one of the
  // line-start messages, or holds the notice-interval text); returns false
  // to stop.
  using Visitor = std::function<bool(std::string_view header, std::string_view line)>;

  // `header_before_first_line` is the header of the log's first line.
  LogLineFilter(ByteSource& source, std::string header_before_first_line);

  End Run(const Visitor& visit);

  // After Run: the last line read, if the log held any line.
  const std::optional<std::string>& LastLine() const { return last_line_; }
  // After Run: the last line that begins with "[" (a header), or empty.
  std::string_view LastBracketLine() const { return last_bracket_line_; }

 private:
  void GrowRoom();
  bool ReadBlock(bool* at_end);
  std::size_t CompleteRegionEnd(std::size_t new_data) const;
  bool VisitCandidates(std::size_t region_end, const Visitor& visit);
  std::optional<std::size_t> CandidateLineBegin(std::size_t at, std::size_t region_end) const;
  std::string_view HeaderOf(std::size_t line_begin) const;
  void KeepLastLineOf(std::size_t region_end);
  void KeepLastBracketLineOf(std::size_t region_end);
  void CarryTail(std::size_t region_end);
  std::size_t LineBegin(std::size_t pos) const;
  std::size_t LineEnd(std::size_t pos, std::size_t region_end) const;
  std::string_view Capped(std::size_t begin, std::size_t end) const;

  ByteSource& source_;
  std::unique_ptr<char[]> buffer_;  // padding, room_ bytes, padding
  std::size_t room_;
  std::size_t data_end_;           // the buffer's data runs from kPadding to here
  bool last_read_filled_ = false;  // the last read took all the room offered
  std::string previous_line_;      // the line before the buffer's first line
  bool skipping_rest_of_line_ = false;
  bool drop_leading_lf_ = false;   // the last block ended in a CR
  std::optional<std::string> last_line_;
  std::string last_bracket_line_;
  CandidateSearch search_;
};

}  // namespace kelvary
