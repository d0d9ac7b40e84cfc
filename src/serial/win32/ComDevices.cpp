#include "serial/win32/ComDevices.h"

#include <initguid.h>
// After initguid.h: the GUIDs are defined here rather than looked for in a library.
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>

#include "serial/ComName.h"

namespace serial {
namespace {

constexpr UINT kProgramCodePage = 936;

// GUID_DEVINTERFACE_COMPORT, whose header (ntddser.h) is the driver kit's.
constexpr GUID kComPortInterface{
    0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};

std::wstring RegistryText(HKEY key, const wchar_t* value) {
  wchar_t text[256] = {};
  DWORD size = sizeof text - sizeof(wchar_t);
  DWORD type = 0;
  if (::RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  return text;
}

std::wstring DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
  wchar_t text[512] = {};
  if (!::SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr, reinterpret_cast<BYTE*>(text),
                                           sizeof text - sizeof(wchar_t), nullptr)) {
    return {};
  }
  return text;
}

// Windows names a port "USB Serial Port (COM5)"; the list shows the port's name beside it already.
std::string WithoutPortName(std::string description, const std::string& portName) {
  const std::string suffix = " (" + portName + ")";
  if (description.size() > suffix.size() &&
      EqualNoCase(description.substr(description.size() - suffix.size()), suffix)) {
    description.erase(description.size() - suffix.size());
  }
  return description;
}

bool Listed(const std::vector<ComDevice>& devices, const std::string& portName) {
  return std::any_of(devices.begin(), devices.end(),
                     [&](const ComDevice& device) { return EqualNoCase(device.portName, portName); });
}

// The present devices of a device class, or (DIGCF_DEVICEINTERFACE) those offering an interface.
void AddDevices(std::vector<ComDevice>& devices, const GUID& guid, DWORD flags) {
  const HDEVINFO set = ::SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_PRESENT | flags);
  if (set == INVALID_HANDLE_VALUE) return;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD index = 0; ::SetupDiEnumDeviceInfo(set, index, &device); ++index) {
    const HKEY key = ::SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) continue;
    const std::string portName = Narrow(RegistryText(key, L"PortName"));
    ::RegCloseKey(key);
    // No name at all, a printer port, or a device of both lists.
    if (portName.empty() || EqualNoCase(portName.substr(0, 3), "LPT") || Listed(devices, portName)) continue;
    std::wstring description = DeviceProperty(set, device, SPDRP_FRIENDLYNAME);
    if (description.empty()) description = DeviceProperty(set, device, SPDRP_DEVICEDESC);
    devices.push_back({portName, WithoutPortName(Narrow(description), portName), device.DevInst});
  }
  ::SetupDiDestroyDeviceInfoList(set);
}

void AddSerialCommNames(std::vector<ComDevice>& devices) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return;
  }
  for (DWORD index = 0;; ++index) {
    wchar_t value[256] = {};
    DWORD valueSize = 255;
    wchar_t data[256] = {};
    DWORD dataSize = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegEnumValueW(key, index, value, &valueSize, nullptr, &type, reinterpret_cast<BYTE*>(data),
                        &dataSize) != ERROR_SUCCESS) {
      break;
    }
    const std::string portName = Narrow(data);
    if (type == REG_SZ && !portName.empty() && !Listed(devices, portName))
      devices.push_back({portName, {}, 0});
  }
  ::RegCloseKey(key);
}

}  // namespace

std::string Narrow(const std::wstring& text) {
  const int length = static_cast<int>(text.size());
  const int size =
      ::WideCharToMultiByte(kProgramCodePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(kProgramCodePage, 0, text.data(), length, narrow.data(), size, nullptr, nullptr);
  return narrow;
}

std::vector<ComDevice> ListComDevices() {
  std::vector<ComDevice> devices;
  AddDevices(devices, GUID_DEVCLASS_PORTS, 0);
  // A USB modem (a DTU among them) is no port to Device Manager, but offers the COM port interface.
  AddDevices(devices, kComPortInterface, DIGCF_DEVICEINTERFACE);
  AddSerialCommNames(devices);
  return devices;
}

}  // namespace serial
