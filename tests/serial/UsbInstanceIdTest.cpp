// The part of Windows' device names that says which USB adapter a port belongs to; pure text, so it is
// checked on both systems.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "serial/UsbInstanceId.h"

namespace {

// What the search up the device tree makes of each id: the serial number, none for a device whose id
// Windows made up, or "go on with the parent" (nullopt) for interfaces and devices that are not on USB.
struct InstanceIdCase {
  const char* name;
  const char* instanceId;
  std::optional<std::string> serial;
};

class UsbInstanceId : public ::testing::TestWithParam<InstanceIdCase> {};

TEST_P(UsbInstanceId, GivesTheAdaptersOwnSerialNumberOnly) {
  EXPECT_EQ(serial::SerialOfUsbInstanceId(GetParam().instanceId), GetParam().serial);
}

INSTANTIATE_TEST_SUITE_P(
    Serial, UsbInstanceId,
    ::testing::Values(InstanceIdCase{"UsbDevice", "USB\\VID_0403&PID_6001\\A10KXYZ", "A10KXYZ"},
                      InstanceIdCase{"AnyLetterCase", "usb\\vid_0403&pid_6001\\A10kxyz", "A10kxyz"},
                      InstanceIdCase{"SerialMadeUpByWindows", "USB\\VID_067B&PID_2303\\5&2A2F9C5D&0&1", ""},
                      InstanceIdCase{"InterfaceOfACompositeDevice",
                                     "USB\\VID_1782&PID_4D00&MI_00\\6&1A2B3C&0&0000", std::nullopt},
                      InstanceIdCase{"PortOfAVendorBus", "FTDIBUS\\VID_0403+PID_6001+A10KXYZA\\0000",
                                     std::nullopt},
                      InstanceIdCase{"BuiltInPort", "ACPI\\PNP0501\\1", std::nullopt},
                      InstanceIdCase{"NoSerialPart", "USB\\VID_0403&PID_6001", std::nullopt}),
    [](const ::testing::TestParamInfo<InstanceIdCase>& row) { return row.param.name; });

}  // namespace
