#include <QRandomGenerator>
#include <QTest>
#include <cstdio>

#include "ipv4lib/ipv4mac.h"
#include "rowname.h"

namespace {
std::string_view view(const QByteArray& b) {
  return {b.constData(), std::size_t(b.size())};
}
}  // namespace

class tst_ipv4mac : public QObject {
  Q_OBJECT
 private slots:
  void parse_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<quint64>("value");  // 0 with flags 0 for a rejected text
    QTest::addColumn<uint>("flags");
    const auto row = [](const QByteArray& t, quint64 v, uint f) {
      QTest::newRow(rowName(t).constData()) << t << v << f;
    };
    row("01-00-5E-7F-FF-FA", 0x01005E7FFFFA, 0x5);
    row("01:00:5e:7f:ff:fa", 0x01005E7FFFFA, 0x5);
    row("0100.5e7f.fffa", 0x01005E7FFFFA, 0x5);
    row("01-00:5e.7f-ff:fa", 0x01005E7FFFFA, 0x5);
    row("01-00-5E-00-00-00", 0x01005E000000, 0x5);
    row("01-00-5E-80-00-00", 0x01005E800000, 0x1);
    row("01-00-5D-7F-FF-FF", 0x01005D7FFFFF, 0x1);
    row("03-00-5E-00-00-01", 0x03005E000001, 0x1);
    row("00-00-00-00-00-00", 0, 0x3);
    row("ff-ff-ff-ff-ff-ff", 0xFFFFFFFFFFFF, 0x1);
    row("0:1:2:3:4:5", 0x000102030405, 0x1);
    row("00ff-1-2-3-4-5", 0xFF0102030405, 0x1);
    row("1.2.3", 0x000100020003, 0x1);
    row("1-0-5E-7F-FF-FA-7", 0x01005E7FFFFA, 0x5);  // text after the sixth separator ignored
    row("1-2-3-4-5-6-", 0x010203040506, 0x1);
    row("1-2-3-4-5-6-ffff", 0x010203040506, 0x1);
    row("01-00-5E-7F-FF", 0, 0);
    row("100.5e7f.fffa.0", 0, 0);
    row("010203040506", 0, 0);
    row("01-00-5E-7F-FF-FG", 0, 0);
    row("1-2-3-4-5-6-g", 0, 0);
    row("001-02-03-04-05-06", 0, 0);  // 18 characters
    row("1-2-3-4-5-100", 0, 0);
    row("10000.0.0", 0, 0);
    row("1-2-3-4-5-", 0, 0);
    row("1--3-4-5-6", 0, 0);
    row("-1-2-3-4-5", 0, 0);
    row("1.2.", 0, 0);
    row("", 0, 0);
    row(" 1-2-3-4-5-6", 0, 0);
    row(QByteArray("1-2-3-4-5-6\0", 12), 0, 0);
    row(QByteArray("1-2-3\0-4-5-6", 12), 0, 0);
    row("1-2-3-4-5-\xC3\xA9", 0, 0);
    row("\xEF\xBC\x91-2-3-4-5-6", 0, 0);  // full-width digit
    row(QByteArray(16, 'f'), 0, 0);
    row(QByteArray(31, '-'), 0, 0);
    row(QByteArray(10000, '0'), 0, 0);
  }
  void parse() {
    QFETCH(QByteArray, text);
    QFETCH(quint64, value);
    QFETCH(uint, flags);
    const ipv4mac m(view(text));
    QCOMPARE(m.flags(), flags);
    QCOMPARE(quint64(m.value()), value);
    if (!flags) QCOMPARE(m.text(0), std::string());
  }

  void texts_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "0a:1b:2c:3d:4e:5f";
    QTest::newRow("1") << 1 << "0a-1b-2c-3d-4e-5f";
    QTest::newRow("2") << 2 << "0a1b.2c3d.4e5f";
    QTest::newRow("3") << 3 << "";
    QTest::newRow("-1") << -1 << "0a:1b:2c:3d:4e:5f";
  }
  void texts() {
    QFETCH(int, format);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(ipv4mac("0A-1B-2C-3D-4E-5F").text(format)), text);
  }

  void fromNumbers() {
    QCOMPARE(ipv4mac(0x5E000001u, 0x0100u).flags(), 0x5u);
    const ipv4mac tooWide(1u, 0x10000u);
    QVERIFY(!tooWide.is_valid());
    QCOMPARE(tooWide.value(), quint64(0));
    QCOMPARE(tooWide.text(2), std::string());
  }

  void reverseBits() {
    ipv4mac m("01-00-5E-00-00-01");
    m.reverse_bits();
    QCOMPARE(m.text(1), std::string("80-00-7a-00-00-80"));
    QCOMPARE(m.flags(), 0x5u);  // kept from before the reversal
  }

  // Random values: all three notations read back, and the reversal against a bit loop.
  void randomValues() {
    QRandomGenerator rng(48);
    for (int i = 0; i < 20000; ++i) {
      const quint64 v = rng.generate64() & 0xFFFFFFFFFFFFull;
      const ipv4mac m(uint32_t(v), uint32_t(v >> 32));
      const bool multicast = (v >> 24) == 0x01005E && ((v >> 16) & 0xFF) < 0x80;
      QCOMPARE(m.is_ipv4_multicast(), multicast);
      char upper[24];
      std::snprintf(upper, sizeof upper, "%02X:%02X-%02X.%02X:%02X-%02X", unsigned(v >> 40),
                    unsigned(v >> 32) & 0xFF, unsigned(v >> 24) & 0xFF, unsigned(v >> 16) & 0xFF,
                    unsigned(v >> 8) & 0xFF, unsigned(v) & 0xFF);
      for (int format = 0; format <= 2; ++format)
        QCOMPARE(quint64(ipv4mac(m.text(format)).value()), v);
      QCOMPARE(quint64(ipv4mac(upper).value()), v);

      quint64 reversed = 0;
      for (int bit = 0; bit < 48; ++bit)
        if (v >> bit & 1) reversed |= quint64(1) << (bit / 8 * 8 + 7 - bit % 8);
      ipv4mac r = m;
      r.reverse_bits();
      QCOMPARE(quint64(r.value()), reversed);
    }
  }
};

QTEST_APPLESS_MAIN(tst_ipv4mac)
#include "tst_ipv4mac.moc"
