#include "common/helpwindow.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const THelpTopic kTopics[] = {
    {500, "HowTo hints"},
    {1000, "IPv4 Calculator"},
    {470, "Multicast IP to MAC address"},
    {1900, "IP Host List Editor"},
    {2000, "Mask Chart"},
    {3000, "Integer Calculator"},
    {4000, "IPv6 Calculator"},
    {5000, "Network Sets"},
    {6000, "Address Planner"},
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

  edtSearch = new QLineEdit;
  edtSearch->setObjectName(QStringLiteral("edtSearch"));
  edtSearch->setPlaceholderText(tr("Search"));
  edtSearch->setClearButtonEnabled(true);
  edtSearch->setToolTip(tr("Lists the topics that contain every word typed here"));

  lstTopics = new QListWidget;
  lstTopics->setObjectName(QStringLiteral("lstTopics"));
  int count = 0;
  const THelpTopic* topics = HelpTopics(&count);
  for (int i = 0; i < count; ++i) {
    auto* item = new QListWidgetItem(QString::fromLatin1(topics[i].title), lstTopics);
    item->setData(Qt::UserRole, topics[i].context);
    QFile file(HelpTopicPath(topics[i].context));
    const QString html = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "";
    FTopicTexts.append(QTextDocumentFragment::fromHtml(html).toPlainText());
  }
  // The index shows its longest title whole.
  lstTopics->setMinimumWidth(lstTopics->sizeHintForColumn(0) + 2 * lstTopics->frameWidth() + 8);

  txtTopic = new QTextBrowser;
  txtTopic->setObjectName(QStringLiteral("txtTopic"));
  txtTopic->setOpenExternalLinks(true);
  txtTopic->setSearchPaths({QStringLiteral(":/help")});

  auto* index = new QWidget;
  auto* indexLayout = new QVBoxLayout(index);
  indexLayout->setContentsMargins(0, 0, 0, 0);
  indexLayout->addWidget(edtSearch);
  indexLayout->addWidget(lstTopics);
  auto* splitter = new QSplitter;
  splitter->addWidget(index);
  splitter->addWidget(txtTopic);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({lstTopics->minimumWidth(), 760 - lstTopics->minimumWidth()});
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(splitter);

  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  connect(edtSearch, &QLineEdit::textChanged, this, &THelpWindow::Search);
  connect(edtSearch, &QLineEdit::returnPressed, this, [this] {
    // Enter goes to the next place the first word stands in the topic.
    const QString word = edtSearch->text().simplified().section(QLatin1Char(' '), 0, 0);
    if (!word.isEmpty() && !txtTopic->find(word)) {
      txtTopic->moveCursor(QTextCursor::Start);
      txtTopic->find(word);
    }
  });
  connect(lstTopics, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (item) ShowTopic(item->data(Qt::UserRole).toInt());
  });
  // Links between topics are written as "<number>.html".
  connect(txtTopic, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
    const int context = url.fileName().section(QLatin1Char('.'), 0, 0).toInt();
    if (context == FTopic) return;
    FTopic = context;
    MarkTopicInIndex(context);
  });
}

void THelpWindow::MarkTopicInIndex(int context) {
  // Marked only: the index's own signal would show the topic once more.
  const QSignalBlocker block(lstTopics);
  for (int i = 0; i < lstTopics->count(); ++i)
    if (lstTopics->item(i)->data(Qt::UserRole).toInt() == context) lstTopics->setCurrentRow(i);
}

void THelpWindow::ShowTopic(int context) {
  if (!QFile::exists(HelpTopicPath(context))) context = 500;
  FTopic = context;
  MarkTopicInIndex(context);
  txtTopic->setSource(QUrl(QStringLiteral("qrc") + HelpTopicPath(context)));
}

void THelpWindow::Open(int context) {
  ShowTopic(context);
  // A modal dialog blocks every window that is not its own. Made a
  // transient of the dialog, the viewer takes keys and clicks while the
  // dialog is up, stays in front of it, and lives on after it closes.
  winId();
  QWindow* over = nullptr;
  if (QWidget* modal = QApplication::activeModalWidget()) over = modal->window()->windowHandle();
  windowHandle()->setTransientParent(over);
  show();
  raise();
  activateWindow();
}

void THelpWindow::Search(const QString& text) {
  const QStringList words = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
  QListWidgetItem* first = nullptr;
  for (int i = 0; i < lstTopics->count(); ++i) {
    QListWidgetItem* item = lstTopics->item(i);
    const QString& body = FTopicTexts.at(i);
    bool all = true;
    for (const QString& w : words)
      all = all && (body.contains(w, Qt::CaseInsensitive) ||
                    item->text().contains(w, Qt::CaseInsensitive));
    item->setHidden(!all);
    if (all && !first) first = item;
  }
  if (words.isEmpty()) return;
  // The topic shown holds the words when any topic does.
  QListWidgetItem* current = lstTopics->currentItem();
  if (first && (!current || current->isHidden())) lstTopics->setCurrentItem(first);
  txtTopic->moveCursor(QTextCursor::Start);
  txtTopic->find(words.first());
}

THelpWindow* THelpWindow::Instance() {
  static QPointer<THelpWindow> window;
  if (!window) {
    window = new THelpWindow;
    window->setAttribute(Qt::WA_DeleteOnClose, false);
  }
  return window;
}
