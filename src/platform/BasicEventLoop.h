#pragma once
// The loop logic shared by the real-time and the virtual-time loops: a thread-safe task queue and a set of
// timers kept against a millisecond clock that the subclass provides.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/EventLoop.h"

namespace platform {

class BasicEventLoop : public EventLoop {
 public:
  BasicEventLoop();
  ~BasicEventLoop() override;
  BasicEventLoop(const BasicEventLoop&) = delete;
  BasicEventLoop& operator=(const BasicEventLoop&) = delete;

  void Post(Task task) override;
  uint32_t TickCount() override { return static_cast<uint32_t>(NowMs()); }
  void ProcessMessages() override;
  void RunUntil(const std::function<bool()>& done) override;
  std::unique_ptr<LoopTimer> CreateTimer(Task onTick, uint32_t intervalMs) override;

  // Number of timers that are enabled right now (tests use it to see that nothing is left ticking).
  int EnabledTimerCount() const;

 protected:
  virtual uint64_t NowMs() = 0;
  // Blocks until a task is posted or the clock reaches deadline (no deadline: until a post). A virtual clock
  // moves itself forward to the deadline instead of sleeping.
  virtual void WaitForWork(std::optional<uint64_t> deadline) = 0;

  // True when a task is queued. Caller holds no lock.
  bool HasTasks();
  // The same, for a caller that holds mutex_.
  bool TasksEmptyLocked() const;
  std::optional<uint64_t> NextTimerDue() const;
  // Runs one due timer, if any; returns whether one ran.
  bool FireOneDueTimer();

  std::mutex mutex_;
  std::condition_variable posted_;

 private:
  class TimerImpl;
  bool RunOneTask();

  std::deque<Task> tasks_;
  std::vector<TimerImpl*> timers_;
};

}  // namespace platform
