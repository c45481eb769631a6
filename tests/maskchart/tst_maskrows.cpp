// The rows of the Mask Chart and of the Subnetting dialog, without a window.

#include <QtTest>
#include <cstdint>

#include "maskchart/maskrows.h"

namespace {

const QColor kBlack(0, 0, 0), kBlue(0, 0, 255), kTeal(0, 128, 128), kMaroon(128, 0, 0);

QString Dotted(uint32_t v) {
  return QStringLiteral("%1.%2.%3.%4")
      .arg(v >> 24)
      .arg((v >> 16) & 255)
      .arg((v >> 8) & 255)
      .arg(v & 255);
}

QString Cells(const TMaskChartRow& r) {
  return QStringList{r.mask, r.prefix, r.hosts, r.wildcard, r.remark}.join('|');
}

QString Cells(const TSubnettingRow& r) {
  return QStringList{r.mask, r.prefix, r.networks, r.hosts}.join('|');
}

}  // namespace

class TestMaskRows : public QObject {
  Q_OBJECT
 private slots:
  void chartRowCounts_data() {
    QTest::addColumn<bool>("classA");
    QTest::addColumn<bool>("rfc3021");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("beforeLast");
    QTest::newRow("neither") << false << false << 24 << "/8"
                             << "/30";
    QTest::newRow("RFC3021") << false << true << 25 << "/8"
                             << "/31";
    QTest::newRow("Class A supernets") << true << false << 31 << "/1"
                                       << "/30";
    QTest::newRow("both") << true << true << 32 << "/1"
                          << "/31";
  }
  void chartRowCounts() {
    QFETCH(bool, classA);
    QFETCH(bool, rfc3021);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, beforeLast);
    const std::vector<TMaskChartRow> rows = MaskChartRows(classA, rfc3021);
    QCOMPARE(int(rows.size()), count);
    QCOMPARE(rows.front().prefix, first);
    QCOMPARE(rows[rows.size() - 2].prefix, beforeLast);
    QCOMPARE(rows.back().prefix, QString("/32"));
  }

  void chartRow_data() {
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("cells");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("/1") << "/1"
                        << "128.0.0.0|/1|2147483646|127.255.255.255|" << int(mkSupernet) << kBlue;
    QTest::newRow("/7") << "/7"
                        << "254.0.0.0|/7|33554430|1.255.255.255|" << int(mkSupernet) << kBlue;
    QTest::newRow("/8") << "/8"
                        << "255.0.0.0|/8|16777214|0.255.255.255|Class A" << int(mkPlain) << kMaroon;
    QTest::newRow("/16") << "/16"
                         << "255.255.0.0|/16|65534|0.0.255.255|Class B" << int(mkPlain) << kMaroon;
    QTest::newRow("/24") << "/24"
                         << "255.255.255.0|/24|254|0.0.0.255|Class C" << int(mkPlain) << kMaroon;
    QTest::newRow("/30") << "/30"
                         << "255.255.255.252|/30|2|0.0.0.3|" << int(mkPlain) << kBlack;
    QTest::newRow("/31") << "/31"
                         << "255.255.255.254|/31|2|0.0.0.1|RFC3021" << int(mkMask31) << kTeal;
    QTest::newRow("/32") << "/32"
                         << "255.255.255.255|/32|Host Mask|0.0.0.0|" << int(mkPlain) << kBlack;
  }
  void chartRow() {
    QFETCH(QString, prefix);
    QFETCH(QString, cells);
    QFETCH(int, kind);
    QFETCH(QColor, colour);
    for (const TMaskChartRow& r : MaskChartRows(true, true)) {
      if (r.prefix != prefix) continue;
      QCOMPARE(Cells(r), cells);
      QCOMPARE(r.kind, kind);
      QCOMPARE(r.colour, colour);
      return;
    }
    QFAIL("no such row");
  }

  // Every row /1 to /30 against a plain 64-bit formulation.
  void chartAgainstReference() {
    const std::vector<TMaskChartRow> rows = MaskChartRows(true, false);
    for (int p = 1; p <= 30; ++p) {
      const TMaskChartRow& r = rows[p - 1];
      const uint32_t mask = uint32_t(0xFFFFFFFFull << (32 - p));
      QCOMPARE(r.mask, Dotted(mask));
      QCOMPARE(r.prefix, "/" + QString::number(p));
      QCOMPARE(r.hosts, QString::number((1ull << (32 - p)) - 2));
      QCOMPARE(r.wildcard, Dotted(~mask));
    }
  }

  // kinds: one digit per row.
  void subnetting_data() {
    QTest::addColumn<QString>("maskText");
    QTest::addColumn<bool>("rfc3021");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("kinds");
    QTest::newRow("255.255.255.0")
        << "255.255.255.0" << false << "255.255.255.0" << 6 << "255.255.255.128|/25|2|126"
        << "255.255.255.252|/30|64|2"
        << "000000";
    QTest::newRow("255.255.255.0 RFC3021")
        << "255.255.255.0" << true << "255.255.255.0" << 7 << "255.255.255.128|/25|2|126"
        << "255.255.255.254|/31|128|2"
        << "0000002";
    QTest::newRow("255.255.255.248")
        << "255.255.255.248" << false << "255.255.255.248" << 1 << "255.255.255.252|/30|2|2"
        << "255.255.255.252|/30|2|2"
        << "0";
    QTest::newRow("255.255.255.248 RFC3021")
        << "255.255.255.248" << true << "255.255.255.248" << 2 << "255.255.255.252|/30|2|2"
        << "255.255.255.254|/31|4|2"
        << "02";
    QTest::newRow("128.0.0.0") << "128.0.0.0" << false << "128.0.0.0" << 29
                               << "192.0.0.0|/2|2|1073741822"
                               << "255.255.255.252|/30|536870912|2"
                               << "11111130000000300000003000000";
    QTest::newRow("128.0.0.0 RFC3021")
        << "128.0.0.0" << true << "128.0.0.0" << 30 << "192.0.0.0|/2|2|1073741822"
        << "255.255.255.254|/31|1073741824|2"
        << "111111300000003000000030000002";
    // The host mask cannot be divided; texts that are no subnet mask list nothing.
    QTest::newRow("255.255.255.255") << "255.255.255.255" << true << "255.255.255.255" << 0 << ""
                                     << ""
                                     << "";
    QTest::newRow("wildcard 0.0.0.255") << "0.0.0.255" << false << "0.0.0.255" << 0 << ""
                                        << ""
                                        << "";
    QTest::newRow("(empty)") << "" << false << "0.0.0.0" << 0 << ""
                             << ""
                             << "";
    QTest::newRow("not a mask") << "255.255.0.255" << false << "255.255.0.255" << 0 << ""
                                << ""
                                << "";
  }
  void subnetting() {
    QFETCH(QString, maskText);
    QFETCH(bool, rfc3021);
    QFETCH(QString, caption);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, kinds);
    const TSubnetting s = SubnettingRows(maskText, rfc3021);
    QCOMPARE(s.caption, "Subnetting for a subnet mask: " + caption);
    QCOMPARE(int(s.rows.size()), count);
    if (count == 0) return;
    QCOMPARE(Cells(s.rows.front()), first);
    QCOMPARE(Cells(s.rows.back()), last);
    QString k;
    const int firstPrefix = s.rows.front().prefix.mid(1).toInt();
    for (size_t i = 0; i < s.rows.size(); ++i) {
      const TSubnettingRow& r = s.rows[i];
      // Each row one bit longer, twice the networks of the row before.
      const int p = firstPrefix + int(i);
      QCOMPARE(r.prefix, "/" + QString::number(p));
      QCOMPARE(r.mask, Dotted(uint32_t(0xFFFFFFFFull << (32 - p))));
      QCOMPARE(r.networks, QString::number(2ull << i));
      QCOMPARE(r.hosts, QString::number(p == 31 ? 2 : (1ull << (32 - p)) - 2));
      QCOMPARE(r.colour, MaskKindColour(r.kind));
      k += QString::number(r.kind);
    }
    QCOMPARE(k, kinds);
  }
};

QTEST_APPLESS_MAIN(TestMaskRows)
#include "tst_maskrows.moc"
