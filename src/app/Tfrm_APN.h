#pragma once
// The APN dialog: a free APN name with an optional account and password, joined into the text the DTU's APN
// command carries and written into the main window's APN field.

#include <memory>

#include "lang/LangHolder.h"
#include "ui/DialogDesigns.h"
#include "values/Commands.h"

namespace app {

class Tfrm_APN : public ui::TApnFormDesign {
 public:
  Tfrm_APN(ui::Application& app, lang::TLangHolder& Lang, ui::TEdit& edt_APN_other);

  std::string ApnName;
  std::string ApnAccount;
  std::string ApnPassword;

  void FormCreate();
  // Shows the dialog modally; returns whether it was left by OK with an APN, rather than by Escape or its
  // close button.
  bool Confirm();
  void btn_APNClick();
  // Puts the APN a DTU listed into the dialog's edits, in place of what was typed there before.
  void ShowListedApn(const values::ApnParts& apn);

 private:
  lang::TLangHolder& Lang_;
  ui::TEdit& edt_APN_other_;
  bool confirmed_ = false;
};

}  // namespace app
