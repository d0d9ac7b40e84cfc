#include "main/OutputFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace cli {
namespace {

struct NamedFile {
  std::string name;  // as a message names it
  struct stat info;
};

std::optional<NamedFile> Existing(const std::string& name, const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return NamedFile{name, info};
}

bool Same(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

std::optional<std::string> OutputOverInput(const CliOptions& options, int outFd) {
  std::vector<NamedFile> inputs;
  if (options.iniFile) {
    if (auto file = Existing("the settings file " + *options.iniFile, *options.iniFile))
      inputs.push_back(*file);
  }
  if (options.unitsFile) {
    if (auto file = Existing("the units file " + *options.unitsFile, *options.unitsFile))
      inputs.push_back(*file);
  }
  // Only a regular file loses what it held: a terminal, a pipe or /dev/null may well be named twice.
  std::vector<NamedFile> outputs;
  struct stat out {};
  if (fstat(outFd, &out) == 0 && S_ISREG(out.st_mode)) outputs.push_back(NamedFile{"standard output", out});
  // A report that does not exist yet is no input; two outputs onto one file would also cut each other.
  if (options.reportFile) {
    if (auto file = Existing("the report file " + *options.reportFile, *options.reportFile);
        file && S_ISREG(file->info.st_mode)) {
      for (const NamedFile& other : outputs) {
        if (Same(file->info, other.info)) return file->name + " is also " + other.name;
      }
      outputs.push_back(*file);
    }
  }
  for (const NamedFile& output : outputs) {
    for (const NamedFile& input : inputs) {
      if (Same(output.info, input.info)) {
        return output.name + " is " + input.name + "; writing it would lose what it holds";
      }
    }
  }
  return std::nullopt;
}

TReportFile::TReportFile(std::string path, bool json) : path_(std::move(path)), json_(json) {}

bool TReportFile::Open() {
  fd_.Reset(open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!fd_.Valid()) {
    error_ = errno;
    return false;
  }
  return Put(json_ ? "[" : ReportCsvHeader());
}

bool TReportFile::Add(const ReportRow& row) {
  const bool written = Put(json_ ? ReportJsonRow(row, !anyRow_) : ReportCsvRow(row));
  anyRow_ = true;
  return written;
}

bool TReportFile::Close() {
  if (!fd_.Valid()) return error_ == 0;
  if (json_) Put(anyRow_ ? "\n]\n" : "]\n");
  // A file system may report a failed write only when the file is closed.
  if (close(fd_.Release()) != 0 && error_ == 0) error_ = errno;
  return error_ == 0;
}

bool TReportFile::Put(const std::string& bytes) {
  if (error_ != 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd_.Get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = n < 0 ? errno : EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace cli
