#include "shell/services.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

#include "shell/helpwindow.h"

namespace {

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

  QString OpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
  }

  QString SaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
  }

  bool OpenUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }

  void ShowHelp(int context) override {
    THelpWindow* help = THelpWindow::Instance();
    help->ShowTopic(context);
    help->show();
    help->raise();
    help->activateWindow();
  }

  void SetClipboardText(const QString& text) override {
    QGuiApplication::clipboard()->setText(text);
  }
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
