#include "platform/WebBrowser.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace platform {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

std::string NormaliseWebAddress(const std::string& address) {
  const auto first = address.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const std::string trimmed = address.substr(first, address.find_last_not_of(" \t") - first + 1);
  // Control characters never belong in an address and could confuse the launcher.
  if (std::any_of(trimmed.begin(), trimmed.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; }))
    return "";

  // A scheme is letters (then letters, digits, "+", "-", ".") before the first ":"; "host:8080/path" is not
  // one, because a port follows its colon.
  const auto colon = trimmed.find(':');
  const bool schemeShaped =
      colon != std::string::npos && colon > 0 && std::isalpha(static_cast<unsigned char>(trimmed[0])) &&
      std::all_of(trimmed.begin(), trimmed.begin() + static_cast<std::ptrdiff_t>(colon),
                  [](unsigned char c) { return std::isalnum(c) || c == '+' || c == '-' || c == '.'; }) &&
      !(colon + 1 < trimmed.size() && std::isdigit(static_cast<unsigned char>(trimmed[colon + 1])));
  if (!schemeShaped) return "http://" + trimmed;
  const std::string scheme = Lower(trimmed.substr(0, colon));
  if ((scheme == "http" || scheme == "https") && trimmed.compare(colon, 3, "://") == 0) return trimmed;
  return "";
}

bool OpenWebAddress(const std::string& address) {
  const std::string url = NormaliseWebAddress(address);
  if (url.empty()) return false;
  std::string program = "xdg-open";
  if (const char* override = std::getenv("DTU_BROWSER"); override != nullptr && *override != '\0')
    program = override;
  char* argv[] = {program.data(), const_cast<char*>(url.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
  // Reap the launcher in the background so it leaves no zombie; the window does not wait for the browser.
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}

}  // namespace platform
