#pragma once
// Which file a path or an open file is, as the system knows it, so that two paths to one file (a link, a
// second name, another spelling) are seen to be the same: device and inode on Linux, volume serial number and
// file index on Windows.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct FileIdentity {
  uint64_t volume = 0;
  uint64_t file = 0;
  // A regular file (not a terminal, pipe, device or folder): the only kind that loses what it held when
  // opened for writing.
  bool regular = false;

  bool SameFile(const FileIdentity& other) const { return volume == other.volume && file == other.file; }
};

// Nothing when the path names nothing that can be asked.
std::optional<FileIdentity> IdentityOfPath(const std::string& path);
// The file behind an open descriptor (standard output is 1); nothing when it cannot be asked.
std::optional<FileIdentity> IdentityOfDescriptor(int fd);

}  // namespace platform
