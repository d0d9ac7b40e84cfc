#pragma once
// A scratch folder per test, with the ways a test needs to make it refuse writes (SystemFiles.h, one per
// system).

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "SystemFiles.h"

namespace settings_test {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<unsigned> count{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (;;) {
      const auto candidate = std::filesystem::temp_directory_path() /
                             ("dtu-settings-" + std::to_string(stamp) + "-" + std::to_string(count++));
      if (std::filesystem::create_directory(candidate)) {
        path_ = candidate.generic_string();
        break;
      }
    }
  }
  ~TempFolder() {
    if (readOnly_) UndoFolderReadOnly(path_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string File(const std::string& name) const { return path_ + "/" + name; }

  // Read-only for root too where the system allows it; false when it does not, and the caller skips.
  bool MakeReadOnly() {
    readOnly_ = MakeFolderReadOnly(path_);
    return readOnly_;
  }

  // Files in the folder, hidden ones included.
  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
  }

 private:
  std::string path_;
  bool readOnly_ = false;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace settings_test
