#include <gtest/gtest.h>

#include "platform/Locale.h"

namespace {

TEST(Locale, MapsLocaleNamesToTheWindowsAbbreviation) {
  using platform::LanguageAbbreviationFor;
  EXPECT_EQ(LanguageAbbreviationFor("zh_CN.UTF-8"), "CHS");
  EXPECT_EQ(LanguageAbbreviationFor("zh_CN.GB18030"), "CHS");
  EXPECT_EQ(LanguageAbbreviationFor("zh_CN"), "CHS");
  EXPECT_EQ(LanguageAbbreviationFor("zh_TW.UTF-8"), "CHT");
  EXPECT_EQ(LanguageAbbreviationFor("en_US.UTF-8"), "ENU");
  EXPECT_EQ(LanguageAbbreviationFor("de_DE@euro"), "DEU");
  EXPECT_EQ(LanguageAbbreviationFor("C"), "ENU");
  EXPECT_EQ(LanguageAbbreviationFor("POSIX"), "ENU");
}

}  // namespace
