#pragma once
// The names under which the user picks a port, and the device paths behind them.

#include <map>
#include <string>
#include <vector>

namespace serial {

// The [Ports] section of program.ini: "COM1" -> "/dev/ttyUSB0". Names are matched without regard to case.
using PortMap = std::map<std::string, std::string>;

// On Linux "COMn" with n from 1 to 9 (any letter case) opens the path portMap gives it, else /dev/ttyS(n-1).
// On Windows "COMn" with n from 1 to 256 opens "\\.\COMn" (the only form that reaches COM10 and above),
// after portMap has had its say. Any other name is a path already and is returned unchanged.
std::string ResolveDevicePath(const std::string& commName, const PortMap& portMap);

// Whether the device a resolved path names is there now: on Linux a device file, on Windows a DOS device
// name ("\\.\COM3") the system knows or a file.
bool DevicePresent(const std::string& devicePath);

struct PortName {
  std::string Name;         // what the port list shows and CommName takes
  std::string Description;  // e.g. the USB adapter's maker and product; empty when the system says nothing
  // The /dev/serial/by-id path that names this adapter at every plug-in, or empty. Always empty on Windows,
  // which gives an adapter the same COM number at every plug-in.
  std::string StableName;
};

// COM1 to COM9 first, then the other ports the system knows. On Linux: the serial devices present (USB
// adapters and modems), by path, sorted. On Windows: the COM ports beyond COM9, by number, then the ports a
// driver names otherwise, as device paths ("\\.\CNCA0"); every port Windows describes (Device Manager's
// name for it) carries that description, COM1 to COM9 included.
std::vector<PortName> ListPortNames();

}  // namespace serial
