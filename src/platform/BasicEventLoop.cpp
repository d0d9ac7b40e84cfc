#include "platform/BasicEventLoop.h"

#include <algorithm>

namespace platform {

class BasicEventLoop::TimerImpl final : public LoopTimer {
 public:
  TimerImpl(BasicEventLoop& loop, Task onTick, uint32_t interval)
      : loop_(loop), onTick_(std::move(onTick)), interval_(interval) {
    loop_.timers_.push_back(this);
  }
  ~TimerImpl() override { std::erase(loop_.timers_, this); }
  TimerImpl(const TimerImpl&) = delete;
  TimerImpl& operator=(const TimerImpl&) = delete;

  void SetInterval(uint32_t ms) override {
    if (ms == interval_) return;
    interval_ = ms;
    if (enabled_) due_ = loop_.NowMs() + interval_;
  }
  void SetEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_) due_ = loop_.NowMs() + interval_;
  }
  uint32_t Interval() const override { return interval_; }
  bool Enabled() const override { return enabled_; }

  // A timer with interval 0 never ticks, as a window timer of zero would not.
  bool Armed() const { return enabled_ && interval_ > 0; }
  uint64_t Due() const { return due_; }
  void Fire() {
    due_ = loop_.NowMs() + interval_;
    onTick_();
  }

 private:
  BasicEventLoop& loop_;
  Task onTick_;
  uint32_t interval_;
  bool enabled_ = false;
  uint64_t due_ = 0;
};

BasicEventLoop::BasicEventLoop() = default;
BasicEventLoop::~BasicEventLoop() = default;

void BasicEventLoop::Post(Task task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  posted_.notify_all();
}

bool BasicEventLoop::HasTasks() {
  std::lock_guard lock(mutex_);
  return !tasks_.empty();
}

bool BasicEventLoop::TasksEmptyLocked() const { return tasks_.empty(); }

bool BasicEventLoop::RunOneTask() {
  Task task;
  {
    std::lock_guard lock(mutex_);
    if (tasks_.empty()) return false;
    task = std::move(tasks_.front());
    tasks_.pop_front();
  }
  task();
  return true;
}

std::optional<uint64_t> BasicEventLoop::NextTimerDue() const {
  std::optional<uint64_t> next;
  for (const TimerImpl* timer : timers_) {
    if (timer->Armed() && (!next || timer->Due() < *next)) next = timer->Due();
  }
  return next;
}

bool BasicEventLoop::FireOneDueTimer() {
  const uint64_t now = NowMs();
  TimerImpl* earliest = nullptr;
  for (TimerImpl* timer : timers_) {
    if (timer->Armed() && timer->Due() <= now && (!earliest || timer->Due() < earliest->Due())) {
      earliest = timer;
    }
  }
  if (!earliest) return false;
  earliest->Fire();
  return true;
}

void BasicEventLoop::ProcessMessages() {
  // Posted messages come before timer ticks, as window timers only tick when the queue is empty.
  for (;;) {
    if (RunOneTask()) continue;
    if (FireOneDueTimer()) continue;
    return;
  }
}

void BasicEventLoop::RunUntil(const std::function<bool()>& done) {
  while (!done()) {
    if (RunOneTask()) continue;
    if (FireOneDueTimer()) continue;
    if (done()) return;
    WaitForWork(NextTimerDue());
  }
}

std::unique_ptr<LoopTimer> BasicEventLoop::CreateTimer(Task onTick, uint32_t intervalMs) {
  return std::make_unique<TimerImpl>(*this, std::move(onTick), intervalMs);
}

int BasicEventLoop::EnabledTimerCount() const {
  return static_cast<int>(
      std::count_if(timers_.begin(), timers_.end(), [](const TimerImpl* t) { return t->Enabled(); }));
}

}  // namespace platform
