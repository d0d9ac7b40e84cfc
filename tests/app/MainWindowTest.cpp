// The main window's behaviour without a display: start-up, menu, help labels, key filter, APN choices,
// language switching and closing.

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "platform/TextCodec.h"
#include "support/ImmutableFolder.h"
#include "support/ProgramFixture.h"

namespace {

using platform::GbkToUtf8;
using platform::Utf8ToGbk;
using testing_support::ProgramOnPty;

// A host whose modal showing fails, to see which handlers trap errors and which report them.
class FailingModalHost : public testing_support::ScriptedDialogHost {
 public:
  void ShowModal(ui::TForm&) override { throw std::runtime_error("The dialog could not be shown"); }
};

class MainWindow : public ProgramOnPty {
 protected:
  // Starts without any file beside the program, in the given locale.
  void StartBare(const char* locale) {
    setenv("LANG", locale, 1);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    program = std::make_unique<app::TDtuProgram>(loop, host);
    program->Start();
  }
  void TearDown() override {
    unsetenv("LANG");
    ProgramOnPty::TearDown();
  }
  std::vector<std::string> AllCaptions() {
    std::vector<std::string> captions{Main().Caption()};
    for (ui::Control* control : Main().AllControls()) {
      if (auto* caption = dynamic_cast<ui::CaptionControl*>(control)) captions.push_back(caption->Caption());
      if (auto* list = dynamic_cast<ui::TComboBox*>(control)) {
        for (const auto& item : list->Items()) captions.push_back(item);
      }
    }
    return captions;
  }
};

TEST_F(MainWindow, AFirstStartWithoutFilesShowsTheDefaultsInTheLocalesLanguage) {
  StartBare("zh_CN.UTF-8");
  EXPECT_EQ(Main().Caption(), "Torvane-T1 V1.7.3.0");
  EXPECT_EQ(program->Application.Title, "Torvane-S1");
  EXPECT_EQ(GbkToUtf8(Main().N1.Caption()), "文件(&F)");
  EXPECT_EQ(Main().N3.Caption(), "English(&L)");
  EXPECT_EQ(Main().cbb_Open_ComName.Text(), "COM1");
  EXPECT_EQ(Main().cbb_Open_BaudRate.Text(), "115200");
  EXPECT_EQ(Main().cbb_Com_Byte.Text(), "8");
  EXPECT_EQ(Main().edt_APN_other.Text(), "CMNET");
  EXPECT_FALSE(Main().edt_APN_other.Enabled());
  EXPECT_EQ(Main().edt_APN_other.Color(), ui::TColor::clBtnFace);
  EXPECT_EQ(Main().edt_IP.Text(), "dtu.example.com");
  EXPECT_EQ(Main().CipmuxText, "AT + CIPMUX = 0");
  // COM1 is /dev/ttyS0 here; where it cannot be opened the log says so once, after the device and the reason
  // where one is known (another test of the same run may hold the device at this moment).
  if (!Main().PortControl.PortOpened) {
    const auto& lines = Main().mmo_Info.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(
        lines.back(),
        "  " + Utf8ToGbk("[提示]：串口不存在或被占用，请检查该串口是否存在或关闭其他占用此串口的软件！"));
    EXPECT_LE(lines.size(), 2u);
    if (lines.size() == 2) {
      EXPECT_EQ(lines[0].rfind("  /dev/ttyS0", 0), 0u) << lines[0];
    }
    EXPECT_EQ(GbkToUtf8(Main().btn_Com.Caption()), "打 开");
  }
}

TEST_F(MainWindow, AnyOtherLocaleStartsInEnglish) {
  StartBare("zh_TW.UTF-8");
  EXPECT_EQ(Main().N1.Caption(), "File(&F)");
  EXPECT_EQ(GbkToUtf8(Main().N3.Caption()), "中文(&L)");
  EXPECT_EQ(Main().btn_Read.Caption(), "Read Dev Config");
}

TEST_F(MainWindow, SettingsFromProgramIniAreShown) {
  folder.Write(
      "program.ini",
      "[Sys]\r\nLang=0\r\n[Com]\r\nBaudRate=5\r\n[DTU]\r\nAPN Index=2\r\nAPN Str=myapn\r\nPort=7100\r\n"
      "DevID=4C4F47\r\nDevIDHex=1\r\n"
      "[Ports]\r\nCOM1=" +
          dtu->SlavePath() + "\r\n");
  program = std::make_unique<app::TDtuProgram>(loop, host);
  program->Start();
  EXPECT_EQ(Main().cbb_Open_BaudRate.Text(), "9600");
  EXPECT_EQ(Main().cbb_APN.Text(), "Other");
  EXPECT_EQ(Main().edt_APN_other.Text(), "myapn");
  EXPECT_TRUE(Main().edt_APN_other.Enabled());
  EXPECT_EQ(Main().edt_Port.Text(), "7100");
  EXPECT_TRUE(Main().chk_DevID.Checked());
  EXPECT_EQ(Main().edt_DevID.Text(), "4C4F47") << "loading the box converts nothing";
  EXPECT_TRUE(host.modalForms.empty()) << "no dialog opens while loading";
  EXPECT_TRUE(Main().PortControl.PortOpened);
  EXPECT_EQ(Main().Comm1.BaudRate(), 9600u);
}

TEST_F(MainWindow, ALangTxtThatRenamesTheOpenCaptionLeavesThePortClosedAtStartUp) {
  folder.Write(
      "lang.txt",
      Utf8ToGbk("; our own words\r\nlang_Command_Open|开启|Connect\r\nlang_Menu_File|档案|File\r\n"));
  StartProgram(true);
  EXPECT_EQ(GbkToUtf8(Main().N1.Caption()), "档案");
  // The designed caption matched no held text, so the start-up click closed the (closed) port, which put
  // the file's open text on the button.
  EXPECT_FALSE(Main().PortControl.PortOpened);
  EXPECT_EQ(GbkToUtf8(Main().btn_Com.Caption()), "开启");
  UserClick(Main().btn_Com);
  EXPECT_TRUE(Main().PortControl.PortOpened);
  EXPECT_EQ(GbkToUtf8(Main().btn_Com.Caption()), "关 闭");
}

TEST_F(MainWindow, SwitchingTheLanguageTwiceRestoresEveryCaptionAndKeepsTheApnChoice) {
  StartProgram(true);
  Main().cbb_APN.SetItemIndex(1);
  const auto before = AllCaptions();
  UserClick(Main().N3);
  EXPECT_EQ(Main().btn_Com.Caption(), "Close");
  EXPECT_EQ(Main().N16.Caption(), "Cancel current action");
  EXPECT_EQ(Main().cbb_APN.Text(), "UNINET");
  EXPECT_EQ(program->frm_APN->Caption(), "APN Setting");
  EXPECT_EQ(program->frm_About->lbl_About_Website.Caption(), "https://www.example.net");
  EXPECT_EQ(program->Application.Title, "Torvane-S1");
  UserClick(Main().N3);
  EXPECT_EQ(AllCaptions(), before);
  EXPECT_EQ(Main().cbb_APN.ItemIndex(), 1);
}

TEST_F(MainWindow, TheKeyFilterLetsOnlyDigitsFullStopAndBackspaceThrough) {
  StartProgram(false);
  for (ui::TEdit* edit : Main().NumericEdits()) {
    edit->SetText("12");
    for (char key : {'a', '-', ' ', '\x01', '\r', '\x7f'})
      EXPECT_FALSE(edit->UserTypeChar(key)) << edit->Name;
    EXPECT_TRUE(edit->UserTypeChar('3'));
    EXPECT_TRUE(edit->UserTypeChar('.'));
    EXPECT_TRUE(edit->UserTypeChar('\b'));
    EXPECT_EQ(edit->Text(), "123");
  }
  EXPECT_TRUE(Main().edt_IP.UserTypeChar('a')) << "other edits take any key";
}

TEST_F(MainWindow, EachHelpLabelShowsItsTextInTheCurrentLanguage) {
  StartProgram(false);
  const std::vector<std::string> english = {"Config APN Name.",
                                            "Config remote IP or DomainName.",
                                            "Config NetProtocol.",
                                            "Config remote Port.",
                                            "Config Device Com BaudRate.",
                                            "Config Device Com BaudRate parameter.",
                                            "Config ID.(HEX)",
                                            "Config The heartbeat packet data Format(HEX)."};
  const auto labels = Main().HintLabels();
  for (size_t i = 0; i < english.size(); ++i) {
    UserClick(*labels[i]);
    ASSERT_EQ(host.messages.size(), i + 1);
    EXPECT_EQ(host.messages.back().text, english[i]);
    EXPECT_EQ(host.messages.back().caption, "Torvane-S1");
  }
  UserClick(*labels[11]);
  EXPECT_EQ(host.messages.back().text.rfind("Range: 1800- infinite", 0), 0u);
  UserClick(Main().N3);
  UserClick(*labels[0]);
  EXPECT_EQ(GbkToUtf8(host.messages.back().text), "设置设备的APN账号。");
}

TEST_F(MainWindow, TheMenuRunsItsCommands) {
  StartProgram(false);
  UserClick(Main().N13);
  EXPECT_EQ(host.messages.back().text.rfind("1.Change IP:\r\n", 0), 0u);
  UserClick(Main().N8);
  EXPECT_EQ(host.modalForms.back(), "frm_About");
  UserClick(Main().N2);
  EXPECT_EQ(Main().mmo_Info.Lines().back(), "  [Send]:AT+CIPR?");
  EXPECT_TRUE(Main().Device.ReadActive());
  ASSERT_TRUE(RunUntil([&] { return !Main().Device.Busy(); }));
  UserClick(Main().N11);
  EXPECT_EQ(Main().mmo_Info.Lines().back(), "  [Send]:AT+CSTT=\"CMNET\"");
  UserClick(Main().N7);
  EXPECT_TRUE(Main().Closed());
  EXPECT_NE(folder.Read("program.ini").find("[DTU]"), std::string::npos);
}

// The log with Tools > Show time stamps in the log ticked for the middle lines only, then File > Save log:
// UTF-8, a line feed after each line; a file that cannot be written is named with the reason.
TEST_F(MainWindow, TheLogSavesAsUtf8LinesWithTimeStampsOnlyWhileTicked) {
  StartProgram(false);
  Main().Clock = [] { return std::string("12:34:56"); };
  Main().mmo_Info.Clear();
  Main().AddInfo(platform::Utf8ToGbk("端口已打开"));
  UserClick(Main().N19);
  Main().AddInfo("a\r\nb");
  UserClick(Main().N19);
  Main().AddInfo("c");
  EXPECT_EQ(Main().mmo_Info.Lines(), (std::vector<std::string>{platform::Utf8ToGbk("  端口已打开"),
                                                               "12:34:56   a", "12:34:56 b", "  c"}));
  host.saveFile = (folder.Path() / "log.txt").string();
  UserClick(Main().N18);
  EXPECT_EQ(folder.Read("log.txt"), "  端口已打开\n12:34:56   a\n12:34:56 b\n  c\n");
  EXPECT_TRUE(host.messages.empty());
  host.saveFile = (folder.Path() / "none" / "log.txt").string();
  UserClick(Main().N18);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].icon, ui::MessageIcon::Error);
  EXPECT_EQ(host.messages[0].text,
            "The log could not be saved:\r\n" + *host.saveFile + "\r\nNo such file or directory");
}

