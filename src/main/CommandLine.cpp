#include "main/CommandLine.h"

#include <atomic>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "lang/Version.h"
#include "main/BatchRun.h"
#include "main/CliOptions.h"
#include "main/Console.h"
#include "platform/RealTimeEventLoop.h"

namespace cli {
namespace {

std::atomic<int> pendingSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler may only touch a lock-free atomic");

extern "C" void OnStopSignal(int signal) { pendingSignal.store(signal, std::memory_order_relaxed); }

// SIGINT, SIGTERM and SIGHUP (the terminal went away) only raise a flag that the run looks at between
// events, so the ports are closed, their threads ended and the report finished on the loop's thread. The
// handler resets itself: a second Ctrl+C ends the program at once. A reader that goes away (dtu-config read |
// head) must not kill the program with a port open.
class StopSignals {
 public:
  StopSignals() {
    pendingSignal.store(0);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, &oldInt_);
    sigaction(SIGTERM, &action, &oldTerm_);
    sigaction(SIGHUP, &action, &oldHup_);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &oldPipe_);
  }
  ~StopSignals() {
    sigaction(SIGINT, &oldInt_, nullptr);
    sigaction(SIGTERM, &oldTerm_, nullptr);
    sigaction(SIGHUP, &oldHup_, nullptr);
    sigaction(SIGPIPE, &oldPipe_, nullptr);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

 private:
  struct sigaction oldInt_ {};
  struct sigaction oldTerm_ {};
  struct sigaction oldHup_ {};
  struct sigaction oldPipe_ {};
};

// The user's locale for the time of the run, for the terminal's code set; the caller's comes back after.
class UserLocale {
 public:
  UserLocale() {
    const char* current = std::setlocale(LC_ALL, nullptr);
    if (current != nullptr) old_ = current;
    std::setlocale(LC_ALL, "");
  }
  ~UserLocale() {
    if (!old_.empty()) std::setlocale(LC_ALL, old_.c_str());
  }
  UserLocale(const UserLocale&) = delete;
  UserLocale& operator=(const UserLocale&) = delete;

 private:
  std::string old_;
};

// The help or version text; an output that cannot take it is an error like any other (no port is open yet).
int Print(const std::string& text) {
  errno = 0;
  if (std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "dtu-config: cannot write standard output: %s\n",
                 std::strerror(errno != 0 ? errno : EIO));
    return 2;
  }
  return 0;
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParseResult parsed = ParseArguments(args);
  if (std::holds_alternative<HelpRequest>(parsed)) return Print(UsageText());
  if (std::holds_alternative<VersionRequest>(parsed))
    return Print("dtu-config " + lang::GetAppVersion() + "\n");
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    std::fprintf(stderr, "dtu-config: %s\n%s", error->message.c_str(), UsageText());
    return 2;
  }
  const CliOptions& options = std::get<CliOptions>(parsed);

  const UserLocale locale;
  Console console(stdout, stderr, TerminalCodeOfLocale());
  const StopSignals signals;
  platform::RealTimeEventLoop loop;
  TBatchRun run(loop, options, console);
  return run.Run([] { return pendingSignal.load(std::memory_order_relaxed); });
}

}  // namespace cli
