#pragma once
// Requests from outside to stop the running program, taken as a flag that the program looks at between
// events, so that it closes its ports, ends their threads and finishes its report on its own thread. On Linux
// these are SIGINT, SIGTERM and SIGHUP (the terminal went away), and a reader that goes away (dtu-config read
// | head) no longer kills the program (SIGPIPE is ignored). On Windows they are Ctrl+C, Ctrl+Break (SIGINT)
// and the console window closing, the user logging off or the system shutting down (SIGHUP); for the latter
// Windows ends the process once the handler returns, so the handler waits, for at most a few seconds, until
// the run has ended and destroyed its StopRequests. A second request ends the program at once on both.

namespace platform {

class StopRequests {
 public:
  // Takes the requests over for the lifetime of this object; one at a time.
  StopRequests();
  // Gives them back as they were.
  ~StopRequests();
  StopRequests(const StopRequests&) = delete;
  StopRequests& operator=(const StopRequests&) = delete;

  // The signal number Linux gives the first request (SIGINT 2, SIGHUP 1, SIGTERM 15), or 0 while none came;
  // the run's exit status is 128 plus it on both systems. Safe from any thread.
  static int Pending();
};

}  // namespace platform
