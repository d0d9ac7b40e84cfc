#include "winview/WinText.h"

#include "winview/Win32.h"

namespace winview {
namespace {
constexpr UINT kGbk = 936;
}

std::wstring ToWide(std::string_view gbk) {
  if (gbk.empty()) return {};
  const int size = static_cast<int>(gbk.size());
  const int length = MultiByteToWideChar(kGbk, 0, gbk.data(), size, nullptr, 0);
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(kGbk, 0, gbk.data(), size, text.data(), length);
  return text;
}

std::string FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(kGbk, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string gbk(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kGbk, 0, text.data(), size, gbk.data(), length, nullptr, nullptr);
  return gbk;
}

std::wstring ToWideLines(std::string_view gbk) {
  const std::wstring text = ToWide(gbk);
  std::wstring lines;
  lines.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      lines += L"\r\n";
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      lines.push_back(c);
    }
  }
  return lines;
}

}  // namespace winview
