#include "status/scan_state.h"

#include <algorithm>

namespace kelvary {

namespace {

constexpr auto kKept = static_cast<std::int64_t>(kKeptNoticeStamps);

}  // namespace

void CalcPlace::RecordNotice(std::int16_t total, std::optional<LogSeconds> at) {
  ++NoticesDone;
  const NoticeStamp notice{NoticesDone, total, at};
  if (LatestNotices.size() < kKeptNoticeStamps) {
    // The ring's whole room at once: growing it step by step would allocate
    // again and again for every calculation.
    if (LatestNotices.empty()) LatestNotices.reserve(kKeptNoticeStamps);
    LatestNotices.push_back(notice);
  } else {
    LatestNotices[static_cast<std::size_t>((NoticesDone - 1) % kKept)] = notice;
  }
}

std::vector<NoticeStamp> CalcPlace::KeptNotices() const {
  std::vector<NoticeStamp> notices;
  for (std::int64_t n = std::max<std::int64_t>(1, NoticesDone - kKept + 1); n <= NoticesDone; ++n) {
    const auto at = static_cast<std::size_t>((n - 1) % kKept);
    if (at < LatestNotices.size()) notices.push_back(LatestNotices[at]);
  }
  return notices;
}

const NoticeStamp* CalcPlace::LatestNotice() const {
  if (NoticesDone == 0) return nullptr;
  const auto at = static_cast<std::size_t>((NoticesDone - 1) % kKept);
  return at < LatestNotices.size() ? &LatestNotices[at] : nullptr;
}

void ScanState::EmptyTable() {
  arrCalcs.fill(CalcPlace{});
  intCalcCount = 0;
}

}  // namespace kelvary
