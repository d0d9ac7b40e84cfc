#pragma once
// The window thread's message loop on top of Qt's: posted tasks and timers are Qt events, so the widgets, the
// serial notifications and the program's timers are all handled by one thread in arrival order.
// Create it on the GUI thread after the QApplication; the header stays free of Qt so the program's start-up
// code can hold one.

#include <exception>
#include <functional>
#include <memory>

#include "platform/EventLoop.h"

namespace gui {

class QtEventLoop final : public platform::EventLoop {
 public:
  QtEventLoop();
  ~QtEventLoop() override;
  QtEventLoop(const QtEventLoop&) = delete;
  QtEventLoop& operator=(const QtEventLoop&) = delete;

  // Thread-safe; tasks run on the GUI thread in the order they were posted, whichever thread posted them.
  void Post(platform::Task task) override;
  uint32_t TickCount() override;
  void ProcessMessages() override;
  // Sleeps in Qt's dispatcher between events, so a long modal showing or pause costs no processor time.
  void RunUntil(const std::function<bool()>& done) override;
  std::unique_ptr<platform::LoopTimer> CreateTimer(platform::Task onTick, uint32_t intervalMs) override;

  // Runs after every posted task and every timer tick; the views redraw from the models there.
  void SetAfterEach(std::function<void()> hook);
  // Receives an error that escapes a posted task or a timer tick, which must not unwind through Qt's event
  // dispatch. Without a handler the error is logged as a warning and the loop goes on.
  void SetErrorHandler(std::function<void(const std::exception&)> handler);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace gui
