#include "platform/ProgramFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
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

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

// $HOME, or the password database's entry when HOME is unset, as the shell would do.
std::string HomeFolder() {
  if (auto home = Environment("HOME"); home && !home->empty()) return *home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return "/";
}

// mkdir -p; an existing folder is fine, anything else that fails shows when the settings are saved.
void MakeFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return;
  }
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
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsUsersFolder(const std::string& folder) {
  // Root may write anywhere, so writability alone would put program.ini into /usr/bin for root.
  for (const char* system :
       {"/usr/bin/", "/usr/local/bin/", "/bin/", "/usr/games/", "/usr/sbin/", "/sbin/"}) {
    if (WithSlash(folder) == system) return false;
  }
  return access(folder.c_str(), W_OK) == 0;
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
  const std::string folder = SettingsFolderFor(program, false, Environment("XDG_CONFIG_HOME"), HomeFolder());
  MakeFolders(folder);
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
