#pragma once
// The open port behind TComm: the device, its line and its two worker threads. Each system has its own
// (posix/, win32/), chosen by the build; TComm sees only this.

#include <cstdint>
#include <memory>
#include <string>

#include "serial/CommNotifier.h"
#include "serial/LineRequest.h"

namespace serial {

class CommPort {
 public:
  // Opens path for sole use, discards what the driver still holds, applies the time-outs and then the line,
  // and starts the read thread and then the write thread, which report through notifier. Throws ECommsError
  // with one of the component's fixed messages; a failed open leaves nothing open and nothing running.
  static std::unique_ptr<CommPort> Open(const std::string& path, const LineRequest& line,
                                        const CommTimeouts& timeouts, CommNotifier& notifier);

  // Stops both workers, promptly even while a write is stuck on the line, then closes the device.
  virtual ~CommPort() = default;

  // The system's number for the open device; never 0.
  virtual uint32_t Handle() const = 0;
  // Settings the driver rejects are not reported: the line keeps what it accepted.
  virtual void ApplyLine(const LineRequest& line) = 0;
  virtual void ApplyTimeouts(const CommTimeouts& timeouts) = 0;
  // Queues the bytes for the write thread and returns at once; false once that thread has given up.
  virtual bool Write(std::string bytes) = 0;
};

}  // namespace serial
