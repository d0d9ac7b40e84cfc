#include "ui/Form.h"

namespace ui {

void TForm::ShowModal() {
  SetVisible(true);
  modal_ = true;
  try {
    app_.Host().ShowModal(*this);
  } catch (...) {
    modal_ = false;
    SetVisible(false);
    throw;
  }
  modal_ = false;
  SetVisible(false);
}

void TForm::Close() { SetVisible(false); }

}  // namespace ui
