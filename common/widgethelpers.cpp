#include "common/widgethelpers.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolBar>
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

QPoint CentredIn(const QRect& area, const QSize& size) {
  return QPoint(area.left() + (area.width() - size.width()) / 2,
                area.top() + (area.height() - size.height()) / 2);
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

QPushButton* NewPushButton(const char* name, const QString& caption, const QString& hint) {
  auto* b = new QPushButton(caption);
  b->setObjectName(QLatin1String(name));
  b->setAutoDefault(false);
  SetHint(b, hint);
  return b;
}

void SetHint(QAction* action, const QString& hint) {
  if (!action) return;
  action->setToolTip(ShortHint(hint));
  action->setStatusTip(LongHint(hint));
}

QAction* AddMenuAction(QMenu* menu, const char* name, const QString& caption, const QString& hint) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(QLatin1String(name));
  if (!hint.isEmpty()) SetHint(a, hint);
  return a;
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

QString QuotedInput(const QString& text) {
  QString quoted = text;
  if (quoted.size() > kQuotedInputLength) {
    qsizetype keep = kQuotedInputLength - 1;
    // Never half of a character outside the basic plane.
    if (quoted.at(keep - 1).isHighSurrogate()) --keep;
    quoted = quoted.left(keep) + QChar(0x2026);
  }
  // A pasted line break or tab would only stretch the box.
  for (QChar& c : quoted)
    if (c.unicode() < 32) c = QLatin1Char(' ');
  return quoted;
}

QStringList LinesAtBlanks(const QString& text, const QFontMetrics& metrics, int width) {
  QStringList lines;
  for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
    QString line;
    for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      if (line.isEmpty()) {
        line = word;
        continue;
      }
      const QString longer = line + QLatin1Char(' ') + word;
      if (metrics.horizontalAdvance(longer) <= width) {
        line = longer;
      } else {
        lines << line;
        line = word;
      }
    }
    lines << line;
  }
  return lines;
}

TBlankWrapLabel::TBlankWrapLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QStringList TBlankWrapLabel::Lines() const {
  const int inner = contentsRect().width() - 2 * margin();
  return LinesAtBlanks(text(), fontMetrics(), inner);
}

int TBlankWrapLabel::TextHeight(int width) const {
  const qsizetype lines = LinesAtBlanks(text(), fontMetrics(), width).size();
  return int(qMax<qsizetype>(1, lines)) * fontMetrics().lineSpacing();
}

int TBlankWrapLabel::heightForWidth(int width) const {
  // The contents margins hold the frame.
  const QMargins m = contentsMargins();
  const int sideways = m.left() + m.right() + 2 * margin();
  const int upright = m.top() + m.bottom() + 2 * margin();
  return TextHeight(width - sideways) + upright;
}

QSize TBlankWrapLabel::sizeHint() const {
  const int width = this->width() > 0 ? this->width() : QLabel::sizeHint().width();
  return QSize(QLabel::sizeHint().width(), heightForWidth(width));
}

QSize TBlankWrapLabel::minimumSizeHint() const {
  return QSize(0, sizeHint().height());
}

void TBlankWrapLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  drawFrame(&painter);
  const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
  const int step = fontMetrics().lineSpacing();
  const Qt::Alignment across = (alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
  QRect line(area.left(), area.top(), area.width(), step);
  for (const QString& text : Lines()) {
    style()->drawItemText(&painter, line, int(across), palette(), isEnabled(), text,
                          foregroundRole());
    line.translate(0, step);
  }
}

TToolBarToggle::TToolBarToggle(QWidget* parent) : QToolButton(parent) {
  setCheckable(true);
  setAutoRaise(true);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize TToolBarToggle::sizeHint() const {
  return QSize(qMax(120, QToolButton::sizeHint().width()), 22);
}

void TToolBarToggle::paintEvent(QPaintEvent* event) {
  // Styles draw a down flat button as a faint frame at most; up it is
  // drawn the style's way.
  if (!isChecked()) {
    QToolButton::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  const QPalette::ColorGroup group = !isEnabled()       ? QPalette::Disabled
                                     : isActiveWindow() ? QPalette::Active
                                                        : QPalette::Inactive;
  QColor fill = palette().color(group, QPalette::Highlight);
  if (isDown()) fill = fill.darker(115);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(fill.darker(130));
  painter.setBrush(fill);
  painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  painter.setRenderHint(QPainter::Antialiasing, false);
  option.palette.setColor(QPalette::ButtonText, palette().color(group, QPalette::HighlightedText));
  option.state &= ~(QStyle::State_On | QStyle::State_Sunken | QStyle::State_Raised);
  painter.drawControl(QStyle::CE_ToolButtonLabel, option);
}

TToolBarToggle* AddToolBarToggle(QToolBar* bar, const char* name, const QString& caption,
                                 const QString& hint) {
  auto* button = new TToolBarToggle(bar);
  button->setObjectName(QLatin1String(name));
  button->setText(caption);
  SetHint(button, hint);
  if (bar) bar->addWidget(button);
  return button;
}
