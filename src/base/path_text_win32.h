#pragma once
// Path text (UTF-8) to and from the UTF-16 that the wide Win32 calls take.
#include <string>
#include <string_view>

namespace kelvary {

std::wstring WidePath(std::string_view path);
std::string PathFromWide(std::wstring_view wide);

}  // namespace kelvary
