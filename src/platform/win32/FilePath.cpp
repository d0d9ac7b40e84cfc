#include "platform/FilePath.h"

#include "platform/win32/WideText.h"

namespace platform {

std::filesystem::path NativePath(const std::string& path) { return win32::WideFromUtf8(path); }

std::string PathText(const std::filesystem::path& path) {
  return win32::Utf8FromWide(path.generic_wstring());
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
  // "N": the handle is not inherited by programs started meanwhile.
  return _wfopen(NativePath(path).c_str(), win32::WideFromUtf8(std::string(mode) + "N").c_str());
}

}  // namespace platform
