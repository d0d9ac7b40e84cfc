#include "platform/SystemFolders.h"

#include <windows.h>
// After windows.h, which they need.
#include <knownfolders.h>
#include <shlobj.h>

#include <atomic>

#include "platform/FilePath.h"
#include "platform/ProgramFolder.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

std::string FolderOf(const std::wstring& file) {
  std::string path = PathText(std::filesystem::path(file));
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

}  // namespace

std::string ExecutableFolder() {
  // The path may be longer than MAX_PATH; a buffer that was too small comes back filled to its end.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return "./";
    if (length < path.size()) {
      path.resize(length);
      return FolderOf(path);
    }
    path.resize(path.size() * 2);
  }
}

std::string UserSettingsFolder() {
  PWSTR appData = nullptr;
  std::string folder;
  if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &appData) == S_OK) {
    folder = PathText(std::filesystem::path(appData));
  }
  CoTaskMemFree(appData);
  if (folder.empty()) folder = ProgramFolder();
  if (folder.back() != '/') folder += '/';
  return folder + "dtu-config/";
}

bool IsUsersFolder(const std::string& folder) {
  // Rights on Windows are lists that only an attempt reads right: a file the system removes once closed.
  static std::atomic<unsigned> count{0};
  std::string probe = folder;
  if (probe.empty() || probe.back() != '/') probe += '/';
  probe += ".dtu-config-probe-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(count++);
  const HANDLE file =
      CreateFileW(NativePath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                  FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace platform
