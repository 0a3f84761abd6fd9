#include "base/utf8.h"

#include <iterator>

namespace kelvary {
namespace {

constexpr char32_t kLastCharacter = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;

struct SequenceForm {
  unsigned char lead_mask;  // the lead byte's bits that say the length
  unsigned char lead_bits;
  std::size_t length;
  char32_t smallest;  // anything below is an overlong form
};
constexpr SequenceForm kForms[] = {
    {0x80, 0x00, 1, 0x0}, {0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};

constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuationBits = 0x80;
constexpr int kBitsPerContinuation = 6;
constexpr char32_t kContinuationPayload = 0x3F;

}  // namespace

std::optional<char32_t> NextUtf8Character(std::string_view text, std::size_t* at, bool surrogates) {
  const auto lead = static_cast<unsigned char>(text[*at]);
  for (const SequenceForm& form : kForms) {
    if ((lead & form.lead_mask) != form.lead_bits) continue;
    if (text.size() - *at < form.length) return std::nullopt;
    char32_t character = lead & static_cast<unsigned char>(~form.lead_mask);
    for (std::size_t k = 1; k < form.length; ++k) {
      const auto byte = static_cast<unsigned char>(text[*at + k]);
      if ((byte & kContinuationMask) != kContinuationBits) return std::nullopt;
      character = (character << kBitsPerContinuation) | (byte & kContinuationPayload);
    }
    const bool surrogate = character >= kFirstSurrogate && character <= kLastSurrogate;
    if (character < form.smallest || character > kLastCharacter || (surrogate && !surrogates)) {
      return std::nullopt;
    }
    *at += form.length;
    return character;
  }
  return std::nullopt;
}

bool IsUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    if (!NextUtf8Character(text, &at)) return false;
  }
  return true;
}

void AppendUtf8(char32_t character, std::string* text) {
  std::size_t form = 0;
  while (form + 1 < std::size(kForms) && character >= kForms[form + 1].smallest) ++form;
  const std::size_t continuations = kForms[form].length - 1;
  text->push_back(static_cast<char>(kForms[form].lead_bits | (character >> (kBitsPerContinuation * continuations))));
  for (std::size_t k = continuations; k > 0; --k) {
    const char32_t bits = (character >> (kBitsPerContinuation * (k - 1))) & kContinuationPayload;
    text->push_back(static_cast<char>(kContinuationBits | bits));
  }
}

}  // namespace kelvary
