#include "common/reportlist.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <algorithm>

#include "common/themecolors.h"

namespace {

// Draws the cell, then a light line at its right and bottom edge.
class GridDelegate : public TReadableItemDelegate {
 public:
  using TReadableItemDelegate::TReadableItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    TReadableItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Midlight).darker(110));
    const QRect r = option.rect;
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
  }
};

}  // namespace

void TReadableItemDelegate::initStyleOption(QStyleOptionViewItem* option,
                                            const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const QVariant foreground = index.data(Qt::ForegroundRole);
  if (!foreground.isValid()) return;
  const QColor colour = foreground.canConvert<QBrush>() ? foreground.value<QBrush>().color()
                                                        : foreground.value<QColor>();
  option->palette.setColor(QPalette::Text,
                           ReadableTextColour(colour, option->palette.color(QPalette::Base)));
}

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
  const QFontMetrics cells(view->font());
  const QFontMetrics header(view->header()->font());
  const int margin =
      2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 8;
  // Header sections draw their text inside the style's own margins.
  const int headerMargin =
      2 * view->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, view->header()) + 4;
  const int count = columns < 0 ? view->columnCount() : std::min(columns, view->columnCount());
  for (int c = 0; c < count; ++c) {
    // Measuring only the longest texts keeps long lists cheap; the cells hold
    // digits and dots, whose widths hardly differ.
    qsizetype longest = 0;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
      longest = std::max(longest, view->topLevelItem(i)->text(c).size());
    int needed = header.horizontalAdvance(view->headerItem()->text(c)) + headerMargin;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
      const QString text = view->topLevelItem(i)->text(c);
      if (text.size() == longest) needed = std::max(needed, cells.horizontalAdvance(text) + margin);
    }
    if (needed > view->columnWidth(c)) view->setColumnWidth(c, needed);
  }
}

int ViewWidthForColumns(const QTreeWidget* view) {
  int width = 0;
  for (int c = 0; c < view->columnCount(); ++c) width += view->columnWidth(c);
  const int scrollBar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
  return width + scrollBar + 2 * view->frameWidth();
}

void SetRowColour(QTreeWidgetItem* item, const QColor& colour) {
  QTreeWidget* view = item->treeWidget();
  const QColor drawn =
      view ? ReadableTextColour(colour, view->palette().color(QPalette::Base)) : colour;
  for (int c = 0; c < item->columnCount(); ++c) item->setForeground(c, drawn);
}
