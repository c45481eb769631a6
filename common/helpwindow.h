#pragma once
// The help viewer: the program's topics, compiled in as HTML, with an index
// and a search field.

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

class THelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // Shows topic `context`; an unknown number shows the index page instead.
  void ShowTopic(int context);
  // Shows topic `context` in front, usable even while a modal dialog is up
  // (the dialog's Help button or F1 opens it there).
  void Open(int context);
  int CurrentTopic() const { return FTopic; }

  // Lists only the topics that hold every word of `text` (all when empty)
  // and marks the first word in the topic shown.
  void Search(const QString& text);

  // The one viewer of the run, created on first use.
  static THelpWindow* Instance();

 private:
  // Selects the index row of topic `context`, if the index lists it.
  void MarkTopicInIndex(int context);

  QLineEdit* edtSearch;
  QListWidget* lstTopics;
  QTextBrowser* txtTopic;
  int FTopic = 0;
  QStringList FTopicTexts;  // plain text of every topic, for the search
};

// Every help topic: its number and title, in index order.
struct THelpTopic {
  int context;
  const char* title;
};
const THelpTopic* HelpTopics(int* count);
// Resource path of topic `context` (":/help/<context>.html").
QString HelpTopicPath(int context);
