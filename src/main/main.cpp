// dtu-config: without arguments it opens the window, as the tool always starts; with arguments it runs one
// device action from the command line.

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/TDtuProgram.h"
#include "gui/GuiApplication.h"
#include "main/CommandLine.h"

namespace {

// Whether the window has nowhere to go: Qt would abort on an X11 or Wayland platform without its display,
// and a technician on a terminal deserves to hear why and what to use instead. A platform chosen by
// QT_QPA_PLATFORM that needs no display (offscreen, vnc, ...) is left to Qt.
bool NoDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const std::string_view chosen = platform != nullptr ? platform : "";
  const bool needsDisplay = chosen.empty() || chosen.starts_with("xcb") || chosen.starts_with("wayland");
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  return needsDisplay && !set("DISPLAY") && !set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) return cli::RunCommandLine(argc, argv);
  if (NoDisplay()) {
    std::fputs("dtu-config: no display found; dtu-config --help shows the command line\n", stderr);
    return 2;
  }

  gui::GuiApplication screen(argc, argv);
  app::TDtuProgram program(screen.Loop(), screen.Host());
  program.Start();
  screen.FollowLanguage([&program] { return program.Lang.IsChinese(); });
  return screen.Run(program.Application, *program.frm_Main, *program.frm_About, *program.frm_APN,
                    [&program] { program.frm_Main->UserClose(); });
}
