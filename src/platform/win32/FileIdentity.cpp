#include "platform/FileIdentity.h"

#include <io.h>
#include <windows.h>

#include "platform/FilePath.h"

namespace platform {
namespace {

std::optional<FileIdentity> IdentityOfHandle(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info)) return std::nullopt;
  const bool regular =
      GetFileType(handle) == FILE_TYPE_DISK && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow, regular};
}

}  // namespace

std::optional<FileIdentity> IdentityOfPath(const std::string& path) {
  // No access to the content is needed, and folders open only with backup semantics.
  const HANDLE file =
      CreateFileW(NativePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  const auto identity = IdentityOfHandle(file);
  CloseHandle(file);
  return identity;
}

std::optional<FileIdentity> IdentityOfDescriptor(int fd) {
  // A console or a pipe has no file index, and GetFileType tells them apart anyway.
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  if (GetFileType(handle) != FILE_TYPE_DISK) return FileIdentity{0, 0, false};
  return IdentityOfHandle(handle);
}

}  // namespace platform
