#pragma once
// A file that is read whole and replaced whole (program.ini): a replacement killed at any moment leaves the
// old content or the new one, never a mix, and never a half-written file under the real name.
//
// Replacing writes a temporary file beside the real one, named ".<name>.tmp-XXXXXX", flushes it to the disk
// and renames it over the old one. The replacement holds a lock on its temporary file from before its first
// byte until after the rename, so that another process cleaning up (RemoveStaleReplacements) never takes a
// replacement that is still running; the system drops the lock of one that was killed. On Linux the
// temporary file gets the old file's permissions and owner, and a path that is a symbolic link keeps being
// one: the file it points to is replaced. Paths are as platform/FilePath.h describes them.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

enum class WholeFileState { Missing, Loaded, Failed };

struct WholeFile {
  // Missing: no such file (or folder on the way); Failed: it exists but could not be read whole.
  WholeFileState state = WholeFileState::Missing;
  std::string bytes;
};

WholeFile LoadWholeFile(const std::string& path);

// False, with the old file left as it was, when the content could not be stored. A file the user may not
// write (read-only on Windows; without the user's write permission on Linux, and for root without any write
// bit) is not replaced, even where the folder would allow the rename.
bool ReplaceWholeFile(const std::string& path, std::string_view content);

// Removes the temporary files that killed replacements of path left; running ones and every other file stay.
void RemoveStaleReplacements(const std::string& path);

// The parts both halves share.
namespace whole_file {

// A fresh name for the temporary file of a replacement of baseName (no folder), distinct per process and
// per call: ".<baseName>.tmp-XXXXXX".
std::string TemporaryName(const std::string& baseName, uint64_t processId);
// Whether name (no folder) is one that a replacement of baseName makes, or made in earlier versions.
bool IsTemporaryName(std::string_view name, std::string_view baseName);

}  // namespace whole_file

}  // namespace platform
