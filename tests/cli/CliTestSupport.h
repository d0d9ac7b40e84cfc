#pragma once
// Running the command line for tests: in this process (RunCommandLine with its output captured), as the
// built program in a child process, or as a TBatchRun on a loop of the test's choosing.

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "main/BatchRun.h"
#include "platform/EventLoop.h"

namespace cli_testing {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// RunCommandLine("dtu-config", args...) with standard output and error captured.
CliResult RunInProcess(const std::vector<std::string>& args);

// The built dtu-config with args; whileRunning (if any) is called with the child's id once it started.
// Standard output goes to stdoutFile when one is named (opened for appending, as >> would), and out stays
// empty.
CliResult RunChild(const std::vector<std::string>& args, const std::function<void(pid_t)>& whileRunning = {},
                   const std::string& stdoutFile = {});

// A TBatchRun on the given loop, its output collected in memory.
CliResult RunBatch(platform::EventLoop& loop, const cli::CliOptions& options);

// The line in text that starts with prefix, or empty.
std::string LineStartingWith(const std::string& text, const std::string& prefix);

}  // namespace cli_testing
