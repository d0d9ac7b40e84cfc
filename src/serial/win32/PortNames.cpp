#include "serial/PortNames.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "platform/FilePath.h"
#include "serial/ComName.h"
#include "serial/win32/ComDevices.h"

namespace serial {

std::string ResolveDevicePath(const std::string& commName, const PortMap& portMap) {
  std::string name = commName;
  if (ComNumber(name, 256) != 0) {
    for (const auto& [key, path] : portMap) {
      if (EqualNoCase(key, commName) && !path.empty()) name = path;
    }
  }
  return ComNumber(name, 256) != 0 ? "\\\\.\\" + name : name;
}

bool DevicePresent(const std::string& devicePath) {
  // A device namespace path is no file: the system knows the device when it can say what the name maps to.
  const std::string prefix = "\\\\.\\";
  if (devicePath.rfind(prefix, 0) == 0) {
    const std::string name = devicePath.substr(prefix.size());
    std::wstring wide(name.begin(), name.end());
    wchar_t target[1024];
    return ::QueryDosDeviceW(wide.c_str(), target, static_cast<DWORD>(std::size(target))) != 0;
  }
  std::error_code error;
  return std::filesystem::exists(platform::NativePath(devicePath), error);
}

std::vector<PortName> ListPortNames() {
  const std::vector<ComDevice> devices = ListComDevices();
  std::vector<PortName> names;
  for (int n = 1; n <= 9; ++n) names.push_back({"COM" + std::to_string(n), {}, {}});
  std::vector<PortName> beyond;
  for (const ComDevice& device : devices) {
    const int number = ComNumber(device.portName, 256);
    if (number >= 1 && number <= 9) {
      names[static_cast<size_t>(number - 1)].Description = device.description;
      continue;
    }
    // A name beyond COM256 or of a driver's own ("CNCA0") is reached only as a device path.
    beyond.push_back({number != 0 ? device.portName : "\\\\.\\" + device.portName, device.description, {}});
  }
  // By number, so that COM10 follows COM9 rather than COM1; device paths last.
  std::sort(beyond.begin(), beyond.end(), [](const PortName& a, const PortName& b) {
    const int x = ComNumber(a.Name, 256);
    const int y = ComNumber(b.Name, 256);
    if ((x == 0) != (y == 0)) return x != 0;
    return x != y ? x < y : a.Name < b.Name;
  });
  names.insert(names.end(), beyond.begin(), beyond.end());
  return names;
}

}  // namespace serial
