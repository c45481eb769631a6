#include "shell/helpwindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>

namespace {

const THelpTopic kTopics[] = {
    {500, "HowTo hints"},
    {1000, "IPv4 Calculator"},
    {470, "Multicast IP to MAC address"},
    {1900, "IP Host List Editor"},
    {2000, "Mask Chart"},
    {3000, "Integer Calculator"},
    {19100, "Options: Startup"},
    {19800, "Options: Integer Calculator"},
    {19900, "Options: General"},
    {19920, "Options: Paths"},
    {19940, "Options: Data Formats"},
};

}  // namespace

const THelpTopic* HelpTopics(int* count) {
  *count = int(sizeof(kTopics) / sizeof(kTopics[0]));
  return kTopics;
}

QString HelpTopicPath(int context) {
  return QStringLiteral(":/help/%1.html").arg(context);
}

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("THelpWindow"));
  setWindowTitle(tr("Orvex Lite Help"));
  resize(760, 520);

  lstTopics = new QListWidget;
  lstTopics->setObjectName(QStringLiteral("lstTopics"));
  int count = 0;
  const THelpTopic* topics = HelpTopics(&count);
  for (int i = 0; i < count; ++i) {
    auto* item = new QListWidgetItem(QString::fromLatin1(topics[i].title), lstTopics);
    item->setData(Qt::UserRole, topics[i].context);
  }

  txtTopic = new QTextBrowser;
  txtTopic->setObjectName(QStringLiteral("txtTopic"));
  txtTopic->setOpenExternalLinks(true);
  txtTopic->setSearchPaths({QStringLiteral(":/help")});

  auto* splitter = new QSplitter;
  splitter->addWidget(lstTopics);
  splitter->addWidget(txtTopic);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({200, 560});
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(splitter);

  connect(lstTopics, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (item) ShowTopic(item->data(Qt::UserRole).toInt());
  });
  // Links between topics are written as "<number>.html".
  connect(txtTopic, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
    const int context = url.fileName().section(QLatin1Char('.'), 0, 0).toInt();
    if (context == FTopic) return;
    FTopic = context;
    for (int i = 0; i < lstTopics->count(); ++i) {
      if (lstTopics->item(i)->data(Qt::UserRole).toInt() == context) {
        const QSignalBlocker block(lstTopics);
        lstTopics->setCurrentRow(i);
      }
    }
  });
}

void THelpWindow::ShowTopic(int context) {
  if (!QFile::exists(HelpTopicPath(context))) context = 500;
  FTopic = context;
  for (int i = 0; i < lstTopics->count(); ++i) {
    if (lstTopics->item(i)->data(Qt::UserRole).toInt() == context) {
      const QSignalBlocker block(lstTopics);
      lstTopics->setCurrentRow(i);
    }
  }
  txtTopic->setSource(QUrl(QStringLiteral("qrc") + HelpTopicPath(context)));
}

THelpWindow* THelpWindow::Instance() {
  static QPointer<THelpWindow> window;
  if (!window) {
    window = new THelpWindow;
    window->setAttribute(Qt::WA_DeleteOnClose, false);
  }
  return window;
}
