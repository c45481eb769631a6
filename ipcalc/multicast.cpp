#include "ipcalc/multicast.h"

#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4mac.h"

namespace {
constexpr uint32_t Dotted(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}
}  // namespace

QString MulticastScopeText(uint32_t address, uint32_t mask) {
  // First match wins; the ad-hoc block deliberately ends at 224.0.255.0.
  if (address < Dotted(224, 0, 1, 0)) return QStringLiteral("reserved link local address");
  if (address >= Dotted(239, 0, 0, 0)) return QStringLiteral("limited scope address");
  if (address >= Dotted(232, 0, 0, 0) && address <= Dotted(232, 255, 255, 255))
    return QStringLiteral("source specific address");
  if (address >= Dotted(233, 0, 0, 0) && address <= Dotted(233, 255, 255, 255)) {
    // The AS number sits in octets 2 and 3, so it is known only from a /24 on.
    if (mask > Dotted(255, 255, 254, 0))
      return QStringLiteral("GLOP address, BGP AS# %1").arg((address >> 8) & 0xFFFFu);
    return QStringLiteral("GLOP address, mask is too wide to determine AS#");
  }
  if (address >= Dotted(224, 0, 1, 0) && address <= Dotted(224, 0, 1, 255))
    return QStringLiteral("Internetwork control address");
  if (address >= Dotted(224, 0, 2, 0) && address <= Dotted(224, 0, 255, 0))
    return QStringLiteral("ad-hoc address");
  return QStringLiteral("globally scoped address");
}

QString MulticastMacText(const ipv4& address, int macFormat) {
  if (!address.is_class_d()) return QString();
  const uint32_t v = address.value();
  const auto hex = [](uint32_t n) {
    return QStringLiteral("%1").arg(n, 2, 16, QLatin1Char('0')).toUpper();
  };
  const QString a = hex((v >> 16) & 0x7Fu), b = hex((v >> 8) & 0xFFu), c = hex(v & 0xFFu);
  switch (macFormat) {
    case 0:
      return QStringLiteral("01:00:5E:%1:%2:%3").arg(a, b, c);
    case 1:
      return QStringLiteral("01-00-5E-%1-%2-%3").arg(a, b, c);
    case 2:
      return QStringLiteral("0100.5E%1.%2%3").arg(a, b, c);
    default:
      return QString();
  }
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
