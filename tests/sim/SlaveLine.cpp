#include "SlaveLine.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace simtest {

bool SetSlaveLine(int fd, uint32_t baudRate, bool twoStopBits, bool oddParity) {
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0) return false;
  tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
  tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | CSIZE | CSTOPB | PARENB | PARODD);
  tio.c_cflag |= BOTHER | CS8 | CREAD | CLOCAL;
  if (twoStopBits) tio.c_cflag |= CSTOPB;
  if (oddParity) tio.c_cflag |= PARENB | PARODD;
  tio.c_ispeed = tio.c_ospeed = baudRate;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  return ioctl(fd, TCSETS2, &tio) == 0;
}

}  // namespace simtest
