#pragma once
// A log held in memory, handed out in pieces of a chosen size, that can be
// told to fail after some bytes: block boundaries and read errors on demand.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "status/byte_source.h"

namespace kelvary::test {

class StringSource final : public ByteSource {
 public:
  explicit StringSource(std::string data, std::size_t piece = SIZE_MAX, std::size_t fail_after = SIZE_MAX)
      : data_(std::move(data)), piece_(piece), fail_after_(fail_after) {}

  std::ptrdiff_t Read(char* dst, std::size_t capacity) override {
    if (pos_ >= fail_after_) return -1;
    const std::size_t n = std::min({capacity, piece_, data_.size() - pos_, fail_after_ - pos_});
    std::memcpy(dst, data_.data() + pos_, n);
    pos_ += n;
    return static_cast<std::ptrdiff_t>(n);
  }

  std::size_t position() const { return pos_; }

 private:
  std::string data_;
  std::size_t piece_;
  std::size_t fail_after_;
  std::size_t pos_ = 0;
};

// Lines joined with CR LF, as the server writes them.
inline std::string CrLfLog(const std::vector<std::string>& lines) {
  std::string log;
  for (const std::string& line : lines) log += line + "\r\n";
  return log;
}

}  // namespace kelvary::test
