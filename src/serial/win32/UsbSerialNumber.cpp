#include "serial/UsbSerialNumber.h"

#include <windows.h>
// After windows.h, which it needs.
#include <cfgmgr32.h>

#include "serial/ComName.h"
#include "serial/UsbInstanceId.h"
#include "serial/win32/ComDevices.h"

namespace serial {
namespace {

std::string InstanceId(DEVINST node) {
  wchar_t id[MAX_DEVICE_ID_LEN + 1] = {};
  if (::CM_Get_Device_IDW(node, id, MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS) return {};
  return Narrow(id);
}

}  // namespace

std::string UsbSerialNumber(const std::string& devicePath, const std::string&) {
  const std::string prefix = "\\\\.\\";
  const std::string name = devicePath.starts_with(prefix) ? devicePath.substr(prefix.size()) : devicePath;
  for (const ComDevice& device : ListComDevices()) {
    if (device.node == 0 || !EqualNoCase(device.portName, name)) continue;
    // The port itself may be the USB device (a single-interface CDC modem), or sit below it as an interface
    // of a composite device or as a vendor driver's own bus device (FTDIBUS\...). The first USB device on the
    // way up is the adapter; a hub above it has a number of its own that says nothing about the adapter.
    DEVINST node = device.node;
    for (int level = 0; level < 4; ++level) {
      if (std::optional<std::string> serial = SerialOfUsbInstanceId(InstanceId(node))) return *serial;
      DEVINST parent = 0;
      if (::CM_Get_Parent(&parent, node, 0) != CR_SUCCESS) break;
      node = parent;
    }
    return {};
  }
  return {};
}

}  // namespace serial
