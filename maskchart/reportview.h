#pragma once
// Report-style lists of the Mask Chart and the Subnetting dialog: fixed
// columns, grid lines, whole-row selection, read-only, no sorting by header,
// and row text colours that stay readable.

#include <QColor>
#include <QList>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

// Sets view up as a single-selection report list with these columns.
void SetupReportView(QTreeWidget* view, const QStringList& captions, const QList<int>& widths);
// Widens every column whose header caption or longest cell would be cut in
// the current fonts; a column never gets narrower than it is.
void FitColumnsToText(QTreeWidget* view);
// The width the view needs to show all its columns next to a vertical
// scroll bar, frame included.
int ViewWidthForColumns(const QTreeWidget* view);
// Whether coloured row texts can be read on the view's background: the
// colours are dark, so not on a dark palette.
bool RowColoursReadable(const QTreeWidget* view);
// Gives every cell of item the text colour, where that is readable. A
// selected row is still drawn in the palette's highlight colours.
void SetRowColour(QTreeWidgetItem* item, const QColor& colour);
