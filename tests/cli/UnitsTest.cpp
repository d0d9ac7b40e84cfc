// The values a batch gives each DTU: the units file as spreadsheets write it, the placeholders, and the
// adapter's serial number as sysfs reports it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "main/AdapterSerial.h"
#include "main/UnitValues.h"
#include "main/Units.h"

namespace {

namespace fs = std::filesystem;

struct BadUnitsCase {
  const char* name;
  const char* text;
  const char* complaint;
};

class BadUnitsFiles : public testing::TestWithParam<BadUnitsCase> {};

TEST_P(BadUnitsFiles, AreRefusedWithTheLine) {
  const auto result = cli::ParseUnits(GetParam().text);
  const auto* error = std::get_if<cli::UnitsError>(&result);
  ASSERT_NE(error, nullptr);
  EXPECT_NE(error->message.find(GetParam().complaint), std::string::npos) << error->message;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BadUnitsFiles,
    testing::Values(BadUnitsCase{"Empty", "", "empty"},
                    BadUnitsCase{"NoPortColumn", "DevID,IP\nLOGIN:1,a\n", "no column named port"},
                    BadUnitsCase{"UnknownKey", "port,DeviceId\n/dev/a,1\n", "unknown key 'DeviceId'"},
                    BadUnitsCase{"ComKeyIsNoDtuKey", "port,ComName\n/dev/a,1\n", "unknown key 'ComName'"},
                    BadUnitsCase{"KeyTwice", "port,DevID,devid\n/dev/a,1,2\n", "DevID is given twice"},
                    BadUnitsCase{"RowWithoutPort", "port,DevID\n/dev/a,1\n,2\n",
                                 "line 3: the row has no port"},
                    BadUnitsCase{"TooManyCells", "port,DevID\n/dev/a,1,2\n", "line 2: more cells"},
                    BadUnitsCase{"OpenQuote", "port,DevID\n/dev/a,\"1\n", "not closed"},
                    BadUnitsCase{"HeaderWithoutARow", "port,DevID\r\n\r\n", "names no DTU"}),
    [](const testing::TestParamInfo<BadUnitsCase>& row) { return std::string(row.param.name); });

TEST(Units, CellsAsSpreadsheetsWriteThem) {
  const auto result = cli::ParseUnits(
      "\xEF\xBB\xBF"
      "Port , devid,IP\r\n"
      "/dev/a,\"LOGIN:\"\"1\"\", x\",\r\n"
      "\r\n"
      "/dev/b\r\n"
      "/dev/c,\" padded \",10.0.0.1");
  const auto* rows = std::get_if<std::vector<cli::UnitsRow>>(&result);
  ASSERT_NE(rows, nullptr) << std::get<cli::UnitsError>(result).message;
  ASSERT_EQ(rows->size(), 3u);
  EXPECT_EQ((*rows)[0].port, "/dev/a");
  EXPECT_EQ((*rows)[0].values, (cli::KeyValues{{"DevID", "LOGIN:\"1\", x"}})) << "an empty cell sets nothing";
  EXPECT_EQ((*rows)[1].line, 4);
  EXPECT_TRUE((*rows)[1].values.empty());
  EXPECT_EQ((*rows)[2].values, (cli::KeyValues{{"DevID", " padded "}, {"IP", "10.0.0.1"}}))
      << "quoted blanks are kept";
}

TEST(Units, AQuotedLineBreakIsKeptForTheValueCheckToRefuse) {
  const auto result = cli::ParseUnits("port,DevID\n/dev/a,\"one\ntwo\"\n/dev/b,x\n");
  const auto& rows = std::get<std::vector<cli::UnitsRow>>(result);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].line, 4) << "lines are counted inside quoted cells too";
  EXPECT_EQ(rows[0].values[0].second, "one\ntwo") << "for the value check to refuse";
}

TEST(Units, PlaceholdersKeysAndGivenValues) {
  EXPECT_EQ(cli::WithPlaceholders("LOGIN:{n}-{serial}{x}{n", 7, "A1B2"), "LOGIN:7-A1B2{x}{n");
  EXPECT_EQ(cli::WithPlaceholders("{serial}", 1, ""), "");
  EXPECT_EQ(cli::DtuKey("apn str"), "APN Str");
  EXPECT_EQ(cli::DtuKey("devidhex"), "DevIDHex");
  EXPECT_EQ(cli::DtuKey("ComName"), std::nullopt);

  const auto given = cli::WithGivenValues(
      values::DtuValues(),
      {{"BaudRate", "9600"}, {"Parity", "even"}, {"Protocol", "2"}, {"APN Str", "cmiot"}});
  EXPECT_EQ(given.Get("BaudRate"), "5") << "an item named by its text is given as its position";
  EXPECT_EQ(given.Get("Parity"), "2");
  EXPECT_EQ(given.Get("Protocol"), "2") << "a position is kept, for the check to refuse";
  EXPECT_EQ(given.Get("APN Index"), "2") << "an APN given alone is the other APN";
  EXPECT_EQ(given.Get("APN Str"), "cmiot");
  const auto fixed = cli::WithGivenValues(given, {{"APN Index", "1"}});
  EXPECT_EQ(fixed.Get("APN Str"), "UNINET") << "a fixed choice sends its own APN";
}

