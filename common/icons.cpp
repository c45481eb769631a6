#include "common/icons.h"

#include <QString>

QIcon ProgramIcon(int index) {
  static const char* const kNames[iiCount] = {
      "ipcalc",   "maskchart", "intcalc",   "options",  "stick",     "help",       "howto",
      "about",    "exit",      "selectall", "copy",     "copytable", "copycolumn", "paste",
      "hostlist", "edit",      "orvex",     "ipv6calc", "netsets",   "planner"};
  if (index < 0 || index >= iiCount) return QIcon();
  return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(kNames[index])));
}
