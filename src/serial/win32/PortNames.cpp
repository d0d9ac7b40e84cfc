#include "serial/PortNames.h"

#include <algorithm>

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

std::vector<PortName> ListPortNames() {
  const std::vector<ComDevice> devices = ListComDevices();
  std::vector<PortName> names;
  for (int n = 1; n <= 9; ++n) names.push_back({"COM" + std::to_string(n), {}, {}});
  std::vector<PortName> beyond;
  for (const ComDevice& device : devices) {
    const int number = ComNumber(device.portName, 256);
    if (number >= 1 && number <= 9) {
      names[static_cast<size_t>(number - 1)].Description = device.description;
    } else {
      beyond.push_back({"COM" + std::to_string(number), device.description, {}});
    }
  }
  std::sort(beyond.begin(), beyond.end(), [](const PortName& a, const PortName& b) {
    return ComNumber(a.Name, 256) < ComNumber(b.Name, 256);
  });
  names.insert(names.end(), beyond.begin(), beyond.end());
  return names;
}

}  // namespace serial
