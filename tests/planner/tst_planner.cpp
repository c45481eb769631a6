// The planner engine: sizing under every profile, placement, fixed networks,
// problems, the plan file and its round trip, the CSV export, and random plans
// checked against the rules every placement must keep.

#include <QRandomGenerator>
#include <QTest>

#include <set>

#include "ipv4lib/ipv4.h"
#include "ipv6lib/ipv6.h"
#include "planner/planner.h"

using namespace planner;

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// Needs written as on the command line, blank-separated: "Sales=120",
// "P2P=2x8", "Link=/31x2", "Srv=28@10.20.0.0/27" (a fixed network).
std::vector<need> needs_of(const QString& text) {
  std::vector<need> out;
  for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
    need n;
    const int eq = word.indexOf('=');
    n.name = word.left(eq).toStdString();
    QString size = word.mid(eq + 1);
    const int at = size.indexOf('@');
    if (at >= 0) {
      n.fixed = size.mid(at + 1).toStdString();
      size = size.left(at);
    }
    const int x = size.indexOf('x');
    if (x >= 0) {
      n.copies = size.mid(x + 1).toUInt();
      size = size.left(x);
    }
    if (size.startsWith('/'))
      n.prefix = size.mid(1).toInt();
    else
      n.hosts = size.toULongLong();
    out.push_back(n);
  }
  return out;
}

plan plan_of(const QString& parents, const QString& needs, profile prof = profile::standard,
             bool rfc3021 = false, double growth = 0) {
  plan p;
  for (const QString& s : parents.split(' ', Qt::SkipEmptyParts))
    p.parents.push_back(s.toStdString());
  p.needs = needs_of(needs);
  p.prof = prof;
  p.rfc3021 = rfc3021;
  p.growth = growth;
  return p;
}

// "name network" for each allocation, in result order.
QString placed(const result& r) {
  QStringList out;
  for (const allocation& a : r.allocations) out << q(a.name + " " + a.network);
  return out.join(", ");
}

QString reasons(const result& r) {
  QStringList out;
  for (const unplaced& u : r.unplaced) out << q(u.reason);
  return out.join(" | ");
}

QString problems(const result& r) {
  QStringList out;
  for (const problem& p : r.problems) out << q(p.where + ": " + p.reason);
  return out.join(" | ");
}

// Everything a table row shows.
QString row_of(const allocation& a) {
  return q(a.network + " " + a.mask + " " + a.first + "-" + a.last + " bc " +
           (a.broadcast.empty() ? "-" : a.broadcast) + " cap " + a.capacity.decimal() + " spare " +
           a.spare.decimal());
}

}  // namespace

class tst_planner : public QObject {
  Q_OBJECT
 private slots:
  void worked_example() {
    const plan p = plan_of("10.20.0.0/22", "Sales=120 VoIP=60 Servers=28 P2P=2x8");
    const result r = compute(p);
    QCOMPARE(problems(r), QString());
    QCOMPARE(reasons(r), QString());
    QCOMPARE(r.allocations.size(), std::size_t(11));
    QCOMPARE(row_of(r.allocations[0]),
             QString("10.20.0.0/25 255.255.255.128 10.20.0.1-10.20.0.126 bc 10.20.0.127 cap 126 "
                     "spare 6"));
    QCOMPARE(row_of(r.allocations[1]),
             QString("10.20.0.128/26 255.255.255.192 10.20.0.129-10.20.0.190 bc 10.20.0.191 cap 62 "
                     "spare 2"));
    QCOMPARE(row_of(r.allocations[2]),
             QString("10.20.0.192/27 255.255.255.224 10.20.0.193-10.20.0.222 bc 10.20.0.223 cap 30 "
                     "spare 2"));
    QCOMPARE(row_of(r.allocations[3]),
             QString("10.20.0.224/30 255.255.255.252 10.20.0.225-10.20.0.226 bc 10.20.0.227 cap 2 "
                     "spare 0"));
    QCOMPARE(q(r.allocations[3].name), QString("P2P 1"));
    QCOMPARE(q(r.allocations[10].name + " " + r.allocations[10].network),
             QString("P2P 8 10.20.0.252/30"));
    QCOMPARE(r.allocations[10].copy, 8u);
    QCOMPARE(r.allocations[10].need, std::size_t(3));
    QCOMPARE(q(r.free[0] + " " + r.free[1]), QString("10.20.1.0/24 10.20.2.0/23"));
    QCOMPARE(r.free.size(), std::size_t(2));
    QCOMPARE(r.allocated, ipv6count(256));
    QCOMPARE(r.parent_size, ipv6count(1024));
    QCOMPARE(r.utilisation, 0.25);
    // The same plan gives the same result.
    QCOMPARE(placed(compute(p)), placed(r));
  }

