// The IPv6 address value: every text form it reads and refuses, the forms it
// prints, and what an address tells about scope, multicast group and interface.
// glibc's inet_pton and inet_ntop are the reference for reading and RFC 5952 text.
#include <arpa/inet.h>

#include <QRandomGenerator>
#include <QTest>
#include <cstring>

#include "../ipv4lib/rowname.h"
#include "ipv6lib/ipv6.h"

namespace {

std::string_view view(const QByteArray& b) {
  return {b.constData(), std::size_t(b.size())};
}

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

QString hex(uint32_t v) {
  return QString::number(v, 16);
}

// What inet_pton makes of a text: whether it reads, and the value.
bool glibc_reads(const QByteArray& text, uint128* value) {
  if (text.contains('\0')) return false;
  in6_addr a;
  if (inet_pton(AF_INET6, text.constData(), &a) != 1) return false;
  uint128 v = 0;
  for (int i = 0; i < 16; ++i) v = (v << 8) | a.s6_addr[i];
  *value = v;
  return true;
}

std::string glibc_prints(uint128 v) {
  in6_addr a;
  for (int i = 15; i >= 0; --i, v >>= 8) a.s6_addr[i] = static_cast<uint8_t>(v);
  char buf[INET6_ADDRSTRLEN];
  return inet_ntop(AF_INET6, &a, buf, sizeof buf) ? std::string(buf) : std::string();
}

}  // namespace

class tst_ipv6 : public QObject {
  Q_OBJECT
 private slots:
  // Rows give the full form of what a text reads as ("" when refused), then
  // its RFC 5952 text with the zone. Every row without a zone is also read by
  // inet_pton, which must agree.
  void read_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expanded");
    QTest::addColumn<QString>("printed");
    QTest::addColumn<QString>("zone");
    const auto ok = [](const QByteArray& t, const char* e, const char* p, const char* z = "") {
      QTest::newRow(rowName(t).constData()) << t << e << p << z;
    };
    const auto bad = [](const QByteArray& t) {
      QTest::newRow(rowName(t).constData()) << t << ""
                                            << ""
                                            << "";
    };
    // RFC 4291 2.2, form 1: eight groups, leading zeros optional.
    ok("ABCD:EF01:2345:6789:ABCD:EF01:2345:6789", "abcd:ef01:2345:6789:abcd:ef01:2345:6789",
       "abcd:ef01:2345:6789:abcd:ef01:2345:6789");
    ok("2001:DB8:0:0:8:800:200C:417A", "2001:0db8:0000:0000:0008:0800:200c:417a",
       "2001:db8::8:800:200c:417a");
    ok("2001:0db8:0000:0000:0000:0000:0000:0001", "2001:0db8:0000:0000:0000:0000:0000:0001",
       "2001:db8::1");
    // Form 2: "::" for one run of zero groups, anywhere, of any length.
    ok("FF01::101", "ff01:0000:0000:0000:0000:0000:0000:0101", "ff01::101");
    ok("::1", "0000:0000:0000:0000:0000:0000:0000:0001", "::1");
    ok("::", "0000:0000:0000:0000:0000:0000:0000:0000", "::");
    ok("1::", "0001:0000:0000:0000:0000:0000:0000:0000", "1::");
    ok("::1:2:3:4:5:6:7", "0000:0001:0002:0003:0004:0005:0006:0007", "0:1:2:3:4:5:6:7");
    ok("1:2:3:4:5:6:7::", "0001:0002:0003:0004:0005:0006:0007:0000", "1:2:3:4:5:6:7:0");
    ok("1:2:3::4:5:6:7", "0001:0002:0003:0000:0004:0005:0006:0007", "1:2:3:0:4:5:6:7");
    ok("fFfF::aBc", "ffff:0000:0000:0000:0000:0000:0000:0abc", "ffff::abc");
    // Form 3: a dotted IPv4 tail for the last 32 bits.
    ok("0:0:0:0:0:0:13.1.68.3", "0000:0000:0000:0000:0000:0000:0d01:4403", "::13.1.68.3");
    ok("::13.1.68.3", "0000:0000:0000:0000:0000:0000:0d01:4403", "::13.1.68.3");
    ok("0:0:0:0:0:FFFF:129.144.52.38", "0000:0000:0000:0000:0000:ffff:8190:3426",
       "::ffff:129.144.52.38");
    ok("::FFFF:129.144.52.38", "0000:0000:0000:0000:0000:ffff:8190:3426", "::ffff:129.144.52.38");
    ok("64:ff9b::192.0.2.33", "0064:ff9b:0000:0000:0000:0000:c000:0221", "64:ff9b::c000:221");
    ok("1:2:3:4:5:6:0.0.0.0", "0001:0002:0003:0004:0005:0006:0000:0000", "1:2:3:4:5:6::");
    ok("::255.255.255.255", "0000:0000:0000:0000:0000:0000:ffff:ffff", "::255.255.255.255");
    // A zone is kept and printed, never part of the value.
    ok("fe80::1%eth0", "fe80:0000:0000:0000:0000:0000:0000:0001", "fe80::1%eth0", "eth0");
    ok("FE80::A%1", "fe80:0000:0000:0000:0000:0000:0000:000a", "fe80::a%1", "1");
    ok("::ffff:1.2.3.4%en0.100", "0000:0000:0000:0000:0000:ffff:0102:0304",
       "::ffff:1.2.3.4%en0.100", "en0.100");
    ok("fe80::1%" + QByteArray(31, 'z'), "fe80:0000:0000:0000:0000:0000:0000:0001",
       "fe80::1%" + QByteArray(31, 'z'), QByteArray(31, 'z'));

