#pragma once
// The APN dialog drawn from its model: three labelled edits and the OK button. Client area 270 x 220.

#include "ui/DialogDesigns.h"
#include "winview/DialogWindow.h"

namespace winview {

class ApnWindow final : public DialogWindow {
 public:
  ApnWindow(ui::Application& app, ui::TApnFormDesign& form, HWND owner);
};

}  // namespace winview
