#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/LangApply.h"
#include "app/Tfrm_APN.h"
#include "app/Tfrm_About.h"
#include "platform/ProgramFolder.h"
#include "platform/TextCodec.h"
#include "platform/VirtualEventLoop.h"
#include "support/ScriptedDialogHost.h"

namespace {

using platform::GbkToUtf8;

class DialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("dtu-dialogs-" + std::to_string(getpid()) + "-" +
              testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
    platform::SetProgramFolderForTesting(folder.string());
    Lang.Create("", true);
  }
  void TearDown() override {
    platform::SetProgramFolderForTesting("");
    std::filesystem::remove_all(folder);
  }

  std::filesystem::path folder;
  platform::VirtualEventLoop loop;
  testing_support::ScriptedDialogHost host;
  ui::Application app{loop, host};
  lang::TLangHolder Lang;
  ui::TEdit edt_APN_other{"edt_APN_other"};
};

struct ApnCase {
  const char* name;
  const char* apn;
  const char* account;
  const char* password;
  const char* expected;
};

class ApnComposition : public DialogsTest, public testing::WithParamInterface<ApnCase> {};

TEST_P(ApnComposition, JoinsNameAccountAndPasswordWithoutSpaces) {
  app::Tfrm_APN dialog(app, Lang, edt_APN_other);
  dialog.FormCreate();
  dialog.lbledt_APN.SetText(GetParam().apn);
  dialog.lbledt_account.SetText(GetParam().account);
  dialog.lbledt_password.SetText(GetParam().password);
  dialog.btn_APN.UserClick();
  EXPECT_EQ(edt_APN_other.Text(), GetParam().expected);
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Apn, ApnComposition,
    testing::Values(ApnCase{"NameOnly", " CMNET ", "", "", "CMNET"},
                    ApnCase{"AccountWithoutPassword", "myapn", "user", "", "myapn\",\"user"},
                    ApnCase{"AllThree", "myapn", "user", "secret", "myapn\",\"user\",\"secret"},
                    ApnCase{"PasswordWithoutAccountIsDropped", "myapn", "", "secret", "myapn"},
                    ApnCase{"SpacesInsideAreRemoved", "my apn", "us er", " pa ss ",
                            "myapn\",\"user\",\"pass"}),
    [](const testing::TestParamInfo<ApnCase>& row) { return std::string(row.param.name); });

TEST_F(DialogsTest, AnEmptyApnIsRefusedInTheCurrentLanguageAndChangesNothing) {
  app::Tfrm_APN dialog(app, Lang, edt_APN_other);
  dialog.FormCreate();
  edt_APN_other.SetText("before");
  bool stayedOpen = false;
  host.onModal = [&](ui::TForm&) {
    dialog.lbledt_APN.SetText("   ");
    dialog.btn_APN.UserClick();
    stayedOpen = dialog.Visible();
  };
  dialog.ShowModal();
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(edt_APN_other.Text(), "before");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(GbkToUtf8(host.messages[0].text), "APN账号不能为空！");
  Lang.SetChinese(false);
  dialog.btn_APN.UserClick();
  EXPECT_EQ(host.messages.back().text, "APN account can not be empty!");
}

TEST_F(DialogsTest, TheApnDialogKeepsItsTextsBetweenShowingsAndClosingWithoutOkChangesNothing) {
  app::Tfrm_APN dialog(app, Lang, edt_APN_other);
  dialog.FormCreate();
  edt_APN_other.SetText("unchanged");
  host.onModal = [&](ui::TForm&) { dialog.lbledt_account.SetText("user"); };
  dialog.ShowModal();
  EXPECT_EQ(edt_APN_other.Text(), "unchanged");
  std::string seen;
  host.onModal = [&](ui::TForm&) { seen = dialog.lbledt_account.Text(); };
  dialog.ShowModal();
  EXPECT_EQ(seen, "user");
}

TEST_F(DialogsTest, AboutShowsVersionAndFollowsTheLanguageWhileVersionAndPictureStay) {
  app::Tfrm_About about(app, Lang);
  about.FormCreate();
  EXPECT_EQ(about.lbl_version.Caption(), " V1.7.3.0");
  EXPECT_EQ(GbkToUtf8(about.Caption()), "关于本程序");
  EXPECT_EQ(GbkToUtf8(about.btn_About_Yes.Caption()), "确 认");
  const std::string picture = about.img_About.Picture;
  Lang.SetChinese(false);
  app::ApplyAboutLang(about, Lang.List());
  EXPECT_EQ(about.Caption(), "About this");
  EXPECT_EQ(about.lbl_About_Contact.Caption(), "Contact Us:");
  EXPECT_EQ(about.lbl_Aboutl_Description.Caption(),
            "This software is design by Torvane IoT Co., Ltd.\r\nIt is used for Torvane-S1 config.");
  EXPECT_EQ(about.lbl_About_Website.Caption(), "https://www.example.net");
  EXPECT_EQ(about.lbl_version.Caption(), " V1.7.3.0");
  EXPECT_EQ(about.img_About.Picture, picture);
}

TEST_F(DialogsTest, AboutTakesAReadableAboutJpgAndKeepsTheBuiltInPictureForABrokenOne) {
  {
    std::ofstream broken(folder / "About.jpg", std::ios::binary);
    broken << "this is not a JPEG";
  }
  app::Tfrm_About withBroken(app, Lang);
  withBroken.FormCreate();
  EXPECT_EQ(withBroken.img_About.Picture, app::BuiltInAboutPicture());

  // A readable picture of the user's: here the built-in bytes with a comment appended after the image end.
  std::string own(app::BuiltInAboutPicture());
  own += "trailing";
  {
    std::ofstream good(folder / "About.jpg", std::ios::binary);
    good << own;
  }
  app::Tfrm_About withGood(app, Lang);
  withGood.FormCreate();
  EXPECT_EQ(withGood.img_About.Picture, own);
}

TEST_F(DialogsTest, OkClosesTheAboutDialog) {
  app::Tfrm_About about(app, Lang);
  about.FormCreate();
  bool closedByOk = false;
  host.onModal = [&](ui::TForm& form) {
    about.btn_About_Yes.UserClick();
    closedByOk = !form.Visible();
  };
  about.ShowModal();
  EXPECT_TRUE(closedByOk);
}

}  // namespace
