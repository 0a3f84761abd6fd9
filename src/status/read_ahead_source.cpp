#include "status/read_ahead_source.h"

#include <algorithm>
#include <cstring>

namespace kelvary {
namespace {

constexpr std::size_t kReadAheadBlockBytes = std::size_t{256} << 10;

}  // namespace

ReadAheadSource::ReadAheadSource(ByteSource& source) : source_(source) {
  for (Block& block : blocks_) block.bytes.resize(kReadAheadBlockBytes);
  reader_ = std::thread([this] { ReadAhead(); });
}

ReadAheadSource::~ReadAheadSource() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  block_freed_.notify_all();
  reader_.join();
}

// The reading thread. It only ever writes the block after the filled ones,
// which the consumer does not touch until it has been counted as filled.
void ReadAheadSource::ReadAhead() {
  for (std::size_t next = 0;; next = (next + 1) % kBlocks) {
    {
      std::unique_lock lock(mutex_);
      block_freed_.wait(lock, [this] { return stopping_ || filled_ < kBlocks; });
      if (stopping_) return;
    }
    Block& block = blocks_[next];
    block.size = source_.Read(block.bytes.data(), block.bytes.size());
    {
      std::lock_guard lock(mutex_);
      ++filled_;
    }
    block_filled_.notify_one();
    if (block.size <= 0) return;  // the end, or an error: nothing follows
  }
}

std::ptrdiff_t ReadAheadSource::Read(char* dst, std::size_t capacity) {
  {
    std::unique_lock lock(mutex_);
    block_filled_.wait(lock, [this] { return filled_ > 0; });
  }
  Block& block = blocks_[first_];
  if (block.size <= 0) return block.size;  // stays at the end, or the error
  const std::size_t count = std::min(capacity, static_cast<std::size_t>(block.size) - taken_);
  std::memcpy(dst, block.bytes.data() + taken_, count);
  taken_ += count;
  if (taken_ == static_cast<std::size_t>(block.size)) {
    taken_ = 0;
    first_ = (first_ + 1) % kBlocks;
    {
      std::lock_guard lock(mutex_);
      --filled_;
    }
    block_freed_.notify_one();
  }
  return static_cast<std::ptrdiff_t>(count);
}

}  // namespace kelvary
