#include "hostlist/hostlistmodel.h"

namespace {

const char kHex[] = "0123456789abcdef";

void AppendHex(uint32_t v, std::string& out) {
  char buf[8];
  for (int i = 7; i >= 0; --i, v >>= 4) buf[i] = kHex[v & 0xF];
  out.append(buf, 8);
}

void AppendDotted(uint32_t v, std::string& out) {
  char buf[16];
  char* p = buf;
  for (int shift = 24; shift >= 0; shift -= 8) {
    unsigned octet = (v >> shift) & 0xFF;
    if (octet >= 100) *p++ = char('0' + octet / 100);
    if (octet >= 10) *p++ = char('0' + octet / 10 % 10);
    *p++ = char('0' + octet % 10);
    if (shift) *p++ = '.';
  }
  out.append(buf, std::size_t(p - buf));
}

const char kMoreAddress[] = "more...";
const char kMoreName[] = "...";

}  // namespace

ipv4host HostListNetwork(const QString& text) {
  return ipv4host(text.simplified().toStdString());
}

QString HighlightedAddressIn(const ipv4host& network, const QString& address) {
  const ipv4 a(address.toStdString());
  if (!network.is_valid() || !a.is_valid()) return QString();
  return (a.value() & network.mask_value()) == network.network_value() ? address : QString();
}

THostListModel::THostListModel(QObject* parent) : QAbstractTableModel(parent) {}

void THostListModel::Generate(const ipv4host& network, int limit, int maxRows) {
  beginResetModel();
  FNames.Clear();
  FAddressTexts.clear();
  FNetwork = network;
  FBase = network.network_value();
  FRowCount = 0;
  FCut = false;
  FPointToPoint = false;
  FSingle = false;
  FHostCountText.clear();
  if (network.is_valid()) {
    const uint32_t mask = network.mask_value();
    if (mask == 0xFFFFFFFEu) {
      FPointToPoint = true;
      FRowCount = 2;
      FHostCountText = QStringLiteral("2 hosts");
    } else if (mask == 0xFFFFFFFFu) {
      FSingle = true;
      FRowCount = 1;
      FHostCountText = QStringLiteral("1 host");
    } else {
      const int64_t hosts = network.host_count();
      const int64_t l = limit > 0 ? limit : kDefaultLimit;
      int64_t rows = hosts + 2;
      if (rows > l) {
        rows = l;
        FCut = true;
      }
      // The "more..." row must fit as well.
      if (rows + (FCut ? 1 : 0) > maxRows) {
        rows = int64_t(maxRows) - 1;
        FCut = true;
      }
      FRowCount = int(rows);
      FHostCountText = QString::number(hosts) + QStringLiteral(" hosts");
      if (FCut)
        FHostCountText += QStringLiteral(", ") + QString::number(rows) + QStringLiteral(" shown");
    }
  }
  endResetModel();
}

void THostListModel::SetHighlightedAddress(const QString& address) {
  if (FHighlight == address) return;
  FHighlight = address;
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 1));
}

int THostListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : FRowCount + (FCut ? 1 : 0);
}

int THostListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 2;
}

QVariant THostListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return QVariant();
  switch (role) {
    case Qt::DisplayRole:
      return index.column() == 0 ? AddressText(index.row()) : Name(index.row());
    case HighlightRole:
      return !FHighlight.isEmpty() && AddressText(index.row()) == FHighlight;
    default:
      return QVariant();
  }
}

QVariant THostListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
  return section == 0 ? QStringLiteral("IP Address") : QStringLiteral("Host Name");
}

Qt::ItemFlags THostListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QString THostListModel::AddressText(int row) const {
  std::string s;
  AppendAddressText(row, s);
  return QString::fromStdString(s);
}

QString THostListModel::Name(int row) const {
  if (row < 0 || row >= rowCount()) return QString();
  std::string_view name;
  if (FNames.Find(uint32_t(row), &name))
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
  return QString::fromStdString(GeneratedName(row));
}

std::string THostListModel::GeneratedName(int row) const {
  std::string s;
  AppendGeneratedName(row, s);
  return s;
}

void THostListModel::AppendAddressText(int row, std::string& out) const {
  if (row < 0 || row >= rowCount()) return;
  if (row == FRowCount) {
    out += kMoreAddress;
    return;
  }
  if (!FAddressTexts.empty()) {
    auto it = FAddressTexts.find(uint32_t(row));
    if (it != FAddressTexts.end()) {
      out += it->second;
      return;
    }
  }
  AppendDotted(AddressValue(row), out);
}

void THostListModel::AppendGeneratedName(int row, std::string& out) const {
  if (row < 0 || row >= rowCount()) return;
  if (row == FRowCount) {
    out += kMoreName;
    return;
  }
  if (FPointToPoint || FSingle)
    out += 'h';
  else if (row == FRowCount - 1 && !FCut)
    out += "bc";
  else if (row == 0)
    out += "nw";
  else
    out += 'h';
  AppendHex(AddressValue(row), out);
}

QString THostListModel::CopyText(const TRowRuns& rows) const {
  std::string out;
  const std::vector<TNameRuns::Run>& runs = FNames.Runs();
  std::size_t k = 0;
  for (const auto& [first, last] : rows) {
    for (int64_t row = first; row <= last && row < rowCount(); ++row) {
      AppendAddressText(int(row), out);
      out += '\t';
      while (k < runs.size() && runs[k].last < row) ++k;
      if (k < runs.size() && runs[k].first <= row)
        out += FNames.NameOf(runs[k]);
      else
        AppendGeneratedName(int(row), out);
      out += "\r\n";
    }
  }
  return QString::fromUtf8(out.data(), qsizetype(out.size()));
}

TRowRuns THostListModel::AddressRows(TRowRuns rows) const {
  while (!rows.empty() && rows.back().second >= FRowCount) {
    if (rows.back().first >= FRowCount)
      rows.pop_back();
    else
      rows.back().second = FRowCount - 1;
  }
  return rows;
}

void THostListModel::SetName(const TRowRuns& rows, const QString& name) {
  const std::string utf8 = name.toStdString();
  const std::string_view view(utf8);
  TNameRuns top;
  for (const auto& [first, last] : AddressRows(rows)) {
    if (first < 0 || last < first) continue;
    top.Append(uint32_t(first), uint32_t(last), &view);
  }
  if (top.Empty()) return;
  FNames.Overlay(std::move(top));
  NamesChanged();
}

void THostListModel::ApplyNames(TNameRuns names,
                                const std::vector<std::pair<uint32_t, std::string>>& addressTexts) {
  FNames.Overlay(std::move(names));
  for (const auto& [row, text] : addressTexts) FAddressTexts[row] = text;
  NamesChanged();
}

void THostListModel::NamesChanged() {
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 1));
}
