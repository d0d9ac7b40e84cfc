#include "gui/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include "platform/TextCodec.h"

namespace gui_test {
namespace {

std::string Gbk(const lang::LangRow& row, Language language) {
  return platform::Utf8ToGbk(language == Language::English ? row.English : row.Chinese);
}

}  // namespace

void EnsureQtApplication() { ASSERT_NE(QApplication::instance(), nullptr) << "made by the test main"; }

QString Text(const lang::LangRow& row, Language language) {
  const std::string_view text = language == Language::English ? row.English : row.Chinese;
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void ApplyMainTexts(ui::TMainFormDesign& f, Language l) {
  using namespace lang;
  f.SetCaption(Gbk(lang_System_Title, l) + " V1.7.3.0");
  const std::pair<ui::CaptionControl*, const LangRow*> rows[] = {
      {&f.N1, &lang_Menu_File},
      {&f.N3, &lang_Menu_Lang},
      {&f.N4, &lang_Menu_Help},
      {&f.N11, &lang_Menu_Default},
      {&f.N2, &lang_Menu_Read},
      {&f.N5, &lang_Menu_WriteAll},
      {&f.N7, &lang_Menu_Exit},
      {&f.N8, &lang_Menu_About},
      {&f.N12, &lang_Menu_Update},
      {&f.N10, &lang_Menu_Web},
      {&f.N13, &lang_Menu_Message},
      {&f.btn_Com, &lang_Command_Open},
      {&f.grp_OpenCom_Caption, &lang_grp_OpenCom},
      {&f.grp_Param_Caption, &lang_grp_Prarm},
      {&f.lbl_Open_ComName, &lang_Lbl_ComName},
      {&f.lbl_Open_BaudRate, &lang_Lbl_ComBaudRate},
      {&f.lbl_Open_ComParam, &lang_Lbl_ComParam},
      {&f.lbl_APN, &lang_Lbl_APN},
      {&f.lbl_WaitTime, &lang_Lbl_WaitTime},
      {&f.lbl_WaitTime_ms, &lang_Lbl_ms},
      {&f.lbl_WaitLen_B, &lang_Lbl_Byte},
      {&f.lbl_WaitLen, &lang_Lbl_WaitLen},
      {&f.lbl_HeartbeatTime, &lang_Lbl_HeartbeatTime},
      {&f.lbl_HeartbeatTime_s, &lang_Lbl_s},
      {&f.lbl_IP, &lang_Lbl_IP},
      {&f.lbl_Port, &lang_Lbl_Port},
      {&f.lbl_NetProtocol, &lang_Lbl_NetProtocol},
      {&f.lbl_Info, &lang_Lbl_Info},
      {&f.lbl_ComBaudRate, &lang_Lbl_DTUBaudRate},
      {&f.lbl_ComParam, &lang_Lbl_ComParam},
      {&f.lbl_DevID, &lang_Lbl_DevID},
      {&f.lbl_HeartbeatFormat, &lang_Lbl_HeartbeatFormat},
      {&f.lbl_RestartTime, &lang_Lbl_RestartTime},
      {&f.lbl_lbl_RestartTime_s, &lang_Lbl_s},
      {&f.lbl_Clear, &lang_Lbl_Clear},
      {&f.btn_Default, &lang_Menu_Default},
      {&f.btn_Read, &lang_Menu_Read},
      {&f.btn_SetAll, &lang_Menu_WriteAll}};
  for (const auto& [control, row] : rows) control->SetCaption(Gbk(*row, l));
  f.cbb_APN.SetItemText(0, Gbk(lang_cbb_CMNET, l));
  f.cbb_APN.SetItemText(1, Gbk(lang_cbb_UNINET, l));
  f.cbb_APN.SetItemText(2, Gbk(lang_cbb_Other, l));
}

void ApplyAboutTexts(ui::TAboutFormDesign& f, Language l) {
  using namespace lang;
  f.SetCaption(Gbk(lang_About_Title, l));
  f.lbl_System_Title.SetCaption(Gbk(lang_System_Title, l));
  f.lbl_About_version.SetCaption(Gbk(lang_About_Version, l));
  f.lbl_version.SetCaption(" V1.7.3.0");
  f.btn_About_Yes.SetCaption(Gbk(lang_About_Yes, l));
  f.lbl_Aboutl_Description.SetCaption(Gbk(lang_About_Description, l));
  f.lbl_About_Contact.SetCaption(Gbk(lang_About_Contact, l));
  f.lbl_About_Website.SetCaption(Gbk(lang_About_Website, l));
  f.lbl_About_Tel.SetCaption(Gbk(lang_About_Tel, l));
  f.lbl_About_Email.SetCaption(Gbk(lang_About_Email, l));
}

void ApplyApnTexts(ui::TApnFormDesign& f, Language l) {
  using namespace lang;
  f.SetCaption(Gbk(lang_APN_Title, l));
  f.lbledt_APN.EditLabel.SetCaption(Gbk(lang_APN_APN, l));
  f.lbledt_account.EditLabel.SetCaption(Gbk(lang_APN_Account, l));
  f.lbledt_password.EditLabel.SetCaption(Gbk(lang_APN_Password, l));
  f.btn_APN.SetCaption(Gbk(lang_APN_OK, l));
}

QString SaveScreen(QWidget& window, const QString& name) {
  QDir().mkpath(QStringLiteral(GUI_TEST_SCREENS));
  const QString path = QStringLiteral(GUI_TEST_SCREENS) + QLatin1Char('/') + name + QStringLiteral(".png");
  window.grab().save(path);
  return path;
}

QString ShownText(const QObject* object) {
  if (auto* label = qobject_cast<const QLabel*>(object)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(object)) return button->text();
  if (auto* group = qobject_cast<const QGroupBox*>(object)) return group->title();
  if (auto* edit = qobject_cast<const QLineEdit*>(object)) return edit->text();
  if (auto* action = qobject_cast<const QAction*>(object)) return action->text();
  return {};
}

}  // namespace gui_test
