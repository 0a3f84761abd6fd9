#pragma once
// Text in UTF-16LE brought to 8-bit Windows-1252 text, the system code page
// outside Windows (as SystemCaseMap's is); a character it lacks becomes '?',
// as Windows' own conversion makes it.
#include <string>
#include <string_view>

namespace kelvary {

// `bytes` holds UTF-16LE code units without a byte-order mark; an odd last
// byte is dropped.
std::string Utf16LeToWindows1252(std::string_view bytes);

}  // namespace kelvary