// File > Save configuration and Open configuration: a profile comes back as saved; a file that has no
// [DTU] section or holds a value the DTU could not be sent changes nothing and is named with the reason; a
// profile saved into a bigger file leaves its other sections; values that could not be sent are not saved.
TEST_F(MainWindow, AConfigurationFileLoadsBackAsSavedAndABadOneChangesNothing) {
  StartProgram(false);
  Main().edt_Port.SetText("4000");
  Main().edt_IP.SetText("a,b.example.com");
  const std::string profile = (folder.Path() / "customer.ini").string();
  host.saveFile = profile;
  UserClick(Main().N21);
  const std::string saved = folder.Read("customer.ini");
  EXPECT_EQ(saved.rfind("[DTU]\n", 0), 0u) << saved;
  EXPECT_NE(saved.find("Port=4000\n"), std::string::npos) << saved;
  EXPECT_TRUE(LogHas("[Note]: Configuration saved to " + profile));

  Main().edt_Port.SetText("5000");
  Main().edt_IP.SetText("other");
  host.openFile = profile;
  UserClick(Main().N20);
  EXPECT_EQ(Main().edt_Port.Text(), "4000");
  EXPECT_EQ(Main().edt_IP.Text(), "a,b.example.com");
  EXPECT_TRUE(host.messages.empty());

  const struct {
    const char* file;
    const char* reason;
  } bad[] = {{"[DTU]\nPort=70000\n", "Remote Port: must be a whole number from 1 to 65535"},
             {"[Sys]\nLang=1\n", "The file has no [DTU] section."}};
  for (const auto& row : bad) {
    folder.Write("bad.ini", row.file);
    host.openFile = (folder.Path() / "bad.ini").string();
    host.messages.clear();
    UserClick(Main().N20);
    ASSERT_EQ(host.messages.size(), 1u) << row.file;
    EXPECT_EQ(host.messages[0].text,
              "The configuration could not be loaded:\r\n" + *host.openFile + "\r\n" + row.reason);
    EXPECT_EQ(Main().edt_Port.Text(), "4000");
  }

  folder.Write("bigger.ini", "[Other]\r\nKey=1\r\n");
  host.saveFile = (folder.Path() / "bigger.ini").string();
  UserClick(Main().N21);
  EXPECT_NE(folder.Read("bigger.ini").find("[Other]\r\nKey=1\r\n"), std::string::npos);
  EXPECT_NE(folder.Read("bigger.ini").find("Port=4000\r\n"), std::string::npos);

  Main().edt_Port.SetText("0");
  host.saveFile = (folder.Path() / "never.ini").string();
  UserClick(Main().N21);
  EXPECT_FALSE(std::filesystem::exists(*host.saveFile));
  EXPECT_TRUE(
      LogHas("[Note]: The configuration was not saved, a value is not valid: Remote Port: must be a "
             "whole number from 1 to 65535"));
}

