#pragma once
// A fresh folder that a benchmark's program takes as its own: lang.txt and program.ini of the build folder
// stay out of the runs, and the settings files it writes go here.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/ProgramFolder.h"

namespace bench {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dtu-bench-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    platform::SetProgramFolderForTesting(path_.string());
  }
  ~ScratchFolder() {
    platform::SetProgramFolderForTesting("");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  // Writes the file and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
    return (path_ / name).string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace bench
