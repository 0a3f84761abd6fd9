#include "base/windows1252_text.h"

#include <array>
#include <cstdint>

namespace kelvary {

namespace {

constexpr char kUnmappable = '?';
constexpr char16_t kFirstSpecial = 0x80;  // 0x80..0x9F are not Latin-1 in 1252
constexpr char16_t kLastSpecial = 0x9F;
constexpr char16_t kLastLatin1 = 0xFF;
constexpr char16_t kFirstHighSurrogate = 0xD800;
constexpr char16_t kFirstLowSurrogate = 0xDC00;
constexpr char16_t kLastLowSurrogate = 0xDFFF;
constexpr std::size_t kUnitSize = 2;

// The characters Windows-1252 puts at 0x80..0x9F; the five places it leaves
// empty stand for the same C1 control code, as Windows maps them.
constexpr std::array<char16_t, 32> kSpecials = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ToWindows1252(char16_t unit) {
  for (std::size_t place = 0; place < kSpecials.size(); ++place) {
    if (kSpecials[place] == unit) {
      return static_cast<char>(kFirstSpecial + place);
    }
  }
  const bool latin1 = unit <= kLastLatin1 && (unit < kFirstSpecial || unit > kLastSpecial);
  return latin1 ? static_cast<char>(unit) : kUnmappable;
}

char16_t UnitAt(std::string_view bytes, std::size_t at) {
  const auto low = static_cast<unsigned char>(bytes[at]);
  const auto high = static_cast<unsigned char>(bytes[at + 1]);
  return static_cast<char16_t>(low | (high << 8));
}

bool IsSurrogatePair(char16_t first, char16_t second) {
  return first >= kFirstHighSurrogate && first < kFirstLowSurrogate && second >= kFirstLowSurrogate &&
         second <= kLastLowSurrogate;
}

}  // namespace

std::string Utf16LeToWindows1252(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() / kUnitSize);
  for (std::size_t at = 0; at + kUnitSize <= bytes.size(); at += kUnitSize) {
    const char16_t unit = UnitAt(bytes, at);
    const bool pair = at + 2 * kUnitSize <= bytes.size() && IsSurrogatePair(unit, UnitAt(bytes, at + kUnitSize));
    if (pair) {
      at += kUnitSize;  // one character beyond the code page, one '?'
    }
    text.push_back(pair ? kUnmappable : ToWindows1252(unit));
  }
  return text;
}

}  // namespace kelvary
