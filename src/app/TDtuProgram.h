#pragma once
// The program as a whole: the application object with the language list, and the three windows created in
// start-up order (main window, About, APN), each running its creation handler.

#include <memory>

#include "app/Tfrm_APN.h"
#include "app/Tfrm_About.h"
#include "app/Tfrm_Main.h"
#include "ui/Application.h"

namespace app {

class TDtuProgram {
 public:
  TDtuProgram(platform::EventLoop& loop, ui::DialogHost& host);
  ~TDtuProgram();
  TDtuProgram(const TDtuProgram&) = delete;
  TDtuProgram& operator=(const TDtuProgram&) = delete;

  ui::Application Application;
  // The language list, created by the main window's creation and released by its closing.
  lang::TLangHolder Lang;
  std::unique_ptr<Tfrm_Main> frm_Main;
  std::unique_ptr<Tfrm_About> frm_About;
  std::unique_ptr<Tfrm_APN> frm_APN;

  // Creates the main window (its FormCreate loads the settings, the language and opens the port), then the
  // About and the APN dialog.
  void Start();
  // Shows the main window and handles messages until it has been closed.
  void Run();
};

}  // namespace app
