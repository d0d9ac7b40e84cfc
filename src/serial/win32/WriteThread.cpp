#include "serial/win32/WriteThread.h"

#include <system_error>

namespace serial {

TWriteThread::TWriteThread(PortChannel& channel)
    : channel_(channel), wake_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  if (!wake_.Valid()) {
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateEvent");
  }
  thread_ = std::thread([this] { Run(); });
}

TWriteThread::~TWriteThread() {
  if (thread_.joinable()) thread_.join();
}

bool TWriteThread::Queue(std::string bytes) {
  if (ended_.load()) return false;
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(bytes));
  }
  return ::SetEvent(wake_.Get()) != FALSE;
}

std::optional<std::string> TWriteThread::Take() {
  std::lock_guard lock(mutex_);
  if (queue_.empty()) return std::nullopt;
  std::string next = std::move(queue_.front());
  queue_.pop_front();
  return next;
}

void TWriteThread::Run() {
  ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
  try {
    Overlapped writing;
    Serve(writing);
    ended_.store(true);
    writing.Settle(channel_.Port());
  } catch (const std::system_error&) {  // no event for the write
    ended_.store(true);
    channel_.ReportHangup();
  }
  ::PurgeComm(channel_.Port(), PURGE_TXABORT | PURGE_TXCLEAR);
}

void TWriteThread::Serve(Overlapped& writing) {
  bool notifyWhenEmpty = true;
  for (;;) {
    std::optional<std::string> request = Take();
    if (!request) {
      if (notifyWhenEmpty) channel_.Notifier().SendDataEmpty();
      notifyWhenEmpty = false;
      HANDLE waits[2] = {channel_.CloseEvent(), wake_.Get()};
      const DWORD result = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
      if (result == WAIT_OBJECT_0 + 1) continue;
      if (result != WAIT_OBJECT_0) channel_.ReportHangup();
      return;
    }
    if (channel_.Closing() || !WriteAll(writing, *request)) return;
    notifyWhenEmpty = true;
  }
}

bool TWriteThread::WriteAll(Overlapped& writing, const std::string& bytes) {
  const HANDLE port = channel_.Port();
  const DWORD size = static_cast<DWORD>(bytes.size());
  DWORD written = 0;
  if (!::WriteFile(port, bytes.data(), size, &written, writing.Record())) {
    switch (ClassifyLastError()) {
      case IoFailure::Pending:
        writing.Outstanding();
        break;
      case IoFailure::PortGone:
        return false;
      case IoFailure::Failed:
        channel_.ReportHangup();
        return false;
    }
    HANDLE waits[2] = {channel_.CloseEvent(), writing.Event()};
    const DWORD result = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    if (result == WAIT_OBJECT_0) return false;  // closing: the caller settles the write
    if (result != WAIT_OBJECT_0 + 1) {
      channel_.ReportHangup();
      return false;
    }
    ::SetLastError(ERROR_SUCCESS);
    writing.Completed();
    if (!::GetOverlappedResult(port, writing.Record(), &written, TRUE)) {
      if (ClassifyLastError() != IoFailure::PortGone) channel_.ReportHangup();
      return false;
    }
  }
  // A short write (a write time-out ran out) is a failure; the rest is never retried.
  if (written != size) {
    channel_.ReportHangup();
    return false;
  }
  return true;
}

}  // namespace serial
