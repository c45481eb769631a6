#pragma once
// Services for tests: records every box, dialog, link, help topic and
// clipboard text instead of showing anything, and answers with preset values.

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include "common/services.h"

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
  QString ChooseOpenFile(QWidget*, FileDialog& d) override {
    fileDialogs.append(d.caption);
    fileDialogSetups.append(d);
    if (filterAnswer >= 0) d.filterIndex = filterAnswer;
    return openAnswer;
  }
  QString ChooseSaveFile(QWidget*, FileDialog& d) override {
    fileDialogs.append(d.caption);
    fileDialogSetups.append(d);
    if (filterAnswer >= 0) d.filterIndex = filterAnswer;
    return saveAnswer;
  }
  // Counts the steps; cancels after progressCancelAfter of them (-1: never).
  class RecordingProgress : public Progress {
   public:
    explicit RecordingProgress(RecordingServices* s) : FServices(s) {}
    bool Step(qint64) override {
      ++FServices->progressSteps;
      return FServices->progressCancelAfter < 0 ||
             FServices->progressSteps <= FServices->progressCancelAfter;
    }

   private:
    RecordingServices* FServices;
  };
  std::unique_ptr<Progress> StartProgress(QWidget*, const QString&, const QString& text,
                                          qint64) override {
    progressTexts.append(text);
    return std::make_unique<RecordingProgress>(this);
  }
  bool OpenUrl(const QUrl& url) override {
    urls.append(url);
    return urlAnswer;
  }
  void ShowHelp(int context) override { helpTopics.append(context); }
  void SetClipboardText(const QString& text) override { clipboard.append(text); }
  // The last text put on the clipboard (tests append one to paste it).
  QString ClipboardText() override { return clipboard.isEmpty() ? QString() : clipboard.last(); }

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
    fileDialogSetups.clear();
    progressTexts.clear();
    progressSteps = 0;
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

  // The set-up of every file dialog (caption, filters, preselected entry...)
  // and the file type a dialog reports as chosen (-1: the preselected one).
  QList<FileDialog> fileDialogSetups;
  int filterAnswer = -1;
  QStringList progressTexts;
  int progressSteps = 0;
  int progressCancelAfter = -1;
};
