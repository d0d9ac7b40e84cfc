#include <gtest/gtest.h>

#include "platform/JpegImage.h"
#include "platform/WebBrowser.h"

namespace {

TEST(WebAddress, AnAddressWithoutASchemeGetsHttp) {
  using platform::NormaliseWebAddress;
  EXPECT_EQ(NormaliseWebAddress("www.example.com/Page/download.html"),
            "http://www.example.com/Page/download.html");
  EXPECT_EQ(NormaliseWebAddress("example.com:8080/x"), "http://example.com:8080/x");
  EXPECT_EQ(NormaliseWebAddress("  www.example.com "), "http://www.example.com");
}

TEST(WebAddress, OnlyHttpAndHttpsAreOpened) {
  using platform::NormaliseWebAddress;
  EXPECT_EQ(NormaliseWebAddress("https://www.example.net/download.html"),
            "https://www.example.net/download.html");
  EXPECT_EQ(NormaliseWebAddress("HTTP://www.example.com"), "HTTP://www.example.com");
  EXPECT_EQ(NormaliseWebAddress("file:///etc/passwd"), "");
  EXPECT_EQ(NormaliseWebAddress("javascript:alert(1)"), "");
  EXPECT_EQ(NormaliseWebAddress("mailto:support@example.com"), "");
  EXPECT_EQ(NormaliseWebAddress("http://a\nb"), "");
  EXPECT_EQ(NormaliseWebAddress(""), "");
  EXPECT_FALSE(platform::OpenWebAddress("ftp://example.com"));
}

TEST(Jpeg, TheBuiltInPictureDecodes) {
  const auto bytes = platform::ReadWholeFile(DTU_ABOUT_JPG);
  ASSERT_TRUE(bytes);
  const auto image = platform::DecodeJpeg(*bytes);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 150);
  EXPECT_EQ(image->height, 200);
  EXPECT_EQ(image->rgb.size(), 150u * 200u * 3u);
}

TEST(Jpeg, BytesThatAreNotAReadableJpegGiveNothing) {
  const auto bytes = platform::ReadWholeFile(DTU_ABOUT_JPG);
  ASSERT_TRUE(bytes);
  EXPECT_FALSE(platform::DecodeJpeg(""));
  EXPECT_FALSE(platform::DecodeJpeg("not a picture at all"));
  EXPECT_FALSE(platform::DecodeJpeg(bytes->substr(0, 200)));  // cut short inside the header
  std::string corrupt = *bytes;
  for (size_t i = 300; i < corrupt.size(); i += 7) corrupt[i] = static_cast<char>(0xFF);
  // A damaged body may still decode to some picture or be refused, but must never crash.
  (void)platform::DecodeJpeg(corrupt);
  EXPECT_FALSE(platform::ReadWholeFile("/nonexistent/About.jpg"));
}

}  // namespace
