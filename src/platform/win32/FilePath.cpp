#include "platform/FilePath.h"

#include "platform/win32/WideText.h"

namespace platform {

std::filesystem::path NativePath(const std::string& path) { return win32::WideFromUtf8(path); }

std::string PathText(const std::filesystem::path& path) {
  return win32::Utf8FromWide(path.generic_wstring());
}

}  // namespace platform
