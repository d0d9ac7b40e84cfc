#include "serial/posix/PortDevice.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace serial {
namespace {

OpenFailure FailureOfOpen(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return OpenFailure::PermissionDenied;
    case EBUSY:  // TIOCEXCL set by another program
      return OpenFailure::InUse;
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case EIO:  // a ttyS name with no UART behind it
      return OpenFailure::NoSuchDevice;
    default:
      return OpenFailure::Other;
  }
}

}  // namespace

OpenedDevice OpenSerialDevice(const std::string& path) {
  OpenedDevice result;
  platform::UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd.Get() == 0) {
    // Possible when the process started with stdin closed; 0 would read as "no port" to the owner. The copy
    // is made before the owner lets 0 go, and 0 is closed only there: a second close could hit a descriptor
    // another thread has just been given.
    fd.Reset(::fcntl(0, F_DUPFD_CLOEXEC, 1));
  }
  if (!fd.Valid()) {
    result.failure = FailureOfOpen(errno);
    return result;
  }
  if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
    result.failure = errno == EWOULDBLOCK ? OpenFailure::InUse : OpenFailure::Other;
    return result;
  }
  if (!::isatty(fd.Get())) {
    result.failure = OpenFailure::NotATerminal;
    return result;
  }
  ::ioctl(fd.Get(), TIOCEXCL);
  result.fd = std::move(fd);
  return result;
}

void CloseSerialDevice(platform::UniqueFd fd) {
  if (!fd.Valid()) return;
  ::ioctl(fd.Get(), TIOCNXCL);
  // Anything still waiting to be sent is dropped, so close() cannot wait for a line that never drains.
  ::tcflush(fd.Get(), TCIOFLUSH);
  fd.Reset();  // closing also releases the flock
}

void ApplyModemLines(int fd, TDtrControl dtr, TRtsControl rts) {
  int raise = 0;
  int drop = 0;
  (dtr == TDtrControl::DtrDisable ? drop : raise) |= TIOCM_DTR;
  (rts == TRtsControl::RtsDisable || rts == TRtsControl::RtsTransmissionAvailable ? drop : raise) |=
      TIOCM_RTS;
  if (raise != 0) ::ioctl(fd, TIOCMBIS, &raise);
  if (drop != 0) ::ioctl(fd, TIOCMBIC, &drop);
}

void PurgePort(int fd) { ::tcflush(fd, TCIOFLUSH); }

}  // namespace serial
