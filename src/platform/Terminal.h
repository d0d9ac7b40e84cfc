#pragma once
// The terminal the command line writes to.

#include <string>

namespace platform {

// The code set of the terminal's text, as Linux names it (nl_langinfo(CODESET) of the locale in force: call
// setlocale(LC_ALL, "") first). On Windows from the console's output code page: "CP936" for 936, "GB18030"
// for 54936, "UTF-8" for 65001 and without a console, else "CP<number>".
std::string TerminalCodeSet();

// Standard input, output and error carry bytes as they are. Windows would otherwise turn each "\n" into
// "\r\n" on the way out; Linux never does.
void UseBinaryStandardStreams();

}  // namespace platform
