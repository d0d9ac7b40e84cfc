#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include "gui/AboutView.h"
#include "gui/ApnView.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindowView.h"
#include "gui/MessageDialog.h"
#include "gui/ModelWidgets.h"
#include "gui/QtDialogHost.h"
#include "gui/QtEventLoop.h"
#include "gui/QtTranslation.h"
#include "lang/PortFileRows.h"
#include "platform/TextCodec.h"

namespace {

using gui_test::Language;
using gui_test::ShownText;
using gui_test::Text;

std::string Gbk(const char* utf8) { return platform::Utf8ToGbk(utf8); }

class ViewTest : public testing::Test {
 protected:
  void SetUp() override {
    gui_test::EnsureQtApplication();
    loop.SetAfterEach(&gui::ModelBinder::RefreshAll);
  }
  void TearDown() override { loop.SetAfterEach({}); }

  template <typename W>
  W* Find(QWidget& view, const char* name) {
    W* widget = view.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  // Runs one change of the models as a posted task, the way serial replies and timers reach them.
  void InLoop(const std::function<void()>& change) {
    bool done = false;
    loop.Post([&] {
      change();
      done = true;
    });
    loop.RunUntil([&] { return done; });
  }

  gui::QtEventLoop loop;
  gui::QtDialogHost host{loop};
  ui::Application app{loop, host};
  ui::TMainFormDesign mainForm{app};
  ui::TAboutFormDesign about{app};
  ui::TApnFormDesign apn{app};
};

// ---- Each window in both languages: drawn to a PNG, its size and its controls' texts read back. ----

class WindowsInBothLanguages : public ViewTest, public testing::WithParamInterface<Language> {
 protected:
  QString Suffix() const { return GetParam() == Language::English ? "en" : "zh"; }
};

TEST_P(WindowsInBothLanguages, MainWindow) {
  using namespace lang;
  const Language l = GetParam();
  gui_test::ApplyMainTexts(mainForm, l);
  mainForm.AddInfo(Gbk("[发送]：AT+CIPR?"));
  gui::MainWindowView view(app, mainForm);
  view.show();
  QApplication::processEvents();
  gui_test::SaveScreen(view, "main_" + Suffix());

  EXPECT_EQ(view.centralWidget()->size(), QSize(718, 512));
  EXPECT_EQ(view.minimumSize(), view.size()) << "the designed size is the smallest";
  // The longest text the closed port list shows, an adapter gone since last time, fits its box.
  const auto* ports = Find<QComboBox>(view, "cbb_Open_ComName");
  EXPECT_LT(ports->fontMetrics().horizontalAdvance("ttyUSB15" + Text(lang_Port_Missing, l)) + 30,
            ports->width());
  EXPECT_TRUE(view.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(view.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(view.windowTitle(), Text(lang_System_Title, l) + " V1.7.3.0");

  const std::pair<const char*, const LangRow*> expected[] = {{"grp_OpenCom_Caption", &lang_grp_OpenCom},
                                                             {"grp_Param_Caption", &lang_grp_Prarm},
                                                             {"lbl_Open_ComName", &lang_Lbl_ComName},
                                                             {"btn_Com", &lang_Command_Open},
                                                             {"lbl_Open_ComParam", &lang_Lbl_ComParam},
                                                             {"lbl_ComParam", &lang_Lbl_ComParam},
                                                             {"lbl_ComBaudRate", &lang_Lbl_DTUBaudRate},
                                                             {"lbl_HeartbeatTime_s", &lang_Lbl_s},
                                                             {"lbl_lbl_RestartTime_s", &lang_Lbl_s},
                                                             {"lbl_WaitTime_ms", &lang_Lbl_ms},
                                                             {"lbl_RestartTime", &lang_Lbl_RestartTime},
                                                             {"lbl_Info", &lang_Lbl_Info},
                                                             {"lbl_Clear", &lang_Lbl_Clear},
                                                             {"btn_Default", &lang_Menu_Default},
                                                             {"btn_Read", &lang_Menu_Read},
                                                             {"btn_SetAll", &lang_Menu_WriteAll},
                                                             {"N1", &lang_Menu_File},
                                                             {"N3", &lang_Menu_Lang},
                                                             {"N4", &lang_Menu_Help},
                                                             {"N7", &lang_Menu_Exit},
                                                             {"N13", &lang_Menu_Message},
                                                             {"N10", &lang_Menu_Web}};
  for (const auto& [name, row] : expected) {
    const QObject* widget = view.findChild<QObject*>(QString::fromLatin1(name));
    ASSERT_NE(widget, nullptr) << name;
    EXPECT_EQ(ShownText(widget), Text(*row, l)) << name;
  }
  for (const char* hint : {"lbl_Hint_APN", "Label2", "lbl1"})
    EXPECT_EQ(ShownText(Find<QLabel>(view, hint)), "(?)");
  EXPECT_EQ(ShownText(Find<QCheckBox>(view, "chk_DevID")), "HEX");

  auto* apnList = Find<QComboBox>(view, "cbb_APN");
  EXPECT_EQ(apnList->itemText(2), Text(lang_cbb_Other, l));
  EXPECT_EQ(apnList->currentIndex(), 0);
  EXPECT_EQ(Find<QComboBox>(view, "cbb_Open_BaudRate")->currentText(), "115200");
  EXPECT_EQ(Find<QComboBox>(view, "cbb_Open_ComName")->count(), 9);
  EXPECT_EQ(Find<QLineEdit>(view, "edt_Port")->text(), "2317");
  EXPECT_EQ(Find<QPlainTextEdit>(view, "mmo_Info")->toPlainText(), QString::fromUtf8("  [发送]：AT+CIPR?"));

  // The menu: File with its separator, the language command on the bar itself, Help, then Tools.
  const QList<QAction*> bar = view.menuBar()->actions();
  ASSERT_EQ(bar.size(), 4);
  ASSERT_NE(bar[3]->menu(), nullptr);
  ASSERT_NE(bar[0]->menu(), nullptr);
  EXPECT_EQ(bar[1]->menu(), nullptr);
  EXPECT_TRUE(bar[0]->menu()->actions()[3]->isSeparator());
  EXPECT_TRUE(bar[2]->menu()->actions()[1]->isSeparator());
}

TEST_P(WindowsInBothLanguages, AboutDialog) {
  using namespace lang;
  const Language l = GetParam();
  gui_test::ApplyAboutTexts(about, l);
  gui::AboutView view(app, about);
  view.show();
  QApplication::processEvents();
  gui_test::SaveScreen(view, "about_" + Suffix());

  EXPECT_EQ(view.size(), QSize(466, 235));
  EXPECT_EQ(view.windowTitle(), Text(lang_About_Title, l));
  const std::pair<const char*, const LangRow*> expected[] = {
      {"lbl_System_Title", &lang_System_Title},   {"lbl_About_version", &lang_About_Version},
      {"lbl_About_Contact", &lang_About_Contact}, {"lbl_About_Website", &lang_About_Website},
      {"lbl_About_Tel", &lang_About_Tel},         {"lbl_About_Email", &lang_About_Email},
      {"btn_About_Yes", &lang_About_Yes}};
  for (const auto& [name, row] : expected)
    EXPECT_EQ(ShownText(Find<QObject>(view, name)), Text(*row, l)) << name;
  QString description = Text(lang_About_Description, l);
  description.replace("\r\n", "\n");
  EXPECT_EQ(ShownText(Find<QLabel>(view, "lbl_Aboutl_Description")), description);
  EXPECT_EQ(ShownText(Find<QLabel>(view, "lbl_version")), " V1.7.3.0");
  EXPECT_FALSE(Find<QLabel>(view, "img_About")->pixmap().isNull()) << "a drawn picture stands in";
}

TEST_P(WindowsInBothLanguages, ApnDialog) {
  using namespace lang;
  const Language l = GetParam();
  gui_test::ApplyApnTexts(apn, l);
  apn.lbledt_password.SetText("secret");
  gui::ApnView view(app, apn);
  view.show();
  QApplication::processEvents();
  gui_test::SaveScreen(view, "apn_" + Suffix());

  EXPECT_EQ(view.size(), QSize(270, 220));
  EXPECT_EQ(view.windowTitle(), Text(lang_APN_Title, l));
  EXPECT_EQ(ShownText(Find<QLabel>(view, "lbledt_APN.EditLabel")), Text(lang_APN_APN, l));
  EXPECT_EQ(ShownText(Find<QLabel>(view, "lbledt_account.EditLabel")), Text(lang_APN_Account, l));
  EXPECT_EQ(ShownText(Find<QLabel>(view, "lbledt_password.EditLabel")), Text(lang_APN_Password, l));
  EXPECT_EQ(ShownText(Find<QPushButton>(view, "btn_APN")), Text(lang_APN_OK, l));
  auto* password = Find<QLineEdit>(view, "lbledt_password");
  EXPECT_EQ(password->echoMode(), QLineEdit::Normal) << "the password is shown in clear";
  EXPECT_EQ(password->displayText(), "secret");
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowsInBothLanguages,
                         testing::Values(Language::Chinese, Language::English),
                         [](const testing::TestParamInfo<Language>& row) {
                           return row.param == Language::English ? "English" : "Chinese";
                         });

// ---- Keyboard focus. ----

std::vector<QString> FocusChain(QWidget* first, const std::vector<QString>& among) {
  std::vector<QString> chain;
  QWidget* widget = first;
  do {
    if (std::find(among.begin(), among.end(), widget->objectName()) != among.end() &&
        (widget->focusPolicy() & Qt::TabFocus)) {
      chain.push_back(widget->objectName());
    }
    widget = widget->nextInFocusChain();
  } while (widget != first);
  return chain;
}

TEST_F(ViewTest, TabWalksThePortGroupThenTheLogThenTheDeviceRowsWithTheHexBoxesLastThenTheButtons) {
  gui::MainWindowView view(app, mainForm);
  const std::vector<QString> order = {"cbb_Open_ComName",   "btn_Com",
                                      "cbb_Open_BaudRate",  "cbb_Open_Parity",
                                      "cbb_Open_Byte",      "cbb_Open_Stop",
                                      "mmo_Info",           "cbb_APN",
                                      "edt_APN_other",      "edt_IP",
                                      "cbb_NetProtocol",    "edt_Port",
                                      "cbb_Com_BaudRate",   "cbb_Com_Parity",
                                      "cbb_Com_Byte",       "cbb_Com_Stop",
                                      "edt_DevID",          "edt_HeartbeatFormat",
                                      "edtl_HeartbeatTime", "edt_WaitLen",
                                      "edt_WaitTime",       "edt_RestartTime",
                                      "chk_DevID",          "chk_HeartbeatFormat",
                                      "btn_Default",        "btn_Read",
                                      "btn_SetAll"};
  EXPECT_EQ(FocusChain(Find<QWidget>(view, "cbb_Open_ComName"), order), order);
}

TEST_F(ViewTest, TheApnDialogTabsAccountPasswordOkThenApn) {
  gui::ApnView view(app, apn);
  const std::vector<QString> order = {"lbledt_account", "lbledt_password", "btn_APN", "lbledt_APN"};
  EXPECT_EQ(FocusChain(Find<QWidget>(view, "lbledt_account"), order), order);
}

// ---- Widgets to model. ----

TEST_F(ViewTest, AMarkedFieldIsDrawnApartUntilTheMarkGoesAndACheckedMenuItemShowsItsCheck) {
  gui::MainWindowView view(app, mainForm);
  view.show();
  auto* port = Find<QLineEdit>(view, "edt_Port");
  const QImage plain = port->grab().toImage();
  InLoop([&] { mainForm.edt_Port.SetMarked(true); });
  EXPECT_NE(port->grab().toImage(), plain);
  InLoop([&] { mainForm.edt_Port.SetMarked(false); });
  EXPECT_EQ(port->grab().toImage(), plain);
  auto* verify = view.findChild<QAction*>("N17");
  EXPECT_TRUE(verify->isChecked());
  InLoop([&] { mainForm.N17.SetChecked(false); });
  EXPECT_FALSE(verify->isChecked());
}

TEST_F(ViewTest, ClicksOnRealWidgetsReachTheModel) {
  std::vector<std::string> clicked;
  auto record = [&](ui::Control& sender) { clicked.push_back(sender.Name); };
  mainForm.btn_Read.OnClick = record;
  mainForm.lbl_Clear.OnClick = record;
  mainForm.lbl_Hint_HbT.OnClick = record;
  mainForm.chk_DevID.OnClick = record;
  mainForm.N3.OnClick = record;
  gui::MainWindowView view(app, mainForm);
  view.show();

  QTest::mouseClick(Find<QAbstractButton>(view, "btn_Read"), Qt::LeftButton);
  QTest::mouseClick(Find<QLabel>(view, "lbl_Clear"), Qt::LeftButton);
  QTest::mouseClick(Find<QLabel>(view, "lbl_Hint_HbT"), Qt::LeftButton);
  QTest::mouseClick(Find<QCheckBox>(view, "chk_DevID"), Qt::LeftButton);
  view.findChild<QAction*>("N3")->trigger();

  EXPECT_EQ(clicked, (std::vector<std::string>{"btn_Read", "lbl_Clear", "lbl_Hint_HbT", "chk_DevID", "N3"}));
  EXPECT_TRUE(mainForm.chk_DevID.Checked());
}

TEST_F(ViewTest, ChoosingInAListSelectsInTheModelAndRaisesItsChange) {
  int changes = 0;
  mainForm.cbb_NetProtocol.OnChange = [&](ui::Control&) { ++changes; };
  gui::MainWindowView view(app, mainForm);
  view.show();
  QTest::keyClick(Find<QComboBox>(view, "cbb_NetProtocol"), Qt::Key_Down);
  EXPECT_EQ(mainForm.cbb_NetProtocol.Text(), "UDP");
  EXPECT_EQ(changes, 1);
}

TEST_F(ViewTest, TheWheelChangesAListOnlyWhileItHasTheFocus) {
  gui::MainWindowView view(app, mainForm);
  view.show();
  view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
  auto* parity = Find<QComboBox>(view, "cbb_Open_Parity");
  const int before = mainForm.cbb_Open_Parity.ItemIndex();
  auto wheelDown = [parity] {
    QWheelEvent wheel(QPointF(5, 5), parity->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(parity, &wheel);
  };
  Find<QWidget>(view, "edt_IP")->setFocus();
  wheelDown();
  EXPECT_EQ(parity->currentIndex(), before);
  EXPECT_EQ(mainForm.cbb_Open_Parity.ItemIndex(), before);
  parity->setFocus();
  wheelDown();
  EXPECT_EQ(mainForm.cbb_Open_Parity.ItemIndex(), before + 1);
  EXPECT_EQ(parity->currentIndex(), before + 1);
}

TEST_F(ViewTest, AnErrorInAClickHandlerReachesTheGeneralErrorReport) {
  mainForm.btn_SetAll.OnClick = [](ui::Control&) { throw std::runtime_error("Port not open"); };
  app.Title = "Torvane-S1";
  gui::MainWindowView view(app, mainForm);
  view.show();
  QString shown;
  QString caption;
  // The message box runs its own loop; a posted task reads it and presses OK.
  loop.Post([&] {
    auto* box = qobject_cast<gui::MessageDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = box->Text();
    caption = box->windowTitle();
    EXPECT_EQ(box->Icon(), ui::MessageIcon::Error);
    box->OkButton()->click();
  });
  QTest::mouseClick(Find<QAbstractButton>(view, "btn_SetAll"), Qt::LeftButton);
  EXPECT_EQ(shown, "Port not open.");
  EXPECT_EQ(caption, "Torvane-S1");
}

// The key filter of the numeric fields: digits, "." and Backspace only.
void DigitsOnly(ui::Control&, char& key) {
  if (!(key == '\b' || key == '.' || (key >= '0' && key <= '9'))) key = 0;
}

TEST_F(ViewTest, TheKeyFilterCancelsALetterInANumericFieldAndLetsDigitsBackspaceAndDeleteThrough) {
  mainForm.edt_Port.OnKeyPress = DigitsOnly;
  gui::MainWindowView view(app, mainForm);
  view.show();
  auto* port = Find<QLineEdit>(view, "edt_Port");
  port->setFocus();
  port->end(false);

  QTest::keyClicks(port, "1a -.");
  EXPECT_EQ(mainForm.edt_Port.Text(), "23171.");
  EXPECT_EQ(port->text(), "23171.");
  QTest::keyClick(port, Qt::Key_Backspace);
  EXPECT_EQ(mainForm.edt_Port.Text(), "23171");
  QTest::keyClick(port, Qt::Key_A, Qt::ControlModifier);  // a control character: cancelled like a letter
  QTest::keyClick(port, Qt::Key_Home);
  QTest::keyClick(port, Qt::Key_Delete);  // no typed character: the filter never sees it
  EXPECT_EQ(mainForm.edt_Port.Text(), "3171");
  EXPECT_EQ(port->text(), "3171");
}

TEST_F(ViewTest, AFilterThatReplacesTheCharacterTypesTheReplacement) {
  mainForm.edt_IP.OnKeyPress = [](ui::Control&, char& key) {
    if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
  };
  mainForm.edt_IP.SetText("");
  gui::MainWindowView view(app, mainForm);
  view.show();
  auto* ip = Find<QLineEdit>(view, "edt_IP");
  QTest::keyClicks(ip, "ab1");
  EXPECT_EQ(mainForm.edt_IP.Text(), "AB1");
  EXPECT_EQ(ip->text(), "AB1");
}

TEST_F(ViewTest, ChineseTypedIntoAnEditReachesTheModelAsGbk) {
  gui::ApnView view(app, apn);
  view.show();
  auto* name = Find<QLineEdit>(view, "lbledt_APN");
  // A keyboard that types a Chinese character directly (no input method).
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("网"));
  QApplication::sendEvent(name, &press);
  EXPECT_EQ(name->text(), QString::fromUtf8("网"));
  EXPECT_EQ(apn.lbledt_APN.Text(), Gbk("网"));
}

TEST_F(ViewTest, AClickIntoTheApnFieldReachesTheModelOnlyWhileItIsEnabled) {
  int clicks = 0;
  mainForm.edt_APN_other.OnClick = [&](ui::Control&) { ++clicks; };
  gui::MainWindowView view(app, mainForm);
  view.show();
  auto* field = Find<QLineEdit>(view, "edt_APN_other");
  InLoop([&] { mainForm.ShowFixedApn("CMNET"); });
  QTest::mouseClick(field, Qt::LeftButton);
  EXPECT_EQ(clicks, 0);
  InLoop([&] { mainForm.ShowOtherApn(""); });
  QTest::mouseClick(field, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ViewTest, TheLogIsReadOnlyTypingAndPastingChangeNothing) {
  gui::MainWindowView view(app, mainForm);
  view.show();
  InLoop([&] { mainForm.AddInfo("one"); });
  auto* log = Find<QPlainTextEdit>(view, "mmo_Info");
  log->setFocus();
  log->moveCursor(QTextCursor::Start);
  QTest::keyClicks(log, "xy");
  QApplication::clipboard()->setText("pasted");
  QTest::keySequence(log, QKeySequence::Paste);
  EXPECT_EQ(mainForm.mmo_Info.Lines(), std::vector<std::string>{"  one"});
  EXPECT_EQ(log->toPlainText(), "  one");
}

// ---- Model to widgets. ----

// A larger window gives the room to the log, never to the parameter column; the place the user leaves it is
// kept in the form, and a new window comes up there (maximised too).
TEST_F(ViewTest, TheLogTakesWhatTheWindowGrowsAndTheWindowComesBackWhereItWasLeft) {
  {
    gui::MainWindowView view(app, mainForm);
    view.show();
    EXPECT_FALSE(mainForm.Place) << "shown where it was designed: nothing to keep";
    auto* log = Find<QPlainTextEdit>(view, "mmo_Info");
    auto* group = Find<QGroupBox>(view, "grp_Param_Caption");
    const QSize logBefore = log->size();
    const QSize groupBefore = group->size();
    view.resize(view.size() + QSize(200, 100));
    QApplication::processEvents();
    EXPECT_EQ(log->size(), logBefore + QSize(200, 100));
    EXPECT_EQ(group->size(), groupBefore);
    view.resize(100, 100);
    EXPECT_EQ(log->size(), logBefore) << "the designed size is the smallest";
    view.setGeometry(QRect(40, 30, 1000, 700));
    ASSERT_TRUE(mainForm.Place);
    EXPECT_EQ(mainForm.Place->width, 1000);
    EXPECT_EQ(mainForm.Place->height, 700);
    EXPECT_FALSE(mainForm.Place->maximized);
  }
  mainForm.Place = ui::WindowPlace{10, 5, 780, 590, true};  // within the 800 x 600 test screen
  gui::MainWindowView again(app, mainForm);
  again.show();
  EXPECT_TRUE(again.isMaximized());
  EXPECT_EQ(again.normalGeometry().size(), QSize(780, 590));
  EXPECT_EQ(mainForm.Place->width, 780) << "a maximised window keeps its normal size for next time";
}

// The command box shows under the log only while its model is visible, taking its row from the log; Up,
// Down and Enter reach its handler, and other keys type as usual.
TEST_F(ViewTest, TheCommandBoxSharesTheLogsRoomAndGivesItsHandlerUpDownAndEnter) {
  gui::MainWindowView view(app, mainForm);
  view.show();
  auto* log = Find<QPlainTextEdit>(view, "mmo_Info");
  auto* box = Find<QLineEdit>(view, "edt_Command");
  const int fullLog = log->height();
  EXPECT_FALSE(box->isVisible());
  std::vector<ui::TKey> keys;
  mainForm.edt_Command.OnKeyDown = [&](ui::Control&, ui::TKey key) {
    keys.push_back(key);
    return true;
  };
  InLoop([&] {
    mainForm.edt_Command.SetVisible(true);
    mainForm.edt_Command.SetFocus();
  });
  ASSERT_TRUE(box->isVisible());
  EXPECT_LT(log->height(), fullLog);
  EXPECT_LE(log->geometry().bottom(), box->geometry().top());
  QTest::keyClicks(box, "AT");
  for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Return}) QTest::keyClick(box, key);
  EXPECT_EQ(keys, (std::vector<ui::TKey>{ui::TKey::Up, ui::TKey::Down, ui::TKey::Enter}));
  EXPECT_EQ(mainForm.edt_Command.Text(), "AT");
  InLoop([&] { mainForm.edt_Command.SetVisible(false); });
  EXPECT_EQ(log->height(), fullLog);
}

TEST_F(ViewTest, ModelChangesInAHandledTaskShowAtOnce) {
  gui::MainWindowView view(app, mainForm);
  view.show();
  auto* field = Find<QLineEdit>(view, "edt_APN_other");
  InLoop([&] {
    mainForm.edt_IP.SetText("192.0.2.10");
    mainForm.cbb_Com_BaudRate.SetItemIndex(5);
    mainForm.chk_HeartbeatFormat.SetChecked(true);
    mainForm.btn_Com.SetCaption(Gbk("关 闭"));
    mainForm.btn_Com.SetPicture("open");
    mainForm.ShowFixedApn("UNINET");
    mainForm.N3.SetCaption(Gbk("中文(&L)"));
  });
  EXPECT_EQ(Find<QLineEdit>(view, "edt_IP")->text(), "192.0.2.10");
  EXPECT_EQ(Find<QComboBox>(view, "cbb_Com_BaudRate")->currentText(), "9600");
  EXPECT_TRUE(Find<QCheckBox>(view, "chk_HeartbeatFormat")->isChecked());
  EXPECT_EQ(Find<QPushButton>(view, "btn_Com")->text(), QString::fromUtf8("关 闭"));
  EXPECT_EQ(field->text(), "UNINET");
  EXPECT_FALSE(field->isEnabled());
  EXPECT_EQ(field->palette().color(QPalette::Disabled, QPalette::Base), QPalette().color(QPalette::Button));
  EXPECT_EQ(view.findChild<QAction*>("N3")->text(), QString::fromUtf8("中文(&L)"));

  InLoop([&] {
    mainForm.ShowOtherApn("cmiot");
    mainForm.edt_Port.SetFocus();
  });
  EXPECT_TRUE(field->isEnabled());
  EXPECT_EQ(view.focusWidget(), Find<QLineEdit>(view, "edt_Port")) << "a focus request moves the focus";
  EXPECT_EQ(field->palette().color(QPalette::Active, QPalette::Base), QPalette().color(QPalette::Base));
}

TEST_F(ViewTest, ATwoLineCaptionFromTheLanguageFileIsShownWholeAboutItsRow) {
  gui::MainWindowView view(app, mainForm);
  auto* label = Find<QLabel>(view, "lbl_WaitTime");
  const QRect designed = label->geometry();
  InLoop([&] { mainForm.lbl_WaitTime.SetCaption("Packing\r\ninterval"); });
  EXPECT_GE(label->height(), 2 * label->fontMetrics().lineSpacing());
  EXPECT_NEAR(label->geometry().center().y(), designed.center().y(), 1);
  InLoop([&] { mainForm.lbl_WaitTime.SetCaption("Interval"); });
  EXPECT_EQ(label->geometry(), designed);
}

TEST_F(ViewTest, WhatAHandlerChangedBeforeItsMessageIsOnTheScreenWhileTheMessageIsOpen) {
  mainForm.btn_Read.OnClick = [&](ui::Control&) {
    mainForm.edt_IP.SetText("192.0.2.77");
    host.ShowMessage("read", "Torvane-S1", ui::MessageIcon::Information);
  };
  gui::MainWindowView view(app, mainForm);
  view.show();
  QString shownDuringMessage;
  loop.Post([&] {
    shownDuringMessage = Find<QLineEdit>(view, "edt_IP")->text();
    qobject_cast<gui::MessageDialog*>(QApplication::activeModalWidget())->OkButton()->click();
  });
  QTest::mouseClick(Find<QAbstractButton>(view, "btn_Read"), Qt::LeftButton);
  EXPECT_EQ(shownDuringMessage, "192.0.2.77");
}

// The question box names its buttons in the program's language; only Yes answers yes, and Enter and
// Escape both answer no.
TEST_F(ViewTest, TheQuestionBoxAnswersYesOnlyByItsYesButton) {
  const std::vector<std::function<void(QMessageBox&)>> actions{
      [](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); },
      [](QMessageBox& box) { box.button(QMessageBox::No)->click(); },
      [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); },
      [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }};
  std::vector<bool> answers;
  for (const auto& act : actions) {
    QStringList shown;
    loop.Post([&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      shown = {box->windowTitle(), box->text(), box->button(QMessageBox::Yes)->text(),
               box->button(QMessageBox::No)->text()};
      act(*box);
    });
    answers.push_back(host.Ask(Gbk("覆盖吗？"), "Torvane-S1", Gbk("是(&Y)"), Gbk("否(&N)")));
    EXPECT_EQ(shown, (QStringList{"Torvane-S1", "覆盖吗？", "是(&Y)", "否(&N)"}));
  }
  EXPECT_EQ(answers, (std::vector<bool>{true, false, false, false}));
}

TEST_F(ViewTest, TheLogAppendsLinesAndAfterAClearTheNextLineIsTheFirst) {
  gui::MainWindowView view(app, mainForm);
  view.show();
  auto* log = Find<QPlainTextEdit>(view, "mmo_Info");
  InLoop([&] { mainForm.AddInfo("first"); });
  InLoop([&] { mainForm.AddInfo("second\r\nthird"); });
  EXPECT_EQ(log->toPlainText(), "  first\n  second\nthird");
  InLoop([&] { mainForm.mmo_Info.Clear(); });
  EXPECT_EQ(log->toPlainText(), "");
  InLoop([&] { mainForm.AddInfo("again"); });
  EXPECT_EQ(log->toPlainText(), "  again");
  EXPECT_EQ(log->document()->blockCount(), 1);
}

TEST_F(ViewTest, HelpTextsAreShownAsWrittenNeverAsMarkup) {
  mainForm.lbl_Info.SetCaption("<b>wait < keepalive_wait > s</b>");
  gui::MainWindowView view(app, mainForm);
  EXPECT_EQ(Find<QLabel>(view, "lbl_Info")->textFormat(), Qt::PlainText);
  QString shown;
  loop.Post([&] {
    auto* box = qobject_cast<gui::MessageDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = box->Text();
    EXPECT_EQ(box->TextLabel()->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->Icon(), ui::MessageIcon::Information);
    box->OkButton()->click();
  });
  host.ShowMessage("<i>a</i>\r\nb", "Torvane-S1", ui::MessageIcon::Information);
  EXPECT_EQ(shown, "<i>a</i>\nb");
}

TEST_F(ViewTest, TheSmsHelpShowsEachCommandOnOneLine) {
  for (const Language l : {Language::English, Language::Chinese}) {
    const QString help = Text(lang::lang_Hint_Message, l).replace("\r\n", "\n");
    int widest = 0;
    loop.Post([&] {
      auto* box = qobject_cast<gui::MessageDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      const QLabel* label = box->TextLabel();
      for (const QString& line : help.split('\n'))
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
      EXPECT_FALSE(label->wordWrap());
      EXPECT_GE(label->contentsRect().width(), widest);
      EXPECT_TRUE(box->OkButton()->isDefault()) << "Enter closes it";
      box->OkButton()->click();
    });
    host.ShowMessage(platform::Utf8ToGbk(help.toStdString()), "Torvane-S1", ui::MessageIcon::None);
    EXPECT_GT(widest, 0);
  }
}

TEST_F(ViewTest, ALongHelpWrapsBetweenWordsToFitTheScreenWithItsOkInside) {
  const QSize screen(1280, 900);
  for (const Language l : {Language::English, Language::Chinese}) {
    const QString help = Text(lang::lang_Hint_HeartbeatTime, l).replace("\r\n", "\n");
    gui::MessageDialog box(help, "Torvane-S1", ui::MessageIcon::Information, nullptr, screen);
    box.show();
    EXPECT_LE(box.width(), screen.width() * 4 / 5);
    EXPECT_LE(box.height(), screen.height());
    EXPECT_TRUE(box.rect().contains(QRect(box.OkButton()->mapTo(&box, QPoint()), box.OkButton()->size())));
    // Not one word of the help lost: the label holds it whole and grew downwards instead of sideways.
    EXPECT_EQ(box.Text(), help);
    // The English help is 1378 px wide in one line: it must have wrapped.
    if (l == Language::English) {
      EXPECT_TRUE(box.TextLabel()->wordWrap());
    }
  }
  // A command is one word: even in a box narrower than the command it stays on one line.
  gui::MessageDialog narrow("642519,setip:0,192.0.2.10", "Torvane-S1", ui::MessageIcon::None, nullptr,
                            QSize(200, 300));
  const QLabel* label = narrow.TextLabel();
  ASSERT_TRUE(label->wordWrap());
  EXPECT_EQ(label->heightForWidth(label->width()), label->heightForWidth(100000));
}

TEST_F(ViewTest, TheAboutPictureIsShownWholeAtItsOwnSizeAndFallsBackOnBytesThatAreNoPicture) {
  auto jpeg = [](QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
  };
  about.img_About.Picture = jpeg(QSize(64, 48));
  ui::MarkModelChanged();
  gui::AboutView view(app, about);
  auto* picture = Find<QLabel>(view, "img_About");
  EXPECT_EQ(picture->pixmap().size(), QSize(64, 48));
  EXPECT_EQ(picture->size(), QSize(64, 48));
  // The program's own picture's size, then one too big for the dialog: scaled down, never cropped.
  const std::pair<QSize, QSize> shownAs[] = {{{150, 200}, {150, 200}}, {{600, 300}, {150, 75}}};
  for (const auto& [size, shown] : shownAs) {
    InLoop([&] {
      about.img_About.Picture = jpeg(size);
      ui::MarkModelChanged();
    });
    EXPECT_EQ(picture->pixmap().size(), shown);
    EXPECT_EQ(picture->size(), shown);
  }
  EXPECT_LE(picture->geometry().right(), Find<QLabel>(view, "lbl_System_Title")->x());

  InLoop([&] {
    about.img_About.Picture = std::string("\xFF\xD8\xFF\xE0 truncated", 14);
    ui::MarkModelChanged();
  });
  EXPECT_FALSE(picture->pixmap().isNull());
  EXPECT_NE(picture->pixmap().size(), QSize(64, 48));
}

TEST_F(ViewTest, QtsOwnTextsSpeakChineseOnlyWhileTheProgramDoes) {
  bool chinese = true;
  gui::QtTranslation translation(app, [&] { return chinese; });
  QLineEdit edit;
  auto firstMenuText = [&edit] {
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    return menu->actions().value(0)->text();
  };
  EXPECT_TRUE(translation.Installed());
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QString::fromUtf8("确定"));
  const QString chineseUndo = firstMenuText();
  InLoop([&] {
    chinese = false;
    ui::MarkModelChanged();
  });
  EXPECT_FALSE(translation.Installed());
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), "OK");
  EXPECT_NE(firstMenuText(), chineseUndo);
}

