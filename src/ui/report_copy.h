#pragma once
// The text "Copy Contents of Kelvary ListBox" puts on the clipboard.
#include <string>
#include <vector>

namespace kelvary {

// CR LF, then every line from the first to the last, each followed by CR LF.
std::string ReportClipboardText(const std::vector<std::string>& lines);

}  // namespace kelvary
