#include "status/candidate_scan.h"

#include <algorithm>
#include <bit>

#if defined(__x86_64__) || defined(_M_X64)
#define KELVARY_X86_64 1
#include <emmintrin.h>
#if defined(_MSC_VER)
#include <intrin.h>
#endif
#endif

namespace kelvary {
namespace candidate_bytes {

std::size_t SearchPortable(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                           std::size_t capacity, std::size_t* stopped_at) {
  std::size_t count = 0;
  std::size_t i = from;
  for (; i < end && count < capacity; ++i) {
    if (PassesAt(b, i)) positions[count++] = static_cast<std::uint32_t>(i);
  }
  *stopped_at = i;
  return count;
}

#ifdef KELVARY_X86_64
std::size_t SearchSse2(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                       std::size_t capacity, std::size_t* stopped_at) {
  const __m128i lf = _mm_set1_epi8(kLf);
  const __m128i cr = _mm_set1_epi8(kCr);
  const __m128i letter_a = _mm_set1_epi8(kLetterA);
  const __m128i letter_b = _mm_set1_epi8(kLetterB);
  const __m128i letter_c = _mm_set1_epi8(kLetterC);
  const __m128i bracket = _mm_set1_epi8('[');
  auto load = [b](std::size_t at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at)); };
  std::size_t count = 0;
  std::size_t i = from;
  for (; i + 16 <= end && count + 16 <= capacity; i += 16) {
    const __m128i cur = load(i);
    const __m128i prev = load(i - 1);
    const __m128i is_a = _mm_cmpeq_epi8(cur, letter_a);
    const __m128i letter =
        _mm_or_si128(is_a, _mm_or_si128(_mm_cmpeq_epi8(cur, letter_b), _mm_cmpeq_epi8(cur, letter_c)));
    const __m128i after_end = _mm_or_si128(_mm_cmpeq_epi8(prev, lf), _mm_cmpeq_epi8(prev, cr));
    const __m128i interval = _mm_and_si128(is_a, _mm_cmpeq_epi8(load(i + kBracketAt), bracket));
    unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_and_si128(letter, after_end), interval)));
    for (; mask != 0; mask &= mask - 1) {
      positions[count++] = static_cast<std::uint32_t>(i + std::countr_zero(mask));
    }
  }
  if (i + 16 > end) {
    std::size_t scalar_stop = i;
    count += SearchPortable(b, i, end, positions + count, capacity - count, &scalar_stop);
    i = scalar_stop;
  }
  *stopped_at = i;
  return count;
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

CandidateSearch BestCandidateSearch() {
#ifdef KELVARY_X86_64
  static const CandidateSearch best =
      candidate_bytes::ProcessorHasAvx2() ? candidate_bytes::SearchAvx2 : candidate_bytes::SearchSse2;
  return best;
#else
  return candidate_bytes::SearchPortable;
#endif
}

}  // namespace kelvary
