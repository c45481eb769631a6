#pragma once
// Helpers shared by the tool windows: report-style list views (QTreeWidget
// without root decoration), hints on or off, the input focus colour, quoting
// typed input in messages, labels that wrap at blanks only, pop-up menu
// entries and the tool bar toggles.

#include <QColor>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QToolButton>

#include "common/themecolors.h"

class QAction;
class QFontMetrics;
class QMenu;
class QPushButton;
class QToolBar;
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

// The top left corner that centres `size` in `area`, each half of the
// difference rounded toward zero.
QPoint CentredIn(const QRect& area, const QSize& size);

// Shows or suppresses the tool tips of `window` and all its children.
void SetShowHints(QWidget* window, bool on);

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

// A push button named `name` with its caption and hint that does not take
// Enter for itself: Enter stays with the window's default button.
QPushButton* NewPushButton(const char* name, const QString& caption, const QString& hint);

// Adds an entry named `name` to `menu` with its caption and hint; an empty
// hint leaves the caption as the tool tip.
QAction* AddMenuAction(QMenu* menu, const char* name, const QString& caption,
                       const QString& hint = QString());

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

// How much of a typed text a message quotes.
constexpr int kQuotedInputLength = 60;
// The typed text as a message quotes it: up to kQuotedInputLength characters,
// a longer one cut and ended with an ellipsis, so that a pasted page of text
// cannot make the message box wider than the screen.
QString QuotedInput(const QString& text);

// Breaks text into lines no wider than `width`, at blanks only: an address
// such as 01:00:5E:00:00:05 stays on one line. A line break in the text
// starts a new line; a word wider than `width` has a line of its own.
QStringList LinesAtBlanks(const QString& text, const QFontMetrics& metrics, int width);

// A label whose text wraps between words only (see LinesAtBlanks), where a
// word-wrapping QLabel would also break after the colons of a MAC address.
// text() is the text as set; the label grows in height for the lines.
class TBlankWrapLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TBlankWrapLabel(QWidget* parent = nullptr);
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  // The lines as drawn at the label's present width.
  QStringList Lines() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int TextHeight(int width) const;
};

// A tool bar toggle whose state shows at a glance: down, it is filled with
// the palette's highlight colour and its caption drawn in the highlighted
// text colour; up, it is a plain flat button. Both read in light and dark
// palettes alike. At least 120 pixels wide and 22 high.
class TToolBarToggle : public QToolButton {
  Q_OBJECT
 public:
  explicit TToolBarToggle(QWidget* parent = nullptr);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// Adds a toggle named `name` with its caption and hint to the tool bar.
TToolBarToggle* AddToolBarToggle(QToolBar* bar, const char* name, const QString& caption,
                                 const QString& hint);
