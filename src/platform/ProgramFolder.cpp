#include "platform/ProgramFolder.h"

#include <filesystem>
#include <mutex>

#include "platform/FilePath.h"
#include "platform/SystemFolders.h"

namespace platform {
namespace {

std::mutex folderMutex;
std::optional<std::string> folderOverride;

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

std::string ProgramFolder() {
  std::lock_guard lock(folderMutex);
  if (folderOverride) return *folderOverride;
  return ExecutableFolder();
}

void SetProgramFolderForTesting(const std::string& folder) {
  std::lock_guard lock(folderMutex);
  if (folder.empty()) {
    folderOverride.reset();
  } else {
    folderOverride = WithSlash(folder);
  }
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(NativePath(path), error);
}

std::string SettingsFolderFor(const std::string& programFolder, bool usersFolder,
                              const std::optional<std::string>& xdgConfigHome, const std::string& home) {
  if (usersFolder) return WithSlash(programFolder);
  const bool useXdg = xdgConfigHome && !xdgConfigHome->empty() && xdgConfigHome->front() == '/';
  return WithSlash(useXdg ? *xdgConfigHome : WithSlash(home) + ".config") + "dtu-config/";
}

std::string SettingsFolder() {
  const std::string program = ProgramFolder();
  if (IsUsersFolder(program)) return program;
  const std::string folder = UserSettingsFolder();
  // An existing folder is fine; anything else that fails shows when the settings are saved.
  std::error_code error;
  std::filesystem::create_directories(NativePath(folder), error);
  return folder;
}

std::string FindProgramFile(const std::string& name) {
  const std::string program = ProgramFolder();
  if (!IsUsersFolder(program)) {
    const std::string own = SettingsFolder() + name;
    if (FileExists(own)) return own;
  }
  return program + name;
}

}  // namespace platform
