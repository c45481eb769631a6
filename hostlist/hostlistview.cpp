#include "hostlist/hostlistview.h"

#include <QColor>
#include <QFont>
#include <QHeaderView>

QVariant THostListItems::data(const QModelIndex& index, int role) const {
  if (role != Qt::ForegroundRole && role != Qt::FontRole) return THostListModel::data(index, role);
  if (!THostListModel::data(index, HighlightRole).toBool()) return QVariant();
  if (role == Qt::ForegroundRole) return QColor(0, 0, 255);
  QFont bold;
  bold.setBold(true);
  return bold;
}

THostListView::THostListView(QWidget* parent) : TRowListView(parent) {
  Header()->setObjectName(QStringLiteral("hdrHosts"));
}
