#include "status/scan_state.h"

#include <algorithm>

namespace kelvary {

std::vector<NoticeStamp> CalcPlace::KeptNotices() const {
  std::vector<NoticeStamp> notices;
  const std::int64_t kept = static_cast<std::int64_t>(kKeptNoticeStamps);
  for (std::int64_t n = std::max<std::int64_t>(1, NoticesDone - kept + 1); n <= NoticesDone; ++n) {
    notices.push_back(LatestNotices[(n - 1) % kept]);
  }
  return notices;
}

const NoticeStamp* CalcPlace::LatestNotice() const {
  if (NoticesDone == 0) return nullptr;
  return &LatestNotices[(NoticesDone - 1) % static_cast<std::int64_t>(kKeptNoticeStamps)];
}

void ScanState::EmptyTable() {
  arrCalcs.fill(CalcPlace{});
  intCalcCount = 0;
}

}  // namespace kelvary
