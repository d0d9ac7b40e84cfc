#include "main/CommandLine.h"

#include <cstdio>

namespace cli {

int RunCommandLine(int, char**) {
  std::fputs("usage: dtu-config [read|write|defaults] --port DEVICE ...\n", stderr);
  return 2;
}

}  // namespace cli