// ---- Modal showing. ----

TEST_F(ViewTest, AModalDialogRunsUntilItsFormClosesWhileTasksAndTimersGoOn) {
  gui::MainWindowView mainView(app, mainForm);
  gui::ApnView view(app, apn, &mainView);
  host.RegisterView(apn, view);
  mainView.show();
  apn.btn_APN.OnClick = [&](ui::Control&) { apn.Close(); };

  int ticks = 0;
  ui::TTimer timer(app, "tmr", 1);
  timer.OnTimer = [&](ui::TTimer&) { ++ticks; };
  timer.SetEnabled(true);
  bool wasModal = false;
  std::function<void()> pressOkOnceTicked = [&] {
    if (ticks < 2) {
      loop.Post(pressOkOnceTicked);
      return;
    }
    wasModal = view.isVisible() && view.isModal() && QApplication::activeModalWidget() == &view;
    QTest::mouseClick(Find<QPushButton>(view, "btn_APN"), Qt::LeftButton);
  };
  loop.Post(pressOkOnceTicked);
  apn.ShowModal();
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(view.isVisible());
  EXPECT_FALSE(apn.Visible());
  host.UnregisterView(apn);
}

// Runs the key presses once the shown dialog is the active window, as the window's shortcuts need; a dialog
// that never becomes active is closed, so the test fails rather than hangs.
void WhenActive(gui::QtEventLoop& loop, QWidget& window, std::function<void()> act) {
  loop.Post([&window, act] {
    window.activateWindow();
    const bool active = QTest::qWaitForWindowActive(&window);
    EXPECT_TRUE(active);
    active ? act() : void(window.close());
  });
}

