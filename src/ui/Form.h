#pragma once
// A window model: a caption, shown or hidden, modal showing through the application's dialog host.

#include "ui/Application.h"
#include "ui/Controls.h"

namespace ui {

class TForm : public CaptionControl {
 public:
  TForm(Application& app, std::string name) : CaptionControl(std::move(name)), app_(app) {
    SetVisible(false);
  }

  Application& App() { return app_; }
  // Shows the form and returns when it has been closed.
  void ShowModal();
  // Hides the form, which ends a modal showing.
  void Close();
  bool IsModal() const { return modal_; }

 private:
  Application& app_;
  bool modal_ = false;
};

}  // namespace ui
