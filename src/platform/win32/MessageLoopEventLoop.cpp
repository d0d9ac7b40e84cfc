#include "platform/win32/MessageLoopEventLoop.h"

#include <windows.h>

namespace platform {
namespace {

constexpr UINT kWake = WM_APP + 1;
constexpr wchar_t kClassName[] = L"DtuConfigLoop";

}  // namespace

// The message-only window's procedure: the loop's own messages come here wherever they are dispatched, a
// menu's or a system dialog's loop included.
struct LoopWindow {
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* loop = reinterpret_cast<MessageLoopEventLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (loop != nullptr && message == kWake) {
      loop->RunFrontTask();
      return 0;
    }
    if (loop != nullptr && message == WM_TIMER) {
      loop->FireTimer(static_cast<uintptr_t>(wParam));
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
};

// A window timer: it ticks only while enabled with a non-zero interval, as a window timer of zero never
// does. SetTimer on a running timer restarts its countdown, so it is called only on the way from stopped to
// running and on a new interval.
class MessageLoopEventLoop::Timer final : public LoopTimer {
 public:
  Timer(MessageLoopEventLoop& loop, Task onTick, uint32_t interval)
      : loop_(loop), onTick_(std::move(onTick)), interval_(interval), id_(loop.nextTimerId_++) {
    loop_.timers_[id_] = this;
  }
  ~Timer() override {
    Stop();
    loop_.timers_.erase(id_);
  }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void SetInterval(uint32_t ms) override {
    if (ms == interval_) return;
    interval_ = ms;
    Stop();
    Sync();
  }
  void SetEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Sync();
  }
  uint32_t Interval() const override { return interval_; }
  bool Enabled() const override { return enabled_; }

  void Tick() {
    // The handler may destroy this timer, so it runs from a copy and nothing of the timer is touched after.
    MessageLoopEventLoop& loop = loop_;
    const Task tick = onTick_;
    loop.Run(tick);
  }

 private:
  void Sync() {
    const bool run = enabled_ && interval_ > 0;
    if (run && !running_) running_ = SetTimer(loop_.window_, id_, interval_, nullptr) != 0;
    if (!run) Stop();
  }
  void Stop() {
    if (!running_) return;
    KillTimer(loop_.window_, id_);
    running_ = false;
  }

  MessageLoopEventLoop& loop_;
  Task onTick_;
  uint32_t interval_;
  uintptr_t id_;
  bool enabled_ = false;
  bool running_ = false;
};

MessageLoopEventLoop::MessageLoopEventLoop() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &LoopWindow::Proc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // fails harmlessly when a second loop registers it again
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MessageLoopEventLoop::~MessageLoopEventLoop() {
  // A timer that outlives the loop must not reach the window any more.
  for (auto& [id, timer] : timers_) KillTimer(window_, id);
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void MessageLoopEventLoop::Post(Task task) {
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    wake = !wakePending_;
    wakePending_ = true;
  }
  if (wake) PostMessageW(window_, kWake, 0, 0);
}

void MessageLoopEventLoop::RunFrontTask() {
  Task task;
  bool more = false;
  {
    std::lock_guard lock(mutex_);
    wakePending_ = false;
    if (tasks_.empty()) return;
    task = std::move(tasks_.front());
    tasks_.pop_front();
    more = !tasks_.empty();
    wakePending_ = more;
  }
  // The next task is announced before this one runs, so a loop nested inside it (a modal dialog, the pause
  // before a write step) still runs the tasks behind it.
  if (more) PostMessageW(window_, kWake, 0, 0);
  Run(task);
}

void MessageLoopEventLoop::FireTimer(uintptr_t id) {
  // A tick of a timer destroyed since it was queued finds nothing.
  if (auto found = timers_.find(id); found != timers_.end()) found->second->Tick();
}

void MessageLoopEventLoop::Run(const Task& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    if (onError_) onError_(error);
  }
  if (afterEach_) afterEach_();
}

uint32_t MessageLoopEventLoop::TickCount() { return GetTickCount(); }

bool MessageLoopEventLoop::Handle(MSG& msg) {
  if (msg.message == WM_QUIT) {
    quit_ = true;
    // Left for every outer loop, which ends in turn.
    PostQuitMessage(static_cast<int>(msg.wParam));
    return false;
  }
  if (preTranslate_ && preTranslate_(msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void MessageLoopEventLoop::ProcessMessages() {
  MSG msg;
  while (!quit_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!Handle(msg)) return;
  }
}

void MessageLoopEventLoop::RunUntil(const std::function<bool()>& done) {
  MSG msg;
  while (!quit_ && !done()) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      quit_ = true;
      if (msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (!Handle(msg)) return;
  }
}

std::unique_ptr<LoopTimer> MessageLoopEventLoop::CreateTimer(Task onTick, uint32_t intervalMs) {
  return std::make_unique<Timer>(*this, std::move(onTick), intervalMs);
}

void MessageLoopEventLoop::Quit() {
  // WM_QUIT belongs to the window thread's own queue, which only that thread can post to.
  Post([] { PostQuitMessage(0); });
}

void MessageLoopEventLoop::SetPreTranslate(std::function<bool(MSG& msg)> hook) {
  preTranslate_ = std::move(hook);
}

void MessageLoopEventLoop::SetAfterEach(std::function<void()> hook) { afterEach_ = std::move(hook); }

void MessageLoopEventLoop::SetErrorHandler(std::function<void(const std::exception&)> handler) {
  onError_ = std::move(handler);
}

}  // namespace platform
