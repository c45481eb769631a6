#pragma once
// The program's icon list: drawn at run time, so no image files are shipped.

#include <QIcon>

enum TIconIndex {
  iiIpCalc = 0,
  iiMaskChart = 1,
  iiIntConv = 2,
  iiOptions = 3,
  iiStick = 4,
  iiHelp = 5,
  iiHowtoHelp = 6,
  iiAbout = 7,
  iiExit = 8,
  iiCount = 9
};

// Icon `index` of the list; an unknown index gives a null icon.
QIcon ProgramIcon(int index);
