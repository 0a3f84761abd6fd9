#include "servers/utf16_text.h"

#include "base/utf8.h"

namespace kelvary {

namespace {

constexpr char32_t kFirstHighSurrogate = 0xD800;
constexpr char32_t kFirstLowSurrogate = 0xDC00;
constexpr char32_t kLastLowSurrogate = 0xDFFF;
constexpr char32_t kFirstBeyondUnit = 0x10000;  // needs a surrogate pair
constexpr int kSurrogateBits = 10;
constexpr char32_t kSurrogatePayload = 0x3FF;
constexpr std::size_t kUnitSize = 2;
constexpr int kBitsPerByte = 8;
constexpr char32_t kByteMask = 0xFF;

char32_t UnitAt(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) | (static_cast<char32_t>(static_cast<unsigned char>(bytes[at + 1])) << kBitsPerByte);
}

bool IsHighSurrogate(char32_t unit) { return unit >= kFirstHighSurrogate && unit < kFirstLowSurrogate; }
bool IsLowSurrogate(char32_t unit) { return unit >= kFirstLowSurrogate && unit <= kLastLowSurrogate; }

void AppendUnit(char32_t unit, std::string* bytes) {
  bytes->push_back(static_cast<char>(unit & kByteMask));
  bytes->push_back(static_cast<char>((unit >> kBitsPerByte) & kByteMask));
}

}  // namespace

std::optional<std::string> Utf16LeToUtf8(std::string_view bytes) {
  if (bytes.size() % kUnitSize != 0) {
    return std::nullopt;
  }
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size(); at += kUnitSize) {
    char32_t character = UnitAt(bytes, at);
    if (IsHighSurrogate(character) && at + 2 * kUnitSize <= bytes.size() &&
        IsLowSurrogate(UnitAt(bytes, at + kUnitSize))) {
      const char32_t low = UnitAt(bytes, at + kUnitSize);
      character = kFirstBeyondUnit + (((character - kFirstHighSurrogate) << kSurrogateBits) | (low - kFirstLowSurrogate));
      at += kUnitSize;
    }
    AppendUtf8(character, &text);
  }
  return text;
}

std::optional<std::string> Utf8ToUtf16Le(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * kUnitSize);
  for (std::size_t at = 0; at < text.size();) {
    const std::optional<char32_t> character = NextUtf8Character(text, &at, true);
    if (!character) {
      return std::nullopt;
    }
    if (*character < kFirstBeyondUnit) {
      AppendUnit(*character, &bytes);
      continue;
    }
    const char32_t beyond = *character - kFirstBeyondUnit;
    AppendUnit(kFirstHighSurrogate + (beyond >> kSurrogateBits), &bytes);
    AppendUnit(kFirstLowSurrogate + (beyond & kSurrogatePayload), &bytes);
  }
  return bytes;
}

}  // namespace kelvary
