#include "status/candidate_scan.h"

#include <algorithm>

#if defined(__x86_64__) || defined(_M_X64)
#define KELVARY_X86_64 1
#include <emmintrin.h>
#if defined(_MSC_VER)
#include <intrin.h>
#endif
#endif

namespace kelvary {
namespace candidate_bytes {
namespace {

std::uint64_t PassingPortable(const char* chunk) {
  std::uint64_t mask = 0;
  for (unsigned k = 0; k < kChunk; ++k) {
    if (Passes(chunk + k)) mask |= std::uint64_t{1} << k;
  }
  return mask;
}

#ifdef KELVARY_X86_64
__m128i Load16(const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

__m128i PairAt(__m128i first, __m128i second, LetterPair pair) {
  return _mm_and_si128(_mm_cmpeq_epi8(first, _mm_set1_epi8(pair.first)),
                       _mm_cmpeq_epi8(second, _mm_set1_epi8(pair.second)));
}

unsigned Passing16(const char* at) {
  const __m128i before = Load16(at - 1);
  const __m128i bytes = Load16(at);
  const __m128i next = Load16(at + 1);
  const __m128i starts = _mm_or_si128(_mm_cmpeq_epi8(before, _mm_set1_epi8(kLf)),
                                      _mm_cmpeq_epi8(before, _mm_set1_epi8(kCr)));
  const __m128i messages = _mm_or_si128(PairAt(bytes, next, kPairA),
                                        _mm_or_si128(PairAt(bytes, next, kPairB), PairAt(bytes, next, kPairC)));
  const __m128i interval = _mm_and_si128(PairAt(bytes, next, kIntervalPair),
                                         _mm_cmpeq_epi8(Load16(at + kBracketAt), _mm_set1_epi8('[')));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_and_si128(messages, starts), interval)));
}

bool ProcessorHasAvx2() {
#if defined(_MSC_VER)
  int info[4];
  __cpuid(info, 0);
  if (info[0] < 7) return false;
  __cpuid(info, 1);
  const bool os_saves_ymm = (info[2] & (1 << 27)) != 0 && (_xgetbv(0) & 0x6) == 0x6;
  __cpuidex(info, 7, 0);
  return os_saves_ymm && (info[1] & (1 << 5)) != 0;
#else
  return __builtin_cpu_supports("avx2");
#endif
}

std::uint64_t PassingSse2(const char* chunk) {
  std::uint64_t mask = 0;
  for (unsigned part = 0; part < kChunk / 16; ++part) {
    mask |= std::uint64_t{Passing16(chunk + 16 * part)} << (16 * part);
  }
  return mask;
}
#endif

}  // namespace

std::size_t SearchPortableChunks(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                                 std::size_t capacity, std::size_t* stopped_at) {
  return SearchChunks<PassingPortable>(b, from, end, positions, capacity, stopped_at);
}

#ifdef KELVARY_X86_64
std::size_t SearchSse2Chunks(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                             std::size_t capacity, std::size_t* stopped_at) {
  return SearchChunks<PassingSse2>(b, from, end, positions, capacity, stopped_at);
}
#endif

}  // namespace candidate_bytes

#ifdef KELVARY_X86_64
namespace {

unsigned LineEndMask(const char* at) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(candidate_bytes::kLf)),
                                    _mm_cmpeq_epi8(bytes, _mm_set1_epi8(candidate_bytes::kCr)));
  return static_cast<unsigned>(_mm_movemask_epi8(ends));
}

}  // namespace

std::size_t NextLineEnd(const char* b, std::size_t from, std::size_t end) {
  for (std::size_t i = from; i < end; i += 16) {
    if (const unsigned mask = LineEndMask(b + i); mask != 0) {
      return std::min(end, i + static_cast<std::size_t>(std::countr_zero(mask)));
    }
  }
  return end;
}

std::size_t LineStartBefore(const char* b, std::size_t pos, std::size_t floor) {
  for (std::size_t i = pos; i > floor;) {
    const std::size_t window = i - 16;  // may reach below floor: those bytes are readable but not ours
    if (const unsigned mask = LineEndMask(b + window); mask != 0) {
      const std::size_t last = window + static_cast<std::size_t>(std::bit_width(mask)) - 1;
      return last >= floor ? last + 1 : floor;
    }
    i = window;
  }
  return floor;
}
#else
std::size_t NextLineEnd(const char* b, std::size_t from, std::size_t end) {
  while (from < end && !candidate_bytes::IsLineEnd(b[from])) ++from;
  return from;
}

std::size_t LineStartBefore(const char* b, std::size_t pos, std::size_t floor) {
  while (pos > floor && !candidate_bytes::IsLineEnd(b[pos - 1])) --pos;
  return pos;
}
#endif

std::size_t AvailableCandidateSearches(NamedCandidateSearch* out, std::size_t capacity) {
  using namespace candidate_bytes;
  std::size_t count = 0;
  auto add = [&](const char* name, CandidateSearch search) {
    if (count < capacity) out[count++] = {name, search};
  };
  add("portable", SearchPortableChunks);
#ifdef KELVARY_X86_64
  add("sse2", SearchSse2Chunks);
  if (ProcessorHasAvx2()) add("avx2", SearchAvx2Chunks);
#endif
  return count;
}

CandidateSearch BestCandidateSearch() {
  static const CandidateSearch best = [] {
    NamedCandidateSearch searches[3];
    const std::size_t count = AvailableCandidateSearches(searches, 3);
    return searches[count - 1].search;
  }();
  return best;
}

}  // namespace kelvary
