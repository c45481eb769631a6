#include "ipcalc/netcalc.h"

#include "ipcalc/multicast.h"

namespace {

const uint32_t kClassAMask = 0xFF000000u;
const uint32_t kClassBMask = 0xFFFF0000u;
const uint32_t kClassCMask = 0xFFFFFF00u;

std::string Latin1(const QString& s) {
  return s.toLatin1().toStdString();
}

QString Dotted(uint32_t value) {
  return QtText(ipv4(value).text());
}

// Cuts "/p" and then " mask" off an address text.
QString CutAddressText(QString text) {
  const int slash = text.indexOf(QLatin1Char('/'));
  if (slash >= 0) text.truncate(slash);
  const int blank = text.indexOf(QLatin1Char(' '));
  if (blank >= 0) text.truncate(blank);
  return text;
}

// Classful part of the remark with the subnetting or supernet note.
void ClassRemark(QString& r, const QString& base, uint32_t classMask, int classBits, uint32_t m,
                 int p) {
  r = base;
  if (m > classMask)
    r += QStringLiteral(", %1 bit subnetting").arg(p - classBits);
  else if (m < classMask)
    r += QStringLiteral(", Supernet");
}

void HostMaskCase(const ipv4& a, NetCalcResult& r) {
  r.kind = NetCalcResult::HostMask;
  r.clearFirst = true;
  r.numberOfHostsVisible = false;
  QString rem = QtText(r.mask.text());
  uint32_t classful = 0;
  if (a.is_class_a()) {
    rem = QStringLiteral("Class A");
    classful = kClassAMask;
  }
  if (a.is_class_b()) {
    rem = QStringLiteral("Class B");
    classful = kClassBMask;
  }
  if (a.is_class_c()) {
    rem = QStringLiteral("Class C");
    classful = kClassCMask;
  }
  if (a.is_loopback()) {
    rem = QStringLiteral("Local Host");
    classful = kClassAMask;
  }
  const ipv4host n(a.value(), classful);
  if (n.network_value() == a.value())
    rem += n.analysed_mask.prefix_length() == 32 ? QStringLiteral(" host address")
                                                 : QStringLiteral(" network address");
  else
    rem += n.broadcast_value() == a.value() ? QStringLiteral(" broadcast address")
                                            : QStringLiteral(" host address");
  if (!a.is_class_d() && !a.is_class_e()) r.remarks = rem;
}

void NetworkLines(const NetCalcInput& in, const ipv4& a, const ipv4host& f, NetCalcResult& r) {
  const ipv4& g = f.network;
  const ipv4& m = r.mask;
  r.kind = NetCalcResult::Network;
  r.networkText = QtText(f.network_text());
  r.network = *r.networkText + QStringLiteral("  ") + QtText(m.text());
  if (g.is_class_d()) {
    r.nwCaption = QStringLiteral("Network [MAC]:");
    r.network += QStringLiteral(" [") + MulticastMacText(g, in.macFormat) + QStringLiteral("]");
  } else {
    r.nwCaption = QStringLiteral("Network:");
  }

  uint32_t first = f.network_value();
  uint32_t last;
  if (f.analysed_mask.is_mask31()) {
    last = first + 1;
  } else {
    first = first + 1;
    last = f.broadcast_value() - 1;
  }

  const ipv4 super = SupernetMask(f.network_value(), m.value());
  r.supernet = (super.value() >= kClassAMask || in.classASupernets) ? QtText(super.text())
                                                                    : QStringLiteral("255.0.0.0");
  r.hostRange = g.is_class_d() ? QStringLiteral("n.a.")
                               : Dotted(first) + QStringLiteral(" - ") + Dotted(last);
  r.broadcast = (a.is_class_d() || f.analysed_mask.is_mask31()) ? QStringLiteral("n.a.")
                                                                : QtText(f.broadcast_text());
  r.ipv6 = QtText(a.text_mapped());
  r.numberOfHosts = QStringLiteral("(%1 addresses)").arg(f.host_count());
  r.nextNetwork = QtText(f.next_network_text());
  r.prevNetworkText = QtText(ipv4host(f.network_value() - 1u, m.value()).network_text());
  r.canStepPrev = f.network_value() != 0;
  r.canStepNext = f.next_network_value() > f.network_value();
  const uint32_t v = a.value();
  r.ptr = QStringLiteral("%1.%2.%3.%4.in-addr.arpa")
              .arg(v & 0xFF)
              .arg((v >> 8) & 0xFF)
              .arg((v >> 16) & 0xFF)
              .arg(v >> 24);

  QString rem;
  const uint32_t mv = m.value();
  const int p = m.prefix_length();
  if (g.is_class_a()) ClassRemark(rem, QStringLiteral("Class A base"), kClassAMask, 8, mv, p);
  if (g.is_class_b()) ClassRemark(rem, QStringLiteral("Class B base"), kClassBMask, 16, mv, p);
  if (g.is_class_c()) ClassRemark(rem, QStringLiteral("Class C base"), kClassCMask, 24, mv, p);
  if (g.is_loopback()) {
    rem = QStringLiteral("Local Host");
    if (mv > kClassAMask)
      rem += QStringLiteral(", Subnet");
    else if (mv < kClassAMask)
      rem += QStringLiteral(", invalid mask");
  }
  if (g.is_private()) rem += QStringLiteral(", private (RFC1918) network");
  if (g.is_link_local()) rem += QStringLiteral(", APIPA (Link Local) network");
  if (m.is_mask31()) rem += QStringLiteral(", RFC3021 point to point network");
  r.remarks = rem;
}

}  // namespace

