#include "common/options.h"

#include "common/settingsstore.h"

namespace {

const QString kOptions = QStringLiteral("Options");

const char* const kGeneralKeys[kGeneralCount] = {"EnableHints", "UseSubnetViewerMask",
                                                 "EnableClassASupernets", "RFC3021Subnets",
                                                 "ClassDESubnets"};

}  // namespace

const char* GeneralKey(int item) {
  return item >= 0 && item < kGeneralCount ? kGeneralKeys[item] : "";
}

QString DefaultIanaLink() {
  return QStringLiteral("https://www.iana.org/assignments/multicast-addresses");
}

QChar DelimiterForIndex(int index, QChar current) {
  switch (index) {
    case 0:
      return QLatin1Char(',');
    case 1:
      return QLatin1Char(';');
    case 2:
      return QLatin1Char('\t');
    case 3:
      return QLatin1Char(' ');
    default:
      return current;
  }
}

TStoredOptions LoadOptions(const QString& iniFileName) {
  const SettingsFile ini(iniFileName);
  TStoredOptions o;
  for (int i = 0; i < kGeneralCount; ++i)
    o.General[i] = ini.ReadBool(kOptions, QLatin1String(kGeneralKeys[i]), true);
  o.MaxListItems = ini.ReadInteger(kOptions, QStringLiteral("MaxListItems"), 4096);
  o.StartupPages = ini.ReadInteger(kOptions, QStringLiteral("StartupPages"), kStartIpCalc);
  o.RecallDesktopSettings = ini.ReadBool(kOptions, QStringLiteral("RecallDesktopSettings"), true);
  o.CsvDelimiterIndex = ini.ReadInteger(kOptions, QStringLiteral("CsvDelimiterIndex"), 1);
  o.MacFormatIndex = ini.ReadInteger(kOptions, QStringLiteral("MacFormatIndex"), 0);
  o.IanaLink = ini.ReadString(kOptions, QStringLiteral("IanaLink"), DefaultIanaLink());
  o.BitWidthByte = ini.ReadInteger(kOptions, QStringLiteral("BitWidth"), 0);
  return o;
}

bool SaveOptions(const QString& iniFileName, const TStoredOptions& o) {
  SettingsFile ini(iniFileName);
  if (!ini.Probe()) return false;
  for (int i = 0; i < kGeneralCount; ++i)
    ini.WriteBool(kOptions, QLatin1String(kGeneralKeys[i]), o.General[i]);
  ini.WriteInteger(kOptions, QStringLiteral("MaxListItems"), o.MaxListItems);
  ini.WriteInteger(kOptions, QStringLiteral("StartupPages"), o.StartupPages);
  ini.WriteBool(kOptions, QStringLiteral("RecallDesktopSettings"), o.RecallDesktopSettings);
  ini.WriteInteger(kOptions, QStringLiteral("CsvDelimiterIndex"), o.CsvDelimiterIndex);
  ini.WriteInteger(kOptions, QStringLiteral("MacFormatIndex"), o.MacFormatIndex);
  ini.WriteString(kOptions, QStringLiteral("IanaLink"), o.IanaLink);
  ini.WriteInteger(kOptions, QStringLiteral("BitWidth"), o.BitWidthByte);
  return true;
}

bool OptionsChanged(const TStoredOptions& set, const TStoredOptions& stored) {
  for (int i = 0; i < kGeneralCount; ++i)
    if (set.General[i] != stored.General[i]) return true;
  return set.MaxListItems != stored.MaxListItems ||
         set.RecallDesktopSettings != stored.RecallDesktopSettings ||
         set.CsvDelimiterIndex != stored.CsvDelimiterIndex ||
         set.MacFormatIndex != stored.MacFormatIndex || set.IanaLink != stored.IanaLink ||
         (set.StartupPages & kKnownStartupPages) != (stored.StartupPages & kKnownStartupPages) ||
         set.BitWidthByte != stored.BitWidthByte;
}

void FillOptionsRec(TOptionsRec& rec, const TStoredOptions& o, QChar csvDelimiter) {
  rec.EnableHints = o.General[giEnableHints];
  rec.UseSubnetViewerMask = o.General[giSubnetViewerMask];
  rec.EnableClassASupernets = o.General[giClassASupernets];
  rec.RFC3021Subnets = o.General[giRFC3021Subnets];
  rec.ClassDESubnets = o.General[giClassDESubnets];
  rec.RecallDesktopSettings = o.RecallDesktopSettings;
  rec.HighlightLow32 = (o.BitWidthByte & 0x80) != 0;
  rec.CsvDelimiter = csvDelimiter;
  rec.IanaLink = o.IanaLink;
  rec.MacFormatIndex = o.MacFormatIndex;
  rec.MaxListItems = o.MaxListItems;
  rec.BitWidth = o.BitWidthByte & 0x7F;
}