  // One need of a profile in a large parent: the subnet it takes and what it offers.
  void sizing_data() {
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("needs");
    QTest::addColumn<int>("prof");
    QTest::addColumn<bool>("rfc3021");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const char* parent, const char* needs, profile p,
                        bool rfc, const char* expected) {
      QTest::newRow(name) << QString(parent) << QString(needs) << int(p) << rfc
                          << QString(expected);
    };
    const auto s = profile::standard;
    row("standard 1 host", "10.0.0.0/8", "A=1", s, false,
        "10.0.0.0/32 255.255.255.255 10.0.0.0-10.0.0.0 bc - cap 1 spare 0");
    row("standard 2 hosts", "10.0.0.0/8", "A=2", s, false,
        "10.0.0.0/30 255.255.255.252 10.0.0.1-10.0.0.2 bc 10.0.0.3 cap 2 spare 0");
    row("standard 2 hosts rfc3021", "10.0.0.0/8", "A=2", s, true,
        "10.0.0.0/31 255.255.255.254 10.0.0.0-10.0.0.1 bc - cap 2 spare 0");
    row("standard 3 hosts rfc3021", "10.0.0.0/8", "A=3", s, true,
        "10.0.0.0/29 255.255.255.248 10.0.0.1-10.0.0.6 bc 10.0.0.7 cap 6 spare 3");
    row("standard 6 hosts", "10.0.0.0/8", "A=6", s, false,
        "10.0.0.0/29 255.255.255.248 10.0.0.1-10.0.0.6 bc 10.0.0.7 cap 6 spare 0");
    row("standard 7 hosts", "10.0.0.0/8", "A=7", s, false,
        "10.0.0.0/28 255.255.255.240 10.0.0.1-10.0.0.14 bc 10.0.0.15 cap 14 spare 7");
    row("standard 254 hosts", "10.0.0.0/8", "A=254", s, false,
        "10.0.0.0/24 255.255.255.0 10.0.0.1-10.0.0.254 bc 10.0.0.255 cap 254 spare 0");
    row("standard 255 hosts", "10.0.0.0/8", "A=255", s, false,
        "10.0.0.0/23 255.255.254.0 10.0.0.1-10.0.1.254 bc 10.0.1.255 cap 510 spare 255");
    row("standard /31 given", "10.0.0.0/8", "A=/31", s, false,
        "10.0.0.0/31 255.255.255.254 10.0.0.0-10.0.0.1 bc - cap 2 spare 2");
    row("standard /32 given", "10.0.0.0/8", "A=/32", s, false,
        "10.0.0.0/32 255.255.255.255 10.0.0.0-10.0.0.0 bc - cap 1 spare 1");
    row("standard /8 given fills parent", "10.0.0.0/8", "A=/8", s, false,
        "10.0.0.0/8 255.0.0.0 10.0.0.1-10.255.255.254 bc 10.255.255.255 cap 16777214 spare "
        "16777214");
    row("aws 1 host", "10.0.0.0/8", "A=1", profile::aws, false,
        "10.0.0.0/28 255.255.255.240 10.0.0.4-10.0.0.14 bc 10.0.0.15 cap 11 spare 10");
    row("aws 2 hosts rfc3021 ignored", "10.0.0.0/8", "A=2", profile::aws, true,
        "10.0.0.0/28 255.255.255.240 10.0.0.4-10.0.0.14 bc 10.0.0.15 cap 11 spare 9");
    row("aws 11 hosts", "10.0.0.0/8", "A=11", profile::aws, false,
        "10.0.0.0/28 255.255.255.240 10.0.0.4-10.0.0.14 bc 10.0.0.15 cap 11 spare 0");
    row("aws 12 hosts", "10.0.0.0/8", "A=12", profile::aws, false,
        "10.0.0.0/27 255.255.255.224 10.0.0.4-10.0.0.30 bc 10.0.0.31 cap 27 spare 15");
    row("aws 65531 hosts", "10.0.0.0/8", "A=65531", profile::aws, false,
        "10.0.0.0/16 255.255.0.0 10.0.0.4-10.0.255.254 bc 10.0.255.255 cap 65531 spare 0");
    row("azure 1 host", "10.0.0.0/8", "A=1", profile::azure, false,
        "10.0.0.0/29 255.255.255.248 10.0.0.4-10.0.0.6 bc 10.0.0.7 cap 3 spare 2");
    row("azure 3 hosts", "10.0.0.0/8", "A=3", profile::azure, false,
        "10.0.0.0/29 255.255.255.248 10.0.0.4-10.0.0.6 bc 10.0.0.7 cap 3 spare 0");
    row("azure 4 hosts", "10.0.0.0/8", "A=4", profile::azure, false,
        "10.0.0.0/28 255.255.255.240 10.0.0.4-10.0.0.14 bc 10.0.0.15 cap 11 spare 7");
    row("gcp 1 host", "10.0.0.0/8", "A=1", profile::gcp, false,
        "10.0.0.0/29 255.255.255.248 10.0.0.2-10.0.0.5 bc 10.0.0.7 cap 4 spare 3");
    row("gcp 4 hosts", "10.0.0.0/8", "A=4", profile::gcp, false,
        "10.0.0.0/29 255.255.255.248 10.0.0.2-10.0.0.5 bc 10.0.0.7 cap 4 spare 0");
    row("gcp 5 hosts", "10.0.0.0/8", "A=5", profile::gcp, false,
        "10.0.0.0/28 255.255.255.240 10.0.0.2-10.0.0.13 bc 10.0.0.15 cap 12 spare 7");
    row("gcp 252 hosts", "10.0.0.0/8", "A=252", profile::gcp, false,
        "10.0.0.0/24 255.255.255.0 10.0.0.2-10.0.0.253 bc 10.0.0.255 cap 252 spare 0");
    row("v6 1 host", "2001:db8::/48", "A=1", s, false,
        "2001:db8::/64 /64 2001:db8::1-2001:db8::ffff:ffff:ffff:ffff bc - cap "
        "18446744073709551615 spare 18446744073709551614");
    row("v6 a million hosts aws", "2001:db8::/48", "A=1000000", profile::aws, false,
        "2001:db8::/64 /64 2001:db8::1-2001:db8::ffff:ffff:ffff:ffff bc - cap "
        "18446744073709551615 spare 18446744073708551615");
    row("v6 /127 link", "2001:db8::/48", "A=/127", s, false,
        "2001:db8::/127 /127 2001:db8::-2001:db8::1 bc - cap 2 spare 2");
    row("v6 /128", "2001:db8::/48", "A=/128", s, false,
        "2001:db8::/128 /128 2001:db8::-2001:db8:: bc - cap 1 spare 1");
    row("v6 /126", "2001:db8::/48", "A=/126", s, false,
        "2001:db8::/126 /126 2001:db8::1-2001:db8::3 bc - cap 3 spare 3");
    row("v6 /48 fills parent", "2001:db8::/48", "A=/48", s, false,
        "2001:db8::/48 /48 2001:db8::1-2001:db8:0:ffff:ffff:ffff:ffff:ffff bc - cap "
        "1208925819614629174706175 spare 1208925819614629174706175");
  }
  void sizing() {
    QFETCH(QString, parent);
    QFETCH(QString, needs);
    QFETCH(int, prof);
    QFETCH(bool, rfc3021);
    QFETCH(QString, expected);
    const result r = compute(plan_of(parent, needs, profile(prof), rfc3021));
    QCOMPARE(problems(r) + reasons(r), QString());
    QCOMPARE(r.allocations.size(), std::size_t(1));
    QCOMPARE(row_of(r.allocations[0]), expected);
  }

  // Host counts no subnet of the profile takes, and given prefixes it does not offer.
  void profile_limits_data() {
    QTest::addColumn<QString>("needs");
    QTest::addColumn<int>("prof");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* needs, profile p, const char* expected) {
      QTest::newRow(QByteArray(profile_key(p)) + " " + needs)
          << QString(needs) << int(p) << QString(expected);
    };
    row("Big=65532", profile::aws, "Big needs a /15; AWS subnets are no larger than /16");
    row("Link=/30", profile::aws, "Link needs a /30; AWS subnets are no smaller than /28");
    row("Link=/30", profile::azure, "Link needs a /30; Azure subnets are no smaller than /29");
    row("Link=/31", profile::gcp, "Link needs a /31; Google Cloud subnets are no smaller than /29");
    row("All=4294967295", profile::standard, "All needs more addresses than an IPv4 network holds");
    row("All=4294967294", profile::standard, "All needs a /0; the largest free block is a /8");
  }
  void profile_limits() {
    QFETCH(QString, needs);
    QFETCH(int, prof);
    QFETCH(QString, expected);
    const result r = compute(plan_of("10.0.0.0/8", needs, profile(prof)));
    QCOMPARE(problems(r), QString());
    QCOMPARE(reasons(r), expected);
    QVERIFY(r.allocations.empty());
  }

  void growth_data() {
    QTest::addColumn<QString>("needs");
    QTest::addColumn<double>("growth");
    QTest::addColumn<QString>("expected");  // "hosts /prefix"
    QTest::newRow("100 +10%") << "A=100" << 10.0 << "110 /25";
    QTest::newRow("100 +26%") << "A=100" << 26.0 << "126 /25";
    QTest::newRow("100 +27%") << "A=100" << 27.0 << "127 /24";
    QTest::newRow("115 +10% rounds up") << "A=115" << 10.0 << "127 /24";
    QTest::newRow("10 +15% rounds up") << "A=10" << 15.0 << "12 /28";
    QTest::newRow("3 +33.3%") << "A=3" << 33.3 << "4 /29";
    QTest::newRow("1 +100%") << "A=1" << 100.0 << "2 /30";
    QTest::newRow("1 +0%") << "A=1" << 0.0 << "1 /32";
    QTest::newRow("prefix unchanged") << "A=/27" << 50.0 << "0 /27";
  }
  void growth() {
    QFETCH(QString, needs);
    QFETCH(double, growth);
    QFETCH(QString, expected);
    const result r = compute(plan_of("10.0.0.0/8", needs, profile::standard, false, growth));
    QCOMPARE(problems(r) + reasons(r), QString());
    QCOMPARE(r.allocations.size(), std::size_t(1));
    QCOMPARE(QString("%1 /%2").arg(r.allocations[0].hosts).arg(r.allocations[0].prefix), expected);
  }

  // IPv6 LANs grown past what a /64 offers take the prefix their grown count
  // needs, not one step up from a count cut off at 64 bits.
  void growth_past_a_64_data() {
    QTest::addColumn<QString>("needs");
    QTest::addColumn<double>("growth");
    QTest::addColumn<int>("prefix");
    QTest::newRow("2^63-1 +100% fits a /64") << "A=9223372036854775807" << 100.0 << 64;
    QTest::newRow("2^63 +100% takes a /63") << "A=9223372036854775808" << 100.0 << 63;
    QTest::newRow("2^64-1 +100%") << "A=18446744073709551615" << 100.0 << 63;
    QTest::newRow("2^64-1 +10000%") << "A=18446744073709551615" << 10000.0 << 57;
  }
  void growth_past_a_64() {
    QFETCH(QString, needs);
    QFETCH(double, growth);
    QFETCH(int, prefix);
    const result r = compute(plan_of("2001:db8::/32", needs, profile::standard, false, growth));
    QCOMPARE(problems(r) + reasons(r), QString());
    QCOMPARE(r.allocations.size(), std::size_t(1));
    QCOMPARE(r.allocations[0].prefix, prefix);
  }

  // Where needs go and why some find no room.
  void placement_data() {
    QTest::addColumn<QString>("parents");
    QTest::addColumn<QString>("needs");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("unplaced");
    QTest::addColumn<QString>("free");
    QTest::newRow("largest first whatever the order")
        << "10.0.0.0/24"
        << "S=2 M=30 L=100"
        << "L 10.0.0.0/25, M 10.0.0.128/27, S 10.0.0.160/30"
        << ""
        << "10.0.0.164/30 10.0.0.168/29 10.0.0.176/28 10.0.0.192/26";
    QTest::newRow("ties in plan order") << "10.0.0.0/24"
                                        << "B=50 A=50 C=50"
                                        << "B 10.0.0.0/26, A 10.0.0.64/26, C 10.0.0.128/26"
                                        << ""
                                        << "10.0.0.192/26";
    QTest::newRow("smallest block that holds it") << "10.0.0.0/24 10.0.1.0/27"
                                                  << "A=20"
                                                  << "A 10.0.1.0/27"
                                                  << ""
                                                  << "10.0.0.0/24";
    QTest::newRow("best fit after a split") << "10.0.0.0/24"
                                            << "A=100 B=20 C=20"
                                            << "A 10.0.0.0/25, B 10.0.0.128/27, C 10.0.0.160/27"
                                            << ""
                                            << "10.0.0.192/26";
    QTest::newRow("free space aggregated across parents")
        << "10.0.0.0/25 10.0.0.128/25"
        << "A=/32"
        << "A 10.0.0.0/32"
        << ""
        << "10.0.0.1/32 10.0.0.2/31 10.0.0.4/30 10.0.0.8/29 10.0.0.16/28 10.0.0.32/27 "
           "10.0.0.64/26 10.0.0.128/25";
    QTest::newRow("does not fit, the rest still placed")
        << "10.0.0.0/25 10.0.1.0/26"
        << "A=100 Sales=120 C=20"
        << "A 10.0.0.0/25, C 10.0.1.0/27"
        << "Sales needs a /25; the largest free block is a /26"
        << "10.0.1.32/27";
    QTest::newRow("no free space left") << "10.0.0.0/30"
                                        << "A=/30 B=1"
                                        << "A 10.0.0.0/30"
                                        << "B needs a /32; no free space is left"
                                        << "";
    QTest::newRow("need larger than the parent")
        << "192.168.1.0/24"
        << "Big=500"
        << ""
        << "Big needs a /23; the largest free block is a /24"
        << "192.168.1.0/24";
    QTest::newRow("copies of a need that does not fit")
        << "10.0.0.0/29"
        << "P2P=2x3"
        << "P2P 1 10.0.0.0/30, P2P 2 10.0.0.4/30"
        << "P2P 3 needs a /30; no free space is left"
        << "";
    QTest::newRow("a single copy keeps its name") << "10.0.0.0/29"
                                                  << "P2P=2x1"
                                                  << "P2P 10.0.0.0/30"
                                                  << ""
                                                  << "10.0.0.4/30";
    QTest::newRow("whole IPv4 space") << "0.0.0.0/0"
                                      << "A=/1 B=/1"
                                      << "A 0.0.0.0/1, B 128.0.0.0/1"
                                      << ""
                                      << "";
    QTest::newRow("IPv6 links and a host")
        << "2001:db8::/124"
        << "Host=/128 Link=/127x2"
        << "Link 1 2001:db8::/127, Link 2 2001:db8::2/127, Host 2001:db8::4/128"
        << ""
        << "2001:db8::5/128 2001:db8::6/127 2001:db8::8/125";
    QTest::newRow("whole IPv6 space") << "::/0"
                                      << "A=/1 B=/2"
                                      << "A ::/1, B 8000::/2"
                                      << ""
                                      << "c000::/2";
    // Fixed networks go first and keep their place; the others fill around them.
    QTest::newRow("fixed kept, others around it") << "10.0.0.0/24"
                                                  << "A=100 Srv=20@10.0.0.0/27"
                                                  << "Srv 10.0.0.0/27, A 10.0.0.128/25"
                                                  << ""
                                                  << "10.0.0.32/27 10.0.0.64/26";
    QTest::newRow("fixed larger than needed") << "10.0.0.0/24"
                                              << "Srv=2@10.0.0.64/26"
                                              << "Srv 10.0.0.64/26"
                                              << ""
                                              << "10.0.0.0/26 10.0.0.128/25";
    QTest::newRow("fixed in the second parent")
        << "10.0.0.0/24 10.1.0.0/24"
        << "Srv=2@10.1.0.4/30"
        << "Srv 10.1.0.4/30"
        << ""
        << "10.0.0.0/24 10.1.0.0/30 10.1.0.8/29 10.1.0.16/28 10.1.0.32/27 10.1.0.64/26 "
           "10.1.0.128/25";
    QTest::newRow("fixed outside the parents")
        << "10.0.0.0/24"
        << "Srv=20@10.0.1.0/27"
        << ""
        << "Srv keeps 10.0.1.0/27, which lies outside the parents"
        << "10.0.0.0/24";
    QTest::newRow("fixed larger than its parent")
        << "10.0.0.0/24"
        << "Srv=20@10.0.0.0/23"
        << ""
        << "Srv keeps 10.0.0.0/23, which lies outside the parents"
        << "10.0.0.0/24";
    QTest::newRow("fixed taken by an earlier fixed") << "10.0.0.0/24"
                                                     << "A=20@10.0.0.0/26 B=20@10.0.0.32/27"
                                                     << "A 10.0.0.0/26"
                                                     << "B keeps 10.0.0.32/27, which is not free"
                                                     << "10.0.0.64/26 10.0.0.128/25";
    QTest::newRow("fixed too small") << "10.0.0.0/24"
                                     << "Srv=40@10.0.0.0/27"
                                     << ""
                                     << "Srv keeps 10.0.0.0/27, which is too small: it needs a /26"
                                     << "10.0.0.0/24";
  }
  void placement() {
    QFETCH(QString, parents);
    QFETCH(QString, needs);
    QFETCH(QString, expected);
    QFETCH(QString, unplaced);
    QFETCH(QString, free);
    const result r = compute(plan_of(parents, needs));
    QCOMPARE(problems(r), QString());
    QCOMPARE(placed(r), expected);
    QCOMPARE(reasons(r), unplaced);
    QStringList f;
    for (const std::string& s : r.free) f << q(s);
    QCOMPARE(f.join(' '), free);
  }

  // Counts that reach 2^128 need the 129th bit.
  void whole_ipv6_space_counts() {
    for (const char* parents : {"::/0", "::/1 8000::/1"}) {
      const result r = compute(plan_of(parents, "A=/1x2"));
      QCOMPARE(problems(r) + reasons(r), QString());
      QCOMPARE(r.parent_size, ipv6count::power_of_two(128));
      QCOMPARE(r.allocated, ipv6count::power_of_two(128));
      QCOMPARE(r.utilisation, 1.0);
    }
    const result half = compute(plan_of("::/0", "A=/1"));
    QCOMPARE(half.allocated, ipv6count::power_of_two(127));
    QCOMPARE(half.utilisation, 0.5);
  }

  void blanks_around_networks() {
    plan p = plan_of("", "A=1");
    p.parents = {" 10.0.0.0/24\t"};
    p.needs[0].fixed = " 10.0.0.8/32 ";
    const result r = compute(p);
    QCOMPARE(problems(r) + reasons(r), QString());
    QCOMPARE(placed(r), QString("A 10.0.0.8/32"));
  }

  // Checking parents and fixed networks against their neighbours only keeps
  // a long list of parents quick.
  void many_parents() {
    plan p;
    for (uint32_t i = 0; i < 100000; ++i)
      p.parents.push_back(ipv4(0x0a000000u + 4 * i).text() + "/30");
    p.parents.push_back("10.0.1.0/24");
    p.needs = needs_of("A=2 F=2@10.6.26.124/30 G=2@10.6.26.128/30");
    const result r = compute(p);
    QCOMPARE(problems(r), QString("parent 100001: overlaps 10.0.1.0/30"));
    QCOMPARE(reasons(r), QString("G keeps 10.6.26.128/30, which lies outside the parents"));
    QCOMPARE(placed(r), QString("A 10.0.0.0/30, F 10.6.26.124/30"));
  }

  void unplaced_fields() {
    const result r = compute(plan_of("10.0.0.0/29", "P2P=2x3 Big=/24"));
    QCOMPARE(r.unplaced.size(), std::size_t(2));
    // Plan order, not placing order.
    QCOMPARE(q(r.unplaced[0].name), QString("P2P 3"));
    QCOMPARE(r.unplaced[0].need, std::size_t(0));
    QCOMPARE(r.unplaced[0].copy, 3u);
    QCOMPARE(r.unplaced[0].hosts, uint64_t(2));
    QCOMPARE(r.unplaced[0].prefix, 30);
    QCOMPARE(q(r.unplaced[1].name), QString("Big"));
    QCOMPARE(r.unplaced[1].prefix, 24);
  }

  // What does not read is a problem; the rest of the plan is still computed.
  void problem_rows_data() {
    QTest::addColumn<QString>("parents");
    QTest::addColumn<QString>("needs");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("placed");
    QTest::newRow("parent not an address") << "10.0.0.0/24 banana/8"
                                           << "A=10"
                                           << "parent 2: not an IPv4 or IPv6 address"
                                           << "A 10.0.0.0/28";
    QTest::newRow("parent without length") << "10.0.0.0"
                                           << "A=10"
                                           << "parent 1: no prefix length (\"/len\")"
                                           << "";
    QTest::newRow("parent with host bits")
        << "10.0.0.1/24"
        << "A=10"
        << "parent 1: host bits are set; the network is 10.0.0.0/24"
        << "";
    QTest::newRow("parent length over 32") << "10.0.0.0/33"
                                           << "A=10"
                                           << "parent 1: the prefix length is over 32"
                                           << "";
    QTest::newRow("parent overlaps another") << "10.0.0.0/24 10.0.0.128/25"
                                             << "A=10"
                                             << "parent 2: overlaps 10.0.0.0/24"
                                             << "A 10.0.0.0/28";
    QTest::newRow("parent holding a later one") << "10.0.0.128/25 10.0.0.0/24"
                                                << "A=10"
                                                << "parent 2: overlaps 10.0.0.128/25"
                                                << "A 10.0.0.128/28";
    QTest::newRow("parent holding several") << "10.0.0.64/26 10.0.0.192/26 10.0.0.0/24"
                                            << "A=10"
                                            << "parent 3: overlaps 10.0.0.64/26"
                                            << "A 10.0.0.64/28";
    QTest::newRow("parent inside the one before it in address order")
        << "10.0.0.0/25 10.0.1.0/24 10.0.0.64/26"
        << "A=10"
        << "parent 3: overlaps 10.0.0.0/25"
        << "A 10.0.0.0/28";
    QTest::newRow("parent of the other family") << "10.0.0.0/24 2001:db8::/32"
                                                << "A=10"
                                                << "parent 2: an IPv6 network among IPv4 parents"
                                                << "A 10.0.0.0/28";
    QTest::newRow("first parent decides the family")
        << "2001:db8::/32 10.0.0.0/24"
        << "A=10"
        << "parent 2: an IPv4 network among IPv6 parents"
        << "A 2001:db8::/64";
    QTest::newRow("parent with a zone") << "fe80::%eth0/64"
                                        << "A=1"
                                        << "parent 1: an address with a zone is no network"
                                        << "";
    QTest::newRow("no parents") << ""
                                << "A=1"
                                << "parents: no parent network"
                                << "";
    QTest::newRow("zero hosts") << "10.0.0.0/24"
                                << "A=0 B=5"
                                << "need 1 (A): no hosts and no prefix length"
                                << "B 10.0.0.0/29";
    QTest::newRow("prefix over 32") << "10.0.0.0/24"
                                    << "A=/33 B=5"
                                    << "need 1 (A): the prefix length is over 32"
                                    << "B 10.0.0.0/29";
    QTest::newRow("prefix over 128") << "2001:db8::/32"
                                     << "A=/129"
                                     << "need 1 (A): the prefix length is over 128"
                                     << "";
    QTest::newRow("zero copies") << "10.0.0.0/24"
                                 << "A=5x0"
                                 << "need 1 (A): the count of copies is 0"
                                 << "";
    QTest::newRow("no name") << "10.0.0.0/24"
                             << "=5"
                             << "need 1: the need has no name"
                             << "";
    QTest::newRow("too many copies")
        << "10.0.0.0/8"
        << "A=/32x1048577 B=1"
        << "need 1 (A): too many copies: a plan places at most 1048576 networks"
        << "B 10.0.0.0/32";
    QTest::newRow("fixed does not read")
        << "10.0.0.0/24"
        << "A=5@10.0.0.0"
        << "need 1 (A): the fixed network: no prefix length (\"/len\")"
        << "";
    QTest::newRow("fixed of the other family")
        << "10.0.0.0/24"
        << "A=5@2001:db8::/64"
        << "need 1 (A): an IPv6 fixed network among IPv4 parents"
        << "";
    QTest::newRow("fixed with copies") << "10.0.0.0/24"
                                       << "A=5x2@10.0.0.0/29"
                                       << "need 1 (A): a fixed network is for a need of one copy"
                                       << "";
  }
  void problem_rows() {
    QFETCH(QString, parents);
    QFETCH(QString, needs);
    QFETCH(QString, expected);
    QFETCH(QString, placed);
    const result r = compute(plan_of(parents, needs));
    QCOMPARE(problems(r), expected);
    QCOMPARE(::placed(r), placed);
  }

  void bad_growth() {
    for (double g : {-1.0, 10001.0, std::nan("")}) {
      const result r = compute(plan_of("10.0.0.0/24", "A=5", profile::standard, false, g));
      QCOMPARE(problems(r), QString("growth: the growth margin is 0 to 10000 percent"));
      QVERIFY(r.allocations.empty());
    }
  }

  void huge_host_counts() {
    // Growth past 2^64 hosts, and a count no IPv4 network holds, are reasons, not crashes.
    plan p = plan_of("2001:db8::/32", "A=18446744073709551615", profile::standard, false, 50);
    result r = compute(p);
    QCOMPARE(placed(r), QString("A 2001:db8::/63"));
    p = plan_of("10.0.0.0/8", "A=18446744073709551615");
    r = compute(p);
    QCOMPARE(reasons(r), QString("A needs more addresses than an IPv4 network holds"));
  }

  // The plan file: a plan written and read back is the same plan.
  void json_round_trip_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("worked example") << 0;
    QTest::newRow("every field") << 1;
    QTest::newRow("empty plan") << 2;
    QTest::newRow("odd texts") << 3;
  }
  void json_round_trip() {
    QFETCH(int, which);
    plan p;
    if (which == 0) p = plan_of("10.20.0.0/22", "Sales=120 VoIP=60 Servers=28 P2P=2x8");
    if (which == 1) {
      p = plan_of("10.0.0.0/16 10.1.0.0/16", "A=18446744073709551615 L=/31x4 S=28@10.0.0.0/27",
                  profile::gcp, true, 12.5);
      p.needs[0].note = "second floor";
      p.needs[0].vlan = 4094;
      p.needs[1].vlan = 0;
      p.needs[2].hosts = 7;
    }
    if (which == 3) {
      p = plan_of("not-a-network", "A=1");
      p.needs[0].name = "Ünïcode \"quoted\", comma\nline\ttab \\ back";
      p.needs[0].note = "{\"json\": [1, 2]}";
      p.needs[0].prefix = 128;
      p.needs[0].hosts = 3;  // kept alongside a prefix
      p.prof = profile::azure;
    }
    const std::string text = to_json(p);
    QVERIFY(text.find("\"format\": \"orvex-plan/1\"") != std::string::npos);
    plan back;
    std::string error;
    QVERIFY2(from_json(text, &back, &error), error.c_str());
    QVERIFY(back == p);
    QCOMPARE(q(to_json(back)), q(text));
    QCOMPARE(placed(compute(back)), placed(compute(p)));
  }

  void json_reads_written_by_hand() {
    // Optional fields left out take their defaults; unknown keys are ignored.
    const char* text = R"({"format": "orvex-plan/1", "parents": ["10.0.0.0/24"],
      "needs": [{"name": "A", "prefix": 26}, {"name": "B", "hosts": 5, "vlan": null}],
      "comment": "kept by someone else"})";
    plan p;
    std::string error;
    QVERIFY2(from_json(text, &p, &error), error.c_str());
    QCOMPARE(p.prof, profile::standard);
    QCOMPARE(p.rfc3021, false);
    QCOMPARE(p.growth, 0.0);
    QCOMPARE(p.needs.size(), std::size_t(2));
    QCOMPARE(p.needs[0].prefix, 26);
    QCOMPARE(p.needs[0].copies, 1u);
    QCOMPARE(p.needs[1].hosts, uint64_t(5));
    QVERIFY(!p.needs[1].vlan);
  }

  void json_errors_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");
    const QByteArray head = R"({"format": "orvex-plan/1", "parents": ["10.0.0.0/24"], )";
    QTest::newRow("empty") << QByteArray()
                           << "not valid JSON at line 1, column 1: unexpected end of input";
    QTest::newRow("garbage at line 3")
        << QByteArray("{\n  \"format\": \"orvex-plan/1\",\n  \"parents\": [x]\n}")
        << "not valid JSON at line 3, column 15: invalid literal";
    QTest::newRow("cut short") << QByteArray(R"({"format": "orvex-plan/1")")
                               << "not valid JSON at line 1, column 26: unexpected end of input";
    QTest::newRow("array") << QByteArray("[]")
                           << "not a plan file: the document is not a JSON object";
    QTest::newRow("no format") << QByteArray("{}") << "not a plan file: \"format\" is missing";
    QTest::newRow("newer format")
        << QByteArray(R"({"format": "orvex-plan/2", "parents": 5})")
        << "the plan was made by a newer version (format orvex-plan/2); this version reads "
           "orvex-plan/1";
    QTest::newRow("older or odd format")
        << QByteArray(R"({"format": "orvex-plan/0"})")
        << "unknown format \"orvex-plan/0\"; this version reads orvex-plan/1";
    QTest::newRow("other format")
        << QByteArray(R"({"format": "subnet-list"})")
        << "unknown format \"subnet-list\"; this version reads orvex-plan/1";
    QTest::newRow("no parents") << QByteArray(R"({"format": "orvex-plan/1", "needs": []})")
                                << "\"parents\" is missing";
    QTest::newRow("parents not a list")
        << QByteArray(R"({"format": "orvex-plan/1", "parents": "10.0.0.0/8", "needs": []})")
        << "\"parents\" must be a list of networks";
    QTest::newRow("parent a number")
        << QByteArray(R"({"format": "orvex-plan/1", "parents": ["10.0.0.0/8", 7], "needs": []})")
        << "parent 2 is not a text";
    QTest::newRow("no needs") << head + "\"x\": 1}"
                              << "\"needs\" is missing";
    QTest::newRow("unknown profile")
        << head + R"("profile": "ibm", "needs": []})"
        << "\"profile\" must be \"standard\", \"aws\", \"azure\" or \"gcp\"";
    QTest::newRow("rfc3021 a number") << head + R"("rfc3021": 1, "needs": []})"
                                      << "\"rfc3021\" must be true or false";
    QTest::newRow("negative growth") << head + R"("growth": -5, "needs": []})"
                                     << "\"growth\" must be a number from 0 to 10000";
    QTest::newRow("need not an object") << head + R"("needs": [5]})"
                                        << "need 1 is not an object";
    QTest::newRow("need without name") << head + R"("needs": [{"hosts": 5}]})"
                                       << "need 1: \"name\" is missing";
    QTest::newRow("need without size")
        << head + R"("needs": [{"name": "A", "hosts": 1}, {"name": "Sales"}]})"
        << "need 2 (Sales): \"hosts\" or \"prefix\" is missing";
    QTest::newRow("hosts a text") << head + R"("needs": [{"name": "A", "hosts": "5"}]})"
                                  << "need 1 (A): \"hosts\" must be a whole number from 0 to "
                                     "18446744073709551615";
    QTest::newRow("hosts past 2^64")
        << head + R"("needs": [{"name": "A", "hosts": 18446744073709551616}]})"
        << "need 1 (A): \"hosts\" must be a whole number from 0 to 18446744073709551615";
    QTest::newRow("prefix 129") << head + R"("needs": [{"name": "A", "prefix": 129}]})"
                                << "need 1 (A): \"prefix\" must be a whole number from 0 to 128";
    QTest::newRow("copies past 2^32")
        << head + R"("needs": [{"name": "A", "hosts": 1, "copies": 4294967296}]})"
        << "need 1 (A): \"copies\" must be a whole number from 0 to 4294967295";
    QTest::newRow("vlan 4096") << head + R"("needs": [{"name": "A", "hosts": 1, "vlan": 4096}]})"
                               << "need 1 (A): \"vlan\" must be a whole number from 0 to 4095";
    QTest::newRow("note a number") << head + R"("needs": [{"name": "A", "hosts": 1, "note": 3}]})"
                                   << "need 1 (A): \"note\" must be a text";
    QTest::newRow("invalid UTF-8")
        << head + "\"needs\": [{\"name\": \"\xff\", \"hosts\": 1}]}"
        << "not valid JSON at line 1, column 76: invalid string: ill-formed UTF-8 byte";
  }
  void json_errors() {
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    plan p = plan_of("192.168.0.0/16", "Keep=1");
    const plan before = p;
    std::string error;
    QVERIFY(!from_json(std::string_view(text.constData(), std::size_t(text.size())), &p, &error));
    QCOMPARE(q(error), expected);
    QVERIFY(p == before);  // an unreadable file changes nothing
  }

  void csv_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << "Sales"
                           << "Sales,120,25,10.0.0.0/25,255.255.255.128,10.0.0.1,10.0.0.126,"
                              "10.0.0.127,126,6,the note,7";
    QTest::newRow("comma") << "Sales, 2nd"
                           << "\"Sales, 2nd\",120,25,10.0.0.0/25,255.255.255.128,10.0.0.1,"
                              "10.0.0.126,10.0.0.127,126,6,the note,7";
    QTest::newRow("quote") << "The \"big\" one"
                           << "\"The \"\"big\"\" one\",120,25,10.0.0.0/25,255.255.255.128,"
                              "10.0.0.1,10.0.0.126,10.0.0.127,126,6,the note,7";
    QTest::newRow("line break") << "two\nlines"
                                << "\"two\nlines\",120,25,10.0.0.0/25,255.255.255.128,10.0.0.1,"
                                   "10.0.0.126,10.0.0.127,126,6,the note,7";
  }
  void csv() {
    QFETCH(QString, name);
    QFETCH(QString, line);
    plan p = plan_of("10.0.0.0/24", "X=120");
    p.needs[0].name = name.toStdString();
    p.needs[0].note = "the note";
    p.needs[0].vlan = 7;
    const std::string text = to_csv(compute(p));
    QCOMPARE(q(text),
             "name,hosts,prefix,network,mask,first,last,broadcast,capacity,spare,note,vlan\n" +
                 line + "\n");
  }

  void csv_other_delimiter() {
    plan p = plan_of("2001:db8::/64", "Lan;1=/127");
    const std::string text = to_csv(compute(p), ';');
    QCOMPARE(
        q(text),
        QString("name;hosts;prefix;network;mask;first;last;broadcast;capacity;spare;note;vlan\n"
                "\"Lan;1\";0;127;2001:db8::/127;/127;2001:db8::;2001:db8::1;;2;2;;\n"));
  }

  void random_v4() { random_plans(false); }
  void random_v6() { random_plans(true); }

 private:
  // Many random plans, checked against what every placement must keep: inside a
  // parent, on its boundary, big enough under the profile and no bigger than
  // needed, meeting no other; the rest of the parents is exactly the free space.
  static void random_plans(bool v6) {
    QRandomGenerator rng(v6 ? 6 : 4);
    const int bits = v6 ? 128 : 32;
    for (int round = 0; round < 300; ++round) {
      plan p;
      p.prof = v6 ? profile::standard : profile(rng.bounded(4));
      p.rfc3021 = rng.bounded(2);
      p.growth = rng.bounded(3) ? 0 : rng.bounded(50);
      // One to three parents in 10.0.0.0/16 (2001:db8::/112), never overlapping.
      const uint128 space = v6 ? (uint128(0x20010db8u) << 96) : 0x0a000000u;
      std::vector<std::pair<uint128, int>> parents;
      const int n = 1 + rng.bounded(3);
      for (int i = 0; i < n; ++i) {
        const int plen = bits - 14 + rng.bounded(10);
        const uint128 host = (uint128(1) << (bits - plen)) - 1;
        const uint128 pbase = (space + rng.bounded(1 << 16)) & ~host;
        bool clash = false;
        for (const auto& [ob, ol] : parents) {
          const uint128 olast = ob + (uint128(1) << (bits - ol)) - 1;
          if (pbase <= olast && ob <= pbase + host) clash = true;
        }
        if (clash) continue;
        parents.push_back({pbase, plen});
        p.parents.push_back((v6 ? ipv6(pbase).compressed() : ipv4(uint32_t(pbase)).text()) + "/" +
                            std::to_string(plen));
      }
      const int needs = 1 + rng.bounded(30);
      for (int i = 0; i < needs; ++i) {
        need nd;
        nd.name = "N" + std::to_string(i);
        if (rng.bounded(4) == 0)
          nd.prefix = v6 ? 110 + rng.bounded(19) : 20 + rng.bounded(13);
        else
          nd.hosts = v6 ? 1 : 1 + rng.bounded(rng.bounded(2) ? 8 : 600);
        if (rng.bounded(5) == 0) nd.copies = 1 + rng.bounded(6);
        if (rng.bounded(8) == 0) {
          // A fixed network somewhere in the space, inside a parent or not.
          nd.copies = 1;
          nd.prefix = bits - 2 - rng.bounded(8);
          const uint128 at =
              (space + rng.bounded(1 << 16)) & ~((uint128(1) << (bits - nd.prefix)) - 1);
          nd.fixed = (v6 ? ipv6(at).compressed() : ipv4(uint32_t(at)).text()) + "/" +
                     std::to_string(nd.prefix);
        }
        p.needs.push_back(nd);
      }
      // v6 host counts take /64s, bigger than the small parents: only links then.
      if (v6)
        for (need& nd : p.needs)
          if (nd.prefix < 0) nd.prefix = 120 + rng.bounded(9);

      const result r = compute(p);
      QCOMPARE(problems(r), QString());
      std::vector<std::pair<uint128, uint128>> taken;
      for (const allocation& a : r.allocations) {
        const need& nd = p.needs[a.need];
        const uint128 size = uint128(1) << (bits - a.prefix);
        QCOMPARE(a.base & (size - 1), uint128(0));  // on its boundary
        const uint128 last = a.base + size - 1;
        bool inside = false;
        for (const auto& [pb, pl] : parents)
          inside |= a.base >= pb && last <= pb + (uint128(1) << (bits - pl)) - 1;
        QVERIFY2(inside, a.network.c_str());
        taken.push_back({a.base, last});
        if (!nd.fixed.empty()) QCOMPARE(q(a.network), q(nd.fixed));
        if (nd.prefix >= 0) {
          QCOMPARE(a.prefix, nd.prefix);
          continue;
        }
        // Holds its hosts, and the next longer prefix would not (slow reference).
        const uint64_t hosts = reference_grown(nd.hosts, p.growth);
        QCOMPARE(a.hosts, hosts);
        QVERIFY(reference_capacity(a.prefix, p, v6) >= hosts);
        QCOMPARE(a.capacity, ipv6count(reference_capacity(a.prefix, p, v6)));
        const int longest = p.prof == profile::aws ? 28 : p.prof == profile::standard ? 32 : 29;
        if (a.prefix < longest) QVERIFY(reference_capacity(a.prefix + 1, p, v6) < hosts);
      }
      std::sort(taken.begin(), taken.end());
      for (std::size_t i = 1; i < taken.size(); ++i) QVERIFY(taken[i].first > taken[i - 1].second);
      // Address order.
      for (std::size_t i = 1; i < r.allocations.size(); ++i)
        QVERIFY(r.allocations[i].base > r.allocations[i - 1].base);
      // Parents = allocations + free space.
      uint128 free_total = 0, parent_total = 0, used = 0;
      for (const std::string& f : r.free)
        free_total += uint128(1) << (bits - std::stoi(f.substr(f.find('/') + 1)));
      for (const auto& pr : parents) parent_total += uint128(1) << (bits - pr.second);
      for (const auto& t : taken) used += t.second - t.first + 1;
      QVERIFY(free_total + used == parent_total);
      QCOMPARE(r.allocated, ipv6count(used));
      // A need left out really found no block of its size.
      for (const unplaced& u : r.unplaced) {
        const std::size_t semi = u.reason.find("largest free block is a /");
        if (semi == std::string::npos) continue;
        QVERIFY(std::stoi(u.reason.substr(semi + 25)) > u.prefix);
      }
      // Everything that went in or out is accounted for.
      std::size_t copies = 0;
      for (const need& nd : p.needs) copies += nd.copies;
      QCOMPARE(r.allocations.size() + r.unplaced.size(), copies);
    }
  }

  static uint64_t reference_grown(uint64_t hosts, double growth) {
    if (growth == 0) return hosts;
    // Whole percents only in these plans: exact in integers.
    const uint64_t g = uint64_t(growth);
    return (hosts * (100 + g) + 99) / 100;
  }

  // Usable addresses of a prefix, from the profile's reservations alone.
  static uint64_t reference_capacity(int prefix, const plan& p, bool v6) {
    if (v6) return prefix == 128 ? 1 : prefix == 127 ? 2 : (uint64_t(1) << (128 - prefix)) - 1;
    const uint64_t size = uint64_t(1) << (32 - prefix);
    switch (p.prof) {
      case profile::standard:
        if (prefix == 32) return 1;
        if (prefix == 31) return p.rfc3021 ? 2 : 0;  // only picked for two hosts with RFC 3021
        return size - 2;
      case profile::aws:
      case profile::azure:
        return size - 5;
      case profile::gcp:
        return size - 4;
    }
    return 0;
  }
};

QTEST_APPLESS_MAIN(tst_planner)
#include "tst_planner.moc"
