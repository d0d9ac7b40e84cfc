#include "ui/DialogDesigns.h"

#include "platform/TextCodec.h"

namespace ui {
namespace {
std::string Gbk(const char* utf8) { return platform::Utf8ToGbk(utf8); }
}  // namespace

TAboutFormDesign::TAboutFormDesign(Application& app) : TForm(app, "frm_About") {
  SetCaption(Gbk("关于本程序"));
  lbl_System_Title.SetCaption("Torvane-T1");
  lbl_About_version.SetCaption(Gbk("版本："));
  lbl_Aboutl_Description.SetCaption(
      Gbk("本程序由托凡物联技术有限公司设计提供，用于Torvane-S1系统产品设置，"
          "可以通过串口对系统产品进行配置，本软件使用免费。"));
  lbl_About_Contact.SetCaption(Gbk("联系我们："));
  btn_About_Yes.SetCaption(Gbk("确 认"));
}

TApnFormDesign::TApnFormDesign(Application& app) : TForm(app, "frm_APN") {
  SetCaption(Gbk("APN设置"));
  lbledt_APN.EditLabel.SetCaption(Gbk("APN："));
  lbledt_APN.TabOrder = 4;
  lbledt_account.EditLabel.SetCaption(Gbk("账号："));
  lbledt_account.TabOrder = 1;
  lbledt_password.EditLabel.SetCaption(Gbk("密码："));
  lbledt_password.TabOrder = 2;
  btn_APN.SetCaption(Gbk("确 定"));
}

}  // namespace ui
