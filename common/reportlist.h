#pragma once
// Report-style list views (QTreeWidget without root decoration): columns of
// designed widths, whole-row selection, grid lines, read-only, no sorting by
// header, and row colours that stay readable on the palette in use.

#include <QColor>
#include <QList>
#include <QStringList>
#include <QStyledItemDelegate>

class QTreeWidget;
class QTreeWidgetItem;

// Sets up view as a report list with the given column captions and widths.
void SetupReportList(QTreeWidget* view, const QStringList& captions, const QList<int>& widths);
// Widens columns whose caption or longest texts would be cut in the current
// fonts; never narrows a column below its width. Only the first `columns`
// columns are looked at (-1: all).
void FitReportColumns(QTreeWidget* view, int columns = -1);
// The width the view needs to show all its columns beside a vertical scroll
// bar, frame included.
int ViewWidthForColumns(const QTreeWidget* view);
// Gives every cell of item the text colour as drawn on its view's
// background. A selected row is drawn in the palette's highlight colours.
void SetRowColour(QTreeWidgetItem* item, const QColor& colour);

// Draws the text colours items carry as they read on the view's background
// (see ReadableTextColour), also after the desktop's palette changed.
class TReadableItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
