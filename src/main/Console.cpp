#include "main/Console.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "platform/Terminal.h"
#include "platform/TextCodec.h"

namespace cli {
namespace {

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper;
}

std::string EscapeControls(std::string_view gbk) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string safe;
  safe.reserve(gbk.size());
  for (const char c : gbk) {
    const auto byte = static_cast<unsigned char>(c);
    // A GBK trail byte is never below 0x40, so these bytes are always characters of their own.
    if (byte < 0x20 || byte == 0x7F) {
      safe += "\\x";
      safe += kHex[byte >> 4];
      safe += kHex[byte & 0x0F];
    } else {
      safe += c;
    }
  }
  return safe;
}

}  // namespace

TerminalCode TerminalCodeFor(std::string_view codeset) {
  const std::string name = UpperAscii(codeset);
  if (name == "GBK" || name == "GB18030" || name == "CP936") return TerminalCode::Gbk;
  return TerminalCode::Utf8;
}

TerminalCode TerminalCodeOfLocale() { return TerminalCodeFor(platform::TerminalCodeSet()); }

std::string ForTerminal(std::string_view gbk, TerminalCode code) {
  std::string safe = EscapeControls(gbk);
  return code == TerminalCode::Utf8 ? platform::GbkToUtf8(safe) : safe;
}

void Console::Error(std::string_view gbkLine) {
  const std::string line = ForTerminal(gbkLine, code_) + "\n";
  std::fwrite(line.data(), 1, line.size(), err_);
  std::fflush(err_);
}

void Console::Output(std::string_view bytes) {
  if (outError_ != 0) return;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), out_) != bytes.size() || std::fflush(out_) != 0) {
    outError_ = errno != 0 ? errno : EIO;
  }
}

}  // namespace cli
