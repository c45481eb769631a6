#include <QRandomGenerator>
#include <QTest>
#include <cstdio>

#include "ipv4lib/ipv4.h"
#include "rowname.h"

namespace {

uint32_t maskOf(int p) {
  return p == 0 ? 0u : ~0u << (32 - p);
}

struct Ref {
  uint32_t flags;
  int prefix;
  uint32_t hosts;
};

// A second formulation of the classifier: find the value among the 33 masks and
// the 31 wildcards by search, then decide the class from the octets.
Ref reference(uint32_t v) {
  int mp = 0, wp = 0;
  for (int p = 1; p <= 32; ++p) {
    if (v == maskOf(p)) mp = p;
    if (p < 32 && v == ~maskOf(p)) wp = p;
  }
  const uint32_t a = v >> 24, b = (v >> 16) & 0xFF;
  uint32_t f = ipv4::f_valid;
  if (v == 0) {
    f |= ipv4::f_zero;
  } else if (mp >= 8 || (wp >= 8)) {
    f |= ipv4::f_mask_only | (mp ? ipv4::f_mask : ipv4::f_wildcard);
    if (mp == 32) f |= ipv4::f_all_ones;
    if (mp == 31) f |= ipv4::f_mask31;
  } else {
    f |= ipv4::f_address;
    if (mp || wp) f |= ipv4::f_short_mask;
    if (wp) f |= ipv4::f_wildcard;
    const uint32_t cls[] = {ipv4::f_class_a, ipv4::f_class_b, ipv4::f_class_c, ipv4::f_class_d,
                            ipv4::f_class_e};
    const uint32_t lowest[] = {0, 128, 192, 224, 240};
    for (int i = 4; i >= 0; --i)
      if (a >= lowest[i]) {
        f |= cls[i];
        break;
      }
    if (a == 127) f |= ipv4::f_loopback;
    if (a == 169 && b == 254) f |= ipv4::f_link_local;
    if (a == 10 || (a == 172 && b >= 16 && b <= 31) || (a == 192 && b == 168)) f |= ipv4::f_private;
  }
  const int p = mp ? mp : wp;
  const uint32_t hosts = p == 0 ? 0 : p == 32 ? 1 : p == 31 ? 2 : (1u << (32 - p)) - 2;
  return {f, p, hosts};
}

QString hex(uint32_t v) {
  return QString::number(v, 16);
}

}  // namespace

