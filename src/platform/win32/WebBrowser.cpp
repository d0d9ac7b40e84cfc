#include "platform/WebBrowser.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/win32/WideText.h"

namespace platform {

bool OpenWebAddress(const std::string& address) {
  const std::string url = NormaliseWebAddress(address);
  if (url.empty()) return false;
  const std::wstring wide = win32::WideFromUtf8(url);
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  // Not a real instance: a number, above 32 when the shell started something.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace platform
