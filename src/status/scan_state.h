#pragma once
// The scanner's working state: the table of running calculations and the
// working values that carry from one check to the next. Its owner (the main
// window, or one run of kelvary-cli) decides how long it lives.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/case_map.h"
#include "status/calc_history.h"
#include "status/log_line_filter.h"
#include "status/log_stamp.h"

namespace kelvary {

inline constexpr int kCalcPlaces = 20;
// A calculation keeps the stamps of this many of its latest notices.
inline constexpr std::size_t kKeptNoticeStamps = 32;

// One completion notice: the count it made, the interval count it was
// written with (as its Detail entry shows it) and its header's stamp.
struct NoticeStamp {
  std::int64_t done = 0;
  std::int16_t total = 0;
  std::optional<LogSeconds> at;
};

struct CalcPlace {
  std::string Database;           // upper case, as the header names it
  std::int64_t NoticesDone = 0;   // never wraps, however many notices
  std::string StartTime;          // 12-hour clock, e.g. "02:05 pm"
  std::int16_t NoticesTotal = 0;  // 0 until an interval line names it
  std::string StartedBy;          // lower case
  std::string Detail;             // one entry per notice, joined by CR LF
  // Entries cut out of Detail between the first and the latest ones, so that
  // a calculation with millions of notices does not hold them all.
  std::int64_t DetailLeftOut = 0;
  std::optional<LogSeconds> StartedAt;  // nothing when the start's stamp is unreadable
  // The latest notices, a ring that grows to kKeptNoticeStamps: notice n
  // stands at (n - 1) % kKeptNoticeStamps. Held apart from the place, so
  // that moving a place up the table moves no stamps.
  std::vector<NoticeStamp> LatestNotices;

  // Counts one more notice done, with its interval count and stamp.
  void RecordNotice(std::int16_t total, std::optional<LogSeconds> at);
  // The kept notices, oldest first.
  std::vector<NoticeStamp> KeptNotices() const;
  // The latest notice, if there has been one.
  const NoticeStamp* LatestNotice() const;
};

struct ScanState {
  std::array<CalcPlace, kCalcPlaces> arrCalcs;
  std::int16_t intCalcCount = 0;
  std::string strLine;
  std::string strPrevLine;  // the header of the message in strLine
  std::string strDatabase;
  std::string strStartTime;
  std::string strUser;
  std::int16_t intNoticeSteps = 0;
  // What one scan found besides the table; each scan starts them afresh.
  CalcHistory history;
  std::optional<LogSeconds> latest_stamp;  // the latest readable stamp in the log
  // How long before the scan the log was last written, when it was read
  // where the server writes it; a downloaded copy's is not the log's.
  std::optional<std::int64_t> latest_entry_age_seconds;

  // Every place back to empty and the count to 0; the working values stay.
  void EmptyTable();
};

// What a scan reads besides its state.
struct ScanInputs {
  std::string_view application;  // already upper-cased by the caller
  const CaseMap& cases;
  // Lets the owner's window process its pending events once. Returns false
  // when the owner is gone and the scan must stop at once.
  std::function<bool()> yield;
  std::optional<std::int64_t> log_age_seconds = {};  // becomes the state's latest_entry_age_seconds
  // How the log is read: chunk size, kept line length, and threads reading ahead.
  FilterShape reading = {};
};

}  // namespace kelvary