// Tools > Send command: the line typed goes out with CR LF and no reply time-out; Up and Down walk what was
// sent; while a read runs the box takes nothing.
TEST_F(MainWindow, TheCommandBoxSendsATypedLineAndWalksItsHistory) {
  StartProgram(false);
  ASSERT_TRUE(Main().PortControl.PortOpened);
  EXPECT_FALSE(Main().edt_Command.Visible());
  UserClick(Main().N22);
  EXPECT_TRUE(Main().edt_Command.Visible());
  EXPECT_TRUE(Main().N22.Checked());
  auto key = [&](ui::TKey k) {
    bool acted = false;
    program->Application.Dispatch([&] { acted = Main().edt_Command.UserKeyDown(k); });
    return acted;
  };
  for (const char* command : {"AT+CSQ", "AT+CIPR?"}) {
    Main().edt_Command.UserSetText(command);
    EXPECT_TRUE(key(ui::TKey::Enter));
    EXPECT_EQ(Main().edt_Command.Text(), "");
    EXPECT_FALSE(Main().tmr_TimeOut.Enabled()) << command;
  }
  ASSERT_TRUE(RunUntil([&] {
    return dtu->Received().size() == 2 &&
           std::ranges::count(Main().mmo_Info.Lines(), std::string("+CIPR: 115200")) == 1;
  }));
  EXPECT_EQ(dtu->Received(), (std::vector<std::string>{"AT+CSQ\r\n", "AT+CIPR?\r\n"}));
  std::vector<std::string> walked;
  for (const ui::TKey k : {ui::TKey::Up, ui::TKey::Up, ui::TKey::Up, ui::TKey::Down, ui::TKey::Down}) {
    key(k);
    walked.push_back(Main().edt_Command.Text());
  }
  EXPECT_EQ(walked, (std::vector<std::string>{"AT+CIPR?", "AT+CSQ", "AT+CSQ", "AT+CIPR?", ""}));

  UserClick(Main().btn_Read);
  EXPECT_FALSE(Main().edt_Command.Enabled());
  EXPECT_FALSE(Main().btn_Send.Enabled());
  Main().edt_Command.UserSetText("AT");
  EXPECT_FALSE(key(ui::TKey::Enter));
}

