#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/VirtualEventLoop.h"
#include "support/ScriptedDialogHost.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Timer.h"

namespace {

using testing_support::ScriptedDialogHost;

TEST(ErrorReport, AddsAFullStopOnlyAfterALetterOrDigit) {
  EXPECT_EQ(ui::ErrorReportText("Unable to write to /x/program.ini"), "Unable to write to /x/program.ini.");
  EXPECT_EQ(ui::ErrorReportText("'$4G' is not a valid integer value"), "'$4G' is not a valid integer value.");
  EXPECT_EQ(ui::ErrorReportText("bad value '$4G'"), "bad value '$4G'");
  EXPECT_EQ(ui::ErrorReportText("Error 42"), "Error 42.");
  EXPECT_EQ(ui::ErrorReportText("Done."), "Done.");
  EXPECT_EQ(ui::ErrorReportText("What?"), "What?");
  EXPECT_EQ(ui::ErrorReportText(""), "");
}

TEST(ErrorReport, AnErrorEscapingAHandlerShowsAnErrorBoxCaptionedWithTheTitleAndTheProgramGoesOn) {
  platform::VirtualEventLoop loop;
  ScriptedDialogHost host;
  ui::Application app(loop, host);
  app.Title = "Torvane-S1";
  bool after = false;
  app.Dispatch([] { throw std::runtime_error("Cannot setup comm buffer"); });
  app.Dispatch([&] { after = true; });
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Cannot setup comm buffer.");
  EXPECT_EQ(host.messages[0].caption, "Torvane-S1");
  EXPECT_EQ(host.messages[0].icon, ui::MessageIcon::Error);
  EXPECT_TRUE(after);
}

TEST(Timer, AnErrorInATimerHandlerIsReportedAndTheTimerKeepsTicking) {
  platform::VirtualEventLoop loop;
  ScriptedDialogHost host;
  ui::Application app(loop, host);
  ui::TTimer timer(app, "tmr", 1000);
  int ticks = 0;
  timer.OnTimer = [&](ui::TTimer&) {
    ++ticks;
    throw std::runtime_error("boom");
  };
  timer.SetEnabled(true);
  loop.AdvanceBy(2000);
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(host.messages.size(), 2u);
}

TEST(Form, ShowModalReturnsWhenTheFormIsClosedAndTimersRunMeanwhile) {
  platform::VirtualEventLoop loop;
  ScriptedDialogHost host;
  ui::Application app(loop, host);
  ui::TForm dialog(app, "frm_APN");
  int ticks = 0;
  auto timer = loop.CreateTimer([&] { ++ticks; }, 100);
  timer->SetEnabled(true);
  host.onModal = [&](ui::TForm& form) {
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.IsModal());
    loop.RunUntil([&] { return ticks >= 3 || !form.Visible(); });
    form.Close();
  };
  dialog.ShowModal();
  EXPECT_FALSE(dialog.Visible());
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(host.modalForms, (std::vector<std::string>{"frm_APN"}));
}

}  // namespace
