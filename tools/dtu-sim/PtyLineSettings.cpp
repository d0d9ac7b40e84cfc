#include "PtyLineSettings.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace dtusim {
namespace {

// Standard rates as the old Bxxx codes; used only when the kernel left the plain speed fields empty.
uint32_t RateOfCode(unsigned code) {
  switch (code) {
    case B300:
      return 300;
    case B600:
      return 600;
    case B1200:
      return 1200;
    case B2400:
      return 2400;
    case B4800:
      return 4800;
    case B9600:
      return 9600;
    case B19200:
      return 19200;
    case B38400:
      return 38400;
    case B57600:
      return 57600;
    case B115200:
      return 115200;
    case B230400:
      return 230400;
    default:
      return 0;
  }
}

}  // namespace

std::optional<SlaveLineSettings> ReadSlaveLineSettings(int masterFd) {
  struct termios2 tio {};
  // On a master, the terminal ioctls act on the slave's settings.
  if (ioctl(masterFd, TCGETS2, &tio) != 0) return std::nullopt;
  SlaveLineSettings line;
  line.baudRate = tio.c_ospeed != 0 ? tio.c_ospeed : RateOfCode(tio.c_cflag & CBAUD);
  line.twoStopBits = (tio.c_cflag & CSTOPB) != 0;
  line.oddParity = (tio.c_cflag & PARODD) != 0;
  line.echoes = (tio.c_lflag & ECHO) != 0;
  return line;
}

}  // namespace dtusim
