#pragma once
// The write thread of an open port on Windows: takes write requests from its own queue in the order they were
// queued, writes each one completely with an overlapped write, and reports each time the queue runs empty.

#include <atomic>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "serial/win32/PortChannel.h"
#include "serial/win32/UniqueHandle.h"

namespace serial {

class TWriteThread {
 public:
  // Starts at once; the queue exists before the thread runs, so a request made right away is kept.
  // Throws std::system_error when no thread or no wake-up event can be had.
  explicit TWriteThread(PortChannel& channel);
  // Waits for the thread; the owner signals the channel's close event first. Requests not yet written are
  // dropped.
  ~TWriteThread();
  TWriteThread(const TWriteThread&) = delete;
  TWriteThread& operator=(const TWriteThread&) = delete;

  // Window thread. False once the thread has given up on the port; the bytes are then dropped.
  bool Queue(std::string bytes);

 private:
  void Run();
  void Serve(Overlapped& writing);
  std::optional<std::string> Take();
  bool WriteAll(Overlapped& writing, const std::string& bytes);

  PortChannel& channel_;
  UniqueHandle wake_;  // auto-reset: set by every Queue, so none is missed between a look and a wait
  std::mutex mutex_;
  std::deque<std::string> queue_;
  std::atomic<bool> ended_{false};
  std::thread thread_;
};

}  // namespace serial
