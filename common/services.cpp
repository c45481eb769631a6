#include "common/services.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>

#include "common/helpwindow.h"

namespace {

// "*.*" hides files without a dot on this platform; the "All files" entries
// match every file here.
QStringList PlatformFilters(const QStringList& filters) {
  QStringList shown;
  for (QString f : filters) shown << f.replace(QLatin1String("(*.*)"), QLatin1String("(*)"));
  return shown;
}

QString RunFileDialog(QWidget* parent, Services::FileDialog& d, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, d.caption, d.directory);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  const QStringList shown = PlatformFilters(d.filters);
  dialog.setNameFilters(shown);
  if (d.filterIndex >= 0 && d.filterIndex < shown.size())
    dialog.selectNameFilter(shown.at(d.filterIndex));
  if (!d.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(d.defaultSuffix);
  if (!d.fileName.isEmpty()) dialog.selectFile(d.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  const qsizetype chosen = shown.indexOf(dialog.selectedNameFilter());
  if (chosen >= 0) d.filterIndex = int(chosen);
  return dialog.selectedFiles().first();
}

// Repaints at most every 50 ms, so a fast loop is not slowed by its box.
class QtProgress : public Services::Progress {
 public:
  QtProgress(QWidget* parent, const QString& caption, const QString& text, qint64 total)
      : FDialog(text, QStringLiteral("Cancel"), 0, kSteps, parent), FTotal(qMax<qint64>(1, total)) {
    FDialog.setWindowTitle(caption);
    FDialog.setWindowModality(Qt::WindowModal);
    FDialog.setMinimumDuration(400);
    FDialog.setAutoClose(false);
    FDialog.setAutoReset(false);
    FDialog.setValue(0);
    FTimer.start();
  }
  bool Step(qint64 done) override {
    const qint64 now = FTimer.elapsed();
    if (now - FLast >= 50) {
      FLast = now;
      FDialog.setValue(int(qBound<qint64>(0, done, FTotal) * kSteps / FTotal));
    }
    return !FDialog.wasCanceled();
  }

 private:
  static constexpr int kSteps = 1000;
  QProgressDialog FDialog;
  qint64 FTotal;
  QElapsedTimer FTimer;
  qint64 FLast = 0;
};

class QtServices : public Services {
 public:
  int MessageBox(QWidget* parent, const QString& caption, const QString& text, Icon icon,
                 int buttons) override {
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
      case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
      case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
      case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
      case Icon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
      case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    QMessageBox::StandardButtons standard;
    if (buttons & Ok) standard |= QMessageBox::Ok;
    if (buttons & Yes) standard |= QMessageBox::Yes;
    if (buttons & No) standard |= QMessageBox::No;
    if (buttons & Cancel) standard |= QMessageBox::Cancel;
    if (standard == QMessageBox::NoButton) standard = QMessageBox::Ok;
    box.setStandardButtons(standard);
    switch (buttons >> 8) {
      case Yes:
        box.setDefaultButton(QMessageBox::Yes);
        break;
      case No:
        box.setDefaultButton(QMessageBox::No);
        break;
      case Cancel:
        box.setDefaultButton(QMessageBox::Cancel);
        break;
      case Ok:
        box.setDefaultButton(QMessageBox::Ok);
        break;
      default:
        break;
    }
    switch (box.exec()) {
      case QMessageBox::Yes:
        return Yes;
      case QMessageBox::No:
        return No;
      case QMessageBox::Cancel:
        return Cancel;
      case QMessageBox::Ok:
        return Ok;
      default:
        // Closed by the frame or Escape without a cancel button.
        if (buttons & Cancel) return Cancel;
        if (buttons & No) return No;
        return Ok;
    }
  }

  QString ChooseOpenFile(QWidget* parent, FileDialog& d) override {
    return RunFileDialog(parent, d, QFileDialog::AcceptOpen);
  }

  QString ChooseSaveFile(QWidget* parent, FileDialog& d) override {
    return RunFileDialog(parent, d, QFileDialog::AcceptSave);
  }

  std::unique_ptr<Progress> StartProgress(QWidget* parent, const QString& caption,
                                          const QString& text, qint64 total) override {
    return std::make_unique<QtProgress>(parent, caption, text, total);
  }

  bool OpenUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }

  void ShowHelp(int context) override { THelpWindow::Instance()->Open(context); }

  void SetClipboardText(const QString& text) override {
    QGuiApplication::clipboard()->setText(text);
  }

  QString ClipboardText() override { return QGuiApplication::clipboard()->text(); }
};

Services* g_installed = nullptr;

}  // namespace

Services& Services::Instance() {
  if (g_installed) return *g_installed;
  static QtServices qtServices;
  return qtServices;
}

void Services::Install(Services* s) {
  g_installed = s;
}

void ShowErrorBox(QWidget* parent, const QString& text) {
  Services::Instance().MessageBox(parent, QStringLiteral("Error"), text, Services::Icon::Stop,
                                  Services::Ok);
}
