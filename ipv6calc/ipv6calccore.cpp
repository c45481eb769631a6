#include "ipv6calc/ipv6calccore.h"

#include <QDir>
#include <QFile>

#include "common/platform.h"
#include "common/settingsstore.h"
#include "ipv6lib/ipv6embedded.h"

namespace {

const QString kSection = QStringLiteral("IPv6");

struct TLineInfo {
  const char* name;
  const char* caption;
};

const TLineInfo kLines[v6LineCount] = {{"lblV6Compressed", "Address:"},
                                       {"lblV6Expanded", "Expanded:"},
                                       {"lblV6Network", "Network:"},
                                       {"lblV6Range", "Range:"},
                                       {"lblV6Count", "Addresses:"},
                                       {"lblV6Subnets64", "/64 networks:"},
                                       {"lblV6Ptr", "Reverse DNS:"},
                                       {"lblV6Zone", "Zone:"},
                                       {"lblV6Type", "Type:"},
                                       {"lblV6Scope", "Scope:"},
                                       {"lblV6InterfaceId", "Interface ID:"},
                                       {"lblV6Mac", "EUI-64 MAC:"},
                                       {"lblV6SolicitedNode", "Solicited-node:"},
                                       {"lblV6MulticastMac", "Multicast MAC:"},
                                       {"lblV6Embedded", "Embedded IPv4:"}};

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

QString CountText(const ipv6count& c) {
  const QString power = Q(c.power_text());
  const QString dec = Q(c.decimal());
  // 1 is 2^0 as well, but saying so helps nobody.
  return c.exponent() <= 0 ? dec : dec + QStringLiteral(" (") + power + QLatin1Char(')');
}

QString EmbeddedText(const ipv6embedded& e) {
  if (e.kind == ipv6embedded::k_none) return QStringLiteral("none");
  QString t = Q(e.kind_text()) + QStringLiteral(": ") + Q(e.ipv4_text());
  if (e.kind == ipv6embedded::k_teredo)
    t = QStringLiteral("Teredo: server %1, client %2, port %3")
            .arg(Q(e.server_text()), Q(e.ipv4_text()))
            .arg(e.port);
  return t;
}

}  // namespace

QString V6LineCaption(int line) {
  return line >= 0 && line < v6LineCount ? QLatin1String(kLines[line].caption) : QString();
}

const char* V6LineName(int line) {
  return line >= 0 && line < v6LineCount ? kLines[line].name : "";
}

QString InvalidAddressText() {
  return QStringLiteral("Invalid IPv6 address.");
}

QString InvalidPrefixText() {
  return QStringLiteral("Invalid prefix length.");
}

QString SplitAddressText(const QString& text, int* prefix, bool* hadPrefix) {
  const QString t = text.trimmed();
  const qsizetype slash = t.indexOf(QLatin1Char('/'));
  if (hadPrefix) *hadPrefix = slash >= 0;
  if (slash < 0) return t;
  const QString len = t.mid(slash + 1);
  bool ok = false;
  const int n = len.toInt(&ok);
  // Digits only: toInt() also takes a sign and blanks.
  bool digits = !len.isEmpty() && len.size() <= 3;
  for (QChar c : len) digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
  *prefix = ok && digits && n >= 0 && n <= 128 ? n : -1;
  return t.left(slash);
}

