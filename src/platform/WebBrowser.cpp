#include "platform/WebBrowser.h"

#include <algorithm>
#include <cctype>

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

}  // namespace platform
