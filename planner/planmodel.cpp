#include "planner/planmodel.h"

#include <QBrush>
#include <QColor>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>

#include "common/widgethelpers.h"

namespace {

const char* const kNeedCaptions[ncCount] = {"Name", "Hosts", "Prefix",       "Copies",
                                            "Note", "VLAN",  "Fixed network"};

// Light red behind a cell that does not read; its tool tip says why.
const QColor kBadCellColour(255, 204, 204);

bool IsBlankRow(const TNeedRow& row) {
  return std::all_of(row.begin(), row.end(),
                     [](const QString& cell) { return cell.trimmed().isEmpty(); });
}

// A whole decimal number without sign, blanks or grouping.
bool ReadWhole(const QString& text, uint64_t* out) {
  if (text.isEmpty() || text.size() > 20) return false;
  for (QChar c : text)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  bool ok = false;
  const qulonglong v = text.toULongLong(&ok);
  if (!ok) return false;
  *out = v;
  return true;
}

QString Quoted(const QString& text) {
  return QLatin1Char('"') + QuotedInput(text) + QLatin1Char('"');
}

QString CountText(const ipv6count& c) {
  return QString::fromStdString(c.decimal());
}

}  // namespace

// ---------------------------------------------------------------- needs

TPlanNeedsModel::TPlanNeedsModel(QObject* parent) : QAbstractTableModel(parent) {}

int TPlanNeedsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(FRows.size());
}

int TPlanNeedsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ncCount;
}

QString TPlanNeedsModel::ColumnCaption(int column) {
  return column >= 0 && column < ncCount ? QLatin1String(kNeedCaptions[column]) : QString();
}

QVariant TPlanNeedsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= FRows.size()) return QVariant();
  const QString& cell = FRows[index.row()][size_t(index.column())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return cell;
    case Qt::BackgroundRole:
      if (IsBadCell(index.row(), index.column())) return QBrush(kBadCellColour);
      return QVariant();
    case Qt::ForegroundRole:
      // The marked background is light in every palette.
      if (IsBadCell(index.row(), index.column())) return QBrush(Qt::black);
      return QVariant();
    case Qt::ToolTipRole:
      for (const TNeedCellProblem& p : FProblems)
        if (p.row == index.row() && p.column == index.column()) return p.text;
      return QVariant();
    case Qt::TextAlignmentRole:
      if (index.column() == ncHosts || index.column() == ncCopies || index.column() == ncVlan)
        return int(Qt::AlignRight | Qt::AlignVCenter);
      return QVariant();
    default:
      return QVariant();
  }
}

bool TPlanNeedsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.row() >= FRows.size()) return false;
  QString& cell = FRows[index.row()][size_t(index.column())];
  const QString text = value.toString();
  // Leaving an editor unchanged is no edit.
  if (cell == text) return true;
  cell = text;
  Revalidate();
  emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ncCount - 1));
  emit needsEdited();
  return true;
}

Qt::ItemFlags TPlanNeedsModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant TPlanNeedsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QVariant();
  if (orientation == Qt::Horizontal) return ColumnCaption(section);
  return section + 1;
}

bool TPlanNeedsModel::removeRows(int row, int count, const QModelIndex& parent) {
  if (parent.isValid() || row < 0 || count <= 0 || row + count > FRows.size()) return false;
  beginRemoveRows(QModelIndex(), row, row + count - 1);
  FRows.remove(row, count);
  endRemoveRows();
  Revalidate();
  emit needsEdited();
  return true;
}

int TPlanNeedsModel::AddRow() {
  const int row = int(FRows.size());
  beginInsertRows(QModelIndex(), row, row);
  FRows.append(TNeedRow());
  endInsertRows();
  // An empty row is no need: the plan is the same until it is filled.
  return row;
}

void TPlanNeedsModel::RemoveRowList(QList<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  bool any = false;
  // From the bottom, so the rows above keep their numbers.
  for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
    if (*it < 0 || *it >= FRows.size()) continue;
    beginRemoveRows(QModelIndex(), *it, *it);
    FRows.remove(*it);
    endRemoveRows();
    any = true;
  }
  if (!any) return;
  Revalidate();
  emit needsEdited();
}

void TPlanNeedsModel::SetRows(const QVector<TNeedRow>& rows) {
  beginResetModel();
  FRows = rows;
  Revalidate();
  endResetModel();
}

