// The Address Planner's model without its window: needs table cells read
// into needs and written back, spreadsheet pastes, the lists made from a
// result and the atomic file write.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "planner/planmodel.h"
#include "testfiles.h"

namespace {

// A row written as its seven cells joined by "|".
TNeedRow Row(const QString& cells) {
  TNeedRow r;
  const QStringList parts = cells.split(QLatin1Char('|'));
  for (int i = 0; i < parts.size() && i < ncCount; ++i) r[size_t(i)] = parts[i];
  return r;
}

QString RowCells(const TNeedRow& r) {
  QStringList parts;
  for (const QString& c : r) parts << c;
  while (!parts.isEmpty() && parts.last().isEmpty()) parts.removeLast();
  return parts.join(QLatin1Char('|'));
}

planner::need Need(const std::string& name, uint64_t hosts, int prefix = -1, uint32_t copies = 1) {
  planner::need n;
  n.name = name;
  n.hosts = hosts;
  n.prefix = prefix;
  n.copies = copies;
  return n;
}

}  // namespace

class TestPlanModel : public QObject {
  Q_OBJECT

 private slots:
  // What a row reads as, or which cell stops it and why.
  void readRow_data() {
    QTest::addColumn<QString>("cells");
    QTest::addColumn<int>("badColumn");  // -1: the row reads
    QTest::addColumn<QString>("message");
    QTest::addColumn<qulonglong>("hosts");
    QTest::addColumn<int>("prefix");
    QTest::addColumn<uint>("copies");
    QTest::addColumn<int>("vlan");  // 0: none

    QTest::newRow("Sales|120") << "Sales|120" << -1 << "" << 120ULL << -1 << 1u << 0;
    QTest::newRow(" Sales | 120 ") << " Sales | 120 " << -1 << "" << 120ULL << -1 << 1u << 0;
    QTest::newRow("P2P|2||8") << "P2P|2||8" << -1 << "" << 2ULL << -1 << 8u << 0;
    QTest::newRow("Link||/31") << "Link||/31" << -1 << "" << 0ULL << 31 << 1u << 0;
    QTest::newRow("Link||31") << "Link||31" << -1 << "" << 0ULL << 31 << 1u << 0;
    QTest::newRow("Link||/0") << "Link||/0" << -1 << "" << 0ULL << 0 << 1u << 0;
    QTest::newRow("Lan||/128") << "Lan||/128" << -1 << "" << 0ULL << 128 << 1u << 0;
    QTest::newRow("Voice|60||1|phones|4094")
        << "Voice|60||1|phones|4094" << -1 << "" << 60ULL << -1 << 1u << 4094;
    QTest::newRow("Max|18446744073709551615")
        << "Max|18446744073709551615" << -1 << "" << 18446744073709551615ULL << -1 << 1u << 0;
    QTest::newRow("Many|2||1048576")
        << "Many|2||1048576" << -1 << "" << 2ULL << -1 << 1048576u << 0;

    QTest::newRow("|120") << "|120" << int(ncName) << "Name: a need has a name" << 0ULL << -1 << 1u
                          << 0;
    QTest::newRow("Sales") << "Sales" << int(ncHosts)
                           << "Hosts: give a host count or a prefix length" << 0ULL << -1 << 1u
                           << 0;
    QTest::newRow("Sales|12a") << "Sales|12a" << int(ncHosts)
                               << "Hosts: \"12a\" is not a whole number" << 0ULL << -1 << 1u << 0;
    QTest::newRow("Sales|-5") << "Sales|-5" << int(ncHosts) << "Hosts: \"-5\" is not a whole number"
                              << 0ULL << -1 << 1u << 0;
    QTest::newRow("Sales|1 000") << "Sales|1 000" << int(ncHosts)
                                 << "Hosts: \"1 000\" is not a whole number" << 0ULL << -1 << 1u
                                 << 0;
    QTest::newRow("Sales|0") << "Sales|0" << int(ncHosts) << "Hosts: a need has at least 1 host"
                             << 0ULL << -1 << 1u << 0;
    QTest::newRow("Sales|18446744073709551616")
        << "Sales|18446744073709551616" << int(ncHosts)
        << "Hosts: \"18446744073709551616\" is not a whole number" << 0ULL << -1 << 1u << 0;
    QTest::newRow("Sales|120|/25")
        << "Sales|120|/25" << int(ncPrefix)
        << "Prefix: give a host count or a prefix length, not both" << 0ULL << -1 << 1u << 0;
    QTest::newRow("Link||/129") << "Link||/129" << int(ncPrefix)
                                << "Prefix: \"/129\" is not a prefix length (0-128)" << 0ULL << -1
                                << 1u << 0;
    QTest::newRow("Link||/") << "Link||/" << int(ncPrefix)
                             << "Prefix: \"/\" is not a prefix length (0-128)" << 0ULL << -1 << 1u
                             << 0;
    QTest::newRow("P2P|2||0") << "P2P|2||0" << int(ncCopies)
                              << "Copies: \"0\" is not a number from 1 to 1048576" << 0ULL << -1
                              << 1u << 0;
    QTest::newRow("P2P|2||1048577")
        << "P2P|2||1048577" << int(ncCopies)
        << "Copies: \"1048577\" is not a number from 1 to 1048576" << 0ULL << -1 << 1u << 0;
    QTest::newRow("Voice|60||||0")
        << "Voice|60||||0" << int(ncVlan) << "VLAN: \"0\" is not a VLAN number (1-4094)" << 0ULL
        << -1 << 1u << 0;
    QTest::newRow("Voice|60||||4095")
        << "Voice|60||||4095" << int(ncVlan) << "VLAN: \"4095\" is not a VLAN number (1-4094)"
        << 0ULL << -1 << 1u << 0;
  }
  void readRow() {
    QFETCH(QString, cells);
    QFETCH(int, badColumn);
    QFETCH(QString, message);
    planner::need n;
    n.name = "untouched";
    std::vector<TNeedCellProblem> problems;
    const bool ok = TPlanNeedsModel::ReadRow(Row(cells), &n, &problems);
    if (badColumn >= 0) {
      QVERIFY(!ok);
      QCOMPARE(n.name, std::string("untouched"));
      QCOMPARE(int(problems.size()), 1);
      QCOMPARE(problems[0].column, badColumn);
      QCOMPARE(problems[0].text, message);
      return;
    }
    QFETCH(qulonglong, hosts);
    QFETCH(int, prefix);
    QFETCH(uint, copies);
    QFETCH(int, vlan);
    QVERIFY2(ok, problems.empty() ? "" : qPrintable(problems[0].text));
    QVERIFY(problems.empty());
    QCOMPARE(QString::fromStdString(n.name), cells.section(QLatin1Char('|'), 0, 0).trimmed());
    QCOMPARE(qulonglong(n.hosts), hosts);
    QCOMPARE(n.prefix, prefix);
    QCOMPARE(uint(n.copies), copies);
    QCOMPARE(n.vlan.value_or(0), uint32_t(vlan));
  }

