// The real window against the simulated DTU on a pseudo-terminal, in real time: clicks on the real widgets
// must reach the DTU and bring its answers into the fields and the log.

#include <gtest/gtest.h>
#include <signal.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "app/TDtuProgram.h"
#include "dtu-sim/PtyDtu.h"
#include "gui/AboutView.h"
#include "gui/ApnView.h"
#include "gui/CloseOnSignals.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindowView.h"
#include "gui/QtDialogHost.h"
#include "gui/QtEventLoop.h"
#include "platform/TextCodec.h"
#include "support/ProgramFixture.h"

namespace {

class WindowAgainstDtu : public testing::Test {
 protected:
  void SetUp() override {
    gui_test::EnsureQtApplication();
    loop.SetAfterEach(&gui::ModelBinder::RefreshAll);
    folder.Write("program.ini", "[Sys]\r\nLang=0\r\n[Ports]\r\nCOM1=" + dtu.SlavePath() + "\r\n");
    program.Start();
    // The close button closes as the program's window does.
    mainView = std::make_unique<gui::MainWindowView>(program.Application, *program.frm_Main,
                                                     [this] { program.frm_Main->UserClose(); });
    aboutView = std::make_unique<gui::AboutView>(program.Application, *program.frm_About, mainView.get());
    apnView = std::make_unique<gui::ApnView>(program.Application, *program.frm_APN, mainView.get());
    host.RegisterView(*program.frm_About, *aboutView);
    host.RegisterView(*program.frm_APN, *apnView);
    program.frm_Main->SetVisible(true);
    mainView->show();
  }
  void TearDown() override {
    host.UnregisterView(*program.frm_About);
    host.UnregisterView(*program.frm_APN);
    loop.SetAfterEach({});
  }

  template <typename W>
  W* Find(QWidget& view, const char* name) {
    W* widget = view.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  // Handles events until done() or ten seconds have passed.
  bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000) loop.RunUntil([&] { return true; }), QTest::qWait(10);
    return done();
  }
  // Acts in the APN dialog once it is shown and active, as its shortcuts need; a dialog that never becomes
  // active is closed, so the test fails rather than hangs.
  void InApnDialog(std::function<void()> act) {
    QTimer::singleShot(0, [this, act] {
      apnView->activateWindow();
      const bool active = QTest::qWaitForWindowActive(apnView.get());
      EXPECT_TRUE(active);
      active ? act() : void(apnView->close());
    });
  }
  bool LogHas(const std::string& line) {
    const auto& lines = program.frm_Main->mmo_Info.Lines();
    return std::find(lines.begin(), lines.end(), "  " + line) != lines.end();
  }

  testing_support::ProgramFolder folder;
  dtusim::PtyDtu dtu;
  gui::QtEventLoop loop;
  gui::QtDialogHost host{loop};
  app::TDtuProgram program{loop, host};
  std::unique_ptr<gui::MainWindowView> mainView;
  std::unique_ptr<gui::AboutView> aboutView;
  std::unique_ptr<gui::ApnView> apnView;
};

