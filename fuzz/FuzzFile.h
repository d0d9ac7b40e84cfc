#pragma once
// A scratch file per fuzzer process, rewritten for each input: the parsers under test read real files, so the
// input has to be on the disk, but creating and deleting a file per input would cost more than the parse.

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace fuzzing {

inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// A folder of its own, removed when the process ends normally. In memory where there is such a file system:
// the settings file is synced to the disk at every write, which on a disk would make the fuzzer crawl.
class ScratchFolder {
 public:
  ScratchFolder() {
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string pattern = (base / "dtu-fuzz-XXXXXX").string();
    Check(mkdtemp(pattern.data()) != nullptr);
    path_ = pattern + "/";
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  Check(fd >= 0);
  while (!bytes.empty()) {
    const ssize_t done = write(fd, bytes.data(), bytes.size());
    Check(done > 0);
    bytes.remove_prefix(static_cast<size_t>(done));
  }
  close(fd);
}

inline void RemoveFile(const std::string& path) { unlink(path.c_str()); }

}  // namespace fuzzing