  // Every cell that does not read is listed, not only the first.
  void readRowListsEveryBadCell() {
    std::vector<TNeedCellProblem> problems;
    planner::need n;
    QVERIFY(!TPlanNeedsModel::ReadRow(Row("|x||0||9999"), &n, &problems));
    QList<int> columns;
    for (const TNeedCellProblem& p : problems) columns << p.column;
    QCOMPARE(columns, (QList<int>{ncName, ncHosts, ncCopies, ncVlan}));
  }

  // A table with good, bad and empty rows: the plan has the good ones, the
  // bad ones are listed with their table rows, the empty ones vanish.
  void needsSkipBadRowsAndKnowTheirRows() {
    TPlanNeedsModel m;
    m.SetRows({Row("Sales|120"), Row("Bad|x"), Row(""), Row("Link||/31"), Row("|5")});
    std::vector<TNeedCellProblem> problems;
    std::vector<int> rowOfNeed;
    const std::vector<planner::need> needs = m.Needs(&problems, &rowOfNeed);
    QCOMPARE(int(needs.size()), 2);
    QCOMPARE(needs[0].name, std::string("Sales"));
    QCOMPARE(needs[1].name, std::string("Link"));
    QCOMPARE(rowOfNeed, (std::vector<int>{0, 3}));
    QCOMPARE(int(problems.size()), 2);
    QCOMPARE(problems[0].row, 1);
    QCOMPARE(problems[1].row, 4);
    // The same problems mark the cells.
    QCOMPARE(int(m.Problems().size()), 2);
    QVERIFY(m.IsBadCell(1, ncHosts));
    QVERIFY(!m.IsBadCell(1, ncName));
    QVERIFY(m.data(m.index(1, ncHosts), Qt::BackgroundRole).isValid());
    QVERIFY(!m.data(m.index(0, ncHosts), Qt::BackgroundRole).isValid());
    QCOMPARE(m.data(m.index(1, ncHosts), Qt::ToolTipRole).toString(),
             QStringLiteral("Hosts: \"x\" is not a whole number"));
  }

