#pragma once
// regedit's UTF-16LE exports and the UTF-8 text the store holds where there
// is no registry, converted both ways without losing a character: an
// unpaired surrogate, which UTF-16 files may hold, becomes its three-byte
// form and comes back from it unchanged.
#include <optional>
#include <string>
#include <string_view>

namespace kelvary {

// `bytes` holds UTF-16LE code units without a byte-order mark; nothing when
// they end in half a unit.
std::optional<std::string> Utf16LeToUtf8(std::string_view bytes);

// Nothing when `text` is not UTF-8 (surrogates allowed), which UTF-16 could
// not carry unchanged.
std::optional<std::string> Utf8ToUtf16Le(std::string_view text);

}  // namespace kelvary
