#include "main/Json.h"

#include <cstdio>

#include "platform/TextCodec.h"

namespace cli {

std::string JsonString(std::string_view gbk) {
  const std::string utf8 = platform::GbkToUtf8(gbk);
  std::string json = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

}  // namespace cli
