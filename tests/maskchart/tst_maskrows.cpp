// The rows of the Mask Chart and of the Subnetting dialog, without a window.

#include <QtTest>
#include <cstdint>

#include "maskchart/maskrows.h"

namespace {

QString Dotted(uint32_t v) {
  return QStringLiteral("%1.%2.%3.%4")
      .arg(v >> 24)
      .arg((v >> 16) & 255)
      .arg((v >> 8) & 255)
      .arg(v & 255);
}

}  // namespace

class TestMaskRows : public QObject {
  Q_OBJECT
 private slots:
  void chartRowCounts_data() {
    QTest::addColumn<bool>("classA");
    QTest::addColumn<bool>("rfc3021");
    QTest::addColumn<int>("count");
    QTest::newRow("neither") << false << false << 24;
    QTest::newRow("RFC3021") << false << true << 25;
    QTest::newRow("Class A supernets") << true << false << 31;
    QTest::newRow("both") << true << true << 32;
  }
  void chartRowCounts() {
    QFETCH(bool, classA);
    QFETCH(bool, rfc3021);
    QFETCH(int, count);
    const std::vector<TMaskChartRow> rows = MaskChartRows(classA, rfc3021);
    QCOMPARE(int(rows.size()), count);
    QCOMPARE(rows.front().prefix, QString(classA ? "/1" : "/8"));
    QCOMPARE(rows[rows.size() - 2].prefix, QString(rfc3021 ? "/31" : "/30"));
  }

  // Cells in column order, then kind and colour.
  void chartRow_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("cells");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("colour");
    QTest::newRow("/1") << 0 << "128.0.0.0|/1|2147483646|127.255.255.255|" << int(mkSupernet)
                        << int(mkSupernet);
    QTest::newRow("/8") << 7 << "255.0.0.0|/8|16777214|0.255.255.255|Class A" << int(mkPlain)
                        << int(mkClassful);
    QTest::newRow("/30") << 29 << "255.255.255.252|/30|2|0.0.0.3|" << int(mkPlain) << int(mkPlain);
    QTest::newRow("/31") << 30 << "255.255.255.254|/31|2|0.0.0.1|RFC3021" << int(mkMask31)
                         << int(mkMask31);
    QTest::newRow("/32") << 31 << "255.255.255.255|/32|Host Mask|0.0.0.0|" << int(mkPlain)
                         << int(mkPlain);
  }
  void chartRow() {
    QFETCH(int, index);
    QFETCH(QString, cells);
    QFETCH(int, kind);
    QFETCH(int, colour);
    const TMaskChartRow r = MaskChartRows(true, true).at(index);
    QCOMPARE(QStringList({r.mask, r.prefix, r.hosts, r.wildcard, r.remark}).join('|'), cells);
    QCOMPARE(r.kind, kind);
    QCOMPARE(r.colourKind, colour);
  }

  // kinds: one digit per row. Every row is also checked against a plain
  // 64-bit formulation.
  void subnetting_data() {
    QTest::addColumn<QString>("maskText");
    QTest::addColumn<bool>("rfc3021");
    QTest::addColumn<int>("first");
    QTest::addColumn<QString>("kinds");
    QTest::newRow("255.255.255.0") << "255.255.255.0" << false << 25 << "000000";
    QTest::newRow("255.255.255.0 RFC3021") << "255.255.255.0" << true << 25 << "0000002";
    QTest::newRow("255.255.255.248") << "255.255.255.248" << false << 30 << "0";
    QTest::newRow("255.255.255.248 RFC3021") << "255.255.255.248" << true << 30 << "02";
    QTest::newRow("128.0.0.0") << "128.0.0.0" << false << 2 << "11111130000000300000003000000";
    QTest::newRow("128.0.0.0 RFC3021")
        << "128.0.0.0" << true << 2 << "111111300000003000000030000002";
    // The host mask cannot be divided, and a wildcard is no mask.
    QTest::newRow("255.255.255.255") << "255.255.255.255" << true << 0 << "";
    QTest::newRow("0.0.0.255") << "0.0.0.255" << false << 0 << "";
  }
  void subnetting() {
    QFETCH(QString, maskText);
    QFETCH(bool, rfc3021);
    QFETCH(int, first);
    QFETCH(QString, kinds);
    const TSubnetting s = SubnettingRows(maskText, rfc3021);
    QCOMPARE(s.caption, "Subnetting for a subnet mask: " + maskText);
    QString k;
    for (size_t i = 0; i < s.rows.size(); ++i) {
      const TSubnettingRow& r = s.rows[i];
      const int p = first + int(i);
      QCOMPARE(r.prefix, "/" + QString::number(p));
      QCOMPARE(r.mask, Dotted(uint32_t(0xFFFFFFFFull << (32 - p))));
      QCOMPARE(r.networks, QString::number(2ull << i));
      QCOMPARE(r.hosts, QString::number(p == 31 ? 2 : (1ull << (32 - p)) - 2));
      QCOMPARE(r.colourKind, r.kind);
      k += QString::number(r.kind);
    }
    QCOMPARE(k, kinds);
  }
};

QTEST_APPLESS_MAIN(TestMaskRows)
#include "tst_maskrows.moc"
