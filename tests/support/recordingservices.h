#pragma once
// Services for tests: records every box, dialog, link, help topic and
// clipboard text instead of showing anything, and answers with preset values.

#include <QList>
#include <QStringList>
#include <QUrl>

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

  QList<Box> boxes;
  QStringList fileDialogs;
  QList<QUrl> urls;
  QList<int> helpTopics;
  QStringList clipboard;

  int boxAnswer = Ok;
  QString openAnswer;
  QString saveAnswer;
  bool urlAnswer = true;
};
