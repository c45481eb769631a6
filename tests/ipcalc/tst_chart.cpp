// The special-address chart: reading reserved.lst, its order, highlighting
// and picking a block.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "ipcalc/reservedlist.h"
#include "ipcalc/specialchart.h"
#include "ipv4lib/ipv4.h"

namespace {
uint32_t V(const char* dotted) {
  return ipv4(dotted).value();
}

QStringList Blocks(const std::vector<TChartEntry>& rows) {
  QStringList b;
  for (const TChartEntry& e : rows) b << e.block;
  return b;
}

bool WriteFile(const QString& path, const QByteArray& content) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

const QByteArray kShuffled =
    "255.255.255.255/32;Limited Broadcast;RFC919\n"
    "224.0.0.0/4;Multicast;RFC5771\n"
    "# a comment without separator\n"
    "10.0.0.0/8;Private-Use;RFC1918\n"
    "192.0.0.0/29;IPv4 Service Continuity Prefix;RFC7335\n"
    "192.168.0.0/16;Private-Use;RFC1918\n"
    "\n"
    "192.0.0.0/24;IETF Protocol Assignments;RFC6890\n"
    "127.0.0.0/8;Loopback\n"
    "  172.16.0.0/12;Private-Use;RFC1918  \r\n"
    "0.0.0.0/8;\"This network\";RFC791;extra field\n";
}  // namespace

class TestChart : public QObject {
  Q_OBJECT
 private slots:
  void parseSortsByNetworkValue();
  void parseSkipsMalformedLines_data();
  void parseSkipsMalformedLines();
  void longLineIsReadInPieces();
  void candidatesInSearchOrder();
  void firstReadableCandidateWins();
  void builtInCopyIsThere();
  void highlight_data();
  void highlight();
  void chartWidgetHighlightsPicksAndRestores();
};

void TestChart::parseSortsByNetworkValue() {
  const std::vector<TChartEntry> rows = ParseReservedList(kShuffled);
  // Equal network values keep the file's order; 224/4 comes after 192.168/16.
  QCOMPARE(Blocks(rows),
           (QStringList{"0.0.0.0/8", "10.0.0.0/8", "127.0.0.0/8", "172.16.0.0/12", "192.0.0.0/29",
                        "192.0.0.0/24", "192.168.0.0/16", "224.0.0.0/4", "255.255.255.255/32"}));
  QCOMPARE(rows[2].usage, QString("Loopback"));
  QCOMPARE(rows[2].reference, QString());
  QCOMPARE(rows[3].reference, QString("RFC1918"));  // trimmed, CR gone
  QCOMPARE(rows[0].usage, QString("\"This network\""));
  QCOMPARE(rows[0].reference, QString("RFC791"));
  QCOMPARE(rows[6].key, V("192.168.0.0"));
}

void TestChart::parseSkipsMalformedLines_data() {
  QTest::addColumn<QByteArray>("line");
  QTest::addColumn<QString>("block");
  QTest::newRow("block only") << QByteArray("10.0.0.0/8") << "";
  QTest::newRow("prefix 0") << QByteArray("10.0.0.0/0;Nothing;RFC0") << "";
  QTest::newRow("no address") << QByteArray("abc;Nothing;RFC0") << "";
  QTest::newRow("address without mask") << QByteArray("10.0.0.0;Nothing;RFC0") << "";
  QTest::newRow("non-contiguous mask") << QByteArray("10.0.0.0 255.0.255.0;Nothing") << "";
  QTest::newRow("empty usage field") << QByteArray("10.0.0.0/8;;RFC1918") << "";
  QTest::newRow("empty line") << QByteArray("") << "";
  QTest::newRow("blank-separated mask")
      << QByteArray("10.0.0.0 255.0.0.0;Private") << "10.0.0.0 255.0.0.0";
  QTest::newRow("trailing separator") << QByteArray("10.0.0.0/8;Private;RFC 1918;") << "10.0.0.0/8";
}

