// The subnet table, the subnetworks list and their list commands.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include "ipcalc/subnetmodel.h"
#include "ipcalc/subnettables.h"
#include "ipv4lib/ipv4.h"
#include "recordingservices.h"
#include "shell/widgethelpers.h"

namespace {
QStringList RowTexts(const QTreeWidget* view, int row) {
  QStringList t;
  const QTreeWidgetItem* item = view->topLevelItem(row);
  for (int c = 0; item && c < view->columnCount(); ++c) t << item->text(c);
  return t;
}

int SelectedRow(const QTreeWidget* view) {
  const QList<QTreeWidgetItem*> s = view->selectedItems();
  return s.size() == 1 ? view->indexOfTopLevelItem(s.first()) : -1;
}

// A panel that lists the subnetworks of the given network line.
struct Panel {
  explicit Panel(const QString& network, const QString& label) {
    tables.NetworkText = [=] { return network; };
    tables.NetworkLabelText = [=] { return label; };
  }
  void SelectPrefix(const QString& prefix) {
    const QList<QTreeWidgetItem*> rows = tables.lvSubnets->findItems(prefix, Qt::MatchExactly, 1);
    QVERIFY(!rows.isEmpty());
    tables.lvSubnets->setCurrentItem(rows.first());
  }
  TSubnetTables tables;
};
}  // namespace

class TestSubnetTables : public QObject {
  Q_OBJECT
 private slots:
  void baseMask_data();
  void baseMask();
  void subnetTable_data();
  void subnetTable();
  void subnetworks_data();
  void subnetworks();
  void copyTexts();
  void tableFillsAndSelectsFirstRows();
  void tableOffOrUnusableMaskEmptiesBothLists();
  void menuEnabling_data();
  void menuEnabling();
  void copyCommandsPutExactBytes();
  void hostListRequestedOnlyForAValidNetwork();
};

void TestSubnetTables::baseMask_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("mask");
  QTest::newRow("255.255.255.0") << "255.255.255.0"
                                 << "255.255.255.0";
  QTest::newRow("128.0.0.0") << "128.0.0.0"
                             << "128.0.0.0";
  QTest::newRow("/24") << "/24"
                       << "255.255.255.0";
  QTest::newRow("/1") << "/1"
                      << "128.0.0.0";
  QTest::newRow("/32") << "/32"
                       << "255.255.255.255";
  QTest::newRow("/0") << "/0"
                      << "0.0.0.0";
  QTest::newRow("/33") << "/33"
                       << "0.0.0.0";
  QTest::newRow("/x") << "/x"
                      << "0.0.0.0";
  QTest::newRow("100") << "100"
                       << "255.255.255.128";
  QTest::newRow("254") << "254"
                       << "255.255.255.0";
  QTest::newRow("255") << "255"
                       << "255.255.254.0";
  QTest::newRow("1000") << "1000"
                        << "255.255.252.0";
  QTest::newRow("2") << "2"
                     << "255.255.255.252";
  QTest::newRow("0") << "0"
                     << "255.255.255.252";
  QTest::newRow("-5") << "-5"
                      << "255.255.255.252";
  QTest::newRow("1073741822") << "1073741822"
                              << "192.0.0.0";
  QTest::newRow("1073741823") << "1073741823"
                              << "128.0.0.0";
  QTest::newRow("2147483646") << "2147483646"
                              << "128.0.0.0";
  QTest::newRow("2147483647") << "2147483647"
                              << "0.0.0.0";
  QTest::newRow("abc") << "abc"
                       << "0.0.0.0";
  QTest::newRow("255.255.0.255") << "255.255.0.255"
                                 << "0.0.0.0";
  QTest::newRow("0.0.0.255 wildcard") << "0.0.0.255"
                                      << "255.255.255.0";
  QTest::newRow("127.255.255.255 wildcard") << "127.255.255.255"
                                            << "128.0.0.0";
  QTest::newRow("0.0.255.0 neither") << "0.0.255.0"
                                     << "0.0.0.0";
  QTest::newRow("empty") << ""
                         << "0.0.0.0";
}

void TestSubnetTables::baseMask() {
  QFETCH(QString, text);
  QFETCH(QString, mask);
  QCOMPARE(QString::fromStdString(ipv4(SubnetBaseMask(text)).text()), mask);
}

