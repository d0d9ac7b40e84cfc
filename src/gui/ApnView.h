#pragma once
// The APN dialog drawn from its model: three labelled edits top to bottom (APN, account, password shown in
// clear) and the OK button. Client area 270 x 220.

#include "gui/DialogView.h"
#include "ui/DialogDesigns.h"

namespace gui {

class ApnView : public DialogView {
  Q_OBJECT
 public:
  ApnView(ui::Application& app, ui::TApnFormDesign& form, QWidget* owner = nullptr);
};

}  // namespace gui
