#include "maskchart/reportview.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <algorithm>

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

void SetupReportView(QTreeWidget* view, const QStringList& captions, const QList<int>& widths) {
  view->setColumnCount(int(captions.size()));
  view->setHeaderLabels(captions);
  view->setRootIsDecorated(false);
  view->setItemsExpandable(false);
  view->setUniformRowHeights(true);
  view->setAllColumnsShowFocus(true);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSortingEnabled(false);
  view->setItemDelegate(new GridDelegate(view));
  view->header()->setSectionsClickable(false);
  view->header()->setSectionsMovable(false);
  view->header()->setStretchLastSection(false);
  for (int i = 0; i < widths.size() && i < captions.size(); ++i) view->setColumnWidth(i, widths[i]);
}

void FitColumnsToText(QTreeWidget* view) {
  const QFontMetrics cells(view->font());
  const QFontMetrics header(view->header()->font());
  const int margin =
      2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 8;
  // Header sections draw their text inside the style's own margins.
  const int headerMargin =
      2 * view->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, view->header()) + 4;
  for (int c = 0; c < view->columnCount(); ++c) {
    int needed = header.horizontalAdvance(view->headerItem()->text(c)) + headerMargin;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
      needed = std::max(needed, cells.horizontalAdvance(view->topLevelItem(i)->text(c)) + margin);
    if (needed > view->columnWidth(c)) view->setColumnWidth(c, needed);
  }
}

int ViewWidthForColumns(const QTreeWidget* view) {
  int width = 0;
  for (int c = 0; c < view->columnCount(); ++c) width += view->columnWidth(c);
  const int scrollBar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
  return width + scrollBar + 2 * view->frameWidth();
}

bool RowColoursReadable(const QTreeWidget* view) {
  return view->palette().color(QPalette::Base).lightness() >= 128;
}

void SetRowColour(QTreeWidgetItem* item, const QColor& colour) {
  QTreeWidget* view = item->treeWidget();
  if (view && !RowColoursReadable(view)) return;
  for (int c = 0; c < item->columnCount(); ++c) item->setForeground(c, colour);
}
