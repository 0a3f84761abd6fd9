#pragma once
// The date-and-time stamps of log headers ("WED JAN 08 14:05:09 2003"),
// read once into a point on the log's own clock. A stamp carries no time
// zone: the server's clock may not be the reader's, so these points are
// only measured against one another, never against the reader's clock.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvary {

struct LogStampFields {
  int year;
  int month;  // 1 to 12
  int day;
  int hour;
  int minute;
  int second;
};

// The fields of a stamp of the right shape and ranges: weekday, month, day,
// hh:mm:ss and a four-digit year, separated by runs of blanks. The calendar
// is not checked here ("FEB 31" and a wrong weekday pass).
std::optional<LogStampFields> ReadStampFields(std::string_view stamp);

// Seconds on the log's clock since 1970-01-01 00:00:00 of that clock.
using LogSeconds = std::int64_t;

// A stamp as a point in time; nothing when it cannot be read or names a day
// that its month does not have: an estimate built on it would be wrong.
std::optional<LogSeconds> ReadLogStamp(std::string_view stamp);

// Reads the stamps of a run of headers. Messages come many to a day: a
// stamp whose date reads as the last one's did has only its time of day
// read; the result is always ReadLogStamp's.
class StampReader {
 public:
  std::optional<LogSeconds> Read(std::string_view stamp);

 private:
  static constexpr std::size_t kDateBytes = 14;  // "WED JAN 08" and "2003"
  char date_[kDateBytes] = {};
  std::optional<LogSeconds> day_start_;  // of the date last read
};

// ISO 8601 local date and time without a zone: "2003-01-08T14:05:09".
std::string IsoDateTime(LogSeconds at);

}  // namespace kelvary
