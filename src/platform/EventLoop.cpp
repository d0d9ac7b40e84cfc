#include "platform/EventLoop.h"

namespace platform {

void EventLoop::WaitWithMessages(uint32_t ms) {
  // A one-shot timer ends the wait, so the loop sleeps between messages instead of polling the tick count.
  bool elapsed = false;
  auto timer = CreateTimer([&elapsed] { elapsed = true; }, ms);
  timer->SetEnabled(true);
  RunUntil([&elapsed] { return elapsed; });
}

}  // namespace platform
