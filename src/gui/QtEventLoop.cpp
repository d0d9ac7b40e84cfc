#include "gui/QtEventLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <deque>
#include <mutex>

namespace gui {

struct QtEventLoop::Impl {
  QObject context;  // lives on the GUI thread; queued calls to it run there
  QElapsedTimer clock;
  std::mutex mutex;
  std::deque<platform::Task> tasks;
  std::function<void()> afterEach;
  std::function<void(const std::exception&)> onError;

  // Runs one handler of the loop with its errors kept away from Qt, then lets the views catch up.
  void Run(const platform::Task& handler) {
    try {
      handler();
    } catch (const std::exception& error) {
      if (onError) {
        onError(error);
      } else {
        qWarning("dtu-config: unhandled error in an event handler: %s", error.what());
      }
    }
    if (afterEach) afterEach();
  }

  void RunFront() {
    platform::Task task;
    {
      std::lock_guard lock(mutex);
      if (tasks.empty()) return;
      task = std::move(tasks.front());
      tasks.pop_front();
    }
    Run(task);
  }
};

namespace {

// A window timer: it ticks only while enabled with a non-zero interval, as a window timer of zero never
// does. QTimer::start() restarts a running countdown, so it is called only on the way from stopped to
// running.
class QtLoopTimer final : public platform::LoopTimer {
 public:
  QtLoopTimer(QtEventLoop::Impl& loop, platform::Task onTick, uint32_t interval)
      : loop_(loop), onTick_(std::move(onTick)), interval_(interval) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(static_cast<int>(interval_));
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
      // The handler may destroy this timer, so it runs from copies and nothing of the timer is touched after.
      QtEventLoop::Impl& owner = loop_;
      const platform::Task tick = onTick_;
      owner.Run(tick);
    });
  }

  void SetInterval(uint32_t ms) override {
    if (ms == interval_) return;
    interval_ = ms;
    // QTimer::setInterval restarts a running countdown with the new interval.
    timer_.setInterval(static_cast<int>(interval_));
    Sync();
  }
  void SetEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Sync();
  }
  uint32_t Interval() const override { return interval_; }
  bool Enabled() const override { return enabled_; }

 private:
  void Sync() {
    const bool run = enabled_ && interval_ > 0;
    if (run && !timer_.isActive()) timer_.start();
    if (!run && timer_.isActive()) timer_.stop();
  }

  QtEventLoop::Impl& loop_;
  platform::Task onTick_;
  uint32_t interval_;
  bool enabled_ = false;
  QTimer timer_;
};

}  // namespace

QtEventLoop::QtEventLoop() : impl_(std::make_unique<Impl>()) { impl_->clock.start(); }

QtEventLoop::~QtEventLoop() = default;

void QtEventLoop::Post(platform::Task task) {
  {
    std::lock_guard lock(impl_->mutex);
    impl_->tasks.push_back(std::move(task));
  }
  // One queued call per task, each taking the oldest task: the order is that of the queue even when two
  // threads race between pushing and posting.
  Impl* impl = impl_.get();
  QMetaObject::invokeMethod(
      &impl->context, [impl] { impl->RunFront(); }, Qt::QueuedConnection);
}

uint32_t QtEventLoop::TickCount() { return static_cast<uint32_t>(impl_->clock.elapsed()); }

void QtEventLoop::ProcessMessages() { QCoreApplication::processEvents(); }

void QtEventLoop::RunUntil(const std::function<bool()>& done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

std::unique_ptr<platform::LoopTimer> QtEventLoop::CreateTimer(platform::Task onTick, uint32_t intervalMs) {
  return std::make_unique<QtLoopTimer>(*impl_, std::move(onTick), intervalMs);
}

void QtEventLoop::SetAfterEach(std::function<void()> hook) { impl_->afterEach = std::move(hook); }

void QtEventLoop::SetErrorHandler(std::function<void(const std::exception&)> handler) {
  impl_->onError = std::move(handler);
}

}  // namespace gui
