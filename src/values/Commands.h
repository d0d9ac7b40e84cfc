#pragma once
// The DTU's command texts as functions of the table and the values, and the text conversions they need.

#include <stdexcept>
#include <string>
#include <string_view>

#include "values/DtuValues.h"

namespace values {

// A text that should have held a number (a hex pair, a digit) did not. Its message is the one the general
// error report shows to the user.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ASCII letters in capitals; a GBK character is kept whole, even where its second byte looks like a letter.
std::string UpperAscii(std::string_view text);

// Two upper-case hex digits per byte, no separators; multi-byte characters are converted byte by byte.
std::string AsciiToHex(const std::string& text);
// Reads the text in pairs from the start; an odd last digit is dropped. A pair that is not hexadecimal raises
// EConvertError "'$xy' is not a valid integer value" and nothing after it is converted.
std::string HexToAscii(const std::string& hex);

// The APN with an optional account and password, as the APN dialog takes them and the DTU lists them.
struct ApnParts {
  std::string name;
  std::string account;
  std::string password;
  friend bool operator==(const ApnParts&, const ApnParts&) = default;
};
// The APN text of the APN field and of AT+CSTT: the name; with an account, the separator "," in quotes and
// the account; only then, with a password, the separator and the password.
std::string ComposeApnText(const ApnParts& apn);
// The inverse: the text split at the quoted separators.
ApnParts SplitApnText(const std::string& text);

// The setting command of step 1 to 10 built from the values, CR LF included; empty for any other step. The
// values are taken as they are: check them first (values/Checks.h).
std::string CommandText(int step, const DtuValues& values);
// The query 1 to 3 ("AT+CIPR?", "AT+ICF?", "AT+CIPSCONT?"), CR LF included; empty for any other.
std::string QueryText(int query);

}  // namespace values
