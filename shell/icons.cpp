#include "shell/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

void Badge(QPainter& p, int size, const QColor& fill, const QString& text) {
  const qreal r = size / 6.0;
  p.setPen(QPen(fill.darker(140), 1));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), r, r);
  QFont f;
  f.setBold(true);
  f.setPixelSize(text.size() > 1 ? size * 9 / 16 : size * 3 / 4);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, text);
}

void Draw(QPainter& p, int index, int s) {
  const qreal u = s / 16.0;
  switch (index) {
    case iiIpCalc:
      Badge(p, s, QColor(0, 0, 128), QStringLiteral("IP"));
      break;
    case iiMaskChart: {
      Badge(p, s, QColor(0, 128, 128), QString());
      p.setPen(QPen(Qt::white, qMax<qreal>(1, u)));
      for (int i = 1; i <= 3; ++i) {
        const qreal y = i * 4 * u;
        p.drawLine(QPointF(3 * u, y), QPointF(3 * u + (4 + 2 * i) * u, y));
      }
      break;
    }
    case iiIntConv:
      Badge(p, s, QColor(128, 0, 0), QStringLiteral("0x"));
      break;
    case iiOptions: {
      p.setPen(QPen(QColor(64, 64, 64), qMax<qreal>(1, 1.2 * u)));
      for (int i = 0; i < 3; ++i) {
        const qreal y = (3 + i * 5) * u;
        p.drawLine(QPointF(1 * u, y), QPointF(15 * u, y));
        const qreal x = (i == 1 ? 10 : 5) * u;
        p.setBrush(QColor(90, 140, 200));
        p.drawEllipse(QPointF(x, y), 2 * u, 2 * u);
      }
      break;
    }
    case iiStick: {
      p.setPen(QPen(QColor(60, 60, 60), qMax<qreal>(1, 1.2 * u)));
      p.drawLine(QPointF(8 * u, 9 * u), QPointF(8 * u, 15 * u));
      p.setBrush(QColor(200, 30, 30));
      p.drawEllipse(QPointF(8 * u, 5 * u), 4 * u, 4 * u);
      break;
    }
    case iiHelp:
      Badge(p, s, QColor(30, 100, 200), QStringLiteral("?"));
      break;
    case iiHowtoHelp:
      Badge(p, s, QColor(40, 150, 60), QStringLiteral("!"));
      break;
    case iiAbout:
      Badge(p, s, QColor(90, 90, 160), QStringLiteral("i"));
      break;
    case iiExit: {
      p.setPen(QPen(QColor(150, 20, 20), qMax<qreal>(1, u)));
      p.setBrush(QColor(220, 50, 50));
      p.drawEllipse(QRectF(0.5, 0.5, s - 1, s - 1));
      p.setPen(QPen(Qt::white, qMax<qreal>(1.5, 2 * u), Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(5 * u, 5 * u), QPointF(11 * u, 11 * u));
      p.drawLine(QPointF(11 * u, 5 * u), QPointF(5 * u, 11 * u));
      break;
    }
    default:
      break;
  }
}

}  // namespace

QIcon ProgramIcon(int index) {
  if (index < 0 || index >= iiCount) return QIcon();
  QIcon icon;
  for (int size : {16, 24, 32, 48}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Draw(p, index, size);
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}
