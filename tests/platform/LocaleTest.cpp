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

TEST(Locale, TakesLcAllBeforeLcMessagesBeforeLang) {
  setenv("LANG", "en_US.UTF-8", 1);
  setenv("LC_MESSAGES", "zh_CN.UTF-8", 1);
  setenv("LC_ALL", "", 1);
  EXPECT_EQ(platform::UserLanguageAbbreviation(), "CHS");
  setenv("LC_ALL", "zh_TW.UTF-8", 1);
  EXPECT_EQ(platform::UserLanguageAbbreviation(), "CHT");
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  unsetenv("LANG");
  EXPECT_EQ(platform::UserLanguageAbbreviation(), "ENU");
}

}  // namespace
