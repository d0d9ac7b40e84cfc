#include "gui/MessageDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace gui {

MessageDialog::MessageDialog(const QString& text, const QString& caption, ui::MessageIcon icon,
                             QWidget* owner)
    : QDialog(owner), icon_(icon), text_(new QLabel(text, this)) {
  setWindowTitle(caption);
  auto* layout = new QGridLayout(this);
  // As large as the text needs, no larger, and not to be resized.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->setHorizontalSpacing(16);
  if (icon != ui::MessageIcon::None) {
    const QStyle::StandardPixmap standard =
        icon == ui::MessageIcon::Error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxInformation;
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    auto* picture = new QLabel(this);
    picture->setPixmap(style()->standardIcon(standard, nullptr, this).pixmap(side, side));
    layout->addWidget(picture, 0, 0, Qt::AlignTop);
  }
  text_->setTextFormat(Qt::PlainText);
  text_->setWordWrap(false);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(text_, 0, 1);
  // Qt's own OK: it speaks the program's language with Qt's translation.
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons, 1, 0, 1, 2);
  ok_ = buttons->button(QDialogButtonBox::Ok);
}

QString MessageDialog::Text() const { return text_->text(); }

}  // namespace gui
