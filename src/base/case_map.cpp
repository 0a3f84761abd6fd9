#include "base/case_map.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/byte_words.h"
#include "base/utf8.h"

namespace kelvary {
namespace {

constexpr unsigned char kWindows1252Pairs[][2] = {
    {0x8A, 0x9A},  // S with caron
    {0x8C, 0x9C},  // ligature OE
    {0x8E, 0x9E},  // Z with caron
    {0x9F, 0xFF},  // Y with diaeresis
};
constexpr unsigned char kAccentedUpperFirst = 0xC0;  // the block of accented capitals
constexpr unsigned char kAccentedUpperLast = 0xDE;
constexpr unsigned char kMultiplicationSign = 0xD7;  // sits in that block, has no case
constexpr unsigned char kAccentedCaseDistance = 0x20;

// Letters outside ASCII whose case UTF-8 text changes: `count` pairs, the
// k-th being capital + k * step and small + k * step. Every one of them
// takes two bytes in UTF-8, capital and small alike, so a text keeps its length.
struct LetterRange {
  char32_t capital;
  char32_t small;
  char32_t count;
  char32_t step;
};
constexpr LetterRange kUtf8Letters[] = {
    {0x00C0, 0x00E0, 23, 1},  // A grave .. O diaeresis
    {0x00D8, 0x00F8, 7, 1},   // O stroke .. thorn
    {0x0178, 0x00FF, 1, 1},   // Y diaeresis
    {0x0100, 0x0101, 24, 2},  // Latin Extended-A, in pairs
    {0x0132, 0x0133, 3, 2},
    {0x0139, 0x013A, 8, 2},
    {0x014A, 0x014B, 23, 2},
    {0x0179, 0x017A, 3, 2},
    {0x0386, 0x03AC, 1, 1},   // Greek with tonos
    {0x0388, 0x03AD, 3, 1},
    {0x038C, 0x03CC, 1, 1},
    {0x038E, 0x03CD, 2, 1},
    {0x0391, 0x03B1, 17, 1},  // Greek alpha .. rho
    {0x03A3, 0x03C3, 9, 1},   // sigma .. upsilon dialytika
    {0x0400, 0x0450, 16, 1},  // Cyrillic
    {0x0410, 0x0430, 32, 1},
};
constexpr char32_t kFirstCasedLetter = 0x00C0;  // below it only ASCII letters, which the tables map

char32_t ChangeCase(char32_t letter, bool to_upper) {
  if (letter < kFirstCasedLetter) return letter;
  for (const LetterRange& range : kUtf8Letters) {
    const char32_t from = to_upper ? range.small : range.capital;
    const char32_t to = to_upper ? range.capital : range.small;
    if (letter >= from && (letter - from) % range.step == 0 && (letter - from) / range.step < range.count) {
      return to + (letter - from);
    }
  }
  return letter;
}

CaseMap::Table Identity() {
  CaseMap::Table table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  return table;
}

// ASCII letters alone.
void PairAsciiLetters(CaseMap::Table& upper, CaseMap::Table& lower) {
  for (unsigned char c = 'A'; c <= 'Z'; ++c) {
    const auto small = static_cast<unsigned char>(c + ('a' - 'A'));
    upper[small] = c;
    lower[c] = small;
  }
}

CaseMap MakeUtf8() {
  CaseMap::Table upper = Identity();
  CaseMap::Table lower = Identity();
  PairAsciiLetters(upper, lower);
  return CaseMap(upper, lower, true);
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Well-formed UTF-8 only; bytes of other text are left to the ASCII table,
// and so is text without a byte above ASCII (most names), which needs no decoding.
void MapUtf8Letters(std::string& text, bool to_upper) {
  if (IsAscii(text) || !IsUtf8(text)) return;
  std::string mapped;
  mapped.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    AppendUtf8(ChangeCase(*NextUtf8Character(text, &at), to_upper), &mapped);
  }
  text = std::move(mapped);
}

CaseMap MakeWindows1252() {
  CaseMap::Table upper = Identity();
  CaseMap::Table lower = Identity();
  auto pair = [&](unsigned char capital, unsigned char small) {
    upper[small] = capital;
    lower[capital] = small;
  };
  PairAsciiLetters(upper, lower);
  for (int c = kAccentedUpperFirst; c <= kAccentedUpperLast; ++c) {
    if (c != kMultiplicationSign) {
      pair(static_cast<unsigned char>(c), static_cast<unsigned char>(c + kAccentedCaseDistance));
    }
  }
  for (const auto& p : kWindows1252Pairs) pair(p[0], p[1]);
  return CaseMap(upper, lower);
}

bool MapsAsciiAsUsual(const CaseMap::Table& upper, const CaseMap::Table& lower) {
  CaseMap::Table usual_upper = Identity();
  CaseMap::Table usual_lower = Identity();
  PairAsciiLetters(usual_upper, usual_lower);
  constexpr std::size_t kAscii = 0x80;
  return std::equal(upper.begin(), upper.begin() + kAscii, usual_upper.begin()) &&
         std::equal(lower.begin(), lower.begin() + kAscii, usual_lower.begin());
}

bool UppersIntoAscii(const CaseMap::Table& upper) {
  return std::any_of(upper.begin() + 0x80, upper.end(), [](unsigned char c) { return c < 0x80; });
}

// Eight bytes at once: every byte of `word` is below 0x80, and those from
// `first` to `last` gain or lose the case bit 0x20.
using byte_words::kTopBits;
using byte_words::Word;
Word FlipCaseOfRange(Word word, char first, char last) {
  return word ^ (byte_words::BytesWithin(word, static_cast<unsigned char>(first), static_cast<unsigned char>(last)) >> 2);
}

// Maps `size` bytes from `in` to `out`, which may be the same place.
void MapBytes(const char* in, char* out, std::size_t size, const CaseMap::Table& table, bool ascii_as_usual,
              char first, char last) {
  std::size_t at = 0;
  if (ascii_as_usual) {
    for (; at + sizeof(Word) <= size; at += sizeof(Word)) {
      Word word;
      std::memcpy(&word, in + at, sizeof word);
      if (word & kTopBits) break;
      word = FlipCaseOfRange(word, first, last);
      std::memcpy(out + at, &word, sizeof word);
    }
  }
  for (; at < size; ++at) out[at] = static_cast<char>(table[static_cast<unsigned char>(in[at])]);
}

void MapInPlace(std::string& text, const CaseMap::Table& table, bool ascii_as_usual, char first, char last) {
  MapBytes(text.data(), text.data(), text.size(), table, ascii_as_usual, first, last);
}

}  // namespace

CaseMap::CaseMap(const Table& upper, const Table& lower, bool utf8)
    : upper_(upper),
      lower_(lower),
      utf8_(utf8),
      ascii_as_usual_(MapsAsciiAsUsual(upper, lower)),
      ascii_alone_(ascii_as_usual_ && !UppersIntoAscii(upper)) {}

const CaseMap& CaseMap::Windows1252() {
  static const CaseMap map = MakeWindows1252();
  return map;
}

const CaseMap& CaseMap::Utf8() {
  static const CaseMap map = MakeUtf8();
  return map;
}

void CaseMap::UpperInPlace(std::string& text) const {
  if (utf8_) MapUtf8Letters(text, true);
  MapInPlace(text, upper_, ascii_as_usual_, 'a', 'z');
}

void CaseMap::LowerInPlace(std::string& text) const {
  if (utf8_) MapUtf8Letters(text, false);
  MapInPlace(text, lower_, ascii_as_usual_, 'A', 'Z');
}

void CaseMap::AssignUpper(std::string& out, std::string_view text) const {
  if (text.data() == out.data()) return UpperInPlace(out);
  out.resize(text.size());
  MapBytes(text.data(), out.data(), text.size(), upper_, ascii_as_usual_, 'a', 'z');
  // The table leaves letters beyond ASCII alone in UTF-8, so the order does not matter.
  if (utf8_) MapUtf8Letters(out, true);
}

bool CaseMap::UppersByteByByte(std::string_view text) const { return !utf8_ || IsAscii(text); }

std::string CaseMap::Upper(std::string_view text) const {
  std::string result(text);
  UpperInPlace(result);
  return result;
}

std::string CaseMap::Lower(std::string_view text) const {
  std::string result(text);
  LowerInPlace(result);
  return result;
}

}  // namespace kelvary