TEST_F(MainWindow, AMenuCommandsErrorIsDroppedWhileTheSameErrorElsewhereIsReported) {
  FailingModalHost failing;
  folder.Write("program.ini", "[Ports]\r\nCOM1=" + dtu->SlavePath() + "\r\n");
  program = std::make_unique<app::TDtuProgram>(loop, failing);
  program->Start();
  program->Application.Dispatch([&] { Main().N8.UserClick(); });
  EXPECT_TRUE(failing.messages.empty());
  program->Application.Dispatch([&] { Main().cbb_APN.UserSelect(2); });
  ASSERT_EQ(failing.messages.size(), 1u);
  EXPECT_EQ(failing.messages[0].text, "The dialog could not be shown.");
  EXPECT_EQ(failing.messages[0].icon, ui::MessageIcon::Error);
}

TEST_F(MainWindow, TheApnChoicesShowTheirApnAndOtherOpensTheDialogWhichKeepsTheApnBeforeUnlessConfirmed) {
  StartProgram(false);
  Main().cbb_APN.UserSelect(1);
  EXPECT_EQ(Main().edt_APN_other.Text(), "UNINET");
  EXPECT_FALSE(Main().edt_APN_other.Enabled());
  UserClick(Main().edt_APN_other);
  EXPECT_TRUE(host.modalForms.empty()) << "a greyed-out field takes no click";

  // The user types an APN and presses OK, or (nothing typed) leaves by Escape or the close button.
  std::string typed;
  host.onModal = [&](ui::TForm&) {
    if (typed.empty()) return;
    program->frm_APN->lbledt_APN.SetText(typed);
    program->frm_APN->lbledt_account.SetText("me");
    program->frm_APN->btn_APN.UserClick();
  };
  struct Step {
    std::string typed;
    int index;
    std::string shown;
  };
  // Other is chosen three times; the third time it is already the choice, and the dialog opens all the same.
  for (const Step& step : {Step{"", 1, "UNINET"}, Step{"net", 2, "net\",\"me"}, Step{"", 2, "net\",\"me"}}) {
    typed = step.typed;
    Main().cbb_APN.UserSelect(2);
    EXPECT_EQ(Main().cbb_APN.ItemIndex(), step.index) << step.typed;
    EXPECT_EQ(Main().edt_APN_other.Text(), step.shown);
    EXPECT_EQ(Main().edt_APN_other.Enabled(), step.index == 2);
    EXPECT_EQ(Main().edt_APN_other.Color(), step.index == 2 ? ui::TColor::clWindow : ui::TColor::clBtnFace);
  }
  EXPECT_EQ(host.modalForms, std::vector<std::string>(3, "frm_APN"));

  typed = "web";
  UserClick(Main().edt_APN_other);
  EXPECT_EQ(Main().edt_APN_other.Text(), "web\",\"me");
  Main().cbb_APN.UserSelect(0);
  EXPECT_EQ(Main().edt_APN_other.Text(), "CMNET");
}

