// One run of the Network Sets tool without a window: the rows each operation
// gives, the counts and problems of both lists, the network handed to a
// calculator, the text and CSV exports, and cancelling.

#include <QTest>
#include <atomic>
#include <random>

#include "netsets/setjob.h"

using namespace netsets;

Q_DECLARE_METATYPE(netsets::operation)
Q_DECLARE_METATYPE(netsets::notation)

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// Every row, its cells joined by " ; ", rows by " | ".
QString rows(const setresult& r) {
  QStringList out;
  for (std::size_t i = 0; i < r.row_count(); ++i) {
    QStringList cells;
    for (int c = 0; c < r.column_count(); ++c) cells << q(r.cell(i, c));
    out << cells.join(" ; ");
  }
  return out.join(" | ");
}

std::unique_ptr<setresult> run(const QByteArray& a, const QByteArray& b, operation op,
                               notation how = notation::cidr) {
  return setresult::run(a.toStdString(), b.toStdString(), op, how);
}

}  // namespace

class tst_setjob : public QObject {
  Q_OBJECT
 private slots:
  void operations_data() {
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<operation>("op");
    QTest::addColumn<notation>("how");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const QByteArray& a, const QByteArray& b, operation op,
                        notation how, const char* out) {
      QTest::newRow(name) << a << b << op << how << QString(out);
    };
    using o = operation;
    using n = notation;
    row("aggregate two halves", "10.0.0.0/25\n10.0.0.128/25", "", o::aggregate, n::cidr,
        "10.0.0.0/24 ; 256");
    row("aggregate mask notation", "10.0.0.0/25\n10.0.0.128/25", "", o::aggregate, n::mask,
        "10.0.0.0 255.255.255.0 ; 256");
    row("aggregate wildcard notation", "10.0.0.0/24", "", o::aggregate, n::wildcard,
        "10.0.0.0 0.0.0.255 ; 256");
    row("aggregate range notation", "10.0.0.0/24", "", o::aggregate, n::range,
        "10.0.0.0 - 10.0.0.255 ; 256");
    row("aggregate ignores B", "10.0.0.0/24", "junk", o::aggregate, n::cidr, "10.0.0.0/24 ; 256");
    row("aggregate IPv6 after IPv4", "2001:db8::/33\n2001:db8:8000::/33\n192.0.2.7", "",
        o::aggregate, n::cidr, "192.0.2.7/32 ; 1 | 2001:db8::/32 ; 79228162514264337593543950336");
    row("aggregate IPv6 mask is CIDR", "2001:db8::/48", "", o::aggregate, n::mask,
        "2001:db8::/48 ; 1208925819614629174706176");
    row("aggregate all of IPv6", "::/0", "", o::aggregate, n::cidr,
        "::/0 ; 340282366920938463463374607431768211456");
    row("aggregate all of IPv4", "0.0.0.0/1, 128.0.0.0/1", "", o::aggregate, n::cidr,
        "0.0.0.0/0 ; 4294967296");
    row("merge", "10.0.0.0/24", "10.0.1.0/24", o::merge, n::cidr, "10.0.0.0/23 ; 512");
    row("common", "10.0.0.0/16", "10.0.5.0/24\n192.168.0.0/16", o::common, n::cidr,
        "10.0.5.0/24 ; 256");
    row("common of disjoint lists", "10.0.0.0/24", "10.0.1.0/24", o::common, n::cidr, "");
    row("exclude a hole", "10.0.0.0/30", "10.0.0.1", o::exclude, n::cidr,
        "10.0.0.0/32 ; 1 | 10.0.0.2/31 ; 2");
    row("exclude everything", "10.0.0.0/24", "0.0.0.0/0", o::exclude, n::cidr, "");
    row("exclude IPv6 last address", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe/127",
        "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", o::exclude, n::cidr,
        "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe/128 ; 1");
    row("ranges join touching items", "10.0.0.1-10.0.0.77\n10.0.0.78\n10.0.1.0/24", "", o::ranges,
        n::cidr, "10.0.0.1 - 10.0.0.78 ; 78 | 10.0.1.0 - 10.0.1.255 ; 256");
    row("ranges of all of IPv6", "::/1\n8000::/1", "", o::ranges, n::cidr,
        ":: - ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff ; 340282366920938463463374607431768211456");
    row("summary per family", "10.0.0.0/24\n10.0.3.0/24\n2001:db8::/64\n2001:db8:0:1::/64", "",
        o::summary, n::cidr, "10.0.0.0/22 ; 512 | 2001:db8::/63 ; 0");
    row("summary in mask notation", "10.0.0.0/24\n10.0.1.0/24", "", o::summary, n::mask,
        "10.0.0.0 255.255.254.0 ; 0");
    row("summary of the two ends", "0.0.0.0\n255.255.255.255", "", o::summary, n::cidr,
        "0.0.0.0/0 ; 4294967294");
    row("summary of nothing", "# none", "", o::summary, n::cidr, "");
    row("overlaps within A", "10.0.0.0/24\n10.0.0.5\n10.0.0.0/24", "", o::overlaps, n::cidr,
        "10.0.0.0/24 ; A 1 ; contains ; 10.0.0.5 ; A 2 | "
        "10.0.0.0/24 ; A 1 ; duplicate ; 10.0.0.0/24 ; A 3 | "
        "10.0.0.5 ; A 2 ; inside ; 10.0.0.0/24 ; A 3");
    row("overlaps across lists", "10.0.0.0 - 10.0.0.9", "10.0.0.8/29", o::overlaps, n::cidr,
        "10.0.0.0 - 10.0.0.9 ; A 1 ; overlaps ; 10.0.0.8/29 ; B 1");
    row("overlaps keep the text as written", "192.168.1.0 255.255.255.0", "192.168.1.9",
        o::overlaps, n::mask, "192.168.1.0 255.255.255.0 ; A 1 ; contains ; 192.168.1.9 ; B 1");
    row("no overlaps between families", "::/0", "0.0.0.0/0", o::overlaps, n::cidr, "");
  }
  void operations() {
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(operation, op);
    QFETCH(notation, how);
    QFETCH(QString, expected);
    const auto r = run(a, b, op, how);
    QVERIFY(r);
    QCOMPARE(rows(*r), expected);
  }

  // The count line of a list: aggregate networks, exact addresses.
  void counts_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QByteArray() << "0 lines, 0 networks, 0 addresses";
    QTest::newRow("one address") << QByteArray("10.0.0.1") << "1 line, 1 network, 1 address";
    QTest::newRow("duplicates count once") << QByteArray("10.0.0.0/24\n10.0.0.0/24\n10.0.0.7\n")
                                           << "3 lines, 1 network, 256 addresses";
    QTest::newRow("comments and blanks are lines")
        << QByteArray("# head\n\n10.0.0.0/31 # two\n\n") << "4 lines, 1 network, 2 addresses";
    QTest::newRow("range of several networks")
        << QByteArray("10.0.0.1-10.0.0.6") << "1 line, 4 networks, 6 addresses";
    QTest::newRow("bad lines do not count")
        << QByteArray("10.0.0.0/33\n10.0.0.1") << "2 lines, 1 network, 1 address";
    QTest::newRow("both families")
        << QByteArray("0.0.0.0/0\n::/64") << "2 lines, 2 networks, 18446744078004518912 addresses";
    QTest::newRow("beyond 2^128")
        << QByteArray("::/0\n0.0.0.0/0")
        << "2 lines, 2 networks, 340282366920938463463374607436063178752 addresses";
  }
  void counts() {
    QFETCH(QByteArray, list);
    QFETCH(QString, expected);
    QCOMPARE(q(counts_text(count_list(netlist(list.toStdString())))), expected);
  }

  void add_decimal_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("sum");
    QTest::newRow("0+0") << "0"
                         << "0"
                         << "0";
    QTest::newRow("999+1") << "999"
                           << "1"
                           << "1000";
    QTest::newRow("1+999") << "1"
                           << "999"
                           << "1000";
    QTest::newRow("2^128+2^32") << "340282366920938463463374607431768211456"
                                << "4294967296"
                                << "340282366920938463463374607436063178752";
  }
  void add_decimal() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, sum);
    QCOMPARE(q(netsets::add_decimal(a.toStdString(), b.toStdString())), sum);
  }

  // The problems of the lists the operation reads, A's first, with the
  // count line saying how many were ignored.
  void problems_data() {
    QTest::addColumn<operation>("op");
    QTest::addColumn<QString>("problems");
    QTest::addColumn<QString>("count");
    QTest::newRow("A only for aggregate")
        << operation::aggregate << "A 2: 10.0.0.300: not an IPv4 or IPv6 address"
        << "1 network (1 entry ignored, see Problems)";
    QTest::newRow("both for exclude")
        << operation::exclude
        << "A 2: 10.0.0.300: not an IPv4 or IPv6 address | "
           "B 1: 10.0.0.9-10.0.0.1: range given backwards | B 3: ::1/129: prefix length must be "
           "0-128"
        << "1 network (3 entries ignored, see Problems)";
    QTest::newRow("both for overlaps")
        << operation::overlaps
        << "A 2: 10.0.0.300: not an IPv4 or IPv6 address | "
           "B 1: 10.0.0.9-10.0.0.1: range given backwards | B 3: ::1/129: prefix length must be "
           "0-128"
        << "0 overlapping pairs (3 entries ignored, see Problems)";
  }
  void problems() {
    QFETCH(operation, op);
    QFETCH(QString, problems);
    QFETCH(QString, count);
    const auto r = run("10.0.0.0/24\n10.0.0.300", "10.0.0.9-10.0.0.1\n\n::1/129", op);
    QStringList out;
    for (const listed_problem& p : r->problems()) {
      const problem& pr = r->problem_of(p);
      out << QString("%1 %2: %3: %4")
                 .arg(p.list ? "B" : "A")
                 .arg(pr.line)
                 .arg(q(pr.text), q(pr.reason));
    }
    QCOMPARE(out.join(" | "), problems);
    QCOMPARE(q(r->count_text()), count);
  }

  // What a double-click hands to a calculator: always CIDR.
  void calc_network_data() {
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<operation>("op");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("network");
    QTest::addColumn<bool>("v6");
    QTest::newRow("network in mask notation")
        << QByteArray("10.0.0.0/24") << operation::aggregate << 0 << "10.0.0.0/24" << false;
    QTest::newRow("IPv6 row") << QByteArray("10.0.0.0/24\n2001:db8::/48") << operation::aggregate
                              << 1 << "2001:db8::/48" << true;
    QTest::newRow("range: its first network")
        << QByteArray("10.0.0.1-10.0.0.6") << operation::ranges << 0 << "10.0.0.1/32" << false;
    QTest::newRow("IPv6 range") << QByteArray("2001:db8::-2001:db8::5") << operation::ranges << 0
                                << "2001:db8::/126" << true;
    QTest::newRow("summary") << QByteArray("10.0.0.0/24\n10.0.2.0/24") << operation::summary << 0
                             << "10.0.0.0/22" << false;
    QTest::newRow("overlap: the first item") << QByteArray("10.0.0.4 - 10.0.0.9\n10.0.0.8/29")
                                             << operation::overlaps << 0 << "10.0.0.4/30" << false;
    QTest::newRow("row past the end")
        << QByteArray("10.0.0.0/24") << operation::aggregate << 1 << "" << false;
  }
  void calc_network() {
    QFETCH(QByteArray, a);
    QFETCH(operation, op);
    QFETCH(int, row);
    QFETCH(QString, network);
    QFETCH(bool, v6);
    const auto r = run(a, "", op, notation::mask);
    bool is6 = !v6;
    QCOMPARE(q(r->calc_network(std::size_t(row), &is6)), network);
    QCOMPARE(is6, v6);
  }

  // Text holds the results one a line; CSV every column, quoted where needed.
  void exports_data() {
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<operation>("op");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("csv");
    QTest::newRow("aggregate") << QByteArray("10.0.0.0/25\n10.0.0.128/25\n::1")
                               << operation::aggregate << "10.0.0.0/24\n::1/128\n"
                               << "Network,Addresses\n10.0.0.0/24,256\n::1/128,1\n";
    QTest::newRow("ranges") << QByteArray("10.0.0.1-10.0.0.3") << operation::ranges
                            << "10.0.0.1 - 10.0.0.3\n"
                            << "Range,Addresses\n10.0.0.1 - 10.0.0.3,3\n";
    QTest::newRow("overlaps with commas")
        << QByteArray("10.0.0.0/24, 10.0.0.1") << operation::overlaps
        << "10.0.0.0/24\tA 1\tcontains\t10.0.0.1\tA 1\n"
        << "Item,Line,Relation,Other item,Line\n10.0.0.0/24,A 1,contains,10.0.0.1,A 1\n";
    QTest::newRow("nothing") << QByteArray("") << operation::aggregate << ""
                             << "Network,Addresses\n";
  }
  void exports() {
    QFETCH(QByteArray, a);
    QFETCH(operation, op);
    QFETCH(QString, text);
    QFETCH(QString, csv);
    const auto r = run(a, "", op);
    QCOMPARE(q(r->text()), text);
    QCOMPARE(q(r->csv()), csv);
  }

  // The pairs counted without listing them match the pairs listed, on
  // random lists dense enough to nest, touch and repeat.
  void pairCountMatchesListing_data() {
    QTest::addColumn<int>("seed");
    QTest::addColumn<bool>("withB");
    for (int seed : {1, 2, 3, 4}) {
      QTest::addRow("seed %d, A only", seed) << seed << false;
      QTest::addRow("seed %d, A and B", seed) << seed << true;
    }
  }
  void pairCountMatchesListing() {
    QFETCH(int, seed);
    QFETCH(bool, withB);
    std::mt19937 random(seed);
    auto make = [&] {
      std::string t;
      for (int i = 0; i < 300; ++i) {
        const uint32_t a = random() % 4096;
        if (random() % 3 == 0) {
          const uint32_t e = a + random() % 64;
          t += "10.0." + std::to_string(a >> 8) + '.' + std::to_string(a & 255) + '-' + "10.0." +
               std::to_string(e >> 8 & 255) + '.' + std::to_string(e & 255) + '\n';
        } else if (random() % 2) {
          t += "10.0." + std::to_string(a >> 8) + '.' + std::to_string(a & 255) + '/' +
               std::to_string(20 + random() % 13) + '\n';
        } else {
          t += "2001:db8::" + std::to_string(a % 512) + '/' + std::to_string(116 + random() % 13) +
               '\n';
        }
      }
      return t;
    };
    const netlist a(make());
    const netlist b(make());
    const netlist* other = withB ? &b : nullptr;
    QCOMPARE(overlap_pair_count(a, other), uint64_t(overlaps(a, other).size()));
  }

  // Too many pairs are counted, not listed.
  void tooManyPairs() {
    std::string a;
    for (int i = 0; i < 5000; ++i) a += "10.0.0.0/8\n";
    const auto r = setresult::run(a, "", operation::overlaps, notation::cidr);
    QCOMPARE(r->row_count(), std::size_t(0));
    QCOMPARE(q(r->count_text()),
             QString("12497500 overlapping pairs, too many to list (at most 10000000)"));
  }

  // A million rows exist only as intervals until asked for.
  void manyRowsOnDemand() {
    // A /25 at the start of each of 200,000 /24s: none joins another.
    std::string a;
    for (uint32_t i = 0; i < 200000; ++i)
      a += std::to_string(i >> 16) + '.' + std::to_string(i >> 8 & 255) + '.' +
           std::to_string(i & 255) + ".0/25\n";
    const auto r = setresult::run(a, "", operation::aggregate, notation::cidr);
    QCOMPARE(r->row_count(), std::size_t(200000));
    QCOMPARE(q(r->cell(199999, 0)), QString("3.13.63.0/25"));
    QCOMPARE(q(r->counts(0).addresses), QString("25600000"));
  }

  void cancelStopsTheRun_data() {
    QTest::addColumn<int>("cancelAt");
    for (int at : {0, 40, 80, 90}) QTest::addRow("at %d%%", at) << at;
  }
  void cancelStopsTheRun() {
    QFETCH(int, cancelAt);
    std::atomic<bool> cancel{false};
    QList<int> seen;
    job_control control;
    control.cancel = &cancel;
    control.progress = [&](int percent) {
      seen << percent;
      if (percent >= cancelAt) cancel = true;
    };
    const auto r =
        setresult::run("10.0.0.0/24", "10.0.0.1", operation::exclude, notation::cidr, control);
    QVERIFY(!r);
    // Nothing more is done once the flag is seen.
    QCOMPARE(seen.last(), cancelAt);
    QVERIFY(std::is_sorted(seen.begin(), seen.end()));
  }

  void progressRunsToTheEnd() {
    QList<int> seen;
    job_control control;
    control.progress = [&](int percent) { seen << percent; };
    QVERIFY(setresult::run("10.0.0.0/24", "", operation::aggregate, notation::cidr, control));
    QCOMPARE(seen.first(), 0);
    QCOMPARE(seen.last(), 100);
    QVERIFY(std::is_sorted(seen.begin(), seen.end()));
  }
};

QTEST_APPLESS_MAIN(tst_setjob)
#include "tst_setjob.moc"
