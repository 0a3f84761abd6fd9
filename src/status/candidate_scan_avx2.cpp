// Built with AVX2 enabled; only called when the processor has it.
#include <immintrin.h>

#include "status/candidate_scan.h"

namespace kelvary::candidate_bytes {
namespace {

__m256i Load32(const char* at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)); }

__m256i PairAt(__m256i first, __m256i second, LetterPair pair) {
  return _mm256_and_si256(_mm256_cmpeq_epi8(first, _mm256_set1_epi8(pair.first)),
                          _mm256_cmpeq_epi8(second, _mm256_set1_epi8(pair.second)));
}

std::uint32_t Passing32(const char* at) {
  const __m256i before = Load32(at - 1);
  const __m256i bytes = Load32(at);
  const __m256i next = Load32(at + 1);
  const __m256i starts = _mm256_or_si256(_mm256_cmpeq_epi8(before, _mm256_set1_epi8(kLf)),
                                         _mm256_cmpeq_epi8(before, _mm256_set1_epi8(kCr)));
  const __m256i messages = _mm256_or_si256(
      PairAt(bytes, next, kPairA), _mm256_or_si256(PairAt(bytes, next, kPairB), PairAt(bytes, next, kPairC)));
  const __m256i interval = _mm256_and_si256(PairAt(bytes, next, kIntervalPair),
                                            _mm256_cmpeq_epi8(Load32(at + kBracketAt), _mm256_set1_epi8('[')));
  return static_cast<std::uint32_t>(
      _mm256_movemask_epi8(_mm256_or_si256(_mm256_and_si256(messages, starts), interval)));
}

std::uint64_t PassingAvx2(const char* chunk) {
  return std::uint64_t{Passing32(chunk)} | std::uint64_t{Passing32(chunk + 32)} << 32;
}

}  // namespace

std::size_t SearchAvx2Chunks(const char* b, std::size_t from, std::size_t end, std::uint32_t* positions,
                             std::size_t capacity, std::size_t* stopped_at) {
  return SearchChunks<PassingAvx2>(b, from, end, positions, capacity, stopped_at);
}

}  // namespace kelvary::candidate_bytes
