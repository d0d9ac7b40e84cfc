#include <gtest/gtest.h>

#include <set>

#include "platform/TextCodec.h"
#include "platform/VirtualEventLoop.h"
#include "support/ScriptedDialogHost.h"
#include "ui/MainFormDesign.h"
#include "ui/Tags.h"

namespace {

class MainFormDesignTest : public testing::Test {
 protected:
  platform::VirtualEventLoop loop;
  testing_support::ScriptedDialogHost host;
  ui::Application app{loop, host};
  ui::TMainFormDesign form{app};
};

TEST_F(MainFormDesignTest, PortListsHoldTheirItemsAndDesignedSelections) {
  EXPECT_EQ(form.cbb_Open_ComName.Items().size(), 9u);
  EXPECT_EQ(form.cbb_Open_ComName.Text(), "COM1");
  EXPECT_EQ(form.cbb_Open_BaudRate.Text(), "115200");
  EXPECT_EQ(form.cbb_Open_Parity.Text(), "NONE");
  EXPECT_EQ(form.cbb_Open_Byte.Text(), "8");
  EXPECT_EQ(form.cbb_Open_Stop.Text(), "1");
  EXPECT_EQ(form.cbb_Com_BaudRate.Items(), form.cbb_Open_BaudRate.Items());
  EXPECT_EQ(form.cbb_Com_Byte.Text(), "7") << "the designed device list shows 7 until settings load";
}

TEST_F(MainFormDesignTest, TagsSelectHandlersAsDesigned) {
  EXPECT_EQ(form.btn_Default.Tag, ui::tags::kRestoreDefaults);
  EXPECT_EQ(form.btn_Read.Tag, ui::tags::kRead);
  EXPECT_EQ(form.btn_SetAll.Tag, ui::tags::kWriteAll);
  EXPECT_EQ(form.chk_DevID.Tag, ui::tags::kDevIdHex);
  EXPECT_EQ(form.chk_HeartbeatFormat.Tag, ui::tags::kHeartbeatFormatHex);
  int hintTag = ui::tags::kHintApn;  // the window finds a label's help text by counting from the first Tag
  for (auto* label : form.HintLabels()) {
    EXPECT_EQ(label->Tag, hintTag++) << label->Name;
    EXPECT_EQ(label->Caption(), "(?)");
  }
  EXPECT_EQ(hintTag, ui::tags::kHintRestartTime + 1);
  EXPECT_EQ(form.Label2.Tag, ui::tags::kHintProtocol);
  EXPECT_EQ(form.lbl1.Tag, ui::tags::kHintRestartTime);
  EXPECT_EQ(form.N11.Tag, ui::tags::kRestoreDefaults);
  EXPECT_EQ(form.N7.Tag, ui::tags::kExit);
  EXPECT_EQ(form.N3.Tag, ui::tags::kLanguage);
  EXPECT_EQ(form.N13.Tag, ui::tags::kSmsHelp);
  EXPECT_EQ(form.N10.Tag, ui::tags::kWebSite);
}

TEST_F(MainFormDesignTest, MenuBarHasFileLanguageHelpWithSeparatorsInPlace) {
  ASSERT_EQ(form.mm1.Items.size(), 4u) << "the designed three, then Tools";
  EXPECT_EQ(form.mm1.Items[1], &form.N3);
  EXPECT_EQ(form.mm1.Items[3], &form.N14);
  EXPECT_EQ(form.N15.Tag, ui::tags::kFindLine);
  EXPECT_EQ(form.N16.Tag, ui::tags::kCancel);
  EXPECT_FALSE(form.N16.Enabled()) << "nothing runs to be cancelled";
  EXPECT_TRUE(form.N3.Items.empty());
  EXPECT_TRUE(form.N1.Items[3]->IsSeparator());
  EXPECT_TRUE(form.N4.Items[1]->IsSeparator());
  EXPECT_EQ(platform::GbkToUtf8(form.N1.Caption()), "文件(&F)");
}

TEST_F(MainFormDesignTest, DesignedCaptionsAreChineseAndTimersStartDisabled) {
  EXPECT_EQ(form.Caption(), "Torvane-S1");
  EXPECT_EQ(platform::GbkToUtf8(form.btn_Com.Caption()), "打 开");
  EXPECT_EQ(form.btn_Com.Picture(), form.img_Close.Picture);
  EXPECT_FALSE(form.tmr_TimeOut.Enabled());
  EXPECT_EQ(form.tmr_TimeOut.Interval(), 3000u);
  EXPECT_FALSE(form.tmr_SendInfo.Enabled());
  EXPECT_EQ(form.tmr_SendInfo.Interval(), 1500u);
  EXPECT_FALSE(form.img_Open.Visible());
}

TEST_F(MainFormDesignTest, AddInfoWritesTwoSpacesThenTheText) {
  form.AddInfo("[Send]:ATW\r\n");
  EXPECT_EQ(form.mmo_Info.Lines(), (std::vector<std::string>{"  [Send]:ATW"}));
}

TEST_F(MainFormDesignTest, EveryControlHasAUniqueNameAndCanBeFound) {
  std::set<std::string> names;
  for (auto* control : form.AllControls()) EXPECT_TRUE(names.insert(control->Name).second) << control->Name;
  EXPECT_EQ(form.FindControl("edt_RestartTime"), &form.edt_RestartTime);
  EXPECT_EQ(form.FindControl("nothing"), nullptr);
}

}  // namespace
