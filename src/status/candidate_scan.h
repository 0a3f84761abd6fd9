#pragma once
// The byte-level search behind the log filter: positions in a block of log
// text where a line the scanner acts on may begin, found 16 or 32 bytes at a
// time. A position passes when it is a line start whose first letter begins
// one of the line-start messages, or when it holds the first letter and the
// '[' of the notice-interval text. Callers verify each position.
#include <cstddef>
#include <cstdint>

#include "status/log_messages.h"

namespace kelvary {

// Readable bytes the search needs before `from` and after `end`.
inline constexpr std::size_t kCandidateScanBefore = 1;
inline constexpr std::size_t kCandidateScanAfter = 64;

// Writes the passing positions in [from, end) to `positions`, in order, until
// `end` or until fewer than kCandidateBatchRoom places are left; returns their
// count and sets `stopped_at` to where the search stopped.
inline constexpr std::size_t kCandidateBatchRoom = 32;
using CandidateSearch = std::size_t (*)(const char* b, std::size_t from, std::size_t end,
                                        std::uint32_t* positions, std::size_t capacity,
                                        std::size_t* stopped_at);

// The fastest search this processor runs.
CandidateSearch BestCandidateSearch();

// The first line end (CR or LF) in [from, end), or end.
std::size_t NextLineEnd(const char* b, std::size_t from, std::size_t end);

// The position just after the last line end in [floor, pos), or floor.
// Reads up to 16 bytes before floor.
std::size_t LineStartBefore(const char* b, std::size_t pos, std::size_t floor);

namespace candidate_bytes {

inline constexpr char kLf = '\n';
inline constexpr char kCr = '\r';
inline constexpr char kLetterA = kCalculationStarted[0];
inline constexpr char kLetterB = kCalculationFinished[0];
inline constexpr char kLetterC = kServerStarted[0];
static_assert(kCompletionNotice[0] == kLetterA && kNoticeInterval[0] == kLetterA);
inline constexpr std::size_t kBracketAt = kNoticeInterval.find('[');
static_assert(kBracketAt + 32 < kCandidateScanAfter);

inline bool IsLineEnd(char c) { return c == kLf || c == kCr; }

inline bool PassesAt(const char* b, std::size_t i) {
  const char c = b[i];
  const bool letter = c == kLetterA || c == kLetterB || c == kLetterC;
  const bool interval = c == kLetterA && b[i + kBracketAt] == '[';
  return (letter && IsLineEnd(b[i - 1])) || interval;
}

// The scalar search, also used by the vector searches for their last bytes.
std::size_t SearchPortable(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                           std::size_t capacity, std::size_t* stopped_at);
std::size_t SearchSse2(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                       std::size_t capacity, std::size_t* stopped_at);
std::size_t SearchAvx2(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                       std::size_t capacity, std::size_t* stopped_at);

}  // namespace candidate_bytes
}  // namespace kelvary
