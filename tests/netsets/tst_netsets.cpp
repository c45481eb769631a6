// The network set engine: reading lists, the set operations at the edges of
// both address spaces, overlaps and notations, and every operation against a
// bitset over a small space.

#include <QRandomGenerator>
#include <QTest>

#include <bitset>

#include "../ipv4lib/rowname.h"
#include "ipv4lib/ipv4.h"
#include "netsets/netlist.h"

using namespace netsets;

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

netlist list(const QByteArray& text) {
  return netlist(text.toStdString());
}

// Each item as the range it holds, then each problem as "line: text: reason".
QString read_back(const netlist& l) {
  QStringList out;
  for (const item& it : l.items()) {
    out << (it.v6 ? q(text(interval<uint128>{it.first, it.last}))
                  : q(text(interval<uint32_t>{uint32_t(it.first), uint32_t(it.last)})));
  }
  for (const problem& p : l.problems())
    out << QString("%1: %2: %3").arg(p.line).arg(q(p.text), q(p.reason));
  return out.join(" | ");
}

QString joined(const netresult& r, notation how = notation::cidr) {
  QStringList out;
  for (const auto& n : r.v4) out << q(text(n, how));
  for (const auto& n : r.v6) out << q(text(n, how));
  return out.join(", ");
}

}  // namespace

