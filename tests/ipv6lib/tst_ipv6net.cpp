// IPv6 networks (range, exact counts, neighbours, reverse zones, subnets), the
// 129-bit count, the IPv4 addresses carried inside IPv6 addresses and the
// special-purpose block list with its longest match.
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include "../ipv4lib/rowname.h"
#include "ipv6lib/ipv6embedded.h"
#include "ipv6lib/ipv6net.h"
#include "ipv6lib/ipv6reserved.h"

namespace {

std::string_view view(const QByteArray& b) {
  return {b.constData(), std::size_t(b.size())};
}

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// Decimal digits one division at a time: slow, plainly right.
QString slowDecimal(uint128 v) {
  QString s;
  do {
    s.prepend(QChar('0' + int(v % 10)));
    v /= 10;
  } while (v);
  return s;
}

QString hexText(uint128 v) {
  return QString::number(quint64(v >> 64), 16) +
         QString::number(quint64(v), 16).rightJustified(16, '0');
}

const char kTwo128[] = "340282366920938463463374607431768211456";

}  // namespace

class tst_ipv6net : public QObject {
  Q_OBJECT
 private slots:
  void network_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("cidr");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("subnets64");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("previous");
    const auto row = [](const QByteArray& t, const char* c, const char* l, const char* n,
                        const char* p, const char* s, const char* x, const char* v) {
      QTest::newRow(rowName(t).constData()) << t << c << l << n << p << s << x << v;
    };
    row("::/0", "::/0", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", kTwo128, "2^128",
        "18446744073709551616", "", "");
    row("1234::5/0", "::/0", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", kTwo128, "2^128",
        "18446744073709551616", "", "");
    row("::/1", "::/1", "7fff:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
        "170141183460469231731687303715884105728", "2^127", "9223372036854775808", "8000::/1", "");
    row("8000::/1", "8000::/1", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
        "170141183460469231731687303715884105728", "2^127", "9223372036854775808", "", "::/1");
    row("2001:db8::/32", "2001:db8::/32", "2001:db8:ffff:ffff:ffff:ffff:ffff:ffff",
        "79228162514264337593543950336", "2^96", "4294967296", "2001:db9::/32", "2001:db7::/32");
    row("2001:db8:abcd:12::1/64", "2001:db8:abcd:12::/64", "2001:db8:abcd:12:ffff:ffff:ffff:ffff",
        "18446744073709551616", "2^64", "1", "2001:db8:abcd:13::/64", "2001:db8:abcd:11::/64");
    row("2001:db8::1/65", "2001:db8::/65", "2001:db8::7fff:ffff:ffff:ffff", "9223372036854775808",
        "2^63", "0", "2001:db8:0:0:8000::/65", "2001:db7:ffff:ffff:8000::/65");
    row("2001:db8::1/127", "2001:db8::/127", "2001:db8::1", "2", "2^1", "0", "2001:db8::2/127",
        "2001:db7:ffff:ffff:ffff:ffff:ffff:fffe/127");
    row("2001:db8::1/128", "2001:db8::1/128", "2001:db8::1", "1", "2^0", "0", "2001:db8::2/128",
        "2001:db8::/128");
    row("::/128", "::/128", "::", "1", "2^0", "0", "::1/128", "");
    row("ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe/127",
        "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe/127", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
        "2", "2^1", "0", "", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffc/127");
    row("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff/128",
        "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff/128", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
        "1", "2^0", "0", "", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe/128");
    row("fe80::1%eth0/10", "fe80::/10", "febf:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
        "332306998946228968225951765070086144", "2^118", "18014398509481984", "fec0::/10",
        "fe40::/10");
    row("2001:db8::/064", "2001:db8::/64", "2001:db8::ffff:ffff:ffff:ffff", "18446744073709551616",
        "2^64", "1", "2001:db8:0:1::/64", "2001:db7:ffff:ffff::/64");
  }
  void network() {
    QFETCH(QByteArray, text);
    QFETCH(QString, cidr);
    QFETCH(QString, last);
    QFETCH(QString, count);
    QFETCH(QString, power);
    QFETCH(QString, subnets64);
    QFETCH(QString, next);
    QFETCH(QString, previous);
    const ipv6net n(view(text));
    QVERIFY(n.is_valid());
    QCOMPARE(n.error(), ipv6net::e_none);
    QCOMPARE(q(n.cidr()), cidr);
    QCOMPARE(q(n.first().text()), cidr.section('/', 0, 0));
    QCOMPARE(q(n.last().text()), last);
    QCOMPARE(q(n.count().decimal()), count);
    QCOMPARE(q(n.count().power_text()), power);
    QCOMPARE(q(n.subnets64().decimal()), subnets64);
    QCOMPARE(n.has_next(), !next.isEmpty());
    QCOMPARE(q(n.next().cidr()), next);
    QCOMPARE(n.has_previous(), !previous.isEmpty());
    QCOMPARE(q(n.previous().cidr()), previous);
    if (n.has_next()) QVERIFY(n.next().previous().network() == n.network());
    // The mask's zeros are exactly the bits that vary inside the network.
    QVERIFY(~n.mask().value() == n.last().value() - n.first().value());
  }

  void badNetwork_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("error");
    const auto row = [](const QByteArray& t, ipv6net::error_t e) {
      QTest::newRow(rowName(t).constData()) << t << int(e);
    };
    row("2001:db8::/129", ipv6net::e_prefix);
    row("2001:db8::/1000", ipv6net::e_prefix);
    row("2001:db8::/", ipv6net::e_prefix);
    row("2001:db8::/-1", ipv6net::e_prefix);
    row("2001:db8::/+64", ipv6net::e_prefix);
    row("2001:db8::/ 64", ipv6net::e_prefix);
    row("2001:db8::/64 ", ipv6net::e_prefix);
    row("2001:db8::/6a", ipv6net::e_prefix);
    row("2001:db8::/64/64", ipv6net::e_prefix);
    row("2001:db8:::/64", ipv6net::e_address);
    row("2001:db8::1 /64", ipv6net::e_address);
    row("x/129", ipv6net::e_address);  // the address is judged first
    row("/64", ipv6net::e_address);
    row("", ipv6net::e_address);
    row("10.0.0.0/8", ipv6net::e_address);
  }
  void badNetwork() {
    QFETCH(QByteArray, text);
    QFETCH(int, error);
    const ipv6net n(view(text));
    QVERIFY(!n.is_valid());
    QCOMPARE(int(n.error()), error);
    QCOMPARE(n.prefix(), 0);
    QCOMPARE(n.cidr(), std::string());
    QCOMPARE(n.text(), std::string());
    QVERIFY(!n.network().is_valid() && !n.last().is_valid() && !n.mask().is_valid());
    QVERIFY(n.count() == ipv6count());
    QVERIFY(!n.has_next() && !n.has_previous() && !n.next().is_valid());
    QVERIFY(n.reverse_zones().empty());
    QVERIFY(!n.contains(ipv6("::")) && !n.subnet(128, 0).is_valid());
  }

