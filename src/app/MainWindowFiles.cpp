// The main window's file commands: saving the log, and keeping the DTU's settings in [DTU] section files, a
// profile per customer that the command line reads and writes too.

#include <cerrno>
#include <cstring>
#include <fstream>

#include "app/Tfrm_Main.h"
#include "config/DeviceConfig.h"
#include "lang/LogRows.h"
#include "platform/TextCodec.h"
#include "settings/DtuSection.h"
#include "settings/IniFile.h"
#include "values/Checks.h"

namespace app {
namespace {

// What a failed file command shows: what failed, the file and the reason, each on a line of its own.
std::string FileFailure(lang::TLangHolder& lang, const lang::LangRow& what, const std::string& path,
                        const std::string& reason) {
  return lang.Text(what) + "\r\n" + platform::Utf8ToGbk(path) + "\r\n" + reason;
}

}  // namespace

void Tfrm_Main::SaveLog() {
  const std::optional<std::string> path =
      App().Host().AskSaveFile(Lang_.Text(lang::lang_SaveLog_Title), "dtu-log.txt");
  if (!path) return;
  std::string text;
  for (const std::string& line : mmo_Info.Lines()) text += platform::GbkToUtf8(line) + '\n';
  errno = 0;
  std::ofstream file(*path, std::ios::binary | std::ios::trunc);
  if (file) file.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (file) file.close();
  if (!file) {
    const int error = errno;
    const std::string reason = error != 0 ? std::strerror(error) : "Write error";
    App().MessageBox(FileFailure(Lang_, lang::lang_SaveLog_Failed, *path, platform::Utf8ToGbk(reason)),
                     ui::MessageIcon::Error);
  }
}

void Tfrm_Main::OpenConfiguration() {
  const std::optional<std::string> path = App().Host().AskOpenFile(Lang_.Text(lang::lang_OpenConfig_Title));
  if (!path) return;
  const std::optional<values::DtuValues> loaded = settings::ReadDtuFile(*path);
  if (!loaded) {
    App().MessageBox(
        FileFailure(Lang_, lang::lang_Config_NotLoaded, *path, Lang_.Text(lang::lang_Config_NoSection)),
        ui::MessageIcon::Error);
    return;
  }
  // A profile the DTU could not be sent is refused whole: half of it shown would be taken for all of it.
  if (const auto problem = values::Check(*loaded)) {
    App().MessageBox(FileFailure(Lang_, lang::lang_Config_NotLoaded, *path,
                                 FieldName(problem->row) + ": " + config::RuleText(Lang_, *problem)),
                     ui::MessageIcon::Error);
    return;
  }
  std::vector<size_t> rows = settings::AllRows();
  ShowLoadedValues(*loaded, rows);
  AddInfo(Lang_.Text(lang::lang_Info_ConfigLoaded) + platform::Utf8ToGbk(*path));
}

void Tfrm_Main::SaveConfiguration() {
  const values::DtuValues current = CurrentValues();
  // A file that could not be loaded again is not worth keeping: the field is shown as before a write.
  if (const auto problem = values::Check(current)) {
    AddInfo(Lang_.Text(lang::lang_Info_ConfigInvalid) + FieldName(problem->row) + ": " +
            config::RuleText(Lang_, *problem));
    ShowProblem(*problem);
    return;
  }
  const std::optional<std::string> path =
      App().Host().AskSaveFile(Lang_.Text(lang::lang_SaveConfig_Title), "dtu.ini");
  if (!path) return;
  try {
    settings::SaveDtuFile(*path, current);
  } catch (const settings::EIniWriteError& error) {
    App().MessageBox(FileFailure(Lang_, lang::lang_Config_NotSaved, *path, platform::Utf8ToGbk(error.what())),
                     ui::MessageIcon::Error);
    return;
  }
  AddInfo(Lang_.Text(lang::lang_Info_ConfigSaved) + platform::Utf8ToGbk(*path));
}

}  // namespace app