class tst_ipv4 : public QObject {
  Q_OBJECT
 private slots:
  void parse_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<uint>("value");
    const auto row = [](const QByteArray& t, bool ok, uint v) {
      QTest::newRow(rowName(t).constData()) << t << ok << v;
    };
    row("1.2.3.4", true, 0x01020304);
    row("001.002.003.004", true, 0x01020304);
    row("0.0.0.000", true, 0);
    row("255.255.255.255", true, 0xFFFFFFFF);
    row("010.0.0.9", true, 0x0A000009);  // leading zeros are decimal, not octal
    row("", false, 0);
    row("1.2.3", false, 0);
    row("1.2.3.4.", false, 0);
    row(".1.2.3", false, 0);
    row("1..2.3", false, 0);
    row("1.2.3.4.5", false, 0);
    row("256.1.1.1", false, 0);
    row("1.1.1.256", false, 0);
    row("1.2.3.1000", false, 0);
    row(" 1.2.3.4", false, 0);
    row("1.2.3.4 ", false, 0);
    row("+1.2.3.4", false, 0);
    row("1.2.3.-4", false, 0);
    row("0x1.2.3.4", false, 0);
    row("0001.0002.0003.4", false, 0);  // 16 characters
    row("111.111.111.111", true, 0x6F6F6F6F);
    row("0111.111.111.111", false, 0);
    row(QByteArray("1.2.3.4\0", 8), false, 0);
    row(QByteArray("1.2\0.3.4", 8), false, 0);
    row("1.2.\xC3\xA9.4", false, 0);
    row("\xD9\xA1.2.3.4", false, 0);  // a non-ASCII digit
    row(QByteArray(31, '1'), false, 0);
    row(QByteArray(32, '.'), false, 0);
    row(QByteArray(10000, '9'), false, 0);
  }
  void parse() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(uint, value);
    const ipv4 a(std::string_view(text.constData(), text.size()));
    QCOMPARE(a.is_valid(), valid);
    QCOMPARE(a.value(), value);
    if (!valid) {
      QCOMPARE(a.flags(), 0u);
      QCOMPARE(a.text(), std::string());
      QCOMPARE(a.text_mapped(), std::string());
      QCOMPARE(a.prefix_length(), 0);
      QCOMPARE(a.host_count(), 0u);
    }
  }

  void classify_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("flags");
    QTest::addColumn<int>("prefix");
    QTest::addColumn<uint>("hosts");
    const auto row = [](const char* t, uint f, int p, uint h) {
      QTest::newRow(t) << QString(t) << f << p << h;
    };
    row("192.168.1.1", 0x04405, 0, 0);
    row("127.0.0.1", 0x00185, 0, 0);
    row("126.255.255.255", 0x00105, 0, 0);
    row("169.254.7.7", 0x02205, 0, 0);
    row("169.253.255.255", 0x00205, 0, 0);
    row("169.255.0.0", 0x00205, 0, 0);
    row("10.1.2.3", 0x04105, 0, 0);
    row("11.0.0.0", 0x00105, 0, 0);
    row("172.15.255.255", 0x00205, 0, 0);
    row("172.16.0.0", 0x04205, 0, 0);
    row("172.31.255.255", 0x04205, 0, 0);
    row("172.32.0.0", 0x00205, 0, 0);
    row("192.167.255.255", 0x00405, 0, 0);
    row("192.169.0.0", 0x00405, 0, 0);
    row("223.255.255.255", 0x00405, 0, 0);
    row("224.0.0.5", 0x00805, 0, 0);
    row("239.255.255.255", 0x00805, 0, 0);
    row("240.0.0.0", 0x11005, 4, 268435454);  // /4 mask: a short mask and class E
    row("0.0.0.0", 0x00003, 0, 0);
    row("0.0.0.2", 0x00105, 0, 0);
    row("255.1.2.3", 0x01005, 0, 0);
    row("255.0.255.0", 0x01005, 0, 0);
    row("0.0.0.255", 0x00051, 24, 254);
    row("0.0.0.1", 0x00051, 31, 2);
    row("0.0.0.3", 0x00051, 30, 2);
    row("255.255.255.0", 0x00049, 24, 254);
    row("255.255.255.254", 0x08049, 31, 2);
    row("255.255.255.255", 0x00069, 32, 1);
    row("128.0.0.0", 0x10205, 1, 2147483646);
    row("254.0.0.0", 0x11005, 7, 33554430);
    row("1.255.255.255", 0x10115, 7, 33554430);
    row("127.255.255.255", 0x10195, 1, 2147483646);
  }
  void classify() {
    QFETCH(QString, text);
    QFETCH(uint, flags);
    QFETCH(int, prefix);
    QFETCH(uint, hosts);
    const ipv4 a(text.toStdString());
    QCOMPARE(hex(a.flags()), hex(flags));
    QCOMPARE(a.prefix_length(), prefix);
    QCOMPARE(a.host_count(), hosts);
    QCOMPARE(QString::fromStdString(a.text()), text);
  }

  // Every contiguous mask and wildcard, checked against the reference.
  void everyPrefix_data() {
    QTest::addColumn<uint>("value");
    for (int p = 0; p <= 32; ++p) {
      QTest::addRow("mask /%d", p) << maskOf(p);
      QTest::addRow("wildcard /%d", p) << ~maskOf(p);
    }
  }
  void everyPrefix() {
    QFETCH(uint, value);
    const ipv4 a(value);
    const Ref r = reference(value);
    QCOMPARE(hex(a.flags()), hex(r.flags));
    QCOMPARE(a.prefix_length(), r.prefix);
    QCOMPARE(a.host_count(), r.hosts);
  }

  void randomValuesMatchReference() {
    QRandomGenerator rng(20240229);
    for (int i = 0; i < 200000; ++i) {
      uint32_t v = rng.generate();
      if (i % 4 == 1) v = maskOf(int(v % 33)) ^ (1u << (v >> 27));  // near-masks
      const ipv4 a(v);
      const Ref r = reference(v);
      if (a.flags() != r.flags || a.prefix_length() != r.prefix || a.host_count() != r.hosts)
        QFAIL(qPrintable(
            QString("value %1: flags %2 want %3").arg(hex(v), hex(a.flags()), hex(r.flags))));
      char expected[16];
      std::snprintf(expected, sizeof expected, "%u.%u.%u.%u", v >> 24, (v >> 16) & 0xFF,
                    (v >> 8) & 0xFF, v & 0xFF);
      if (a.text() != expected || ipv4(a.text()).value() != v)
        QFAIL(qPrintable(QString("text of %1: %2").arg(hex(v), a.text().c_str())));
    }
  }

  void arithmetic() {
    ipv4 a(0xFFFFFFFFu);
    QCOMPARE(a.post_increment(), 0xFFFFFFFFu);
    QCOMPARE(a.flags(), 0x3u);
    a.add(-1);
    QCOMPARE(a.text(), std::string("255.255.255.255"));
    QCOMPARE(a.add(0x7FFFFFFF).add(0x7FFFFFFF).value(), 0xFFFFFFFDu);

    ipv4 invalid("x");
    QCOMPARE(a.assign(invalid).flags(), 0x3u);
    QCOMPARE(invalid.assign_text("10.0.0.1").flags(), 0x04105u);
    QCOMPARE(invalid.assign(invalid).value(), 0x0A000001u);  // self-assignment keeps it
  }

  void mappedText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mapped");
    QTest::newRow("192.168.1.1") << "192.168.1.1"
                                 << "::FFFF:C0A8:101";
    QTest::newRow("10.0.0.1") << "10.0.0.1"
                              << "::FFFF:A00:1";
    QTest::newRow("0.0.0.0") << "0.0.0.0"
                             << "::FFFF:0:0";
    QTest::newRow("255.255.255.255") << "255.255.255.255"
                                     << "::FFFF:FFFF:FFFF";
  }
  void mappedText() {
    QFETCH(QString, text);
    QFETCH(QString, mapped);
    QCOMPARE(QString::fromStdString(ipv4(text.toStdString()).text_mapped()), mapped);
  }
};

QTEST_APPLESS_MAIN(tst_ipv4)
#include "tst_ipv4.moc"