void TestSubnetTables::subnetTable_data() {
  QTest::addColumn<QString>("mask");
  QTest::addColumn<bool>("rfc3021");
  QTest::addColumn<QString>("header");
  QTest::addColumn<QStringList>("first");
  QTest::addColumn<QStringList>("last");
  QTest::addColumn<int>("rows");
  const QString base = "Potential Subnetworks in Base: ";
  QTest::newRow("/24") << "255.255.255.0" << false << base + "255.255.255.0"
                       << QStringList{"255.255.255.0", "/24", "1", "254"}
                       << QStringList{"255.255.255.252", "/30", "64", "2"} << 7;
  QTest::newRow("/24 RFC 3021") << "255.255.255.0" << true << base + "255.255.255.0"
                                << QStringList{"255.255.255.0", "/24", "1", "254"}
                                << QStringList{"255.255.255.254", "/31", "128", "2"} << 8;
  QTest::newRow("'/24' text") << "/24" << false << base + "255.255.255.0"
                              << QStringList{"255.255.255.0", "/24", "1", "254"}
                              << QStringList{"255.255.255.252", "/30", "64", "2"} << 7;
  QTest::newRow("host count 254") << "254" << false << base + "255.255.255.0"
                                  << QStringList{"255.255.255.0", "/24", "1", "254"}
                                  << QStringList{"255.255.255.252", "/30", "64", "2"} << 7;
  QTest::newRow("/8") << "255.0.0.0" << false << base + "255.0.0.0"
                      << QStringList{"255.0.0.0", "/8", "1", "16777214"}
                      << QStringList{"255.255.255.252", "/30", "4194304", "2"} << 23;
  QTest::newRow("/1") << "128.0.0.0" << true << base + "128.0.0.0"
                      << QStringList{"128.0.0.0", "/1", "1", "2147483646"}
                      << QStringList{"255.255.255.254", "/31", "1073741824", "2"} << 31;
  QTest::newRow("/30") << "255.255.255.252" << false << base + "255.255.255.252"
                       << QStringList{"255.255.255.252", "/30", "1", "2"}
                       << QStringList{"255.255.255.252", "/30", "1", "2"} << 1;
  QTest::newRow("/32 first row only") << "255.255.255.255" << true << base + "255.255.255.255"
                                      << QStringList{"255.255.255.255", "/32", "1", "1"}
                                      << QStringList{"255.255.255.255", "/32", "1", "1"} << 1;
  QTest::newRow("abc") << "abc" << false << "" << QStringList() << QStringList() << 0;
}

void TestSubnetTables::subnetTable() {
  QFETCH(QString, mask);
  QFETCH(bool, rfc3021);
  QFETCH(QString, header);
  QFETCH(QStringList, first);
  QFETCH(QStringList, last);
  QFETCH(int, rows);
  const TSubnetTable t = BuildSubnetTable(mask, rfc3021);
  QCOMPARE(t.header, header);
  QCOMPARE(int(t.rows.size()), rows);
  if (rows == 0) return;
  const auto texts = [](const TSubnetRow& r) {
    return QStringList{r.mask, r.prefix, r.networks, r.hosts};
  };
  QCOMPARE(texts(t.rows.front()), first);
  QCOMPARE(texts(t.rows.back()), last);
}

