#include "app/Tfrm_APN.h"

#include <algorithm>

#include "app/LangApply.h"

namespace app {
namespace {

std::string WithoutSpaces(std::string text) {
  std::erase(text, ' ');
  return text;
}

}  // namespace

Tfrm_APN::Tfrm_APN(ui::Application& app, lang::TLangHolder& Lang, ui::TEdit& edt_APN_other)
    : ui::TApnFormDesign(app), Lang_(Lang), edt_APN_other_(edt_APN_other) {
  btn_APN.OnClick = [this](ui::Control&) { btn_APNClick(); };
}

void Tfrm_APN::FormCreate() { ApplyApnLang(*this, Lang_.List()); }

void Tfrm_APN::ShowListedApn(const values::ApnParts& apn) {
  lbledt_APN.SetText(apn.name);
  lbledt_account.SetText(apn.account);
  lbledt_password.SetText(apn.password);
}

bool Tfrm_APN::Confirm() {
  confirmed_ = false;
  ShowModal();
  return confirmed_;
}

void Tfrm_APN::btn_APNClick() {
  ApnName = WithoutSpaces(lbledt_APN.Text());
  ApnAccount = WithoutSpaces(lbledt_account.Text());
  ApnPassword = WithoutSpaces(lbledt_password.Text());
  if (ApnName.empty()) {
    App().MessageBox(Lang_.Text(lang::lang_APN_APNEmpty));
    return;
  }
  edt_APN_other_.SetText(values::ComposeApnText({ApnName, ApnAccount, ApnPassword}));
  confirmed_ = true;
  Close();
}

}  // namespace app
