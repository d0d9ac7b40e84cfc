#pragma once
// The whole program (three windows, real port control, real serial component) in a temporary program folder,
// on the real-time loop, attached to a simulated DTU on a pseudo-terminal through the [Ports] mapping of
// program.ini.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "app/TDtuProgram.h"
#include "dtu-sim/PtyDtu.h"
#include "platform/RealTimeEventLoop.h"
#include "support/ScriptedDialogHost.h"

namespace testing_support {

// A fresh folder that the program takes as its own for one test.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

class ProgramOnPty : public testing::Test {
 protected:
  // Chinese unless told otherwise; the settings file maps COM1 to the simulated DTU.
  void StartProgram(bool chinese = true, const std::string& extraIni = "");
  void TearDown() override;

  app::Tfrm_Main& Main() { return *program->frm_Main; }
  // Runs the loop until done() or the deadline; false when the deadline came first.
  bool RunUntil(const std::function<bool()>& done,
                std::chrono::milliseconds deadline = std::chrono::seconds(10));
  bool LogHas(const std::string& gbkLine) const;
  int LogCount(const std::string& gbkLine) const;
  // A user's click on a control, with errors going to the general error report.
  void UserClick(ui::Control& control);

  ProgramFolder folder;
  std::unique_ptr<dtusim::PtyDtu> dtu = std::make_unique<dtusim::PtyDtu>();
  platform::RealTimeEventLoop loop;
  ScriptedDialogHost host;
  std::unique_ptr<app::TDtuProgram> program;
};

}  // namespace testing_support
