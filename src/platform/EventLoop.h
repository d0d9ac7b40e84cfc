#pragma once
// The window thread's message loop: everything the program does runs as a task or a timer tick of one loop.

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

using Task = std::function<void()>;

// A repeating timer of one loop, used only on the loop's own thread.
class LoopTimer {
 public:
  virtual ~LoopTimer() = default;
  // Changing the interval of a running timer restarts its countdown.
  virtual void SetInterval(uint32_t ms) = 0;
  // Enabling a running timer changes nothing: its countdown is not restarted.
  virtual void SetEnabled(bool enabled) = 0;
  virtual uint32_t Interval() const = 0;
  virtual bool Enabled() const = 0;
};

class EventLoop {
 public:
  virtual ~EventLoop() = default;

  // Thread-safe. Tasks run on the loop's thread, first posted first run.
  virtual void Post(Task task) = 0;

  // Milliseconds on a 32-bit counter that wraps, like the system tick count.
  virtual uint32_t TickCount() = 0;

  // Handles every message pending now (posted tasks first, then due timers) and returns without waiting.
  virtual void ProcessMessages() = 0;

  // Handles messages, waiting for them as needed, until done() returns true. May be nested: a task may call
  // it again (a modal dialog, a pause), and the inner call handles later messages before the outer one
  // resumes.
  virtual void RunUntil(const std::function<bool()>& done) = 0;

  // A timer whose ticks call onTick on the loop's thread. It starts disabled.
  virtual std::unique_ptr<LoopTimer> CreateTimer(Task onTick, uint32_t intervalMs) = 0;

  // Keeps handling messages until ms milliseconds have passed (the pause before write steps 9 and 10).
  void WaitWithMessages(uint32_t ms);
};

}  // namespace platform
