#include "main/CommandLine.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "lang/Version.h"
#include "main/BatchRun.h"
#include "main/CliOptions.h"
#include "main/Console.h"
#include "platform/ProgramArguments.h"
#include "platform/RealTimeEventLoop.h"
#include "platform/StopRequests.h"
#include "platform/Terminal.h"

namespace cli {
namespace {

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
  const std::vector<std::string> args = platform::ProgramArguments(argc, argv);
  const ParseResult parsed = ParseArguments(args);
  if (std::holds_alternative<HelpRequest>(parsed)) return Print(UsageText());
  if (std::holds_alternative<VersionRequest>(parsed))
    return Print("dtu-config " + lang::GetAppVersion() + "\n");
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    std::fprintf(stderr, "dtu-config: %s\n%s", error->message.c_str(), UsageText());
    return 2;
  }
  const CliOptions& options = std::get<CliOptions>(parsed);
  platform::UseBinaryStandardStreams();

  const UserLocale locale;
  Console console(stdout, stderr, TerminalCodeOfLocale());
  const platform::StopRequests stopRequests;
  platform::RealTimeEventLoop loop;
  TBatchRun run(loop, options, console);
  return run.Run([] { return platform::StopRequests::Pending(); });
}

}  // namespace cli
