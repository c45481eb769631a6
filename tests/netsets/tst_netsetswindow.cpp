// The Network Sets window driven through its controls, offscreen: typed lists
// and every operation, the count lines, the problem list, the notation, the
// kept operation and notation, the hand-over to a calculator, copying and
// saving through the services, and runs on the worker thread cancelled by the
// user, by a new run and by closing the window.

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QThreadPool>
#include <QtTest>

#include "common/optionsrec.h"
#include "common/rowlistview.h"
#include "common/settingsstore.h"
#include "guifixture.h"
#include "netsets/tcnetsets.h"
#include "testfiles.h"

Q_DECLARE_METATYPE(TCalcRequest)

namespace {

// Every row of a list, its cells joined by " ; ", rows by " | ".
QString Rows(const QAbstractItemView* view) {
  const QAbstractItemModel* m = view->model();
  QStringList out;
  for (int r = 0; r < m->rowCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < m->columnCount(); ++c) cells << m->index(r, c).data().toString();
    out << cells.join(" ; ");
  }
  return out.join(" | ");
}

// A list of n addresses, every other one of 10.0.0.0/8: n separate networks.
QString LargeList(int n) {
  QString t;
  t.reserve(n * 14);
  for (int i = 0; i < n; ++i) {
    const int v = 2 * i;
    t += QStringLiteral("10.%1.%2.%3\n").arg(v >> 16).arg(v >> 8 & 255).arg(v & 255);
  }
  return t;
}

}  // namespace

class TestNetSetsWindow : public QObject, protected GuiFixture {
  Q_OBJECT
  QPointer<TcNetSets> FWindow;

