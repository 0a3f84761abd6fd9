#pragma once
// Hands a log's chunks over in order while helper threads read and search
// the chunks after the current one. The caller reads a chunk itself whenever
// none is ready, so a helper only ever adds speed: the checks of the lines
// handed over (on the caller's thread) and the search of the next chunks
// (on the helpers') run at the same time.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "status/byte_source.h"
#include "status/log_chunk.h"

namespace kelvary {

class ChunkRelay {
 public:
  // `helpers` threads at most, fewer where the processor has fewer cores;
  // none start before the log turns out to hold more than one chunk.
  ChunkRelay(ByteSource& source, const ChunkShape& shape, unsigned helpers);
  ~ChunkRelay();
  ChunkRelay(const ChunkRelay&) = delete;
  ChunkRelay& operator=(const ChunkRelay&) = delete;

  // The next chunk, valid until the next call. Call no more after a chunk
  // that ends the log.
  const LogChunk& Next();

 private:
  enum class SlotState { Free, Reading, Ready };
  struct Slot {
    LogChunk chunk;
    SlotState state = SlotState::Free;
    std::uint64_t index = 0;
  };

  bool CanClaim() const;
  void ReadNextClaim(std::unique_lock<std::mutex>& lock);
  void HelperLoop();
  void StartHelpers();

  ByteSource& source_;
  ChunkShape shape_;
  unsigned helpers_wanted_;
  std::vector<Slot> slots_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t handed_over_ = 0;  // chunks handed over and given back
  bool holding_one_ = false;       // the caller holds chunk handed_over_
  std::uint64_t next_claim_ = 0;
  std::uint64_t end_ = UINT64_MAX;  // no chunk from here on holds any of the log
  bool stopping_ = false;
  std::vector<std::thread> helpers_;
};

}  // namespace kelvary