QString QtText(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

AddressInput ReadAddressInput(const QString& fieldText) {
  AddressInput in;
  qsizetype b = 0, e = fieldText.size();
  while (b < e && fieldText.at(b).unicode() <= 32) ++b;
  while (e > b && fieldText.at(e - 1).unicode() <= 32) --e;
  in.text = fieldText.mid(b, e - b);
  const ipv4host network(Latin1(in.text));
  in.network = network.is_valid();
  if (in.network) {
    in.addressText = in.text;
    in.address = network.analysed_address;
    in.maskText = QtText(network.mask_text());
  } else {
    in.addressText = CutAddressText(in.text);
    in.address.assign_text(Latin1(in.addressText));
  }
  return in;
}

uint32_t PrefixMaskValue(int n) {
  if (n <= 0) return 0;
  if (n >= 32) return 0xFFFFFFFFu;
  return 0xFFFFFFFFu << (32 - n);
}

ipv4 ParseMaskText(const QString& text, bool& ok) {
  ipv4 result(Latin1(text));
  if (!text.isEmpty() && !result.is_valid()) {
    bool isNumber = false;
    if (text.at(0) != QLatin1Char('/')) {
      const int n = text.toInt(&isNumber, 10);
      if (isNumber) {
        // 64-bit so that counts near 2^31 end with a block of 2^31 addresses
        // instead of overflowing.
        const int64_t needed = static_cast<int64_t>(n) + 2;
        int64_t block = 2;
        while (block < needed) block *= 2;
        if (block == 2) block = 4;
        if (block <= (int64_t(1) << 31))
          result.assign_value(static_cast<uint32_t>((int64_t(1) << 32) - block));
      }
    } else {
      const int p = text.mid(1).toInt(&isNumber, 10);
      if (isNumber && p >= 1 && p <= 32) result.assign_value(PrefixMaskValue(p));
    }
  }
  ok = result.is_valid() && result.is_mask();
  return result;
}

QString HexMaskText(const ipv4& mask) {
  const uint32_t v = mask.value();
  return QString::asprintf("%02X.%02X.%02X.%02X", v >> 24, (v >> 16) & 0xFF, (v >> 8) & 0xFF,
                           v & 0xFF);
}

ipv4 SupernetMask(uint32_t address, uint32_t mask) {
  ipv4host s(address, mask);
  const uint32_t network = address & mask;
  bool stop = false;
  while (s.network_value() == network && !stop) {
    stop = s.network_value() == 0x80000000u;
    s.widen_mask();
  }
  if (!stop) s.narrow_mask();
  // Widening /1 by one bit would give 0.0.0.0, which is no mask at all.
  if (s.mask.value() == 0) return ipv4(0x80000000u);
  return s.mask;
}

NetCalcResult ComputeNetwork(const NetCalcInput& in) {
  NetCalcResult r;
  r.addressText = in.addressText;
  r.address = in.address;
  const ipv4 a = in.address;
  if (a.is_valid() && a.is_class_d()) {
    r.multicast = true;
    r.mcIp = QtText(a.text());
    r.mcMac = MulticastMacText(a, in.macFormat);
  }

  // The mask in use: the dotted mask read before, else "/p" or a host count.
  r.mask = in.networkMask;
  if (!r.mask.is_valid()) {
    const QString maskText = in.maskText.trimmed();
    if (maskText.isEmpty()) {
      r.kind = NetCalcResult::MissingMask;
      return r;
    }
    bool ok = false;
    r.mask = ParseMaskText(maskText, ok);
  }

  bool accepted = a.is_valid();
  if (in.addressText != QtText(a.text())) {
    r.addressText = CutAddressText(in.addressText);
    r.address.assign_text(Latin1(r.addressText));
  }
  if (!in.classDESubnets && (a.is_class_d() || a.is_class_e())) accepted = false;

  if (!accepted) {
    r.kind = NetCalcResult::NotAccepted;
    // An unreadable address gets no subnetworks of an earlier network.
    r.subnetTable = a.is_valid() ? in.classDESubnets : false;
    if (a.is_valid() && a.is_class_e()) {
      r.remarks = QStringLiteral("Classe E, for experimental purposes only.");
    } else if (r.multicast) {
      r.remarks = QStringLiteral("Multicast ") + MulticastScopeText(a.value(), r.mask.value()) +
                  QStringLiteral(", MAC: ") + r.mcMac;
    } else {
      r.remarks = QStringLiteral("Wrong IP address.");
    }
    return r;
  }

  const ipv4& m = r.mask;
  if (!(m.is_valid() && (m.is_mask() || (in.classASupernets && m.is_short_mask())))) {
    r.kind = NetCalcResult::InvalidMask;
    return r;
  }
  if (m.is_all_ones()) {
    HostMaskCase(a, r);
    return r;
  }

  r.numberOfHostsVisible = true;
  const ipv4host f(a.value(), m.value());
  if (f.network.is_zero()) {
    r.kind = NetCalcResult::ZeroNetwork;
    r.clearFirst = true;
    r.remarks = r.addressText == QtText(f.network_text())
                    ? QStringLiteral("\"This network.\"")
                    : QStringLiteral("Class A supernet is too big.");
    return r;
  }
  NetworkLines(in, a, f, r);

  if (a.is_class_d()) {
    r.subnetTable = in.classDESubnets;
    if (f.network.is_class_d()) {
      r.remarks = QStringLiteral("Multicast ") + MulticastScopeText(a.value(), m.value()) +
                  QStringLiteral("\nMAC: ") + r.mcMac;
    } else {
      // Only the remark stays: the lines would describe a non-multicast block.
      const NetCalcResult keep = r;
      r = NetCalcResult();
      r.kind = NetCalcResult::SupernetTooWide;
      r.addressText = keep.addressText;
      r.address = keep.address;
      r.mask = keep.mask;
      r.clearFirst = true;
      r.numberOfHostsVisible = true;
      r.multicast = keep.multicast;
      r.mcIp = keep.mcIp;
      r.mcMac = keep.mcMac;
      r.networkText = keep.networkText;
      r.subnetTable = keep.subnetTable;
      r.remarks = QStringLiteral("Supernet exceeds multicast range.");
    }
  } else if (a.is_class_e()) {
    r.remarks = QStringLiteral("Class E address.");
  }
  return r;
}

ViewerMaskCheck CheckViewerMask(const QString& text, bool classASupernets) {
  ViewerMaskCheck c;
  c.mask.assign_text(Latin1(text));
  if (c.mask.is_valid()) {
    if (c.mask.is_wildcard()) c.mask.assign_value(~c.mask.value());
    c.usable =
        c.mask.is_mask() || c.mask.is_wildcard() || (c.mask.is_short_mask() && classASupernets);
    return c;
  }
  const QString t = text.trimmed();
  if (t.isEmpty()) {
    c.empty = true;
    return c;
  }
  bool ok = false;
  c.mask = ParseMaskText(t, ok);
  // Short masks are usable here as well when class A supernets are on.
  c.usable = ok || (classASupernets && c.mask.is_valid() && c.mask.is_short_mask());
  if (c.usable && !t.startsWith(QLatin1Char('/'))) {
    c.usageCount = t.toInt();
    c.usageShown = true;
  }
  return c;
}

ViewerLabels ComputeViewerLabels(const ipv4& mask, bool rfc3021, bool usageShown, int usageCount) {
  ViewerLabels l;
  const int p = mask.prefix_length();
  l.subnetTable = SubnetTableFor(p, rfc3021);
  l.subnetMask = QtText(mask.text());
  l.prefix = QStringLiteral("/%1").arg(p);
  if (mask.is_all_ones())
    l.hostCount = QStringLiteral("Host Mask");
  else if (mask.is_mask31())
    l.hostCount = QStringLiteral("RFC3021 point to point");
  else
    l.hostCount = QString::number(mask.host_count());
  l.wildcard = Dotted(~mask.value());
  l.hex = HexMaskText(mask);
  l.position = p;
  l.usageShown = usageShown;
  if (usageShown) {
    const uint32_t hosts = mask.host_count();
    // 64-bit: counts above 42 million would overflow count * 100 in 32 bits.
    l.usage = hosts <= 2
                  ? QStringLiteral("100%")
                  : QStringLiteral("%1%").arg(
                        static_cast<uint64_t>(static_cast<uint32_t>(usageCount)) * 100u / hosts);
  }
  return l;
}

bool SubnetTableFor(int prefix, bool rfc3021) {
  return rfc3021 ? prefix < 31 : prefix < 30;
}

ipv4 TrackBarMask(int position, bool rfc3021) {
  if (position == 31 && !rfc3021) position = 32;
  return ipv4(PrefixMaskValue(position));
}

std::array<TBitRole, 32> BinMaskRoles(const ipv4& mask, const ipv4& address, bool viewerMode) {
  // Outside the viewer, and for class D and E, every digit reads as a network bit.
  const bool coloured = viewerMode && !address.is_class_d() && !address.is_class_e();
  std::array<TBitRole, 32> roles;
  const uint32_t v = mask.value();
  for (int i = 1; i <= 32; ++i) {
    const bool classful = (address.is_class_a() && i <= 8) || (address.is_class_b() && i <= 16) ||
                          (address.is_class_c() && i <= 24);
    const bool one = (v >> (32 - i)) & 1u;
    TBitRole r = classful ? brNetwork : brHost;
    if (one && !classful) r = brSubnetting;
    if (!one && classful) r = brSupernet;
    roles[i - 1] = coloured ? r : brNetwork;
  }
  return roles;
}

QString BitHint(TBitRole role, const ipv4& address, bool viewerMode) {
  if (!viewerMode || address.is_class_d() || address.is_class_e())
    return QStringLiteral("Binary subnet mask view");
  switch (role) {
    case brHost:
      return QStringLiteral("Host bit");
    case brSubnetting:
      return QStringLiteral("Subnetting bit");
    case brSupernet:
      return QStringLiteral("Supernet bit");
    default:
      return QStringLiteral("Network bit");
  }
}

QString HistoryEntry(const QString& text) {
  const std::string t = Latin1(text);
  const ipv4host network(t);
  ipv4 address(t);
  if (!address.is_valid()) address.assign_text(network.address_text());
  if ((network.is_valid() || address.is_valid()) && !address.is_zero())
    return QtText(address.text());
  return QString();
}

bool AddToHistory(QStringList& history, const QString& text) {
  if (history.contains(text)) return false;
  const QString entry = HistoryEntry(text);
  if (entry.isEmpty()) return false;
  while (history.size() > 9) history.removeFirst();
  history.append(entry);
  return true;
}

QStringList HistoryToSave(const QStringList& history) {
  QStringList out;
  const qsizetype n = history.size();
  for (qsizetype i = n - std::min<qsizetype>(n, 10); i < n; ++i) {
    const std::string t = Latin1(history.at(i));
    const ipv4 address(t);
    if ((address.is_valid() && address.is_address()) || ipv4host(t).is_valid())
      out.append(history.at(i));
  }
  return out;
}

bool IsDottedQuad(const QString& text) {
  return ipv4(Latin1(text)).is_valid();
}

bool IsNetworkText(const QString& text) {
  return ipv4host(Latin1(text)).is_valid();
}

bool BelowClassAMask(const QString& text) {
  return ipv4(Latin1(text)).value() < kClassAMask;
}
