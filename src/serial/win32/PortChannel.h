#pragma once
// What the component shares with its worker threads while a port is open on Windows: the port handle, the
// close event, and the way back to the window thread; and the pieces of overlapped I/O both workers use.
// Nothing here touches the component's properties.

#include <windows.h>

#include <atomic>

#include "serial/CommNotifier.h"
#include "serial/win32/UniqueHandle.h"

namespace serial {

class PortChannel {
 public:
  // Uses the open port, which stays open while the channel lives; creates and owns the close event (manual
  // reset, not signalled). Throws std::system_error when no event can be had.
  PortChannel(HANDLE port, CommNotifier& notifier);

  HANDLE Port() const { return port_; }
  HANDLE CloseEvent() const { return closeEvent_.Get(); }
  CommNotifier& Notifier() const { return notifier_; }

  // Window thread: every later wait of both workers on the close event returns at once.
  void SignalClose() { ::SetEvent(closeEvent_.Get()); }
  bool Closing() const { return ::WaitForSingleObject(closeEvent_.Get(), 0) == WAIT_OBJECT_0; }

  // A port that has gone away is reported once per open, whichever worker finds out first.
  void ReportHangup();

 private:
  HANDLE port_;
  UniqueHandle closeEvent_;
  CommNotifier& notifier_;
  std::atomic<bool> hangupReported_{false};
};

// One overlapped operation at a time with its own event (manual reset, created signalled).
class Overlapped {
 public:
  // Throws std::system_error when no event can be had.
  Overlapped();
  Overlapped(const Overlapped&) = delete;
  Overlapped& operator=(const Overlapped&) = delete;

  OVERLAPPED* Record() { return &record_; }
  HANDLE Event() const { return event_.Get(); }

  // The call made with the record is outstanding (it failed with ERROR_IO_PENDING), or its result has been
  // taken. Only an outstanding operation is settled: the record of a call that failed at once may still read
  // as pending to Windows, and waiting for it would never end.
  void Outstanding() { outstanding_ = true; }
  void Completed() { outstanding_ = false; }
  // Ends an outstanding operation on port and waits until the driver has let go of the record, so that the
  // record and the buffer behind it may be reused or released.
  void Settle(HANDLE port);

 private:
  UniqueHandle event_;
  OVERLAPPED record_{};
  bool outstanding_ = false;
};

// What a worker makes of an asynchronous call that did not succeed at once, by the thread's last error.
enum class IoFailure {
  Pending,   // ERROR_IO_PENDING: outstanding; wait for its event
  PortGone,  // ERROR_INVALID_HANDLE: the port handle is gone; end silently
  Failed,    // anything else: the port is lost
};
IoFailure ClassifyLastError();

}  // namespace serial