void TestSubnetTables::subnetworks_data() {
  QTest::addColumn<QString>("network");
  QTest::addColumn<QString>("label");
  QTest::addColumn<QStringList>("row");
  QTest::addColumn<QString>("header");
  QTest::addColumn<int>("count");
  QTest::addColumn<QStringList>("first");
  QTest::addColumn<QStringList>("last");
  QTest::newRow("192.168.1.0 /26")
      << "192.168.1.0"
      << "192.168.1.0  255.255.255.0" << QStringList{"255.255.255.192", "/26", "4", "62"}
      << "Subnetworks /26 in 192.168.1.0  255.255.255.0" << 4
      << QStringList{"192.168.1.0", "192.168.1.1 - 192.168.1.62", "1"}
      << QStringList{"192.168.1.192", "192.168.1.193 - 192.168.1.254", "4"};
  QTest::newRow("192.168.1.0 /31")
      << "192.168.1.0"
      << "192.168.1.0  255.255.255.0" << QStringList{"255.255.255.254", "/31", "128", "2"}
      << "Subnetworks /31 in 192.168.1.0  255.255.255.0" << 128
      << QStringList{"192.168.1.0", "192.168.1.0 - 192.168.1.1", "1"}
      << QStringList{"192.168.1.254", "192.168.1.254 - 192.168.1.255", "128"};
  QTest::newRow("10.0.0.0 /20 cut")
      << "10.0.0.0"
      << "10.0.0.0  255.0.0.0" << QStringList{"255.255.240.0", "/20", "4096", "4094"}
      << "Subnetworks /20 in 10.0.0.0  255.0.0.0" << 257
      << QStringList{"10.0.0.0", "10.0.0.1 - 10.0.15.254", "1"}
      << QStringList{"more...", "...", ""};
  QTest::newRow("256 not cut") << "10.0.0.0"
                               << "10.0.0.0  255.255.0.0"
                               << QStringList{"255.255.255.0", "/24", "256", "254"}
                               << "Subnetworks /24 in 10.0.0.0  255.255.0.0" << 256
                               << QStringList{"10.0.0.0", "10.0.0.1 - 10.0.0.254", "1"}
                               << QStringList{"10.0.255.0", "10.0.255.1 - 10.0.255.254", "256"};
  QTest::newRow("multicast label cut at [")
      << "239.1.2.0"
      << "239.1.2.0  255.255.255.0 [01-00-5E-01-02-03]"
      << QStringList{"255.255.255.128", "/25", "2", "126"}
      << "Subnetworks /25 in 239.1.2.0  255.255.255.0 " << 2
      << QStringList{"239.1.2.0", "239.1.2.1 - 239.1.2.126", "1"}
      << QStringList{"239.1.2.128", "239.1.2.129 - 239.1.2.254", "2"};
  QTest::newRow("last network wraps")
      << "255.255.255.0"
      << "255.255.255.0  255.255.255.0" << QStringList{"255.255.255.128", "/25", "2", "126"}
      << "Subnetworks /25 in 255.255.255.0  255.255.255.0" << 2
      << QStringList{"255.255.255.0", "255.255.255.1 - 255.255.255.126", "1"}
      << QStringList{"255.255.255.128", "255.255.255.129 - 255.255.255.254", "2"};
  QTest::newRow("no network shown") << "192.168.1.0"
                                    << "" << QStringList{"255.255.255.192", "/26", "4", "62"} << ""
                                    << 0 << QStringList() << QStringList();
}

void TestSubnetTables::subnetworks() {
  QFETCH(QString, network);
  QFETCH(QString, label);
  QFETCH(QStringList, row);
  QFETCH(QString, header);
  QFETCH(int, count);
  QFETCH(QStringList, first);
  QFETCH(QStringList, last);
  const TSubnetworkList list =
      BuildSubnetworkList(network, label, TSubnetRow{row[0], row[1], row[2], row[3]});
  QCOMPARE(list.header, header);
  QCOMPARE(int(list.rows.size()), count);
  if (count == 0) return;
  const auto texts = [](const TSubnetworkRow& r) {
    return QStringList{r.network, r.hosts, r.number};
  };
  QCOMPARE(texts(list.rows.front()), first);
  QCOMPARE(texts(list.rows.back()), last);
  if (count == 257) QCOMPARE(list.rows[255].network, QString("10.15.240.0"));
}

void TestSubnetTables::copyTexts() {
  const std::vector<TSubnetworkRow> rows{{"10.0.0.0", "10.0.0.1 - 10.0.0.254", "1"},
                                         {"10.0.1.0", "10.0.1.1 - 10.0.1.254", "2"},
                                         {"more...", "...", ""}};
  QCOMPARE(NetworkColumnText(rows), QString("10.0.0.0\n10.0.1.0\nmore...\n"));
  QCOMPARE(AllColumnsText(rows), QString("10.0.0.0\t10.0.0.1\t10.0.0.254\t1\n"
                                         "10.0.1.0\t10.0.1.1\t10.0.1.254\t2\n"
                                         "more...\t...\t\n"));
  QCOMPARE(NetworkColumnText({}), QString());
}

