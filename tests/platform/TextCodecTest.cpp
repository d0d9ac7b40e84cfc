#include <gtest/gtest.h>

#include "platform/TextCodec.h"

namespace {

using platform::GbkToUtf8;
using platform::Utf8ToGbk;

// Chinese texts the window and the log show, each with its GBK bytes.
struct GbkCase {
  const char* name;
  const char* utf8;
  const char* gbk;
};

class GbkTexts : public testing::TestWithParam<GbkCase> {};

TEST_P(GbkTexts, ConvertBothWaysExactly) {
  EXPECT_EQ(Utf8ToGbk(GetParam().utf8), GetParam().gbk);
  EXPECT_EQ(GbkToUtf8(GetParam().gbk), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(WindowTexts, GbkTexts,
                         testing::Values(GbkCase{"Open", "打 开", "\xB4\xF2 \xBF\xAA"},
                                         GbkCase{"Close", "关 闭", "\xB9\xD8 \xB1\xD5"},
                                         GbkCase{"Mobile", "移动", "\xD2\xC6\xB6\xAF"},
                                         GbkCase{"Send", "[发送]：", "[\xB7\xA2\xCB\xCD]\xA3\xBA"},
                                         GbkCase{"Receive", "[接收]：", "[\xBD\xD3\xCA\xD5]\xA3\xBA"},
                                         GbkCase{"FileMenu", "文件(&F)", "\xCE\xC4\xBC\xFE(&F)"},
                                         GbkCase{"Ellipsis", "关于...", "\xB9\xD8\xD3\xDA..."}),
                         [](const testing::TestParamInfo<GbkCase>& row) {
                           return std::string(row.param.name);
                         });

TEST(TextCodec, EveryChineseMessageOfTheLogSurvivesARoundTrip) {
  const char* texts[] = {"[提示]：串口未开启！请先打开串口。",
                         "[提示]：设备已启动，请在15秒内完成读取和配置。",
                         "[提示]：参数设置成功。",
                         "[提示]：参数读取成功。",
                         "[提示]：接收数据超时！",
                         "[提示]：串口不存在或被占用，请检查该串口是否存在或关闭其他占用此串口的软件！",
                         "设置设备的ID。（16进制）",
                         "范围：1800-无限，设置设备无网络数据传输时的重启时间，最好大于2分钟。",
                         "   这样DTU就会按新的IP端口号工作了",
                         "本程序由托凡物联技术有限公司设计提供，用于Torvane-"
                         "S1系统产品设置，可以通过串口对系统产品进行配置，本软件使用免费。",
                         "APN账号不能为空！"};
  for (const char* text : texts) {
    const std::string gbk = Utf8ToGbk(text);
    EXPECT_NE(gbk, text);
    EXPECT_EQ(GbkToUtf8(gbk), text);
  }
}

TEST(TextCodec, BytesThatAreNotGbkShowAsReplacementCharactersAndNeverThrow) {
  // 0xFF is never valid; 0x81 at the end is a lead byte without its trail byte.
  EXPECT_EQ(GbkToUtf8(std::string("A\xFF"
                                  "B",
                                  3)),
            "A\xEF\xBF\xBD"
            "B");
  EXPECT_EQ(GbkToUtf8("OK\x81"), "OK\xEF\xBF\xBD");
  EXPECT_EQ(GbkToUtf8(std::string("\0\x01", 2)), std::string("\0\x01", 2));
}

TEST(TextCodec, CharactersGbkCannotHoldBecomeOneQuestionMarkEach) {
  EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80"
                      "b"),
            "a?b");                     // an emoji
  EXPECT_EQ(Utf8ToGbk("x\xC3"), "x?");  // UTF-8 cut short
  EXPECT_EQ(Utf8ToGbk("\xFF\xFE"), "??");
}

TEST(TextCodec, AsciiAndEmptyTextPassUnchanged) {
  EXPECT_EQ(Utf8ToGbk(""), "");
  EXPECT_EQ(GbkToUtf8(""), "");
  EXPECT_EQ(GbkToUtf8("AT+CIPR?\r\n"), "AT+CIPR?\r\n");
}

}  // namespace
