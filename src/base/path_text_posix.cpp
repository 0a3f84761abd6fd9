#include "base/path_text.h"

namespace kelvary {

std::string PathFromSystemText(std::string_view text) { return std::string(text); }

std::optional<std::string> PathInSystemText(const std::string& path) { return path; }

}  // namespace kelvary
