#pragma once
// Services for tests: records every box, dialog, link, help topic and
// clipboard text instead of showing anything, and answers with preset values.

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include "shell/services.h"

class RecordingServices : public Services {
 public:
  struct Box {
    QString caption;
    QString text;
    Icon icon;
    int buttons;
  };

  RecordingServices() { Services::Install(this); }
  ~RecordingServices() override { Services::Install(nullptr); }

  int MessageBox(QWidget*, const QString& caption, const QString& text, Icon icon,
                 int buttons) override {
    boxes.append(Box{caption, text, icon, buttons});
    if (boxTakesFocus) PassFocusThroughBox();
    return boxAnswer;
  }
  QString OpenFileName(QWidget*, const QString& caption, const QString&, const QString&) override {
    fileDialogs.append(caption);
    return openAnswer;
  }
  QString SaveFileName(QWidget*, const QString& caption, const QString&, const QString&) override {
    fileDialogs.append(caption);
    return saveAnswer;
  }
  bool OpenUrl(const QUrl& url) override {
    urls.append(url);
    return urlAnswer;
  }
  void ShowHelp(int context) override { helpTopics.append(context); }
  void SetClipboardText(const QString& text) override { clipboard.append(text); }

  // The texts of all boxes shown so far.
  QStringList BoxTexts() const {
    QStringList t;
    for (const Box& b : boxes) t << b.text;
    return t;
  }
  void Reset() {
    boxes.clear();
    fileDialogs.clear();
    urls.clear();
    helpTopics.clear();
    clipboard.clear();
  }

  // A real box is a window of its own: while it is up, the window that asked
  // is deactivated and its focused control loses the focus; both come back
  // when the box closes. Handlers that react to focus changes see it so.
  static void PassFocusThroughBox() {
    QPointer<QWidget> window = QApplication::activeWindow();
    QPointer<QWidget> focus = QApplication::focusWidget();
    {
      QWidget box;
      box.setWindowTitle(QStringLiteral("box"));
      box.setFocusPolicy(Qt::StrongFocus);
      box.show();
      QApplication::setActiveWindow(&box);
      box.setFocus(Qt::ActiveWindowFocusReason);
    }
    if (window) QApplication::setActiveWindow(window);
    if (focus) focus->setFocus(Qt::ActiveWindowFocusReason);
  }

  QList<Box> boxes;
  QStringList fileDialogs;
  QList<QUrl> urls;
  QList<int> helpTopics;
  QStringList clipboard;

  int boxAnswer = Ok;
  bool boxTakesFocus = true;
  QString openAnswer;
  QString saveAnswer;
  bool urlAnswer = true;
};
