#include "shell/tcchild.h"

#include <QCloseEvent>

#include "shell/settingsstore.h"

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
  SettingsFile ini(IniFileName());
  ini.WriteInteger(QStringLiteral("Size"), SizeKey("Width", FWindowKind), width());
  ini.WriteInteger(QStringLiteral("Size"), SizeKey("Height", FWindowKind), height());
}

void TcChild::LoadWindowSize() {
  const SettingsFile ini(IniFileName());
  const int w = ini.ReadInteger(QStringLiteral("Size"), SizeKey("Width", FWindowKind), 0);
  const int h = ini.ReadInteger(QStringLiteral("Size"), SizeKey("Height", FWindowKind), 0);
  // Negative sizes can only come from a hand-edited file; they mean nothing.
  if (w > 0 && h > 0) resize(w, h);
}

void TcChild::RestoreMaximized() {
  const SettingsFile ini(IniFileName());
  if (ini.ReadBool(QStringLiteral("Size"), QStringLiteral("Maximized"), false)) showMaximized();
}

void TcChild::closeEvent(QCloseEvent* event) {
  SaveState();
  SaveWindowSize();
  QMdiSubWindow::closeEvent(event);
}