  void defaultsAndPairs() {
    QCOMPARE(ipv6net("2001:db8::1", 48).cidr(), std::string("2001:db8::/48"));
    QCOMPARE(ipv6net("2001:db8::1/64", 48).cidr(), std::string("2001:db8::/64"));
    QCOMPARE(ipv6net("2001:db8::1", 129).error(), ipv6net::e_prefix);
    QCOMPARE(ipv6net(ipv6("fe80::1%eth0"), 64).text(), std::string("fe80::1%eth0/64"));
    QCOMPARE(ipv6net(ipv6("::"), -1).error(), ipv6net::e_prefix);
    QCOMPARE(ipv6net(ipv6("x"), 200).error(), ipv6net::e_address);
    QCOMPARE(ipv6net().error(), ipv6net::e_address);
    ipv6net n("2001:db8::/32");
    QCOMPARE(n.assign_text("2001:db8::/200").error(), ipv6net::e_prefix);
    QCOMPARE(n.assign_text("::1/128").cidr(), std::string("::1/128"));
  }

  // Own zone on a nibble boundary, else every zone of the next boundary.
  void reverseZones_data() {
    QTest::addColumn<QString>("net");
    QTest::addColumn<QString>("zones");
    const auto row = [](const char* n, const char* z) { QTest::newRow(n) << QString(n) << z; };
    row("::/0", "ip6.arpa");
    row("::/1",
        "0.ip6.arpa 1.ip6.arpa 2.ip6.arpa 3.ip6.arpa 4.ip6.arpa 5.ip6.arpa 6.ip6.arpa "
        "7.ip6.arpa");
    row("8000::/3", "8.ip6.arpa 9.ip6.arpa");
    row("2001:db8::/32", "8.b.d.0.1.0.0.2.ip6.arpa");
    row("2001:db8::/34",
        "0.8.b.d.0.1.0.0.2.ip6.arpa 1.8.b.d.0.1.0.0.2.ip6.arpa "
        "2.8.b.d.0.1.0.0.2.ip6.arpa 3.8.b.d.0.1.0.0.2.ip6.arpa");
    row("2001:db8:8000::/35", "8.8.b.d.0.1.0.0.2.ip6.arpa 9.8.b.d.0.1.0.0.2.ip6.arpa");
    row("2001:db8:abcd:12::1/64", "2.1.0.0.d.c.b.a.8.b.d.0.1.0.0.2.ip6.arpa");
    row("2001:db8::1/127",
        "0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa "
        "1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa");
    row("2001:db8::567:89ab/128",
        "b.a.9.8.7.6.5.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa");
    row("ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe/127",
        "e.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.ip6.arpa "
        "f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.f.ip6.arpa");
  }
  void reverseZones() {
    QFETCH(QString, net);
    QFETCH(QString, zones);
    QStringList got;
    for (const std::string& z : ipv6net(net.toStdString()).reverse_zones()) got << q(z);
    QCOMPARE(got.join(' '), zones);
  }

