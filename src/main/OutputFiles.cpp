#include "main/OutputFiles.h"

#include <cerrno>
#include <vector>

#include "platform/FileIdentity.h"
#include "platform/FilePath.h"

namespace cli {
namespace {

struct NamedFile {
  std::string name;  // as a message names it
  platform::FileIdentity identity;
};

std::optional<NamedFile> Existing(const std::string& name, const std::string& path) {
  const auto identity = platform::IdentityOfPath(path);
  if (!identity) return std::nullopt;
  return NamedFile{name, *identity};
}

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
  if (const auto out = platform::IdentityOfDescriptor(outFd); out && out->regular)
    outputs.push_back(NamedFile{"standard output", *out});
  // A report that does not exist yet is no input; two outputs onto one file would also cut each other.
  if (options.reportFile) {
    if (auto file = Existing("the report file " + *options.reportFile, *options.reportFile);
        file && file->identity.regular) {
      for (const NamedFile& other : outputs) {
        if (file->identity.SameFile(other.identity)) return file->name + " is also " + other.name;
      }
      outputs.push_back(*file);
    }
  }
  for (const NamedFile& output : outputs) {
    for (const NamedFile& input : inputs) {
      if (output.identity.SameFile(input.identity)) {
        return output.name + " is " + input.name + "; writing it would lose what it holds";
      }
    }
  }
  return std::nullopt;
}

TReportFile::TReportFile(std::string path, bool json) : path_(std::move(path)), json_(json) {}

bool TReportFile::Open() {
  errno = 0;
  file_.reset(platform::OpenFile(path_, "wb"));
  if (!file_) {
    error_ = errno != 0 ? errno : EIO;
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
  if (!file_) return error_ == 0;
  if (json_) Put(anyRow_ ? "\n]\n" : "]\n");
  // A file system may report a failed write only when the file is closed.
  errno = 0;
  if (std::fclose(file_.release()) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
  return error_ == 0;
}

bool TReportFile::Put(const std::string& bytes) {
  if (error_ != 0) return false;
  // Through to the file at once, so that an interrupted batch keeps the rows written so far.
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size() ||
      std::fflush(file_.get()) != 0) {
    error_ = errno != 0 ? errno : EIO;
    return false;
  }
  return true;
}

}  // namespace cli
