// Built with AVX2 enabled; only called when the processor has it.
#include <immintrin.h>

#include "status/candidate_scan.h"

namespace kelvary::candidate_bytes {
namespace {

struct Masks32 {
  std::uint32_t line_ends, letters, letter_a, brackets;
};

Masks32 Masks32At(const char* at) {
  const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  const __m256i a = _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(kLetterA));
  const __m256i letters = _mm256_or_si256(
      a, _mm256_or_si256(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(kLetterB)),
                         _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(kLetterC))));
  const __m256i ends = _mm256_or_si256(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(kLf)),
                                       _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(kCr)));
  const __m256i brackets = _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('['));
  auto bits = [](__m256i v) { return static_cast<std::uint32_t>(_mm256_movemask_epi8(v)); };
  return {bits(ends), bits(letters), bits(a), bits(brackets)};
}

ChunkMasks MasksAvx2(const char* chunk) {
  const Masks32 low = Masks32At(chunk);
  const Masks32 high = Masks32At(chunk + 32);
  auto join = [](std::uint32_t lo, std::uint32_t hi) { return std::uint64_t{lo} | std::uint64_t{hi} << 32; };
  return {join(low.line_ends, high.line_ends), join(low.letters, high.letters), join(low.letter_a, high.letter_a),
          join(low.brackets, high.brackets)};
}

}  // namespace

std::size_t SearchAvx2Chunks(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                             std::size_t capacity, std::size_t* stopped_at) {
  return SearchChunks<MasksAvx2>(b, from, end, positions, capacity, stopped_at);
}

}  // namespace kelvary::candidate_bytes
