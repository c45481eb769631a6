// The IP Host List Editor dialog: the name field, Enter, the pop-up menu,
// closing with changes, and saving and opening through the file dialogs.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "guifixture.h"
#include "hostlist/hostlistview.h"
#include "hostlist/tfrmhostlist.h"
#include "testfiles.h"

class TestHostListEditor : public QObject, protected GuiFixture {
  Q_OBJECT
  std::unique_ptr<TfrmHostList> F;

  void Show(const QString& network, int limit = 4096, QChar delimiter = QLatin1Char(',')) {
    F->FTitle = QStringLiteral("IP Host List for ") + network;
    F->FNetwork = HostListNetwork(network);
    F->FMaxListItems = limit;
    F->FCsvDelimiter = delimiter;
    F->FExaminedAddress = QStringLiteral("192.168.1.10");
    F->show();
    F->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(F.get()));
  }
  void Select(std::initializer_list<int> rows) {
    QItemSelectionModel* s = F->lvHosts->selectionModel();
    s->clearSelection();
    for (int r : rows)
      s->select(F->model->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  TRowRuns Selected() const { return F->lvHosts->SelectedRows(); }
  void Type(const QString& text) {
    F->edtHostName->setFocus();
    F->edtHostName->selectAll();
    QTest::keyClicks(F->edtHostName, text);
  }
  void LeaveField() { F->lvHosts->setFocus(); }
  QString Name(int row) const { return F->model->Name(row); }
  QString File(const char* name) const { return FDir->filePath(QLatin1String(name)); }

 private slots:
  void init() {
    SetUpGui();
    F = std::make_unique<TfrmHostList>();
  }
  void cleanup() {
    F.reset();
    TearDownGui();
  }
  void showing() {
    Show("192.168.1.0/24");
    QCOMPARE(F->windowTitle(), QStringLiteral("IP Host List for 192.168.1.0/24"));
    QCOMPARE(F->pnlHostCount->text(), QStringLiteral("254 hosts"));
    QCOMPARE(Selected(), (TRowRuns{{0, 0}}));
    QCOMPARE(F->edtHostName->text(), QStringLiteral("nwc0a80100"));
    QVERIFY(!F->FModified);
    QCOMPARE(F->minimumSize(), QSize(F->FMinWidth, 200));
    F->btnHelp->click();
    QTest::keyClick(F->lvHosts, Qt::Key_F1);
    QCOMPARE(FServices->helpTopics, (QList<int>{1900, 1900}));
    // A second showing starts afresh.
    Type("x");
    LeaveField();
    F->hide();
    Show("192.168.1.0/31");
    QCOMPARE(F->model->rowCount(), 2);
    QCOMPARE(Name(0), QStringLiteral("hc0a80100"));
    QCOMPARE(F->pnlHostCount->text(), QStringLiteral("2 hosts"));
  }
  void namingSeveralRows() {
    Show("192.168.1.0/24");
    Select({3, 7});
    QCOMPARE(F->edtHostName->text(), QString());
    Type("srv");
    LeaveField();
    QCOMPARE(Name(3), QStringLiteral("srv"));
    QCOMPARE(Name(7), QStringLiteral("srv"));
    QCOMPARE(Name(4), QStringLiteral("hc0a80104"));
    // Entering and leaving the empty field without typing blanks nothing.
    Select({3, 7});
    F->edtHostName->setFocus();
    LeaveField();
    QCOMPARE(Name(3), QStringLiteral("srv"));
    QCOMPARE(Name(7), QStringLiteral("srv"));
  }
  void enterMovesOn_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<TRowRuns>("after");
    QTest::newRow("row 5") << 5 << TRowRuns{{6, 6}};
    QTest::newRow("last row") << 255 << TRowRuns{};
    QTest::newRow("row 0 stays") << 0 << TRowRuns{{0, 0}};
    QTest::newRow("rows 2 and 4") << 4 << TRowRuns{{5, 5}};
  }
  void enterMovesOn() {
    QFETCH(int, row);
    QFETCH(TRowRuns, after);
    Show("192.168.1.0/24");
    if (QTest::currentDataTag() == QLatin1String("rows 2 and 4"))
      Select({2, 4});
    else
      Select({row});
    Type("x");
    QTest::keyClick(F->edtHostName, Qt::Key_Return);
    QCOMPARE(Name(row), QStringLiteral("x"));
    QCOMPARE(Selected(), after);
    if (after.empty() || after.front().first == row) return;
    // The next name is ready to be typed over.
    QCOMPARE(F->edtHostName->text(), Name(after.front().first));
    QTest::keyClicks(F->edtHostName, "y");
    QTest::keyClick(F->edtHostName, Qt::Key_Enter);
    QCOMPARE(Name(after.front().first), QStringLiteral("y"));
  }
  void paste_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("names");  // rows 1-5, all selected
    QTest::newRow("three lines into five rows")
        << "a\nb\nc" << QStringList{"a", "b", "c", "hc0a80104", "hc0a80105"};
    QTest::newRow("empty second line")
        << "a\n\nc" << QStringList{"a", "hc0a80102", "hc0a80103", "hc0a80104", "hc0a80105"};
    QTest::newRow("CR LF, blanks, more lines than rows") << "  a \r\nb\r\nc\r\nd\r\ne\r\nf\r\n"
                                                         << QStringList{"a", "b", "c", "d", "e"};
  }
  void paste() {
    QFETCH(QString, clipboard);
    QFETCH(QStringList, names);
    Show("192.168.1.0/24");
    F->lvHosts->selectionModel()->select(
        QItemSelection(F->model->index(1, 0), F->model->index(5, 1)),
        QItemSelectionModel::ClearAndSelect);
    FServices->clipboard << clipboard;
    F->Pasteselcted1Click();
    QStringList got;
    for (int row = 1; row <= 5; ++row) got << Name(row);
    QCOMPARE(got, names);
    QCOMPARE(Name(6), QStringLiteral("hc0a80106"));
    QVERIFY(!F->FModified);
  }
  void popupRules_data() {
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("copy");
    QTest::addColumn<bool>("paste");
    QTest::newRow("one row, two characters") << 1 << "ab" << true << true;
    QTest::newRow("one row, one character") << 1 << "a" << true << false;
    QTest::newRow("no row") << 0 << "ab" << false << false;
  }
  void popupRules() {
    QFETCH(int, selected);
    QFETCH(QString, clipboard);
    QFETCH(bool, copy);
    QFETCH(bool, paste);
    Show("192.168.1.0/24");
    if (!selected) Select({});
    FServices->clipboard << clipboard;
    emit F->pmPopup->aboutToShow();
    QCOMPARE(F->Copyselected1->isEnabled(), copy);
    QCOMPARE(F->Pasteselcted1->isEnabled(), paste);
    QVERIFY(F->Selectall1->isEnabled() && F->Copytable1->isEnabled() && F->Edit1->isEnabled());
  }
  void copyCommands() {
    Show("192.168.1.0/30", 2);
    Select({1});
    F->Copyselected1->trigger();
    F->Copytable1->trigger();
    QTest::keyClick(F->lvHosts, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(FServices->clipboard,
             (QStringList{"192.168.1.1\thc0a80101\r\n",
                          "192.168.1.0\tnwc0a80100\r\n192.168.1.1\thc0a80101\r\nmore...\t...\r\n",
                          "192.168.1.1\thc0a80101\r\n"}));
    F->Selectall1->trigger();
    QCOMPARE(Selected(), (TRowRuns{{0, 2}}));
    F->Edit1->trigger();
    QVERIFY(F->edtHostName->hasFocus());
  }
  void discardQuestion_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("then");  // what follows the typing
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");
    QTest::newRow("new name, Yes") << "abc"
                                   << "" << int(Services::Yes) << true << true;
    QTest::newRow("new name, No") << "abc"
                                  << "" << int(Services::No) << true << false;
    QTest::newRow("old name typed back") << "nwc0a80100"
                                         << "" << int(Services::No) << false << true;
    // Names already given to their rows are as unsaved as the field's text.
    QTest::newRow("name given with Enter") << "abc"
                                           << "enter" << int(Services::No) << true << false;
    QTest::newRow("old name given with Enter") << "nwc0a80100"
                                               << "enter" << int(Services::No) << false << true;
    QTest::newRow("names pasted") << "nwc0a80100"
                                  << "paste" << int(Services::No) << true << false;
    QTest::newRow("given, then saved") << "abc"
                                       << "enter save" << int(Services::No) << false << true;
  }
  void discardQuestion() {
    QFETCH(QString, typed);
    QFETCH(QString, then);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closed);
    Show("192.168.1.0/24");
    Type("abc");
    QVERIFY(F->FModified);
    Type(typed);
    if (then.contains("enter")) QTest::keyClick(F->edtHostName, Qt::Key_Return);
    if (then.contains("paste")) {
      FServices->clipboard << QStringLiteral("x\ny");
      F->Pasteselcted1Click();
    }
    if (then.contains("save")) {
      FServices->saveAnswer = File("list.csv");
      F->SaveHostList();
    }
    FServices->boxAnswer = answer;
    QTest::keyClick(F->edtHostName, Qt::Key_Escape);
    QCOMPARE(FServices->boxes.size(), asked ? 1 : 0);
    if (asked) {
      const RecordingServices::Box& b = FServices->boxes.first();
      QCOMPARE(b.caption, QStringLiteral("IP Host List Editor"));
      QCOMPARE(b.text, QStringLiteral("Discard changes?"));
      QCOMPARE(b.icon, Services::Icon::Question);
      QCOMPARE(b.buttons, Services::Yes | Services::No | Services::DefaultIs(Services::No));
    }
    QCOMPARE(F->isVisible(), !closed);
  }
  void save_data() {
    QTest::addColumn<QChar>("delimiter");
    QTest::addColumn<int>("chosen");  // -1: the preselected entry
    QTest::addColumn<int>("preselected");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("comma") << QChar(',') << -1 << 0 << QByteArray("IP Address,Host Name");
    QTest::newRow("semicolon") << QChar(';') << -1 << 1 << QByteArray("IP Address;Host Name");
    QTest::newRow("tab") << QChar('\t') << -1 << 2 << QByteArray("IP Address\tHost Name");
    QTest::newRow("blank") << QChar(' ') << -1 << 3 << QByteArray("IP Address Host Name");
    QTest::newRow("tab, All files") << QChar('\t') << 4 << 2 << QByteArray("IP Address\tHost Name");
    QTest::newRow("comma, semicolon chosen")
        << QChar(',') << 1 << 0 << QByteArray("IP Address;Host Name");
  }
  void save() {
    QFETCH(QChar, delimiter);
    QFETCH(int, chosen);
    QFETCH(int, preselected);
    QFETCH(QByteArray, header);
    Show("192.168.1.0/30", 4096, delimiter);
    Type("router");
    FServices->saveAnswer = File("list.csv");
    FServices->filterAnswer = chosen;
    QTest::mouseClick(F->btnSave, Qt::LeftButton);
    QCOMPARE(FServices->fileDialogSetups.size(), 1);
    const Services::FileDialog& d = FServices->fileDialogSetups.first();
    QCOMPARE(d.caption, QStringLiteral("Save IP Host List"));
    QCOMPARE(d.filters, SaveFileFilters());
    QCOMPARE(d.filterIndex, preselected);
    QCOMPARE(d.defaultSuffix, QStringLiteral("csv"));
    QCOMPARE(d.fileName, QStringLiteral("router"));  // the network row's name
    const QList<QByteArray> lines = ReadAll(File("list.csv")).split('\n');
    QCOMPARE(lines.value(4), header);
    QCOMPARE(lines.value(5), "192.168.1.0" + header.mid(10, 1) + "router");
    QVERIFY(!F->FModified);
    QCOMPARE(F->windowTitle(), QStringLiteral("IP Host List for 192.168.1.0/30 (list.csv)"));
    QVERIFY(FServices->boxes.isEmpty());
  }
  void saveFailures_data() {
    QTest::addColumn<bool>("unwritable");
    QTest::addColumn<bool>("failWrite");
    QTest::addColumn<int>("cancelAfter");
    QTest::newRow("unwritable target") << true << false << -1;
    QTest::newRow("disk full") << false << true << -1;
    QTest::newRow("cancelled") << false << false << 0;
  }
  void saveFailures() {
    QFETCH(bool, unwritable);
    QFETCH(bool, failWrite);
    QFETCH(int, cancelAfter);
    Show("192.168.1.0/24");
    Type("changed");
    const QString path = unwritable ? File("missing folder/list.csv") : File("list.csv");
    const QByteArray old = "IP Address,Host Name\n192.168.1.0,old\n";
    if (!unwritable) WriteAll(path, old);
    if (failWrite)
      F->FWriteBlock = [](QIODevice& f, const char* data, int64_t size) {
        return f.write(data, size / 2);
      };
    FServices->progressCancelAfter = cancelAfter;
    FServices->saveAnswer = path;
    F->SaveHostList();
    QCOMPARE(FServices->BoxTexts(),
             cancelAfter < 0 ? QStringList{"Couldn't write " + path} : QStringList());
    if (!unwritable) QCOMPARE(ReadAll(path), old);
    QVERIFY(!unwritable || !QFile::exists(path));
    QVERIFY(F->FModified);
    QCOMPARE(F->windowTitle(), QStringLiteral("IP Host List for 192.168.1.0/24"));
  }
  void delimiterInNames_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("written");
    QTest::newRow("Yes saves") << int(Services::Yes) << true;
    QTest::newRow("No stops") << int(Services::No) << false;
  }
  void delimiterInNames() {
    QFETCH(int, answer);
    QFETCH(bool, written);
    Show("192.168.1.0/24");
    F->model->SetName({{5, 6}}, QStringLiteral("a,b"));
    F->model->SetName({{9, 9}}, QStringLiteral("a;b"));
    FServices->saveAnswer = File("list.csv");
    FServices->boxAnswer = answer;
    F->SaveHostList();
    QCOMPARE(FServices->boxes.size(), 1);
    const QString text = FServices->boxes.first().text;
    QVERIFY2(text.contains("192.168.1.5  a,b\n192.168.1.6  a,b\n"), qPrintable(text));
    QVERIFY(!text.contains("192.168.1.9"));
    QCOMPARE(FServices->boxes.first().icon, Services::Icon::Warning);
    QCOMPARE(QFile::exists(File("list.csv")), written);
  }
  void cutListQuestion_data() {
    QTest::addColumn<QString>("network");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");  // "" when none is asked
    QTest::addColumn<int>("lines");         // written address lines; 0: nothing written
    QTest::addColumn<QByteArray>("last");   // the file's last line
    const QString q = QStringLiteral(
        "The list shows only the first %1 of %2 hosts (the row limit in Options). Save anyway?");
    QTest::newRow("/19 cut at 4096, No")
        << "10.0.0.0/19" << 4096 << int(Services::No) << q.arg(4096).arg(8190) << 0 << QByteArray();
    QTest::newRow("/19 cut at 4096, Yes")
        << "10.0.0.0/19" << 4096 << int(Services::Yes) << q.arg(4096).arg(8190) << 4097
        << QByteArray("more...,...");
    QTest::newRow("/24 cut at 10, Yes") << "10.0.0.0/24" << 10 << int(Services::Yes)
                                        << q.arg(10).arg(254) << 11 << QByteArray("more...,...");
    QTest::newRow("/24 complete") << "10.0.0.0/24" << 4096 << int(Services::No) << "" << 256
                                  << QByteArray("10.0.0.255,bc0a0000ff");
    QTest::newRow("/24 at exactly its 256 rows") << "10.0.0.0/24" << 256 << int(Services::No) << ""
                                                 << 256 << QByteArray("10.0.0.255,bc0a0000ff");
  }
  void cutListQuestion() {
    QFETCH(QString, network);
    QFETCH(int, limit);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(int, lines);
    QFETCH(QByteArray, last);
    Show(network, limit);
    const QString path = File("list.csv");
    const QByteArray old = "IP Address,Host Name\n10.0.0.0,old\n";
    WriteAll(path, old);
    FServices->saveAnswer = path;
    FServices->boxAnswer = answer;
    QTest::mouseClick(F->btnSave, Qt::LeftButton);
    QCOMPARE(FServices->BoxTexts(), question.isEmpty() ? QStringList() : QStringList{question});
    if (!question.isEmpty()) {
      const RecordingServices::Box& b = FServices->boxes.first();
      QCOMPARE(b.caption, QStringLiteral("IP Host List Editor"));
      QCOMPARE(b.buttons, Services::Yes | Services::No | Services::DefaultIs(Services::No));
    }
    // No is answered before a file name is asked for.
    QCOMPARE(FServices->fileDialogs.size(), lines ? 1 : 0);
    if (!lines) {
      QCOMPARE(ReadAll(path), old);
      QCOMPARE(F->windowTitle(), F->FTitle);
      return;
    }
    const QList<QByteArray> written = ReadAll(path).trimmed().split('\n');
    QCOMPARE(written.size(), 5 + lines);
    QCOMPARE(written.last(), last);
  }
  void moreRowIsNeverNamed_data() {
    // 10.0.0.0/24 cut at 4 rows: "more..." is row 4.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("names");  // rows 0-3 afterwards
    QTest::addColumn<TRowRuns>("selected");  // afterwards
    const QStringList generated{"nw0a000000", "h0a000001", "h0a000002", "h0a000003"};
    QTest::newRow("typed on row 3, more... clicked")
        << "select 3, type, click 4" << QStringList{"nw0a000000", "h0a000001", "h0a000002", "x"}
        << TRowRuns{{4, 4}};
    QTest::newRow("more... clicked, field left")
        << "select 3, click 4, type, leave" << generated << TRowRuns{{4, 4}};
    QTest::newRow("Enter on the last address row")
        << "select 3, type, enter" << QStringList{"nw0a000000", "h0a000001", "h0a000002", "x"}
        << TRowRuns{};
    QTest::newRow("Enter on more... and others")
        << "select 2-4, type, enter" << QStringList{"nw0a000000", "h0a000001", "x", "x"}
        << TRowRuns{};
    QTest::newRow("paste into rows 2 to 4")
        << "select 2-4, paste" << QStringList{"nw0a000000", "h0a000001", "a", "b"}
        << TRowRuns{{2, 4}};
    QTest::newRow("paste into more... alone") << "select 4, paste" << generated << TRowRuns{{4, 4}};
    QTest::newRow("Ctrl+V on more... alone") << "select 4, ctrl+v" << generated << TRowRuns{{4, 4}};
    QTest::newRow("Edit name on more...") << "select 4, edit" << generated << TRowRuns{{4, 4}};
    QTest::newRow("select all, type, leave")
        << "select all, type, leave" << QStringList{"x", "x", "x", "x"} << TRowRuns{{0, 4}};
    QTest::newRow("select all, type, Enter")
        << "select all, type, enter" << QStringList{"x", "x", "x", "x"} << TRowRuns{};
  }
  void moreRowIsNeverNamed() {
    QFETCH(QString, steps);
    QFETCH(QStringList, names);
    QFETCH(TRowRuns, selected);
    Show("10.0.0.0/24", 4);
    FServices->clipboard << QStringLiteral("a\nb\nc");
    for (const QString& step : steps.split(QStringLiteral(", "))) {
      if (step == "select 3") Select({3});
      if (step == "select 4") Select({4});
      if (step == "click 4")
        QTest::mouseClick(F->lvHosts->viewport(), Qt::LeftButton, Qt::NoModifier,
                          F->lvHosts->visualRect(F->model->index(4, 0)).center());
      if (step == "select 2-4") Select({2, 3, 4});
      if (step == "select all") F->Selectall1->trigger();
      if (step == "type") Type("x");
      if (step == "leave") LeaveField();
      if (step == "enter") QTest::keyClick(F->edtHostName, Qt::Key_Return);
      if (step == "paste") {
        emit F->pmPopup->aboutToShow();
        QCOMPARE(F->Pasteselcted1->isEnabled(), (selected != TRowRuns{{4, 4}}));
        F->Pasteselcted1Click();
      }
      if (step == "ctrl+v") QTest::keyClick(F->lvHosts, Qt::Key_V, Qt::ControlModifier);
      if (step == "edit") {
        emit F->pmPopup->aboutToShow();
        QVERIFY(!F->Edit1->isEnabled());
        F->Edit1Click();
        QVERIFY(!F->edtHostName->hasFocus());
      }
    }
    QCOMPARE(Selected(), selected);
    if (selected == TRowRuns{{4, 4}}) {
      // Nothing to edit: the field is empty, closed to typing and unchanged.
      QCOMPARE(F->edtHostName->text(), QString());
      QVERIFY(!F->edtHostName->isEnabled());
      QVERIFY(!F->FModified);
    }
    LeaveField();
    QStringList got;
    for (int row = 0; row < 4; ++row) got << Name(row);
    QCOMPARE(got, names);
    QCOMPARE(Name(4), QStringLiteral("..."));
    // A cut list still ends in "more..." with no name when saved.
    FServices->saveAnswer = File("list.csv");
    FServices->boxAnswer = Services::Yes;
    F->SaveHostList();
    QCOMPARE(ReadAll(File("list.csv")).trimmed().split('\n').last(), QByteArray("more...,..."));
    // Another row makes the field usable again.
    Select({1});
    QVERIFY(F->edtHostName->isEnabled());
    QCOMPARE(F->edtHostName->text(), names.at(1));
  }
  void open() {
    Show("192.168.1.0/24", 4096, QLatin1Char(';'));
    F->model->SetName({{0, 0}, {10, 20}}, QStringLiteral("web"));
    THostListSave how;
    how.delimiter = ';';
    QCOMPARE(SaveHostListFile(File("list.csv"), *F->model, how), TFileResult::Done);
    F->hide();
    Show("192.168.1.0/24", 4096, QLatin1Char(';'));
    Select({5});
    F->FModified = true;
    FServices->openAnswer = File("list.csv");
    F->btnOpen->click();
    const Services::FileDialog& d = FServices->fileDialogSetups.first();
    QCOMPARE(d.caption, QStringLiteral("Open a Host Name List"));
    QCOMPARE(d.filters, OpenFileFilters());
    QCOMPARE(d.filterIndex, 1);
    QCOMPARE(Name(15), QStringLiteral("web"));
    QCOMPARE(Selected(), (TRowRuns{{0, 0}}));
    QCOMPARE(F->edtHostName->text(), QStringLiteral("web"));
    QVERIFY(F->FModified);
    QCOMPARE(F->windowTitle(), QStringLiteral("IP Host List for 192.168.1.0/24 (list.csv)"));
    QVERIFY(FServices->boxes.isEmpty());
  }
  void openFailures_data() {
    QTest::addColumn<QByteArray>("file");  // empty: no file
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << QByteArray() << "Couldn't open %1";
    QTest::newRow("later start") << QByteArray("192.168.1.2,a\n192.168.1.3,b\n")
                                 << "Did not find any IP address match.";
  }
  void openFailures() {
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    Show("192.168.1.0/24");
    const QString path = File("in.csv");
    if (!file.isEmpty()) WriteAll(path, file);
    FServices->openAnswer = path;
    F->OpenHostList();
    QCOMPARE(FServices->BoxTexts(), QStringList{QString(message).replace("%1", path)});
    QCOMPARE(Name(2), QStringLiteral("hc0a80102"));
    QCOMPARE(F->windowTitle(), QStringLiteral("IP Host List for 192.168.1.0/24"));
  }
};

QTEST_MAIN(TestHostListEditor)
#include "tst_hostlisteditor.moc"
