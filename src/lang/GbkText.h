#pragma once
// Texts of the language list are GBK (code page 936) bytes. A GBK character is either one byte below 0x80 or
// a lead byte 0x81..0xFE followed by a trail byte 0x40..0x7E or 0x80..0xFE. Trail bytes overlap ASCII:
// 0x41..0x5A look like capital letters and 0x7C like "|", so code that looks for ASCII inside GBK text has to
// step over whole characters.

#include <cstddef>
#include <string>
#include <string_view>

namespace lang {

// The length in bytes (1 or 2) of the character that starts at text[pos]; pos must be inside text. A lead
// byte without a valid trail byte after it counts as one byte on its own.
std::size_t GbkCharLength(std::string_view text, std::size_t pos);

// Whether a and b hold the same text when ASCII letters are compared without regard to case. The bytes of
// double-byte characters are compared exactly, so two different characters whose trail bytes differ only
// like "A" and "a" stay different.
bool SameText(std::string_view a, std::string_view b);

// The position of the first character c (an ASCII character) at or after from, or npos. A trail byte that
// equals c is not a match.
std::size_t FindChar(std::string_view text, char c, std::size_t from = 0);
// The position of the last character c (an ASCII character), or npos.
std::size_t FindLastChar(std::string_view text, char c);

// The text with its ASCII letters in upper case; the bytes of double-byte characters stay as they are, so a
// trail byte that looks like "a" is not turned into "A".
std::string UpperAscii(std::string_view text);

}  // namespace lang