void TestSubnetTables::tableFillsAndSelectsFirstRows() {
  Panel p("192.168.1.0", "192.168.1.0  255.255.255.0");
  p.tables.FillSubnetTable("255.255.255.0", true, false);
  QCOMPARE(p.tables.pnlSubnetTableHeader->text(),
           QString("Potential Subnetworks in Base: 255.255.255.0"));
  QCOMPARE(p.tables.lvSubnets->topLevelItemCount(), 7);
  QCOMPARE(SelectedRow(p.tables.lvSubnets), 0);
  QCOMPARE(p.tables.FPrefixText, QString("/24"));
  QCOMPARE(p.tables.pnlSubnetworksTableHeader->text(),
           QString("Subnetworks /24 in 192.168.1.0  255.255.255.0"));
  QCOMPARE(RowTexts(p.tables.lvNetworks, 0),
           (QStringList{"192.168.1.0", "192.168.1.1 - 192.168.1.254", "1"}));
  QCOMPARE(SelectedRow(p.tables.lvNetworks), 0);

  p.SelectPrefix("/26");
  QCOMPARE(p.tables.FPrefixText, QString("/26"));
  QCOMPARE(p.tables.pnlSubnetworksTableHeader->text(),
           QString("Subnetworks /26 in 192.168.1.0  255.255.255.0"));
  QCOMPARE(p.tables.lvNetworks->topLevelItemCount(), 4);
  QCOMPARE(RowTexts(p.tables.lvNetworks, 2),
           (QStringList{"192.168.1.128", "192.168.1.129 - 192.168.1.190", "3"}));
  QCOMPARE(SelectedRow(p.tables.lvNetworks), 0);

  // A new fill starts over at the first row.
  p.tables.FillSubnetTable("/25", true, true);
  QCOMPARE(p.tables.lvSubnets->topLevelItemCount(), 7);
  QCOMPARE(RowTexts(p.tables.lvSubnets, 0), (QStringList{"255.255.255.128", "/25", "1", "126"}));
  QCOMPARE(SelectedRow(p.tables.lvSubnets), 0);
  QCOMPARE(p.tables.FPrefixText, QString("/25"));
}

void TestSubnetTables::tableOffOrUnusableMaskEmptiesBothLists() {
  Panel p("192.168.1.0", "192.168.1.0  255.255.255.0");
  p.tables.FillSubnetTable("255.255.255.0", true, false);
  p.tables.FillSubnetTable("255.255.255.0", false, false);
  QCOMPARE(p.tables.lvSubnets->topLevelItemCount(), 0);
  QCOMPARE(p.tables.lvNetworks->topLevelItemCount(), 0);
  QVERIFY(p.tables.pnlSubnetTableHeader->text().isEmpty());
  QVERIFY(p.tables.pnlSubnetworksTableHeader->text().isEmpty());

  p.tables.FillSubnetTable("255.255.255.0", true, false);
  p.tables.FillSubnetTable("255.255.0.255", true, false);
  QCOMPARE(p.tables.lvSubnets->topLevelItemCount(), 0);
  QCOMPARE(p.tables.lvNetworks->topLevelItemCount(), 0);

  // Clearing keeps the headers and the prefix of the last row.
  p.tables.FillSubnetTable("255.255.255.0", true, false);
  p.tables.ClearTables();
  QCOMPARE(p.tables.lvSubnets->topLevelItemCount(), 0);
  QCOMPARE(p.tables.lvNetworks->topLevelItemCount(), 0);
  QVERIFY(!p.tables.pnlSubnetTableHeader->text().isEmpty());
  QCOMPARE(p.tables.FPrefixText, QString("/24"));
}

void TestSubnetTables::menuEnabling_data() {
  QTest::addColumn<QString>("prefix");
  QTest::addColumn<int>("selected");
  QTest::addColumn<bool>("hostList");
  QTest::addColumn<bool>("copy");
  QTest::addColumn<bool>("show");
  QTest::newRow("/24 one row") << "/24" << 1 << true << true << true;
  QTest::newRow("/24 one row, no editor") << "/24" << 1 << false << true << false;
  QTest::newRow("/26 two rows") << "/26" << 2 << true << true << false;
  QTest::newRow("/31 one row") << "/31" << 1 << true << true << false;
  QTest::newRow("/26 no row") << "/26" << 0 << true << false << false;
}

