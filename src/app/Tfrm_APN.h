#pragma once
// The APN dialog: a free APN name with an optional account and password, joined into the text the DTU's APN
// command carries and written into the main window's APN field.

#include <memory>

#include "lang/LangHolder.h"
#include "ui/DialogDesigns.h"

namespace app {

// The APN text: the name; with an account, the separator "," in quotes and the account; only then, with a
// password, the separator and the password.
std::string ComposeApnText(const std::string& name, const std::string& account, const std::string& password);

class Tfrm_APN : public ui::TApnFormDesign {
 public:
  Tfrm_APN(ui::Application& app, lang::TLangHolder& Lang, ui::TEdit& edt_APN_other);

  std::string ApnName;
  std::string ApnAccount;
  std::string ApnPassword;

  void FormCreate();
  void btn_APNClick();

 private:
  lang::TLangHolder& Lang_;
  ui::TEdit& edt_APN_other_;
};

}  // namespace app
