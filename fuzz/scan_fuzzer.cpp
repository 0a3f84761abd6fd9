// Any bytes as a log. The scan must not crash, must keep its table within
// bounds, and must read the same whether the log is read in one chunk or in
// small ones that arrive in pieces (lines that cross chunks are the filter's
// hard part). Lines are kept to a few hundred bytes, so that cutting them
// is tried too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "status/log_scanner.h"

namespace {

constexpr std::size_t kPieceStep = 13;  // pieces of 1 to 3,316 bytes
constexpr std::size_t kChunkChoices = 64;  // chunks of 1 to 64 bytes
constexpr std::size_t kWholeChunk = 4096;  // more than any input
constexpr std::size_t kKeptLineBytes = 300;

class PieceSource final : public kelvary::ByteSource {
 public:
  PieceSource(const std::string& data, std::size_t piece) : data_(data), piece_(piece) {}
  std::ptrdiff_t ReadAt(std::uint64_t offset, char* dst, std::size_t capacity) override {
    const std::size_t from = static_cast<std::size_t>(std::min<std::uint64_t>(offset, data_.size()));
    const std::size_t n = std::min({capacity, piece_, data_.size() - from});
    std::memcpy(dst, data_.data() + from, n);
    return static_cast<std::ptrdiff_t>(n);
  }

 private:
  const std::string& data_;
  const std::size_t piece_;
};

kelvary::ScanState Scan(const std::string& log, std::size_t piece, std::size_t chunk) {
  kelvary::ScanState state;
  PieceSource source(log, piece);
  kelvary::ScanInputs inputs{"SAMPLE", kelvary::CaseMap::Windows1252(), nullptr};
  // One thread: a thread started per input would slow the fuzzing down to a crawl.
  inputs.reading = {{chunk, kKeptLineBytes}, 0};
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
  // The first byte picks the piece and chunk sizes of the second reading.
  const std::size_t piece = 1 + data[0] * kPieceStep;
  const std::size_t chunk = 1 + data[0] % kChunkChoices;
  const std::string log(reinterpret_cast<const char*>(data + 1), size - 1);
  const kelvary::ScanState whole = Scan(log, SIZE_MAX, kWholeChunk);
  if (whole.intCalcCount < 0 || whole.intCalcCount > kelvary::kCalcPlaces) std::abort();
  if (!SameTable(whole, Scan(log, piece, chunk))) std::abort();
  return 0;
}
