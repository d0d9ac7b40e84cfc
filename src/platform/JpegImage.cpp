#include "platform/JpegImage.h"

#include <fstream>

#include "platform/FilePath.h"

namespace platform {

std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes) {
  std::ifstream file(NativePath(path), std::ios::binary);
  if (!file) return std::nullopt;
  std::string content;
  char buffer[65536];
  while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
    content.append(buffer, static_cast<size_t>(file.gcount()));
    if (content.size() > maxBytes) return std::nullopt;
  }
  if (file.bad()) return std::nullopt;
  return content;
}

}  // namespace platform
