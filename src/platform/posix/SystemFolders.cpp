#include "platform/SystemFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/ProgramFolder.h"

namespace platform {
namespace {

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

}  // namespace

std::string ExecutableFolder() {
  std::vector<char> buffer(4096);
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return "./";
  std::string path(buffer.data(), static_cast<size_t>(length));
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string UserSettingsFolder() {
  return SettingsFolderFor(ProgramFolder(), false, Environment("XDG_CONFIG_HOME"), HomeFolder());
}

bool IsUsersFolder(const std::string& folder) {
  // Root may write anywhere, so writability alone would put program.ini into /usr/bin for root.
  std::string withSlash = folder;
  if (withSlash.empty() || withSlash.back() != '/') withSlash += '/';
  for (const char* system :
       {"/usr/bin/", "/usr/local/bin/", "/bin/", "/usr/games/", "/usr/sbin/", "/sbin/"}) {
    if (withSlash == system) return false;
  }
  return access(folder.c_str(), W_OK) == 0;
}

}  // namespace platform