int TPlanNeedsModel::PasteText(const QString& text, int row, int* overlong) {
  QVector<TNeedRow> added;
  int longLines = 0;
  bool firstLine = true;
  for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
    if (line.trimmed().isEmpty()) continue;
    const bool heading = firstLine;
    firstLine = false;
    const QChar sep = line.contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(',');
    const QStringList fields = line.split(sep);
    TNeedRow r;
    for (int i = 0; i < fields.size() && i < ncCount; ++i) r[size_t(i)] = fields[i].trimmed();
    // "P2P, /31": a length in the hosts field is meant as the prefix.
    if (r[ncHosts].startsWith(QLatin1Char('/')) && r[ncPrefix].isEmpty()) {
      r[ncPrefix] = r[ncHosts];
      r[ncHosts].clear();
    }
    // The heading of a copied sheet.
    if (heading && r[ncHosts].compare(QLatin1String("hosts"), Qt::CaseInsensitive) == 0) continue;
    if (fields.size() > ncCount) ++longLines;
    added.append(r);
  }
  if (overlong) *overlong = longLines;
  if (added.isEmpty()) return 0;
  if (row < 0 || row > FRows.size()) row = int(FRows.size());
  beginInsertRows(QModelIndex(), row, row + int(added.size()) - 1);
  for (int i = 0; i < added.size(); ++i) FRows.insert(row + i, added[i]);
  endInsertRows();
  Revalidate();
  emit needsEdited();
  return int(added.size());
}

bool TPlanNeedsModel::ReadRow(const TNeedRow& row, planner::need* out,
                              std::vector<TNeedCellProblem>* problems) {
  if (IsBlankRow(row)) return false;
  planner::need n;
  auto bad = [problems](int column, const QString& text) {
    if (problems)
      problems->push_back(
          TNeedCellProblem{0, column, ColumnCaption(column) + QStringLiteral(": ") + text, {}});
  };
  bool ok = true;
  auto fail = [&](int column, const QString& text) {
    ok = false;
    bad(column, text);
  };

  n.name = row[ncName].trimmed().toStdString();
  if (n.name.empty()) fail(ncName, QStringLiteral("a need has a name"));

  const QString hosts = row[ncHosts].trimmed();
  QString prefix = row[ncPrefix].trimmed();
  if (!hosts.isEmpty() && !prefix.isEmpty()) {
    fail(ncPrefix, QStringLiteral("give a host count or a prefix length, not both"));
  } else if (hosts.isEmpty() && prefix.isEmpty()) {
    fail(ncHosts, QStringLiteral("give a host count or a prefix length"));
  } else if (!hosts.isEmpty()) {
    uint64_t h = 0;
    if (!ReadWhole(hosts, &h))
      fail(ncHosts, Quoted(hosts) + QStringLiteral(" is not a whole number"));
    else if (h == 0)
      fail(ncHosts, QStringLiteral("a need has at least 1 host"));
    else
      n.hosts = h;
  } else {
    if (prefix.startsWith(QLatin1Char('/'))) prefix.remove(0, 1);
    uint64_t len = 0;
    if (!ReadWhole(prefix, &len) || len > 128)
      fail(ncPrefix,
           Quoted(row[ncPrefix].trimmed()) + QStringLiteral(" is not a prefix length (0-128)"));
    else
      n.prefix = int(len);
  }

  const QString copies = row[ncCopies].trimmed();
  if (!copies.isEmpty()) {
    uint64_t c = 0;
    if (!ReadWhole(copies, &c) || c < 1 || c > kMaxCopies)
      fail(ncCopies,
           Quoted(copies) + QStringLiteral(" is not a number from 1 to %1").arg(kMaxCopies));
    else
      n.copies = uint32_t(c);
  }

  n.note = row[ncNote].trimmed().toStdString();

  const QString vlan = row[ncVlan].trimmed();
  if (!vlan.isEmpty()) {
    uint64_t v = 0;
    if (!ReadWhole(vlan, &v) || v < 1 || v > 4094)
      fail(ncVlan, Quoted(vlan) + QStringLiteral(" is not a VLAN number (1-4094)"));
    else
      n.vlan = uint32_t(v);
  }

  n.fixed = row[ncFixed].trimmed().toStdString();
  if (!ok) return false;
  *out = std::move(n);
  return true;
}

