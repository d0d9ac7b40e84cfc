#pragma once
// The serial number of the USB adapter behind a port, as the system reports it, so that a batch can name each
// DTU after the cable it is plugged into.

#include <string>

namespace cli {

// The USB adapter's serial number for a port of the command line (see serial::UsbSerialNumber; sysRoot
// stands for /sys on Linux). Empty when the port is no USB adapter or the adapter reports no serial number
// (a built-in port, a pseudo-terminal).
std::string AdapterSerial(const std::string& devicePath, const std::string& sysRoot = "/sys");

}  // namespace cli
