#pragma once
// Sets a pseudo-terminal slave up as the tool sets its port: raw, with a chosen rate (custom ones included),
// stop bits and parity. Kept apart from <termios.h> for the kernel's termios2.

#include <cstdint>

namespace simtest {

// Returns false when the ioctl fails.
bool SetSlaveLine(int fd, uint32_t baudRate, bool twoStopBits = false, bool oddParity = false);

}  // namespace simtest
