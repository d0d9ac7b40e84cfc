#pragma once
// The loop on the real clock, for the command line and for real-time tests over pseudo-terminals.

#include <chrono>

#include "platform/BasicEventLoop.h"

namespace platform {

class RealTimeEventLoop final : public BasicEventLoop {
 public:
  RealTimeEventLoop();

 protected:
  uint64_t NowMs() override;
  void WaitForWork(std::optional<uint64_t> deadline) override;

 private:
  std::chrono::steady_clock::time_point start_;
};

}  // namespace platform