  void everyPrefixLength() {
    const ipv6 a("2001:db8:1234:5678:9abc:def0:1234:5678");
    for (int p = 0; p <= 128; ++p) {
      const ipv6net n(a, p);
      QVERIFY(n.contains(a) && n.contains(n) && n.contains(n.first()) && n.contains(n.last()));
      QCOMPARE(n.count().exponent(), 128 - p);
      QCOMPARE(int(n.reverse_zones().size()), 1 << ((4 - p % 4) % 4));
      if (n.has_next()) QVERIFY(!n.contains(n.next().first()));
      if (n.has_previous()) QVERIFY(!n.contains(n.previous().last()));
      // Exactly one of the zones holds the address's own name.
      const std::string name = a.ptr_name();
      int holding = 0;
      for (const std::string& z : n.reverse_zones())
        holding +=
            name.size() >= z.size() && name.compare(name.size() - z.size(), z.size(), z) == 0;
      QCOMPARE(holding, 1);
    }
  }

  void contains_data() {
    QTest::addColumn<QString>("net");
    QTest::addColumn<QString>("other");
    QTest::addColumn<bool>("inside");
    const auto row = [](const char* n, const char* o, bool in) {
      QTest::addRow("%s in %s", o, n) << QString(n) << QString(o) << in;
    };
    row("2001:db8::/32", "2001:db8::", true);
    row("2001:db8::/32", "2001:db8:ffff:ffff:ffff:ffff:ffff:ffff", true);
    row("2001:db8::/32", "2001:db9::", false);
    row("2001:db8::/32", "2001:db7:ffff:ffff:ffff:ffff:ffff:ffff", false);
    row("2001:db8::/32", "2001:db8::/32", true);
    row("2001:db8::/32", "2001:db8:ffff::/48", true);
    row("2001:db8::/32", "2001:db8::/31", false);
    row("2001:db8::/32", "2001:db8::1/31", false);
    row("2001:db8::/32", "2001:db8::1/128", true);
    row("fe80::/10", "fe80::1%eth0", true);
    row("::/0", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", true);
    row("::/0", "::/0", true);
    row("::/128", "::1", false);
    row("::/128", "::", true);
  }
  void contains() {
    QFETCH(QString, net);
    QFETCH(QString, other);
    QFETCH(bool, inside);
    const ipv6net n(net.toStdString());
    if (other.contains('/'))
      QCOMPARE(n.contains(ipv6net(other.toStdString())), inside);
    else
      QCOMPARE(n.contains(ipv6(other.toStdString())), inside);
  }

  void subnets() {
    const ipv6net n48("2001:db8:5::/48");
    QCOMPARE(n48.subnet_count(64).decimal(), std::string("65536"));
    QCOMPARE(n48.subnet(64, 0).cidr(), std::string("2001:db8:5::/64"));
    QCOMPARE(n48.subnet(64, 0xffff).cidr(), std::string("2001:db8:5:ffff::/64"));
    QVERIFY(!n48.subnet(64, 0x10000).is_valid());
    QCOMPARE(n48.subnet(48, 0).cidr(), std::string("2001:db8:5::/48"));
    QVERIFY(!n48.subnet(48, 1).is_valid());
    QVERIFY(!n48.subnet(47, 0).is_valid());
    QVERIFY(!n48.subnet(129, 0).is_valid());
    QVERIFY(n48.subnet_count(47) == ipv6count());
    QVERIFY(n48.subnet_count(129) == ipv6count());
    const ipv6net n32("2001:db8::/32");
    QCOMPARE(n32.subnet_count(64).decimal(), std::string("4294967296"));
    QCOMPARE(n32.subnet(64, 0xffffffffu).cidr(), std::string("2001:db8:ffff:ffff::/64"));
    QCOMPARE(n32.subnet(64, 0x12345678u).cidr(), std::string("2001:db8:1234:5678::/64"));
    const ipv6net all("::/0");
    QVERIFY(all.subnet_count(128).is_full());
    QCOMPARE(all.subnet(128, ~uint128{0}).cidr(),
             std::string("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff/128"));
    QCOMPARE(all.subnet(0, 0).cidr(), std::string("::/0"));
    QVERIFY(!all.subnet(0, 1).is_valid());
    QCOMPARE(all.subnet(1, 1).cidr(), std::string("8000::/1"));
  }

  // Exact decimal printing against digit-by-digit division.
  void countDecimal() {
    QCOMPARE(ipv6count().decimal(), std::string("0"));
    QCOMPARE(ipv6count::power_of_two(128).decimal(), std::string(kTwo128));
    QCOMPARE(ipv6count(~uint128{0}).decimal(),
             std::string("340282366920938463463374607431768211455"));
    QCOMPARE(ipv6count(10000000000000000000ull).decimal(), std::string("10000000000000000000"));
    QCOMPARE(ipv6count(9999999999999999999ull).decimal(), std::string("9999999999999999999"));
    QVERIFY(ipv6count::power_of_two(129) == ipv6count());
    QVERIFY(ipv6count::power_of_two(-1) == ipv6count());
    QCOMPARE(ipv6count(3).exponent(), -1);
    QCOMPARE(ipv6count(0).power_text(), std::string());
    QCOMPARE(ipv6count(uint128{1} << 100).power_text(), std::string("2^100"));
    QRandomGenerator rng(128);
    for (int i = 0; i < 20000; ++i) {
      uint128 v = (uint128{rng.generate64()} << 64) | rng.generate64();
      v >>= rng.bounded(128);
      if (i % 3 == 0) {  // powers of ten and their neighbours, where the chunks meet
        uint128 ten = 1;
        for (int k = rng.bounded(39); k > 0; --k) ten *= 10;
        v = ten + uint128(int(rng.bounded(3)) - 1);
      }
      const ipv6count c(v);
      if (q(c.decimal()) != slowDecimal(v))
        QFAIL(qPrintable("0x" + hexText(v) + ": " + q(c.decimal())));
      ipv6count back;
      QVERIFY(ipv6count::from_text(c.decimal(), &back) && back == c);
      QVERIFY(ipv6count::from_text(("0x" + hexText(v)).toStdString(), &back) && back == c);
    }
  }

  void countText_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("decimal");
    const auto row = [](const QByteArray& t, bool ok, const char* d) {
      QTest::newRow(rowName(t).constData()) << t << ok << d;
    };
    row("0", true, "0");
    row("007", true, "7");
    row("0x0", true, "0");
    row("0XfF", true, "255");
    row("340282366920938463463374607431768211455", true, "340282366920938463463374607431768211455");
    row(kTwo128, true, kTwo128);
    row("0x100000000000000000000000000000000", true, kTwo128);
    row("0x000100000000000000000000000000000000", true, kTwo128);
    row("340282366920938463463374607431768211457", false, "");
    row("340282366920938463463374607431768211460", false, "");
    row("3402823669209384634633746074317682114560", false, "");
    row("0x100000000000000000000000000000001", false, "");
    row("0x1000000000000000000000000000000000", false, "");
    row("999999999999999999999999999999999999999", false, "");
    row("", false, "");
    row("0x", false, "");
    row("12a", false, "");
    row(" 1", false, "");
    row("1 ", false, "");
    row("-1", false, "");
    row("+1", false, "");
  }
  void countText() {
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    QFETCH(QString, decimal);
    ipv6count c(42);
    QCOMPARE(ipv6count::from_text(view(text), &c), ok);
    QCOMPARE(q(c.decimal()), ok ? decimal : QString("42"));
  }

