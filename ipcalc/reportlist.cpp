#include "ipcalc/reportlist.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace {
// Draws the cell, then a light line at its right and bottom edge.
class GridDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Midlight).darker(110));
    const QRect r = option.rect;
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
  }
};
}  // namespace

void SetupReportList(QTreeWidget* view, const QStringList& captions, const QList<int>& widths) {
  view->setColumnCount(int(captions.size()));
  view->setHeaderLabels(captions);
  view->setRootIsDecorated(false);
  view->setItemsExpandable(false);
  view->setUniformRowHeights(true);
  view->setAllColumnsShowFocus(true);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSortingEnabled(false);
  view->setItemDelegate(new GridDelegate(view));
  view->header()->setSectionsClickable(false);
  view->header()->setSectionsMovable(false);
  view->header()->setStretchLastSection(false);
  for (int i = 0; i < widths.size() && i < captions.size(); ++i) view->setColumnWidth(i, widths[i]);
}
