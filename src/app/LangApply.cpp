#include "app/LangApply.h"

#include "lang/DialogueRows.h"
#include "lang/LogRows.h"
#include "lang/OutcomeRows.h"
#include "lang/Version.h"
#include "values/SettingsTable.h"

namespace app {

void ApplyMainLang(ui::TMainFormDesign& form, lang::TLangList& LangList) {
  auto text = [&LangList](const lang::LangRow& row) { return LangList.GetLangText(row); };

  form.SetCaption(text(lang::lang_System_Title) + " V" + lang::GetAppVersion());

  form.N1.SetCaption(text(lang::lang_Menu_File));
  form.N3.SetCaption(text(lang::lang_Menu_Lang));
  form.N4.SetCaption(text(lang::lang_Menu_Help));
  form.N11.SetCaption(text(lang::lang_Menu_Default));
  form.N2.SetCaption(text(lang::lang_Menu_Read));
  form.N5.SetCaption(text(lang::lang_Menu_WriteAll));
  form.N7.SetCaption(text(lang::lang_Menu_Exit));
  form.N8.SetCaption(text(lang::lang_Menu_About));
  form.N12.SetCaption(text(lang::lang_Menu_Update));
  form.N10.SetCaption(text(lang::lang_Menu_Web));
  form.N13.SetCaption(text(lang::lang_Menu_Message));
  form.N14.SetCaption(text(lang::lang_Menu_Tools));
  form.N15.SetCaption(text(lang::lang_Menu_FindLine));
  form.N16.SetCaption(text(lang::lang_Menu_Cancel));
  form.N17.SetCaption(text(lang::lang_Menu_Verify));
  form.N18.SetCaption(text(lang::lang_Menu_SaveLog));
  form.N19.SetCaption(text(lang::lang_Menu_TimeStamps));
  form.N20.SetCaption(text(lang::lang_Menu_OpenConfig));
  form.N21.SetCaption(text(lang::lang_Menu_SaveConfig));
  form.N22.SetCaption(text(lang::lang_Menu_SendCommand));
  form.btn_Send.SetCaption(text(lang::lang_btn_Send));

  // The port button shows the open or the close text depending on the port's state, so its caption is
  // converted from whatever language it shows. The open row must be held for that to work at start-up.
  (void)text(lang::lang_Command_Open);
  form.btn_Com.SetCaption(LangList.TranslateText(form.btn_Com.Caption()));

  form.grp_OpenCom_Caption.SetCaption(text(lang::lang_grp_OpenCom));
  form.grp_Param_Caption.SetCaption(text(lang::lang_grp_Prarm));
  form.lbl_Open_ComName.SetCaption(text(lang::lang_Lbl_ComName));
  form.lbl_Open_BaudRate.SetCaption(text(lang::lang_Lbl_ComBaudRate));
  form.lbl_Open_ComParam.SetCaption(text(lang::lang_Lbl_ComParam));
  form.lbl_APN.SetCaption(text(lang::lang_Lbl_APN));
  form.lbl_WaitTime.SetCaption(text(lang::lang_Lbl_WaitTime));
  form.lbl_WaitTime_ms.SetCaption(text(lang::lang_Lbl_ms));
  form.lbl_WaitLen_B.SetCaption(text(lang::lang_Lbl_Byte));
  form.lbl_WaitLen.SetCaption(text(lang::lang_Lbl_WaitLen));
  form.lbl_HeartbeatTime.SetCaption(text(lang::lang_Lbl_HeartbeatTime));
  form.lbl_HeartbeatTime_s.SetCaption(text(lang::lang_Lbl_s));
  form.lbl_IP.SetCaption(text(lang::lang_Lbl_IP));
  form.lbl_Port.SetCaption(text(lang::lang_Lbl_Port));
  form.lbl_NetProtocol.SetCaption(text(lang::lang_Lbl_NetProtocol));
  form.lbl_Info.SetCaption(text(lang::lang_Lbl_Info));
  form.lbl_ComBaudRate.SetCaption(text(lang::lang_Lbl_DTUBaudRate));
  form.lbl_ComParam.SetCaption(text(lang::lang_Lbl_ComParam));
  form.lbl_DevID.SetCaption(text(lang::lang_Lbl_DevID));
  form.lbl_HeartbeatFormat.SetCaption(text(lang::lang_Lbl_HeartbeatFormat));
  form.lbl_RestartTime.SetCaption(text(lang::lang_Lbl_RestartTime));
  form.lbl_lbl_RestartTime_s.SetCaption(text(lang::lang_Lbl_s));
  form.lbl_Clear.SetCaption(text(lang::lang_Lbl_Clear));

  // The APN list's items change text in place; the user's choice survives.
  const int selected = form.cbb_APN.ItemIndex();
  form.cbb_APN.SetItemText(0, text(lang::lang_cbb_CMNET));
  form.cbb_APN.SetItemText(1, text(lang::lang_cbb_UNINET));
  form.cbb_APN.SetItemText(2, text(lang::lang_cbb_Other));
  form.cbb_APN.SetItemIndex(selected);

  for (const auto& more : form.MoreSettings) {
    const values::Row& setting = values::Table()[more->row];
    if (const lang::LangRow* row = lang::BuiltInRow(setting.labelKey)) more->caption.SetCaption(text(*row));
  }

  form.btn_Default.SetCaption(text(lang::lang_Menu_Default));
  form.btn_Read.SetCaption(text(lang::lang_Menu_Read));
  form.btn_SetAll.SetCaption(text(lang::lang_Menu_WriteAll));
}

void ApplyAboutLang(ui::TAboutFormDesign& form, lang::TLangList& LangList) {
  auto text = [&LangList](const lang::LangRow& row) { return LangList.GetLangText(row); };
  form.SetCaption(text(lang::lang_About_Title));
  form.lbl_System_Title.SetCaption(text(lang::lang_System_Title));
  form.lbl_About_version.SetCaption(text(lang::lang_About_Version));
  form.btn_About_Yes.SetCaption(text(lang::lang_About_Yes));
  form.lbl_Aboutl_Description.SetCaption(text(lang::lang_About_Description));
  form.lbl_About_Contact.SetCaption(text(lang::lang_About_Contact));
  form.lbl_About_Website.SetCaption(text(lang::lang_About_Website));
  form.lbl_About_Tel.SetCaption(text(lang::lang_About_Tel));
  form.lbl_About_Email.SetCaption(text(lang::lang_About_Email));
}

void ApplyApnLang(ui::TApnFormDesign& form, lang::TLangList& LangList) {
  auto text = [&LangList](const lang::LangRow& row) { return LangList.GetLangText(row); };
  form.SetCaption(text(lang::lang_APN_Title));
  form.lbledt_APN.EditLabel.SetCaption(text(lang::lang_APN_APN));
  form.lbledt_account.EditLabel.SetCaption(text(lang::lang_APN_Account));
  form.lbledt_password.EditLabel.SetCaption(text(lang::lang_APN_Password));
  form.btn_APN.SetCaption(text(lang::lang_APN_OK));
}

}  // namespace app