  // What an address carries, with an optional NAT64 prefix of the network's own.
  void embedded_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("nat64");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("ipv4");
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("port");
    const auto row = [](const char* t, const char* n, const char* k, const char* v4,
                        const char* s = "", int p = 0) {
      QTest::addRow("%s %s", t, n) << QString(t) << QString(n) << k << v4 << s << p;
    };
    row("::ffff:192.0.2.1", "", "IPv4-mapped", "192.0.2.1");
    row("::ffff:0:0", "", "IPv4-mapped", "0.0.0.0");
    row("64:ff9b::192.0.2.33", "", "NAT64", "192.0.2.33");
    row("64:ff9b::ffff:ffff", "", "NAT64", "255.255.255.255");
    row("64:ff9b::1:c000:221", "", "", "");  // outside the /96
    row("2002:c000:221::1", "", "6to4", "192.0.2.33");
    row("2002:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "", "6to4", "255.255.255.255");
    row("2001:0:4136:e378:8000:63bf:3fff:fdd2", "", "Teredo", "192.0.2.45", "65.54.227.120", 40000);
    row("2001::ffff:ffff:ffff:ffff", "", "Teredo", "0.0.0.0", "0.0.0.0", 0);
    row("2001:1::1", "", "", "");
    row("2001:db8:c000:221::", "2001:db8::/32", "NAT64", "192.0.2.33");
    row("2001:db8:1c0:2:21::", "2001:db8:100::/40", "NAT64", "192.0.2.33");
    row("2001:db8:122:c000:2:2100::", "2001:db8:122::/48", "NAT64", "192.0.2.33");
    row("2001:db8:122:3c0:0:221::", "2001:db8:122:300::/56", "NAT64", "192.0.2.33");
    row("2001:db8:122:344:c0:2:2100:0", "2001:db8:122:344::/64", "NAT64", "192.0.2.33");
    row("2001:db8:122:344::192.0.2.33", "2001:db8:122:344::/96", "NAT64", "192.0.2.33");
    row("2001:db8:122:344::192.0.2.33", "2001:db8:122:345::/96", "", "");  // not in the prefix
    row("2001:db8:122:344::192.0.2.33", "2001:db8::/33", "", "");          // no RFC 6052 length
    row("64:ff9b::192.0.2.33", "2001:db8::/32", "NAT64", "192.0.2.33");
    row("2002:c000:221::", "2002:c000::/32", "NAT64", "2.33.0.0");  // the chosen prefix wins
    row("::1.2.3.4", "", "", "");
    row("2001:db8::1", "", "", "");
  }
  void embedded() {
    QFETCH(QString, text);
    QFETCH(QString, nat64);
    QFETCH(QString, kind);
    QFETCH(QString, ipv4);
    QFETCH(QString, server);
    QFETCH(int, port);
    const ipv6 a(text.toStdString());
    const ipv6net prefix = nat64.isEmpty() ? ipv6net() : ipv6net(nat64.toStdString());
    const ipv6embedded e = ipv6embedded::read(a, prefix);
    QCOMPARE(q(e.kind_text()), kind);
    QCOMPARE(q(e.ipv4_text()), ipv4);
    QCOMPARE(q(e.server_text()), server);
    QCOMPARE(int(e.port), port);
    if (e.kind == ipv6embedded::k_nat64) {
      const ipv6net used = prefix.contains(a) ? prefix : ipv6net("64:ff9b::/96");
      QCOMPARE(e.nat64_prefix, used.prefix());
      QVERIFY(nat64_embed(used, e.ipv4) == ipv6(a.value()));
    }
  }

