#include "netsets/setmodels.h"

#include <QStringList>
#include <climits>

namespace {

int ClampRows(std::size_t n) {
  return n > std::size_t(INT_MAX) ? INT_MAX : int(n);
}

}  // namespace

void TSetResultModel::SetResult(std::shared_ptr<netsets::setresult> result) {
  beginResetModel();
  FResult = std::move(result);
  FColumns = netsets::setresult::columns(FResult ? FResult->op() : netsets::operation::aggregate);
  endResetModel();
}

void TSetResultModel::SetNotation(netsets::notation how) {
  if (!FResult || FResult->how() == how) return;
  FResult->set_notation(how);
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int TSetResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !FResult ? 0 : ClampRows(FResult->row_count());
}

int TSetResultModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(FColumns.size());
}

QVariant TSetResultModel::data(const QModelIndex& index, int role) const {
  // The tip shows a cell in full where the column cuts it (long IPv6 counts).
  if (!FResult || !index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
    return QVariant();
  return QString::fromStdString(FResult->cell(std::size_t(index.row()), index.column()));
}

QVariant TSetResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= int(FColumns.size()))
    return QVariant();
  return QString::fromStdString(FColumns[std::size_t(section)]);
}

void TSetProblemModel::SetResult(std::shared_ptr<const netsets::setresult> result) {
  beginResetModel();
  FResult = std::move(result);
  endResetModel();
}

int TSetProblemModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !FResult ? 0 : ClampRows(FResult->problems().size());
}

int TSetProblemModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 4;
}

QString TSetProblemModel::Cell(int row, int column) const {
  const netsets::listed_problem& p = FResult->problems()[std::size_t(row)];
  const netsets::problem& q = FResult->problem_of(p);
  switch (column) {
    case 0:
      return p.list ? QStringLiteral("B") : QStringLiteral("A");
    case 1:
      return QString::number(q.line);
    case 2:
      return QString::fromStdString(q.text);
    default:
      return QString::fromStdString(q.reason);
  }
}

QString TSetProblemModel::RowText(int row) const {
  if (!FResult || row < 0 || row >= rowCount()) return QString();
  QStringList cells;
  for (int c = 0; c < 4; ++c) cells << Cell(row, c);
  return cells.join(QLatin1Char('\t'));
}

QVariant TSetProblemModel::data(const QModelIndex& index, int role) const {
  if (!FResult || !index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
    return QVariant();
  return Cell(index.row(), index.column());
}

QVariant TSetProblemModel::headerData(int section, Qt::Orientation orientation, int role) const {
  static const char* const kCaptions[] = {"List", "Line", "Text", "Reason"};
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 3)
    return QVariant();
  return QString::fromLatin1(kCaptions[section]);
}