TEST_F(ViewTest, EnterConfirmsAndEscapeClosesTheDialogsWithoutApplying) {
  std::vector<std::string> pressed;
  apn.btn_APN.OnClick = [&](ui::Control& sender) {
    pressed.push_back(sender.Name);
    apn.Close();
  };
  about.btn_About_Yes.OnClick = [&](ui::Control& sender) {
    pressed.push_back(sender.Name);
    about.Close();
  };
  // The APN fields' key filter cancels everything, as a strict filter would; Enter still confirms.
  apn.lbledt_account.OnKeyPress = [](ui::Control&, char& key) { key = 0; };
  gui::ApnView apnView(app, apn);
  gui::AboutView aboutView(app, about);
  host.RegisterView(apn, apnView);
  host.RegisterView(about, aboutView);

  WhenActive(loop, apnView,
             [&] { QTest::keyClick(Find<QWidget>(apnView, "lbledt_account"), Qt::Key_Return); });
  apn.ShowModal();
  WhenActive(loop, apnView, [&] { QTest::keyClick(Find<QWidget>(apnView, "lbledt_APN"), Qt::Key_Escape); });
  apn.ShowModal();
  WhenActive(loop, aboutView, [&] { QTest::keyClick(&aboutView, Qt::Key_Enter, Qt::KeypadModifier); });
  about.ShowModal();
  WhenActive(loop, aboutView, [&] { QTest::keyClick(&aboutView, Qt::Key_Escape); });
  about.ShowModal();

  EXPECT_EQ(pressed, (std::vector<std::string>{"btn_APN", "btn_About_Yes"}));
  EXPECT_FALSE(apn.Visible());
  EXPECT_FALSE(about.Visible());
  host.UnregisterView(apn);
  host.UnregisterView(about);
}

