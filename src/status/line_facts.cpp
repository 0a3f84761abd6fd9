#include "status/line_facts.h"

#include "status/log_header.h"
#include "status/log_messages.h"

namespace kelvary {

LineStart LineStartOf(std::string_view line) {
  // Most lines differ from every message in their first letter.
  if (line.empty()) return LineStart::None;
  switch (line.front()) {
    case kCalculationStarted.front():
      static_assert(kCompletionNotice.front() == kCalculationStarted.front());
      if (line.starts_with(kCalculationStarted)) {
        return line.starts_with(kCalculationStartedExcept) ? LineStart::None : LineStart::CalculationStarted;
      }
      return line.starts_with(kCompletionNotice) ? LineStart::CompletionNotice : LineStart::None;
    case kCalculationFinished.front():
      return line.starts_with(kCalculationFinished) ? LineStart::CalculationFinished : LineStart::None;
    case kServerStarted.front():
      return line.starts_with(kServerStarted) ? LineStart::ServerStarted : LineStart::None;
    default:
      return LineStart::None;
  }
}

std::optional<LogSeconds> HeaderStampOf(std::string_view header) { return ReadLogStamp(BracketText(header)); }

LineFacts FactsOf(std::string_view header, std::string_view line) {
  return {LineStartOf(line), line.find(kNoticeInterval) != std::string_view::npos, HeaderStampOf(header)};
}

}  // namespace kelvary
