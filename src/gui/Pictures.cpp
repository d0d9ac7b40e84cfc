#include "gui/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <map>

namespace gui {
namespace {

constexpr int kSize = 20;

QPixmap Canvas() {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A lit lamp: green while the port is open, red while it is closed.
QPixmap Lamp(const QColor& color) {
  QPixmap pixmap = Canvas();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QRadialGradient glow(QPointF(8, 8), 9);
  glow.setColorAt(0, color.lighter(170));
  glow.setColorAt(1, color.darker(120));
  painter.setPen(QPen(color.darker(160), 1));
  painter.setBrush(glow);
  painter.drawEllipse(QRectF(3, 3, 14, 14));
  return pixmap;
}

void Arrow(QPainter& painter, QPointF from, QPointF to) {
  painter.drawLine(from, to);
  const QPointF dir = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
  const QPointF side(-dir.y(), dir.x());
  QPolygonF head;
  head << to + dir * 2 << to - dir * 5 + side * 4 << to - dir * 5 - side * 4;
  painter.setBrush(painter.pen().color());
  painter.drawPolygon(head);
}

// An arrow into (read) or out of (write) a tray.
QPixmap TrayArrow(bool into) {
  QPixmap pixmap = Canvas();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor color = into ? QColor(30, 100, 200) : QColor(200, 110, 20);
  painter.setPen(QPen(color, 2.2, Qt::SolidLine, Qt::RoundCap));
  painter.drawPolyline(QPolygonF({QPointF(3, 12), QPointF(3, 17), QPointF(17, 17), QPointF(17, 12)}));
  if (into) {
    Arrow(painter, QPointF(10, 2), QPointF(10, 11));
  } else {
    Arrow(painter, QPointF(10, 13), QPointF(10, 4));
  }
  return pixmap;
}

// A circular arrow: back to the defaults.
QPixmap Reset() {
  QPixmap pixmap = Canvas();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor color(40, 140, 60);
  painter.setPen(QPen(color, 2.2, Qt::SolidLine, Qt::RoundCap));
  painter.drawArc(QRectF(3, 3, 14, 14), 100 * 16, 280 * 16);
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  painter.drawPolygon(QPolygonF({QPointF(8.5, 0.5), QPointF(13, 3.5), QPointF(8.5, 6.5)}));
  return pixmap;
}

// The DTU itself: a box with an antenna and three lamps.
void DrawDevice(QPainter& painter, const QRectF& area) {
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal w = area.width();
  const qreal h = area.height();
  const QRectF body(area.left() + w * 0.12, area.top() + h * 0.35, w * 0.76, h * 0.5);
  painter.setPen(QPen(QColor(50, 60, 80), std::max<qreal>(1, w / 40)));
  painter.drawLine(QPointF(body.right() - w * 0.15, body.top()),
                   QPointF(body.right() - w * 0.15, area.top() + h * 0.06));
  painter.setBrush(QColor(50, 60, 80));
  painter.drawEllipse(QPointF(body.right() - w * 0.15, area.top() + h * 0.06), w * 0.03, w * 0.03);
  QLinearGradient shade(body.topLeft(), body.bottomLeft());
  shade.setColorAt(0, QColor(120, 160, 210));
  shade.setColorAt(1, QColor(60, 90, 150));
  painter.setBrush(shade);
  painter.drawRoundedRect(body, w * 0.06, w * 0.06);
  const QColor lamps[] = {QColor(80, 220, 90), QColor(250, 200, 40), QColor(240, 80, 60)};
  for (int i = 0; i < 3; ++i) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(lamps[i]);
    painter.drawEllipse(QPointF(body.left() + body.width() * (0.25 + 0.18 * i), body.center().y()), w * 0.035,
                        w * 0.035);
  }
}

QIcon DrawPicture(const std::string& name) {
  if (name == "open") return QIcon(Lamp(QColor(40, 180, 60)));
  if (name == "close") return QIcon(Lamp(QColor(210, 50, 40)));
  if (name == "default") return QIcon(Reset());
  if (name == "read") return QIcon(TrayArrow(true));
  if (name == "write") return QIcon(TrayArrow(false));
  return {};
}

}  // namespace

QIcon PictureIcon(const std::string& name) {
  // Views redraw often; each picture is drawn once.
  static std::map<std::string, QIcon> drawn;
  if (auto found = drawn.find(name); found != drawn.end()) return found->second;
  QIcon icon = DrawPicture(name);
  drawn.emplace(name, icon);
  return icon;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    DrawDevice(painter, QRectF(0, 0, size, size));
    icon.addPixmap(pixmap);
  }
  return icon;
}

QPixmap AboutPlaceholder(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(QColor(235, 240, 248));
  QPainter painter(&pixmap);
  const int side = std::min(width, height);
  DrawDevice(painter, QRectF((width - side) / 2.0, (height - side) / 2.0, side, side));
  return pixmap;
}

}  // namespace gui
