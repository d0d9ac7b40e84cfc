#include "serial/win32/PortChannel.h"

#include <system_error>

namespace serial {

PortChannel::PortChannel(HANDLE port, CommNotifier& notifier)
    : port_(port), closeEvent_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), notifier_(notifier) {
  if (!closeEvent_.Valid()) {
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateEvent");
  }
}

void PortChannel::ReportHangup() {
  if (!hangupReported_.exchange(true)) notifier_.RequestHangup();
}

Overlapped::Overlapped() : event_(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {
  if (!event_.Valid()) {
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateEvent");
  }
  record_.hEvent = event_.Get();
}

void Overlapped::Settle(HANDLE port) {
  if (!outstanding_) return;
  // Cancelling what has completed meanwhile fails with ERROR_NOT_FOUND, and the wait below then returns at
  // once. Wine's PurgeComm does not end a pending read, so a worker never relies on the purge for this.
  ::CancelIoEx(port, &record_);
  DWORD transferred = 0;
  ::GetOverlappedResult(port, &record_, &transferred, TRUE);
  outstanding_ = false;
}

IoFailure ClassifyLastError() {
  switch (::GetLastError()) {
    case ERROR_IO_PENDING:
      return IoFailure::Pending;
    case ERROR_INVALID_HANDLE:
      return IoFailure::PortGone;
    default:
      return IoFailure::Failed;
  }
}

}  // namespace serial
