#pragma once
// Where the command line's text goes: the log and the final lines to standard error in the terminal's
// encoding, the section read from a DTU to standard output.

#include <cstdio>
#include <string>
#include <string_view>

namespace cli {

// How the program's GBK text must be turned for the terminal.
enum class TerminalCode {
  Utf8,  // converted to UTF-8 (also for any code set other than the two below)
  Gbk,   // GBK or GB18030 terminals read the bytes as they are
};

// From the terminal's code set (platform/Terminal.h); call setlocale(LC_ALL, "") first.
TerminalCode TerminalCodeOfLocale();
TerminalCode TerminalCodeFor(std::string_view codeset);

// A GBK line made safe and readable for the terminal: control bytes (which could move the cursor or change
// the terminal's state when a DTU sends them) become \xHH, then the text is converted.
std::string ForTerminal(std::string_view gbk, TerminalCode code);

class Console {
 public:
  Console(std::FILE* out, std::FILE* err, TerminalCode code) : out_(out), err_(err), code_(code) {}

  // One GBK line to standard error, converted; a line end is added.
  void Error(std::string_view gbkLine);
  // Bytes to standard output as they are, flushed at once so that a full disk or a closed pipe is known
  // while the run can still say so. After the first failure nothing more is written.
  void Output(std::string_view bytes);
  // The errno of the first output that failed; 0 while every output went through.
  int OutputError() const { return outError_; }
  TerminalCode Code() const { return code_; }
  std::FILE* OutFile() const { return out_; }

 private:
  std::FILE* out_;
  std::FILE* err_;
  TerminalCode code_;
  int outError_ = 0;
};

}  // namespace cli
