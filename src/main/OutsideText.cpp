#include "main/OutsideText.h"

#include <algorithm>

#include "platform/TextCodec.h"

namespace cli {
namespace {

// The length of the UTF-8 sequence at text[i], or 0 when it is not a well-formed one.
size_t SequenceLength(std::string_view text, size_t i) {
  const auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t length = SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

TerminalCode FileTextCode(std::string_view text) {
  return IsUtf8(text) ? TerminalCode::Utf8 : TerminalCode::Gbk;
}

std::optional<std::string> ToGbk(std::string_view text, TerminalCode code) {
  // ASCII is GBK as it is; a system without its character-set tables (a rescue shell, an initramfs) still
  // takes the values most units are given.
  const bool ascii =
      std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (code == TerminalCode::Gbk || ascii) return std::string(text);
  if (!IsUtf8(text)) return std::nullopt;
  return platform::Utf8ToGbkExactly(text);
}

}  // namespace cli
