// The Address Planner window driven by its controls' object names: a plan
// typed and computed, a plan that does not fit, pasted and removed needs,
// the profiles, the pop-up hand-overs, plan files through the recording
// services, the close question and the recall of the last file.

#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTreeView>
#include <QtTest>

#include "common/optionsrec.h"
#include "common/settingsstore.h"
#include "guifixture.h"
#include "planner/tcplanner.h"
#include "testfiles.h"

Q_DECLARE_METATYPE(TCalcRequest)
Q_DECLARE_METATYPE(THostListRequest)

namespace {

QString Cell(const QAbstractItemModel* m, int row, int column) {
  return m->data(m->index(row, column)).toString();
}

QStringList Column(const QAbstractItemModel* m, int column) {
  QStringList texts;
  for (int r = 0; r < m->rowCount(); ++r) texts << Cell(m, r, column);
  return texts;
}

}  // namespace

class TestPlanWindow : public QObject, protected GuiFixture {
  Q_OBJECT
  QPointer<TcPlanner> FWin;

  TcPlanner* NewWindow(bool recall = true) {
    auto* w = new TcPlanner;
    FArea->addSubWindow(w);
    TOptionsRec o;
    o.IniFileName = FIni;
    o.RecallDesktopSettings = recall;
    o.CsvDelimiter = QLatin1Char(';');
    o.MaxListItems = 1000;
    w->ApplyOptions(o);
    w->show();
    return w;
  }

  // Types the parents and the needs ("name, hosts" lines) as a user would:
  // the parents into the field, the needs through the table's paste.
  void Enter(TcPlanner* w, const QString& parents, const QString& needs) {
    auto* edit = w->findChild<QLineEdit*>("edtPlanParents");
    edit->clear();
    QTest::keyClicks(edit, parents);
    FServices->clipboard << needs;
    auto* table = w->findChild<QTableView*>("tblPlanNeeds");
    table->setFocus();
    QTest::keySequence(table, QKeySequence::Paste);
  }

  void Run(TcPlanner* w) {
    QTest::mouseClick(w->findChild<QPushButton*>("btnPlanRun"), Qt::LeftButton);
  }

  QAbstractItemModel* Results(TcPlanner* w) {
    return w->findChild<QTreeView*>("tblPlanResult")->model();
  }
  QAbstractItemModel* Problems(TcPlanner* w) {
    return w->findChild<QTreeView*>("lvPlanProblems")->model();
  }
  QString Summary(TcPlanner* w) { return w->findChild<QLabel*>("lblPlanSummary")->text(); }

  TcPlanner* Example() {
    TcPlanner* w = NewWindow();
    Enter(w, "10.20.0.0/22", "Sales, 120\nVoIP, 60\nServers, 28\nP2P\t2\t\t8");
    w->findChild<QCheckBox*>("chkPlanRfc3021")->setChecked(true);
    Run(w);
    return w;
  }

 private slots:
  void initTestCase() {
    qRegisterMetaType<TCalcRequest>();
    qRegisterMetaType<THostListRequest>();
  }
  void init() {
    SetUpGui();
    ShowArea(1100, 800);
  }
  void cleanup() {
    if (FWin) {
      FServices->boxAnswer = Services::Yes;
      FWin->close();
    }
    TearDownGui();
  }

  // The worked example: every need placed, largest first, in address order.
  void plansTheExample() {
    TcPlanner* w = FWin = Example();
    QAbstractItemModel* r = Results(w);
    QCOMPARE(r->rowCount(), 11);
    QCOMPARE(Column(r, rcName).mid(0, 4), (QStringList{"Sales", "VoIP", "Servers", "P2P 1"}));
    QCOMPARE(Column(r, rcNetwork),
             (QStringList{"10.20.0.0/25", "10.20.0.128/26", "10.20.0.192/27", "10.20.0.224/31",
                          "10.20.0.226/31", "10.20.0.228/31", "10.20.0.230/31", "10.20.0.232/31",
                          "10.20.0.234/31", "10.20.0.236/31", "10.20.0.238/31"}));
    QCOMPARE(Cell(r, 0, rcFirst), QStringLiteral("10.20.0.1"));
    QCOMPARE(Cell(r, 0, rcLast), QStringLiteral("10.20.0.126"));
    QCOMPARE(Cell(r, 0, rcBroadcast), QStringLiteral("10.20.0.127"));
    QCOMPARE(Cell(r, 3, rcFirst), QStringLiteral("10.20.0.224"));
    QCOMPARE(Cell(r, 3, rcCapacity), QStringLiteral("2"));
    QCOMPARE(Summary(w), QStringLiteral("11 networks placed, 0 unplaced; 240 of 1024 addresses "
                                        "allocated (23.4%)"));
    QCOMPARE(Column(w->findChild<QTreeView*>("lvPlanFree")->model(), 0),
             (QStringList{"10.20.0.240/28", "10.20.1.0/24", "10.20.2.0/23"}));
    QCOMPARE(Problems(w)->rowCount(), 0);
    QVERIFY(FServices->boxes.isEmpty());
    QVERIFY(w->IsModified());
    QVERIFY(w->windowTitle().endsWith(" *"));
  }

