#include "support/ProgramFixture.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/ProgramFolder.h"

namespace testing_support {

ProgramFolder::ProgramFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "dtu-program-XXXXXX").string();
  path_ = mkdtemp(pattern.data());
  platform::SetProgramFolderForTesting(path_.string());
}

ProgramFolder::~ProgramFolder() {
  platform::SetProgramFolderForTesting("");
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void ProgramFolder::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream(path_ / name, std::ios::binary) << bytes;
}

std::string ProgramFolder::Read(const std::string& name) const {
  std::ifstream file(path_ / name, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

void ProgramOnPty::StartProgram(bool chinese, const std::string& extraIni) {
  folder.Write("program.ini", std::string("[Sys]\r\nLang=") + (chinese ? "1" : "0") + "\r\n" + extraIni +
                                  "[Ports]\r\nCOM1=" + dtu->SlavePath() + "\r\n");
  program = std::make_unique<app::TDtuProgram>(loop, host);
  program->Start();
}

void ProgramOnPty::TearDown() {
  program.reset();
  dtu.reset();
}

bool ProgramOnPty::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline) {
  bool expired = false;
  auto timer = loop.CreateTimer([&expired] { expired = true; }, static_cast<uint32_t>(deadline.count()));
  timer->SetEnabled(true);
  // The simulated DTU changes state on its own thread without posting to our loop: look again now and then.
  auto poll = loop.CreateTimer([] {}, 10);
  poll->SetEnabled(true);
  loop.RunUntil([&] { return expired || done(); });
  return done();
}

int ProgramOnPty::LogCount(const std::string& gbkLine) const {
  const auto& lines = program->frm_Main->mmo_Info.Lines();
  return static_cast<int>(std::count(lines.begin(), lines.end(), "  " + gbkLine));
}

bool ProgramOnPty::LogHas(const std::string& gbkLine) const { return LogCount(gbkLine) > 0; }

void ProgramOnPty::UserClick(ui::Control& control) {
  program->Application.Dispatch([&control] { control.UserClick(); });
}

}  // namespace testing_support
