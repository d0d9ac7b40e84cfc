#pragma once
// Windows names every device by an instance id: "USB\VID_0403&PID_6001\A10KXYZ" for a USB device, the last
// part being the serial number the device reports, or one Windows made up when it reports none.

#include <optional>
#include <string>

namespace serial {

// For the id of a USB device: its serial number, or empty when Windows made the last part up (it then
// contains '&'). Nothing for an interface of a composite device ("USB\VID_1782&PID_4D00&MI_00\..."), whose
// last part is no serial number, and for any device not on USB: the search goes on with the parent.
std::optional<std::string> SerialOfUsbInstanceId(const std::string& instanceId);

}  // namespace serial
