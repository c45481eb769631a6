// The main window's tool table, row by row: each row's action sits in the
// Start menu and on the tool bar in table order, opens a window of its own
// class and kind with the action's icon, answers F1 with the row's topic and
// keeps its size under its own keys; each start-up bit opens its tool at
// start and is its item in the options' start-up list.

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QSet>
#include <QSignalSpy>
#include <QToolBar>
#include <QtTest>

#include "common/settingsstore.h"
#include "common/tcchild.h"
#include "guifixture.h"
#include "shell/mainwindow.h"
#include "shell/optionsdialog.h"
#include "shell/tooltable.h"
#include "testfiles.h"

namespace {

// The window class of each kind, written down apart from the table, so a
// row whose factory makes another tool's window shows here.
QByteArray ExpectedClass(int kind) {
  switch (kind) {
    case wkIpCalc:
      return "TcIpCalc";
    case wkMaskChart:
      return "TcMaskChart";
    case wkIntConv:
      return "TcIntConv";
    case wkIpv6Calc:
      return "TcIpv6Calc";
    case wkNetSets:
      return "TcNetSets";
    case wkPlanner:
      return "TcPlanner";
    default:
      return "no window class known for this kind";
  }
}

// One row per tool, named after its action.
void AddToolRows(bool startupOnly) {
  QTest::addColumn<int>("row");
  const std::vector<TToolInfo>& tools = ToolTable();
  for (size_t i = 0; i < tools.size(); ++i)
    if (!startupOnly || tools[i].startupBit) QTest::newRow(tools[i].actionName) << int(i);
}

QImage IconImage(const QIcon& icon) {
  return icon.pixmap(QSize(16, 16)).toImage();
}

}  // namespace

class TestToolTable : public QObject, protected GuiFixture {
  Q_OBJECT
  std::unique_ptr<TfrmMain> FMain;

  // Writes the settings file, builds and shows the windows, ends the splash.
  TfrmMain* Start(int startupPages) {
    WriteAll(FIni, "[Options]\nStartupPages=" + QByteArray::number(startupPages) + "\n");
    FMain.reset(CreateOrvexWindows());
    FMain->show();
    FMain->tmrSplashTimer();
    return FMain.get();
  }

 private slots:
  void init() { SetUpGui(); }
  void cleanup() {
    FMain.reset();
    TearDownGui();
  }

  // Kinds, action names and start-up bits each belong to one row; the
  // options compare exactly the bits the rows have.
  void rowsAreDistinct() {
    QSet<int> kinds;
    QSet<QByteArray> names;
    int bits = 0;
    for (const TToolInfo& tool : ToolTable()) {
      QVERIFY2(tool.kind != wkNone && !kinds.contains(tool.kind), tool.actionName);
      kinds << tool.kind;
      QVERIFY2(!names.contains(tool.actionName), tool.actionName);
      names << tool.actionName;
      QCOMPARE(FindTool(tool.kind), &tool);
      if (!tool.startupBit) continue;
      QVERIFY2((tool.startupBit & (tool.startupBit - 1)) == 0, tool.actionName);
      QVERIFY2(!(bits & tool.startupBit), tool.actionName);
      bits |= tool.startupBit;
    }
    QCOMPARE(bits, kKnownStartupPages);
  }

  void actionOpensItsWindow_data() { AddToolRows(false); }
  void actionOpensItsWindow() {
    QFETCH(int, row);
    const TToolInfo& tool = ToolTable()[size_t(row)];
    TfrmMain* m = Start(0);
    auto* action = m->findChild<QAction*>(tool.actionName);
    QVERIFY(action);
    QCOMPARE(m->ToolAction(tool.kind), action);
    QVERIFY(action->isEnabled());
    QVERIFY(!action->shortcut().isEmpty());
    QCOMPARE(m->Start1->actions().indexOf(action), row);
    QCOMPARE(m->ToolBar1->actions().indexOf(action), row);

    action->trigger();
    QCOMPARE(m->ToolWindows().size(), 1);
    TcChild* w = m->ToolWindows().first();
    QCOMPARE(QByteArray(w->metaObject()->className()), ExpectedClass(tool.kind));
    QCOMPARE(w->FWindowKind, tool.kind);
    QCOMPARE(IconImage(w->windowIcon()), IconImage(action->icon()));

    m->mdiArea->setActiveSubWindow(w);
    m->acHelp->trigger();
    QCOMPARE(FServices->helpTopics, QList<int>{tool.helpTopic});

    w->close();
    const SettingsFile ini(FIni);
    const QString kind = QString::number(tool.kind);
    QVERIFY(ini.ValueExists("Size", "Width" + kind));
    QVERIFY(ini.ValueExists("Size", "Height" + kind));
    QVERIFY(FServices->boxes.isEmpty());
  }

