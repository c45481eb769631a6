#include "ipcalc/bitimage.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include "common/themecolors.h"

TBitImage::TBitImage(int width, int height, QWidget* parent) : QWidget(parent) {
  setFixedSize(width, height);
  setMouseTracking(true);
  QFont f = font();
  f.setPointSize(8);
  setFont(f);
}

const std::vector<int>& TBitImage::Draw(const std::vector<Glyph>& glyphs) {
  FGlyphs = glyphs;
  FPositions.clear();
  const QFontMetrics fm(font());
  int x = 0;
  for (const Glyph& g : FGlyphs) {
    FPositions.push_back(x);
    x += fm.horizontalAdvance(g.ch);
  }
  setVisible(true);
  update();
  return FPositions;
}

void TBitImage::Clear() {
  FGlyphs.clear();
  FPositions.clear();
  update();
}

void TBitImage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Button));
  const QFontMetrics fm(font());
  const int baseline = (height() + fm.ascent() - fm.descent()) / 2;
  for (std::size_t i = 0; i < FGlyphs.size(); ++i) {
    QFont f = font();
    f.setStrikeOut(FGlyphs[i].struck);
    p.setFont(f);
    p.setPen(ReadableTextColour(FGlyphs[i].colour, palette().color(QPalette::Button)));
    p.drawText(FPositions[i], baseline, QString(FGlyphs[i].ch));
  }
}

void TBitImage::mouseMoveEvent(QMouseEvent* event) {
  emit mouseMoved(event->position().toPoint().x());
  QWidget::mouseMoveEvent(event);
}
