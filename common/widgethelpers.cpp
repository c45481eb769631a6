#include "common/widgethelpers.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QTreeWidget>
#include <QWidget>

#include <vector>

#include "common/themecolors.h"

namespace {

// Swallows tool-tip events for the windows whose hints are switched off.
// One application-wide filter also covers children created later.
class HintFilter : public QObject {
 public:
  void SetSuppressed(QWidget* window, bool suppressed) {
    Prune();
    auto it = Find(window);
    if (suppressed && it == FWindows.end()) FWindows.emplace_back(window);
    if (!suppressed && it != FWindows.end()) FWindows.erase(it);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip || FWindows.empty() || !watched->isWidgetType())
      return false;
    auto* widget = static_cast<QWidget*>(watched);
    for (const QPointer<QWidget>& w : FWindows) {
      if (w && (w == widget || w->isAncestorOf(widget))) return true;
    }
    return false;
  }

 private:
  std::vector<QPointer<QWidget>>::iterator Find(QWidget* window) {
    for (auto it = FWindows.begin(); it != FWindows.end(); ++it)
      if (*it == window) return it;
    return FWindows.end();
  }
  void Prune() {
    for (auto it = FWindows.begin(); it != FWindows.end();) {
      it = it->isNull() ? FWindows.erase(it) : it + 1;
    }
  }
  std::vector<QPointer<QWidget>> FWindows;
};

HintFilter* TheHintFilter() {
  static QPointer<HintFilter> filter;
  if (!filter && qApp) {
    filter = new HintFilter;
    filter->setParent(qApp);
    qApp->installEventFilter(filter);
  }
  return filter;
}

}  // namespace

void ClearListView(QTreeWidget* view) {
  if (!view) return;
  const bool updates = view->updatesEnabled();
  view->setUpdatesEnabled(false);
  view->clear();
  view->setUpdatesEnabled(updates);
}

void SelectListItem(QTreeWidget* view, int index) {
  if (!view) return;
  if (QItemSelectionModel* model = view->selectionModel()) model->clear();
  QTreeWidgetItem* item = view->topLevelItem(index);
  if (!item) return;
  view->setCurrentItem(item);
  item->setSelected(true);
  view->scrollToItem(item, QAbstractItemView::EnsureVisible);
}

void SelectAllListItems(QTreeWidget* view) {
  if (!view) return;
  for (int i = 0; i < view->topLevelItemCount(); ++i) view->topLevelItem(i)->setSelected(true);
}

void DeselectAllListItems(QTreeWidget* view) {
  if (!view) return;
  for (int i = 0; i < view->topLevelItemCount(); ++i) view->topLevelItem(i)->setSelected(false);
}

int SelectedListIndex(const QTreeWidget* view) {
  if (!view) return -1;
  for (int i = 0; i < view->topLevelItemCount(); ++i)
    if (view->topLevelItem(i)->isSelected()) return i;
  return -1;
}

void SetShowHints(QWidget* window, bool on) {
  if (!window) return;
  if (HintFilter* filter = TheHintFilter()) filter->SetSuppressed(window, !on);
}

void SetEditColor(QWidget* edit, const QColor& color) {
  if (!edit) return;
  QPalette pal = edit->palette();
  pal.setColor(QPalette::Base,
               ReadableBackgroundColour(color, QApplication::palette(edit).color(QPalette::Base)));
  edit->setPalette(pal);
}

void ResetEditColor(QWidget* edit) {
  if (!edit) return;
  QPalette pal = edit->palette();
  pal.setColor(QPalette::Base, QApplication::palette(edit).color(QPalette::Base));
  edit->setPalette(pal);
}

QString ShortHint(const QString& hint) {
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  return bar < 0 ? hint : hint.left(bar);
}

QString LongHint(const QString& hint) {
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetHint(QWidget* widget, const QString& hint) {
  if (!widget) return;
  widget->setToolTip(ShortHint(hint));
  widget->setStatusTip(LongHint(hint));
}

void SetHint(QAction* action, const QString& hint) {
  if (!action) return;
  action->setToolTip(ShortHint(hint));
  action->setStatusTip(LongHint(hint));
}

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  QFont f = font();
  f.setUnderline(true);
  setFont(f);
  SetTextColour(this, Qt::blue);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::TabFocus);
}

void TLinkLabel::mousePressEvent(QMouseEvent* event) {
  // Taken here so the click does not fall through to the parent.
  event->accept();
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
}

void TLinkLabel::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
      event->key() == Qt::Key_Enter) {
    emit clicked();
    return;
  }
  QLabel::keyPressEvent(event);
}
