#pragma once
// UTF-8 one character at a time, for the places that must not take UTF-8
// text byte by byte: case-insensitive name matching and UTF-16 files.
#include <optional>
#include <string>
#include <string_view>

namespace kelvary {

// The character that starts at text[*at], moving *at past it; nothing for a
// byte that does not start a well-formed sequence (an overlong form, a stray
// continuation byte, a cut-off sequence, beyond U+10FFFF), with *at left as
// it was. Surrogates (U+D800..U+DFFF) decode when `surrogates` allows them:
// a UTF-16 file may hold one unpaired, and it must come back unchanged.
std::optional<char32_t> NextUtf8Character(std::string_view text, std::size_t* at, bool surrogates = false);

// True when every byte belongs to a well-formed sequence, surrogates excluded.
bool IsUtf8(std::string_view text);

void AppendUtf8(char32_t character, std::string* text);

}  // namespace kelvary