std::vector<planner::need> TPlanNeedsModel::Needs(std::vector<TNeedCellProblem>* problems,
                                                  std::vector<int>* rowOfNeed) const {
  std::vector<planner::need> needs;
  if (rowOfNeed) rowOfNeed->clear();
  for (int i = 0; i < FRows.size(); ++i) {
    std::vector<TNeedCellProblem> rowProblems;
    planner::need n;
    if (ReadRow(FRows[i], &n, &rowProblems)) {
      needs.push_back(std::move(n));
      if (rowOfNeed) rowOfNeed->push_back(i);
    }
    if (!problems) continue;
    for (TNeedCellProblem& p : rowProblems) {
      p.row = i;
      p.name = FRows[i][ncName].trimmed();
      problems->push_back(std::move(p));
    }
  }
  return needs;
}

void TPlanNeedsModel::SetNeeds(const std::vector<planner::need>& needs) {
  QVector<TNeedRow> rows;
  rows.reserve(int(needs.size()));
  for (const planner::need& n : needs) {
    TNeedRow r;
    r[ncName] = QString::fromStdString(n.name);
    if (n.prefix >= 0)
      r[ncPrefix] = QLatin1Char('/') + QString::number(n.prefix);
    else
      r[ncHosts] = QString::number(n.hosts);
    if (n.copies != 1) r[ncCopies] = QString::number(n.copies);
    r[ncNote] = QString::fromStdString(n.note);
    if (n.vlan) r[ncVlan] = QString::number(*n.vlan);
    r[ncFixed] = QString::fromStdString(n.fixed);
    rows.append(r);
  }
  SetRows(rows);
}

bool TPlanNeedsModel::IsBadCell(int row, int column) const {
  return row >= 0 && FBadCells.contains(quint64(row) << 8 | quint64(column));
}

void TPlanNeedsModel::Revalidate() {
  const std::vector<TNeedCellProblem> old = FProblems;
  FProblems.clear();
  Needs(&FProblems);
  FBadCells.clear();
  for (const TNeedCellProblem& p : FProblems)
    FBadCells.insert(quint64(p.row) << 8 | quint64(p.column));
  // Rows whose marks went away must be drawn again as well.
  for (const TNeedCellProblem& p : old)
    if (p.row < FRows.size())
      emit dataChanged(index(p.row, p.column), index(p.row, p.column),
                       {Qt::BackgroundRole, Qt::ToolTipRole});
}

// ---------------------------------------------------------------- parents

std::vector<std::string> SplitParents(const QString& text) {
  std::vector<std::string> parents;
  for (const QString& part :
       text.split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts))
    parents.push_back(part.toStdString());
  return parents;
}

QString JoinParents(const std::vector<std::string>& parents) {
  QStringList list;
  for (const std::string& p : parents) list << QString::fromStdString(p);
  return list.join(QStringLiteral(", "));
}

// ---------------------------------------------------------------- result lists

TTextTableModel::TTextTableModel(const QStringList& headers, const QList<int>& rightAligned,
                                 QObject* parent)
    : QAbstractTableModel(parent), FHeaders(headers), FRightAligned(rightAligned) {}

int TTextTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(FRows.size());
}

int TTextTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(FHeaders.size());
}

QVariant TTextTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= FRows.size()) return QVariant();
  if (role == Qt::TextAlignmentRole && FRightAligned.contains(index.column()))
    return int(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return QVariant();
  const QStringList& row = FRows[index.row()];
  return index.column() < row.size() ? row[index.column()] : QString();
}

QVariant TTextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal &&
      FRightAligned.contains(section))
    return int(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QVariant();
  return FHeaders.value(section);
}

void TTextTableModel::SetRows(QVector<QStringList> rows) {
  beginResetModel();
  FRows = std::move(rows);
  endResetModel();
}

QString TTextTableModel::RowText(int row) const {
  return row >= 0 && row < FRows.size() ? FRows[row].join(QLatin1Char('\t')) : QString();
}

QStringList ResultHeaders() {
  return {
      QStringLiteral("Name"),        QStringLiteral("Hosts"),     QStringLiteral("Prefix"),
      QStringLiteral("Network"),     QStringLiteral("Mask"),      QStringLiteral("First usable"),
      QStringLiteral("Last usable"), QStringLiteral("Broadcast"), QStringLiteral("Capacity"),
      QStringLiteral("Spare"),       QStringLiteral("VLAN"),      QStringLiteral("Note")};
}