// A COM name in a units file is a port as --port takes it, in any letter case: kept for the open to find,
// and one port however it is spelt.
TEST(Units, AComNameRowIsThePortItNames) {
  const fs::path file = fs::path(testing::TempDir()) / ("units-com-" + std::to_string(getpid()) + ".csv");
  cli::CliOptions options;
  options.unitsFile = file.string();
  std::ofstream(file) << "port\nCOM3\n";
  const auto one = cli::ResolveUnits(options, cli::TerminalCode::Utf8, {});
  ASSERT_TRUE(std::holds_alternative<std::vector<cli::Unit>>(one));
  EXPECT_EQ(std::get<std::vector<cli::Unit>>(one).at(0).port, "COM3");
  std::ofstream(file) << "port\nCOM3\ncom3\n";
  const auto two = cli::ResolveUnits(options, cli::TerminalCode::Utf8, {});
  ASSERT_TRUE(std::holds_alternative<cli::UnitsError>(two));
  EXPECT_NE(std::get<cli::UnitsError>(two).message.find("a second row for port com3"), std::string::npos);
  fs::remove(file);
}

// A tty as sysfs shows it: /sys/class/tty/NAME links into the device tree, its "device" link leads to the
// interface (CDC ACM) or the usb-serial port, and the USB device above them has idVendor and serial. The hub
// above that has a serial number of its own, which must not be taken for the adapter's.
class AdapterSerialTest : public testing::Test {
 protected:
  fs::path root = fs::path(testing::TempDir()) / ("adapter-serial-" + std::to_string(getpid()));
  void SetUp() override {
    fs::remove_all(root);
    Attribute("devices/usb1", "idVendor", "1d6b");
    Attribute("devices/usb1", "serial", "0000:00:14.0");
    Attribute("devices/usb1/1-1", "idVendor", "0403");
    Attribute("devices/usb1/1-1", "serial", "A10KXYZ\n");
    Attribute("devices/usb1/1-1/1-1:1.0/ttyUSB3/tty/ttyUSB3", "dev", "188:3");
    Attribute("devices/usb1/1-2", "idVendor", "1234");
    Attribute("devices/usb1/1-2/1-2:1.0/tty/ttyACM0", "dev", "166:0");
    Link("sys/class/tty/ttyUSB3", root / "sys/devices/usb1/1-1/1-1:1.0/ttyUSB3/tty/ttyUSB3");
    Link("sys/devices/usb1/1-1/1-1:1.0/ttyUSB3/tty/ttyUSB3/device",
         root / "sys/devices/usb1/1-1/1-1:1.0/ttyUSB3");
    Link("sys/class/tty/ttyACM0", root / "sys/devices/usb1/1-2/1-2:1.0/tty/ttyACM0");
    Link("sys/devices/usb1/1-2/1-2:1.0/tty/ttyACM0/device", root / "sys/devices/usb1/1-2/1-2:1.0");
    for (const char* name : {"ttyUSB3", "ttyACM0", "ttyS0"}) {
      fs::create_directories(root / "dev");
      std::ofstream(root / "dev" / name);
    }
    Link("dev/serial/by-id/usb-FTDI-if00-port0", root / "dev/ttyUSB3");
  }
  void TearDown() override { fs::remove_all(root); }
  void Attribute(const std::string& folder, const std::string& name, const std::string& text) {
    fs::create_directories(root / "sys" / folder);
    std::ofstream(root / "sys" / folder / name) << text;
  }
  void Link(const std::string& at, const fs::path& to) {
    fs::create_directories((root / at).parent_path());
    fs::create_directory_symlink(to, root / at);
  }
  std::string Serial(const std::string& dev) {
    return cli::AdapterSerial((root / dev).string(), root / "sys");
  }
};

TEST_F(AdapterSerialTest, IsTheUsbDevicesSerialAndEmptyWithoutOne) {
  EXPECT_EQ(Serial("dev/ttyUSB3"), "A10KXYZ");
  EXPECT_EQ(Serial("dev/serial/by-id/usb-FTDI-if00-port0"), "A10KXYZ") << "a by-id link leads to the tty";
  EXPECT_EQ(Serial("dev/ttyACM0"), "") << "the adapter has no serial; the hub's is not its";
  EXPECT_EQ(Serial("dev/ttyS0"), "");
  EXPECT_EQ(Serial("dev/missing"), "");
}

}  // namespace
