#include "platform/StopRequests.h"

#include <windows.h>

#include <atomic>

namespace platform {
namespace {

constexpr int kInterrupt = 2;  // SIGINT
constexpr int kHangUp = 1;     // SIGHUP
// Windows ends the process five seconds after a close request at the latest; the run gets most of them.
constexpr DWORD kCloseGraceMs = 4500;

std::atomic<int> pending{0};
HANDLE runEnded = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
  const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
  // A second request is left to the system's own handler, which ends the program at once.
  int expected = 0;
  if (!pending.compare_exchange_strong(expected, interrupt ? kInterrupt : kHangUp)) return FALSE;
  // The handler runs on a thread of its own; after a close it must not return before the run has ended.
  if (!interrupt) WaitForSingleObject(runEnded, kCloseGraceMs);
  return TRUE;
}

}  // namespace

StopRequests::StopRequests() {
  pending.store(0);
  runEnded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

StopRequests::~StopRequests() {
  SetEvent(runEnded);
  SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
  // A handler thread may still be between its wait and its return; the event stays for it.
}

int StopRequests::Pending() { return pending.load(std::memory_order_relaxed); }

}  // namespace platform
