// Built with AVX2 enabled; only called when the processor has it.
#include <immintrin.h>

#include <bit>

#include "status/candidate_scan.h"

namespace kelvary::candidate_bytes {

std::size_t SearchAvx2(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                       std::size_t capacity, std::size_t* stopped_at) {
  const __m256i lf = _mm256_set1_epi8(kLf);
  const __m256i cr = _mm256_set1_epi8(kCr);
  const __m256i letter_a = _mm256_set1_epi8(kLetterA);
  const __m256i letter_b = _mm256_set1_epi8(kLetterB);
  const __m256i letter_c = _mm256_set1_epi8(kLetterC);
  const __m256i bracket = _mm256_set1_epi8('[');
  auto load = [b](std::size_t at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + at)); };
  std::size_t count = 0;
  std::size_t i = from;
  for (; i + 32 <= end && count + 32 <= capacity; i += 32) {
    const __m256i cur = load(i);
    const __m256i prev = load(i - 1);
    const __m256i is_a = _mm256_cmpeq_epi8(cur, letter_a);
    const __m256i letter = _mm256_or_si256(
        is_a, _mm256_or_si256(_mm256_cmpeq_epi8(cur, letter_b), _mm256_cmpeq_epi8(cur, letter_c)));
    const __m256i after_end = _mm256_or_si256(_mm256_cmpeq_epi8(prev, lf), _mm256_cmpeq_epi8(prev, cr));
    const __m256i interval = _mm256_and_si256(is_a, _mm256_cmpeq_epi8(load(i + kBracketAt), bracket));
    auto mask = static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_or_si256(_mm256_and_si256(letter, after_end), interval)));
    for (; mask != 0; mask &= mask - 1) {
      positions[count++] = static_cast<std::uint32_t>(i + std::countr_zero(mask));
    }
  }
  if (i + 32 > end) {
    std::size_t rest_stop = i;
    count += SearchSse2(b, i, end, positions + count, capacity - count, &rest_stop);
    i = rest_stop;
  }
  *stopped_at = i;
  return count;
}

}  // namespace kelvary::candidate_bytes
