#include "platform/FilePath.h"

namespace platform {

std::filesystem::path NativePath(const std::string& path) { return path; }

std::string PathText(const std::filesystem::path& path) { return path.string(); }

std::FILE* OpenFile(const std::string& path, const char* mode) {
  // "e": O_CLOEXEC, so that a browser started meanwhile does not keep the file open.
  return std::fopen(path.c_str(), (std::string(mode) + "e").c_str());
}

}  // namespace platform
