#pragma once
// The Win32 API's UTF-16 beside the program's 8-bit text: UTF-8 (paths, addresses) or a code page (GBK is
// 936). Only code that calls the API uses these.

#include <string>
#include <string_view>

namespace platform::win32 {

// Bytes that are not valid UTF-8 become U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace platform::win32