TEST_F(ViewTest, AFocusedButtonReactsToEnterAndSpace) {
  std::vector<std::string> clicked;
  auto record = [&](ui::Control& sender) { clicked.push_back(sender.Name); };
  mainForm.btn_Read.OnClick = record;
  mainForm.btn_Com.OnClick = record;
  gui::MainWindowView view(app, mainForm);
  view.show();
  for (const char* name : {"btn_Read", "btn_Com"}) {
    QTest::keyClick(Find<QWidget>(view, name), Qt::Key_Return);
    QTest::keyClick(Find<QWidget>(view, name), Qt::Key_Space);
  }
  EXPECT_EQ(clicked, (std::vector<std::string>{"btn_Read", "btn_Read", "btn_Com", "btn_Com"}));
}

TEST_F(ViewTest, TheDialogsCloseButtonClosesItsForm) {
  gui::AboutView view(app, about);
  host.RegisterView(about, view);
  loop.Post([&] { view.close(); });
  about.ShowModal();
  EXPECT_FALSE(about.Visible());
  EXPECT_FALSE(view.isVisible());
  host.UnregisterView(about);
}

TEST_F(ViewTest, TheMainWindowsCloseButtonAsksTheProgramAndStaysWhenTheFormStaysOpen) {
  int asked = 0;
  bool allowClose = false;
  gui::MainWindowView view(app, mainForm, [&] {
    ++asked;
    if (allowClose) mainForm.Close();
  });
  mainForm.SetVisible(true);
  view.show();
  view.close();
  EXPECT_TRUE(view.isVisible());
  allowClose = true;
  view.close();
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(asked, 2);
}

TEST_F(ViewTest, ShowingAFormWithoutAViewIsAnErrorNotAHang) {
  EXPECT_THROW(apn.ShowModal(), std::logic_error);
  EXPECT_FALSE(apn.Visible());
}

}  // namespace
