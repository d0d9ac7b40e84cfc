#include "serial/PortNames.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>

namespace serial {
namespace {

namespace fs = std::filesystem;

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// 1..9 for "COM1".."COM9" in any case, else 0.
int ComNumber(const std::string& name) {
  if (name.size() != 4 || !EqualNoCase(name.substr(0, 3), "COM")) return 0;
  return name[3] >= '1' && name[3] <= '9' ? name[3] - '0' : 0;
}

std::string ReadFirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
  return line;
}

// A USB serial adapter's tty sits one level (CDC ACM: the interface) or two levels (usb-serial: the
// interface, then the port) below the USB device that carries the maker and product strings.
std::string UsbDescription(const fs::path& sysRoot, const std::string& ttyName) {
  const fs::path device = sysRoot / "class/tty" / ttyName / "device";
  for (const char* up : {"../..", ".."}) {
    const fs::path usb = device / up;
    const std::string product = ReadFirstLine(usb / "product");
    if (product.empty()) continue;
    const std::string maker = ReadFirstLine(usb / "manufacturer");
    return maker.empty() ? product : maker + " " + product;
  }
  return {};
}

bool IsUsbTtyName(const std::string& name) {
  return name.starts_with("ttyUSB") || name.starts_with("ttyACM");
}

}  // namespace

std::string ResolveDevicePath(const std::string& commName, const PortMap& portMap) {
  const int number = ComNumber(commName);
  if (number == 0) return commName;
  for (const auto& [key, path] : portMap) {
    if (EqualNoCase(key, commName) && !path.empty()) return path;
  }
  return "/dev/ttyS" + std::to_string(number - 1);
}

std::vector<PortName> ListPortNames() { return ListPortNames("/"); }

std::vector<PortName> ListPortNames(const std::string& root) {
  std::vector<PortName> names;
  for (int n = 1; n <= 9; ++n) names.push_back({"COM" + std::to_string(n), {}});

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
    names.push_back({(dev / tty).string(), description});
  }
  return names;
}

}  // namespace serial
