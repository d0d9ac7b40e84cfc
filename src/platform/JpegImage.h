#pragma once
// Decoding the About dialog's picture: with the system's decoder (WIC) on Windows, libjpeg-turbo on Linux.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // width * height * 3 bytes, rows top to bottom
};

// Decodes JPEG bytes; anything that is not a readable JPEG (or is unreasonably large) gives nothing. Never
// throws and never ends the process, whatever the bytes.
std::optional<RgbImage> DecodeJpeg(std::string_view bytes);

// Reads a whole file; nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes = 64u << 20);

}  // namespace platform
