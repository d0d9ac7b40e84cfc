#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "serial/posix/PortNames.h"

namespace {

namespace fs = std::filesystem;
using serial::PortMap;
using serial::ResolveDevicePath;

struct ResolveCase {
  const char* name;
  const char* commName;
  PortMap map;
  const char* path;
};

class PortPath : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(PortPath, Resolves) {
  EXPECT_EQ(ResolveDevicePath(GetParam().commName, GetParam().map), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Serial, PortPath,
    ::testing::Values(ResolveCase{"Com3IsTtyS2", "COM3", {}, "/dev/ttyS2"},
                      ResolveCase{"Com1IsTtyS0", "COM1", {}, "/dev/ttyS0"},
                      ResolveCase{"Com9IsTtyS8", "COM9", {}, "/dev/ttyS8"},
                      ResolveCase{"LetterCaseDoesNotMatter", "com4", {}, "/dev/ttyS3"},
                      ResolveCase{"MappedName", "COM1", {{"COM1", "/dev/ttyUSB0"}}, "/dev/ttyUSB0"},
                      ResolveCase{"MapKeyInAnyCase", "Com2", {{"com2", "/dev/ttyACM0"}}, "/dev/ttyACM0"},
                      ResolveCase{"OtherNamesUnmapped", "COM5", {{"COM1", "/dev/ttyUSB0"}}, "/dev/ttyS4"},
                      ResolveCase{"EmptyMappingIgnored", "COM1", {{"COM1", ""}}, "/dev/ttyS0"},
                      ResolveCase{"Com10IsNoComName", "COM10", {}, "COM10"},
                      ResolveCase{"Com0IsNoComName", "COM0", {}, "COM0"},
                      ResolveCase{
                          "PathStaysAsItIs", "/dev/ttyUSB1", {{"COM1", "/dev/ttyUSB0"}}, "/dev/ttyUSB1"}),
    [](const ::testing::TestParamInfo<ResolveCase>& row) { return row.param.name; });

void Touch(const fs::path& file, const std::string& text = "") {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

TEST(PortList, ComNamesFirstThenUsbDevicesWithTheirDescriptions) {
  const fs::path root = fs::temp_directory_path() / ("serial-ports-" + std::to_string(::getpid()));
  fs::remove_all(root);
  Touch(root / "dev/ttyS0");
  Touch(root / "dev/ttyUSB0");
  Touch(root / "dev/ttyACM0");
  Touch(root / "dev/ttyUSB1");
  Touch(root / "dev/tty0");
  // The hub above both adapters has strings of its own, which must not describe either.
  Touch(root / "sys/devices/usb1/idVendor", "1d6b\n");
  Touch(root / "sys/devices/usb1/product", "xHCI Host Controller\n");
  Touch(root / "sys/devices/usb1/manufacturer", "Linux xhci-hcd\n");
  // usb-serial: tty -> port -> interface -> device with the strings.
  Touch(root / "sys/devices/usb1/1-1/idVendor", "067b\n");
  Touch(root / "sys/devices/usb1/1-1/product", "USB-Serial Controller\n");
  Touch(root / "sys/devices/usb1/1-1/manufacturer", "Prolific\n");
  fs::create_directories(root / "sys/devices/usb1/1-1/1-1:1.0/ttyUSB0");
  // CDC ACM: tty -> interface -> device.
  Touch(root / "sys/devices/usb1/1-2/idVendor", "1782\n");
  Touch(root / "sys/devices/usb1/1-2/product", "GPRS Modem\n");
  fs::create_directories(root / "sys/devices/usb1/1-2/1-2:1.0");
  fs::create_directories(root / "sys/class/tty/ttyUSB0");
  fs::create_directories(root / "sys/class/tty/ttyACM0");
  fs::create_directory_symlink("../../../devices/usb1/1-1/1-1:1.0/ttyUSB0",
                               root / "sys/class/tty/ttyUSB0/device");
  fs::create_directory_symlink("../../../devices/usb1/1-2/1-2:1.0", root / "sys/class/tty/ttyACM0/device");
  // An adapter sysfs says nothing about, known only by its by-id link; a dangling link is left out.
  fs::create_directories(root / "dev/serial/by-id");
  fs::create_symlink("../../ttyUSB1", root / "dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
  fs::create_symlink("../../ttyUSB7", root / "dev/serial/by-id/usb-Gone-if00-port0");

  const auto names = serial::ListPortNames(root.string());
  ASSERT_EQ(names.size(), 12u);
  for (int n = 0; n < 9; ++n) EXPECT_EQ(names[n].Name, "COM" + std::to_string(n + 1));
  EXPECT_EQ(names[9].Name, (root / "dev/ttyACM0").string());
  EXPECT_EQ(names[9].Description, "GPRS Modem");
  EXPECT_EQ(names[10].Name, (root / "dev/ttyUSB0").string());
  EXPECT_EQ(names[10].Description, "Prolific USB-Serial Controller");
  EXPECT_EQ(names[11].Name, (root / "dev/ttyUSB1").string());
  EXPECT_EQ(names[11].Description, "usb-FTDI_FT232R-if00-port0");
  EXPECT_EQ(names[11].StableName, (root / "dev/serial/by-id/usb-FTDI_FT232R-if00-port0").string());
  EXPECT_EQ(names[10].StableName, "") << "no by-id link";
  fs::remove_all(root);
}

TEST(PortList, AMachineWithoutAdaptersStillOffersComNames) {
  const auto names = serial::ListPortNames("/nonexistent-root");
  ASSERT_EQ(names.size(), 9u);
  EXPECT_EQ(names.front().Name, "COM1");
  EXPECT_EQ(names.back().Name, "COM9");
}

}  // namespace
