#pragma once
// Writing the current language into the three windows, and switching it.

#include "lang/LangList.h"
#include "ui/DialogDesigns.h"
#include "ui/MainFormDesign.h"

namespace app {

void ApplyMainLang(ui::TMainFormDesign& form, lang::TLangList& LangList);
void ApplyAboutLang(ui::TAboutFormDesign& form, lang::TLangList& LangList);
void ApplyApnLang(ui::TApnFormDesign& form, lang::TLangList& LangList);

}  // namespace app
