#include "cli/duration_option.h"

#include <charconv>

namespace kelvary::cli {
namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kLongestSeconds = std::int64_t{100} * 366 * 24 * kSecondsPerHour;

std::optional<std::int64_t> UnitSeconds(char unit) {
  switch (unit) {
    case 's':
      return 1;
    case 'm':
      return kSecondsPerMinute;
    case 'h':
      return kSecondsPerHour;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::int64_t> ParseDuration(std::string_view text) {
  std::int64_t unit = 1;
  if (!text.empty() && (text.back() < '0' || text.back() > '9')) {
    const std::optional<std::int64_t> named = UnitSeconds(text.back());
    if (!named) return std::nullopt;
    unit = *named;
    text.remove_suffix(1);
  }
  std::int64_t count = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (text.empty() || text.front() == '-' || error != std::errc() || end != text.data() + text.size() ||
      count > kLongestSeconds / unit) {
    return std::nullopt;
  }
  return count * unit;
}

}  // namespace kelvary::cli
