#pragma once
// The workers' only way to report to the window thread.

#include <cstdint>
#include <string>

namespace serial {

// Every call returns at once; calls from one thread arrive on the window thread in the order they were made.
class CommNotifier {
 public:
  virtual ~CommNotifier() = default;
  // Held back until the next FlushData or any other report, so that a fast line wakes the window thread once
  // for several chunks; the reader flushes before every wait.
  virtual void ReceiveData(std::string bytes) = 0;
  virtual void FlushData() = 0;
  virtual void ReceiveError(uint32_t errorFlags) = 0;
  virtual void ModemStateChange(uint32_t modemBits) = 0;
  virtual void RequestHangup() = 0;
  virtual void SendDataEmpty() = 0;
};

}  // namespace serial
