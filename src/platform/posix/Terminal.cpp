#include "platform/Terminal.h"

#include <langinfo.h>

namespace platform {

std::string TerminalCodeSet() { return nl_langinfo(CODESET); }

void UseBinaryStandardStreams() {}

}  // namespace platform
