#pragma once
// The program's arguments as text the command line reads: on Linux the bytes main() was given (the
// terminal's encoding, UTF-8 on current systems); on Windows UTF-8 from the wide command line, since the
// argv main() gets holds only what the ANSI code page can.

#include <string>
#include <vector>

namespace platform {

// Without the program's own name.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace platform
