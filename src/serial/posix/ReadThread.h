#pragma once
// The read thread of an open port: waits without limit for the first byte, then gathers until 1024 bytes are
// in or the line has been quiet longer than ReadIntervalTimeout, and posts each chunk to the window thread.
// It also reports line errors and carrier or ring changes where the driver counts them.

#include <thread>

#include "serial/posix/PortChannel.h"

namespace serial {

class TReadThread {
 public:
  static constexpr size_t ChunkSize = 1024;

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
