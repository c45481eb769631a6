#pragma once
// Report-style list views of the calculator's panels: columns with fixed
// widths, whole-row selection, grid lines, read-only, no sorting by header.

#include <QList>
#include <QStringList>

class QTreeWidget;

// Sets up view as a report list with the given column captions and widths.
void SetupReportList(QTreeWidget* view, const QStringList& captions, const QList<int>& widths);
// Widens columns whose texts would be cut in the current font; never narrows
// a column below its designed width.
// Only the first `columns` columns are looked at (-1: all).
void FitReportColumns(QTreeWidget* view, int columns = -1);
