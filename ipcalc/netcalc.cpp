#include "ipcalc/netcalc.h"

#include <cstring>

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

// Classful part of the remark with the subnetting or supernet note.
void ClassRemark(std::string& r, const char* base, uint32_t classMask, int classBits, uint32_t m,
                 int p) {
  r = base;
  if (m > classMask) {
    // Written without std::to_string: callers examine millions of networks.
    const int bits = p - classBits;
    char note[32] = ", ";
    int n = 2;
    if (bits >= 10) note[n++] = char('0' + bits / 10);
    note[n++] = char('0' + bits % 10);
    r.append(note, std::size_t(n)).append(" bit subnetting");
  } else if (m < classMask) {
    r += ", Supernet";
  }
}

void HostMaskRemark(const ipv4& a, const ipv4& mask, std::string& rem) {
  rem = mask.text();
  uint32_t classful = 0;
  if (a.is_class_a()) {
    rem = "Class A";
    classful = kClassAMask;
  }
  if (a.is_class_b()) {
    rem = "Class B";
    classful = kClassBMask;
  }
  if (a.is_class_c()) {
    rem = "Class C";
    classful = kClassCMask;
  }
  if (a.is_loopback()) {
    rem = "Local Host";
    classful = kClassAMask;
  }
  const ipv4host n(a.value(), classful);
  if (n.network_value() == a.value())
    rem += n.analysed_mask.prefix_length() == 32 ? " host address" : " network address";
  else
    rem += n.broadcast_value() == a.value() ? " broadcast address" : " host address";
}

void NetworkLines(const ipv4& a, const ipv4host& f, bool classASupernets, TNetFacts& r) {
  const ipv4& g = f.network;
  const ipv4& m = r.mask;
  r.kind = NetCalcResult::Network;
  r.networkValue = f.network_value();
  r.multicastNetwork = g.is_class_d();

  uint32_t first = f.network_value();
  uint32_t last;
  if (f.analysed_mask.is_mask31()) {
    last = first + 1;
  } else {
    first = first + 1;
    last = f.broadcast_value() - 1;
  }
  r.firstHost = first;
  r.lastHost = last;

  const ipv4 super = SupernetMask(f.network_value(), m.value());
  r.supernetMask = (super.value() >= kClassAMask || classASupernets) ? super : ipv4(kClassAMask);
  r.hasHostRange = !g.is_class_d();
  r.hasBroadcast = !a.is_class_d() && !f.analysed_mask.is_mask31();
  r.broadcastValue = f.broadcast_value();
  r.hostCount = f.host_count();
  r.nextNetworkValue = f.next_network_value();
  // The network just below, under the same mask.
  r.previousNetworkValue = (f.network_value() - 1u) & m.value();

  std::string& rem = r.remarks;
  const uint32_t mv = m.value();
  const int p = m.prefix_length();
  if (g.is_class_a()) ClassRemark(rem, "Class A base", kClassAMask, 8, mv, p);
  if (g.is_class_b()) ClassRemark(rem, "Class B base", kClassBMask, 16, mv, p);
  if (g.is_class_c()) ClassRemark(rem, "Class C base", kClassCMask, 24, mv, p);
  if (g.is_loopback()) {
    rem = "Local Host";
    if (mv > kClassAMask)
      rem += ", Subnet";
    else if (mv < kClassAMask)
      rem += ", invalid mask";
  }
  if (g.is_private()) rem += ", private (RFC1918) network";
  if (g.is_link_local()) rem += ", APIPA (Link Local) network";
  if (m.is_mask31()) rem += ", RFC3021 point to point network";
}

QString LineText(const TNetFacts& f, TNetLine line) {
  std::string s;
  AppendNetLine(f, line, s);
  return QtText(s);
}

}  // namespace

QString QtText(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
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
  // Widening the mask bit by bit while the network address stays the same
  // ends at the shortest prefix that keeps all of its one bits; for 128.0.0.0
  // the widening stops after one bit, and never goes beyond /1.
  const uint32_t network = address & mask;
  if (network == 0x80000000u) {
    const int prefix = ipv4(mask).prefix_length();
    return ipv4(PrefixMaskValue(prefix > 1 ? prefix - 1 : 1));
  }
  if (network == 0) return ipv4(0x80000000u);
  const int shortest = 32 - __builtin_ctz(network);
  return ipv4(PrefixMaskValue(shortest > 1 ? shortest : 1));
}

TNetFacts ExamineNetwork(std::string_view addressText, const ipv4& a, const ipv4& m,
                         bool classDESubnets, bool classASupernets, int macFormat) {
  TNetFacts r;
  ExamineNetwork(addressText, a, m, classDESubnets, classASupernets, macFormat, r);
  return r;
}

