#pragma once
// Linux's ways to make the settings' files refuse writes, for root too, and to hold a running save's lock.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "support/ImmutableFolder.h"

namespace settings_test {

// Root ignores permissions: the immutable attribute where the file system and our rights allow it.
inline bool MakeFolderReadOnly(const std::string& path) {
  if (geteuid() != 0) return chmod(path.c_str(), 0555) == 0;
  return testing_support::SetFolderImmutable(path, true);
}
inline void UndoFolderReadOnly(const std::string& path) {
  if (geteuid() == 0) testing_support::SetFolderImmutable(path, false);
  chmod(path.c_str(), 0755);
}

// The lock a save holds on its temporary file while it runs.
class RunningSave {
 public:
  explicit RunningSave(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    holds_ = fd_ >= 0 && flock(fd_, LOCK_EX) == 0;
  }
  ~RunningSave() {
    if (fd_ >= 0) close(fd_);
  }
  RunningSave(const RunningSave&) = delete;
  RunningSave& operator=(const RunningSave&) = delete;
  bool Holds() const { return holds_; }

 private:
  int fd_;
  bool holds_ = false;
};

// Files may grow only to the given size while this lives: a full disk that even root cannot write past.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool Active() const { return active_; }

 private:
  rlimit saved_{};
  void (*oldHandler_)(int) = nullptr;
  bool active_ = false;
};

}  // namespace settings_test
