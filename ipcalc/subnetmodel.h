#pragma once
// What the subnet table and the subnetworks list hold, and the texts their
// copy commands put on the clipboard. No widgets here.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// Most subnetworks listed for one subnet mask before the "more..." row.
inline constexpr int kMaxSubnetworkRows = 256;

// Reads a network mask as the calculator does: a dotted mask or wildcard
// mask, "/" and a prefix length 1-32, or a host count (the smallest block of
// at least count + 2 addresses, never below 4). 0 when the text gives no
// contiguous mask.
uint32_t SubnetBaseMask(const QString& maskText);

struct TSubnetRow {
  QString mask;      // "255.255.255.192"
  QString prefix;    // "/26"
  QString networks;  // "4"
  QString hosts;     // "62"
};

struct TSubnetTable {
  QString header;  // "Potential Subnetworks in Base: 255.255.255.0", or ""
  std::vector<TSubnetRow> rows;
};

// The masks into which maskText divides, from its own prefix to /30 (/31
// with RFC 3021 subnets); empty when the text gives no usable mask.
TSubnetTable BuildSubnetTable(const QString& maskText, bool rfc3021);

struct TSubnetworkRow {
  QString network;  // "192.168.1.64", or "more..."
  QString hosts;    // "192.168.1.65 - 192.168.1.126", or "..."
  QString number;   // "2", or ""
};

struct TSubnetworkList {
  QString header;  // "Subnetworks /26 in 192.168.1.0  255.255.255.0", or ""
  std::vector<TSubnetworkRow> rows;
};

// The subnetworks of networkText (a dotted network address) under one subnet
// table row; networkLabel is the shown network line, and an empty one gives
// an empty list. At most kMaxSubnetworkRows rows plus "more...".
TSubnetworkList BuildSubnetworkList(const QString& networkText, const QString& networkLabel,
                                    const TSubnetRow& row);

// The host addresses of one subnetwork as its list row shows them: both
// addresses of a /31 (a point-to-point link), the address alone for a /32,
// else the first and the last host between network and broadcast address.
struct TSubnetworkHosts {
  uint32_t first;
  uint32_t last;
};
constexpr TSubnetworkHosts SubnetworkHosts(uint32_t network, int prefix) {
  if (prefix >= 32) return {network, network};
  if (prefix == 31) return {network, network + 1u};
  return {network + 1u, network + ((0xFFFFFFFFu >> prefix) - 1u)};
}

// Clipboard texts of the selected rows: the network column, one LF after
// each; or all columns tab-separated, with first and last host split apart.
QString NetworkColumnText(const std::vector<TSubnetworkRow>& rows);
QString AllColumnsText(const std::vector<TSubnetworkRow>& rows);
