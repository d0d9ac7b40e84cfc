#pragma once
// Where a run writes beside the log: standard output and the --report file. An output that is also an input
// would be emptied before the input is read (by the shell's redirection, or by the report's opening), so
// that a DTU gets the defaults while the user meant the file's values; such a run is refused before
// anything is opened. The report is written as the ports end, so that an interrupted batch keeps the rows
// of the ports that finished.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "main/CliOptions.h"
#include "main/Report.h"

namespace cli {

// Why the outputs cannot be used with these inputs, or nothing. Files are compared as the system knows
// them (platform/FileIdentity.h), so a link or another path to the same file counts. outFd is standard
// output.
std::optional<std::string> OutputOverInput(const CliOptions& options, int outFd);

// The --report file, as CSV (a header, then a line per port) or as a JSON array whose rows follow one
// another; each piece is written through to the file at once. Every failure is kept as its errno.
class TReportFile {
 public:
  TReportFile(std::string path, bool json);
  // Creates or empties the file and writes the start of the document; false on failure.
  bool Open();
  // One port's row; false on failure, and after a failure nothing more is written.
  bool Add(const ReportRow& row);
  // The end of the document, then the file is closed; false on failure.
  bool Close();
  bool IsOpen() const { return file_ != nullptr; }
  int Error() const { return error_; }
  const std::string& Path() const { return path_; }

 private:
  bool Put(const std::string& bytes);

  std::string path_;
  bool json_;
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  bool anyRow_ = false;
  int error_ = 0;
};

}  // namespace cli
