// Reading reserved.lst: its lines, its order, where it is found, and the copy
// that ships with the program. Highlighting and picking are driven through the
// calculator window in tst_listcommands.
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "ipcalc/addresschart.h"
#include "ipcalc/reservedlist.h"

namespace {
QStringList Rows(const std::vector<TChartEntry>& entries) {
  QStringList rows;
  for (const TChartEntry& e : entries) rows << e.block + '|' + e.usage + '|' + e.reference;
  return rows;
}

bool WriteFile(const QString& path, const QByteArray& content) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}
}  // namespace

class TestChart : public QObject {
  Q_OBJECT
 private slots:
  void line_data();
  void line();
  void equalNetworksKeepTheFileOrder();
  void fileIsSearchedInOrder();
  void shippedListHasTheUsualBlocks();
};

void TestChart::line_data() {
  QTest::addColumn<QByteArray>("line");
  QTest::addColumn<QString>("row");  // "" when the line is skipped
  const QByteArray longUsage(260, 'x');
  const struct {
    const char *name, *line, *row;
  } rows[] = {
      {"extra field", "0.0.0.0/8;\"This network\";RFC791;x", "0.0.0.0/8|\"This network\"|RFC791"},
      {"blanks and CR", "  172.16.0.0/12;Private-Use;RFC1918 \t\r",
       "172.16.0.0/12|Private-Use|RFC1918"},
      {"blank-separated mask", "10.0.0.0 255.0.0.0;Private", "10.0.0.0 255.0.0.0|Private|"},
      {"trailing separator", "10.0.0.0/8;Private;RFC 1918;", "10.0.0.0/8|Private|RFC 1918;"},
      {"address without mask", "10.0.0.0;Nothing;RFC0", ""},
      {"non-contiguous mask", "10.0.0.0 255.0.255.0;Nothing", ""},
      {"empty usage field", "10.0.0.0/8;;RFC1918", ""}};
  for (const auto& r : rows) QTest::newRow(r.name) << QByteArray(r.line) << QString(r.row);
  // Read in pieces of 253 characters; the rest has no separator and is skipped.
  QTest::newRow("longer than 253")
      << "10.0.0.0/8;" + longUsage << "10.0.0.0/8|" + QString(kMaxReservedLine - 11, 'x') + '|';
}

void TestChart::line() {
  QFETCH(QByteArray, line);
  QFETCH(QString, row);
  // A valid line before must not make a bad one valid.
  const QStringList rows =
      Rows(ParseReservedList("255.255.255.255/32;Limited Broadcast\n" + line + "\n"));
  QCOMPARE(rows.mid(0, rows.size() - 1), row.isEmpty() ? QStringList() : QStringList{row});
}

void TestChart::equalNetworksKeepTheFileOrder() {
  const std::vector<TChartEntry> rows = ParseReservedList(
      "192.0.0.0/29;inner\n224.0.0.0/4;Multicast\n192.0.0.0/24;outer\n10.0.0.0/8;Private");
  QCOMPARE(Rows(rows), (QStringList{"10.0.0.0/8|Private|", "192.0.0.0/29|inner|",
                                    "192.0.0.0/24|outer|", "224.0.0.0/4|Multicast|"}));
}

void TestChart::fileIsSearchedInOrder() {
  QCOMPARE(ReservedListCandidates("/home/u", "/opt/orvex/bin"),
           (QStringList{"/home/u/reserved.lst", "/opt/orvex/bin/reserved.lst",
                        "/opt/orvex/share/orvex/reserved.lst", ":/data/reserved.lst"}));
  QTemporaryDir dir;
  const QString a = dir.filePath("a.lst"), b = dir.filePath("b.lst");
  QVERIFY(WriteFile(b, "10.0.0.0/8;B\n"));
  TSpecialChart chart;
  chart.LoadReservedList({a, b});
  QCOMPARE(chart.FListFile, b);
  QCOMPARE(chart.lvIPv4Chart->topLevelItem(0)->text(1), QString("B"));
  QVERIFY(WriteFile(a, "10.0.0.0/8;A\n"));
  QCOMPARE(ReadReservedList({a, b}), QByteArray("10.0.0.0/8;A\n"));
  // Nothing readable: the chart stays as it was, without a message.
  chart.LoadReservedList({dir.filePath("missing.lst")});
  QCOMPARE(chart.lvIPv4Chart->topLevelItemCount(), 1);
}

void TestChart::shippedListHasTheUsualBlocks() {
  const std::vector<TChartEntry> rows =
      ParseReservedList(ReadReservedList({":/data/reserved.lst"}));
  QVERIFY(rows.size() > 40);
  for (const TChartEntry& e : rows) QVERIFY2(!e.reference.isEmpty(), qPrintable(e.block));
  QCOMPARE(Rows(rows).filter("192.168.0.0/16"), QStringList{"192.168.0.0/16|Private-Use|RFC1918"});
}

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
