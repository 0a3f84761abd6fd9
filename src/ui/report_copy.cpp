#include "ui/report_copy.h"

#include <string_view>

namespace kelvary {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::string ReportClipboardText(const std::vector<std::string>& lines) {
  std::string text(kLineEnd);
  for (const std::string& line : lines) {
    text += line;
    text += kLineEnd;
  }
  return text;
}

}  // namespace kelvary
