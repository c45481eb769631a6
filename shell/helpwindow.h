#pragma once
// The help viewer: the program's topics, compiled in as HTML, with an index.

#include <QWidget>

class QListWidget;
class QTextBrowser;

class THelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // Shows topic `context`; an unknown number shows the index page instead.
  void ShowTopic(int context);
  int CurrentTopic() const { return FTopic; }

  // The one viewer of the run, created on first use.
  static THelpWindow* Instance();

 private:
  QListWidget* lstTopics;
  QTextBrowser* txtTopic;
  int FTopic = 0;
};

// Every help topic: its number and title, in index order.
struct THelpTopic {
  int context;
  const char* title;
};
const THelpTopic* HelpTopics(int* count);
// Resource path of topic `context` (":/help/<context>.html").
QString HelpTopicPath(int context);
