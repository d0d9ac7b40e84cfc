#include "main/AdapterSerial.h"

#include "serial/UsbSerialNumber.h"

namespace cli {

std::string AdapterSerial(const std::string& devicePath, const std::string& sysRoot) {
  return serial::UsbSerialNumber(devicePath, sysRoot);
}

}  // namespace cli
