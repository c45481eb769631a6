#include "common/tcchild.h"

#include <QCloseEvent>
#include <QResizeEvent>
#include <QScrollArea>
#include <QStyle>

#include "common/settingsstore.h"

namespace {

QString SizeKey(const char* name, int kind) {
  return QLatin1String(name) + QString::number(kind);
}

}  // namespace

TcChild::TcChild(QWidget* parent) : QMdiSubWindow(parent) {
  // A closed tool window is gone, not hidden: each opening starts afresh.
  setAttribute(Qt::WA_DeleteOnClose);
}

void TcChild::SaveWindowSize() {
  // A minimized or maximized window keeps its own size for when it is
  // restored; that is the size to open with next time, not the icon's or
  // the whole area's.
  const bool normal = !isMinimized() && !isMaximized();
  const QSize size = normal || !FNormalSize.isValid() ? this->size() : FNormalSize;
  SettingsFile ini(IniFileName());
  ini.WriteInteger(QStringLiteral("Size"), SizeKey("Width", FWindowKind), size.width());
  ini.WriteInteger(QStringLiteral("Size"), SizeKey("Height", FWindowKind), size.height());
}

void TcChild::LoadWindowSize() {
  const SettingsFile ini(IniFileName());
  const int w = ini.ReadInteger(QStringLiteral("Size"), SizeKey("Width", FWindowKind), 0);
  const int h = ini.ReadInteger(QStringLiteral("Size"), SizeKey("Height", FWindowKind), 0);
  // Negative sizes can only come from a hand-edited file; they mean nothing.
  if (w > 0 && h > 0) resize(QSize(w, h).expandedTo(UsableMinimumSize()));
}

QSize TcChild::UsableMinimumSize() const {
  QSize least = minimumSizeHint();
  // Content that scrolls as a whole would let the layout's minimum shrink
  // to two scroll bars under a title bar; its controls keep their size, so
  // the window is of use only with all of them in view.
  if (auto* scroll = qobject_cast<QScrollArea*>(widget()); scroll && scroll->widget()) {
    const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const QSize content =
        scroll->widget()->minimumSize().expandedTo(scroll->widget()->minimumSizeHint());
    const int border = 2 * scroll->frameWidth();
    least = least.expandedTo(content + QSize(2 * frame + border, title + frame + border));
  }
  return least;
}

void TcChild::RestoreMaximized() {
  const SettingsFile ini(IniFileName());
  if (ini.ReadBool(QStringLiteral("Size"), QStringLiteral("Maximized"), false)) showMaximized();
}

void TcChild::resizeEvent(QResizeEvent* event) {
  if (!isMinimized() && !isMaximized()) FNormalSize = event->size();
  QMdiSubWindow::resizeEvent(event);
}

void TcChild::closeEvent(QCloseEvent* event) {
  SaveState();
  SaveWindowSize();
  QMdiSubWindow::closeEvent(event);
}

void TcChild::DetachChildren() {
  for (QObject* o : findChildren<QObject*>()) {
    QObject::disconnect(o, nullptr, this, nullptr);
    o->removeEventFilter(this);
  }
}
