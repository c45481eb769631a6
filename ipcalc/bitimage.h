#pragma once
// A small canvas that shows a row of bit digits, each in its own colour, and
// remembers where each glyph starts (for the per-bit hints).

#include <QColor>
#include <QWidget>
#include <vector>

#include "common/themecolors.h"
#include "ipcalc/netcalc.h"

class TBitImage : public QWidget {
  Q_OBJECT
 public:
  struct Glyph {
    QChar ch;
    QColor colour;
    bool struck = false;
  };

  TBitImage(int width, int height, QWidget* parent = nullptr);

  // Clears the canvas to the button face colour, then draws the glyphs from
  // x = 0 on, each advancing by its own width; returns each glyph's left edge.
  const std::vector<int>& Draw(const std::vector<Glyph>& glyphs);
  // Clears the canvas to the button face colour.
  void Clear();

  const std::vector<Glyph>& Glyphs() const { return FGlyphs; }
  const std::vector<int>& Positions() const { return FPositions; }

  // Glyphs for the low `bits` bits of value, most significant first, with a
  // "." after every 8 bits; digits get colourOf(bit index from 1), dots navy.
  template <typename ColourOf>
  static std::vector<Glyph> BitGlyphs(unsigned long long value, int bits, ColourOf colourOf);

 signals:
  void mouseMoved(int x);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  std::vector<Glyph> FGlyphs;
  std::vector<int> FPositions;
};

// Colour of a digit of the binary mask view: navy network bits, blue supernet
// bits, aqua subnetting bits, green host bits.
inline QColor BitRoleColour(TBitRole role) {
  switch (role) {
    case brSupernet:
      return QColor(0, 0, 255);
    case brSubnetting:
      return QColor(0, 255, 255);
    case brHost:
      return QColor(0, 128, 0);
    default:
      return NavyColor();
  }
}

template <typename ColourOf>
std::vector<TBitImage::Glyph> TBitImage::BitGlyphs(unsigned long long value, int bits,
                                                   ColourOf colourOf) {
  std::vector<Glyph> glyphs;
  for (int i = 1; i <= bits; ++i) {
    const bool one = (value >> (bits - i)) & 1u;
    Glyph g = colourOf(i, one);
    g.ch = QLatin1Char(one ? '1' : '0');
    glyphs.push_back(g);
    if (i % 8 == 0 && i < bits) glyphs.push_back(Glyph{QLatin1Char('.'), NavyColor(), false});
  }
  return glyphs;
}
