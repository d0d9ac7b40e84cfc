#pragma once
// The loop on a virtual clock for tests: time stands still until the test moves it, and a wait for a timer
// moves the clock straight to the timer, so time-outs of seconds are tested in microseconds.

#include "platform/BasicEventLoop.h"

namespace platform {

class VirtualEventLoop final : public BasicEventLoop {
 public:
  explicit VirtualEventLoop(uint64_t startMs = 0) : now_(startMs) {}

  uint64_t Now() const { return now_; }
  // Moves the clock forward by ms, firing each timer at its due time and handling posted tasks in between.
  void AdvanceBy(uint64_t ms);
  // Handles everything that is due now without moving the clock.
  void RunUntilIdle() { ProcessMessages(); }

 protected:
  uint64_t NowMs() override { return now_; }
  void WaitForWork(std::optional<uint64_t> deadline) override;

 private:
  uint64_t now_;
};

}  // namespace platform
