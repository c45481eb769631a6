// The rows of the subnet table and the subnetworks list for inputs the
// calculator window rarely produces. The usual cases, the list commands and
// the menu rules are driven through the window in tst_listcommands.
#include <QLabel>
#include <QTreeWidget>
#include <QtTest>

#include "ipcalc/subnetmodel.h"
#include "ipcalc/subnettables.h"
#include "ipv4lib/ipv4.h"

class TestSubnetTables : public QObject {
  Q_OBJECT
 private slots:
  void baseMask_data();
  void baseMask();
  void subnetTable_data();
  void subnetTable();
  void subnetworks_data();
  void subnetworks();
  void tableSwitchedOffEmptiesBothLists();
};

void TestSubnetTables::baseMask_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("mask");  // 0.0.0.0: no usable mask
  const struct {
    const char *text, *mask;
  } rows[] = {{"255.255.255.0", "255.255.255.0"},
              {"/1", "128.0.0.0"},
              {"/32", "255.255.255.255"},
              {"/0", "0.0.0.0"},
              {"/33", "0.0.0.0"},
              {"254", "255.255.255.0"},
              {"255", "255.255.254.0"},
              {"0", "255.255.255.252"},
              {"2147483646", "128.0.0.0"},
              {"2147483647", "0.0.0.0"},
              {"0.0.0.255", "255.255.255.0"},
              {"127.255.255.255", "128.0.0.0"},
              {"255.255.0.255", "0.0.0.0"},
              {"abc", "0.0.0.0"},
              {"", "0.0.0.0"}};
  for (const auto& r : rows) QTest::newRow(r.text) << r.text << r.mask;
}

void TestSubnetTables::baseMask() {
  QFETCH(QString, text);
  QFETCH(QString, mask);
  QCOMPARE(QString::fromStdString(ipv4(SubnetBaseMask(text)).text()), mask);
}

void TestSubnetTables::subnetTable_data() {
  QTest::addColumn<QString>("mask");
  QTest::addColumn<bool>("rfc3021");
  QTest::addColumn<int>("count");
  QTest::addColumn<QStringList>("firstAndLast");
  QTest::newRow("128.0.0.0 RFC 3021")
      << "128.0.0.0" << true << 31
      << QStringList{"128.0.0.0|/1|1|2147483646", "255.255.255.254|/31|1073741824|2"};
  QTest::newRow("255.255.255.255 first row only")
      << "255.255.255.255" << true << 1
      << QStringList{"255.255.255.255|/32|1|1", "255.255.255.255|/32|1|1"};
  QTest::newRow("abc") << "abc" << false << 0 << QStringList();
}

void TestSubnetTables::subnetTable() {
  QFETCH(QString, mask);
  QFETCH(bool, rfc3021);
  QFETCH(int, count);
  QFETCH(QStringList, firstAndLast);
  const TSubnetTable t = BuildSubnetTable(mask, rfc3021);
  QCOMPARE(int(t.rows.size()), count);
  QCOMPARE(t.header, count ? "Potential Subnetworks in Base: " + mask : QString());
  if (count == 0) return;
  const auto cells = [](const TSubnetRow& r) {
    return QStringList{r.mask, r.prefix, r.networks, r.hosts}.join('|');
  };
  QCOMPARE((QStringList{cells(t.rows.front()), cells(t.rows.back())}), firstAndLast);
}

void TestSubnetTables::subnetworks_data() {
  QTest::addColumn<QString>("network");
  QTest::addColumn<QString>("label");
  QTest::addColumn<QString>("row");
  QTest::addColumn<int>("count");
  QTest::addColumn<QStringList>("firstAndLast");
  QTest::newRow("256 rows, no more...") << "10.0.0.0"
                                        << "10.0.0.0  255.255.0.0"
                                        << "255.255.255.0|/24|256|254" << 256
                                        << QStringList{"10.0.0.0|10.0.0.1 - 10.0.0.254|1",
                                                       "10.0.255.0|10.0.255.1 - 10.0.255.254|256"};
  QTest::newRow("top of the address space")
      << "255.255.255.0"
      << "255.255.255.0  255.255.255.0"
      << "255.255.255.128|/25|2|126" << 2
      << QStringList{"255.255.255.0|255.255.255.1 - 255.255.255.126|1",
                     "255.255.255.128|255.255.255.129 - 255.255.255.254|2"};
  QTest::newRow("no network shown") << "192.168.1.0"
                                    << ""
                                    << "255.255.255.192|/26|4|62" << 0 << QStringList();
}

void TestSubnetTables::subnetworks() {
  QFETCH(QString, network);
  QFETCH(QString, label);
  QFETCH(QString, row);
  QFETCH(int, count);
  QFETCH(QStringList, firstAndLast);
  const QStringList r = row.split('|');
  const TSubnetworkList list = BuildSubnetworkList(network, label, {r[0], r[1], r[2], r[3]});
  QCOMPARE(int(list.rows.size()), count);
  QCOMPARE(list.header.isEmpty(), label.isEmpty());
  if (count == 0) return;
  const auto cells = [](const TSubnetworkRow& s) {
    return s.network + '|' + s.hosts + '|' + s.number;
  };
  QCOMPARE((QStringList{cells(list.rows.front()), cells(list.rows.back())}), firstAndLast);
}

void TestSubnetTables::tableSwitchedOffEmptiesBothLists() {
  TSubnetTables tables;
  tables.SetNetwork("192.168.1.0", "192.168.1.0  255.255.255.0");
  tables.FillSubnetTable("255.255.255.0", true, false);
  QCOMPARE(tables.lvNetworks->topLevelItemCount(), 1);
  tables.FillSubnetTable("255.255.255.0", false, false);
  QCOMPARE(tables.lvSubnets->topLevelItemCount(), 0);
  QCOMPARE(tables.lvNetworks->topLevelItemCount(), 0);
  QCOMPARE(tables.pnlSubnetTableHeader->text(), QString());
  QCOMPARE(tables.pnlSubnetworksTableHeader->text(), QString());
}

QTEST_MAIN(TestSubnetTables)
#include "tst_subnettables.moc"
