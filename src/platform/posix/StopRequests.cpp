#include "platform/StopRequests.h"

#include <atomic>
#include <csignal>

namespace platform {
namespace {

std::atomic<int> pendingSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler may only touch a lock-free atomic");

extern "C" void OnStopSignal(int signal) { pendingSignal.store(signal, std::memory_order_relaxed); }

struct SavedActions {
  struct sigaction interrupt {};
  struct sigaction terminate {};
  struct sigaction hangUp {};
  struct sigaction pipe {};
} saved;

}  // namespace

StopRequests::StopRequests() {
  pendingSignal.store(0);
  // The handler resets itself: a second Ctrl+C ends the program at once.
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(SIGINT, &action, &saved.interrupt);
  sigaction(SIGTERM, &action, &saved.terminate);
  sigaction(SIGHUP, &action, &saved.hangUp);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, &saved.pipe);
}

StopRequests::~StopRequests() {
  sigaction(SIGINT, &saved.interrupt, nullptr);
  sigaction(SIGTERM, &saved.terminate, nullptr);
  sigaction(SIGHUP, &saved.hangUp, nullptr);
  sigaction(SIGPIPE, &saved.pipe, nullptr);
}

int StopRequests::Pending() { return pendingSignal.load(std::memory_order_relaxed); }

}  // namespace platform