TEST_F(MainWindow, AReadThatFindsAnApnOfTheDtusOwnChoosesOtherShowsItInTheDialogAndKeepsItAcrossARestart) {
  dtu->Change([](dtusim::DtuSimulator& sim) {
    sim.settings.apn = "myapn";
    sim.settings.apnAccount = "user";
    sim.settings.apnPassword = "pw";
  });
  StartProgram(false);
  std::string shownInDialog;
  host.onModal = [&](ui::TForm&) {
    shownInDialog = program->frm_APN->lbledt_APN.Text() + "|" + program->frm_APN->lbledt_account.Text() +
                    "|" + program->frm_APN->lbledt_password.Text();
  };
  UserClick(Main().btn_Read);
  ASSERT_TRUE(RunUntil([&] { return LogHas("[Note]:Parameter read successfully."); }));
  EXPECT_EQ(host.modalForms, (std::vector<std::string>{"frm_APN"}));
  EXPECT_EQ(shownInDialog, "myapn|user|pw");
  EXPECT_EQ(Main().cbb_APN.Text(), "Other");
  EXPECT_EQ(Main().edt_APN_other.Text(), "myapn\",\"user\",\"pw");
  EXPECT_TRUE(Main().edt_APN_other.Enabled());

  Main().UserClose();
  ASSERT_TRUE(Main().Closed());
  program.reset();
  dtu->Change([](dtusim::DtuSimulator& sim) { sim.settings.apn = "CMNET"; });
  program = std::make_unique<app::TDtuProgram>(loop, host);
  program->Start();
  EXPECT_EQ(Main().cbb_APN.Text(), "Other") << "not the list's first entry";
  UserClick(Main().btn_SetAll);
  ASSERT_TRUE(RunUntil([&] { return LogHas("[Note]: Parameter set successfully."); }));
  EXPECT_EQ(dtu->Settings().apn, "myapn");
  EXPECT_EQ(dtu->Settings().apnAccount, "user");
}

TEST_F(MainWindow, EachHexBoxConvertsItsOwnEditAndABadPairLeavesTheEdit) {
  StartProgram(false);
  const auto toggle = [&](ui::TCheckBox& box) {
    program->Application.Dispatch([&box] { box.UserToggle(); });
  };
  toggle(Main().chk_HeartbeatFormat);
  EXPECT_EQ(Main().edt_HeartbeatFormat.Text(), "4C4F47");
  toggle(Main().chk_HeartbeatFormat);
  EXPECT_EQ(Main().edt_HeartbeatFormat.Text(), "LOG");
  toggle(Main().chk_DevID);
  EXPECT_EQ(Main().edt_DevID.Text(), "4C4F47494E3A31303031");
  EXPECT_EQ(Main().edt_HeartbeatFormat.Text(), "LOG") << "each box converts only its own edit";

  Main().edt_DevID.SetText("4C4F4");
  toggle(Main().chk_DevID);
  EXPECT_EQ(Main().edt_DevID.Text(), "LO") << "an odd last digit is dropped";
  Main().chk_DevID.SetChecked(true);
  Main().edt_DevID.SetText("4G");
  toggle(Main().chk_DevID);
  EXPECT_EQ(Main().edt_DevID.Text(), "4G");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "'$4G' is not a valid integer value.");
}

// Write default, from its button or the File menu, asks first in the window's language; Yes puts the
// defaults back and writes them, No (or Escape) leaves the fields and the DTU alone.
struct DefaultAskRow {
  const char* name;
  bool fromMenu;
  bool chinese;
  bool yes;
  const char* question;
};

class WindowDefaultAsk : public MainWindow, public testing::WithParamInterface<DefaultAskRow> {};

TEST_P(WindowDefaultAsk, WritesOnlyAfterYes) {
  const DefaultAskRow& row = GetParam();
  StartProgram(row.chinese);
  host.answer = row.yes;
  Main().edt_Port.SetText("4000");
  UserClick(row.fromMenu ? static_cast<ui::Control&>(Main().N11) : Main().btn_Default);
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(GbkToUtf8(host.questions[0]), row.question);
  if (!row.yes) {
    EXPECT_EQ(Main().edt_Port.Text(), "4000");
    EXPECT_FALSE(Main().Device.Busy());
    EXPECT_EQ(Main().PortControl.LastCommand(), "") << "nothing was sent";
    return;
  }
  EXPECT_EQ(Main().edt_Port.Text(), "2317");
  ASSERT_TRUE(RunUntil([&] { return !Main().Device.Busy(); }));
  EXPECT_EQ(dtu->Received().size(), 13u) << "the ten settings and the read-back's three queries";
}

const char kAskEnglish[] = "Write default will overwrite every setting on the DTU. Continue?";
const char kAskChinese[] = "恢复默认配置将覆盖DTU中的全部参数，是否继续？";

INSTANTIATE_TEST_SUITE_P(Answers, WindowDefaultAsk,
                         testing::Values(DefaultAskRow{"ButtonYes", false, false, true, kAskEnglish},
                                         DefaultAskRow{"ButtonNo", false, false, false, kAskEnglish},
                                         DefaultAskRow{"MenuYesInChinese", true, true, true, kAskChinese},
                                         DefaultAskRow{"MenuNoInChinese", true, true, false, kAskChinese}),
                         [](const auto& p) { return std::string(p.param.name); });

// Tools > Verify after writing, on unless turned off: a write ends with a read-back, and a field the DTU
// answered OK to but did not keep is named in the log and marked until the next action. Each click on the
// item flips it; program.ini gets the key only once it was turned off.
struct VerifyRow {
  const char* name;
  int menuClicks;
  bool verify;
};