  void startupBitOpensItsWindow_data() { AddToolRows(true); }
  void startupBitOpensItsWindow() {
    QFETCH(int, row);
    const TToolInfo& tool = ToolTable()[size_t(row)];
    TfrmMain* m = Start(tool.startupBit);
    QCOMPARE(m->ToolWindows().size(), 1);
    QCOMPARE(m->ToolWindows().first()->FWindowKind, tool.kind);

    // The options' start-up list shows the bit checked under the tool's name.
    auto* list = m->frmLOptions->clbStartup;
    QList<QListWidgetItem*> checked;
    for (int i = 0; i < list->count(); ++i)
      if (list->item(i)->checkState() == Qt::Checked) checked << list->item(i);
    QCOMPARE(checked.size(), 1);
    QCOMPARE(checked.first()->text(), QString(tool.startupText));
    QCOMPARE(m->frmLOptions->StartupPagesFromChecks(), tool.startupBit);
  }

  // Every bit at once opens every tool in table order; a bit no tool has
  // opens nothing.
  void allStartupBitsOpenInTableOrder() {
    TfrmMain* m = Start(kKnownStartupPages | 0x40);
    QList<int> opened, expected;
    for (TcChild* w : m->ToolWindows()) opened << w->FWindowKind;
    for (const TToolInfo& tool : ToolTable())
      if (tool.startupBit) expected << tool.kind;
    QCOMPARE(opened, expected);
    QCOMPARE(m->frmLOptions->clbStartup->count(), expected.size());
  }

  void kindWithoutToolOpensNothing_data() {
    QTest::addColumn<int>("kind");
    for (int kind : {int(wkNone), 2, 10, -1}) QTest::addRow("%d", kind) << kind;
  }
  void kindWithoutToolOpensNothing() {
    QFETCH(int, kind);
    TfrmMain* m = Start(0);
    QVERIFY(!FindTool(kind));
    QVERIFY(!m->ToolAction(kind));
    m->OpenToolWindow(kind);
    QVERIFY(m->ToolWindows().isEmpty());
    QVERIFY(FServices->boxes.isEmpty());
  }

  // Ending the program with an edited plan asks first; No keeps the program
  // and the plan, Yes ends both without asking again.
  void unsavedPlanKeepsTheProgramOpen() {
    TfrmMain* m = Start(0);
    m->ToolAction(wkPlanner)->trigger();
    QCOMPARE(m->ToolWindows().size(), 1);
    auto* parents = m->ToolWindows().first()->findChild<QLineEdit*>("edtPlanParents");
    QVERIFY(parents);
    QTest::keyClicks(parents, "10.0.0.0/8");
    FServices->boxAnswer = Services::No;
    QVERIFY(!m->close());
    QCOMPARE(FServices->BoxTexts(), QStringList{"Discard changes?"});
    QCOMPARE(m->ToolWindows().size(), 1);
    QSignalSpy closed(m, &TfrmMain::Closed);
    FServices->boxAnswer = Services::Yes;
    QVERIFY(m->close());
    QCOMPARE(FServices->boxes.size(), 2);
    QCOMPARE(closed.count(), 1);
    QVERIFY(m->ToolWindows().isEmpty());
  }

  // Ended by the system (logout, a termination signal) nobody can answer:
  // the program ends without a box, the edited plan is kept in the settings
  // folder, never over the user's own file, and the next planner opens it
  // as the unsaved plan it was.
  void endedBySystemKeepsTheEditedPlan() {
    TfrmMain* m = Start(0);
    const QString kept = QFileInfo(FIni).absoluteDir().filePath("unsaved-plan.json");
    WriteAll(kept, "in the way");  // a plan kept before is not overwritten
    m->ToolAction(wkPlanner)->trigger();
    auto* parents = m->ToolWindows().first()->findChild<QLineEdit*>("edtPlanParents");
    QVERIFY(parents);
    QTest::keyClicks(parents, "10.0.0.0/8");
    QSignalSpy closed(m, &TfrmMain::Closed);
    m->EndBySystem();
    QVERIFY(FServices->boxes.isEmpty());
    QCOMPARE(closed.count(), 1);
    const QString second = QFileInfo(FIni).absoluteDir().filePath("unsaved-plan-2.json");
    QVERIFY(QFileInfo::exists(second));
    QCOMPARE(SettingsFile(FIni).ReadString("Planner", "LastFile", QString()), second);

    // The settings file as the first run left it.
    FMain.reset(CreateOrvexWindows());
    TfrmMain* again = FMain.get();
    again->show();
    again->tmrSplashTimer();
    again->ToolAction(wkPlanner)->trigger();
    parents = again->ToolWindows().first()->findChild<QLineEdit*>("edtPlanParents");
    QCOMPARE(parents->text(), QStringLiteral("10.0.0.0/8"));
    QVERIFY(FServices->boxes.isEmpty());
    // Back unsaved and untitled; the kept file is gone, the other one stays.
    QCOMPARE(again->ToolWindows().first()->windowTitle(), QStringLiteral("Address Planner *"));
    QVERIFY(!QFileInfo::exists(second));
    QVERIFY(QFileInfo::exists(kept));
    FServices->boxAnswer = Services::No;
    QVERIFY(!again->close());
    QCOMPARE(FServices->BoxTexts(), QStringList{"Discard changes?"});
  }
};

QTEST_MAIN(TestToolTable)
#include "tst_tooltable.moc"
