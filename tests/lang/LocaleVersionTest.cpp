#include <gtest/gtest.h>

#include <string>

#include "lang/LangList.h"
#include "lang/Version.h"
#include "platform/TextCodec.h"

namespace {

TEST(AppVersion, IsTheProjectVersion) { EXPECT_EQ(lang::GetAppVersion(), "1.7.3.0"); }

// Every Chinese character of the table must exist in code page 936, or the screen would show "?".
TEST(BuiltInRows, AllConvertToGbkAndBack) {
  ASSERT_EQ(std::size(lang::kAllRows), 81u);
  for (const lang::LangRow* row : lang::kAllRows) {
    for (const std::string_view text : {row->Chinese, row->English}) {
      const std::string gbk = platform::Utf8ToGbk(text);
      EXPECT_EQ(gbk.find('?'), std::string::npos) << row->Key;
      EXPECT_EQ(platform::GbkToUtf8(gbk), text) << row->Key;
    }
  }
}

}  // namespace
