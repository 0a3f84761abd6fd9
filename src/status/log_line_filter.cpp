#include "status/log_line_filter.h"

#include "status/log_chunk_relay.h"

namespace kelvary {
namespace {

constexpr char kHeaderStart = '[';

}  // namespace

LogLineFilter::LogLineFilter(ByteSource& source, std::string header_before_first_line, const FilterShape& shape)
    : source_(source), shape_(shape), previous_line_(std::move(header_before_first_line)) {}

LogLineFilter::End LogLineFilter::Run(const Visitor& visit) {
  ChunkRelay relay(source_, shape_.chunks, shape_.helpers);
  for (;;) {
    const LogChunk& chunk = relay.Next();
    if (!TakeChunk(chunk, visit)) return End::Stopped;
    if (chunk.log_ends()) {
      if (!FinishCrossingLine(visit)) return End::Stopped;
      return chunk.read_failed() ? End::ReadError : End::LogEnd;
    }
  }
}

std::optional<std::string_view> LogLineFilter::LastLine() const {
  if (!saw_line_) return std::nullopt;
  return previous_line_;
}

bool LogLineFilter::TakeChunk(const LogChunk& chunk, const Visitor& visit) {
  if (chunk.continues_line()) {
    const std::string_view head = chunk.Text(chunk.head());
    const std::size_t room = shape_.chunks.max_line_bytes - crossing_line_.size();
    crossing_line_.append(head.substr(0, room));
    line_crosses_ = true;
    if (chunk.head_ends_line() && !FinishCrossingLine(visit)) return false;
  } else if (!FinishCrossingLine(visit)) {  // the log changed as it was read: the line ended here
    return false;
  }
  for (const LogChunk::Candidate& candidate : chunk.candidates()) {
    if (candidate.header) {
      if (!visit(chunk.Text(*candidate.header), chunk.Text(candidate.line), candidate.facts)) return false;
      continue;
    }
    LineFacts facts = candidate.facts;
    facts.header_stamp = HeaderStampOf(previous_line_);
    if (!visit(previous_line_, chunk.Text(candidate.line), facts)) return false;
  }
  if (const auto& last = chunk.last_line()) {
    previous_line_.assign(chunk.Text(*last));
    saw_line_ = true;
  }
  if (const auto& bracket = chunk.last_bracket_line()) last_bracket_line_.assign(chunk.Text(*bracket));
  const std::string_view tail = chunk.Text(chunk.tail());
  if (!tail.empty()) {
    crossing_line_.assign(tail.substr(0, shape_.chunks.max_line_bytes));
    line_crosses_ = true;
  }
  return true;
}

// The line pieced together from the chunks it crossed is whole: it is
// handed over like any other, and becomes the next line's header.
bool LogLineFilter::FinishCrossingLine(const Visitor& visit) {
  if (!line_crosses_) return true;
  line_crosses_ = false;
  const LineFacts facts = FactsOf(previous_line_, crossing_line_);
  if (MattersToScan(facts) && !visit(previous_line_, crossing_line_, facts)) return false;
  previous_line_.swap(crossing_line_);
  crossing_line_.clear();
  saw_line_ = true;
  if (previous_line_.starts_with(kHeaderStart)) last_bracket_line_ = previous_line_;
  return true;
}

}  // namespace kelvary
