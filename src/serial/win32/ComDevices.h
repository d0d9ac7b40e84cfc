#pragma once
// The serial ports Windows knows: the devices of the Ports class (Device Manager's "Ports (COM & LPT)"), the
// devices that offer the COM port interface (USB modems), and the names drivers without such a device enter
// under HARDWARE\DEVICEMAP\SERIALCOMM (Wine's ports among them).

#include <windows.h>
// After windows.h, which it needs.
#include <cfgmgr32.h>

#include <string>
#include <vector>

namespace serial {

struct ComDevice {
  std::string portName;     // "COM5"
  std::string description;  // "USB Serial Port", without the "(COM5)" Windows adds; may be empty
  DEVINST node = 0;         // the device, for a walk up the device tree; 0 for a SERIALCOMM name alone
};

// Present devices first, then the SERIALCOMM names no device has; LPT ports are left out.
std::vector<ComDevice> ListComDevices();

// Text from the system in the program's code page (936, GBK), as every string of the program holds it.
std::string Narrow(const std::wstring& text);

}  // namespace serial
