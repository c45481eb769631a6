#pragma once
// The program's own colours (navy values, blue, teal and maroon rows, the
// bit colours, blue highlights, the light blue of a focused input) are made
// for light backgrounds. Here each one is given as it is to be drawn on an
// actual background: unchanged on a light one, and on a dark one a
// counterpart of the same hue that stays readable.

#include <QColor>
#include <QPalette>

class QWidget;

// Navy (0, 0, 128): value labels and texts that show a result.
inline QColor NavyColor() {
  return QColor(0, 0, 128);
}
// Background of an input field that has the focus: RGB (204, 235, 255).
inline QColor FocusColor() {
  return QColor(204, 235, 255);
}
// The focus background of the number fields (the Integer Calculator's
// display, the options' host list limit): RGB (204, 236, 255), one step
// greener than FocusColor.
inline QColor NumberFocusColor() {
  return QColor(204, 236, 255);
}

// Whether text on this background should be light.
bool IsDarkBackground(const QColor& background);
// The contrast ratio of two colours (1 to 21).
double ContrastRatio(const QColor& a, const QColor& b);
// A text colour as drawn on `background`.
QColor ReadableTextColour(const QColor& designed, const QColor& background);
// A background colour (such as the focus colour) as drawn on a palette whose
// base colour is `base`.
QColor ReadableBackgroundColour(const QColor& designed, const QColor& base);
// Gives the text role `role` of `widget` the readable form of `designed`,
// and keeps it so when the desktop's palette changes while the program runs.
void SetTextColour(QWidget* widget, const QColor& designed,
                   QPalette::ColorRole role = QPalette::WindowText);
