#pragma once
// The running program's own file, in UTF-16: its folder may be named in any
// language.
#include <string>

namespace kelvary {

std::wstring ExecutablePath();

}  // namespace kelvary