  void nat64Lengths() {
    for (int len = -1; len <= 129; ++len) {
      const bool rfc = len == 32 || len == 40 || len == 48 || len == 56 || len == 64 || len == 96;
      QCOMPARE(nat64_length_ok(len), rfc);
      const ipv6net prefix(ipv6("2001:db8:ffff:ffff::"), len);
      const ipv6 a = nat64_embed(prefix, 0xC0000221u);
      QCOMPARE(a.is_valid(), rfc);
      if (!rfc) continue;
      QCOMPARE(nat64_extract(a, len), 0xC0000221u);
      QCOMPARE(a.group(4) >> 8, 0);  // bits 64-71 stay zero
      QVERIFY(prefix.contains(a));
    }
    QCOMPARE(nat64_extract(ipv6("64:ff9b::1.2.3.4"), 33), 0u);
    // A /96 prefix must leave bits 64-71 free for the embedding.
    QVERIFY(!nat64_embed(ipv6net("2001:db8:0:0:100::/96"), 1).is_valid());
    QVERIFY(nat64_embed(ipv6net("2001:db8:0:0:ff::/96"), 1).is_valid());
  }

  void shippedList() {
    QFile f(QStringLiteral(ORVEX_RESERVED6_LST));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const ipv6reserved list(f.readAll().toStdString());
    for (const ipv6listerror& e : list.errors()) qWarning("%s", e.message().c_str());
    QVERIFY(list.errors().empty());
    QCOMPARE(int(list.rows().size()), 27);
    for (std::size_t i = 1; i < list.rows().size(); ++i) {
      const ipv6net& a = list.rows()[i - 1].block;
      const ipv6net& b = list.rows()[i].block;
      QVERIFY(a.network().value() < b.network().value() ||
              (a.network() == b.network() && a.prefix() <= b.prefix()));
    }
  }