TV6Result ExamineV6(const QString& text, int prefix, const ipv6reserved& blocks) {
  TV6Result r;
  const QString address = SplitAddressText(text, &prefix);
  const ipv6 a(address.toStdString());
  // A non-ASCII character would turn into several bytes that might read.
  bool ascii = true;
  for (QChar c : address) ascii = ascii && c.unicode() < 128;
  if (!ascii || !a.is_valid()) {
    r.error = InvalidAddressText();
    return r;
  }
  if (prefix < 0 || prefix > 128) {
    r.error = InvalidPrefixText();
    return r;
  }
  r.net = ipv6net(a, prefix);
  const ipv6net& n = r.net;
  QStringList& l = r.lines;
  for (int i = 0; i < v6LineCount; ++i) l.append(QString());
  l[v6Compressed] = Q(a.compressed());
  l[v6Expanded] = Q(a.expanded());
  l[v6Network] = Q(n.cidr());
  l[v6Range] = Q(n.first().compressed()) + QStringLiteral(" - ") + Q(n.last().compressed());
  l[v6Count] = CountText(n.count());
  l[v6Subnets64] =
      prefix > 64 ? QStringLiteral("none (longer than /64)") : CountText(n.subnets64());
  QStringList zones;
  for (const std::string& z : n.reverse_zones()) zones.append(Q(z));
  l[v6Ptr] = Q(a.ptr_name());
  if (!zones.isEmpty()) l[v6Ptr] += QStringLiteral("\nZone: ") + zones.join(QStringLiteral(", "));
  l[v6Zone] = a.has_zone() ? Q(std::string(a.zone())) : QStringLiteral("none");
  r.blockRow = blocks.match(a);
  if (r.blockRow >= 0) {
    const ipv6block& b = blocks.rows()[std::size_t(r.blockRow)];
    l[v6Type] = Q(b.usage);
    if (!b.reference.empty()) l[v6Type] += QStringLiteral(" (") + Q(b.reference) + QLatin1Char(')');
    l[v6Type] += QStringLiteral(", ") + Q(b.text);
  } else {
    l[v6Type] = QStringLiteral("Unassigned or reserved by the IETF");
  }
  const int scope = a.scope();
  if (scope < 0) {
    l[v6Scope] = QStringLiteral("none");
  } else {
    l[v6Scope] = QStringLiteral("%1 (%2)").arg(Q(ipv6::scope_name(scope))).arg(scope);
    if (a.is_multicast())
      l[v6Scope] +=
          QStringLiteral(", flags: ") + Q(ipv6::multicast_flags_text(a.multicast_flags()));
  }
  l[v6InterfaceId] = Q(a.interface_id_text());
  const auto mac = a.eui64_mac();
  l[v6Mac] = mac ? Q(ipv6::mac_text(*mac)) : QStringLiteral("none (no modified EUI-64)");
  l[v6SolicitedNode] =
      a.is_multicast() ? QStringLiteral("none (multicast)") : Q(a.solicited_node().compressed());
  const auto mmac = a.multicast_mac();
  l[v6MulticastMac] = mmac ? Q(ipv6::mac_text(*mmac)) : QStringLiteral("none (not multicast)");
  l[v6Embedded] = EmbeddedText(ipv6embedded::read(a));
  return r;
}

QString V6ResultText(const TV6Result& result) {
  QString t;
  for (int i = 0; i < result.lines.size() && i < v6LineCount; ++i) {
    QString value = result.lines.at(i);
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    t += V6LineCaption(i) + QLatin1Char(' ') + value + QLatin1Char('\n');
  }
  return t;
}

std::vector<TV6SubnetRow> V6SubnetPage(const ipv6net& net, int target, const ipv6count& first,
                                       int rows) {
  std::vector<TV6SubnetRow> page;
  const ipv6count total = net.subnet_count(target);
  if (total == ipv6count() || first.is_full() || rows <= 0) return page;
  uint128 i = first.value();
  for (int k = 0; k < rows; ++k, ++i) {
    if (!total.is_full() && i >= total.value()) break;
    const ipv6net s = net.subnet(target, i);
    if (!s.is_valid()) break;
    page.push_back({Q(s.cidr()),
                    Q(s.first().compressed()) + QStringLiteral(" - ") + Q(s.last().compressed()),
                    i});
    if (i == ~uint128(0)) break;
  }
  return page;
}

ipv6count V6LastPageStart(const ipv6net& net, int target, int rows) {
  const ipv6count total = net.subnet_count(target);
  if (total == ipv6count() || rows <= 0) return ipv6count();
  // 2^128 subnets: the last page starts at 2^128 - rows.
  if (total.is_full()) return ipv6count(uint128(0) - uint128(rows));
  const uint128 n = total.value();
  return ipv6count(n > uint128(rows) ? n - uint128(rows) : 0);
}

