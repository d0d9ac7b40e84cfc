// dtu-config built without the Qt window (the sanitizer builds): the command line alone.

#include <cstdio>

#include "main/CommandLine.h"

int main(int argc, char** argv) {
  if (argc > 1) return cli::RunCommandLine(argc, argv);
  std::fputs("dtu-config: this build has no window; see dtu-config --help\n", stderr);
  return 2;
}
