#include "serial/UsbInstanceId.h"

#include "serial/ComName.h"

namespace serial {

std::string SerialOfUsbInstanceId(const std::string& instanceId) {
  const size_t first = instanceId.find('\\');
  const size_t second = first == std::string::npos ? first : instanceId.find('\\', first + 1);
  if (second == std::string::npos || !EqualNoCase(instanceId.substr(0, first), "USB")) return {};
  const std::string hardware = instanceId.substr(first + 1, second - first - 1);
  const std::string serial = instanceId.substr(second + 1);
  // An interface ("&MI_nn") carries its parent's made-up or real id in a form of its own; only the device
  // itself says the serial number.
  for (size_t at = hardware.find('&'); at != std::string::npos; at = hardware.find('&', at + 1)) {
    if (EqualNoCase(hardware.substr(at + 1, 3), "MI_")) return {};
  }
  if (serial.empty() || serial.find('&') != std::string::npos || serial.find('\\') != std::string::npos) {
    return {};
  }
  return serial;
}

}  // namespace serial
