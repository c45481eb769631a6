// The host list model: generated rows for every kind of network and limit,
// names kept as runs (against a plain array), the highlight, and the network
// text handed over by the calculator.

#include <QRandomGenerator>
#include <QtTest>
#include <climits>

#include "hostlist/hostlistmodel.h"
#include "hostlist/namerun.h"

namespace {

QString Row(const THostListModel& m, int row) {
  return m.AddressText(row) + QLatin1Char(' ') + m.Name(row);
}

}  // namespace

class TestHostListModel : public QObject {
  Q_OBJECT
 private slots:
  void generation_data() {
    QTest::addColumn<QString>("network");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("maxRows");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("first");  // the first rows, "address name"
    QTest::addColumn<QStringList>("last");   // the last two rows
    QTest::addColumn<QString>("panel");

    QTest::newRow("192.168.1.0/30")
        << "192.168.1.0/30" << 4096 << INT_MAX << 4
        << QStringList{"192.168.1.0 nwc0a80100", "192.168.1.1 hc0a80101", "192.168.1.2 hc0a80102",
                       "192.168.1.3 bcc0a80103"}
        << QStringList{"192.168.1.2 hc0a80102", "192.168.1.3 bcc0a80103"} << "2 hosts";
    QTest::newRow("192.168.1.77 255.255.255.0")
        << "192.168.1.77 255.255.255.0" << 4096 << INT_MAX << 256
        << QStringList{"192.168.1.0 nwc0a80100"}
        << QStringList{"192.168.1.254 hc0a801fe", "192.168.1.255 bcc0a801ff"} << "254 hosts";
    QTest::newRow("10.0.0.0/16 limit 4096")
        << "10.0.0.0/16" << 4096 << INT_MAX << 4097 << QStringList{"10.0.0.0 nw0a000000"}
        << QStringList{"10.0.15.255 h0a000fff", "more... ..."} << "65534 hosts, 4096 shown";
    QTest::newRow("10.0.0.0/16 limit 0")
        << "10.0.0.0/16" << 0 << INT_MAX << 4097 << QStringList()
        << QStringList{"10.0.15.255 h0a000fff", "more... ..."} << "65534 hosts, 4096 shown";
    QTest::newRow("10.0.0.0/22 limit 1026")
        << "10.0.0.0/22" << 1026 << INT_MAX << 1024 << QStringList()
        << QStringList{"10.0.3.254 h0a0003fe", "10.0.3.255 bc0a0003ff"} << "1022 hosts";
    QTest::newRow("10.0.0.0/22 limit 1023")
        << "10.0.0.0/22" << 1023 << INT_MAX << 1024 << QStringList()
        << QStringList{"10.0.3.254 h0a0003fe", "more... ..."} << "1022 hosts, 1023 shown";
    QTest::newRow("10.0.0.0/31") << "10.0.0.0/31" << 4096 << INT_MAX << 2
                                 << QStringList{"10.0.0.0 h0a000000", "10.0.0.1 h0a000001"}
                                 << QStringList() << "2 hosts";
    QTest::newRow("10.0.0.5/32") << "10.0.0.5/32" << 4096 << INT_MAX << 1
                                 << QStringList{"10.0.0.5 h0a000005"} << QStringList() << "1 host";
    QTest::newRow("10.0.0.0/8 past the view")
        << "10.0.0.0/8" << INT_MAX << 1000 << 1000 << QStringList()
        << QStringList{"10.0.3.230 h0a0003e6", "more... ..."} << "16777214 hosts, 999 shown";
    // Counts past 32 bits: 2^31 addresses against the largest limit.
    QTest::newRow("128.0.0.0/1 limit 2^31-1")
        << "128.0.0.0/1" << INT_MAX << INT_MAX << INT_MAX << QStringList{"128.0.0.0 nw80000000"}
        << QStringList{"255.255.255.253 hfffffffd", "more... ..."}
        << "2147483646 hosts, 2147483646 shown";
    QTest::newRow("not a network")
        << "10.0.0.1" << 4096 << INT_MAX << 0 << QStringList() << QStringList() << "";
  }
  void generation() {
    QFETCH(QString, network);
    QFETCH(int, limit);
    QFETCH(int, maxRows);
    QFETCH(int, rows);
    QFETCH(QStringList, first);
    QFETCH(QStringList, last);
    QFETCH(QString, panel);
    THostListModel m;
    m.Generate(HostListNetwork(network), limit, maxRows);
    QCOMPARE(m.rowCount(), rows);
    for (int i = 0; i < first.size(); ++i) QCOMPARE(Row(m, i), first.at(i));
    for (int i = 0; i < last.size(); ++i) QCOMPARE(Row(m, rows - last.size() + i), last.at(i));
    QCOMPARE(m.HostCountText(), panel);
    QCOMPARE(m.Names().Runs().size(), std::size_t(0));
  }
  void namesMatchPlainArray() {
    // Random overlays against one name per row kept slowly.
    constexpr int kRows = 64;
    std::vector<std::string> plain(kRows);  // "" = generated
    TNameRuns runs;
    QRandomGenerator rng(20240305);
    for (int step = 0; step < 2000; ++step) {
      TNameRuns top;
      uint32_t row = rng.bounded(8);
      while (row < kRows) {
        const uint32_t last = std::min<uint32_t>(kRows - 1, row + rng.bounded(6));
        const int pick = rng.bounded(4);
        const std::string name = pick == 0 ? std::string() : std::string(1, char('a' + pick));
        const std::string_view view(name);
        top.Append(row, last, name.empty() ? nullptr : &view);
        for (uint32_t r = row; r <= last; ++r) plain[r] = name;
        row = last + 1 + rng.bounded(10);
      }
      runs.Overlay(top);
      for (uint32_t r = 0; r < kRows; ++r) {
        std::string_view name;
        const bool named = runs.Find(r, &name);
        QCOMPARE(named ? std::string(name) : std::string(), plain[r]);
      }
      // Runs stay sorted, apart and joined where they can be.
      const auto& v = runs.Runs();
      for (std::size_t i = 1; i < v.size(); ++i) {
        QVERIFY(v[i - 1].last < v[i].first);
        QVERIFY(v[i - 1].last + 1 < v[i].first || runs.NameOf(v[i - 1]) != runs.NameOf(v[i]));
      }
    }
  }
  void namesOnSelectedRows() {
    THostListModel m;
    m.Generate(HostListNetwork("10.0.0.0/12"), 1 << 20);
    QCOMPARE(m.rowCount(), 1 << 20);
    m.SetName({{3, 3}, {7, 7}}, QStringLiteral("srv"));
    QCOMPARE(m.Name(3), QStringLiteral("srv"));
    QCOMPARE(m.Name(7), QStringLiteral("srv"));
    QCOMPARE(m.Name(4), QStringLiteral("h0a000004"));
    // A million rows named at once: one run.
    m.SetName({{0, m.rowCount() - 1}}, QStringLiteral("Müller"));
    QCOMPARE(m.Names().Runs().size(), std::size_t(1));
    QCOMPARE(m.Name(m.rowCount() - 1), QStringLiteral("Müller"));
    QCOMPARE(m.Name(m.rowCount()), QString());
  }
  void moreRowIsNeverNamed_data() {
    QTest::addColumn<TRowRuns>("rows");  // 10.0.0.0/24 cut at 4: "more..." is row 4
    QTest::addColumn<TRowRuns>("named");
    QTest::newRow("all rows") << TRowRuns{{0, 4}} << TRowRuns{{0, 3}};
    QTest::newRow("more... alone") << TRowRuns{{4, 4}} << TRowRuns{};
    QTest::newRow("rows 1, 3 and more...") << TRowRuns{{1, 1}, {3, 4}} << TRowRuns{{1, 1}, {3, 3}};
    QTest::newRow("address rows only") << TRowRuns{{2, 3}} << TRowRuns{{2, 3}};
  }
  void moreRowIsNeverNamed() {
    QFETCH(TRowRuns, rows);
    QFETCH(TRowRuns, named);
    THostListModel m;
    m.Generate(HostListNetwork("10.0.0.0/24"), 4);
    QVERIFY(m.IsMoreRow(4));
    QVERIFY(!m.IsMoreRow(3));
    QCOMPARE(m.AddressRows(rows), named);
    m.SetName(rows, QStringLiteral("oops"));
    QCOMPARE(Row(m, 4), QStringLiteral("more... ..."));
    TRowRuns got;
    for (const TNameRuns::Run& r : m.Names().Runs()) got.emplace_back(int(r.first), int(r.last));
    QCOMPARE(got, named);
  }
  void highlight() {
    THostListModel m;
    m.Generate(HostListNetwork("192.168.1.0/24"), 4096);
    m.SetHighlightedAddress(QStringLiteral("192.168.1.10"));
    for (int row : {9, 10, 100}) {
      for (int column : {0, 1}) {
        const QModelIndex i = m.index(row, column);
        const bool lit = row == 10;
        QCOMPARE(i.data(THostListModel::HighlightRole).toBool(), lit);
      }
    }
  }
  void longNetworkTextKeepsItsMask() {
    // The calculator's network line: two blanks between two 15-character quads.
    const QString text = QStringLiteral("192.168.100.128  255.255.255.128");
    QVERIFY(!ipv4host(text.toStdString()).is_valid());
    const ipv4host n = HostListNetwork(text);
    QVERIFY(n.is_valid());
    QCOMPARE(n.prefix_length(), 25);
  }
};

QTEST_MAIN(TestHostListModel)
#include "tst_hostlistmodel.moc"
