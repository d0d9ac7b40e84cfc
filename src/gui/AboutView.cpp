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

// The picture column holds the program's own picture (150 x 200) whole; everything else is beside it. A
// larger picture from the program folder is scaled down to the column, its proportions kept.
constexpr int kPictureMaxWidth = 150;
constexpr int kPictureMaxHeight = 219;
constexpr int kTextX = 8 + kPictureMaxWidth + 8;
constexpr int kTextWidth = 466 - 8 - kTextX;
constexpr int kContactX = kTextX + 4;

}  // namespace

AboutView::AboutView(ui::Application& app, ui::TAboutFormDesign& form, QWidget* owner)
    : DialogView(app, form, 466, 235, owner), about_(form) {
  auto* picture = Place<QLabel>(this, 8, 8, kPictureMaxWidth, kPictureMaxHeight);
  picture->setObjectName(QString::fromStdString(form.img_About.Name));
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  binder_.Also([this, picture] { DrawPicture(picture); });

  auto* title = Place<QLabel>(this, kTextX, 10, kTextWidth, 26);
  QFont big = title->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  big.setBold(true);
  title->setFont(big);
  binder_.Label(title, form.lbl_System_Title);
  binder_.Label(Place<QLabel>(this, kTextX, 42, 80, 20), form.lbl_About_version);
  binder_.Label(Place<QLabel>(this, kTextX + 80, 42, 150, 20), form.lbl_version);
  auto* description = Place<QLabel>(this, kTextX, 66, kTextWidth, 86);
  description->setWordWrap(true);
  description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  binder_.Label(description, form.lbl_Aboutl_Description);

  auto* line = Place<QFrame>(this, kTextX, 158, kTextWidth, 2);
  line->setObjectName(QString::fromStdString(form.Bevel1.Name));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  binder_.Label(Place<QLabel>(this, kContactX, 166, 90, 20), form.lbl_About_Contact);
  binder_.LinkLabel(Place<ClickLabel>(this, kContactX + 90, 166, 466 - 8 - kContactX - 90, 20),
                    form.lbl_About_Website);
  binder_.Label(Place<QLabel>(this, kContactX, 186, 196, 20), form.lbl_About_Tel);
  binder_.Label(Place<QLabel>(this, kContactX, 206, 196, 20), form.lbl_About_Email);
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
  if (image.width() > kPictureMaxWidth || image.height() > kPictureMaxHeight)
    image = image.scaled(kPictureMaxWidth, kPictureMaxHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  const QPixmap shown = image.isNull() ? AboutPlaceholder(kPictureMaxWidth, 200) : QPixmap::fromImage(image);
  picture->setPixmap(shown);
  picture->resize(shown.size());
}

}  // namespace gui
