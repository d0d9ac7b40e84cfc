#pragma once
// Windows' ways to hold a running save's lock. A folder's read-only attribute does not stop new files in it,
// and a process cannot limit its own file sizes: those tests do not apply here.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace settings_test {

inline bool MakeFolderReadOnly(const std::string&) { return false; }
inline void UndoFolderReadOnly(const std::string&) {}

// The lock a save holds on its temporary file while it runs.
class RunningSave {
 public:
  explicit RunningSave(const std::string& path)
      : file_(CreateFileW(std::filesystem::path(path).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    OVERLAPPED from{};
    holds_ = file_ != INVALID_HANDLE_VALUE &&
             LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &from);
  }
  ~RunningSave() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  RunningSave(const RunningSave&) = delete;
  RunningSave& operator=(const RunningSave&) = delete;
  bool Holds() const { return holds_; }

 private:
  HANDLE file_;
  bool holds_ = false;
};

class FileSizeLimit {
 public:
  explicit FileSizeLimit(uint64_t) {}
  bool Active() const { return false; }
};

}  // namespace settings_test
