#include "platform/FilePath.h"

namespace platform {

std::filesystem::path NativePath(const std::string& path) { return path; }

std::string PathText(const std::filesystem::path& path) { return path.string(); }

}  // namespace platform
