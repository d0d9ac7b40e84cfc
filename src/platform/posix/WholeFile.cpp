#include "platform/WholeFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/UniqueFd.h"

namespace platform {
namespace {

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t done = write(fd, data.data(), data.size());
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(done));
  }
  return true;
}

// Root may write any file, so access() says yes to root even for a file that nobody is meant to change; for
// root a file without any write bit counts as read-only, as an editor would warn about it.
bool MayWriteOver(const std::string& path, const struct stat& info) {
  if (geteuid() == 0) return (info.st_mode & 0222) != 0;
  return access(path.c_str(), W_OK) == 0;
}

class TempFile {
 public:
  TempFile() = default;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  // Closes before removing the name of a replacement that did not finish.
  ~TempFile() {
    fd_.Reset();
    if (!path_.empty()) unlink(path_.c_str());
  }

  bool Create(const std::string& folder, const std::string& baseName) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string candidate = folder + whole_file::TemporaryName(baseName, static_cast<uint64_t>(getpid()));
      platform::UniqueFd fd(open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
      if (!fd.Valid()) {
        if (errno == EEXIST) continue;
        return false;
      }
      // Locked from before the first byte until after the rename (the lock goes with a second descriptor,
      // which the check of the close leaves open), so that a program starting meanwhile and cleaning up
      // leaves a running replacement alone. The kernel drops the lock of one that was killed.
      struct stat info {};
      platform::UniqueFd lock(fcntl(fd.Get(), F_DUPFD_CLOEXEC, 0));
      if (!lock.Valid() || flock(lock.Get(), LOCK_EX) != 0 || fstat(fd.Get(), &info) != 0) {
        unlink(candidate.c_str());
        return false;
      }
      // A clean-up took the file between its creation and the lock.
      if (info.st_nlink == 0) continue;
      fd_ = std::move(fd);
      lock_ = std::move(lock);
      path_ = std::move(candidate);
      return true;
    }
    return false;
  }

  int Fd() const { return fd_.Get(); }
  const std::string& Path() const { return path_; }

  // The close reports a write the disk did not take in the end.
  bool CloseFd() { return fd_.Close(); }
  // After the rename the name belongs to the real file.
  void Release() { path_.clear(); }

 private:
  platform::UniqueFd fd_;
  platform::UniqueFd lock_;
  std::string path_;
};

// A temporary file whose replacement is over: killed, since one that fails removes its own.
void RemoveIfStale(const std::string& path) {
  const platform::UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  struct stat held {};
  if (!fd.Valid() || fstat(fd.Get(), &held) != 0 || !S_ISREG(held.st_mode)) return;
  if (flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) return;  // a replacement still running
  // Another clean-up may have removed it meanwhile, and a replacement made a new file of the name.
  struct stat named {};
  if (lstat(path.c_str(), &named) != 0 || named.st_dev != held.st_dev || named.st_ino != held.st_ino) return;
  unlink(path.c_str());
}

// The file a replacement replaces: a path that is a link keeps being one, so the file it points to is
// replaced.
std::string ReplacedFile(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char* resolved = realpath(path.c_str(), nullptr);
  if (!resolved) return path;
  std::string target = resolved;
  std::free(resolved);  // NOLINT: realpath hands over malloc'ed memory
  return target;
}

}  // namespace

WholeFile LoadWholeFile(const std::string& path) {
  WholeFile result;
  // Owned at once: growing the text can throw, and the descriptor must not stay open behind it.
  const platform::UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) {
    result.state = errno == ENOENT || errno == ENOTDIR ? WholeFileState::Missing : WholeFileState::Failed;
    return result;
  }
  char buffer[8192];
  for (;;) {
    const ssize_t got = read(fd.Get(), buffer, sizeof buffer);
    if (got > 0) {
      result.bytes.append(buffer, static_cast<size_t>(got));
    } else if (got == 0) {
      result.state = WholeFileState::Loaded;
      break;
    } else if (errno != EINTR) {
      result.state = WholeFileState::Failed;
      break;
    }
  }
  return result;
}

bool ReplaceWholeFile(const std::string& path, std::string_view content) {
  const std::string target = ReplacedFile(path);
  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  // Windows refuses to write over a read-only file; so do we, rather than replace it behind its back. The
  // rename below would succeed for anyone who may write the folder, so the file's own rights are asked first.
  if (exists && !MayWriteOver(target, old)) return false;

  const size_t slash = target.rfind('/');
  const std::string folder = target.substr(0, slash + 1);
  const std::string baseName = target.substr(slash + 1);
  TempFile temp;
  if (!temp.Create(folder, baseName)) return false;
  if (exists) {
    fchmod(temp.Fd(), old.st_mode & 07777);
    if (fchown(temp.Fd(), old.st_uid, old.st_gid) != 0) {
      // Only root can hand the file back to its owner; anyone else writes it as their own, like an editor.
    }
  }
  if (!WriteAll(temp.Fd(), content) || fsync(temp.Fd()) != 0 || !temp.CloseFd()) return false;
  if (rename(temp.Path().c_str(), target.c_str()) != 0) return false;
  temp.Release();
  return true;
}

void RemoveStaleReplacements(const std::string& path) {
  const std::string target = ReplacedFile(path);
  const size_t slash = target.rfind('/');
  const std::string folder = target.substr(0, slash + 1);
  const std::string baseName = target.substr(slash + 1);
  // The names first: removing entries while the folder is being read may skip others.
  std::vector<std::string> stale;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (whole_file::IsTemporaryName(name, baseName)) stale.push_back(folder + name);
  }
  for (const std::string& stalePath : stale) RemoveIfStale(stalePath);
}

}  // namespace platform
