#pragma once
// Eight bytes read as one number, so that a test looks at all of them at
// once: the hot loops over header and log text read a word at a time.
#include <cstdint>

namespace kelvary::byte_words {

using Word = std::uint64_t;
inline constexpr Word kEachByte = 0x0101010101010101;
inline constexpr Word kTopBits = 0x80 * kEachByte;

// The top bit of each byte from `first` to `last`, where every byte of the
// word is below 0x80: adding to such a byte sets its top bit exactly when it
// reaches the bound, and carries into no other byte.
constexpr Word BytesWithin(Word word, unsigned char first, unsigned char last) {
  return (word + (0x80 - first) * kEachByte) & ~(word + (0x80 - last - 1) * kEachByte) & kTopBits;
}

// The top bit of each byte that is not zero, whatever the bytes.
constexpr Word NonZeroBytes(Word word) {
  constexpr Word kLowBits = 0x7F * kEachByte;
  return (((word & kLowBits) + kLowBits) | word) & kTopBits;
}

}  // namespace kelvary::byte_words
