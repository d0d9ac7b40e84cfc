#pragma once
// The serial number of the USB adapter behind a tty, as the kernel reports it, so that a batch can name each
// DTU after the cable it is plugged into.

#include <string>

namespace cli {

// The "serial" attribute of the USB device that carries the tty the path leads to (a device path or a link
// to one, as /dev/serial/by-id names are), looked up under sysRoot. Empty when the path is no USB tty or the
// device reports no serial number (a built-in port, a pseudo-terminal).
std::string AdapterSerial(const std::string& devicePath, const std::string& sysRoot = "/sys");

}  // namespace cli
