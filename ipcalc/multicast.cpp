#include "ipcalc/multicast.h"

#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4mac.h"

namespace {
constexpr uint32_t Dotted(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}
}  // namespace

std::string MulticastScope(uint32_t address, uint32_t mask) {
  // First match wins; the ad-hoc block deliberately ends at 224.0.255.0.
  if (address < Dotted(224, 0, 1, 0)) return "reserved link local address";
  if (address >= Dotted(239, 0, 0, 0)) return "limited scope address";
  if (address >= Dotted(232, 0, 0, 0) && address <= Dotted(232, 255, 255, 255))
    return "source specific address";
  if (address >= Dotted(233, 0, 0, 0) && address <= Dotted(233, 255, 255, 255)) {
    // The AS number sits in octets 2 and 3, so it is known only from a /24 on.
    if (mask > Dotted(255, 255, 254, 0))
      return "GLOP address, BGP AS# " + std::to_string((address >> 8) & 0xFFFFu);
    return "GLOP address, mask is too wide to determine AS#";
  }
  if (address >= Dotted(224, 0, 1, 0) && address <= Dotted(224, 0, 1, 255))
    return "Internetwork control address";
  if (address >= Dotted(224, 0, 2, 0) && address <= Dotted(224, 0, 255, 0)) return "ad-hoc address";
  return "globally scoped address";
}

QString MulticastScopeText(uint32_t address, uint32_t mask) {
  return QString::fromStdString(MulticastScope(address, mask));
}

std::string MulticastMac(const ipv4& address, int macFormat) {
  if (!address.is_class_d() || macFormat < 0 || macFormat > 2) return std::string();
  const uint32_t v = address.value();
  static const char kHex[] = "0123456789ABCDEF";
  char octets[3][2];
  const uint32_t low[3] = {(v >> 16) & 0x7Fu, (v >> 8) & 0xFFu, v & 0xFFu};
  for (int i = 0; i < 3; ++i) {
    octets[i][0] = kHex[low[i] >> 4];
    octets[i][1] = kHex[low[i] & 0xF];
  }
  std::string s;
  if (macFormat == 2) {
    s = "0100.5E";
    s.append(octets[0], 2).append(".").append(octets[1], 2).append(octets[2], 2);
    return s;
  }
  const char sep = macFormat == 1 ? '-' : ':';
  s = macFormat == 1 ? "01-00-5E" : "01:00:5E";
  for (const auto& o : octets) s.append(1, sep).append(o, 2);
  return s;
}

QString MulticastMacText(const ipv4& address, int macFormat) {
  return QString::fromStdString(MulticastMac(address, macFormat));
}

QStringList MulticastGroupsOfMac(const QString& macText) {
  QStringList groups;
  const ipv4mac mac(macText.toStdString());
  if (!mac.is_ipv4_multicast()) return groups;
  // Only the low 23 bits reach the MAC: the 5 bits after 1110 are lost.
  const uint32_t lowest = Dotted(224, 0, 0, 0) + static_cast<uint32_t>(mac.value() & 0x7FFFFFu);
  for (uint32_t k = 0; k < 32; ++k)
    groups << QString::fromStdString(ipv4(lowest + k * 0x800000u).text());
  return groups;
}

QString IpToMacText(const QString& ipText, const QString& macText) {
  return ipText + QStringLiteral("  ->  ") + macText;
}
