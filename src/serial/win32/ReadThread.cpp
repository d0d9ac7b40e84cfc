#include "serial/win32/ReadThread.h"

#include <iterator>
#include <string>
#include <system_error>

#include "serial/CommTypes.h"

namespace serial {
namespace {

// The line events asked for, widest first. Wine on a pseudo-terminal refuses a wait that includes carrier
// or ring (ERROR_NOT_SUPPORTED) and ends one for line errors alone at once as aborted; the reader then asks
// for less, and in the end only for the bytes, which it always gets from the outstanding read.
constexpr DWORD kLineEventMasks[] = {EV_RLSD | EV_ERR | EV_RING, EV_ERR};

// The loop of one read thread. Each Start... keeps its operation outstanding (true) or says the thread must
// end (false), having reported what ended it.
class Reader {
 public:
  explicit Reader(PortChannel& channel) : channel_(channel), port_(channel.Port()) {}

  ~Reader() {
    // Nothing the driver still holds may point into this object once it is gone. An event wait is ended by
    // clearing the mask, as Windows documents it; Wine does not find such a wait to cancel on a real tty and
    // ends it only this way.
    reading_.Settle(port_);
    ::SetCommMask(port_, 0);
    waiting_.Settle(port_);
    channel_.Notifier().FlushData();
  }

  void Run() {
    if (!WatchLine(0) || !StartRead()) return;
    for (;;) {
      HANDLE waits[3] = {channel_.CloseEvent(), waiting_.Event(), reading_.Event()};
      if (!watching_) waits[1] = reading_.Event();
      const DWORD count = watching_ ? 3 : 2;
      FlushHeldBack();
      // The lowest index wins among signalled objects, so a close always comes first.
      const DWORD result = ::WaitForMultipleObjects(count, waits, FALSE, INFINITE);
      if (result == WAIT_OBJECT_0) return;
      if (result == WAIT_OBJECT_0 + count - 1) {
        DWORD received = 0;
        reading_.Completed();
        if (!::GetOverlappedResult(port_, reading_.Record(), &received, FALSE)) return Stop();
        if (!HandOver(received) || !StartRead()) return;
      } else if (result == WAIT_OBJECT_0 + 1) {
        if (!LineEventCompleted()) return;
      } else {
        return channel_.ReportHangup();
      }
    }
  }

 private:
  enum class EventWait { Outstanding, Unsupported, End };

  // Applies the common rule to the last error of a call that did not complete: the thread ends, having
  // reported a lost port unless the handle itself is gone.
  void Stop() {
    if (ClassifyLastError() == IoFailure::Failed) channel_.ReportHangup();
  }

  bool StartRead() {
    for (;;) {
      if (channel_.Closing()) return false;
      DWORD count = 0;
      if (!::ReadFile(port_, buffer_, TReadThread::ChunkSize, &count, reading_.Record())) {
        if (ClassifyLastError() == IoFailure::Pending) {
          reading_.Outstanding();
          return true;
        }
        Stop();
        return false;
      }
      // Completed at once: handed over, and the next read issued without waiting.
      if (!HandOver(count)) return false;
    }
  }

  // A read never completes empty while the time-outs make it wait for its first byte; one that does all the
  // same hands nothing to the window and is simply issued again.
  bool HandOver(DWORD count) {
    if (count == 0) return true;
    channel_.Notifier().ReceiveData(std::string(buffer_, count));
    // A line that never pauses still reaches the window every few chunks.
    if (++heldBack_ == kMaxHeldBack) FlushHeldBack();
    return true;
  }

  void FlushHeldBack() {
    if (heldBack_ == 0) return;
    channel_.Notifier().FlushData();
    heldBack_ = 0;
  }

  // Asks for the line events of kLineEventMasks[level] and keeps a wait for them outstanding, going down
  // the list where the port will not have them; with none left the thread reads only. False: end.
  bool WatchLine(size_t level) {
    for (watching_ = false; level < std::size(kLineEventMasks); ++level) {
      if (!::SetCommMask(port_, kLineEventMasks[level])) {
        if (::GetLastError() == ERROR_NOT_SUPPORTED) continue;
        Stop();
        return false;
      }
      switch (StartEventWait()) {
        case EventWait::Outstanding:
          level_ = level;
          watching_ = true;
          return true;
        case EventWait::Unsupported:
          continue;
        case EventWait::End:
          return false;
      }
    }
    return true;
  }

  EventWait StartEventWait() {
    for (;;) {
      if (channel_.Closing()) return EventWait::End;
      eventMask_ = 0;
      if (!::WaitCommEvent(port_, &eventMask_, waiting_.Record())) {
        if (ClassifyLastError() == IoFailure::Pending) {
          waiting_.Outstanding();
          return EventWait::Outstanding;
        }
        if (::GetLastError() == ERROR_NOT_SUPPORTED) return EventWait::Unsupported;
        Stop();
        return EventWait::End;
      }
      if (!HandleLineEvent()) return EventWait::End;
    }
  }

  bool LineEventCompleted() {
    DWORD unused = 0;
    waiting_.Completed();
    if (!::GetOverlappedResult(port_, waiting_.Record(), &unused, FALSE)) {
      // Wine ends a wait it cannot serve on a pseudo-terminal as aborted; nobody else cancels it while the
      // port is open.
      if (::GetLastError() == ERROR_OPERATION_ABORTED && !channel_.Closing()) return WatchLine(level_ + 1);
      Stop();
      return false;
    }
    if (!HandleLineEvent()) return false;
    switch (StartEventWait()) {
      case EventWait::Outstanding:
        return true;
      case EventWait::Unsupported:
        return WatchLine(level_ + 1);
      case EventWait::End:
        break;
    }
    return false;
  }

  bool HandleLineEvent() {
    bool handled = false;
    if (eventMask_ & EV_ERR) {
      DWORD errors = 0;
      if (!::ClearCommError(port_, &errors, nullptr)) {
        Stop();
        return false;
      }
      channel_.Notifier().ReceiveError(errors);
      handled = true;
    }
    const uint32_t modem =
        ((eventMask_ & EV_RLSD) ? ModemCarrierChanged : 0) | ((eventMask_ & EV_RING) ? ModemRing : 0);
    if (modem != 0) {
      channel_.Notifier().ModemStateChange(modem);
      handled = true;
    }
    if (!handled) channel_.ReportHangup();
    return handled;
  }

  static constexpr int kMaxHeldBack = 8;

  PortChannel& channel_;
  HANDLE port_;
  Overlapped reading_;
  Overlapped waiting_;
  char buffer_[TReadThread::ChunkSize];
  DWORD eventMask_ = 0;
  size_t level_ = 0;
  bool watching_ = false;
  int heldBack_ = 0;
};

}  // namespace

TReadThread::TReadThread(PortChannel& channel) : channel_(channel), thread_([this] { Run(); }) {}

TReadThread::~TReadThread() {
  if (thread_.joinable()) thread_.join();
}

void TReadThread::Run() {
  ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  try {
    Reader reader(channel_);
    reader.Run();
  } catch (const std::system_error&) {  // no event for the read or the event wait
    channel_.ReportHangup();
  }
  // Whatever the driver still holds for a reader that has gone is dropped.
  ::PurgeComm(channel_.Port(), PURGE_RXABORT | PURGE_RXCLEAR);
}

}  // namespace serial
