// dtu-config on Windows: without arguments it opens the window, as the tool always starts; with arguments it
// runs one device action from the command line.

#include "app/TDtuProgram.h"
#include "main/CommandLine.h"
#include "winview/WinApplication.h"

int main(int argc, char** argv) {
  if (argc > 1) return cli::RunCommandLine(argc, argv);

  winview::WinApplication screen;
  app::TDtuProgram program(screen.Loop(), screen.Host());
  program.Start();
  screen.FollowLanguage([&program] { return program.Lang.IsChinese(); });
  return screen.Run(program.Application, *program.frm_Main, *program.frm_About, *program.frm_APN,
                    [&program] { program.frm_Main->UserClose(); });
}