  void match_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("usage");  // "" when no block holds it
    QTest::addColumn<QString>("reference");
    const auto row = [](const char* t, const char* u, const char* r = "") {
      QTest::newRow(t) << QString(t) << u << r;
    };
    row("::", "Unspecified", "RFC4291");
    row("::1", "Loopback", "RFC4291");
    row("::2", "");
    row("::ffff:192.0.2.1", "IPv4-mapped", "RFC4291");
    row("64:ff9b::192.0.2.1", "IPv4-IPv6 Translat.", "RFC6052");
    row("64:ff9b:1:ffff::", "Local-use IPv4/IPv6 Translation", "RFC8215");
    row("100::ffff", "Discard-Only", "RFC6666");
    row("100:0:0:1::1", "Dummy IPv6 Prefix", "RFC9780");
    row("100:0:0:2::", "");
    row("1fff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "");
    row("2000::", "Global Unicast", "RFC4291");
    row("2001:1::1", "Port Control Protocol Anycast", "RFC7723");
    row("2001:1::2", "TURN Anycast", "RFC8155");
    row("2001:1::3", "DNS-SD SRP Anycast", "RFC9665");
    row("2001:1::4", "IETF Protocol Assignments", "RFC2928");
    row("2001:2:0:ffff::", "Benchmarking", "RFC5180");
    row("2001:1f:ffff::", "Deprecated (previously ORCHID)", "RFC4843");
    row("2001:30::1", "Drone Remote ID Protocol Entity Tags (DETs) Prefix", "RFC9374");
    row("2001:1ff:ffff::", "IETF Protocol Assignments", "RFC2928");
    row("2001:200::", "Global Unicast", "RFC4291");
    row("2001:db8::1", "Documentation", "RFC3849");
    row("2001:db8::/48", "Documentation", "RFC3849");
    row("2001:db8::/31", "Global Unicast", "RFC4291");  // wider than the block
    row("2001::/22", "Global Unicast", "RFC4291");
    row("2002:c000:221::1", "6to4", "RFC3056");
    row("3fff:fff:ffff::", "Documentation", "RFC9637");
    row("3fff:1000::", "Global Unicast", "RFC4291");
    row("fd12:3456::1", "Unique-Local", "RFC4193");
    row("fe80::1%eth0", "Link-Local Unicast", "RFC4291");
    row("fec0::1", "");
    row("ff02::1", "Multicast", "RFC4291");
    row("4000::", "");
    row("::/0", "");
    row("2000::/3", "Global Unicast", "RFC4291");
    row("2000::/2", "");
  }
  void match() {
    QFETCH(QString, text);
    QFETCH(QString, usage);
    QFETCH(QString, reference);
    QFile f(QStringLiteral(ORVEX_RESERVED6_LST));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const ipv6reserved list(f.readAll().toStdString());
    const std::string t = text.toStdString();
    const int i = text.contains('/') ? list.match(ipv6net(t)) : list.match(ipv6(t));
    QCOMPARE(i >= 0 ? q(list.rows()[std::size_t(i)].usage) : QString(), usage);
    QCOMPARE(i >= 0 ? q(list.rows()[std::size_t(i)].reference) : QString(), reference);
  }

