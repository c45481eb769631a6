#include "maskchart/maskrows.h"

#include <cstdint>

#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4host.h"

namespace {

constexpr uint32_t kClassA = 0xFF000000u;
constexpr uint32_t kClassB = 0xFFFF0000u;
constexpr uint32_t kClassC = 0xFFFFFF00u;
constexpr uint32_t kMask30 = 0xFFFFFFFCu;
constexpr uint32_t kMask31 = 0xFFFFFFFEu;
constexpr uint32_t kHostMask = 0xFFFFFFFFu;

QString Dotted(uint32_t value) {
  return QString::fromStdString(ipv4(value).text());
}

QString Prefix(const ipv4& mask) {
  return QLatin1Char('/') + QString::number(mask.prefix_length());
}

uint32_t Narrower(uint32_t mask) {
  return (mask >> 1) | 0x80000000u;
}

// A contiguous mask of prefix 1-32 (a wildcard is not one).
bool IsSubnetMask(const ipv4& m) {
  return m.is_mask() || (m.is_short_mask() && (m.value() & 0x80000000u));
}

}  // namespace

int ChartRowColour(int kind, const QString& remark) {
  return remark.contains(QLatin1String("Class")) ? mkClassful : kind;
}

std::vector<TMaskChartRow> MaskChartRows(bool classASupernets, bool rfc3021) {
  std::vector<TMaskChartRow> rows;
  uint32_t m = classASupernets ? 0x80000000u : kClassA;
  const int count = classASupernets ? 30 : 23;
  rows.reserve(count + 2);
  for (int i = 0; i < count; ++i, m = Narrower(m)) {
    const ipv4 mask(m);
    TMaskChartRow r;
    r.kind = m < kClassA ? mkSupernet : mkPlain;
    r.mask = Dotted(m);
    r.prefix = Prefix(mask);
    r.hosts = QString::number(mask.host_count());
    r.wildcard = Dotted(~m);
    if (m == kClassA)
      r.remark = QStringLiteral("Class A");
    else if (m == kClassB)
      r.remark = QStringLiteral("Class B");
    else if (m == kClassC)
      r.remark = QStringLiteral("Class C");
    rows.push_back(r);
  }
  if (rfc3021)
    rows.push_back({QStringLiteral("255.255.255.254"), QStringLiteral("/31"), QStringLiteral("2"),
                    QStringLiteral("0.0.0.1"), QStringLiteral("RFC3021"), mkMask31});
  rows.push_back({QStringLiteral("255.255.255.255"), QStringLiteral("/32"),
                  QStringLiteral("Host Mask"), QStringLiteral("0.0.0.0"), QString(), mkPlain});
  for (TMaskChartRow& r : rows) r.colourKind = ChartRowColour(r.kind, r.remark);
  return rows;
}

TSubnetting SubnettingRows(const QString& maskText, bool rfc3021) {
  // Only the mask of this network matters.
  const ipv4host network((QStringLiteral("10.0.0.0 ") + maskText).toLatin1().toStdString());
  TSubnetting s;
  s.caption = QStringLiteral("Subnetting for a subnet mask: ") +
              QString::fromStdString(network.mask_text());
  if (!IsSubnetMask(network.mask) || network.mask.value() == kHostMask) return s;

  // Below /31 with RFC 3021 subnets, below /30 without.
  const uint32_t limit = rfc3021 ? kMask30 + 1u : kMask30;
  uint32_t m = network.mask.value();
  uint32_t networks = 1;
  do {
    m = Narrower(m);
    networks *= 2u;
    const ipv4 mask(m);
    TSubnettingRow r;
    r.mask = Dotted(m);
    r.prefix = Prefix(mask);
    r.networks = QString::number(networks);
    r.hosts = QString::number(mask.host_count());
    if (m < kClassA)
      r.kind = mkSupernet;
    else if (m == kMask31)
      r.kind = mkMask31;
    else if (m == kClassA || m == kClassB || m == kClassC)
      r.kind = mkClassful;
    r.colourKind = r.kind;
    s.rows.push_back(r);
  } while (m < limit);
  return s;
}
