#pragma once
// The window thread's loop on the Win32 message queue: posted tasks wake the thread through a message-only
// window, timers are window timers of that window, and every message of the thread's windows (the views,
// message boxes, menus) is dispatched by the same loop in arrival order, as a Windows program's own loop
// does. Create it on the window thread; only Post may be called from other threads.

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>

#include "platform/EventLoop.h"

struct HWND__;
struct tagMSG;

namespace platform {

class MessageLoopEventLoop final : public EventLoop {
 public:
  MessageLoopEventLoop();
  ~MessageLoopEventLoop() override;
  MessageLoopEventLoop(const MessageLoopEventLoop&) = delete;
  MessageLoopEventLoop& operator=(const MessageLoopEventLoop&) = delete;

  // Thread-safe; tasks run on the window thread in the order they were posted, whichever thread posted them.
  void Post(Task task) override;
  uint32_t TickCount() override;
  void ProcessMessages() override;
  // Sleeps in GetMessageW between messages. Ends early, leaving WM_QUIT queued for the outer loops, once
  // Quit has been asked for.
  void RunUntil(const std::function<bool()>& done) override;
  std::unique_ptr<LoopTimer> CreateTimer(Task onTick, uint32_t intervalMs) override;

  // Thread-safe. Ends every RunUntil of the loop, the outermost included (a console's Ctrl+C, the end of
  // the session).
  void Quit();
  bool QuitRequested() const { return quit_; }

  // Sees every message before it is dispatched and returns true when it handled it (keyboard navigation of
  // the windows, Escape); installed by the view.
  void SetPreTranslate(std::function<bool(tagMSG& msg)> hook);
  // Runs after every posted task and timer tick; the views redraw from the models there.
  void SetAfterEach(std::function<void()> hook);
  // Receives an error that escapes a posted task or a timer tick, which must not unwind through the
  // system's dispatch. Without a handler the error is dropped and the loop goes on.
  void SetErrorHandler(std::function<void(const std::exception&)> handler);

  class Timer;

 private:
  friend struct LoopWindow;
  // One message: the hook's, else translated and dispatched. Returns false on WM_QUIT.
  bool Handle(tagMSG& msg);
  void RunFrontTask();
  void FireTimer(uintptr_t id);
  void Run(const Task& handler);

  HWND__* window_ = nullptr;
  std::mutex mutex_;
  std::deque<Task> tasks_;
  // At most one wake-up message waits in the queue, so a flood of posts cannot fill the thread's queue.
  bool wakePending_ = false;
  std::map<uintptr_t, Timer*> timers_;
  uintptr_t nextTimerId_ = 1;
  bool quit_ = false;
  std::function<bool(tagMSG&)> preTranslate_;
  std::function<void()> afterEach_;
  std::function<void(const std::exception&)> onError_;
};

}  // namespace platform
