#pragma once
// The message texts in an application log that the scanner acts on.
#include <string_view>

namespace kelvary {

// Each of these begins the line it marks.
inline constexpr std::string_view kCalculationStarted = "Calculating ";
inline constexpr std::string_view kCalculationStartedExcept = "Calculating in";
inline constexpr std::string_view kCompletionNotice = "Calculator Information Message: Completion Notice";
inline constexpr std::string_view kCalculationFinished = "Total Calc Elapsed Time :";
inline constexpr std::string_view kServerStarted = "Starting Essbase Server";

// This one may stand anywhere in its line, followed by the interval and
// "%] Of Blocks".
inline constexpr std::string_view kNoticeInterval = "Completion Notice For Every: [";
inline constexpr std::string_view kNoticeIntervalEnd = "%] Of Blocks";

}  // namespace kelvary