QVector<QStringList> ResultRows(const planner::plan& p, const planner::result& r) {
  QVector<QStringList> rows;
  rows.reserve(int(r.allocations.size()));
  for (const planner::allocation& a : r.allocations) {
    const planner::need* n = a.need < p.needs.size() ? &p.needs[a.need] : nullptr;
    QStringList row;
    row << QString::fromStdString(a.name)
        << (n && n->prefix >= 0 ? QString() : QString::number(a.hosts))
        << QLatin1Char('/') + QString::number(a.prefix) << QString::fromStdString(a.network)
        << QString::fromStdString(a.mask) << QString::fromStdString(a.first)
        << QString::fromStdString(a.last) << QString::fromStdString(a.broadcast)
        << CountText(a.capacity) << CountText(a.spare)
        << (n && n->vlan ? QString::number(*n->vlan) : QString())
        << (n ? QString::fromStdString(n->note) : QString());
    rows.append(row);
  }
  return rows;
}

QStringList FreeHeaders() {
  return {QStringLiteral("Free block"), QStringLiteral("Addresses")};
}

QVector<QStringList> FreeRows(const planner::result& r) {
  QVector<QStringList> rows;
  rows.reserve(int(r.free.size()));
  for (const std::string& block : r.free) {
    const QString text = QString::fromStdString(block);
    const int slash = text.lastIndexOf(QLatin1Char('/'));
    const int len = slash < 0 ? -1 : text.mid(slash + 1).toInt();
    const int bits = text.contains(QLatin1Char(':')) ? 128 : 32;
    QString size;
    if (len >= 0 && len <= bits) size = CountText(ipv6count::power_of_two(bits - len));
    rows.append({text, size});
  }
  return rows;
}

QStringList ProblemHeaders() {
  return {QStringLiteral("Where"), QStringLiteral("Problem")};
}

QVector<QStringList> ProblemRows(const std::vector<TNeedCellProblem>& cells,
                                 const planner::result& r, const std::vector<int>& rowOfNeed) {
  QVector<QStringList> rows;
  for (const TNeedCellProblem& c : cells) {
    QString where = QStringLiteral("row %1").arg(c.row + 1);
    if (!c.name.isEmpty()) where += QStringLiteral(" (%1)").arg(QuotedInput(c.name));
    rows.append({where, c.text});
  }
  for (const planner::problem& p : r.problems) {
    QString text = QString::fromStdString(p.reason);
    if (!p.text.empty())
      text = QStringLiteral("%1: %2").arg(Quoted(QString::fromStdString(p.text)), text);
    QString where = QString::fromStdString(p.where);
    if (p.need >= 0 && size_t(p.need) < rowOfNeed.size()) {
      // "need 5 (Sales)" becomes "row 7 (Sales)".
      const int name = where.indexOf(QLatin1Char(' '), 5);
      where = QStringLiteral("row %1").arg(rowOfNeed[size_t(p.need)] + 1) +
              (name < 0 ? QString() : where.mid(name));
    }
    rows.append({where, text});
  }
  for (const planner::unplaced& u : r.unplaced)
    rows.append({QString::fromStdString(u.name),
                 QStringLiteral("not placed: ") + QString::fromStdString(u.reason)});
  return rows;
}

QString SummaryText(const planner::result& r) {
  const size_t placed = r.allocations.size();
  const size_t unplaced = r.unplaced.size();
  QString text = QStringLiteral("%1 placed, %2 unplaced")
                     .arg(placed == 1 ? QStringLiteral("1 network")
                                      : QStringLiteral("%1 networks").arg(placed))
                     .arg(unplaced);
  text += QStringLiteral("; %1 of %2 addresses allocated (%3%)")
              .arg(CountText(r.allocated), CountText(r.parent_size))
              .arg(r.utilisation * 100, 0, 'f', 1);
  return text;
}

// ---------------------------------------------------------------- files

bool WriteFileAtomically(const QString& path, const QByteArray& data,
                         const std::function<qint64(QIODevice*, const char*, qint64)>& write) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const qint64 written = write ? write(&file, data.constData(), data.size()) : file.write(data);
  // A short write can still commit a cut-short file over the old one.
  if (written != data.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}
