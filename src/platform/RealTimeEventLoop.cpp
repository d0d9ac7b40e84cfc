#include "platform/RealTimeEventLoop.h"

namespace platform {

RealTimeEventLoop::RealTimeEventLoop() : start_(std::chrono::steady_clock::now()) {}

uint64_t RealTimeEventLoop::NowMs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
          .count());
}

void RealTimeEventLoop::WaitForWork(std::optional<uint64_t> deadline) {
  std::unique_lock lock(mutex_);
  auto hasWork = [this] { return !TasksEmptyLocked(); };
  if (hasWork()) return;
  if (deadline) {
    posted_.wait_until(lock, start_ + std::chrono::milliseconds(*deadline), hasWork);
  } else {
    posted_.wait(lock, hasWork);
  }
}

}  // namespace platform
