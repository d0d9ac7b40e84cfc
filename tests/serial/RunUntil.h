#pragma once
// A bounded run of the window thread's loop for the serial tests, which wait for what a real port delivers.

#include <functional>

#include "platform/RealTimeEventLoop.h"

namespace serial_test {

// Runs the loop until done() holds; false when 5 s pass first. A 1 ms tick re-checks conditions that no
// posted task announces.
inline bool RunUntil(platform::RealTimeEventLoop& loop, const std::function<bool()>& done) {
  bool expired = false;
  auto deadline = loop.CreateTimer([&expired] { expired = true; }, 5000);
  auto recheck = loop.CreateTimer([] {}, 1);
  deadline->SetEnabled(true);
  recheck->SetEnabled(true);
  loop.RunUntil([&] { return expired || done(); });
  return !expired;
}

}  // namespace serial_test