TEST_F(WindowAgainstDtu, ReadAndWriteAllFromTheRealButtons) {
  dtu.Change([](dtusim::DtuSimulator& sim) {
    sim.settings.server = "192.0.2.44";
    sim.settings.port = "6000";
  });
  auto* portButton = Find<QAbstractButton>(*mainView, "btn_Com");
  ASSERT_NE(portButton, nullptr);
  EXPECT_EQ(portButton->text(), QStringLiteral("Close")) << "start-up opened the mapped port";

  Find<QAbstractButton>(*mainView, "btn_Read")->click();
  ASSERT_TRUE(WaitFor([&] { return LogHas("[Note]:Parameter read successfully."); }));
  EXPECT_EQ(Find<QLineEdit>(*mainView, "edt_IP")->text(), QStringLiteral("192.0.2.44"));
  EXPECT_EQ(Find<QLineEdit>(*mainView, "edt_Port")->text(), QStringLiteral("6000"));

  // The third APN entry opens the dialog; the user fills it and confirms.
  QTimer::singleShot(100, [this] {
    auto* name = Find<QLineEdit>(*apnView, "lbledt_APN");
    auto* account = Find<QLineEdit>(*apnView, "lbledt_account");
    QTest::keyClicks(name, QStringLiteral("myapn"));
    QTest::keyClicks(account, QStringLiteral("me"));
    Find<QAbstractButton>(*apnView, "btn_APN")->click();
  });
  auto* apnList = Find<QComboBox>(*mainView, "cbb_APN");
  apnList->setFocus();
  QTest::keyClick(apnList, Qt::Key_End);
  EXPECT_EQ(program.frm_Main->edt_APN_other.Text(), "myapn\",\"me");
  EXPECT_EQ(Find<QLineEdit>(*mainView, "edt_APN_other")->text(), QStringLiteral("myapn\",\"me"));

  Find<QAbstractButton>(*mainView, "btn_SetAll")->click();
  ASSERT_TRUE(WaitFor([&] { return LogHas("[Note]: Parameter set successfully."); }));
  const auto received = dtu.Received();
  ASSERT_EQ(received.size(), 16u) << "the read, the ten settings and the read-back";
  EXPECT_EQ(received[3], "AT+CSTT=\"myapn\",\"me\"\r\n");
  EXPECT_EQ(received[12], "ATW\r\n");
  EXPECT_EQ(dtu.Settings().apn, "myapn");
  EXPECT_EQ(dtu.Settings().apnAccount, "me");

  portButton->click();
  EXPECT_EQ(portButton->text(), QStringLiteral("Open"));
  EXPECT_FALSE(program.frm_Main->PortControl.PortOpened);
}

TEST_F(WindowAgainstDtu, WhileAReadRunsOnlyCancelIsOfferedAndEscapeEndsItWithThePortStillOpen) {
  dtu.Change([](dtusim::DtuSimulator& sim) { sim.faults.silent = true; });
  mainView->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(mainView.get()));
  QAction* cancel = mainView->findChild<QAction*>("N16");
  ASSERT_NE(cancel, nullptr);
  const auto offered = [&] {
    QStringList names;
    for (const char* name : {"btn_Default", "btn_Read", "btn_SetAll", "btn_Com", "cbb_Open_ComName"})
      if (Find<QWidget>(*mainView, name)->isEnabled()) names << name;
    for (const char* name : {"N2", "N15", "N16"})
      if (mainView->findChild<QAction*>(name)->isEnabled()) names << name;
    return names;
  };
  const QStringList idle = offered();
  EXPECT_FALSE(idle.contains("N16"));
  auto* ip = Find<QLineEdit>(*mainView, "edt_IP");
  QTest::keyClick(ip, Qt::Key_Escape);
  EXPECT_FALSE(LogHas("[Note]: Cancelled.")) << "nothing runs";

  Find<QAbstractButton>(*mainView, "btn_Read")->click();
  EXPECT_EQ(offered(), QStringList{"N16"});
  ASSERT_TRUE(WaitFor([&] { return !dtu.Received().empty(); }));
  // The focus in a field does not keep Escape from the window.
  ip->setFocus();
  QTest::keyClick(ip, Qt::Key_Escape);
  EXPECT_TRUE(LogHas("[Note]: Cancelled."));
  EXPECT_FALSE(program.frm_Main->Device.Busy());
  EXPECT_EQ(offered(), idle);
  EXPECT_EQ(Find<QAbstractButton>(*mainView, "btn_Com")->text(), QStringLiteral("Close"));
  EXPECT_TRUE(program.frm_Main->PortControl.PortOpened);
}