  // What does not fit is listed with why; the rest is still placed.
  void planThatDoesNotFitSaysWhy() {
    TcPlanner* w = FWin = NewWindow();
    Enter(w, "10.20.0.0/24", "Sales, 120\nVoIP, 120\nGuests, 100");
    Run(w);
    QCOMPARE(Results(w)->rowCount(), 2);
    QVERIFY2(Summary(w).startsWith("2 networks placed, 1 unplaced"), qPrintable(Summary(w)));
    QAbstractItemModel* p = Problems(w);
    QCOMPARE(p->rowCount(), 1);
    QCOMPARE(Cell(p, 0, 0), QStringLiteral("Guests"));
    QVERIFY2(Cell(p, 0, 1).contains("Guests needs a /25"), qPrintable(Cell(p, 0, 1)));
  }

  // Pasted lines become rows; a cell that does not read is marked and
  // listed, and its row stays out of the plan.
  void pastedRowsWithABadCell() {
    TcPlanner* w = FWin = NewWindow();
    Enter(w, "10.0.0.0/24", "Name\tHosts\nSales\t50\nBad\tfifty\nLink\t/31");
    auto* table = w->findChild<QTableView*>("tblPlanNeeds");
    QCOMPARE(table->model()->rowCount(), 3);
    QVERIFY(table->model()->data(table->model()->index(1, ncHosts), Qt::BackgroundRole).isValid());
    Run(w);
    QCOMPARE(Column(Results(w), rcName), (QStringList{"Sales", "Link"}));
    QCOMPARE(Problems(w)->rowCount(), 1);
    QCOMPARE(Cell(Problems(w), 0, 0), QStringLiteral("row 2 (Bad)"));
    QCOMPARE(Cell(Problems(w), 0, 1), QStringLiteral("Hosts: \"fifty\" is not a whole number"));
    // Activating the problem goes to the cell.
    auto* problems = w->findChild<QTreeView*>("lvPlanProblems");
    emit problems->activated(problems->model()->index(0, 0));
    QCOMPARE(table->currentIndex(), table->model()->index(1, ncHosts));
  }

  // Correcting the cell recomputes a small plan by itself.
  void smallPlanRecomputesAfterAnEdit() {
    TcPlanner* w = FWin = NewWindow();
    Enter(w, "10.0.0.0/24", "Sales, 50\nBad, fifty");
    Run(w);
    QCOMPARE(Results(w)->rowCount(), 1);
    auto* table = w->findChild<QTableView*>("tblPlanNeeds");
    table->model()->setData(table->model()->index(1, ncHosts), "20");
    QTRY_COMPARE(Results(w)->rowCount(), 2);
    QCOMPARE(Problems(w)->rowCount(), 0);
  }

  void removeSelectedRows() {
    TcPlanner* w = FWin = NewWindow();
    Enter(w, "10.0.0.0/24", "A, 10\nB, 10\nC, 10\nD, 10");
    auto* table = w->findChild<QTableView*>("tblPlanNeeds");
    table->selectionModel()->select(table->model()->index(1, 0), QItemSelectionModel::Select);
    table->selectionModel()->select(table->model()->index(3, 2), QItemSelectionModel::Select);
    QTest::mouseClick(w->findChild<QPushButton*>("btnPlanRemove"), Qt::LeftButton);
    QCOMPARE(Column(table->model(), ncName), (QStringList{"A", "C"}));
    QTest::mouseClick(w->findChild<QPushButton*>("btnPlanAdd"), Qt::LeftButton);
    QCOMPARE(table->model()->rowCount(), 3);
    Run(w);
    QCOMPARE(Column(Results(w), rcName), (QStringList{"A", "C"}));
  }

