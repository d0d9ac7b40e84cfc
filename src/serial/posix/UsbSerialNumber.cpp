#include "serial/UsbSerialNumber.h"

#include <filesystem>
#include <fstream>

namespace serial {
namespace {

namespace fs = std::filesystem;

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
  return line;
}

}  // namespace

std::string UsbSerialNumber(const std::string& devicePath, const std::string& sysRoot) {
  std::error_code ec;
  const fs::path real = fs::canonical(devicePath, ec);
  if (ec) return {};
  const fs::path device = fs::path(sysRoot) / "class/tty" / real.filename() / "device";
  // A CDC ACM tty's device is the USB interface, one level below the USB device; a usb-serial tty's device is
  // the port, two levels below. Only a USB device has idVendor: a hub or controller further up may report a
  // serial number of its own, which says nothing about the adapter.
  for (const char* up : {"..", "../.."}) {
    const fs::path usb = device / up;
    if (fs::exists(usb / "idVendor", ec)) return FirstLine(usb / "serial");
  }
  return {};
}

}  // namespace serial