class tst_netsets : public QObject {
  Q_OBJECT
 private slots:
  void read_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");
    const auto row = [](const QByteArray& in, const char* out) {
      QTest::newRow(rowName(in).constData()) << in << QString(out);
    };
    row("", "");
    row("\n\n  \n# only a comment\n", "");
    row("10.0.0.1", "10.0.0.1 - 10.0.0.1");
    row("10.0.0.5/24", "10.0.0.0 - 10.0.0.255");
    row("0.0.0.0/0", "0.0.0.0 - 255.255.255.255");
    row("255.255.255.255", "255.255.255.255 - 255.255.255.255");
    row("10.0.0.0 255.255.255.0", "10.0.0.0 - 10.0.0.255");
    row("10.0.0.9 255.255.255.254", "10.0.0.8 - 10.0.0.9");
    row("224.0.0.0 240.0.0.0", "224.0.0.0 - 239.255.255.255");
    row("0.0.0.0 0.0.0.0", "0.0.0.0 - 255.255.255.255");
    // Not a mask for an address with bits outside it: two addresses.
    row("10.0.0.1 128.0.0.0", "10.0.0.1 - 10.0.0.1 | 128.0.0.0 - 128.0.0.0");
    row("10.0.0.0 0.0.0.255", "10.0.0.0 - 10.0.0.255");
    // A wildcard in 0.0.0.0/8 clears host bits as a mask does (ACL texts);
    // 0.0.0.0 after an address is one host, not 0.0.0.0 listed as well.
    row("10.0.0.1 0.0.0.255", "10.0.0.0 - 10.0.0.255");
    row("10.0.0.1 0.0.0.0", "10.0.0.1 - 10.0.0.1");
    row("10.1.2.3 0.255.255.255", "10.0.0.0 - 10.255.255.255");
    row("10.0.0.5 1.255.255.255", "10.0.0.5 - 10.0.0.5 | 1.255.255.255 - 1.255.255.255");
    // Meant as a mask or wildcard, but not one: reported, not read as an address.
    row("10.0.0.0 255.0.255.0", "1: 10.0.0.0 255.0.255.0: mask or wildcard with a gap");
    row("10.0.0.0 0.0.255.0\n10.0.0.9",
        "10.0.0.9 - 10.0.0.9 | 1: 10.0.0.0 0.0.255.0: mask or wildcard with a gap");
    row("0.0.0.0 255.255.255.255", "0.0.0.0 - 0.0.0.0");
    row("10.0.0.1 10.0.0.2", "10.0.0.1 - 10.0.0.1 | 10.0.0.2 - 10.0.0.2");
    row("10.0.0.1-10.0.0.77", "10.0.0.1 - 10.0.0.77");
    row("10.0.0.1 - 10.0.0.77", "10.0.0.1 - 10.0.0.77");
    row("10.0.0.1- 10.0.0.77", "10.0.0.1 - 10.0.0.77");
    row("10.0.0.1 -10.0.0.77", "10.0.0.1 - 10.0.0.77");
    row("1.1.1.1,2.2.2.2; 3.3.3.3\t4.4.4.4",
        "1.1.1.1 - 1.1.1.1 | 2.2.2.2 - 2.2.2.2 | "
        "3.3.3.3 - 3.3.3.3 | 4.4.4.4 - 4.4.4.4");
    row("10.0.0.1 # a host\r\n", "10.0.0.1 - 10.0.0.1");
    // Saved by editors that mark UTF-8 with a byte order mark, or such files
    // joined with cat.
    row("\xEF\xBB\xBF"
        "10.0.0.1\r\n",
        "10.0.0.1 - 10.0.0.1");
    row("10.0.0.1\n\xEF\xBB\xBF"
        "10.0.0.2",
        "10.0.0.1 - 10.0.0.1 | 10.0.0.2 - 10.0.0.2");
    row("\xEF\xBB\xBF# a comment\n::1", "::1 - ::1");
    row("::/0", ":: - ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff");
    row("2001:db8::1/127", "2001:db8:: - 2001:db8::1");
    row("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
        "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff - ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff");
    row("2001:db8::1 - 2001:db8::ff", "2001:db8::1 - 2001:db8::ff");
    row("10.0.0.1\n::1", "10.0.0.1 - 10.0.0.1 | ::1 - ::1");
    row("10.0.0.77-10.0.0.1", "1: 10.0.0.77-10.0.0.1: range given backwards");
    row("\n2001:db8::9 - 2001:db8::1", "2: 2001:db8::9 - 2001:db8::1: range given backwards");
    row("10.0.0.1-::1", "1: 10.0.0.1-::1: range mixes IPv4 and IPv6");
    row("10.0.0.1 -", "1: 10.0.0.1 -: range without an end");
    row("- 10.0.0.1", "1: - 10.0.0.1: range without a start");
    row("10.0.0.0/33", "1: 10.0.0.0/33: prefix length must be 0-32");
    row("::/129", "1: ::/129: prefix length must be 0-128");
    row("10.0.0.0/99999999999", "1: 10.0.0.0/99999999999: prefix length must be 0-32");
    row("10.0.0.0/032", "10.0.0.0 - 10.0.0.0");
    row("10.0.0.0/", "1: 10.0.0.0/: prefix length must be 0-32");
    row("10.0.0.0/+8", "1: 10.0.0.0/+8: prefix length must be 0-32");
    row("fe80::1%eth0", "1: fe80::1%eth0: an address with a zone is no network");
    row("10.0.0.256", "1: 10.0.0.256: not an IPv4 or IPv6 address");
    row("host.example", "1: host.example: not an IPv4 or IPv6 address");
    row("1.2.3.4\nbad\n5.6.7.8, nope",
        "1.2.3.4 - 1.2.3.4 | 5.6.7.8 - 5.6.7.8 | 2: bad: not an IPv4 or IPv6 address | "
        "3: nope: not an IPv4 or IPv6 address");
  }
  void read() {
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QCOMPARE(read_back(list(input)), expected);
  }

  void lines_and_texts() {
    const netlist l = list("# head\n10.0.0.0 255.0.0.0 , 10.1.0.0-10.2.0.0\n\n::1");
    QCOMPARE(l.line_count(), 4u);
    QCOMPARE(int(l.items().size()), 3);
    QCOMPARE(q(std::string(l.text_of(l.items()[0]))), QString("10.0.0.0 255.0.0.0"));
    QCOMPARE(q(std::string(l.text_of(l.items()[1]))), QString("10.1.0.0-10.2.0.0"));
    QCOMPARE(l.items()[1].line, 2u);
    QCOMPARE(l.items()[2].line, 4u);
  }

  void aggregate_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");
    const auto row = [](const QByteArray& in, const char* out) {
      QTest::newRow(rowName(in).constData()) << in << QString(out);
    };
    row("", "");
    row("10.0.0.0/25\n10.0.0.128/25", "10.0.0.0/24");
    row("10.0.0.0/24\n10.0.0.0/24\n10.0.0.7", "10.0.0.0/24");
    row("10.0.0.1-10.0.0.77",
        "10.0.0.1/32, 10.0.0.2/31, 10.0.0.4/30, 10.0.0.8/29, 10.0.0.16/28, 10.0.0.32/27, "
        "10.0.0.64/29, 10.0.0.72/30, 10.0.0.76/31");
    row("0.0.0.0-255.255.255.255", "0.0.0.0/0");
    row("0.0.0.0/1\n128.0.0.0/1", "0.0.0.0/0");
    row("255.255.255.254\n255.255.255.255", "255.255.255.254/31");
    row("255.255.255.255\n0.0.0.0", "0.0.0.0/32, 255.255.255.255/32");
    row("0.0.0.1-255.255.255.254",
        "0.0.0.1/32, 0.0.0.2/31, 0.0.0.4/30, 0.0.0.8/29, "
        "0.0.0.16/28, 0.0.0.32/27, 0.0.0.64/26, 0.0.0.128/25, "
        "0.0.1.0/24, 0.0.2.0/23, 0.0.4.0/22, 0.0.8.0/21, 0.0.16.0/20, "
        "0.0.32.0/19, 0.0.64.0/18, 0.0.128.0/17, 0.1.0.0/16, "
        "0.2.0.0/15, 0.4.0.0/14, 0.8.0.0/13, 0.16.0.0/12, 0.32.0.0/11, "
        "0.64.0.0/10, 0.128.0.0/9, 1.0.0.0/8, 2.0.0.0/7, 4.0.0.0/6, "
        "8.0.0.0/5, 16.0.0.0/4, 32.0.0.0/3, 64.0.0.0/2, 128.0.0.0/2, "
        "192.0.0.0/3, 224.0.0.0/4, 240.0.0.0/5, 248.0.0.0/6, "
        "252.0.0.0/7, 254.0.0.0/8, 255.0.0.0/9, 255.128.0.0/10, "
        "255.192.0.0/11, 255.224.0.0/12, 255.240.0.0/13, "
        "255.248.0.0/14, 255.252.0.0/15, 255.254.0.0/16, "
        "255.255.0.0/17, 255.255.128.0/18, 255.255.192.0/19, "
        "255.255.224.0/20, 255.255.240.0/21, 255.255.248.0/22, "
        "255.255.252.0/23, 255.255.254.0/24, 255.255.255.0/25, "
        "255.255.255.128/26, 255.255.255.192/27, 255.255.255.224/28, "
        "255.255.255.240/29, 255.255.255.248/30, 255.255.255.252/31, "
        "255.255.255.254/32");
    row("::/0\n::1", "::/0");
    row("::/1\n8000::/1", "::/0");
    row(":: - ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "::/0");
    row("ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe\nffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
        "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe/127");
    row("2001:db8::/128\n2001:db8::1/128\n2001:db8::2/127", "2001:db8::/126");
    row("10.0.0.0/8\n2001:db8::/32\n10.0.0.0/9", "10.0.0.0/8, 2001:db8::/32");
  }
  void aggregate() {
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QCOMPARE(joined(netsets::aggregate(list(input))), expected);
  }

  void operations_data() {
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<QString>("merged");
    QTest::addColumn<QString>("shared");
    QTest::addColumn<QString>("excluded");
    const auto row = [](const QByteArray& a, const QByteArray& b, const char* m, const char* c,
                        const char* x) {
      QTest::newRow((rowName(a) + " with " + rowName(b)).constData()) << a << b << m << c << x;
    };
    row("10.0.0.0/24", "", "10.0.0.0/24", "", "10.0.0.0/24");
    row("", "10.0.0.0/24", "10.0.0.0/24", "", "");
    row("10.0.0.0/24", "10.0.0.0/24", "10.0.0.0/24", "10.0.0.0/24", "");
    row("10.0.0.0/24", "10.0.0.0/25", "10.0.0.0/24", "10.0.0.0/25", "10.0.0.128/25");
    row("10.0.0.0/24", "10.0.1.0/24", "10.0.0.0/23", "", "10.0.0.0/24");
    row("0.0.0.0/0", "255.255.255.255", "0.0.0.0/0", "255.255.255.255/32",
        "0.0.0.0/1, 128.0.0.0/2, 192.0.0.0/3, 224.0.0.0/4, 240.0.0.0/5, 248.0.0.0/6, "
        "252.0.0.0/7, 254.0.0.0/8, 255.0.0.0/9, 255.128.0.0/10, 255.192.0.0/11, "
        "255.224.0.0/12, 255.240.0.0/13, 255.248.0.0/14, 255.252.0.0/15, 255.254.0.0/16, "
        "255.255.0.0/17, 255.255.128.0/18, 255.255.192.0/19, 255.255.224.0/20, "
        "255.255.240.0/21, 255.255.248.0/22, 255.255.252.0/23, 255.255.254.0/24, "
        "255.255.255.0/25, 255.255.255.128/26, 255.255.255.192/27, 255.255.255.224/28, "
        "255.255.255.240/29, 255.255.255.248/30, 255.255.255.252/31, 255.255.255.254/32");
    row("0.0.0.0/0", "0.0.0.0/0", "0.0.0.0/0", "0.0.0.0/0", "");
    row("10.0.0.0/30", "10.0.0.1\n10.0.0.2", "10.0.0.0/30", "10.0.0.1/32, 10.0.0.2/32",
        "10.0.0.0/32, 10.0.0.3/32");
    row("::/0", "::/1", "::/0", "::/1", "8000::/1");
    row("::/0", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "::/0",
        "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff/128", "");  // checked below by size
    row("2001:db8::/127", "2001:db8::1", "2001:db8::/127", "2001:db8::1/128", "2001:db8::/128");
    row("10.0.0.0/8\n2001:db8::/32", "10.0.0.0/8", "10.0.0.0/8, 2001:db8::/32", "10.0.0.0/8",
        "2001:db8::/32");
  }
  void operations() {
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(QString, merged);
    QFETCH(QString, shared);
    QFETCH(QString, excluded);
    const netlist la = list(a), lb = list(b);
    QCOMPARE(joined(merge(la, lb)), merged);
    QCOMPARE(joined(common(la, lb)), shared);
    if (QTest::currentDataTag() == QByteArray("::/0 with ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"))
      QCOMPARE(int(exclude(la, lb).v6.size()), 128);
    else
      QCOMPARE(joined(exclude(la, lb)), excluded);
  }

  void complement_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("parent");
    QTest::addColumn<QString>("expected");
    QTest::newRow("10.0.0.0/25 in /24")
        << QByteArray("10.0.0.0/25") << QByteArray("10.0.0.0/24") << "10.0.0.128/25";
    QTest::newRow("nothing in 0/0") << QByteArray("") << QByteArray("0.0.0.0/0") << "0.0.0.0/0";
    QTest::newRow("0/0 in 0/0") << QByteArray("0.0.0.0/0") << QByteArray("0.0.0.0/0") << "";
    QTest::newRow("outside the parent")
        << QByteArray("192.168.0.0/16") << QByteArray("10.0.0.0/31") << "10.0.0.0/31";
    QTest::newRow("both ends of ::/126")
        << QByteArray("::\n::3") << QByteArray("::/126") << "::1/128, ::2/128";
  }
  void complement() {
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, parent);
    QFETCH(QString, expected);
    const netlist l = list(input);
    const netlist p = list(parent);
    netresult r;
    if (!p.v4().empty()) {
      const auto nets = to_networks(p.v4());
      r.v4 = to_networks(netsets::complement(l.v4(), nets.front()));
    } else {
      const auto nets = to_networks(p.v6());
      r.v6 = to_networks(netsets::complement(l.v6(), nets.front()));
    }
    QCOMPARE(joined(r), expected);
  }

  void summary_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("network");
    QTest::addColumn<QString>("added");
    QTest::addColumn<QString>("count");
    const auto row = [](const QByteArray& in, const char* n, const char* a, const char* c) {
      QTest::newRow(rowName(in).constData()) << in << QString(n) << QString(a) << QString(c);
    };
    row("10.0.0.1", "10.0.0.1/32", "0", "1");
    row("10.0.0.1\n10.0.0.2", "10.0.0.0/30", "2", "2");
    row("10.0.0.0/25\n10.0.0.128/25", "10.0.0.0/24", "0", "256");
    row("0.0.0.0\n255.255.255.255", "0.0.0.0/0", "4294967294", "2");
    row("0.0.0.0/0", "0.0.0.0/0", "0", "4294967296");
    row("::/0", "::/0", "0", "340282366920938463463374607431768211456");
    row("::\nffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "::/0",
        "340282366920938463463374607431768211454", "2");
    row("2001:db8::/127\n2001:db8::3", "2001:db8::/126", "1", "3");
  }
  void summary() {
    QFETCH(QByteArray, input);
    QFETCH(QString, network);
    QFETCH(QString, added);
    QFETCH(QString, count);
    const netlist l = list(input);
    if (!l.v4().empty()) {
      const auto s = summarize(l.v4());
      QCOMPARE(q(text(s.net, notation::cidr)), network);
      QCOMPARE(q(s.added.decimal()), added);
      QCOMPARE(q(netsets::count(l.v4()).decimal()), count);
    } else {
      const auto s = summarize(l.v6());
      QCOMPARE(q(text(s.net, notation::cidr)), network);
      QCOMPARE(q(s.added.decimal()), added);
      QCOMPARE(q(netsets::count(l.v6()).decimal()), count);
    }
  }

  void overlap_pairs_data() {
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<QString>("expected");
    const auto row = [](const QByteArray& a, const QByteArray& b, const char* out) {
      QTest::newRow((rowName(a) + " with " + rowName(b)).constData()) << a << b << QString(out);
    };
    row("10.0.0.0/24\n10.1.0.0/24", "", "");
    row("10.0.0.0/24\n10.0.0.0/24", "", "A1 A2 duplicate");
    row("10.0.0.0/24\n10.0.0.5", "", "A1 A2 contains");
    row("10.0.0.5\n10.0.0.0/24", "", "A1 A2 inside");
    row("10.0.0.0-10.0.0.10\n10.0.0.8/29", "", "A1 A2 overlaps");
    row("10.0.0.0/8\n10.1.0.0/16\n10.1.2.0/24", "",
        "A1 A2 contains, A1 A3 contains, A2 A3 contains");
    row("10.0.0.0/24, 10.0.0.0/25", "", "A1 A1 contains");
    row("0.0.0.0/0\n::/0", "255.255.255.255\n::1", "A1 B1 contains, A2 B2 contains");
    row("2001:db8::/32", "2001:db8::/32\n2001:db8::1",
        "A1 B1 duplicate, A1 B2 contains, "
        "B1 B2 contains");
    row("10.0.0.0/25", "10.0.0.128/25", "");
  }
  void overlap_pairs() {
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(QString, expected);
    const netlist la = list(a), lb = list(b);
    const netlist* lists[2] = {&la, &lb};
    QStringList out;
    for (const overlap& o : overlaps(la, &lb)) {
      out << QString("%1%2 %3%4 %5")
                 .arg(o.first_list ? 'B' : 'A')
                 .arg(lists[o.first_list]->items()[o.first].line)
                 .arg(o.second_list ? 'B' : 'A')
                 .arg(lists[o.second_list]->items()[o.second].line)
                 .arg(relation_name(o.rel));
    }
    QCOMPARE(out.join(", "), expected);
  }

  // Pairs handed over a run of items at a time come in the order and with
  // the relations of the whole list, whatever the run's size.
  void overlaps_in_runs_data() {
    QTest::addColumn<int>("held");
    QTest::newRow("1") << 1;
    QTest::newRow("2") << 2;
    QTest::newRow("7") << 7;
    QTest::newRow("1000") << 1000;
  }
  void overlaps_in_runs() {
    QFETCH(int, held);
    const netlist l = list(
        "10.0.0.0/8\n2001:db8::/32\n10.0.0.0/24, 10.0.0.0/24\n10.0.0.5\n2001:db8::1\n"
        "10.0.0.0-10.0.1.10\n192.168.0.0/16\n::/0\n10.0.0.0/24\n0.0.0.0/0\n");
    const std::vector<overlap> whole = overlaps(l);
    QCOMPARE(int(whole.size()), 25);
    std::vector<overlap> runs;
    for_each_overlap(
        l, [&runs](const overlap& o) { runs.push_back(o); }, std::size_t(held));
    QCOMPARE(runs.size(), whole.size());
    for (std::size_t i = 0; i < whole.size(); ++i) {
      QCOMPARE(runs[i].first, whole[i].first);
      QCOMPARE(runs[i].second, whole[i].second);
      QCOMPARE(relation_name(runs[i].rel), relation_name(whole[i].rel));
    }
  }

  void notations_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("how");
    QTest::addColumn<QString>("expected");
    const auto row = [](const QByteArray& in, notation how, const char* out) {
      QTest::newRow((rowName(in) + " as " + QByteArray::number(int(how))).constData())
          << in << int(how) << QString(out);
    };
    row("10.0.0.0/24", notation::mask, "10.0.0.0 255.255.255.0");
    row("10.0.0.0/24", notation::wildcard, "10.0.0.0 0.0.0.255");
    row("10.0.0.0/24", notation::range, "10.0.0.0 - 10.0.0.255");
    row("0.0.0.0/0", notation::mask, "0.0.0.0 0.0.0.0");
    row("0.0.0.0/0", notation::wildcard, "0.0.0.0 255.255.255.255");
    row("10.0.0.1", notation::mask, "10.0.0.1 255.255.255.255");
    row("10.0.0.1", notation::wildcard, "10.0.0.1 0.0.0.0");
    row("2001:db8::/32", notation::mask, "2001:db8::/32");
    row("2001:db8::/32", notation::range, "2001:db8:: - 2001:db8:ffff:ffff:ffff:ffff:ffff:ffff");
  }
  void notations() {
    QFETCH(QByteArray, input);
    QFETCH(int, how);
    QFETCH(QString, expected);
    const netresult r = netsets::aggregate(list(input));
    QCOMPARE(joined(r, notation(how)), expected);
    // Each notation reads back to the same set; the wildcard of everything
    // reads as a mask.
    if (how == int(notation::wildcard) && input == "0.0.0.0/0") return;
    const netresult back = netsets::aggregate(list(joined(r, notation(how)).toLatin1()));
    QCOMPARE(joined(back), joined(r));
  }

  void random_v4() { random_check<uint32_t>(0x0a000000u, 20); }

  // Long IPv4 lists take another way of sorting: the same set for every length
  // around the switch, whether the addresses share their high bits or not.
  void long_lists_data() {
    QTest::addColumn<int>("items");
    QTest::addColumn<uint32_t>("spread");  // host bits of the space the items start in
    QTest::newRow("1023 in a /20") << 1023 << 0xfffu;
    QTest::newRow("1024 in a /20") << 1024 << 0xfffu;
    QTest::newRow("5000 in a /20") << 5000 << 0xfffu;
    QTest::newRow("5000 in a /9") << 5000 << 0x7fffffu;
    QTest::newRow("5000 anywhere") << 5000 << 0xffffffffu;
  }
  void long_lists() {
    QFETCH(int, items);
    QFETCH(uint32_t, spread);
    QRandomGenerator rng(uint32_t(items) ^ spread);
    intervalset<uint32_t> s;
    for (int i = 0; i < items; ++i) {
      const uint32_t first = (0x0a000000u & ~spread) | (rng.generate() & spread);
      const uint32_t length = rng.bounded(3) ? rng.bounded(64u) : rng.generate() & spread;
      const uint32_t last = first + length < first ? ~0u : first + length;
      s.push_back({first, last});
    }
    s.push_back({~0u, ~0u});  // the last address, never wrapping
    s.push_back({0, 0});
    intervalset<uint32_t> want = s;
    std::stable_sort(want.begin(), want.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    intervalset<uint32_t> merged{want.front()};
    for (const auto& x : want) {
      auto& cur = merged.back();
      if (cur.last == ~0u || x.first <= cur.last + 1)
        cur.last = std::max(cur.last, x.last);
      else
        merged.push_back(x);
    }
    normalize(s);
    QVERIFY(s == merged);
  }
  void random_v6() {
    random_check<uint128>((uint128(0x20010db8u) << 96) | (uint128(0xabcdu) << 16), 116);
  }

 private:
  static constexpr int kSpace = 4096;
  using bits = std::bitset<kSpace>;

  template <class T>
  static QString addr(T v) {
    if constexpr (sizeof(T) == 4)
      return q(ipv4(v).text());
    else
      return q(ipv6(v).compressed());
  }

  template <class T>
  static bits bits_of(const intervalset<T>& s, T base) {
    bits b;
    for (const auto& x : s)
      for (T v = x.first;; ++v) {
        b.set(std::size_t(v - base));
        if (v == x.last) break;
      }
    return b;
  }

  template <class T>
  static bits bits_of(const std::vector<network<T>>& s, T base) {
    bits b;
    for (const auto& n : s) {
      for (T v = n.base;; ++v) {
        if (b.test(std::size_t(v - base))) return bits().set();  // networks overlap
        b.set(std::size_t(v - base));
        if (v == last_of(n)) break;
      }
    }
    return b;
  }

  // A list of networks, addresses and ranges inside the space, and its bits.
  template <class T>
  static QByteArray random_list(T base, int prefix, bits& b) {
    auto* rng = QRandomGenerator::global();
    QByteArray text;
    const int n = rng->bounded(0, 12);
    for (int i = 0; i < n; ++i) {
      const int kind = rng->bounded(3);
      const int p = prefix + rng->bounded(13);
      T first = base + T(rng->bounded(kSpace));
      T last;
      if (kind == 0) {
        first &= ~host_mask<T>(p);
        last = first | host_mask<T>(p);
        text += (addr(first) + "/" + QString::number(p)).toLatin1();
      } else if (kind == 1) {
        last = first;
        text += addr(first).toLatin1();
      } else {
        last = first + T(rng->bounded(int(base + T(kSpace - 1) - first) + 1));
        text += (addr(first) + " - " + addr(last)).toLatin1();
      }
      for (T v = first;; ++v) {
        b.set(std::size_t(v - base));
        if (v == last) break;
      }
      text += rng->bounded(4) ? "\n" : ", ";
    }
    return text;
  }

  // The result is exactly the set, and no network's parent lies wholly in it,
  // so no shorter list of networks holds the same addresses.
  template <class T>
  static void check_networks(const std::vector<network<T>>& nets, const bits& want, T base,
                             int prefix) {
    QCOMPARE(bits_of(nets, base), want);
    for (std::size_t i = 0; i < nets.size(); ++i) {
      if (i) QVERIFY(nets[i - 1].base < nets[i].base);
      const int p = nets[i].prefix - 1;
      if (p < prefix) continue;
      const T parent = nets[i].base & ~host_mask<T>(p);
      bool whole = true;
      for (T v = parent; whole; ++v) {
        whole = want.test(std::size_t(v - base));
        if (v == (parent | host_mask<T>(p))) break;
      }
      QVERIFY2(!whole, qPrintable(addr(nets[i].base)));
    }
  }

  template <class T>
  static const intervalset<T>& set_of(const netlist& l) {
    if constexpr (sizeof(T) == 4)
      return l.v4();
    else
      return l.v6();
  }

  template <class T>
  void random_check(T base, int prefix) {
    for (int round = 0; round < 300; ++round) {
      bits ba, bb;
      const netlist a = netlist(random_list(base, prefix, ba).toStdString());
      const netlist b = netlist(random_list(base, prefix, bb).toStdString());
      QVERIFY(a.problems().empty());
      const auto& sa = set_of<T>(a);
      const auto& sb = set_of<T>(b);
      QCOMPARE(bits_of(sa, base), ba);
      check_networks(to_networks(sa), ba, base, prefix);
      check_networks(to_networks(unite(sa, sb)), ba | bb, base, prefix);
      check_networks(to_networks(intersect(sa, sb)), ba & bb, base, prefix);
      check_networks(to_networks(subtract(sa, sb)), ba & ~bb, base, prefix);
      check_networks(to_networks(netsets::complement(sa, network<T>{base, prefix})), ~ba, base,
                     prefix);
      // Ranges: each run maximal.
      for (const auto& r : sa) {
        if (r.first != base) QVERIFY(!ba.test(std::size_t(r.first - base - 1)));
        if (r.last != base + T(kSpace - 1)) QVERIFY(!ba.test(std::size_t(r.last - base + 1)));
      }
      QCOMPARE(netsets::count(sa).value(), uint128(ba.count()));
      if (ba.any()) {
        // The summary: the longest prefix that holds the lowest and highest address.
        std::size_t lo = 0, hi = kSpace - 1;
        while (!ba.test(lo)) ++lo;
        while (!ba.test(hi)) --hi;
        int p = kBits<T>;
        while ((T(base + T(lo)) & ~host_mask<T>(p)) != (T(base + T(hi)) & ~host_mask<T>(p))) --p;
        const auto s = summarize(sa);
        QCOMPARE(s.net.prefix, p);
        QCOMPARE(s.added.value(), (uint128(1) << (kBits<T> - p)) - ba.count());
      }
      // Overlaps against every pair compared.
      std::vector<std::pair<uint32_t, uint32_t>> slow;
      const auto& items = a.items();
      for (uint32_t i = 0; i < items.size(); ++i)
        for (uint32_t j = i + 1; j < items.size(); ++j)
          if (items[i].first <= items[j].last && items[j].first <= items[i].last)
            slow.push_back({i, j});
      std::vector<std::pair<uint32_t, uint32_t>> fast;
      for (const overlap& o : overlaps(a)) fast.push_back({o.first, o.second});
      QVERIFY(fast == slow);
      // The same pairs handed over a few items at a time.
      std::vector<std::pair<uint32_t, uint32_t>> runs;
      for_each_overlap(
          a,
          [&runs](const overlap& o) {
            runs.push_back({o.first, o.second});
          },
          5);
      QVERIFY(runs == slow);
    }
  }
};

QTEST_APPLESS_MAIN(tst_netsets)
#include "tst_netsets.moc"