void ExamineNetwork(std::string_view addressText, const ipv4& a, const ipv4& m, bool classDESubnets,
                    bool classASupernets, int macFormat, TNetFacts& r) {
  // Everything but the texts' room starts afresh.
  std::string text = std::move(r.addressText), remarks = std::move(r.remarks),
              mac = std::move(r.multicastMac);
  r = TNetFacts();
  r.addressText = std::move(text);
  r.remarks = std::move(remarks);
  r.multicastMac = std::move(mac);
  r.remarks.clear();
  r.multicastMac.clear();
  r.macFormat = macFormat;

  r.addressText.assign(addressText.data(), addressText.size());
  r.address = a;
  r.mask = m;
  bool accepted = a.is_valid();
  char dotted[16];
  if (addressText != std::string_view(dotted, a.text_to(dotted))) {
    r.addressText = std::string(CutAddressText(addressText));
    r.address.assign_text(r.addressText);
  }
  if (!classDESubnets && (a.is_class_d() || a.is_class_e())) accepted = false;

  if (!accepted) {
    r.kind = NetCalcResult::NotAccepted;
    if (a.is_valid() && a.is_class_e()) {
      r.remarks = "Classe E, for experimental purposes only.";
    } else if (a.is_valid() && a.is_class_d()) {
      r.multicastMac = MulticastMac(a, macFormat);
      r.remarks = "Multicast " + MulticastScope(a.value(), m.value()) + ", MAC: " + r.multicastMac;
    } else {
      r.remarks = "Wrong IP address.";
    }
    return;
  }

  if (!(m.is_valid() && (m.is_mask() || (classASupernets && m.is_short_mask())))) {
    r.kind = NetCalcResult::InvalidMask;
    return;
  }
  if (m.is_all_ones()) {
    r.kind = NetCalcResult::HostMask;
    if (!a.is_class_d() && !a.is_class_e()) HostMaskRemark(a, m, r.remarks);
    return;
  }

  const ipv4host f(a.value(), m.value());
  if (f.network.is_zero()) {
    r.kind = NetCalcResult::ZeroNetwork;
    r.remarks =
        r.addressText == f.network_text() ? "\"This network.\"" : "Class A supernet is too big.";
    return;
  }
  NetworkLines(a, f, classASupernets, r);

  if (a.is_class_d()) {
    if (f.network.is_class_d()) {
      r.multicastMac = MulticastMac(a, macFormat);
      r.remarks = "Multicast " + MulticastScope(a.value(), m.value()) + "\nMAC: " + r.multicastMac;
    } else {
      // Only the remark stays: the lines would describe a non-multicast block.
      const uint32_t network = r.networkValue;
      const ipv4 address = r.address;
      r.kind = NetCalcResult::SupernetTooWide;
      r.multicastNetwork = r.hasHostRange = r.hasBroadcast = false;
      r.firstHost = r.lastHost = r.broadcastValue = r.nextNetworkValue = 0;
      r.previousNetworkValue = r.hostCount = 0;
      r.supernetMask = ipv4();
      r.networkValue = network;
      r.address = address;
      r.remarks = "Supernet exceeds multicast range.";
    }
  } else if (a.is_class_e()) {
    r.remarks = "Class E address.";
  }
}

void AppendNetLine(const TNetFacts& f, TNetLine line, std::string& out) {
  char buf[kNetLineRoom];
  out.append(buf, std::size_t(PutNetLine(f, line, buf) - buf));
}

char* PutNetLine(const TNetFacts& f, TNetLine line, char* p) {
  if (f.kind != NetCalcResult::Network) return p;
  const auto text = [&p](std::string_view s) {
    std::memcpy(p, s.data(), s.size());
    p += s.size();
  };
  const auto dotted = [&p](uint32_t v) { p += ipv4::dotted_to(v, p); };
  switch (line) {
    case nlNetwork:
      dotted(f.networkValue);
      text("  ");
      dotted(f.mask.value());
      if (f.multicastNetwork) {
        text(" [");
        text(MulticastMac(ipv4(f.networkValue), f.macFormat));
        text("]");
      }
      break;
    case nlSupernet:
      dotted(f.supernetMask.value());
      break;
    case nlHostRange:
      if (!f.hasHostRange) {
        text("n.a.");
        break;
      }
      dotted(f.firstHost);
      text(" - ");
      dotted(f.lastHost);
      break;
    case nlNumberOfHosts: {
      char digits[10];
      int n = 0;
      uint32_t count = f.hostCount;
      do {
        digits[n++] = char('0' + count % 10);
        count /= 10;
      } while (count != 0);
      *p++ = '(';
      while (n > 0) *p++ = digits[--n];
      text(" addresses)");
      break;
    }
    case nlBroadcast:
      if (f.hasBroadcast)
        dotted(f.broadcastValue);
      else
        text("n.a.");
      break;
    case nlNextNetwork:
      dotted(f.nextNetworkValue);
      break;
    case nlPtr: {
      const uint32_t v = f.address.value();
      dotted((v << 24) | ((v & 0xFF00u) << 8) | ((v >> 8) & 0xFF00u) | (v >> 24));
      text(".in-addr.arpa");
      break;
    }
    case nlIPv6:
      p += f.address.text_mapped_to(p);
      break;
  }
  return p;
}

