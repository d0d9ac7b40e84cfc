#pragma once
// The read thread of an open port on Windows: keeps one overlapped read of up to 1024 bytes and one wait for
// line events outstanding, posts each chunk the driver completes (cut by the port's read interval) to the
// window thread, and reports line errors and carrier or ring changes.

#include <windows.h>

#include <thread>

#include "serial/win32/PortChannel.h"

namespace serial {

class TReadThread {
 public:
  static constexpr DWORD ChunkSize = 1024;

  // Starts at once. Throws std::system_error when no thread can be started.
  explicit TReadThread(PortChannel& channel);
  // Waits for the thread; the owner signals the channel's close event first.
  ~TReadThread();
  TReadThread(const TReadThread&) = delete;
  TReadThread& operator=(const TReadThread&) = delete;

 private:
  void Run();

  PortChannel& channel_;
  std::thread thread_;
};

}  // namespace serial