    bad("");
    bad("1::2::3");  // a second "::"
    bad("::1::");
    bad("12345::");  // a group over four digits
    bad("00000::");
    bad("1:2:3:4:5:6:7:8:9");  // nine groups
    bad("1:2:3:4:5:6:7:8::");
    bad("::1:2:3:4:5:6:7:8");
    bad("1:2:3:4::5:6:7:8");  // "::" must stand for at least one group
    bad("1:2:3:4:5:6:7");
    bad(":1::");
    bad("1::2:");
    bad(":");
    bad(":::");
    bad("1:::2");
    bad("::ffff:1.2.3");  // bad dotted tails
    bad("::ffff:1.2.3.256");
    bad("::ffff:1.2.3.04");
    bad("::ffff:1.2..3");
    bad("::ffff:1.2.3.4.");
    bad("::ffff:1.2.3.4.5");
    bad("::1.2.3.4:5");
    bad("::a.2.3.4");
    bad("1:2:3:4:5:6:7:1.2.3.4");
    bad("1.2.3.4");
    bad("1.2.3.4::");
    bad(" ::1");  // blanks
    bad("::1 ");
    bad(":: 1");
    bad("fe80::1 %eth0");
    bad("g::");
    bad("::1%");  // bad zones
    bad("fe80::1%eth 0");
    bad("fe80::1%a%b");
    bad("fe80::1%eth0/64");
    bad("fe80::1%" + QByteArray(32, 'z'));
    bad("fe80::1%\xC3\xA9");
    bad("%eth0");
    bad(QByteArray("::1\0", 4));
    bad(QByteArray(":\0:1", 4));
    bad("\xEF\xBC\x91::");  // a full-width digit
    bad(QByteArray(10000, ':'));
    bad(QByteArray(10000, '1'));
  }
  void read() {
    QFETCH(QByteArray, text);
    QFETCH(QString, expanded);
    QFETCH(QString, printed);
    QFETCH(QString, zone);
    const ipv6 a(view(text));
    QCOMPARE(a.is_valid(), !expanded.isEmpty());
    QCOMPARE(q(a.expanded()), expanded);
    QCOMPARE(q(a.text()), printed);
    QCOMPARE(q(std::string(a.zone())), zone);
    QCOMPARE(a.has_zone(), !zone.isEmpty());
    if (!a.is_valid()) {
      QCOMPARE(a.flags(), 0u);
      QCOMPARE(a.high(), uint64_t(0));
      QCOMPARE(a.low(), uint64_t(0));
      QCOMPARE(a.compressed(), std::string());
      QCOMPARE(a.binary(), std::string());
      QCOMPARE(a.ptr_name(), std::string());
      QCOMPARE(a.scope(), -1);
      QVERIFY(!a.solicited_node().is_valid());
    }
    if (!text.contains('%')) {
      uint128 v = 0;
      QCOMPARE(glibc_reads(text, &v), a.is_valid());
      if (a.is_valid()) QVERIFY(v == a.value());
    }
    // What prints reads back the same, zone included.
    if (a.is_valid()) QVERIFY(ipv6(a.text()) == a);
  }

  // RFC 5952 section 4 and the ties and runs around it; the value comes from
  // the full form, the expected text is also what inet_ntop prints.
  void compress_data() {
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("printed");
    const auto row = [](const char* full, const char* printed) {
      QTest::newRow(full) << full << printed;
    };
    row("2001:0db8:0000:0000:0000:0000:0002:0001", "2001:db8::2:1");         // 4.1, 4.2.1
    row("2001:0db8:0000:0001:0001:0001:0001:0001", "2001:db8:0:1:1:1:1:1");  // 4.2.2
    row("2001:0000:0000:0001:0000:0000:0000:0001", "2001:0:0:1::1");         // 4.2.3 longest
    row("2001:0db8:0000:0000:0001:0000:0000:0001", "2001:db8::1:0:0:1");     // 4.2.3 first tie
    row("2001:0DB8:0000:0000:0000:0000:0000:0001", "2001:db8::1");           // 4.3 lower case
    row("0000:0000:0000:0000:0000:0000:0000:0000", "::");
    row("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff");
    row("0000:0001:0000:0001:0000:0001:0000:0001", "0:1:0:1:0:1:0:1");
    row("0001:0000:0000:0001:0000:0000:0001:0000", "1::1:0:0:1:0");
    row("0001:0000:0000:0000:0000:0000:0000:0000", "1::");
    row("0000:0000:0000:0000:0000:0000:0000:0002", "::2");
    row("0000:0000:0000:0000:0000:0000:0001:0000", "::0.1.0.0");  // inet_ntop's ::/96 form
    row("0000:0000:0000:0000:0000:ffff:0000:0000", "::ffff:0.0.0.0");
    row("0000:0000:0000:0000:0001:ffff:0102:0304", "::1:ffff:102:304");
    row("0000:0000:0000:0000:ffff:0000:0102:0304", "::ffff:0:102:304");
    row("0064:ff9b:0000:0000:0000:0000:0102:0304", "64:ff9b::102:304");
  }
  void compress() {
    QFETCH(QString, full);
    QFETCH(QString, printed);
    const ipv6 a(full.toStdString());
    QVERIFY(a.is_valid());
    QCOMPARE(q(a.compressed()), printed);
    QCOMPARE(q(glibc_prints(a.value())), printed);
    char buf[ipv6::kTextSize];
    QCOMPARE(a.text_to(buf), std::size_t(printed.size()));
    QCOMPARE(QString(buf), printed);
  }

  void otherForms() {
    const ipv6 a("2001:db8::567:89ab");
    QCOMPARE(a.ptr_name(),
             std::string("b.a.9.8.7.6.5.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2."
                         "ip6.arpa"));  // RFC 3596 section 2.5
    QCOMPARE(a.binary(), std::string("0010000000000001:0000110110111000:0000000000000000:"
                                     "0000000000000000:0000000000000000:0000000000000000:"
                                     "0000010101100111:1000100110101011"));
    QCOMPARE(a.group(0), uint16_t(0x2001));
    QCOMPARE(a.group(7), uint16_t(0x89ab));
    QCOMPARE(a.high(), uint64_t(0x20010db800000000));
    QCOMPARE(a.low(), uint64_t(0x00000000056789ab));
    QCOMPARE(a.interface_id_text(), std::string("0000:0000:0567:89ab"));
    QVERIFY(ipv6(a.high(), a.low()) == a);
    QVERIFY(ipv6("fe80::1%eth0") != ipv6("fe80::1"));
    QVERIFY(ipv6("fe80::1%eth0") != ipv6("fe80::1%eth1"));
    QVERIFY(ipv6("") != ipv6("::"));
    ipv6 b("fe80::1%eth0");
    QCOMPARE(b.assign_value(1).text(), std::string("::1"));  // a stored value has no zone
    QCOMPARE(b.assign_text("::1%lo").zone(), std::string_view("lo"));
    QCOMPARE(b.assign_text("::1 ").zone(), std::string_view());
  }

  // The classification bits and the scope with its name.
  void classify_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("flags");
    QTest::addColumn<int>("scope");
    QTest::addColumn<QString>("scopeName");
    const auto row = [](const char* t, uint f, int s, const char* n) {
      QTest::newRow(t) << QString(t) << f << s << n;
    };
    row("::", 0x003, -1, "");
    row("::1", 0x005, 2, "Link-Local");
    row("::2", 0x001, 14, "Global");
    row("::ffff:10.0.0.1", 0x041, 14, "Global");
    row("::fffe:10.0.0.1", 0x001, 14, "Global");
    row("::1:ffff:10.0.0.1", 0x001, 14, "Global");
    row("1fff:ffff::", 0x001, 14, "Global");
    row("2000::", 0x081, 14, "Global");
    row("3fff:ffff::", 0x081, 14, "Global");
    row("4000::", 0x001, 14, "Global");
    row("fbff:ffff::", 0x001, 14, "Global");
    row("fc00::", 0x021, 14, "Global");  // unique local counts as global (RFC 4193 3.3)
    row("fdff:ffff::", 0x021, 14, "Global");
    row("fe00::", 0x001, 14, "Global");
    row("fe7f:ffff::", 0x001, 14, "Global");
    row("fe80::", 0x011, 2, "Link-Local");
    row("febf:ffff::", 0x011, 2, "Link-Local");
    row("fe80::1%eth0", 0x111, 2, "Link-Local");
    row("fec0::", 0x001, 5, "Site-Local");
    row("feff:ffff::", 0x001, 5, "Site-Local");
    row("ff00::", 0x009, 0, "Reserved");
    row("ff01::1", 0x009, 1, "Interface-Local");
    row("ff02::1", 0x009, 2, "Link-Local");
    row("ff03::fc", 0x009, 3, "Realm-Local");
    row("ff04::1", 0x009, 4, "Admin-Local");
    row("ff05::1:3", 0x009, 5, "Site-Local");
    row("ff06::1", 0x009, 6, "Unassigned");
    row("ff08::1", 0x009, 8, "Organization-Local");
    row("ff0e::101", 0x009, 14, "Global");
    row("ff3f::", 0x009, 15, "Reserved");
  }
  void classify() {
    QFETCH(QString, text);
    QFETCH(uint, flags);
    QFETCH(int, scope);
    QFETCH(QString, scopeName);
    const ipv6 a(text.toStdString());
    QCOMPARE(hex(a.flags()), hex(flags));
    QCOMPARE(hex(ipv6::classify(a.value()) | (a.has_zone() ? uint32_t{ipv6::f_zone} : 0u)),
             hex(flags));
    QCOMPARE(a.scope(), scope);
    QCOMPARE(q(ipv6::scope_name(scope)), scopeName);
  }

  // Multicast groups: flags, the Ethernet MAC; and the solicited-node group of any address.
  void multicast_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("flagsText");
    QTest::addColumn<QString>("mac");
    QTest::addColumn<QString>("solicited");
    const auto row = [](const char* t, int f, const char* ft, const char* m, const char* s) {
      QTest::newRow(t) << QString(t) << f << ft << m << s;
    };
    row("ff02::1", 0, "permanent", "33:33:00:00:00:01", "ff02::1:ff00:1");
    row("ff02::1:ff33:4455", 0, "permanent", "33:33:ff:33:44:55", "ff02::1:ff33:4455");
    row("ff12::8000:1", 1, "transient", "33:33:80:00:00:01", "ff02::1:ff00:1");
    row("ff3e:30:2001:db8::1:2", 3, "transient, prefix-based", "33:33:00:01:00:02",
        "ff02::1:ff01:2");
    row("ff7e:140:2001:db8:beef:feed::1", 7, "transient, prefix-based, embedded RP",
        "33:33:00:00:00:01", "ff02::1:ff00:1");
    row("fff2::ffff:ffff", 15, "transient, prefix-based, embedded RP", "33:33:ff:ff:ff:ff",
        "ff02::1:ffff:ffff");
    row("2001:db8::211:22ff:fe33:4455", -1, "", "", "ff02::1:ff33:4455");
    row("fe80::1%eth0", -1, "", "", "ff02::1:ff00:1");
    row("::", -1, "", "", "ff02::1:ff00:0");
    row("fe00::", -1, "", "", "ff02::1:ff00:0");
  }
  void multicast() {
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(QString, flagsText);
    QFETCH(QString, mac);
    QFETCH(QString, solicited);
    const ipv6 a(text.toStdString());
    QCOMPARE(a.multicast_flags(), flags);
    QCOMPARE(q(ipv6::multicast_flags_text(flags)), flagsText);
    const std::optional<uint64_t> m = a.multicast_mac();
    QCOMPARE(m.has_value(), !mac.isEmpty());
    if (m) QCOMPARE(q(ipv6::mac_text(*m)), mac);
    const ipv6 s = a.solicited_node();
    QCOMPARE(q(s.text()), solicited);
    QVERIFY(s.is_multicast() && s.scope() == 2);
  }

  // The MAC inside a modified EUI-64 interface identifier, and back.
  void eui64_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mac");  // "" when the identifier is no EUI-64
    const auto row = [](const char* t, const char* m) { QTest::newRow(t) << QString(t) << m; };
    row("fe80::211:22ff:fe33:4455", "00:11:22:33:44:55");  // universal bit 0 shows as 2
    row("2001:db8::11:22ff:fe33:4455", "02:11:22:33:44:55");
    row("2001:db8:1:2:fdff:ffff:feff:ffff", "ff:ff:ff:ff:ff:ff");
    row("2001:db8::200:ff:fe00:0", "00:00:00:00:00:00");
    row("fe80::211:22fe:ff33:4455", "");  // fe:ff, the wrong way round
    row("fe80::211:22ff:fd33:4455", "");
    row("fe80::1", "");
  }
  void eui64() {
    QFETCH(QString, text);
    QFETCH(QString, mac);
    const ipv6 a(text.toStdString());
    const std::optional<uint64_t> m = a.eui64_mac();
    QCOMPARE(m.has_value(), !mac.isEmpty());
    if (!m) return;
    QCOMPARE(q(ipv6::mac_text(*m)), mac);
    QVERIFY(ipv6::from_mac(a, *m) == ipv6(a.value()));
  }

  void fromMac() {
    // RFC 4291 appendix A: the universal/local bit is inverted.
    QCOMPARE(ipv6::from_mac(ipv6("2001:db8:abcd:12::"), 0x3C970E123456ull).text(),
             std::string("2001:db8:abcd:12:3e97:eff:fe12:3456"));
    // Only the first 64 bits of the prefix count; a zone is not carried over.
    QCOMPARE(ipv6::from_mac(ipv6("fe80::1:2:3:4%eth0"), 0x020000000001ull).text(),
             std::string("fe80::ff:fe00:1"));
    QVERIFY(!ipv6::from_mac(ipv6("2001:db8::"), 0x1000000000000ull).is_valid());
    QVERIFY(!ipv6::from_mac(ipv6("x"), 0).is_valid());
  }

  // Random values, many with runs of zero groups, through inet_ntop and back.
  void randomAgainstGlibc() {
    QRandomGenerator rng(20250611);
    for (int i = 0; i < 100000; ++i) {
      uint128 v = (uint128{rng.generate64()} << 64) | rng.generate64();
      // Clear a random set of groups so that runs, ties and the mixed forms turn up.
      const uint32_t zeros = rng.generate();
      for (int g = 0; g < 8; ++g)
        if (zeros & (1u << g)) v &= ~(uint128{0xFFFF} << (16 * g));
      if (i % 7 == 0) v = (v & 0xFFFFFFFFu) | (uint128{zeros % 2 ? 0xFFFFu : 0u} << 32);
      const std::string theirs = glibc_prints(v);
      const ipv6 a(theirs);
      uint128 back = 0;
      if (!a.is_valid() || a.value() != v || a.compressed() != theirs ||
          !glibc_reads(QByteArray::fromStdString(a.expanded()), &back) || back != v)
        QFAIL(qPrintable(QString("value %1: read %2, printed %3")
                             .arg(q(theirs), q(a.expanded()), q(a.compressed()))));
    }
  }
};

QTEST_APPLESS_MAIN(tst_ipv6)
#include "tst_ipv6.moc"
