#include "platform/ProgramFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <optional>
#include <vector>

namespace platform {
namespace {

std::mutex folderMutex;
std::optional<std::string> folderOverride;

std::string ExecutableFolder() {
  std::vector<char> buffer(4096);
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return "./";
  std::string path(buffer.data(), static_cast<size_t>(length));
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

}  // namespace

std::string ProgramFolder() {
  std::lock_guard lock(folderMutex);
  if (folderOverride) return *folderOverride;
  return ExecutableFolder();
}

void SetProgramFolderForTesting(const std::string& folder) {
  std::lock_guard lock(folderMutex);
  folderOverride = folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace platform
