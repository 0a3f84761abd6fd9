#pragma once
// Text in UTF-16LE, as regedit exports it, brought to the 8-bit ANSI text
// that the store's values are made of. Outside Windows the store's code
// page is Windows-1252 (as SystemCaseMap's is); a character it lacks
// becomes '?', as Windows' own conversion makes it.
#include <string>
#include <string_view>

namespace kelvary {

// `bytes` holds UTF-16LE code units without a byte-order mark; an odd last
// byte is dropped.
std::string Utf16LeToWindows1252(std::string_view bytes);

}  // namespace kelvary
