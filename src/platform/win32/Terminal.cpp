#include "platform/Terminal.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

namespace platform {

std::string TerminalCodeSet() {
  const UINT codePage = GetConsoleOutputCP();
  switch (codePage) {
    case 0:  // no console: the output goes to a file or a pipe, read by programs that expect UTF-8
    case CP_UTF8:
      return "UTF-8";
    case 936:
      return "CP936";
    case 54936:
      return "GB18030";
    default:
      return "CP" + std::to_string(codePage);
  }
}

void UseBinaryStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace platform