TEST_F(WindowAgainstDtu, TheApnDialogsEscapeKeepsTheApnBeforeAndOtherChosenAgainOpensItAgain) {
  auto* apnList = Find<QComboBox>(*mainView, "cbb_APN");
  auto* apnText = Find<QLineEdit>(*mainView, "edt_APN_other");
  apnList->setFocus();
  const auto escape = [this] { QTest::keyClick(Find<QWidget>(*apnView, "lbledt_APN"), Qt::Key_Escape); };

  InApnDialog(escape);
  QTest::keyClick(apnList, Qt::Key_End);
  EXPECT_EQ(apnList->currentIndex(), 0);
  EXPECT_EQ(apnText->text(), QStringLiteral("CMNET"));
  EXPECT_FALSE(apnText->isEnabled());

  InApnDialog([this] {
    QTest::keyClicks(Find<QLineEdit>(*apnView, "lbledt_APN"), QStringLiteral("myapn"));
    Find<QAbstractButton>(*apnView, "btn_APN")->click();
  });
  QTest::keyClick(apnList, Qt::Key_End);
  EXPECT_EQ(apnText->text(), QStringLiteral("myapn"));

  // Other once more from the open list, where it is the current item: the dialog opens, and Escape keeps
  // the APN.
  bool opened = false;
  InApnDialog([&] {
    opened = true;
    escape();
  });
  apnList->showPopup();
  QTest::keyClick(apnList->view(), Qt::Key_Return);
  EXPECT_TRUE(opened);
  EXPECT_EQ(apnList->currentIndex(), 2);
  EXPECT_EQ(apnText->text(), QStringLiteral("myapn"));
  EXPECT_TRUE(apnText->isEnabled());
}

TEST_F(WindowAgainstDtu, ClosingDuringAWriteAllWithRepliesOnTheirWayEndsCleanly) {
  dtu.Change([](dtusim::DtuSimulator& sim) {
    sim.faults.replyDelayMs = 150;
    sim.faults.echo = dtusim::EchoMode::Exact;
    sim.faults.echoAlone = true;
  });
  // The user closes the window while a reply of the third step is queued for it: it is handed over only
  // after the window has closed.
  auto deliver = program.frm_Main->Comm1.OnReceiveData;
  program.frm_Main->Comm1.OnReceiveData = [&, deliver](serial::TComm* sender, const char* bytes,
                                                       uint16_t length) {
    if (dtu.Received().size() >= 3 && !program.frm_Main->Closed()) mainView->close();
    deliver(sender, bytes, length);
  };
  Find<QAbstractButton>(*mainView, "btn_SetAll")->click();
  ASSERT_TRUE(WaitFor([&] { return program.frm_Main->Closed(); }));
  EXPECT_FALSE(mainView->isVisible());
  EXPECT_FALSE(program.Lang.HasList());
  EXPECT_FALSE(program.frm_Main->Device.WriteActive());
  EXPECT_FALSE(program.frm_Main->tmr_TimeOut.Enabled());
  const size_t lines = program.frm_Main->mmo_Info.Lines().size();
  const size_t received = dtu.Received().size();
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 600) loop.RunUntil([&] { return true; }), QTest::qWait(10);
  EXPECT_EQ(dtu.Received().size(), received) << "nothing more is sent";
  EXPECT_EQ(program.frm_Main->mmo_Info.Lines().size(), lines) << "what was on its way is dropped";
  EXPECT_TRUE(folder.Read("program.ini").find("[DTU]") != std::string::npos) << "the settings were saved";
}

// A logout or a closed session must not lose what the user typed: the window closes as by its close button.
class ClosedBySignal : public WindowAgainstDtu, public testing::WithParamInterface<int> {};

TEST_P(ClosedBySignal, SavesProgramIniAsAClose) {
  const gui::CloseOnSignals closeOnSignals([this] { mainView->close(); });
  QLineEdit* ip = Find<QLineEdit>(*mainView, "edt_IP");
  ip->selectAll();
  QTest::keyClicks(ip, QStringLiteral("192.0.2.99"));
  raise(GetParam());
  ASSERT_TRUE(WaitFor([&] { return program.frm_Main->Closed(); }));
  EXPECT_FALSE(mainView->isVisible());
  EXPECT_NE(folder.Read("program.ini").find("IP=192.0.2.99"), std::string::npos)
      << folder.Read("program.ini");
}

INSTANTIATE_TEST_SUITE_P(Signals, ClosedBySignal, testing::Values(SIGTERM, SIGHUP),
                         [](const testing::TestParamInfo<int>& row) {
                           return std::string(row.param == SIGTERM ? "Terminate" : "HangUp");
                         });

}  // namespace
