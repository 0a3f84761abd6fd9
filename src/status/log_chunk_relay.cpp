#include "status/log_chunk_relay.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace kelvary {
namespace {

// Chunks read and not yet handed over, at most: enough for a helper to keep
// ahead of the caller, few enough to keep memory small.
constexpr std::size_t kSlots = 8;
// A helper waiting for room is woken once this many slots are free, not at
// every one: each waking costs a system call.
constexpr std::size_t kFreeSlotsToWake = kSlots / 2;

unsigned UsableHelpers(unsigned wanted) {
  if (wanted == 0) return 0;
  const unsigned cores = std::thread::hardware_concurrency();
  return std::min(wanted, cores > 1 ? cores - 1 : 0u);
}

}  // namespace

ChunkRelay::ChunkRelay(ByteSource& source, const ChunkShape& shape, unsigned helpers)
    : source_(source), shape_(shape), helpers_wanted_(UsableHelpers(helpers)), slots_(kSlots) {}

ChunkRelay::~ChunkRelay() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& helper : helpers_) helper.join();
}

const LogChunk& ChunkRelay::Next() {
  std::unique_lock lock(mutex_);
  if (holding_one_) {
    slots_[handed_over_ % kSlots].state = SlotState::Free;
    ++handed_over_;
    if (handed_over_ + kSlots - next_claim_ >= kFreeSlotsToWake) changed_.notify_all();
    StartHelpers();
  }
  const std::uint64_t index = handed_over_;
  Slot& slot = slots_[index % kSlots];
  while (slot.state != SlotState::Ready || slot.index != index) {
    if (CanClaim()) {
      ReadNextClaim(lock);
    } else {
      changed_.wait(lock);
    }
  }
  holding_one_ = true;
  return slot.chunk;
}

bool ChunkRelay::CanClaim() const { return next_claim_ < end_ && next_claim_ < handed_over_ + kSlots; }

// Claims the next chunk, reads it with the lock released, and says so.
void ChunkRelay::ReadNextClaim(std::unique_lock<std::mutex>& lock) {
  const std::uint64_t index = next_claim_++;
  Slot& slot = slots_[index % kSlots];
  slot.state = SlotState::Reading;
  lock.unlock();
  try {
    slot.chunk.Read(source_, index, shape_);
  } catch (...) {
    slot.chunk.Fail();  // out of memory: the log is read up to here
  }
  lock.lock();
  slot.state = SlotState::Ready;
  slot.index = index;
  if (slot.chunk.log_ends()) end_ = std::min(end_, index + 1);
  changed_.notify_all();
}

void ChunkRelay::HelperLoop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || CanClaim(); });
    if (stopping_) return;
    ReadNextClaim(lock);
  }
}

// Called with the lock held, once the first chunk has been handed back: a
// log of one chunk, the most common, never starts a thread. Starts them
// once; later calls find none wanted.
void ChunkRelay::StartHelpers() {
  const unsigned wanted = std::exchange(helpers_wanted_, 0u);
  try {
    for (unsigned k = 0; k < wanted; ++k) helpers_.emplace_back([this] { HelperLoop(); });
  } catch (const std::system_error&) {
    // No thread to be had: the caller reads the rest alone.
  }
}

}  // namespace kelvary
