#pragma once
// The About dialog drawn from its model: the picture whole at the left; beside it the title, version and
// description, a line, the contact details with the web link and the OK button at the bottom right.
// Client area 466 x 235.

#include <string>

#include "ui/DialogDesigns.h"
#include "winview/DialogWindow.h"

namespace winview {

class AboutWindow final : public DialogWindow {
 public:
  AboutWindow(ui::Application& app, ui::TAboutFormDesign& form, HWND owner);
  ~AboutWindow() override;

 private:
  void DrawPicture(HWND picture);

  ui::TAboutFormDesign& about_;
  HBITMAP bitmap_ = nullptr;
  std::string drawnPicture_;  // the bytes last decoded, so an unchanged picture is not decoded again
  bool pictureDrawn_ = false;
};

}  // namespace winview