  // One line each: what it makes (block, usage, reference) or why it is left out.
  void listLine_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("made");
    QTest::addColumn<QString>("reason");
    const auto row = [](const QByteArray& l, const char* m, const char* r) {
      QTest::newRow(rowName(l).constData()) << l << m << r;
    };
    row("2001:db8::/32;Documentation;RFC3849", "2001:db8::/32|Documentation|RFC3849", "");
    row("2001:db8::/32;Documentation", "2001:db8::/32|Documentation|", "");
    row(" 2001:DB8::/32 ;  Docs ; RFC3849 ; see RFC9637 \r",
        "2001:DB8::/32|Docs|RFC3849 ; see RFC9637", "");
    row("::/0;Everything;", "::/0|Everything|", "");
    row("# 2001:db8::/32;Documentation;RFC3849", "", "");
    row("Comment without a semicolon", "", "");
    row("   ", "", "");
    row("2001:db8::/129;Documentation;RFC3849", "", "invalid prefix length");
    row("2001:db8::/x;Documentation;RFC3849", "", "invalid prefix length");
    row("2001:db8::;Documentation;RFC3849", "", "no prefix length");
    row("2001:db8::1/32;Documentation;RFC3849", "", "address bits set after the prefix");
    row("fe80::%eth0/64;Link;RFC4291", "", "a zone in a block");
    row("192.0.2.0/24;Documentation;RFC5737", "", "not an IPv6 address");
    row(";Documentation;RFC3849", "", "not an IPv6 address");
    row("2001:db8::/32;;RFC3849", "", "no usage");
    row("2001:db8::/32; ", "", "no usage");
  }
  void listLine() {
    QFETCH(QByteArray, line);
    QFETCH(QString, made);
    QFETCH(QString, reason);
    const ipv6reserved list(view(line));
    QStringList rows;
    for (const ipv6block& b : list.rows()) rows << q(b.text + "|" + b.usage + "|" + b.reference);
    QCOMPARE(rows.join('\n'), made);
    QCOMPARE(int(list.errors().size()), reason.isEmpty() ? 0 : 1);
    if (!reason.isEmpty()) {
      QCOMPARE(list.errors()[0].line, 1);
      QCOMPARE(q(list.errors()[0].reason), reason);
      QCOMPARE(q(list.errors()[0].message()),
               "Line 1: " + reason + ": " + QString::fromLatin1(line).trimmed());
    }
  }

  // Line numbers, chart order and ties over a whole file.
  void listFile() {
    const ipv6reserved list(
        "# test list\r\n"
        "2001:db8::/48;Inner;A\r\n"
        "2001:db8::/32;Outer;B\n"
        "\n"
        "2001:db8::/33;Half;C;\n"
        "2001:db8:1::1/48;Bad;D\n"
        "2001:db8::/48;Inner again;E\n"
        "::/0;All");
    QStringList rows;
    for (const ipv6block& b : list.rows()) rows << q(b.usage) + "@" + QString::number(b.line);
    QCOMPARE(rows.join(' '), QString("All@8 Outer@3 Half@5 Inner@2 Inner again@7"));
    QCOMPARE(int(list.errors().size()), 1);
    QCOMPARE(list.errors()[0].line, 6);
    QCOMPARE(list.errors()[0].message(),
             std::string("Line 6: address bits set after the prefix: 2001:db8:1::1/48;Bad;D"));
    // The longest block wins; of two equal blocks the first in the file.
    QCOMPARE(list.rows()[std::size_t(list.match(ipv6("2001:db8::1")))].usage, std::string("Inner"));
    QCOMPARE(list.rows()[std::size_t(list.match(ipv6("2001:db8:8000::")))].usage,
             std::string("Outer"));
    QCOMPARE(list.rows()[std::size_t(list.match(ipv6("4000::")))].usage, std::string("All"));
    QCOMPARE(list.match(ipv6("x")), -1);
    QCOMPARE(list.match(ipv6net("x/1")), -1);
    QCOMPARE(ipv6reserved().match(ipv6("::")), -1);
  }
};

QTEST_APPLESS_MAIN(tst_ipv6net)
#include "tst_ipv6net.moc"