void TestChart::parseSkipsMalformedLines() {
  QFETCH(QByteArray, line);
  QFETCH(QString, block);
  // A valid line before must not make a bad one valid.
  const std::vector<TChartEntry> rows =
      ParseReservedList("255.255.255.255/32;Limited Broadcast;RFC919\n" + line + "\n");
  QCOMPARE(Blocks(rows).mid(0, int(rows.size()) - 1),
           block.isEmpty() ? QStringList() : QStringList{block});
  if (block == "10.0.0.0/8") QCOMPARE(rows[0].reference, QString("RFC 1918;"));
}

void TestChart::longLineIsReadInPieces() {
  const QByteArray longUsage(260, 'x');
  const std::vector<TChartEntry> rows =
      ParseReservedList("10.0.0.0/8;" + longUsage + "\n192.168.0.0/16;Private\n");
  QCOMPARE(Blocks(rows), (QStringList{"10.0.0.0/8", "192.168.0.0/16"}));
  QCOMPARE(rows[0].usage.size(), kMaxReservedLine - 11);
}

void TestChart::candidatesInSearchOrder() {
  QCOMPARE(ReservedListCandidates("/home/u", "/opt/orvex/bin"),
           (QStringList{"/home/u/reserved.lst", "/opt/orvex/bin/reserved.lst",
                        "/opt/orvex/share/orvex/reserved.lst", ":/data/reserved.lst"}));
}

void TestChart::firstReadableCandidateWins() {
  QTemporaryDir dir;
  const QString a = dir.filePath("a.lst"), b = dir.filePath("b.lst");
  QVERIFY(WriteFile(b, "10.0.0.0/8;B\n"));
  QString used;
  QCOMPARE(ReadReservedList({a, b}, &used), QByteArray("10.0.0.0/8;B\n"));
  QCOMPARE(used, b);
  QVERIFY(WriteFile(a, "10.0.0.0/8;A\n"));
  QCOMPARE(ReadReservedList({a, b}, &used), QByteArray("10.0.0.0/8;A\n"));
  QVERIFY(ReadReservedList({dir.filePath("none")}, &used).isEmpty());
  QVERIFY(used.isEmpty());
}

void TestChart::builtInCopyIsThere() {
  const std::vector<TChartEntry> rows =
      ParseReservedList(ReadReservedList({":/data/reserved.lst"}));
  const QStringList blocks = Blocks(rows);
  for (const char* b :
       {"0.0.0.0/8",       "10.0.0.0/8",     "100.64.0.0/10",  "127.0.0.0/8",
        "169.254.0.0/16",  "172.16.0.0/12",  "192.0.0.0/24",   "192.0.0.0/29",
        "192.0.2.0/24",    "192.88.99.0/24", "192.168.0.0/16", "198.18.0.0/15",
        "198.51.100.0/24", "203.0.113.0/24", "224.0.0.0/4",    "232.0.0.0/8",
        "233.0.0.0/8",     "239.0.0.0/8",    "240.0.0.0/4",    "255.255.255.255/32"})
    QVERIFY2(blocks.contains(b), b);
  for (const TChartEntry& e : rows) QVERIFY2(!e.reference.isEmpty(), qPrintable(e.block));
}

