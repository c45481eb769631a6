#include "ipcalc/subnetmodel.h"

#include "ipcalc/netcalc.h"
#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4host.h"

namespace {
QString Dotted(uint32_t v) {
  return QString::fromStdString(ipv4(v).text());
}

}  // namespace

uint32_t SubnetBaseMask(const QString& maskText) {
  const QString t = maskText.trimmed();
  const ipv4 dotted(t.toStdString());
  if (dotted.is_valid()) {
    // A wildcard (zeros, then ones) stands for its complement, as in the viewer.
    if (dotted.is_wildcard()) return ~dotted.value();
    const bool contiguous = dotted.is_mask() || dotted.is_short_mask();
    return contiguous ? dotted.value() : 0;
  }
  // "/p" and host counts are read as the calculator reads its mask field.
  bool ok = false;
  const ipv4 parsed = ParseMaskText(t, ok);
  return parsed.is_valid() ? parsed.value() : 0;
}

TSubnetTable BuildSubnetTable(const QString& maskText, bool rfc3021) {
  TSubnetTable table;
  const uint32_t mask = SubnetBaseMask(maskText);
  if (mask == 0) return table;
  // Only the mask matters: the base address is fixed.
  ipv4host b(("10.0.0.0 " + Dotted(mask)).toStdString());
  if (!b.is_valid()) return table;
  table.header =
      QStringLiteral("Potential Subnetworks in Base: ") + QString::fromStdString(b.mask_text());
  const uint32_t limit = rfc3021 ? 0xFFFFFFFEu : 0xFFFFFFFCu;
  quint64 n = 1;
  do {
    table.rows.push_back({QString::fromStdString(b.mask_text()),
                          QStringLiteral("/%1").arg(b.prefix_length()), QString::number(n),
                          QString::number(b.host_count())});
    n *= 2;
    b.narrow_mask();
  } while (b.mask_value() <= limit);
  return table;
}

TSubnetworkList BuildSubnetworkList(const QString& networkText, const QString& networkLabel,
                                    const TSubnetRow& row) {
  TSubnetworkList list;
  if (networkLabel.isEmpty()) return list;
  QString shown = networkLabel;
  const int mac = shown.indexOf(QLatin1Char('['));
  if (mac >= 0) shown.truncate(mac);
  list.header = QStringLiteral("Subnetworks ") + row.prefix + QStringLiteral(" in ") + shown;

  bool ok = false;
  qulonglong count = row.networks.toULongLong(&ok, 10);
  if (!ok) return list;
  const bool cut = count > qulonglong(kMaxSubnetworkRows);
  if (cut) count = kMaxSubnetworkRows;

  const std::string mask = " " + row.mask.toStdString();
  std::string t = networkText.toStdString() + mask;
  for (qulonglong k = 1; k <= count; ++k) {
    const ipv4host q(t);
    if (!q.is_valid()) break;
    t = q.next_network_text() + mask;
    TSubnetworkRow r;
    r.network = QString::fromStdString(q.network_text());
    const TSubnetworkHosts hosts = SubnetworkHosts(q.network_value(), q.prefix_length());
    r.hosts = Dotted(hosts.first) + QStringLiteral(" - ") + Dotted(hosts.last);
    r.number = QString::number(k);
    list.rows.push_back(r);
  }
  if (cut) list.rows.push_back({QStringLiteral("more..."), QStringLiteral("..."), QString()});
  return list;
}

QString NetworkColumnText(const std::vector<TSubnetworkRow>& rows) {
  QString text;
  for (const TSubnetworkRow& r : rows) text += r.network + QLatin1Char('\n');
  return text;
}

QString AllColumnsText(const std::vector<TSubnetworkRow>& rows) {
  QString text;
  for (const TSubnetworkRow& r : rows) {
    QString line =
        r.network + QLatin1Char('\t') + r.hosts + QLatin1Char('\t') + r.number + QLatin1Char('\n');
    const int dash = line.indexOf(QLatin1String(" - "));
    if (dash >= 0) line.replace(dash, 3, QLatin1Char('\t'));
    text += line;
  }
  return text;
}
