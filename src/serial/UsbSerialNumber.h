#pragma once
// The serial number of the USB adapter behind a port, so that a batch can name each DTU after the cable it is
// plugged into.

#include <string>

namespace serial {

// On Linux: the "serial" attribute of the USB device that carries the tty the path leads to (a device path or
// a link to one, as /dev/serial/by-id names are), looked up under sysRoot. On Windows: the serial number in
// the device instance id of the USB device above the port "COMn" or "\\.\COMn" (sysRoot is not used). Empty
// when the port is no USB adapter or the adapter reports no serial number (a built-in port, a
// pseudo-terminal, an adapter whose id Windows made up).
std::string UsbSerialNumber(const std::string& devicePath, const std::string& sysRoot);

}  // namespace serial
