#include "gui/CloseOnSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace gui {
namespace {

// Where the handler writes; one window, so one pipe for the process.
std::atomic<int> signalPipe{-1};

extern "C" void OnCloseSignal(int) {
  const int saved = errno;
  const char byte = 1;
  const int fd = signalPipe.load(std::memory_order_relaxed);
  if (fd >= 0) {
    [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
  }
  errno = saved;
}

}  // namespace

CloseOnSignals::CloseOnSignals(std::function<void()> close) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;  // the window still works, only unsaved on a signal
  readEnd_.Reset(ends[0]);
  writeEnd_.Reset(ends[1]);
  notifier_ = std::make_unique<QSocketNotifier>(readEnd_.Get(), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                   [this, close = std::move(close)] {
                     char bytes[16];
                     while (read(readEnd_.Get(), bytes, sizeof bytes) > 0) {
                     }
                     close();
                   });
  signalPipe.store(writeEnd_.Get());
  struct sigaction action {};
  action.sa_handler = OnCloseSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(SIGTERM, &action, &oldTerm_);
  sigaction(SIGHUP, &action, &oldHup_);
}

CloseOnSignals::~CloseOnSignals() {
  if (!writeEnd_.Valid()) return;
  sigaction(SIGTERM, &oldTerm_, nullptr);
  sigaction(SIGHUP, &oldHup_, nullptr);
  signalPipe.store(-1);
}

}  // namespace gui
