#pragma once
// The About dialog drawn from its model: the picture whole at the left; beside it the title, version and
// description, a line, the contact details with the web link and the OK button at the bottom right.
// Client area 466 x 235.

#include "gui/DialogView.h"
#include "ui/DialogDesigns.h"

class QLabel;

namespace gui {

class AboutView : public DialogView {
  Q_OBJECT
 public:
  AboutView(ui::Application& app, ui::TAboutFormDesign& form, QWidget* owner = nullptr);

 private:
  void DrawPicture(QLabel* picture);

  ui::TAboutFormDesign& about_;
  std::string drawnPicture_;  // the bytes last decoded, so an unchanged picture is not decoded again
  bool pictureDrawn_ = false;
};

}  // namespace gui
