#pragma once
// What the Mask Chart and the Subnetting dialog list: one row per subnet
// mask with its cells, a kind and the colour role of its text. Computed
// without a window, so the lists only show these rows and colour them.

#include <QString>
#include <vector>

// Row kinds. The chart uses the first three; the Subnetting dialog also marks
// the classful masks.
enum TMaskRowKind { mkPlain = 0, mkSupernet = 1, mkMask31 = 2, mkClassful = 3 };

// One row of the Mask Chart.
struct TMaskChartRow {
  QString mask;      // "255.255.255.0"
  QString prefix;    // "/24"
  QString hosts;     // usable hosts, "Host Mask" for /32
  QString wildcard;  // "0.0.0.255"
  QString remark;    // "Class A", "Class B", "Class C", "RFC3021" or empty
  int kind = mkPlain;
  int colourKind = mkPlain;  // the kind whose colour the row's text takes
};

// Every mask from /8 (from /1 with classASupernets) to /30, then the /31 row
// when rfc3021 is set, then the /32 host mask.
std::vector<TMaskChartRow> MaskChartRows(bool classASupernets, bool rfc3021);

// One row of the Subnetting dialog.
struct TSubnettingRow {
  QString mask;      // "255.255.255.192"
  QString prefix;    // "/26"
  QString networks;  // how many such subnets the given mask holds
  QString hosts;     // usable hosts of each
  int kind = mkPlain;
  int colourKind = mkPlain;  // the kind whose colour the row's text takes
};

struct TSubnetting {
  QString caption;  // "Subnetting for a subnet mask: 255.255.255.0"
  std::vector<TSubnettingRow> rows;
};

// How a network with the dotted mask maskText divides: one row per longer
// mask down to /30 (to /31 when rfc3021 is set), at least one row. A text that
// is no subnet mask, or the /32 host mask, has no rows.
TSubnetting SubnettingRows(const QString& maskText, bool rfc3021);

// Colour role of a chart row: the classful rows take the classful colour,
// whatever their kind; the others their kind's.
int ChartRowColour(int kind, const QString& remark);