NetCalcResult ComputeNetwork(const NetCalcInput& in) {
  NetCalcResult r;
  r.addressText = in.addressText;
  r.address = in.address;
  const ipv4& a = in.address;
  // The multicast panel goes with the examined address, whatever becomes of
  // the mask.
  if (a.is_valid() && a.is_class_d()) {
    r.multicast = true;
    r.mcIp = QtText(a.text());
    r.mcMac = MulticastMacText(a, in.macFormat);
  }

  // The mask in use: the dotted mask read before, else "/p" or a host count.
  ipv4 mask = in.networkMask;
  if (!mask.is_valid()) {
    const QString maskText = in.maskText.trimmed();
    if (maskText.isEmpty()) {
      r.kind = NetCalcResult::MissingMask;
      r.mask = mask;
      return r;
    }
    bool ok = false;
    mask = ParseMaskText(maskText, ok);
  }

  const TNetFacts f = ExamineNetwork(Latin1(in.addressText), a, mask, in.classDESubnets,
                                     in.classASupernets, in.macFormat);
  r.kind = f.kind;
  r.addressText = QtText(f.addressText);
  r.address = f.address;
  r.mask = f.mask;
  r.remarks = QtText(f.remarks);
  switch (f.kind) {
    case NetCalcResult::NotAccepted:
      // An unreadable address gets no subnetworks of an earlier network.
      r.subnetTable = a.is_valid() ? in.classDESubnets : false;
      break;
    case NetCalcResult::HostMask:
      r.clearFirst = true;
      r.numberOfHostsVisible = false;
      break;
    case NetCalcResult::ZeroNetwork:
      r.clearFirst = true;
      r.numberOfHostsVisible = true;
      break;
    case NetCalcResult::Network:
      r.numberOfHostsVisible = true;
      r.networkText = Dotted(f.networkValue);
      if (f.multicastNetwork) r.nwCaption = QStringLiteral("Network [MAC]:");
      r.network = LineText(f, nlNetwork);
      r.supernet = LineText(f, nlSupernet);
      r.hostRange = LineText(f, nlHostRange);
      r.broadcast = LineText(f, nlBroadcast);
      r.ipv6 = LineText(f, nlIPv6);
      r.numberOfHosts = LineText(f, nlNumberOfHosts);
      r.nextNetwork = LineText(f, nlNextNetwork);
      r.prevNetworkText = Dotted(f.previousNetworkValue);
      r.canStepPrev = f.networkValue != 0;
      r.canStepNext = f.nextNetworkValue > f.networkValue;
      r.ptr = LineText(f, nlPtr);
      if (a.is_class_d()) r.subnetTable = in.classDESubnets;
      break;
    case NetCalcResult::SupernetTooWide:
      r.clearFirst = true;
      r.numberOfHostsVisible = true;
      r.networkText = Dotted(f.networkValue);
      r.subnetTable = in.classDESubnets;
      break;
    case NetCalcResult::InvalidMask:
    case NetCalcResult::MissingMask:
      break;
  }
  return r;
}

AddressInput ReadAddressInput(const QString& fieldText) {
  AddressInput in;
  qsizetype b = 0, e = fieldText.size();
  while (b < e && fieldText.at(b).unicode() <= 32) ++b;
  while (e > b && fieldText.at(e - 1).unicode() <= 32) --e;
  in.text = fieldText.mid(b, e - b);
  const TAddressField field = ReadAddressField(Latin1(in.text));
  in.network = !field.maskText.empty();
  in.addressText = QtText(field.text);
  in.address = field.address;
  in.maskText = QtText(field.maskText);
  return in;
}

std::string_view CutAddressText(std::string_view text) {
  text = text.substr(0, text.find('/'));
  return text.substr(0, text.find(' '));
}

TAddressField ReadAddressField(std::string_view text) {
  TAddressField field;
  ReadAddressField(text, field);
  return field;
}

void ReadAddressField(std::string_view text, TAddressField& field) {
  const ipv4host network(text);
  field.maskText.clear();
  if (network.is_valid()) {
    // The field keeps what was typed; the examination cuts it.
    field.text.assign(text.data(), text.size());
    field.address = network.analysed_address;
    char mask[16];
    field.maskText.assign(mask, network.mask.text_to(mask));
  } else {
    text = CutAddressText(text);
    field.text.assign(text.data(), text.size());
    field.address.assign_text(field.text);
  }
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