ipv6count V6MovePage(const ipv6net& net, int target, const ipv6count& first, long long delta,
                     int rows) {
  const uint128 last = V6LastPageStart(net, target, rows).value();
  const uint128 at = first.is_full() ? ~uint128(0) : first.value();
  uint128 to;
  if (delta < 0) {
    const uint128 d = uint128(-(delta + 1)) + 1;
    to = at > d ? at - d : 0;
  } else {
    const uint128 d = uint128(delta);
    to = at > last || last - at < d ? last : at + d;
  }
  return ipv6count(to > last ? last : to);
}

QString V6IndexText(const ipv6count& index) {
  return Q(index.decimal());
}

QStringList Reserved6Candidates(const QString& workDir, const QString& programDir) {
  return DataFileCandidates(QStringLiteral("reserved6.lst"), workDir, programDir);
}

QByteArray ReadReserved6(const QStringList& candidates, QString* usedPath) {
  return ReadFirstFile(candidates, usedPath);
}

TV6FromMac V6AddressFromMac(const QString& prefixText, const QString& macText) {
  TV6FromMac r;
  int prefix = 64;
  const ipv6 p(SplitAddressText(prefixText, &prefix).toStdString());
  if (!p.is_valid() || p.has_zone()) {
    r.error = InvalidAddressText();
    return r;
  }
  if (prefix != 64) {
    r.error = QStringLiteral("The prefix must be a /64.");
    return r;
  }
  QString hex;
  for (QChar c : macText.trimmed()) {
    if (c == QLatin1Char(':') || c == QLatin1Char('-') || c == QLatin1Char('.')) continue;
    hex += c;
  }
  bool ok = hex.size() == 12;
  const qulonglong mac = ok ? hex.toULongLong(&ok, 16) : 0;
  for (QChar c : hex) ok = ok && QStringLiteral("0123456789abcdefABCDEF").contains(c);
  if (!ok) {
    r.error = QStringLiteral("Invalid MAC address.");
    return r;
  }
  r.address = Q(ipv6::from_mac(p, mac).compressed());
  return r;
}

TV6State LoadV6State(const QString& iniFileName) {
  const SettingsFile ini(iniFileName);
  TV6State s;
  const QString last = ini.ReadString(kSection, QStringLiteral("LastAddress"), s.lastAddress);
  if (!last.trimmed().isEmpty()) s.lastAddress = last;
  const int prefix = ini.ReadInteger(kSection, QStringLiteral("LastPrefix"), s.prefix);
  if (prefix >= 0 && prefix <= 128) s.prefix = prefix;
  const int sub = ini.ReadInteger(kSection, QStringLiteral("LastSubnetPrefix"), s.subnetPrefix);
  if (sub >= 0 && sub <= 128) s.subnetPrefix = sub;
  for (int i = 0; i < kV6HistorySize; ++i) {
    const QString key = QStringLiteral("History%1").arg(i);
    if (!ini.ValueExists(kSection, key)) break;
    const QString entry = ini.ReadString(kSection, key, QString()).trimmed();
    if (!entry.isEmpty() && !s.history.contains(entry)) s.history.append(entry);
  }
  return s;
}

bool SaveV6State(const QString& iniFileName, const TV6State& state) {
  SettingsFile ini(iniFileName);
  if (!ini.Probe()) return false;
  if (!ini.WriteString(kSection, QStringLiteral("LastAddress"), state.lastAddress)) return false;
  if (!ini.WriteInteger(kSection, QStringLiteral("LastPrefix"), state.prefix)) return false;
  if (!ini.WriteInteger(kSection, QStringLiteral("LastSubnetPrefix"), state.subnetPrefix))
    return false;
  for (int i = 0; i < kV6HistorySize; ++i) {
    const QString key = QStringLiteral("History%1").arg(i);
    const bool ok = i < state.history.size() ? ini.WriteString(kSection, key, state.history.at(i))
                    : ini.ValueExists(kSection, key) ? ini.DeleteKey(kSection, key)
                                                     : true;
    if (!ok) return false;
  }
  return true;
}

bool AddV6History(QStringList& history, const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty() || (!history.isEmpty() && history.first() == t)) return false;
  history.removeAll(t);
  history.prepend(t);
  while (history.size() > kV6HistorySize) history.removeLast();
  return true;
}
