#pragma once
// The write thread of an open port: takes write requests from its own queue in the order they were queued,
// writes each one completely, and reports each time the queue runs empty.

#include <atomic>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/UniqueFd.h"
#include "serial/posix/PortChannel.h"

namespace serial {

class TWriteThread {
 public:
  // Starts at once; the queue exists before the thread runs, so a request made right away is kept.
  // Throws std::system_error when no thread or no wake-up descriptor can be had.
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
  std::optional<std::string> Take();
  bool WriteAll(const std::string& bytes);

  PortChannel& channel_;
  platform::UniqueFd wake_;
  std::mutex mutex_;
  std::deque<std::string> queue_;
  std::atomic<bool> ended_{false};
  std::thread thread_;
};

}  // namespace serial
