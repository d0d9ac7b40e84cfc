#pragma once
// The names under which the user picks a port, and the device paths behind them.

#include <map>
#include <string>
#include <vector>

namespace serial {

// The [Ports] section of program.ini: "COM1" -> "/dev/ttyUSB0". Names are matched without regard to case.
using PortMap = std::map<std::string, std::string>;

// "COMn" with n from 1 to 9 (any letter case) opens the path portMap gives it, else /dev/ttyS(n-1); any other
// name is a path already and is returned unchanged.
std::string ResolveDevicePath(const std::string& commName, const PortMap& portMap);

struct PortName {
  std::string Name;         // what the port list shows and CommName takes
  std::string Description;  // e.g. the USB adapter's maker and product; empty when the system says nothing
  std::string StableName;   // the /dev/serial/by-id path that names this adapter at every plug-in, or empty
};

// COM1 to COM9 first, then the serial devices present (USB adapters and modems), by path, sorted.
std::vector<PortName> ListPortNames();
// The same, looking for /dev and /sys under root (tests give a prepared folder).
std::vector<PortName> ListPortNames(const std::string& root);

}  // namespace serial
