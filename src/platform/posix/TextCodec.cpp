#include "platform/TextCodec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace platform {
namespace {

// GB18030 decodes every GBK sequence the same way and knows a few more; CP936 is glibc's name for GBK proper.
constexpr const char* kGbkName = "CP936";

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts input; each input sequence that cannot be converted is skipped (invalidSkip bytes) and
  // replacement is written in its place.
  std::string Convert(std::string_view input, std::string_view replacement, size_t invalidSkip) {
    std::string out;
    if (!valid()) return std::string(input);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      const size_t result = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (result != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) continue;
      // EILSEQ (bad or unencodable sequence) or EINVAL (cut short at the end): replace and go on.
      const size_t skip = std::min(inLeft, SequenceLength(in, inLeft, invalidSkip));
      out.append(replacement);
      in += skip;
      inLeft -= skip;
    }
    return out;
  }

 private:
  // For UTF-8 input a whole unencodable character is skipped, so it becomes one "?".
  static size_t SequenceLength(const char* p, size_t left, size_t invalidSkip) {
    if (invalidSkip != 0) return invalidSkip;
    const auto lead = static_cast<unsigned char>(*p);
    size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    // Only skip continuation bytes that are really there; a broken sequence is one bad byte.
    for (size_t i = 1; i < length; ++i) {
      if (i >= left || (static_cast<unsigned char>(p[i]) & 0xC0) != 0x80) return 1;
    }
    return length;
  }

  iconv_t cd_;
};

class StrictConverter {
 public:
  StrictConverter() : cd_(iconv_open(kGbkName, "UTF-8")) {}
  ~StrictConverter() {
    if (Valid()) iconv_close(cd_);
  }
  StrictConverter(const StrictConverter&) = delete;
  StrictConverter& operator=(const StrictConverter&) = delete;
  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::optional<std::string> Convert(std::string_view input) {
    if (!Valid()) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
      char buffer[1024];
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      const size_t result = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      // Only a full buffer may go round again; a character it cannot convert ends the attempt.
      if (result == static_cast<size_t>(-1) && errno != E2BIG) return std::nullopt;
    }
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  thread_local Converter converter("UTF-8", kGbkName);
  return converter.Convert(gbk, "\xEF\xBF\xBD", 1);
}

std::string Utf8ToGbk(std::string_view utf8) {
  thread_local Converter converter(kGbkName, "UTF-8");
  return converter.Convert(utf8, "?", 0);
}

std::optional<std::string> Utf8ToGbkExactly(std::string_view utf8) {
  thread_local StrictConverter converter;
  return converter.Convert(utf8);
}

}  // namespace platform
