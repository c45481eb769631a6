#pragma once
// Text colours of the mask rows of the Mask Chart and the Subnetting dialog.

#include <QColor>

#include "maskchart/maskrows.h"

// Text colour of a row kind: black, blue, teal, maroon.
inline QColor MaskKindColour(int kind) {
  switch (kind) {
    case mkSupernet:
      return QColor(0, 0, 255);
    case mkMask31:
      return QColor(0, 128, 128);
    case mkClassful:
      return QColor(128, 0, 0);
    default:
      return QColor(0, 0, 0);
  }
}