  // Needs written into the table read back the same.
  void needsRoundTrip_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("hosts") << 0;
    QTest::newRow("prefix") << 1;
    QTest::newRow("copies, note, VLAN") << 2;
    QTest::newRow("fixed network") << 3;
    QTest::newRow("name with comma and tab") << 4;
  }
  void needsRoundTrip() {
    QFETCH(int, which);
    planner::need n;
    switch (which) {
      case 0:
        n = Need("Sales", 120);
        break;
      case 1:
        n = Need("Link", 0, 127);
        break;
      case 2:
        n = Need("P2P", 2, -1, 8);
        n.note = "to the branches";
        n.vlan = 300;
        break;
      case 3:
        n = Need("Servers", 28);
        n.fixed = "10.20.3.0/27";
        break;
      default:
        n = Need("Büro, 2.\tStock", 40);
        break;
    }
    TPlanNeedsModel m;
    m.SetNeeds({n, Need("Other", 5)});
    std::vector<TNeedCellProblem> problems;
    const std::vector<planner::need> back = m.Needs(&problems);
    QVERIFY(problems.empty());
    QCOMPARE(int(back.size()), 2);
    QVERIFY(back[0] == n);
  }

  // What a paste adds, row by row.
  void paste_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("overlong");
    QTest::newRow("name, hosts lines") << "Sales, 120\nVoIP, 60\n"
                                       << QStringList{"Sales|120", "VoIP|60"} << 0;
    QTest::newRow("CRLF and blank lines")
        << "Sales,120\r\n\r\n  \r\nVoIP,60" << QStringList{"Sales|120", "VoIP|60"} << 0;
    QTest::newRow("sheet with heading") << "Name\tHosts\tPrefix\tCopies\nP2P\t2\t\t8\nLink\t\t/31"
                                        << QStringList{"P2P|2||8", "Link||/31"} << 0;
    QTest::newRow("heading only as first line")
        << "Sales,120\nName,Hosts" << QStringList{"Sales|120", "Name|Hosts"} << 0;
    QTest::newRow("prefix in the hosts field") << "P2P, /31" << QStringList{"P2P||/31"} << 0;
    QTest::newRow("tabs keep commas in names")
        << "Sales, EMEA\t120" << QStringList{"Sales, EMEA|120"} << 0;
    QTest::newRow("bad cells are kept") << "Sales, lots" << QStringList{"Sales|lots"} << 0;
    QTest::newRow("more fields than columns")
        << "a,1,,,n,5,10.0.0.0/24,extra,more" << QStringList{"a|1|||n|5|10.0.0.0/24"} << 1;
    QTest::newRow("nothing") << "\n \n" << QStringList{} << 0;
  }
  void paste() {
    QFETCH(QString, text);
    QFETCH(QStringList, rows);
    QFETCH(int, overlong);
    TPlanNeedsModel m;
    QSignalSpy edited(&m, &TPlanNeedsModel::needsEdited);
    int longLines = -1;
    QCOMPARE(m.PasteText(text, -1, &longLines), int(rows.size()));
    QCOMPARE(longLines, overlong);
    QStringList got;
    for (const TNeedRow& r : m.Rows()) got << RowCells(r);
    QCOMPARE(got, rows);
    QCOMPARE(edited.count(), rows.isEmpty() ? 0 : 1);
  }

  void pasteInsertsAtTheRowGiven() {
    TPlanNeedsModel m;
    m.SetRows({Row("A|1"), Row("D|4")});
    QCOMPARE(m.PasteText(QStringLiteral("B,2\nC,3"), 1), 2);
    QStringList names;
    for (const TNeedRow& r : m.Rows()) names << r[ncName];
    QCOMPARE(names, (QStringList{"A", "B", "C", "D"}));
  }

  // Removing rows given in any order, twice or out of range.
  void removeRowList() {
    TPlanNeedsModel m;
    m.SetRows({Row("A|1"), Row("B|x"), Row("C|3"), Row("D|4")});
    QSignalSpy edited(&m, &TPlanNeedsModel::needsEdited);
    m.RemoveRowList({2, 1, 2, 9, -1});
    QStringList names;
    for (const TNeedRow& r : m.Rows()) names << r[ncName];
    QCOMPARE(names, (QStringList{"A", "D"}));
    QCOMPARE(edited.count(), 1);
    // The mark of the removed bad row went with it.
    QVERIFY(m.Problems().empty());
    m.RemoveRowList({7});
    QCOMPARE(edited.count(), 1);
  }

  // An edit is announced; filling the table from a file is not, and an
  // editor closed without a change is no edit.
  void editsAreAnnounced() {
    TPlanNeedsModel m;
    QSignalSpy edited(&m, &TPlanNeedsModel::needsEdited);
    m.SetNeeds({Need("Sales", 120)});
    QCOMPARE(edited.count(), 0);
    QVERIFY(m.setData(m.index(0, ncHosts), QStringLiteral("120"), Qt::EditRole));
    QCOMPARE(edited.count(), 0);
    QVERIFY(m.setData(m.index(0, ncHosts), QStringLiteral("12x"), Qt::EditRole));
    QCOMPARE(edited.count(), 1);
    QVERIFY(m.IsBadCell(0, ncHosts));
    QVERIFY(m.setData(m.index(0, ncHosts), QStringLiteral("121"), Qt::EditRole));
    QVERIFY(!m.IsBadCell(0, ncHosts));
    m.AddRow();
    QCOMPARE(m.rowCount(), 2);
    // An empty row is no need and no problem.
    QVERIFY(m.Problems().empty());
  }

  void splitParents_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("parents");
    QTest::newRow("one") << "10.20.0.0/22" << QStringList{"10.20.0.0/22"};
    QTest::newRow("commas") << "10.20.0.0/22, 10.30.0.0/24"
                            << QStringList{"10.20.0.0/22", "10.30.0.0/24"};
    QTest::newRow("semicolons and blanks") << " a;b  c ,, d " << QStringList{"a", "b", "c", "d"};
    QTest::newRow("empty") << "  " << QStringList{};
  }
  void splitParents() {
    QFETCH(QString, text);
    QFETCH(QStringList, parents);
    QStringList got;
    for (const std::string& p : SplitParents(text)) got << QString::fromStdString(p);
    QCOMPARE(got, parents);
    QCOMPARE(SplitParents(JoinParents(SplitParents(text))), SplitParents(text));
  }

  // The result list shows the engine's allocation of the worked example.
  void resultRowsOfTheExample() {
    planner::plan p;
    p.parents = {"10.20.0.0/22"};
    p.needs = {Need("Sales", 120), Need("VoIP", 60), Need("Servers", 28), Need("P2P", 2, -1, 8),
               Need("Link", 0, 30)};
    p.needs[1].vlan = 20;
    p.needs[1].note = "phones";
    p.rfc3021 = true;
    const planner::result r = planner::compute(p);
    const QVector<QStringList> rows = ResultRows(p, r);
    QCOMPARE(int(rows.size()), 12);
    QCOMPARE(rows[0], (QStringList{"Sales", "120", "/25", "10.20.0.0/25", "255.255.255.128",
                                   "10.20.0.1", "10.20.0.126", "10.20.0.127", "126", "6", "", ""}));
    QCOMPARE(rows[1],
             (QStringList{"VoIP", "60", "/26", "10.20.0.128/26", "255.255.255.192", "10.20.0.129",
                          "10.20.0.190", "10.20.0.191", "62", "2", "20", "phones"}));
    // A need given as a prefix length has no host count to show.
    bool sawLink = false;
    for (const QStringList& row : rows)
      if (row[rcName] == "Link") {
        sawLink = true;
        QCOMPARE(row[rcHosts], QString());
        QCOMPARE(row[rcPrefix], QStringLiteral("/30"));
      }
    QVERIFY(sawLink);
    QCOMPARE(SummaryText(r),
             QStringLiteral("12 networks placed, 0 unplaced; 244 of 1024 addresses allocated "
                            "(23.8%)"));
  }

  void freeRows_data() {
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("size");
    QTest::newRow("10.20.0.240/28") << "10.20.0.240/28"
                                    << "16";
    QTest::newRow("0.0.0.0/0") << "0.0.0.0/0"
                               << "4294967296";
    QTest::newRow("10.0.0.1/32") << "10.0.0.1/32"
                                 << "1";
    QTest::newRow("2001:db8::/64") << "2001:db8::/64"
                                   << "18446744073709551616";
    QTest::newRow("::/0") << "::/0"
                          << "340282366920938463463374607431768211456";
  }
  void freeRows() {
    QFETCH(QString, block);
    QFETCH(QString, size);
    planner::result r;
    r.free = {block.toStdString()};
    QCOMPARE(FreeRows(r), (QVector<QStringList>{{block, size}}));
  }

  // Cells first, then the engine's problems, then what was not placed.
  void problemRowsInOrder() {
    planner::plan p;
    p.parents = {"10.20.0.0/24", "10.300.0.0/24"};
    p.needs = {Need("Sales", 120), Need("Big", 200)};
    const planner::result r = planner::compute(p);
    QVERIFY(!r.problems.empty());
    QCOMPARE(int(r.unplaced.size()), 1);
    const QVector<QStringList> rows =
        ProblemRows({TNeedCellProblem{2, ncHosts, "Hosts: \"x\" is not a whole number", "Lab"}}, r);
    QCOMPARE(int(rows.size()), 1 + int(r.problems.size()) + 1);
    QCOMPARE(rows[0], (QStringList{"row 3 (Lab)", "Hosts: \"x\" is not a whole number"}));
    QVERIFY2(rows[1][1].contains("10.300.0.0/24"), qPrintable(rows[1][1]));
    // Largest first: Big takes the whole /24 and Sales finds no room.
    QCOMPARE(rows.last()[0], QStringLiteral("Sales"));
    QVERIFY2(rows.last()[1].startsWith("not placed: Sales needs a /25"),
             qPrintable(rows.last()[1]));
    QVERIFY(SummaryText(r).startsWith("1 network placed, 1 unplaced"));
  }

  // A need the engine turns down is named by its table row, like a cell that
  // does not read, whatever rows above it were left out of the plan.
  void needProblemsNamedByTableRow_data() {
    QTest::addColumn<QStringList>("table");  // rows as cells joined by "|"
    QTest::addColumn<QString>("where");
    QTest::newRow("no row left out") << QStringList{"Fix|10|||||10.20.0.5/28"} << "row 1 (Fix)";
    QTest::newRow("a bad row above")
        << QStringList{"Bad|abc", "Fix|10|||||10.20.0.5/28"} << "row 2 (Fix)";
    QTest::newRow("bad and empty rows above")
        << QStringList{"Sales|120", "Bad|x", "", "|5", "Fix|10|||||10.20.0.5/28"}
        << "row 5 (Fix)";
    QTest::newRow("a link over 32 after a bad row")
        << QStringList{"Bad|x", "Link||/33"} << "row 2 (Link)";
  }
  void needProblemsNamedByTableRow() {
    QFETCH(QStringList, table);
    QFETCH(QString, where);
    QVector<TNeedRow> rows;
    for (const QString& cells : table) rows.append(Row(cells));
    TPlanNeedsModel m;
    m.SetRows(rows);
    std::vector<TNeedCellProblem> cells;
    std::vector<int> rowOfNeed;
    planner::plan p;
    p.parents = {"10.20.0.0/22"};
    p.needs = m.Needs(&cells, &rowOfNeed);
    const planner::result r = planner::compute(p);
    QCOMPARE(int(r.problems.size()), 1);
    const QVector<QStringList> shown = ProblemRows(cells, r, rowOfNeed);
    QCOMPARE(shown.at(int(cells.size()))[0], where);
  }

  // A write that falls short leaves the old file as it was.
  void atomicWrite_data() {
    QTest::addColumn<int>("shortBy");  // -1: the write fails outright
    QTest::newRow("complete") << 0;
    QTest::newRow("one byte short") << 1;
    QTest::newRow("failed") << -1;
  }
  void atomicWrite() {
    QFETCH(int, shortBy);
    QTemporaryDir dir;
    const QString path = dir.filePath("plan.json");
    WriteAll(path, "old contents");
    const QByteArray data(100000, 'x');
    const bool ok =
        WriteFileAtomically(path, data, [shortBy](QIODevice* d, const char* p, qint64 n) -> qint64 {
          if (shortBy < 0) return -1;
          return d->write(p, n - shortBy);
        });
    QCOMPARE(ok, shortBy == 0);
    QCOMPARE(ReadAll(path), shortBy == 0 ? data : QByteArray("old contents"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"plan.json"});
  }

  void atomicWriteToAMissingFolderFails() {
    QTemporaryDir dir;
    QVERIFY(!WriteFileAtomically(dir.filePath("no/such/plan.json"), "x"));
  }
};

QTEST_MAIN(TestPlanModel)
#include "tst_planmodel.moc"
