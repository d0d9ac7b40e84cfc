#include "platform/TextCodec.h"

#include <windows.h>

#include <algorithm>

namespace platform {
namespace {

constexpr UINT kGbkCodePage = 936;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// One UTF-8 character at the front of text: its code point and length, or nothing for a bad sequence (whose
// first byte alone is then skipped, as the Linux half does).
bool NextUtf8(std::string_view text, char32_t& c, size_t& length) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) {
    c = lead;
    length = 1;
    return true;
  }
  if (lead < 0xC2 || lead > 0xF4) return false;
  length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  if (text.size() < length) return false;
  c = lead & (0x3F >> (length - 1));
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return false;
    c = (c << 6) | (next & 0x3F);
  }
  constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  return c >= kShortest[length] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

// Character by character rather than the whole text at once: the code page converters of Windows turn a bad
// byte into a best-fit or a private-use character, where the program promises U+FFFD for each.
std::string GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  for (size_t i = 0; i < gbk.size();) {
    const auto byte = static_cast<unsigned char>(gbk[i]);
    if (byte < 0x80) {
      out += static_cast<char>(byte);
      ++i;
      continue;
    }
    // 0x80 is the euro sign alone; 0x81..0xFE lead two-byte characters; 0xFF is never valid.
    const size_t length = byte == 0x80 ? 1 : 2;
    wchar_t wide = 0;
    const bool converted = byte != 0xFF && i + length <= gbk.size() &&
                           MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data() + i,
                                               static_cast<int>(length), &wide, 1) == 1;
    AppendUtf8(out, converted ? static_cast<char32_t>(wide) : U'\uFFFD');
    i += converted ? length : 1;
  }
  return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = 0;
    size_t length = 1;
    if (!NextUtf8(utf8.substr(i), c, length)) {
      out += '?';
      ++i;
      continue;
    }
    i += length;
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    // GBK holds nothing outside the basic plane; inside it, no best fit ("é" must not become "e").
    char bytes[2] = {};
    BOOL usedDefault = FALSE;
    const wchar_t wide = static_cast<wchar_t>(c);
    const int written = c > 0xFFFF ? 0
                                   : WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes,
                                                         sizeof bytes, nullptr, &usedDefault);
    if (written <= 0 || usedDefault) {
      out += '?';
    } else {
      out.append(bytes, static_cast<size_t>(written));
    }
  }
  return out;
}

std::optional<std::string> Utf8ToGbkExactly(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  const int inLength = static_cast<int>(utf8.size());
  const int wideLength =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLength, nullptr, 0);
  if (wideLength <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLength, wide.data(), wideLength);
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr,
                                         0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string gbk(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, gbk.data(), length,
                      nullptr, nullptr);
  return gbk;
}

}  // namespace platform
