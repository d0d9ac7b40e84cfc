// program.ini as any bytes: loading fills the window, saving writes it back, and loading what was saved must
// give the window the first load gave. Saved both into a new file and over the odd file itself, where the
// values are replaced where they stand.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "platform/VirtualEventLoop.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "support/ScriptedDialogHost.h"
#include "ui/MainFormDesign.h"

namespace {

using fuzzing::Check;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// Texts that a save and a load give back as they are. The others change by design: blanks at the ends and one
// pair of quotes are dropped on reading, and a zero byte ends the value a line can hold.
bool Storable(const std::string& text) {
  if (text.find('\0') != std::string::npos) return false;
  if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()))) return false;
  return !(text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front());
}

struct Fields {
  bool chinese = false;
  std::vector<int> indexes;
  std::vector<std::string> texts;
  bool apnEnabled = false;
  std::vector<bool> hexBoxes;
};

Fields Load(const std::string& path, bool systemChinese) {
  platform::VirtualEventLoop loop;
  testing_support::ScriptedDialogHost host;
  ui::Application app(loop, host);
  ui::TMainFormDesign form(app);
  Fields fields;
  fields.chinese = settings::LoadSettings(form, path, systemChinese);
  for (const ui::TComboBox* list :
       {&form.cbb_Open_ComName, &form.cbb_Open_BaudRate, &form.cbb_Open_Parity, &form.cbb_Open_Byte,
        &form.cbb_Open_Stop, &form.cbb_APN, &form.cbb_NetProtocol, &form.cbb_Com_BaudRate,
        &form.cbb_Com_Parity, &form.cbb_Com_Byte, &form.cbb_Com_Stop}) {
    Check(list->ItemIndex() >= -1 && list->ItemIndex() < static_cast<int>(list->Items().size()));
    fields.indexes.push_back(list->ItemIndex());
  }
  for (const ui::TEdit* edit :
       {&form.edt_APN_other, &form.edt_IP, &form.edt_Port, &form.edt_DevID, &form.edt_HeartbeatFormat,
        &form.edtl_HeartbeatTime, &form.edt_WaitTime, &form.edt_WaitLen, &form.edt_RestartTime}) {
    fields.texts.push_back(edit->Text());
  }
  fields.texts.push_back(form.CipmuxText);
  fields.texts.push_back(form.CipmodeText);
  fields.apnEnabled = form.edt_APN_other.Enabled();
  fields.hexBoxes = {form.chk_DevID.Checked(), form.chk_HeartbeatFormat.Checked()};
  return fields;
}

void Save(const std::string& from, const std::string& to, bool systemChinese) {
  platform::VirtualEventLoop loop;
  testing_support::ScriptedDialogHost host;
  ui::Application app(loop, host);
  ui::TMainFormDesign form(app);
  const bool chinese = settings::LoadSettings(form, from, systemChinese);
  settings::SaveSettings(form, to, chinese);
}

void CheckSame(const Fields& first, const Fields& second) {
  Check(first.chinese == second.chinese);
  Check(first.indexes == second.indexes);
  Check(first.apnEnabled == second.apnEnabled);
  Check(first.hexBoxes == second.hexBoxes);
  for (size_t i = 0; i < first.texts.size(); ++i) {
    if (Storable(first.texts[i])) Check(first.texts[i] == second.texts[i]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzzing::ScratchFolder folder;
  static const std::string odd = folder.File("program.ini");
  static const std::string fresh = folder.File("fresh.ini");

  FuzzedDataProvider input(data, size);
  const bool systemChinese = input.ConsumeBool();
  const std::string text = input.ConsumeRemainingBytesAsString();
  fuzzing::WriteFile(odd, text);

  const Fields first = Load(odd, systemChinese);

  fuzzing::RemoveFile(fresh);
  Save(odd, fresh, systemChinese);
  CheckSame(first, Load(fresh, !systemChinese));

  Save(odd, odd, systemChinese);
  CheckSame(first, Load(odd, !systemChinese));
  return 0;
}
