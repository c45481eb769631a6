#include "ipcalc/reportlist.h"

#include <QHeaderView>
#include <QPainter>
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

void FitReportColumns(QTreeWidget* view, int columns) {
  const QFontMetrics fm(view->font());
  const int margin =
      2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 8;
  const int count = columns < 0 ? view->columnCount() : std::min(columns, view->columnCount());
  for (int c = 0; c < count; ++c) {
    // Measuring only the longest texts keeps long lists cheap; the cells hold
    // digits and dots, whose widths hardly differ.
    qsizetype longest = 0;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
      longest = std::max(longest, view->topLevelItem(i)->text(c).size());
    int needed = 0;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
      const QString text = view->topLevelItem(i)->text(c);
      if (text.size() == longest) needed = std::max(needed, fm.horizontalAdvance(text));
    }
    if (needed + margin > view->columnWidth(c)) view->setColumnWidth(c, needed + margin);
  }
}
