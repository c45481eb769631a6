#pragma once
// The program-wide options, filled by the options dialog and handed to every
// tool window through ApplyOptions.

#include <QChar>
#include <QString>

struct TOptionsRec {
  bool RecallDesktopSettings = true;
  bool EnableHints = true;
  bool UseSubnetViewerMask = true;
  bool ClassDESubnets = true;
  bool RFC3021Subnets = true;
  bool EnableClassASupernets = true;
  bool HighlightLow32 = false;
  QChar CsvDelimiter = QLatin1Char(';');
  int BitWidth = 0;        // 0 (variable), 16, 32 or 64
  int MacFormatIndex = 0;  // 0 "aa:bb:..", 1 "aa-bb-..", 2 "aabb.ccdd.eeff"
  int MaxListItems = 4096;
  QString IanaLink;
  QString IniFileName;  // full path of the settings file
  QString UserDataDir;  // the per-user settings folder
};
