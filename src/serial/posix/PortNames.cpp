#include "serial/posix/PortNames.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>

#include "serial/ComName.h"

namespace serial {
namespace {

namespace fs = std::filesystem;

std::string ReadFirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
  return line;
}

// A USB serial adapter's tty sits below the USB device that carries the maker and product strings: one
// level (CDC ACM: the interface) or two (usb-serial: the interface, then the port). The walk stops at the
// first folder with an idVendor, the USB device itself; a hub above it has strings of its own that say
// nothing about the adapter.
std::string UsbDescription(const fs::path& sysRoot, const std::string& ttyName) {
  std::error_code ec;
  fs::path at = fs::canonical(sysRoot / "class/tty" / ttyName / "device", ec);
  if (ec) return {};
  const fs::path top = fs::weakly_canonical(sysRoot, ec);
  for (int level = 0; level < 4 && at != top && at.has_relative_path(); ++level, at = at.parent_path()) {
    if (!fs::exists(at / "idVendor", ec)) continue;
    const std::string product = ReadFirstLine(at / "product");
    const std::string maker = ReadFirstLine(at / "manufacturer");
    if (product.empty()) return maker;
    return maker.empty() ? product : maker + " " + product;
  }
  return {};
}

bool IsUsbTtyName(const std::string& name) {
  return name.starts_with("ttyUSB") || name.starts_with("ttyACM");
}

}  // namespace

std::string ResolveDevicePath(const std::string& commName, const PortMap& portMap) {
  const int number = ComNumber(commName, 9);
  if (number == 0) return commName;
  for (const auto& [key, path] : portMap) {
    if (EqualNoCase(key, commName) && !path.empty()) return path;
  }
  return "/dev/ttyS" + std::to_string(number - 1);
}

std::vector<PortName> ListPortNames() { return ListPortNames("/"); }

bool DevicePresent(const std::string& devicePath) {
  std::error_code error;
  return fs::exists(devicePath, error);
}

std::vector<PortName> ListPortNames(const std::string& root) {
  std::vector<PortName> names;
  for (int n = 1; n <= 9; ++n) names.push_back({"COM" + std::to_string(n), {}, {}});

  const fs::path dev = fs::path(root) / "dev";
  const fs::path sys = fs::path(root) / "sys";
  std::error_code ec;
  std::set<std::string> ttys;
  for (const fs::directory_entry& entry : fs::directory_iterator(dev, ec)) {
    if (IsUsbTtyName(entry.path().filename().string())) ttys.insert(entry.path().filename().string());
  }
  // by-id links name the adapter even where sysfs does not; they point at the same ttys.
  std::map<std::string, std::string> byIdName;
  for (const fs::directory_entry& entry : fs::directory_iterator(dev / "serial/by-id", ec)) {
    std::error_code linkError;
    const fs::path target = fs::read_symlink(entry.path(), linkError);
    if (linkError) continue;
    const std::string tty = target.filename().string();
    if (!fs::exists(dev / tty, linkError)) continue;
    ttys.insert(tty);
    byIdName.emplace(tty, entry.path().filename().string());
  }

  for (const std::string& tty : ttys) {
    std::string description = UsbDescription(sys, tty);
    if (description.empty() && byIdName.count(tty)) description = byIdName[tty];
    const std::string stable = byIdName.count(tty) ? (dev / "serial/by-id" / byIdName[tty]).string() : "";
    names.push_back({(dev / tty).string(), description, stable});
  }
  return names;
}

}  // namespace serial
