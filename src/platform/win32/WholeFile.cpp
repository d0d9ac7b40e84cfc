#include "platform/WholeFile.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/FilePath.h"

namespace platform {
namespace {

// The one owner of a Win32 file handle.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  // Whether the close succeeded; the owner is empty afterwards either way.
  bool Close() {
    if (!Valid()) return false;
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// One byte far past any end of file. Windows locks are mandatory: a lock on the content would make a reader
// of program.ini fail in the moment between the rename and the close, while this one stops nobody but a
// clean-up asking for the same byte.
bool LockMarker(HANDLE file, DWORD flags) {
  OVERLAPPED at{};
  at.OffsetHigh = 0x7FFFFFFF;
  return LockFileEx(file, flags, 0, 1, 0, &at) != 0;
}

bool WriteAll(HANDLE file, std::string_view data) {
  while (!data.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) return false;
    data.remove_prefix(written);
  }
  return true;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of("/\\") + 1); }

// A temporary file created new and locked before its first byte; removed again unless the replacement got as
// far as the rename. Others may delete it while we hold it (or our own rename of it would be refused): its
// lock is what tells a clean-up to leave it alone, and Windows drops the lock with a killed process.
class TempFile {
 public:
  TempFile() = default;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    file_.Close();
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }

  bool Create(const std::string& folder, const std::string& baseName) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::wstring candidate =
          NativePath(folder + whole_file::TemporaryName(baseName, GetCurrentProcessId())).wstring();
      file_.Reset(CreateFileW(candidate.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!file_.Valid()) {
        if (GetLastError() == ERROR_FILE_EXISTS) continue;
        return false;
      }
      path_ = std::move(candidate);
      return LockMarker(file_.Get(), LOCKFILE_EXCLUSIVE_LOCK);
    }
    return false;
  }

  HANDLE Handle() const { return file_.Get(); }
  const std::wstring& Path() const { return path_; }
  // After the rename the name belongs to the real file.
  void Release() { path_.clear(); }

 private:
  FileHandle file_;
  std::wstring path_;
};

// A temporary file whose replacement is over: killed, since one that fails removes its own.
void RemoveIfStale(const std::filesystem::path& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ | DELETE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.Valid()) return;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file.Get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    return;
  }
  if (!LockMarker(file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY)) return;  // running
  // Deleting through the handle that was checked: never a file a new replacement made under the name.
  FILE_DISPOSITION_INFO dispose{};
  dispose.DeleteFile = TRUE;
  SetFileInformationByHandle(file.Get(), FileDispositionInfo, &dispose, sizeof dispose);
}

}  // namespace

WholeFile LoadWholeFile(const std::string& path) {
  WholeFile result;
  FileHandle file(CreateFileW(NativePath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = GetLastError();
    result.state = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? WholeFileState::Missing
                                                                                  : WholeFileState::Failed;
    return result;
  }
  char buffer[8192];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
      result.state = WholeFileState::Failed;
      break;
    }
    if (got == 0) {
      result.state = WholeFileState::Loaded;
      break;
    }
    result.bytes.append(buffer, got);
  }
  return result;
}

bool ReplaceWholeFile(const std::string& path, std::string_view content) {
  const std::wstring target = NativePath(path).wstring();
  const DWORD attributes = GetFileAttributesW(target.c_str());
  // Windows itself refuses to write over a read-only file; the rename would not ask.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;

  const size_t slash = path.find_last_of("/\\");
  const std::string baseName = path.substr(slash + 1);
  TempFile temp;
  if (!temp.Create(FolderOf(path), baseName)) return false;
  if (!WriteAll(temp.Handle(), content) || !FlushFileBuffers(temp.Handle())) return false;
  // Renamed while still locked, so a clean-up starting meanwhile leaves it alone; the rename is written
  // through to the disk before it returns.
  if (!MoveFileExW(temp.Path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return false;
  temp.Release();
  return true;
}

void RemoveStaleReplacements(const std::string& path) {
  const std::string folder = FolderOf(path);
  const std::string baseName = path.substr(folder.size());
  // The names first: removing entries while the folder is being read may skip others.
  std::vector<std::filesystem::path> stale;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(NativePath(folder.empty() ? "." : folder), error), end;
       !error && entry != end; entry.increment(error)) {
    if (whole_file::IsTemporaryName(PathText(entry->path().filename()), baseName))
      stale.push_back(entry->path());
  }
  for (const std::filesystem::path& stalePath : stale) RemoveIfStale(stalePath);
}

}  // namespace platform