class WindowVerify : public MainWindow, public testing::WithParamInterface<VerifyRow> {};

TEST_P(WindowVerify, AFieldTheDtuDidNotKeepIsNamedAndMarked) {
  dtu->Change([](dtusim::DtuSimulator& sim) { sim.faults.forget = {"CIPSCONT"}; });
  StartProgram(false);
  for (int i = 0; i < GetParam().menuClicks; ++i) UserClick(Main().N17);
  EXPECT_EQ(Main().N17.Checked(), GetParam().verify);
  Main().edt_Port.SetText("4000");
  UserClick(Main().btn_SetAll);
  ASSERT_TRUE(RunUntil([&] { return !Main().Device.Busy(); }))
      << testing::PrintToString(Main().mmo_Info.Lines());
  const std::vector<std::string> queries{"AT+CIPR?\r\n", "AT+ICF?\r\n", "AT+CIPSCONT?\r\n"};
  const std::vector<std::string> received = dtu->Received();
  ASSERT_EQ(received.size(), GetParam().verify ? 13u : 10u) << testing::PrintToString(received);
  EXPECT_EQ(std::vector<std::string>(received.begin() + 10, received.end()),
            GetParam().verify ? queries : std::vector<std::string>{});
  EXPECT_EQ(LogHas("[Note]: The DTU accepted but did not save: Remote Port"), GetParam().verify);
  EXPECT_EQ(LogHas("[Note]: Parameter set successfully."), !GetParam().verify);
  EXPECT_EQ(Main().edt_Port.Marked(), GetParam().verify);
  EXPECT_FALSE(Main().edt_IP.Marked()) << "the server was kept";

  UserClick(Main().btn_Read);
  EXPECT_FALSE(Main().edt_Port.Marked()) << "the next action takes the mark away";
  ASSERT_TRUE(RunUntil([&] { return !Main().Device.Busy(); }));
  Main().UserClose();
  const std::string saved = folder.Read("program.ini");
  EXPECT_EQ(saved.find("Verify="), GetParam().verify ? std::string::npos : saved.find("Verify=0\r\n"))
      << saved;
}

INSTANTIATE_TEST_SUITE_P(Option, WindowVerify,
                         testing::Values(VerifyRow{"OnByDefault", 0, true}, VerifyRow{"TurnedOff", 1, false},
                                         VerifyRow{"TurnedBackOn", 2, true}),
                         [](const auto& p) { return std::string(p.param.name); });

// A value the DTU cannot take: Write All sends nothing, names the field by its caption and the rule in the
// window's language, and puts the focus on the field.
struct InvalidRow {
  const char* name;
  bool chinese;
  std::function<void(app::Tfrm_Main&)> edit;
  std::function<ui::Control&(app::Tfrm_Main&)> field;
  std::string line;  // UTF-8
};

class WindowCheck : public MainWindow, public testing::WithParamInterface<InvalidRow> {};

TEST_P(WindowCheck, WriteAllSendsNothingNamesTheFieldAndFocusesIt) {
  StartProgram(GetParam().chinese);
  GetParam().edit(Main());
  ui::Control& field = GetParam().field(Main());
  const uint64_t focusBefore = field.FocusRequests();
  UserClick(Main().btn_SetAll);
  EXPECT_EQ(GbkToUtf8(Main().mmo_Info.Lines().back()), "  " + GetParam().line);
  EXPECT_GT(field.FocusRequests(), focusBefore);
  // A read afterwards: the DTU got its three queries and nothing before them.
  UserClick(Main().btn_Read);
  ASSERT_TRUE(RunUntil([&] { return dtu->Received().size() >= 3 && !Main().Device.ReadActive(); }));
  EXPECT_EQ(dtu->Received(), (std::vector<std::string>{"AT+CIPR?\r\n", "AT+ICF?\r\n", "AT+CIPSCONT?\r\n"}));
}

using W = app::Tfrm_Main;
const std::string kNotSent = "[Note]: Nothing was sent because a value is not valid: ";
INSTANTIATE_TEST_SUITE_P(
    Values, WindowCheck,
    testing::Values(InvalidRow{"PortTyped", false, [](W& w) { w.edt_Port.SetText("70000"); },
                               [](W& w) -> ui::Control& { return w.edt_Port; },
                               kNotSent + "Remote Port: must be a whole number from 1 to 65535"},
                    InvalidRow{"PortInChinese", true, [](W& w) { w.edt_Port.SetText("0"); },
                               [](W& w) -> ui::Control& { return w.edt_Port; },
                               "[提示]：参数有误，未发送任何命令：目标端口: 应为整数，范围 1 至 65535"},
                    InvalidRow{"ServerEmptied", false, [](W& w) { w.edt_IP.SetText(""); },
                               [](W& w) -> ui::Control& { return w.edt_IP; },
                               kNotSent + "IP / DomainName: must not be empty"},
                    InvalidRow{"HexBoxTickedOverText", false,
                               [](W& w) {
                                 w.chk_DevID.SetChecked(true);
                                 w.edt_DevID.SetText("XYZ1");
                               },
                               [](W& w) -> ui::Control& { return w.edt_DevID; },
                               kNotSent + "Device ID: must be pairs of hex digits"}),
    [](const auto& p) { return std::string(p.param.name); });

