#pragma once
// A log held in memory, handed out in pieces of a chosen size: block
// boundaries on demand.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "status/byte_source.h"

namespace kelvary::test {

class StringSource final : public ByteSource {
 public:
  explicit StringSource(std::string data, std::size_t piece = SIZE_MAX) : data_(std::move(data)), piece_(piece) {}

  std::ptrdiff_t Read(char* dst, std::size_t capacity) override {
    const std::size_t n = std::min({capacity, piece_, data_.size() - pos_});
    std::memcpy(dst, data_.data() + pos_, n);
    pos_ += n;
    return static_cast<std::ptrdiff_t>(n);
  }

 private:
  std::string data_;
  std::size_t piece_;
  std::size_t pos_ = 0;
};

// Lines joined with CR LF, as the server writes them.
inline std::string CrLfLog(const std::vector<std::string>& lines) {
  std::string log;
  for (const std::string& line : lines) log += line + "\r\n";
  return log;
}

}  // namespace kelvary::test
