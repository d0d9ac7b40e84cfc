#pragma once
// What the tool has set on its end of a pseudo-terminal, read through the master. Kept apart from <termios.h>
// because the kernel's own termios2 (needed for custom rates such as 14400) clashes with glibc's.

#include <cstdint>
#include <optional>

namespace dtusim {

struct SlaveLineSettings {
  uint32_t baudRate = 0;
  bool twoStopBits = false;
  // A pseudo-terminal forces 8 data bits and clears the parity enable, so only the odd-parity flag survives.
  bool oddParity = false;
  // The slave's line discipline echoes what the DTU sends while the tool has not made the line raw.
  bool echoes = false;
};

// Reads the slave's settings through the master descriptor; nothing when the ioctl fails.
std::optional<SlaveLineSettings> ReadSlaveLineSettings(int masterFd);

}  // namespace dtusim
