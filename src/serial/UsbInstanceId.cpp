#include "serial/UsbInstanceId.h"

#include "serial/ComName.h"

namespace serial {

std::optional<std::string> SerialOfUsbInstanceId(const std::string& instanceId) {
  const size_t first = instanceId.find('\\');
  const size_t second = first == std::string::npos ? first : instanceId.find('\\', first + 1);
  if (second == std::string::npos || !EqualNoCase(instanceId.substr(0, first), "USB")) return std::nullopt;
  const std::string hardware = instanceId.substr(first + 1, second - first - 1);
  for (size_t at = hardware.find('&'); at != std::string::npos; at = hardware.find('&', at + 1)) {
    if (EqualNoCase(hardware.substr(at + 1, 3), "MI_")) return std::nullopt;
  }
  const std::string serial = instanceId.substr(second + 1);
  if (serial.find('&') != std::string::npos || serial.find('\\') != std::string::npos) return std::string();
  return serial;
}

}  // namespace serial
