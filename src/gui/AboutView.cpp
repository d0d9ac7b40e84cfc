#include "gui/AboutView.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include "gui/ModelWidgets.h"
#include "gui/Pictures.h"
#include "gui/Place.h"

namespace gui {
namespace {

// The picture keeps its own size but never reaches under the line or into the texts.
constexpr int kPictureMaxWidth = 140;
constexpr int kPictureMaxHeight = 150;
constexpr int kTextX = 160;

}  // namespace

AboutView::AboutView(ui::Application& app, ui::TAboutFormDesign& form, QWidget* owner)
    : DialogView(app, form, 466, 235, owner), about_(form) {
  auto* picture = Place<QLabel>(this, 8, 8, kPictureMaxWidth, kPictureMaxHeight);
  picture->setObjectName(QString::fromStdString(form.img_About.Name));
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  binder_.Also([this, picture] { DrawPicture(picture); });

  auto* title = Place<QLabel>(this, kTextX, 10, 296, 26);
  QFont big = title->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  big.setBold(true);
  title->setFont(big);
  binder_.Label(title, form.lbl_System_Title);
  binder_.Label(Place<QLabel>(this, kTextX, 42, 80, 20), form.lbl_About_version);
  binder_.Label(Place<QLabel>(this, kTextX + 80, 42, 150, 20), form.lbl_version);
  auto* description = Place<QLabel>(this, kTextX, 66, 296, 86);
  description->setWordWrap(true);
  description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  binder_.Label(description, form.lbl_Aboutl_Description);

  auto* line = Place<QFrame>(this, 8, 158, 450, 2);
  line->setObjectName(QString::fromStdString(form.Bevel1.Name));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  binder_.Label(Place<QLabel>(this, 12, 166, 90, 20), form.lbl_About_Contact);
  binder_.LinkLabel(Place<ClickLabel>(this, 102, 166, 250, 20), form.lbl_About_Website);
  binder_.Label(Place<QLabel>(this, 12, 186, 250, 20), form.lbl_About_Tel);
  binder_.Label(Place<QLabel>(this, 12, 206, 250, 20), form.lbl_About_Email);
  auto* yes = Place<QPushButton>(this, 372, 196, 84, 30);
  binder_.Button(yes, form.btn_About_Yes);
  SetDefaultButton(yes);
  binder_.Refresh(true);
}

void AboutView::DrawPicture(QLabel* picture) {
  const std::string& bytes = about_.img_About.Picture;
  if (pictureDrawn_ && bytes == drawnPicture_) return;
  pictureDrawn_ = true;
  drawnPicture_ = bytes;
  QImage image;
  if (!bytes.empty())
    image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
  // No picture, or one that cannot be read: our own drawing stands in, without a message.
  QPixmap shown =
      image.isNull() ? AboutPlaceholder(kPictureMaxWidth, kPictureMaxHeight) : QPixmap::fromImage(image);
  picture->setPixmap(shown);
  picture->resize(std::min(shown.width(), kPictureMaxWidth), std::min(shown.height(), kPictureMaxHeight));
}

}  // namespace gui
