#include "platform/VirtualEventLoop.h"

#include <algorithm>

namespace platform {

void VirtualEventLoop::AdvanceBy(uint64_t ms) {
  const uint64_t target = now_ + ms;
  for (;;) {
    ProcessMessages();
    const auto next = NextTimerDue();
    if (!next || *next > target) break;
    now_ = std::max(now_, *next);
  }
  now_ = target;
  ProcessMessages();
}

void VirtualEventLoop::WaitForWork(std::optional<uint64_t> deadline) {
  if (deadline) {
    if (!HasTasks()) now_ = std::max(now_, *deadline);
    return;
  }
  // No timer will ever fire: only a post from another thread can bring work.
  std::unique_lock lock(mutex_);
  posted_.wait(lock, [this] { return !TasksEmptyLocked(); });
}

}  // namespace platform
