#pragma once
// Helpers shared by the tool windows: report-style list views (QTreeWidget
// without root decoration), hints on or off, the input focus colour.

#include <QColor>

class QTreeWidget;
class QWidget;

// Removes all rows, redrawing once.
void ClearListView(QTreeWidget* view);
// Clears every selected/current mark, then selects `index`, makes it current
// and scrolls it fully into view; a bad index leaves no row selected.
void SelectListItem(QTreeWidget* view, int index);
void SelectAllListItems(QTreeWidget* view);
void DeselectAllListItems(QTreeWidget* view);
// Index of the first selected row in list order, -1 when none.
int SelectedListIndex(const QTreeWidget* view);

// Shows or suppresses the tool tips of `window` and all its children.
void SetShowHints(QWidget* window, bool on);

// Background of an input field that has the focus: RGB (204, 235, 255).
inline QColor FocusColor() { return QColor(204, 235, 255); }
// Sets the base (background) colour of an edit field.
void SetEditColor(QWidget* edit, const QColor& color);
// Restores the system window colour of an edit field.
void ResetEditColor(QWidget* edit);
