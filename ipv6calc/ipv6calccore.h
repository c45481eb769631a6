#pragma once
// What the IPv6 Calculator shows for given inputs, without a widget: the
// result lines of an examined address, pages of subnets, the block list
// and the state kept in [IPv6] of the settings file.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "ipv6lib/ipv6net.h"
#include "ipv6lib/ipv6reserved.h"

// Lines of the result panel, in panel order.
enum TV6Line {
  v6Compressed,
  v6Expanded,
  v6Network,
  v6Range,
  v6Count,
  v6Subnets64,
  v6Ptr,
  v6Zone,
  v6Type,
  v6Scope,
  v6InterfaceId,
  v6Mac,
  v6SolicitedNode,
  v6MulticastMac,
  v6Embedded,
  v6LineCount
};

// Caption of a result line ("Compressed:", ...).
QString V6LineCaption(int line);
// objectName of the label that shows a result line ("lblV6Compressed", ...).
const char* V6LineName(int line);

struct TV6Result {
  // Empty when the input read; else the message the window shows.
  QString error;
  // The examined network (address as read, prefix); invalid after an error.
  ipv6net net;
  // Texts of the result lines, v6LineCount of them ("" after an error).
  QStringList lines;
  // Row of the block list the address falls in; -1 when none.
  int blockRow = -1;

  bool ok() const { return error.isEmpty(); }
};

// Message for an address text that does not read.
QString InvalidAddressText();
// Message for a prefix length outside 0-128.
QString InvalidPrefixText();

// Splits "address[/len]": the address part and, when the text has "/len",
// the length in *prefix (-1 when the part after '/' is no length 0-128).
// Without '/' *prefix is left as it is. Surrounding blanks are dropped.
QString SplitAddressText(const QString& text, int* prefix, bool* hadPrefix = nullptr);

// Examines an address with a prefix length (the one in the text, if any,
// wins over `prefix`); `blocks` picks the type line.
TV6Result ExamineV6(const QString& text, int prefix, const ipv6reserved& blocks);

// The whole panel as text: one "Caption value" line per result line.
QString V6ResultText(const TV6Result& result);

// One row of the subnets list.
struct TV6SubnetRow {
  QString network;  // network/prefix
  QString range;    // first - last
  uint128 index = 0;
};

// Up to `rows` subnets of length `target` inside `net`, from number `first`
// on; empty when there is none at that number or target is not longer.
std::vector<TV6SubnetRow> V6SubnetPage(const ipv6net& net, int target, const ipv6count& first,
                                       int rows);
// The first number of the last page of `rows` subnets; 0 when there is none.
ipv6count V6LastPageStart(const ipv6net& net, int target, int rows);
// first + delta (delta may be negative), kept within 0 .. the last page start.
ipv6count V6MovePage(const ipv6net& net, int target, const ipv6count& first, long long delta,
                     int rows);
// The number as the index field shows it (decimal).
QString V6IndexText(const ipv6count& index);

// Places tried for reserved6.lst, in order: the working directory, beside
// the program, the installed data folder, then the copy built into the program.
QStringList Reserved6Candidates(const QString& workDir, const QString& programDir);
// Content of the first candidate that opens; empty when none does.
QByteArray ReadReserved6(const QStringList& candidates, QString* usedPath = nullptr);

// The address made of a /64 prefix text and a MAC text (any of the usual
// separators or none); error set when either does not read.
struct TV6FromMac {
  QString address;
  QString error;
};
TV6FromMac V6AddressFromMac(const QString& prefixText, const QString& macText);

// What [IPv6] keeps between runs.
struct TV6State {
  QString lastAddress = QStringLiteral("2001:db8::1");
  int prefix = 64;
  int subnetPrefix = 64;
  QStringList history;  // newest first, at most kV6HistorySize
};
inline constexpr int kV6HistorySize = 10;
// Reads [IPv6]; missing or bad keys give the defaults.
TV6State LoadV6State(const QString& iniFileName);
// Writes [IPv6]; false when the file could not be written.
bool SaveV6State(const QString& iniFileName, const TV6State& state);
// Puts text first in the history (once, at most kV6HistorySize entries);
// false when the history did not change.
bool AddV6History(QStringList& history, const QString& text);
