#pragma once
// Opening a serial device for sole use, and the parts of its line that are not termios settings.

#include <string>

#include "platform/UniqueFd.h"
#include "serial/CommTypes.h"

namespace serial {

struct OpenedDevice {
  platform::UniqueFd fd;
  OpenFailure failure = OpenFailure::None;
};

// Non-blocking, not our controlling terminal, not inherited by children. Sole use is claimed twice: an
// exclusive flock (honoured by other tools, and by root, which TIOCEXCL does not stop) and TIOCEXCL (for
// tools that do not flock). Never returns descriptor 0, which the component reserves for "closed". A failure
// says why: the open's error, a lock held elsewhere (InUse), or a file that is no terminal.
OpenedDevice OpenSerialDevice(const std::string& path);

// Gives up the sole use and closes.
void CloseSerialDevice(platform::UniqueFd fd);

// Holds DTR and RTS as the properties say. Handshake modes leave the line to the driver but start it raised;
// the transmit-toggle mode has no Linux counterpart and rests low, as it would between transmissions.
// Failures (ENOTTY on a pseudo-terminal) are ignored.
void ApplyModemLines(int fd, TDtrControl dtr, TRtsControl rts);

// Discards what the driver holds in either direction; harmless on any descriptor.
void PurgePort(int fd);

}  // namespace serial