// While a read, a write or the line search runs, nothing that would start another or re-open the port is
// offered, Cancel is, and an action started from code is refused without a byte sent. The run ends by itself
// or by Cancel, which leaves the port open: a read afterwards gets its three queries to the DTU.
const std::string kReadOk = "[Note]:Parameter read successfully.";
const std::vector<std::string> kQueries{"AT+CIPR?\r\n", "AT+ICF?\r\n", "AT+CIPSCONT?\r\n"};

struct BusyRow {
  const char* name;
  std::function<ui::Control&(app::Tfrm_Main&)> start;
  bool cancel;  // the DTU stays silent until Cancel ends the run
  std::string verdict;
  std::vector<std::string> sentBefore;
};

class WindowBusy : public MainWindow, public testing::WithParamInterface<BusyRow> {};

TEST_P(WindowBusy, OnlyCancelIsOfferedUntilTheRunEndsAndTheNextReadGoesThrough) {
  const BusyRow& row = GetParam();
  if (row.cancel) dtu->Change([](dtusim::DtuSimulator& sim) { sim.faults.silent = true; });
  StartProgram(false);
  app::Tfrm_Main& w = Main();
  const std::vector<ui::Control*> controls{
      &w.btn_Default, &w.btn_Read,         &w.btn_SetAll,        &w.N11, &w.N2, &w.N5, &w.N15,
      &w.btn_Com,     &w.cbb_Open_ComName, &w.cbb_Open_BaudRate, &w.N16};
  const auto offered = [&] {
    std::vector<std::string> names;
    for (const ui::Control* control : controls)
      if (control->Enabled()) names.push_back(control->Name);
    return names;
  };
  const std::vector<std::string> idle = offered();
  ASSERT_EQ(idle.size(), controls.size() - 1);

  UserClick(row.start(w));
  EXPECT_EQ(offered(), std::vector<std::string>{"N16"});
  // Cancelled once the DTU has the command, so that its silence is what keeps the run going.
  ASSERT_TRUE(RunUntil([&] { return dtu->Received().size() >= row.sentBefore.size(); }));
  w.btn_ReadClick(w.btn_SetAll);
  EXPECT_EQ(w.mmo_Info.Lines().back(),
            "  [Note]: Another action is still running; this one was not started.");

  if (row.cancel) {
    UserClick(w.N16);
    dtu->Change([](dtusim::DtuSimulator& sim) { sim.faults.silent = false; });
  }
  ASSERT_TRUE(RunUntil([&] { return !w.Device.Busy(); }));
  EXPECT_TRUE(LogHas(row.verdict)) << testing::PrintToString(w.mmo_Info.Lines());
  EXPECT_EQ(offered(), idle);
  EXPECT_TRUE(w.PortControl.PortOpened);

  const int reads = LogCount(kReadOk);
  UserClick(w.btn_Read);
  ASSERT_TRUE(RunUntil([&] { return LogCount(kReadOk) > reads; }))
      << testing::PrintToString(w.mmo_Info.Lines());
  std::vector<std::string> sent = row.sentBefore;
  sent.insert(sent.end(), kQueries.begin(), kQueries.end());
  EXPECT_EQ(dtu->Received(), sent);
}
INSTANTIATE_TEST_SUITE_P(Runs, WindowBusy,
                         testing::Values(BusyRow{"ReadToItsEnd",
                                                 [](W& w) -> ui::Control& { return w.btn_Read; }, false,
                                                 "[Note]:Parameter read successfully.", kQueries},
                                         BusyRow{"ReadCancelled",
                                                 [](W& w) -> ui::Control& { return w.btn_Read; },
                                                 true,
                                                 "[Note]: Cancelled.",
                                                 {"AT+CIPR?\r\n"}},
                                         BusyRow{"WriteAllCancelled",
                                                 [](W& w) -> ui::Control& { return w.btn_SetAll; },
                                                 true,
                                                 "[Note]: Cancelled.",
                                                 {"AT+CSTT=\"CMNET\"\r\n"}},
                                         BusyRow{"SearchCancelled",
                                                 [](W& w) -> ui::Control& { return w.N15; },
                                                 true,
                                                 "[Note]: Cancelled.",
                                                 {"AT+CIPR?\r\n"}}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(MainWindow, ClearingTheLogMakesTheNextLineTheFirst) {
  StartProgram(false);
  UserClick(Main().btn_Read);
  UserClick(Main().lbl_Clear);
  EXPECT_TRUE(Main().mmo_Info.Lines().empty());
  Main().AddInfo("next");
  EXPECT_EQ(Main().mmo_Info.Lines(), (std::vector<std::string>{"  next"}));
}

TEST_F(MainWindow, ClosingByMenuSavesExactlyAsTheCloseButton) {
  StartProgram(false);
  Main().edt_Port.SetText("4000");
  UserClick(Main().N7);
  const std::string byMenu = folder.Read("program.ini");
  program.reset();
  folder.Write("program.ini", "[Sys]\r\nLang=0\r\n[Ports]\r\nCOM1=" + dtu->SlavePath() + "\r\n");
  program = std::make_unique<app::TDtuProgram>(loop, host);
  program->Start();
  Main().edt_Port.SetText("4000");
  Main().UserClose();
  EXPECT_TRUE(Main().Closed());
  EXPECT_EQ(folder.Read("program.ini"), byMenu);
  EXPECT_NE(byMenu.find("Port=4000\r\n"), std::string::npos);
  EXPECT_FALSE(program->Lang.HasList()) << "the language list is released after saving";
}

TEST_F(MainWindow, AFailedSaveIsReportedAndASecondCloseStillCloses) {
  StartProgram(false);
  const std::string before = folder.Read("program.ini");
  Main().edt_Port.SetText("4000");
  if (!testing_support::SetFolderImmutable(folder.Path().string(), true))
    GTEST_SKIP() << "this file system cannot make a folder read-only for root";
  Main().UserClose();
  EXPECT_FALSE(Main().Closed());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Unable to write to " + (folder.Path() / "program.ini").string() + ".");
  UserClick(Main().N7);  // the menu tries again, reports the failure too, and closes all the same
  EXPECT_TRUE(Main().Closed());
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].text, host.messages[0].text);
  testing_support::SetFolderImmutable(folder.Path().string(), false);
  EXPECT_EQ(folder.Read("program.ini"), before);
}

