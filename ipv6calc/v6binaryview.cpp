#include "ipv6calc/v6binaryview.h"

#include <QFontDatabase>
#include <QPainter>

#include "common/themecolors.h"

namespace {
QString GroupLabel(int g, uint16_t value) {
  return QStringLiteral("%1-%2 %3")
      .arg(g * 16, 3)
      .arg(g * 16 + 15, 3)
      .arg(value, 4, 16, QLatin1Char('0'));
}
}  // namespace

TV6BinaryView::TV6BinaryView(QWidget* parent) : QWidget(parent) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TV6BinaryView::SetAddress(const ipv6& address, int prefix) {
  FAddress = address;
  FPrefix = prefix;
  FShown = address.is_valid();
  setToolTip(FShown
                 ? QStringLiteral("Network bits: %1, host bits: %2").arg(prefix).arg(128 - prefix)
                 : QString());
  update();
}

QString TV6BinaryView::Text() const {
  if (!FShown) return QString();
  QString t;
  for (int g = 0; g < 8; ++g) {
    const uint16_t v = FAddress.group(g);
    t += GroupLabel(g, v) + QStringLiteral("  ") +
         QStringLiteral("%1").arg(v, 16, 2, QLatin1Char('0')) + QLatin1Char('\n');
  }
  return t;
}

QSize TV6BinaryView::sizeHint() const {
  const QFontMetrics fm(font());
  const int cell = fm.horizontalAdvance(QLatin1Char('0')) + 3;
  const int label = fm.horizontalAdvance(GroupLabel(0, 0)) + 8;
  return QSize(label + 16 * cell + 3 * 4 + 4, 8 * (fm.height() + 2) + 4);
}

void TV6BinaryView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().base());
  if (!FShown) return;
  const QFontMetrics fm(font());
  const int cell = fm.horizontalAdvance(QLatin1Char('0')) + 3;
  const int label = fm.horizontalAdvance(GroupLabel(0, 0)) + 8;
  const int rowH = fm.height() + 2;
  // The two fills come from the palette so both read in light and dark themes.
  const QColor net = palette().color(QPalette::Highlight);
  const QColor netText = palette().color(QPalette::HighlightedText);
  const QColor host =
      ReadableBackgroundColour(QColor(255, 236, 179), palette().color(QPalette::Base));
  const QColor hostText = palette().color(QPalette::Text);
  for (int g = 0; g < 8; ++g) {
    const uint16_t v = FAddress.group(g);
    const int y = 2 + g * rowH;
    p.setPen(palette().color(QPalette::Text));
    p.drawText(QRect(2, y, label, rowH), Qt::AlignVCenter | Qt::AlignLeft, GroupLabel(g, v));
    for (int b = 0; b < 16; ++b) {
      const int bit = g * 16 + b;
      const int x = 2 + label + b * cell + (b / 4) * 4;
      const QRect r(x, y, cell - 1, rowH - 1);
      const bool isNet = bit < FPrefix;
      p.fillRect(r, isNet ? net : host);
      p.setPen(isNet ? netText : hostText);
      p.drawText(r, Qt::AlignCenter,
                 (v >> (15 - b)) & 1 ? QStringLiteral("1") : QStringLiteral("0"));
    }
  }
}
