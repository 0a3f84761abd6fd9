#pragma once
// A log held in memory, handed out in pieces of a chosen size: block
// boundaries on demand. Reads from `fail_from` on fail.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "status/byte_source.h"

namespace kelvary::test {

class StringSource final : public ByteSource {
 public:
  explicit StringSource(std::string data, std::size_t piece = SIZE_MAX, std::size_t fail_from = SIZE_MAX)
      : data_(std::move(data)), piece_(piece), fail_from_(fail_from) {}

  std::ptrdiff_t ReadAt(std::uint64_t offset, char* dst, std::size_t capacity) override {
    if (offset >= fail_from_) return -1;
    const std::size_t from = static_cast<std::size_t>(std::min<std::uint64_t>(offset, data_.size()));
    const std::size_t n = std::min({capacity, piece_, data_.size() - from, fail_from_ - from});
    std::memcpy(dst, data_.data() + from, n);
    return static_cast<std::ptrdiff_t>(n);
  }

 private:
  const std::string data_;
  const std::size_t piece_;
  const std::size_t fail_from_;
};

// Lines joined with CR LF, as the server writes them.
inline std::string CrLfLog(const std::vector<std::string>& lines) {
  std::string log;
  for (const std::string& line : lines) log += line + "\r\n";
  return log;
}

}  // namespace kelvary::test
