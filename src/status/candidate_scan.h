#pragma once
// The byte-level search behind the log filter: positions in a block of log
// text where a line the scanner acts on may begin, found 64 bytes at a time.
// A position passes when it is a line start whose first two letters begin
// one of the line-start messages, or when it holds the first two letters and
// the '[' of the notice-interval text. Two letters, not one, because many
// everyday messages share a first letter with those the scanner wants, and
// each passing position costs a look of its own. Callers verify each position.
#include <bit>
#include <cstddef>
#include <cstdint>

#include "status/log_messages.h"

namespace kelvary {

// Readable bytes the search needs before `from` and after `end`.
inline constexpr std::size_t kCandidateScanBefore = 1;
inline constexpr std::size_t kCandidateScanAfter = 128;

// Writes the passing positions in [from, end) to `positions`, in order, until
// `end` or until fewer than kCandidateBatchRoom places are left; returns their
// count and sets `stopped_at` to where the search stopped.
inline constexpr std::size_t kCandidateBatchRoom = 64;
using CandidateSearch = std::size_t (*)(const char* b, std::size_t from, std::size_t end,
                                        std::uint32_t* positions, std::size_t capacity,
                                        std::size_t* stopped_at);

// The fastest search this processor runs, and all that it can run (for tests).
CandidateSearch BestCandidateSearch();
struct NamedCandidateSearch {
  const char* name;
  CandidateSearch search;
};
std::size_t AvailableCandidateSearches(NamedCandidateSearch* out, std::size_t capacity);

// The first line end (CR or LF) in [from, end), or end.
std::size_t NextLineEnd(const char* b, std::size_t from, std::size_t end);

// The position just after the last line end in [floor, pos), or floor.
// Reads up to 16 bytes before floor.
std::size_t LineStartBefore(const char* b, std::size_t pos, std::size_t floor);

namespace candidate_bytes {

inline constexpr char kLf = '\n';
inline constexpr char kCr = '\r';
// The first two letters of each line-start message, and of the interval text.
struct LetterPair {
  char first;
  char second;
};
inline constexpr LetterPair kPairA = {kCalculationStarted[0], kCalculationStarted[1]};
inline constexpr LetterPair kPairB = {kCalculationFinished[0], kCalculationFinished[1]};
inline constexpr LetterPair kPairC = {kServerStarted[0], kServerStarted[1]};
inline constexpr LetterPair kIntervalPair = {kNoticeInterval[0], kNoticeInterval[1]};
static_assert(kCompletionNotice.substr(0, 2) == kCalculationStarted.substr(0, 2));
inline constexpr unsigned kBracketAt = kNoticeInterval.find('[');
inline constexpr unsigned kChunk = 64;
static_assert(kChunk + kBracketAt <= kCandidateScanAfter);

inline bool IsLineEnd(char c) { return c == kLf || c == kCr; }

inline bool IsPairAt(const char* at, LetterPair pair) { return at[0] == pair.first && at[1] == pair.second; }

// Whether the position `at` passes, byte by byte: the definition that each
// instruction set's search computes many positions at a time.
inline bool Passes(const char* at) {
  const bool message = IsPairAt(at, kPairA) || IsPairAt(at, kPairB) || IsPairAt(at, kPairC);
  return (message && IsLineEnd(at[-1])) || (IsPairAt(at, kIntervalPair) && at[kBracketAt] == '[');
}

// The search over chunks; each instruction set supplies the mask of passing
// positions of a 64-byte chunk (bit k for chunk + k), defined in the same
// file as the search's instantiation so that it is inlined. The mask reads
// the byte before the chunk and up to kBracketAt + 1 bytes after it.
template <std::uint64_t (*PassingMask)(const char*)>
std::size_t SearchChunks(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                         std::size_t capacity, std::size_t* stopped_at) {
  std::size_t count = 0;
  std::size_t i = from;
  for (; i < end && count + kChunk <= capacity; i += kChunk) {
    std::uint64_t found = PassingMask(b + i);
    if (end - i < kChunk) found &= (std::uint64_t{1} << (end - i)) - 1;
    for (; found != 0; found &= found - 1) {
      positions[count++] = static_cast<std::uint32_t>(i + std::countr_zero(found));
    }
  }
  *stopped_at = i < end ? i : end;
  return count;
}

// The searches of each instruction set.
std::size_t SearchPortableChunks(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                                 std::size_t capacity, std::size_t* stopped_at);
std::size_t SearchSse2Chunks(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                             std::size_t capacity, std::size_t* stopped_at);
// Compiled for AVX2 in a file of its own; call only when the processor has it.
std::size_t SearchAvx2Chunks(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                             std::size_t capacity, std::size_t* stopped_at);

}  // namespace candidate_bytes
}  // namespace kelvary