TEST_F(MainWindow, AnAdapterChosenBeforeIsFoundByItsStableNameOrListedAsMissing) {
  struct Row {
    std::string saved;
    std::string shown;
    std::string shownInChinese;
  };
  // ComName=9 names the first adapter of the list: another adapter has taken that place since.
  for (const Row& row :
       {Row{"/dev/serial/by-id/usb-FTDI_A-if00", "ttyUSB1  FTDI FT232R", "ttyUSB1  FTDI FT232R"},
        Row{"/dev/serial/by-id/usb-FTDI_B-if00", "usb-FTDI_B-if00 (not connected)",
            "usb-FTDI_B-if00（未连接）"}}) {
    // COM3 is mapped to a device that is not there, COM4 to one that is; COM5 opens /dev/ttyS4, not there.
    folder.Write("program.ini", "[Sys]\r\nLang=0\r\n[Com]\r\nComName=9\r\nDevice=" + row.saved +
                                    "\r\n[Ports]\r\nCOM3=/dev/ttyUSB7\r\nCOM4=/dev/ttyUSB0\r\n");
    ui::Application app(loop, host);
    lang::TLangHolder lang;
    app::Tfrm_Main form(app, lang);
    form.ListPorts = [] {
      return std::vector<serial::PortName>{
          {"/dev/ttyUSB0", "Other adapter", "/dev/serial/by-id/usb-Other-if00"},
          {"/dev/ttyUSB1", "FTDI FT232R", "/dev/serial/by-id/usb-FTDI_A-if00"}};
    };
    form.DeviceExists = [](const std::string& path) {
      return path == "/dev/ttyUSB0" || path == "/dev/ttyUSB1" ||
             (path.starts_with("/dev/ttyS") && path != "/dev/ttyS4");
    };
    form.RefreshPortList();
    form.FormCreate();
    EXPECT_EQ(form.cbb_Open_ComName.Text(), row.shown);
    EXPECT_EQ(form.DeviceForItem(form.cbb_Open_ComName.ItemIndex()), row.saved)
        << "never the adapter that took its place";
    const std::vector<std::string> english = form.cbb_Open_ComName.Items();
    EXPECT_EQ(std::vector<std::string>(english.begin(), english.begin() + 5),
              (std::vector<std::string>{"COM1", "COM2", "COM3 (not present)", "COM4", "COM5 (not present)"}));
    EXPECT_EQ(form.DeviceForItem(2), "COM3") << "the mark is the item's text only";
    form.ToggleLang();
    EXPECT_EQ(GbkToUtf8(form.cbb_Open_ComName.Text()), row.shownInChinese);
    EXPECT_EQ(GbkToUtf8(form.cbb_Open_ComName.Items()[2]), "COM3（不存在）");
    EXPECT_EQ(form.DeviceForItem(form.cbb_Open_ComName.ItemIndex()), row.saved);
    form.FormClose();
    EXPECT_NE(folder.Read("program.ini").find("Device=" + row.saved + "\r\n"), std::string::npos);
  }
}

TEST_F(MainWindow, AnIconBesideTheProgramBecomesTheApplicationIcon) {
  folder.Write("logo.ico", "not really an icon");
  StartProgram(false);
  EXPECT_EQ(program->Application.IconPath, (folder.Path() / "logo.ico").string());
}

}  // namespace
