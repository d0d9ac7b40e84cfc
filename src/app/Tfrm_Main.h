#pragma once
// The main window model: the designed controls plus the window's behaviour.

#include "ui/MainFormDesign.h"

namespace app {

class Tfrm_Main : public ui::TMainFormDesign {
 public:
  explicit Tfrm_Main(ui::Application& app) : ui::TMainFormDesign(app) {}
};

}  // namespace app
