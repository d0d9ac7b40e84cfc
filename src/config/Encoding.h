#pragma once
// The DTU's command texts and the small text conversions they need. Everything here is pure: it reads the
// window's controls but changes nothing, so the sequencing decides when a command is built and sent.

#include <stdexcept>
#include <string>

#include "ui/MainFormDesign.h"

namespace config {

// A text that should have held a number (a hex pair, a digit) did not. Its message is the one the general
// error report shows to the user.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Two upper-case hex digits per byte, no separators; multi-byte characters are converted byte by byte.
std::string AsciiToHex(const std::string& text);
// Reads the text in pairs from the start; an odd last digit is dropped. A pair that is not hexadecimal raises
// EConvertError "'$xy' is not a valid integer value" and nothing after it is converted.
std::string HexToAscii(const std::string& hex);
// One decimal digit as a number; anything else raises EConvertError.
int DigitValue(char digit);

// The APN with an optional account and password, as the APN dialog takes them and the DTU lists them.
struct ApnParts {
  std::string name;
  std::string account;
  std::string password;
};
// The APN text of the APN field and of AT+CSTT: the name; with an account, the separator "," in quotes and
// the account; only then, with a password, the separator and the password.
std::string ComposeApnText(const ApnParts& apn);

// The setting command of write step 1 to 10 built from the window's fields, CR LF included; empty for any
// other step. Building never fails: what a control holds is what the DTU gets.
std::string SetCommandText(const ui::TMainFormDesign& form, int step);
// The query of read step 1 to 3, CR LF included; empty for any other step.
std::string QueryText(int step);

}  // namespace config
