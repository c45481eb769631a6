#pragma once
// Helpers shared by the tool windows: report-style list views (QTreeWidget
// without root decoration), hints on or off, the input focus colour.

#include <QColor>
#include <QLabel>
#include <QString>

class QAction;
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
inline QColor FocusColor() {
  return QColor(204, 235, 255);
}
// Sets the base (background) colour of an edit field.
void SetEditColor(QWidget* edit, const QColor& color);
// Restores the system window colour of an edit field.
void ResetEditColor(QWidget* edit);

// Hints are written "short|long": the short part is the tool tip, the long
// part goes to the status bar. A hint without "|" is used for both.
QString ShortHint(const QString& hint);
QString LongHint(const QString& hint);
void SetHint(QWidget* widget, const QString& hint);
void SetHint(QAction* action, const QString& hint);

// A label that acts as a web-style link: blue, underlined, hand cursor, and
// a clicked() signal.
class TLinkLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TLinkLabel(const QString& text, QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};