void TestSubnetTables::menuEnabling() {
  QFETCH(QString, prefix);
  QFETCH(int, selected);
  QFETCH(bool, hostList);
  QFETCH(bool, copy);
  QFETCH(bool, show);
  Panel p("192.168.1.0", "192.168.1.0  255.255.255.0");
  p.tables.SetHostListAvailable(hostList);
  p.tables.FillSubnetTable("255.255.255.0", true, true);
  p.SelectPrefix(prefix);
  p.tables.lvNetworks->clearSelection();
  for (int i = 0; i < selected; ++i) p.tables.lvNetworks->topLevelItem(i)->setSelected(true);
  emit p.tables.pmNetworks->aboutToShow();
  QVERIFY(p.tables.Selectall1->isEnabled());
  QCOMPARE(p.tables.Copy1->isEnabled(), copy);
  QCOMPARE(p.tables.Copyallcolumns1->isEnabled(), copy);
  QCOMPARE(p.tables.Showhostlist1->isEnabled(), show);
}

void TestSubnetTables::copyCommandsPutExactBytes() {
  RecordingServices services;
  Panel p("10.0.0.0", "10.0.0.0  255.0.0.0");
  p.tables.FillSubnetTable("255.0.0.0", true, false);
  p.SelectPrefix("/24");
  QCOMPARE(p.tables.lvNetworks->topLevelItemCount(), 257);

  // Nothing selected: nothing copied.
  p.tables.lvNetworks->clearSelection();
  p.tables.Copy1->trigger();
  p.tables.Copyallcolumns1->trigger();
  QVERIFY(services.clipboard.isEmpty());

  p.tables.lvNetworks->topLevelItem(0)->setSelected(true);
  p.tables.lvNetworks->topLevelItem(1)->setSelected(true);
  p.tables.Copy1->trigger();
  QCOMPARE(services.clipboard.last(), QString("10.0.0.0\n10.0.1.0\n"));
  p.tables.Copyallcolumns1->trigger();
  QCOMPARE(services.clipboard.last(),
           QString("10.0.0.0\t10.0.0.1\t10.0.0.254\t1\n10.0.1.0\t10.0.1.1\t10.0.1.254\t2\n"));

  p.tables.lvNetworks->clearSelection();
  p.tables.lvNetworks->topLevelItem(256)->setSelected(true);
  p.tables.Copyallcolumns1->trigger();
  QCOMPARE(services.clipboard.last(), QString("more...\t...\t\n"));

  p.tables.Selectall1->trigger();
  QCOMPARE(p.tables.lvNetworks->selectedItems().size(), 257);
  p.tables.Copy1->trigger();
  QCOMPARE(services.clipboard.last().count('\n'), 257);
  QVERIFY(!services.clipboard.last().contains('\r'));
}

void TestSubnetTables::hostListRequestedOnlyForAValidNetwork() {
  Panel p("10.0.0.0", "10.0.0.0  255.0.0.0");
  QSignalSpy spy(&p.tables, &TSubnetTables::hostListRequested);
  p.tables.FillSubnetTable("255.0.0.0", true, false);
  p.SelectPrefix("/24");
  SelectListItem(p.tables.lvNetworks, 1);

  // Without the editor the commands stay inert.
  p.tables.Showhostlist1->trigger();
  QTest::keyClick(p.tables.lvNetworks, Qt::Key_Return);
  QCOMPARE(spy.count(), 0);

  p.tables.SetHostListAvailable(true);
  p.tables.Showhostlist1->trigger();
  QCOMPARE(spy.count(), 1);
  QCOMPARE(spy.last().at(0).toString(), QString("IP Host List for 10.0.1.0/24"));
  QCOMPARE(spy.last().at(1).toString(), QString("10.0.1.0/24"));
  QTest::keyClick(p.tables.lvNetworks, Qt::Key_Enter);
  QCOMPARE(spy.count(), 2);

  SelectListItem(p.tables.lvNetworks, 256);  // "more..."
  p.tables.ShowHostListForRow();
  QCOMPARE(spy.count(), 2);
}

QTEST_MAIN(TestSubnetTables)
#include "tst_subnettables.moc"