  template <typename T>
  T* Find(const char* name) const {
    T* w = FWindow->findChild<T*>(QLatin1String(name));
    if (!w) qWarning("no control %s", name);
    return w;
  }
  QString Text(const char* name) const { return Find<QLabel>(name)->text(); }
  void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
  void Type(const char* name, const QString& text) {
    auto* e = Find<QPlainTextEdit>(name);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
      if (i) QTest::keyClick(e, Qt::Key_Return);
      QTest::keyClicks(e, lines[i]);
    }
  }
  void Choose(const char* name, int index) { Find<QComboBox>(name)->setCurrentIndex(index); }
  TRowListView* Result() const { return Find<TRowListView>("lvSetResult"); }

  void OpenWindow() {
    FWindow = new TcNetSets;
    FWindow->FWindowKind = wkNetSets;
    FArea->addSubWindow(FWindow);
    TOptionsRec rec;
    rec.IniFileName = FIni;
    rec.RecallDesktopSettings = false;
    FWindow->ApplyOptions(rec);
    FWindow->show();
    FArea->setActiveSubWindow(FWindow);
  }
  // Runs the operation on the typed lists and returns the result rows.
  QString RunOn(const QString& a, const QString& b, int op) {
    Type("edtSetA", a);
    Type("edtSetB", b);
    Choose("cbxSetOperation", op);
    Click("btnSetRun");
    return Rows(Result());
  }
  // Fills list A with text at once, as a paste does.
  void Paste(const QString& text) { Find<QPlainTextEdit>("edtSetA")->setPlainText(text); }
  void PopupAction(const char* name) {
    emit Result()->customContextMenuRequested(QPoint(4, 4));
    auto* menu = Find<QMenu>("pmSetResult");
    QAction* a = menu->findChild<QAction*>(QLatin1String(name));
    QVERIFY2(a, name);
    QVERIFY(a->isEnabled());
    menu->hide();
    a->trigger();
  }

 private slots:
  void init() {
    SetUpGui();
    ShowArea(1000, 700);
    OpenWindow();
  }
  void cleanup() {
    if (FWindow) FWindow->close();
    // Workers left behind by cancelled runs end before the next test.
    QThreadPool::globalInstance()->waitForDone();
    TearDownGui();
  }

  void operations_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("count");
    QTest::newRow("aggregate") << "10.0.0.0/25\n10.0.0.128/25\n2001:db8::1"
                               << "" << 0 << "10.0.0.0/24 ; 256 | 2001:db8::1/128 ; 1"
                               << "2 networks";
    QTest::newRow("union") << "10.0.0.0/24"
                           << "10.0.1.0/24" << 1 << "10.0.0.0/23 ; 512"
                           << "1 network";
    QTest::newRow("intersection") << "10.0.0.0/16"
                                  << "10.0.7.0/24\n172.16.0.0/12" << 2 << "10.0.7.0/24 ; 256"
                                  << "1 network";
    QTest::newRow("difference") << "10.0.0.0/30"
                                << "10.0.0.2" << 3 << "10.0.0.0/31 ; 2 | 10.0.0.3/32 ; 1"
                                << "2 networks";
    QTest::newRow("ranges") << "10.0.0.1 - 10.0.0.77\n10.0.0.78"
                            << "" << 4 << "10.0.0.1 - 10.0.0.78 ; 78"
                            << "1 range";
    QTest::newRow("summary") << "10.0.0.0/24\n10.0.3.0/24"
                             << "" << 5 << "10.0.0.0/22 ; 512"
                             << "1 network";
    QTest::newRow("overlaps") << "10.0.0.0/24"
                              << "10.0.0.9\n192.168.0.0/16" << 6
                              << "10.0.0.0/24 ; A 1 ; contains ; 10.0.0.9 ; B 1"
                              << "1 overlapping pair";
  }
  void operations() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, op);
    QFETCH(QString, rows);
    QFETCH(QString, count);
    QCOMPARE(RunOn(a, b, op), rows);
    QCOMPARE(Text("lblSetResultCount"), count);
    QVERIFY(Rows(Find<TRowListView>("lvSetProblems")).isEmpty());
    QVERIFY(FServices->boxes.isEmpty());
  }

  // Lines that do not read are listed with their list and line, the rest
  // still computed, and the count says how many were left out.
  void problemsListed() {
    QCOMPARE(RunOn("10.0.0.0/24\n10.0.0.300\n10.0.1.0/24", "# B\n10.0.0.9-10.0.0.1", 3),
             QString("10.0.0.0/23 ; 512"));
    QCOMPARE(Rows(Find<TRowListView>("lvSetProblems")),
             QString("A ; 2 ; 10.0.0.300 ; not an IPv4 or IPv6 address | "
                     "B ; 2 ; 10.0.0.9-10.0.0.1 ; range given backwards"));
    QCOMPARE(Text("lblSetResultCount"), QString("1 network (2 entries ignored, see Problems)"));
    // A new run without them clears the list.
    QCOMPARE(RunOn("10.0.0.0/24", "", 0), QString("10.0.0.0/24 ; 256"));
    QVERIFY(Rows(Find<TRowListView>("lvSetProblems")).isEmpty());
  }

  // The count lines follow typing after a pause, before any run.
  void countsFollowTyping_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("count");
    QTest::newRow("nothing") << ""
                             << "0 lines, 0 networks, 0 addresses";
    QTest::newRow("two networks") << "10.0.0.0/24\n10.0.2.0/24"
                                  << "2 lines, 2 networks, 512 addresses";
    QTest::newRow("touching halves") << "10.0.0.0/25\n10.0.0.128/25\n# end"
                                     << "3 lines, 1 network, 256 addresses";
    QTest::newRow("mixed families") << "::/0\n0.0.0.0/0"
                                    << "2 lines, 2 networks, "
                                       "340282366920938463463374607436063178752 addresses";
  }
  void countsFollowTyping() {
    QFETCH(QString, text);
    QFETCH(QString, count);
    Type("edtSetB", text);
    QTRY_COMPARE(Text("lblSetBCount"), count);
    QVERIFY(Rows(Result()).isEmpty());
  }

  // Cells a column cuts (IPv6 counts, long problem texts) show in full as tips.
  void cutCellsInFull() {
    RunOn("2001:db8::/33\n10.9.9.9-10.9.9.1", "", 0);
    QAbstractItemModel* result = Result()->model();
    const QModelIndex count = result->index(0, 1);
    QCOMPARE(count.data(Qt::ToolTipRole).toString(),
             QStringLiteral("39614081257132168796771975168"));
    auto* problems = Find<QAbstractItemView>("lvSetProblems");
    QCOMPARE(problems->model()->index(0, 2).data(Qt::ToolTipRole).toString(),
             QStringLiteral("10.9.9.9-10.9.9.1"));
  }

  // The window can be worked from the keyboard: Tab leaves a list instead of
  // typing into it; a pasted tab still separates items.
  void tabLeavesTheLists() {
    auto* a = Find<QPlainTextEdit>("edtSetA");
    a->setFocus();
    QTest::keyClick(a, Qt::Key_Tab);
    QVERIFY(a->toPlainText().isEmpty());
    QVERIFY(!a->hasFocus());
    a->insertPlainText("10.0.0.1\t10.0.0.2");
    QTRY_COMPARE(Text("lblSetACount"), QStringLiteral("1 line, 2 networks, 2 addresses"));
  }

  // A long text is counted off the GUI thread; the label says so meanwhile.
  void largeTextCountedInBackground() {
    Paste(LargeList(120000));
    const QString counted("120000 lines, 120000 networks, 120000 addresses");
    bool sawCounting = false;
    QElapsedTimer clock;
    clock.start();
    while (Text("lblSetACount") != counted && clock.elapsed() < 20000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      sawCounting = sawCounting || Text("lblSetACount") == "Counting...";
    }
    QVERIFY(sawCounting);
    QCOMPARE(Text("lblSetACount"), counted);
  }

  void notationRewritesResult() {
    RunOn("10.0.0.0/24\n2001:db8::/64", "", 0);
    const QStringList expected{"10.0.0.0/24", "10.0.0.0 255.255.255.0", "10.0.0.0 0.0.0.255",
                               "10.0.0.0 - 10.0.0.255"};
    for (int how = 0; how < expected.size(); ++how) {
      Choose("cbxSetNotation", how);
      QCOMPARE(Result()->model()->index(0, 0).data().toString(), expected[how]);
    }
    QCOMPARE(Result()->model()->index(1, 0).data().toString(),
             QString("2001:db8:: - 2001:db8::ffff:ffff:ffff:ffff"));
    // Ranges and overlaps have no notation to choose.
    Choose("cbxSetOperation", 4);
    QVERIFY(!Find<QComboBox>("cbxSetNotation")->isEnabled());
    Choose("cbxSetOperation", 6);
    QVERIFY(!Find<QComboBox>("cbxSetNotation")->isEnabled());
    Choose("cbxSetOperation", 3);
    QVERIFY(Find<QComboBox>("cbxSetNotation")->isEnabled());
  }

  // The operation and notation come back in the next window; the lists never.
  void stateSurvivesClose() {
    Type("edtSetA", "10.11.12.0/24");
    Choose("cbxSetOperation", 5);
    Choose("cbxSetNotation", 2);
    FWindow->close();
    QTRY_VERIFY(!FWindow);
    const SettingsFile ini(FIni);
    QCOMPARE(ini.ReadInteger("NetSets", "Operation", -1), 5);
    QCOMPARE(ini.ReadInteger("NetSets", "Notation", -1), 2);
    QVERIFY(!ReadAll(FIni).contains("10.11.12"));
    OpenWindow();
    QCOMPARE(Find<QComboBox>("cbxSetOperation")->currentIndex(), 5);
    QCOMPARE(Find<QComboBox>("cbxSetNotation")->currentIndex(), 2);
    QVERIFY(Find<QPlainTextEdit>("edtSetA")->toPlainText().isEmpty());
  }

  void badStateGivesDefaults() {
    FWindow->close();
    QTRY_VERIFY(!FWindow);
    WriteAll(FIni, "[NetSets]\nOperation=7\nNotation=-1\n");
    OpenWindow();
    QCOMPARE(Find<QComboBox>("cbxSetOperation")->currentIndex(), 0);
    QCOMPARE(Find<QComboBox>("cbxSetNotation")->currentIndex(), 0);
  }

  // A double-click opens the row's network in a calculator of its family.
  void doubleClickHandsOver_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("v6");
    QTest::newRow("IPv4 network") << "10.0.0.0/24\n2001:db8::/48" << 0 << 0 << "10.0.0.0/24"
                                  << false;
    QTest::newRow("IPv6 network") << "10.0.0.0/24\n2001:db8::/48" << 0 << 1 << "2001:db8::/48"
                                  << true;
    QTest::newRow("range") << "10.0.0.4-10.0.0.9" << 4 << 0 << "10.0.0.4/30" << false;
    QTest::newRow("overlap") << "2001:db8::/32\n2001:db8:1::/48" << 6 << 0 << "2001:db8::/32"
                             << true;
  }
  void doubleClickHandsOver() {
    QFETCH(QString, a);
    QFETCH(int, op);
    QFETCH(int, row);
    QFETCH(QString, address);
    QFETCH(bool, v6);
    Choose("cbxSetNotation", 1);
    RunOn(a, "", op);
    QSignalSpy spy(FWindow.data(), &TcChild::calculatorRequested);
    const QRect cell = Result()->visualRect(Result()->model()->index(row, 0));
    QTest::mouseClick(Result()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(Result()->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(spy.size(), 1);
    const auto request = spy.first().first().value<TCalcRequest>();
    QCOMPARE(request.address, address);
    QCOMPARE(request.v6, v6);
  }

  void copyThroughServices() {
    RunOn("10.0.0.0/24\n10.0.2.0/24\n10.0.4.0/24", "", 0);
    Result()->setFocus();
    Result()->selectionModel()->select(
        Result()->model()->index(1, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::keyClick(Result(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(FServices->clipboard, QStringList{"10.0.2.0/24\n"});
    PopupAction("miSetCopy");
    QCOMPARE(FServices->clipboard.last(), QString("10.0.2.0/24\n"));
    PopupAction("miSetCopyAll");
    QCOMPARE(FServices->clipboard.last(), QString("10.0.0.0/24\n10.0.2.0/24\n10.0.4.0/24\n"));
  }

  void saveThroughServices_data() {
    QTest::addColumn<QByteArray>("action");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("text") << QByteArray("miSetSaveText") << QByteArray("10.0.0.0/23\n::/128\n");
    QTest::newRow("CSV") << QByteArray("miSetSaveCsv")
                         << QByteArray("Network,Addresses\n10.0.0.0/23,512\n::/128,1\n");
  }
  void saveThroughServices() {
    QFETCH(QByteArray, action);
    QFETCH(QByteArray, content);
    RunOn("10.0.0.0/24\n10.0.1.0/24\n::", "", 0);
    const QString path = FDir->filePath("out.txt");
    WriteAll(path, "old");
    FServices->saveAnswer = path;
    PopupAction(action.constData());
    QCOMPARE(FServices->fileDialogs.size(), 1);
    QCOMPARE(ReadAll(path), content);
    QVERIFY(FServices->boxes.isEmpty());
  }

  void failedSaveSaysWhy() {
    RunOn("10.0.0.0/24", "", 0);
    FServices->saveAnswer = FDir->filePath("no such folder/out.txt");
    PopupAction("miSetSaveText");
    QCOMPARE(FServices->boxes.size(), 1);
    QVERIFY2(
        FServices->boxes.first().text.startsWith("Couldn't write " + FServices->saveAnswer + ": "),
        qPrintable(FServices->boxes.first().text));
    QVERIFY(FServices->boxes.first().text.size() > FServices->saveAnswer.size() + 17);
  }

  void openListThroughServices() {
    const QString path = FDir->filePath("list.txt");
    WriteAll(path, "192.0.2.0/25\n192.0.2.128/25\n");
    FServices->openAnswer = path;
    Click("btnSetOpenB");
    QCOMPARE(Find<QPlainTextEdit>("edtSetB")->toPlainText(),
             QString("192.0.2.0/25\n192.0.2.128/25\n"));
    QTRY_COMPARE(Text("lblSetBCount"), QString("2 lines, 1 network, 256 addresses"));
    FServices->openAnswer = FDir->filePath("missing.txt");
    Click("btnSetOpenA");
    QCOMPARE(FServices->boxes.size(), 1);
    QVERIFY(FServices->boxes.first().text.startsWith("Couldn't open " + FServices->openAnswer));
  }

  // A large list runs on the worker thread with progress and Cancel, while
  // the window goes on handling events.
  void largeRunInBackground() {
    Paste(LargeList(150000));
    QSignalSpy done(FWindow.data(), &TcNetSets::runFinished);
    Click("btnSetRun");
    QVERIFY(FWindow->Running());
    QVERIFY(Find<QProgressBar>("pbSetProgress")->isVisible());
    QVERIFY(Find<QPushButton>("btnSetCancel")->isVisible());
    QCOMPARE(Text("lblSetResultCount"), QString("Computing..."));
    QVERIFY(done.wait(20000));
    QVERIFY(!FWindow->Running());
    QVERIFY(!Find<QProgressBar>("pbSetProgress")->isVisible());
    QVERIFY(!Find<QPushButton>("btnSetCancel")->isVisible());
    QCOMPARE(Text("lblSetResultCount"), QString("150000 networks"));
    QCOMPARE(Result()->model()->index(149999, 0).data().toString(), QString("10.4.147.222/32"));
    QCOMPARE(Text("lblSetACount"), QString("150000 lines, 150000 networks, 150000 addresses"));
  }

  void cancelLargeRun() {
    RunOn("10.0.0.0/24", "", 0);
    Paste(LargeList(150000));
    Click("btnSetRun");
    QVERIFY(FWindow->Running());
    Click("btnSetCancel");
    QVERIFY(!FWindow->Running());
    QCOMPARE(Text("lblSetResultCount"), QString("Cancelled."));
    QThreadPool::globalInstance()->waitForDone();
    QTest::qWait(50);
    // The earlier result stays; the cancelled one never shows.
    QCOMPARE(Text("lblSetResultCount"), QString("Cancelled."));
    QVERIFY(!Find<QPushButton>("btnSetCancel")->isVisible());
  }

  void newRunReplacesRunning() {
    Paste(LargeList(150000));
    QSignalSpy done(FWindow.data(), &TcNetSets::runFinished);
    Click("btnSetRun");
    Choose("cbxSetOperation", 4);
    Click("btnSetRun");
    QVERIFY(done.wait(20000) || !FWindow->Running());
    QTRY_VERIFY_WITH_TIMEOUT(!FWindow->Running(), 20000);
    QThreadPool::globalInstance()->waitForDone();
    QTest::qWait(50);
    QCOMPARE(Text("lblSetResultCount"), QString("150000 ranges"));
  }

  // Closing the window mid-run frees it at once; the worker ends on its own
  // and touches nothing of the window.
  void closeDuringRun() {
    Paste(LargeList(200000));
    Click("btnSetRun");
    QVERIFY(FWindow->Running());
    FWindow->close();
    QTRY_VERIFY(!FWindow);
    QThreadPool::globalInstance()->waitForDone();
    QTest::qWait(50);
    const SettingsFile ini(FIni);
    QCOMPARE(ini.ReadInteger("NetSets", "Operation", -1), 0);
  }
};

QTEST_MAIN(TestNetSetsWindow)
#include "tst_netsetswindow.moc"
