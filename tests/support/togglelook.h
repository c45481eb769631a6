#pragma once
// What a tool bar toggle looks like, read from its drawing.

#include <QColor>
#include <QImage>
#include <QToolButton>

// The colour the toggle is filled with, taken beside its caption.
inline QColor ToggleFill(QToolButton* button) {
  const QImage image = button->grab().toImage();
  return image.pixelColor(4, image.height() / 2);
}

// The highlight colour the toggle is drawn with when down.
inline QColor ToggleHighlight(const QToolButton* button) {
  const QPalette::ColorGroup group =
      button->isActiveWindow() ? QPalette::Active : QPalette::Inactive;
  return button->palette().color(group, QPalette::Highlight);
}

// Whether any pixel of the toggle's drawing has the given colour.
inline bool ToggleShows(QToolButton* button, const QColor& colour) {
  const QImage image = button->grab().toImage();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y).rgb() == colour.rgb()) return true;
  return false;
}
