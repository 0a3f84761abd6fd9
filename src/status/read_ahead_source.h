#pragma once
// Reads a source ahead on a thread of its own, a few blocks at a time, so
// that the system's copying of the file overlaps the scan of what came
// before it. Read errors and the end arrive in order, after the data.
#include <array>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

#include "status/byte_source.h"

namespace kelvary {

class ReadAheadSource final : public ByteSource {
 public:
  explicit ReadAheadSource(ByteSource& source);
  ~ReadAheadSource() override;  // stops the reading thread and waits for it
  ReadAheadSource(const ReadAheadSource&) = delete;
  ReadAheadSource& operator=(const ReadAheadSource&) = delete;

  std::ptrdiff_t Read(char* dst, std::size_t capacity) override;

 private:
  static constexpr std::size_t kBlocks = 4;
  struct Block {
    std::vector<char> bytes;
    std::ptrdiff_t size = 0;  // as the source's Read returned it
  };

  void ReadAhead();

  ByteSource& source_;
  std::array<Block, kBlocks> blocks_;
  std::size_t first_ = 0;   // the oldest filled block
  std::size_t filled_ = 0;  // blocks filled and not yet handed on
  std::size_t taken_ = 0;   // bytes of the oldest block already handed on
  bool stopping_ = false;
  std::mutex mutex_;
  std::condition_variable block_filled_;
  std::condition_variable block_freed_;
  std::thread reader_;
};

}  // namespace kelvary
