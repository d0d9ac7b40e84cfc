#pragma once
// The About and APN dialogs' controls as designed (Chinese captions). Behaviour lives in app::Tfrm_About and
// app::Tfrm_APN.

#include "ui/Form.h"

namespace ui {

class TAboutFormDesign : public TForm {
 public:
  explicit TAboutFormDesign(Application& app);

  TImage img_About{"img_About"};  // Picture holds the JPEG bytes shown; empty: the built-in picture
  TLabel lbl_System_Title{"lbl_System_Title"};
  TLabel lbl_About_version{"lbl_About_version"};
  TLabel lbl_version{"lbl_version"};
  TLabel lbl_Aboutl_Description{"lbl_Aboutl_Description"};
  Control Bevel1{"Bevel1"};
  TLabel lbl_About_Contact{"lbl_About_Contact"};
  TLabel lbl_About_Website{"lbl_About_Website"};
  TLabel lbl_About_Tel{"lbl_About_Tel"};
  TLabel lbl_About_Email{"lbl_About_Email"};
  TButton btn_About_Yes{"btn_About_Yes"};
};

// An edit with its label to the left (Delphi's TLabeledEdit).
class TLabeledEdit : public TEdit {
 public:
  using TEdit::TEdit;
  TLabel EditLabel{Name + ".EditLabel"};
  int TabOrder = 0;
};

class TApnFormDesign : public TForm {
 public:
  explicit TApnFormDesign(Application& app);

  TLabeledEdit lbledt_APN{"lbledt_APN"};
  TLabeledEdit lbledt_account{"lbledt_account"};
  TLabeledEdit lbledt_password{"lbledt_password"};
  TButton btn_APN{"btn_APN"};
};

}  // namespace ui
