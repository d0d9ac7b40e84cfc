#pragma once
// SIGTERM (a logout, a shutdown, kill) and SIGHUP (the session went away) close the window as File > Exit
// does, so that program.ini is saved, instead of ending the program with the user's changes unsaved. The
// handler only writes a byte to a pipe; Qt's loop sees the pipe and runs the close on the window thread,
// without a timer that would wake an idle window.

#include <signal.h>

#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "platform/UniqueFd.h"

namespace gui {

class CloseOnSignals {
 public:
  // close runs on the window thread once per signal. The handlers reset themselves: a second signal ends
  // the program at once, should the close hang.
  explicit CloseOnSignals(std::function<void()> close);
  ~CloseOnSignals();
  CloseOnSignals(const CloseOnSignals&) = delete;
  CloseOnSignals& operator=(const CloseOnSignals&) = delete;

 private:
  platform::UniqueFd readEnd_;
  platform::UniqueFd writeEnd_;
  std::unique_ptr<QSocketNotifier> notifier_;
  struct sigaction oldTerm_ {};
  struct sigaction oldHup_ {};
};

}  // namespace gui
