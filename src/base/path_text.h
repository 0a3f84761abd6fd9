#pragma once
// Paths travel through Kelvary as UTF-8 text and meet the file system through
// the wide calls on Windows, so that a folder named in any language (a user
// profile named after its owner, say) works. Texts from the registry, the
// window, the settings file and the command line are in the system code page
// and join a path only through PathFromSystemText. Elsewhere the system's
// text is UTF-8 already and both conversions leave it as it is.
#include <optional>
#include <string>
#include <string_view>

namespace kelvary {

// Text of the system code page as path text.
std::string PathFromSystemText(std::string_view text);

// The path in the system code page, for a library that takes 8-bit paths:
// as it is when the code page holds it, else with its folder's short name
// (which an existing folder may have); nothing when neither form exists.
std::optional<std::string> PathInSystemText(const std::string& path);

}  // namespace kelvary
