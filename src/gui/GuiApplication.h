#pragma once
// The program's screen: everything of Qt the start-up code needs, behind a header without Qt.
//
//   gui::GuiApplication screen(argc, argv);           // first: Qt, the window thread's loop, the dialog host
//   ui::Application app(screen.Loop(), screen.Host());
//   app::Tfrm_Main mainForm(app);  ...About, APN...   // the window models, created in the program's order
//   screen.FollowLanguage([&] { return /* the program speaks Chinese */; });
//   return screen.Run(app, mainForm, about, apn, [&] { /* close handling */ });
//
// The window models must outlive Run (the views are destroyed when it returns).

#include <functional>
#include <memory>

#include "platform/EventLoop.h"
#include "ui/Application.h"
#include "ui/DialogDesigns.h"
#include "ui/MainFormDesign.h"

namespace gui {

class GuiApplication {
 public:
  GuiApplication(int& argc, char** argv);
  ~GuiApplication();
  GuiApplication(const GuiApplication&) = delete;
  GuiApplication& operator=(const GuiApplication&) = delete;

  platform::EventLoop& Loop();
  ui::DialogHost& Host();
  // Where Run learns the program's language, for Qt's own texts; without it they stay English.
  void FollowLanguage(std::function<bool()> isChinese);

  // Builds the views of the three windows, shows the main window and handles events until the main
  // window's form is hidden (closed by the program or through onCloseRequest). onCloseRequest runs when the
  // user closes the main window by its close button; it should do the program's close handling and close the
  // form, which ends Run; without it the form is closed directly. Errors that escape posted tasks reach the
  // application's general error report. The window icon is app.IconPath when set, else a drawn one.
  int Run(ui::Application& app, ui::TMainFormDesign& mainForm, ui::TAboutFormDesign& about,
          ui::TApnFormDesign& apn, std::function<void()> onCloseRequest = {});

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace gui