  // A two-host link under each profile; the RFC 3021 switch counts for the
  // standard profile only.
  void profileChange_data() {
    QTest::addColumn<int>("profile");
    QTest::addColumn<bool>("rfc3021");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("capacity");
    QTest::newRow("Standard") << 0 << false << "/30"
                              << "2";
    QTest::newRow("Standard, RFC 3021") << 0 << true << "/31"
                                        << "2";
    QTest::newRow("AWS, RFC 3021 ignored") << 1 << true << "/28"
                                           << "11";
    QTest::newRow("Azure") << 2 << false << "/29"
                           << "3";
    QTest::newRow("Google Cloud") << 3 << false << "/29"
                                  << "4";
  }
  void profileChange() {
    QFETCH(int, profile);
    QFETCH(bool, rfc3021);
    QFETCH(QString, prefix);
    QFETCH(QString, capacity);
    TcPlanner* w = FWin = NewWindow();
    Enter(w, "10.0.0.0/24", "Link, 2");
    auto* check = w->findChild<QCheckBox*>("chkPlanRfc3021");
    check->setChecked(rfc3021);
    w->findChild<QComboBox*>("cbxPlanProfile")->setCurrentIndex(profile);
    QCOMPARE(check->isEnabled(), profile == 0);
    Run(w);
    QCOMPARE(Cell(Results(w), 0, rcPrefix), prefix);
    QCOMPARE(Cell(Results(w), 0, rcCapacity), capacity);
  }

  // The pop-up menu hands a network to the calculator of its family and an
  // IPv4 network to the host list editor, filled as the calculator fills it.
  void popupHandOvers() {
    TcPlanner* w = FWin = NewWindow();
    Enter(w, "10.20.0.0/24", "Sales, 120");
    Run(w);
    QAbstractItemModel* r = Results(w);
    QCOMPARE(Column(r, rcNetwork), QStringList{"10.20.0.0/25"});
    QSignalSpy calc(w, &TcChild::calculatorRequested);
    QSignalSpy hosts(w, &TcChild::hostListRequested);

    QVERIFY(w->PrepareResultMenu(0));
    QCOMPARE(w->miPlanCalc->text(), QStringLiteral("Open in IPv4 Calculator"));
    QVERIFY(w->miPlanHostList->isVisible());
    w->miPlanCalc->trigger();
    QCOMPARE(calc.count(), 1);
    auto c = calc.takeFirst().at(0).value<TCalcRequest>();
    QCOMPARE(c.address, QStringLiteral("10.20.0.0/25"));
    QVERIFY(!c.v6);
    w->miPlanHostList->trigger();
    QCOMPARE(hosts.count(), 1);
    auto h = hosts.takeFirst().at(0).value<THostListRequest>();
    QCOMPARE(h.title, QStringLiteral("IP Host List for 10.20.0.0/25"));
    QCOMPARE(h.networkText, QStringLiteral("10.20.0.0/25"));
    QCOMPARE(h.csvDelimiter, QLatin1Char(';'));
    QCOMPARE(h.maxListItems, 1000);
    w->miPlanCopyRow->trigger();
    QVERIFY2(FServices->clipboard.last().startsWith("Sales\t120\t/25\t10.20.0.0/25\t"),
             qPrintable(FServices->clipboard.last()));

    QVERIFY(!w->PrepareResultMenu(1));
    auto* parents = w->findChild<QLineEdit*>("edtPlanParents");
    parents->clear();
    QTest::keyClicks(parents, "2001:db8::/48");
    Run(w);
    QCOMPARE(Column(r, rcNetwork), QStringList{"2001:db8::/64"});
    QVERIFY(w->PrepareResultMenu(0));
    QCOMPARE(w->miPlanCalc->text(), QStringLiteral("Open in IPv6 Calculator"));
    QVERIFY(!w->miPlanHostList->isVisible());
    w->miPlanCalc->trigger();
    c = calc.takeFirst().at(0).value<TCalcRequest>();
    QCOMPARE(c.address, QStringLiteral("2001:db8::/64"));
    QVERIFY(c.v6);
    w->miPlanHostList->trigger();
    QCOMPARE(hosts.count(), 0);
  }

