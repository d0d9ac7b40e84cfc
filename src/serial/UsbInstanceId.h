#pragma once
// Windows names every device by an instance id: "USB\VID_0403&PID_6001\A10KXYZ" for a USB device, the last
// part being the serial number the device reports, or one Windows made up when it reports none.

#include <string>

namespace serial {

// The serial number of a USB device's instance id; empty for an interface of a composite device
// ("USB\VID_1782&PID_4D00&MI_00\..."), for an id Windows made up (it contains '&'), and for any device that
// is not on USB.
std::string SerialOfUsbInstanceId(const std::string& instanceId);

}  // namespace serial
