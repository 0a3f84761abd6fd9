// Any bytes as a log. The scan must not crash, must keep its table within
// bounds, and must read the same whether the log arrives in one piece or in
// small ones (the block boundaries are the filter's hard part).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "status/log_scanner.h"

namespace {

constexpr std::size_t kPieceStep = 13;  // pieces of 1 to 3,316 bytes

class PieceSource final : public kelvary::ByteSource {
 public:
  PieceSource(const std::string& data, std::size_t piece) : data_(data), piece_(piece) {}
  std::ptrdiff_t Read(char* dst, std::size_t capacity) override {
    const std::size_t n = std::min({capacity, piece_, data_.size() - pos_});
    std::memcpy(dst, data_.data() + pos_, n);
    pos_ += n;
    return static_cast<std::ptrdiff_t>(n);
  }

 private:
  const std::string& data_;
  std::size_t piece_;
  std::size_t pos_ = 0;
};

kelvary::ScanState Scan(const std::string& log, std::size_t piece) {
  kelvary::ScanState state;
  PieceSource source(log, piece);
  const kelvary::ScanInputs inputs{"SAMPLE", kelvary::CaseMap::Windows1252(), nullptr};
  kelvary::ScanLog(state, source, inputs);
  return state;
}

bool SameTable(const kelvary::ScanState& a, const kelvary::ScanState& b) {
  if (a.intCalcCount != b.intCalcCount || a.strPrevLine != b.strPrevLine) return false;
  for (int k = 0; k < a.intCalcCount; ++k) {
    const auto& x = a.arrCalcs[k];
    const auto& y = b.arrCalcs[k];
    if (x.Database != y.Database || x.StartedBy != y.StartedBy || x.NoticesDone != y.NoticesDone ||
        x.NoticesTotal != y.NoticesTotal || x.StartTime != y.StartTime || x.Detail != y.Detail) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the piece size of the second reading.
  const std::size_t piece = 1 + data[0] * kPieceStep;
  const std::string log(reinterpret_cast<const char*>(data + 1), size - 1);
  const kelvary::ScanState whole = Scan(log, SIZE_MAX);
  if (whole.intCalcCount < 0 || whole.intCalcCount > kelvary::kCalcPlaces) std::abort();
  if (!SameTable(whole, Scan(log, piece))) std::abort();
  return 0;
}