  // Saved and opened again in a new window: the same plan, the same result.
  void saveOpenRoundTrip_data() {
    QTest::addColumn<int>("profile");
    QTest::addColumn<double>("growth");
    QTest::newRow("Standard, 12.5% growth") << 0 << 12.5;
    // The switch stays set under a profile that does not use it.
    QTest::newRow("Google Cloud with RFC 3021 on") << 3 << 0.0;
  }
  void saveOpenRoundTrip() {
    QFETCH(int, profile);
    QFETCH(double, growth);
    TcPlanner* w = FWin = Example();
    auto* table = w->findChild<QTableView*>("tblPlanNeeds");
    table->model()->setData(table->model()->index(1, ncVlan), "20");
    table->model()->setData(table->model()->index(1, ncNote), "phones, desk");
    w->findChild<QComboBox*>("cbxPlanProfile")->setCurrentIndex(profile);
    w->findChild<QDoubleSpinBox*>("spnPlanGrowth")->setValue(growth);
    Run(w);
    const planner::plan saved = w->CurrentPlan();
    QVERIFY(saved.rfc3021);
    QCOMPARE(int(saved.prof), profile);
    const QVector<QStringList> rows = w->FResultRows->Rows();

    const QString path = FDir->filePath("office.json");
    FServices->saveAnswer = path;
    QTest::mouseClick(w->findChild<QPushButton*>("btnPlanSave"), Qt::LeftButton);
    QVERIFY(FServices->boxes.isEmpty());
    QVERIFY(ReadAll(path).contains("\"orvex-plan/1\""));
    QVERIFY(!w->IsModified());
    QCOMPARE(w->windowTitle(), QStringLiteral("Address Planner (office.json)"));
    w->close();

    TcPlanner* second = FWin = NewWindow(false);
    QVERIFY(second->CurrentPlan().needs.empty());
    FServices->openAnswer = path;
    QTest::mouseClick(second->findChild<QPushButton*>("btnPlanOpen"), Qt::LeftButton);
    QVERIFY(FServices->boxes.isEmpty());
    QVERIFY(second->CurrentPlan() == saved);
    QCOMPARE(second->FResultRows->Rows(), rows);
    QVERIFY(!second->IsModified());
    QCOMPARE(second->windowTitle(), QStringLiteral("Address Planner (office.json)"));

    // The export has every allocation under a header line.
    const QString csv = FDir->filePath("office.csv");
    FServices->saveAnswer = csv;
    QTest::mouseClick(second->findChild<QPushButton*>("btnPlanExport"), Qt::LeftButton);
    QCOMPARE(ReadAll(csv).trimmed().split('\n').size(), 1 + int(rows.size()));
  }

