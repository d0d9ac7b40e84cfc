#pragma once
// The program's screen on Windows: everything of Win32 the start-up code needs.
//
//   winview::WinApplication screen;                    // first: the window thread's loop, the dialog host
//   ui::Application app(screen.Loop(), screen.Host());
//   app::Tfrm_Main mainForm(app);  ...About, APN...   // the window models, created in the program's order
//   screen.FollowLanguage([&] { return /* the program speaks Chinese */; });
//   return screen.Run(app, mainForm, about, apn, [&] { /* close handling */ });
//
// The window models must outlive Run (the windows are destroyed when it returns).

#include <functional>
#include <memory>

#include "platform/EventLoop.h"
#include "ui/Application.h"
#include "ui/DialogDesigns.h"
#include "ui/MainFormDesign.h"

namespace winview {

class WinApplication {
 public:
  WinApplication();
  ~WinApplication();
  WinApplication(const WinApplication&) = delete;
  WinApplication& operator=(const WinApplication&) = delete;

  platform::EventLoop& Loop();
  ui::DialogHost& Host();
  // Where the message boxes learn the program's language, for their own OK.
  void FollowLanguage(std::function<bool()> isChinese);

  // Makes the windows of the three forms, shows the main window and handles messages until the main
  // window's form is hidden (closed by the program or through onCloseRequest). onCloseRequest runs when the
  // user closes the main window by its close button, and when the console the program runs in is closed or
  // interrupted; it should do the program's close handling and close the form, which ends Run. Errors that
  // escape posted tasks and timer ticks reach the application's general error report. The window icon is
  // app.IconPath when set, else the program's own.
  int Run(ui::Application& app, ui::TMainFormDesign& mainForm, ui::TAboutFormDesign& about,
          ui::TApnFormDesign& apn, std::function<void()> onCloseRequest = {});

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace winview
