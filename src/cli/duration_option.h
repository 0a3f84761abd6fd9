#pragma once
// Durations as a command line gives them: "90s", "30m", "2h", or seconds
// without a unit.
#include <cstdint>
#include <optional>
#include <string_view>

namespace kelvary::cli {

// Whole seconds; nothing for text that is not a duration (empty, signed,
// another unit, or more than a hundred years).
std::optional<std::int64_t> ParseDuration(std::string_view text);

}  // namespace kelvary::cli
