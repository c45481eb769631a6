#pragma once
// The program's icon list: SVG drawings built into the program, sharp at
// every size and scale.

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
  // Pop-up menu entries.
  iiSelectAll = 9,
  iiCopy = 10,        // copy the selected rows
  iiCopyTable = 11,   // copy every row and column
  iiCopyColumn = 12,  // copy one column
  iiPaste = 13,
  iiHostList = 14,
  iiEdit = 15,
  // The program itself (window list, launcher).
  iiProgram = 16,
  iiIpv6Calc = 17,
  iiNetSets = 18,
  iiPlanner = 19,
  iiCount = 20
};

// Icon `index` of the list; an unknown index gives a null icon.
QIcon ProgramIcon(int index);
