#pragma once
// [Options] of the settings file as a record: loaded, saved and compared
// without any dialog. The options dialog only mirrors this record in its
// controls; the tool windows get the TOptionsRec made from it.

#include <QString>

#include "common/optionsrec.h"

// Bits of the start-up page set.
constexpr int kStartIpCalc = 0x01;
constexpr int kStartMaskChart = 0x02;
constexpr int kStartIpv6Calc = 0x04;
constexpr int kStartNetSets = 0x08;
constexpr int kStartPlanner = 0x10;
constexpr int kStartIntConv = 0x80;
// Every tool's bit; any other bit in the file opens nothing and is no change.
constexpr int kKnownStartupPages =
    kStartIpCalc | kStartMaskChart | kStartIpv6Calc | kStartNetSets | kStartPlanner | kStartIntConv;

// The switches of the general check list, in list order.
enum TGeneralItem {
  giEnableHints = 0,
  giSubnetViewerMask = 1,
  giClassASupernets = 2,
  giRFC3021Subnets = 3,
  giClassDESubnets = 4
};
constexpr int kGeneralCount = 5;
// Key of a general switch in [Options].
const char* GeneralKey(int item);

// The IANA page of IPv4 multicast address assignments.
QString DefaultIanaLink();
// The delimiter for list index 0..3; any other index gives `current`.
QChar DelimiterForIndex(int index, QChar current);

// What [Options] holds, with the defaults of a missing key.
struct TStoredOptions {
  bool General[kGeneralCount] = {true, true, true, true, true};
  int MaxListItems = 4096;
  int StartupPages = kStartIpCalc;
  bool RecallDesktopSettings = true;
  int CsvDelimiterIndex = 1;
  int MacFormatIndex = 0;  // -1: a format was typed instead of picked
  QString IanaLink = DefaultIanaLink();
  int BitWidthByte = 0;  // bit width in the low 7 bits, 0x80: highlight the low 32 bits
};

// Reads [Options]; a missing or unreadable file gives the defaults.
TStoredOptions LoadOptions(const QString& iniFileName);
// Writes every key in the program's order after the write probe; false (and
// nothing written) when the file cannot be written.
bool SaveOptions(const QString& iniFileName, const TStoredOptions& options);
// Whether the options a user set differ from those stored. The start-up set
// is compared on its known bits.
bool OptionsChanged(const TStoredOptions& set, const TStoredOptions& stored);
// The record handed to the tool windows; the file names of `rec` are kept.
void FillOptionsRec(TOptionsRec& rec, const TStoredOptions& options, QChar csvDelimiter);
