#pragma once
// The command line: one device action (read, write, defaults) on one or more ports without a window.

namespace cli {

// Returns the process exit status: 0 when every port ended with the success message, 1 when any failed,
// 2 for a usage error.
int RunCommandLine(int argc, char** argv);

}  // namespace cli
