#pragma once
// Opening a web address in the user's browser, the way the shell's "open" verb does on the original platform.

#include <string>

namespace platform {

// The address that will be opened: one without a scheme gets "http://"; only http and https are opened, so
// anything else (file:, javascript:, a command line) gives the empty string.
std::string NormaliseWebAddress(const std::string& address);

// Opens the normalised address with the shell's "open" verb on Windows, and by starting xdg-open directly
// (without a shell) on Linux; never waits for the browser. Returns whether a browser launcher was started;
// callers ignore the result, as the original does.
bool OpenWebAddress(const std::string& address);

}  // namespace platform
