#include "lang/GbkText.h"

namespace lang {
namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool IsTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

unsigned char Byte(std::string_view text, std::size_t pos) { return static_cast<unsigned char>(text[pos]); }

unsigned char FoldAscii(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

std::size_t GbkCharLength(std::string_view text, std::size_t pos) {
  if (IsLeadByte(Byte(text, pos)) && pos + 1 < text.size() && IsTrailByte(Byte(text, pos + 1))) return 2;
  return 1;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  std::size_t pos = 0;
  while (pos < a.size()) {
    const std::size_t length = GbkCharLength(a, pos);
    if (length == 2) {
      // The same first byte in b makes b's character two bytes long as well, so both stay in step.
      if (a[pos] != b[pos] || a[pos + 1] != b[pos + 1]) return false;
    } else if (FoldAscii(Byte(a, pos)) != FoldAscii(Byte(b, pos))) {
      return false;
    } else if (GbkCharLength(b, pos) != 1) {
      // a holds a lone lead byte where b holds a whole character (a ends here, or its next byte is no trail).
      return false;
    }
    pos += length;
  }
  return true;
}

std::size_t FindChar(std::string_view text, char c, std::size_t from) {
  for (std::size_t pos = from; pos < text.size(); pos += GbkCharLength(text, pos)) {
    if (text[pos] == c) return pos;
  }
  return std::string_view::npos;
}

std::size_t FindLastChar(std::string_view text, char c) {
  std::size_t found = std::string_view::npos;
  for (std::size_t pos = FindChar(text, c); pos != std::string_view::npos; pos = FindChar(text, c, pos + 1)) {
    found = pos;
  }
  return found;
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (std::size_t pos = 0; pos < upper.size(); pos += GbkCharLength(upper, pos)) {
    char& c = upper[pos];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace lang
