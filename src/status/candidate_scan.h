#pragma once
// The byte-level search behind the log filter: positions in a block of log
// text where a line the scanner acts on may begin, found 64 bytes at a time.
// A position passes when it is a line start whose first letter begins one of
// the line-start messages, or when it holds the first letter and the '[' of
// the notice-interval text. Callers verify each position.
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
inline constexpr char kLetterA = kCalculationStarted[0];
inline constexpr char kLetterB = kCalculationFinished[0];
inline constexpr char kLetterC = kServerStarted[0];
static_assert(kCompletionNotice[0] == kLetterA && kNoticeInterval[0] == kLetterA);
inline constexpr unsigned kBracketAt = kNoticeInterval.find('[');
inline constexpr unsigned kChunk = 64;
static_assert(kBracketAt < kChunk && 2 * kChunk <= kCandidateScanAfter);

inline bool IsLineEnd(char c) { return c == kLf || c == kCr; }

// One bit per byte of a 64-byte chunk, for each kind of byte the search needs.
struct ChunkMasks {
  std::uint64_t line_ends;  // CR or LF
  std::uint64_t letters;    // a first letter of a line-start message
  std::uint64_t letter_a;   // the first letter of the interval text
  std::uint64_t brackets;   // '['
};

// The search over chunks; each instruction set supplies its masks, defined
// in the same file as the search's instantiation so that they are inlined. Bits are
// combined in plain integers: a line start is the bit after a line end, the
// interval's '[' stands kBracketAt bits after its first letter.
template <ChunkMasks (*Masks)(const char*)>
std::size_t SearchChunks(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                         std::size_t capacity, std::size_t* stopped_at) {
  std::size_t count = 0;
  std::size_t i = from;
  std::uint64_t end_before = IsLineEnd(b[from - 1]) ? 1 : 0;
  ChunkMasks cur = Masks(b + i);
  while (i < end && count + kChunk <= capacity) {
    const ChunkMasks next = Masks(b + i + kChunk);
    const std::uint64_t starts = (cur.line_ends << 1) | end_before;
    const std::uint64_t bracket_after = (cur.brackets >> kBracketAt) | (next.brackets << (kChunk - kBracketAt));
    std::uint64_t found = (cur.letters & starts) | (cur.letter_a & bracket_after);
    if (end - i < kChunk) found &= (std::uint64_t{1} << (end - i)) - 1;
    for (; found != 0; found &= found - 1) {
      positions[count++] = static_cast<std::uint32_t>(i + std::countr_zero(found));
    }
    end_before = cur.line_ends >> (kChunk - 1);
    i += kChunk;
    cur = next;
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
