#include "app/TDtuProgram.h"

namespace app {

TDtuProgram::TDtuProgram(platform::EventLoop& loop, ui::DialogHost& host) : Application(loop, host) {}

TDtuProgram::~TDtuProgram() {
  // The dialogs refer to the main window's APN field, so they go first; the main window closes its port.
  frm_APN.reset();
  frm_About.reset();
  frm_Main.reset();
}

void TDtuProgram::Start() {
  frm_Main = std::make_unique<Tfrm_Main>(Application, Lang);
  frm_Main->FormCreate();
  frm_About = std::make_unique<Tfrm_About>(Application, Lang);
  frm_About->FormCreate();
  frm_APN = std::make_unique<Tfrm_APN>(Application, Lang, frm_Main->edt_APN_other);
  frm_APN->FormCreate();
  frm_Main->frm_About = frm_About.get();
  frm_Main->frm_APN = frm_APN.get();
}

void TDtuProgram::Run() {
  frm_Main->SetVisible(true);
  Application.Loop().RunUntil([this] { return frm_Main->Closed(); });
}

}  // namespace app
