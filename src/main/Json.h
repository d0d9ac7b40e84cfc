#pragma once
// Text for JSON documents: the program's GBK text as a JSON string in UTF-8.

#include <string>
#include <string_view>

namespace cli {

// A JSON string literal, quotation marks included, of GBK text: converted to UTF-8 (bytes that are no GBK
// character become "?"), with the quotation mark, the backslash and every control character escaped, so that
// whatever a DTU reported cannot break the document.
std::string JsonString(std::string_view gbk);

}  // namespace cli
