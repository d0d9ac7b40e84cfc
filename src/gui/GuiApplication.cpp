#include "gui/GuiApplication.h"

#include <QApplication>

#include "gui/AboutView.h"
#include "gui/ApnView.h"
#include "gui/CloseOnSignals.h"
#include "gui/MainWindowView.h"
#include "gui/Pictures.h"
#include "gui/QtDialogHost.h"
#include "gui/QtEventLoop.h"
#include "gui/QtTranslation.h"

namespace gui {

struct GuiApplication::Impl {
  Impl(int& argc, char** argv) : qt(argc, argv), host(loop) {}
  QApplication qt;
  QtEventLoop loop;
  QtDialogHost host;
  std::function<bool()> isChinese;
};

GuiApplication::GuiApplication(int& argc, char** argv) : impl_(std::make_unique<Impl>(argc, argv)) {
  // The window closes only when its form says so; Qt must not end anything on its own.
  QApplication::setQuitOnLastWindowClosed(false);
  // Every task and tick redraws what it changed, as does every user action and the showing of a message or a
  // dialog; with nothing happening the window does no work at all, so there is no timer to catch up.
  impl_->loop.SetAfterEach(&ModelBinder::RefreshAll);
}

GuiApplication::~GuiApplication() = default;

platform::EventLoop& GuiApplication::Loop() { return impl_->loop; }

ui::DialogHost& GuiApplication::Host() { return impl_->host; }

void GuiApplication::FollowLanguage(std::function<bool()> isChinese) {
  impl_->isChinese = std::move(isChinese);
}

int GuiApplication::Run(ui::Application& app, ui::TMainFormDesign& mainForm, ui::TAboutFormDesign& about,
                        ui::TApnFormDesign& apn, std::function<void()> onCloseRequest) {
  QApplication::setWindowIcon(app.IconPath.empty() ? ProgramIcon()
                                                   : QIcon(QString::fromStdString(app.IconPath)));
  impl_->loop.SetErrorHandler([&app](const std::exception& error) { app.HandleException(error); });

  QtTranslation translation(app, impl_->isChinese);
  MainWindowView mainView(app, mainForm, std::move(onCloseRequest));
  AboutView aboutView(app, about, &mainView);
  ApnView apnView(app, apn, &mainView);
  // A signal closes the window as its close button does, with the program's close handling.
  const CloseOnSignals closeOnSignals([&mainView] { mainView.close(); });
  QtDialogHost& host = impl_->host;
  host.RegisterView(about, aboutView);
  host.RegisterView(apn, apnView);

  mainForm.SetVisible(true);
  ModelBinder::RefreshAll();  // the views were drawn before; whatever the start-up changed since shows now
  mainView.show();
  impl_->loop.RunUntil([&mainForm] { return !mainForm.Visible(); });

  host.UnregisterView(about);
  host.UnregisterView(apn);
  impl_->loop.SetErrorHandler({});
  return 0;
}

}  // namespace gui
