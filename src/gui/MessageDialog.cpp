#include "gui/MessageDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace gui {
namespace {

// The screen's room for a box: of the owner's screen, else the primary one.
QSize AvailableArea(const QWidget* owner) {
  const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry().size() : QSize(1024, 768);
}

}  // namespace

MessageDialog::MessageDialog(const QString& text, const QString& caption, ui::MessageIcon icon,
                             QWidget* owner, QSize area)
    : QDialog(owner), icon_(icon), text_(new QLabel(text)) {
  setWindowTitle(caption);
  if (!area.isValid()) area = AvailableArea(owner);
  auto* layout = new QGridLayout(this);
  // As large as the text needs, no larger, and not to be resized.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->setHorizontalSpacing(16);
  int iconWidth = 0;
  if (icon != ui::MessageIcon::None) {
    const QStyle::StandardPixmap standard =
        icon == ui::MessageIcon::Error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxInformation;
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    auto* picture = new QLabel(this);
    picture->setPixmap(style()->standardIcon(standard, nullptr, this).pixmap(side, side));
    layout->addWidget(picture, 0, 0, Qt::AlignTop);
    iconWidth = side + layout->horizontalSpacing();
  }
  text_->setTextFormat(Qt::PlainText);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A line wider than four fifths of the screen wraps between words; an SMS command holds no blank, so it
  // is never broken.
  const QFontMetrics metrics = text_->fontMetrics();
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n')))
    widest = std::max(widest, metrics.horizontalAdvance(line));
  const int margins = layout->contentsMargins().left() + layout->contentsMargins().right();
  const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int room = area.width() * 4 / 5 - margins - iconWidth - scrollBar;
  const int width = std::min(widest + 1, std::max(room, 100));
  text_->setWordWrap(widest + 1 > width);
  text_->setFixedWidth(width);
  text_->setFixedHeight(text_->wordWrap() ? text_->heightForWidth(width) : text_->sizeHint().height());
  // Never taller than the screen either, so that OK stays in reach: the text scrolls within the box.
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidget(text_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  const int frame = 80;  // the title bar and the box's own margins
  const int roomHigh = area.height() - frame - buttons->sizeHint().height() - layout->verticalSpacing() -
                       layout->contentsMargins().top() - layout->contentsMargins().bottom();
  const int high = std::min(text_->height(), std::max(roomHigh, 60));
  scroll->setFixedSize(width + (high < text_->height() ? scrollBar : 0), high);
  layout->addWidget(scroll, 0, 1);
  // Qt's own OK: it speaks the program's language with Qt's translation.
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons, 1, 0, 1, 2);
  ok_ = buttons->button(QDialogButtonBox::Ok);
}

QString MessageDialog::Text() const { return text_->text(); }

}  // namespace gui