void TestChart::highlight_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<QString>("block");
  QTest::newRow("10.1.2.3/24") << "10.1.2.3"
                               << "255.255.255.0"
                               << "10.0.0.0/8";
  QTest::newRow("10.0.0.0/8 same size") << "10.0.0.0"
                                        << "255.0.0.0"
                                        << "10.0.0.0/8";
  QTest::newRow("10.0.0.0/7 wider") << "10.0.0.0"
                                    << "254.0.0.0"
                                    << "";
  QTest::newRow("192.0.0.1/32 nested") << "192.0.0.1"
                                       << "255.255.255.255"
                                       << "192.0.0.0/24";
  QTest::newRow("192.0.0.9/32 nested") << "192.0.0.9"
                                       << "255.255.255.255"
                                       << "192.0.0.0/24";
  QTest::newRow("192.0.0.1/24") << "192.0.0.1"
                                << "255.255.255.0"
                                << "192.0.0.0/24";
  QTest::newRow("239.1.2.3/24 last wins") << "239.1.2.3"
                                          << "255.255.255.0"
                                          << "224.0.0.0/4";
  QTest::newRow("8.8.8.8 none") << "8.8.8.8"
                                << "255.255.255.0"
                                << "";
  QTest::newRow("unreadable is 0.0.0.0") << "abc"
                                         << "255.255.255.0"
                                         << "0.0.0.0/8";
}

void TestChart::highlight() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(QString, block);
  const std::vector<TChartEntry> rows = ParseReservedList(kShuffled);
  const int i = ChartHighlightIndex(rows, address, V(qPrintable(mask)));
  QCOMPARE(i < 0 ? QString() : rows[std::size_t(i)].block, block);
}

void TestChart::chartWidgetHighlightsPicksAndRestores() {
  QTemporaryDir dir;
  QVERIFY(WriteFile(dir.filePath("reserved.lst"), kShuffled));
  const QString cwd = QDir::currentPath();
  QVERIFY(QDir::setCurrent(dir.path()));
  TSpecialChart chart;
  chart.LoadReservedList();
  QDir::setCurrent(cwd);
  QCOMPARE(chart.FListFile, QDir(dir.path()).filePath("reserved.lst"));
  QCOMPARE(chart.lvIPv4Chart->topLevelItemCount(), 9);
  QCOMPARE(chart.lvIPv4Chart->topLevelItem(3)->text(0), QString("172.16.0.0/12"));
  QCOMPARE(chart.lvIPv4Chart->topLevelItem(3)->text(1), QString("Private-Use"));
  QCOMPARE(chart.FChartRow, 0);

  chart.HighlightChartRow("10.1.2.3", V("255.255.255.0"));
  QCOMPARE(chart.lvIPv4Chart->selectedItems().size(), 1);
  QCOMPARE(chart.lvIPv4Chart->selectedItems().first()->text(0), QString("10.0.0.0/8"));
  QCOMPARE(chart.FChartRow, 1);

  // No containing block: nothing selected, the remembered row stays.
  chart.HighlightChartRow("8.8.8.8", V("255.255.255.0"));
  QVERIFY(chart.lvIPv4Chart->selectedItems().isEmpty());
  QCOMPARE(chart.FChartRow, 1);

  // Leaving the chart after clicking elsewhere puts the selection back.
  chart.lvIPv4Chart->topLevelItem(5)->setSelected(true);
  chart.lvIPv4ChartExit();
  QCOMPARE(chart.lvIPv4Chart->selectedItems().first()->text(0), QString("10.0.0.0/8"));
  chart.DeselectChart();
  chart.lvIPv4ChartExit();
  QVERIFY(chart.lvIPv4Chart->selectedItems().isEmpty());

  QSignalSpy picked(&chart, &TSpecialChart::blockPicked);
  chart.lvIPv4ChartDblClick();
  QCOMPARE(picked.count(), 0);
  chart.lvIPv4Chart->setCurrentItem(chart.lvIPv4Chart->topLevelItem(3));
  QTest::keyClick(chart.lvIPv4Chart, Qt::Key_Return);
  QCOMPARE(picked.count(), 1);
  QCOMPARE(picked.last().at(0).toString(), QString("172.16.0.0"));
  QCOMPARE(picked.last().at(1).toString(), QString("255.240.0.0"));

  // A missing file leaves the chart as it was.
  chart.LoadReservedList({dir.filePath("missing.lst")});
  QCOMPARE(chart.lvIPv4Chart->topLevelItemCount(), 9);
}

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