  // Saving a plan with a cell that does not read asks first; No writes
  // nothing, Yes saves the needs that read.
  void saveWithBadCellAsks_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("No") << int(Services::No);
    QTest::newRow("Yes") << int(Services::Yes);
  }
  void saveWithBadCellAsks() {
    QFETCH(int, answer);
    TcPlanner* w = FWin = NewWindow();
    Enter(w, "10.0.0.0/24", "Sales, 50\nBad, fifty");
    const QString path = FDir->filePath("partial.json");
    FServices->saveAnswer = path;
    FServices->boxAnswer = answer;
    QTest::mouseClick(w->findChild<QPushButton*>("btnPlanSave"), Qt::LeftButton);
    QCOMPARE(FServices->boxes.size(), 1);
    QVERIFY2(FServices->boxes[0].text.contains("row 2 Hosts: \"fifty\" is not a whole number"),
             qPrintable(FServices->boxes[0].text));
    QCOMPARE(QFile::exists(path), answer == Services::Yes);
    QCOMPARE(w->IsModified(), answer != Services::Yes);
    if (answer != Services::Yes) return;
    planner::plan back;
    std::string error;
    const QByteArray text = ReadAll(path);
    QVERIFY(
        planner::from_json(std::string_view(text.constData(), size_t(text.size())), &back, &error));
    QCOMPARE(int(back.needs.size()), 1);
    // The bad row stays in the window for the user to correct.
    QCOMPARE(w->findChild<QTableView*>("tblPlanNeeds")->model()->rowCount(), 2);
  }

  // Edits recompute a plan of up to kAutoRunLimit needs by themselves; a
  // larger one waits for the button.
  void autoRunLimit_data() {
    QTest::addColumn<int>("needs");
    QTest::newRow("at the limit") << TcPlanner::kAutoRunLimit;
    QTest::newRow("above the limit") << TcPlanner::kAutoRunLimit + 1;
  }
  void autoRunLimit() {
    QFETCH(int, needs);
    TcPlanner* w = FWin = NewWindow();
    QString lines;
    for (int i = 0; i < needs; ++i) lines += QStringLiteral("N%1, 2\n").arg(i);
    Enter(w, "10.0.0.0/8", lines);
    QCOMPARE(w->tmrPlanRun->isActive(), needs <= TcPlanner::kAutoRunLimit);
  }

  // A file that does not read, or one from a newer version, is reported
  // with the reader's message and changes nothing in the window.
  void badFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("message");
    QTest::newRow("newer format")
        << QByteArray("{\"format\": \"orvex-plan/2\", \"parents\": [], \"needs\": []}")
        << "the plan was made by a newer version";
    QTest::newRow("not JSON") << QByteArray("Sales,120\n") << "";
    QTest::newRow("empty") << QByteArray() << "";
  }
  void badFileChangesNothing() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    TcPlanner* w = FWin = Example();
    const planner::plan before = w->CurrentPlan();
    const QString title = w->windowTitle();
    const QString path = FDir->filePath("bad.json");
    WriteAll(path, contents);
    FServices->openAnswer = path;
    FServices->boxAnswer = Services::Yes;  // discard the unsaved example
    QTest::mouseClick(w->findChild<QPushButton*>("btnPlanOpen"), Qt::LeftButton);
    QCOMPARE(FServices->boxes.size(), 2);
    QCOMPARE(FServices->boxes[1].caption, QStringLiteral("Error"));
    QVERIFY2(FServices->boxes[1].text.contains(path), qPrintable(FServices->boxes[1].text));
    QVERIFY2(FServices->boxes[1].text.contains(message), qPrintable(FServices->boxes[1].text));
    QVERIFY(w->CurrentPlan() == before);
    QCOMPARE(w->windowTitle(), title);
    QVERIFY(w->IsModified());
    QVERIFY(w->FileName().isEmpty());
    QCOMPARE(Results(w)->rowCount(), 11);
  }

  // Closing with unsaved changes asks; No keeps the window.
  void closeQuestion_data() {
    QTest::addColumn<bool>("modify");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("unchanged") << false << int(Services::No) << true;
    QTest::newRow("changed, No") << true << int(Services::No) << false;
    QTest::newRow("changed, Yes") << true << int(Services::Yes) << true;
  }
  void closeQuestion() {
    QFETCH(bool, modify);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    TcPlanner* w = FWin = NewWindow();
    if (modify) QTest::keyClicks(w->findChild<QLineEdit*>("edtPlanParents"), "10.0.0.0/8");
    FServices->boxAnswer = answer;
    QCOMPARE(w->close(), closes);
    QCOMPARE(FServices->boxes.size(), modify ? 1 : 0);
    if (modify) {
      QCOMPARE(FServices->boxes[0].text, QStringLiteral("Discard changes?"));
      QCOMPARE(FServices->boxes[0].buttons,
               Services::Yes | Services::No | Services::DefaultIs(Services::No));
    }
    // Asked once: the second close after a Yes, or after a save, is quiet.
    if (!closes) QVERIFY(w->isVisible());
  }

  // The last plan file, profile, switch and margin come back in a new
  // window when recall is on; a file gone since is no error.
  void recallLastFile_data() {
    QTest::addColumn<bool>("recall");
    QTest::addColumn<bool>("fileThere");
    QTest::newRow("recall") << true << true;
    QTest::newRow("recall, file gone") << true << false;
    QTest::newRow("no recall") << false << true;
  }
  void recallLastFile() {
    QFETCH(bool, recall);
    QFETCH(bool, fileThere);
    TcPlanner* w = FWin = Example();
    const planner::plan saved = w->CurrentPlan();
    const QString path = FDir->filePath("recalled.json");
    FServices->saveAnswer = path;
    QTest::mouseClick(w->findChild<QPushButton*>("btnPlanSave"), Qt::LeftButton);
    w->findChild<QComboBox*>("cbxPlanProfile")->setCurrentIndex(2);
    FServices->boxAnswer = Services::Yes;
    QVERIFY(w->close());
    QCOMPARE(SettingsFile(FIni).ReadString("Planner", "LastFile", ""), path);
    QCOMPARE(SettingsFile(FIni).ReadString("Planner", "Profile", ""), QStringLiteral("azure"));
    QVERIFY(SettingsFile(FIni).ReadBool("Planner", "RFC3021", false));
    if (!fileThere) QVERIFY(QFile::remove(path));
    FServices->Reset();

    TcPlanner* next = FWin = NewWindow(recall);
    QVERIFY(FServices->boxes.isEmpty());
    if (recall && fileThere) {
      QVERIFY(next->CurrentPlan() == saved);
      QCOMPARE(next->FileName(), path);
      QCOMPARE(Results(next)->rowCount(), 11);
    } else {
      QVERIFY(next->CurrentPlan().needs.empty());
      QVERIFY(next->FileName().isEmpty());
      // A new plan starts with the profile last used.
      QCOMPARE(next->findChild<QComboBox*>("cbxPlanProfile")->currentIndex(), 2);
    }
    QVERIFY(!next->IsModified());
  }
};

QTEST_MAIN(TestPlanWindow)
#include "tst_planwindow.moc"
