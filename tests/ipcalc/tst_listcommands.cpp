// The subnet tables, the special-address chart, the multicast page and the
// list commands, driven through a real calculator window.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "common/optionsrec.h"
#include "common/settingsstore.h"
#include "guifixture.h"
#include "ipcalc/subnettables.h"
#include "ipcalc/tcipcalc.h"

namespace {
// Shuffled on purpose, with comment, empty and malformed lines.
const char kReservedList[] =
    "# test chart\n"
    "224.0.0.0/4;Multicast;RFC5771\n"
    "172.16.0.0/12;Private-Use;RFC1918\n"
    "192.0.0.0/24;IETF Protocol Assignments\n"
    "10.0.0.0/0;prefix zero;bad\n"
    "\n"
    "10.0.0.0/8;Private-Use;RFC1918\n"
    "no address;bad;bad\n"
    "127.0.0.0/8\n"
    "192.0.0.0/29;IPv4 Service Continuity Prefix;RFC7335\n"
    "192.168.0.0/16;Private-Use;RFC1918\n";

QStringList Rows(const QTreeWidget* view) {
  QStringList rows;
  for (int i = 0; i < view->topLevelItemCount(); ++i) {
    QStringList cells;
    for (int c = 0; c < view->columnCount(); ++c) cells << view->topLevelItem(i)->text(c);
    rows << cells.join('|');
  }
  return rows;
}

int Selected(const QTreeWidget* view) {
  const QList<QTreeWidgetItem*> s = view->selectedItems();
  return s.size() == 1 ? view->indexOfTopLevelItem(s.first()) : -1 - int(s.size());
}

void ClickRow(QTreeWidget* view, int row, bool twice = false) {
  view->scrollToItem(view->topLevelItem(row));
  const QRect r = view->visualItemRect(view->topLevelItem(row));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
  if (twice) QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, r.center());
}
}  // namespace

class TestListCommands : public QObject, protected GuiFixture {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void subnetTable_data();
  void subnetTable();
  void subnetworks_data();
  void subnetworks();
  void steppingRebuildsTheLists();
  void chartIsSortedAndSkipsBadLines();
  void highlight_data();
  void highlight();
  void pickingAndLeavingTheChart();
  void multicastPage();
  void copyCommands();
  void menuRules_data();
  void menuRules();
  void hostListForOneSubnetwork();
  void hostListRequestCarriesTheOptions_data();
  void hostListRequestCarriesTheOptions();

 private:
  void Open(bool rfc3021 = true);
  void Examine(const QString& address, const QString& mask);
  template <typename T>
  T* Child(const char* name) const {
    T* w = FCalc->findChild<T*>(QLatin1String(name));
    if (!w) qFatal("no control %s", name);
    return w;
  }

  TcIpCalc* FCalc = nullptr;
};

void TestListCommands::init() {
  SetUpGui();
  QFile list(FDir->filePath("reserved.lst"));
  QVERIFY(list.open(QIODevice::WriteOnly) && list.write(kReservedList) > 0);
  list.close();
  // The chart reads reserved.lst from the working directory first.
  WorkInFolder();
  // Focus changes (leaving the chart) need an active window.
  ShowArea(1100, 760, true);
}

void TestListCommands::cleanup() {
  TearDownGui();
  FCalc = nullptr;
}

void TestListCommands::Open(bool rfc3021) {
  FCalc = new TcIpCalc;
  FCalc->FWindowKind = wkIpCalc;
  FArea->addSubWindow(FCalc);
  TOptionsRec rec;
  rec.IniFileName = IniFileName();
  rec.UseSubnetViewerMask = false;
  rec.RFC3021Subnets = rfc3021;
  rec.EnableClassASupernets = true;
  rec.RecallDesktopSettings = false;
  rec.MacFormatIndex = 1;
  FCalc->ApplyOptions(rec);
  FCalc->show();
}

void TestListCommands::Examine(const QString& address, const QString& mask) {
  for (QLineEdit* e :
       {Child<QComboBox>("edtIPCAddress")->lineEdit(), Child<QLineEdit>("edtNetworkMask")}) {
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, e == Child<QLineEdit>("edtNetworkMask") ? mask : address);
  }
  QTest::keyClick(Child<QComboBox>("edtIPCAddress"), Qt::Key_Return);
}

void TestListCommands::subnetTable_data() {
  QTest::addColumn<QString>("mask");
  QTest::addColumn<bool>("rfc3021");
  QTest::addColumn<QStringList>("rows");
  const QStringList to30{"255.255.255.0|/24|1|254",   "255.255.255.128|/25|2|126",
                         "255.255.255.192|/26|4|62",  "255.255.255.224|/27|8|30",
                         "255.255.255.240|/28|16|14", "255.255.255.248|/29|32|6",
                         "255.255.255.252|/30|64|2"};
  QTest::newRow("255.255.255.0") << "255.255.255.0" << false << to30;
  QTest::newRow("255.255.255.0 RFC 3021")
      << "255.255.255.0" << true << to30 + QStringList{"255.255.255.254|/31|128|2"};
  QTest::newRow("/24") << "/24" << false << to30;
}

void TestListCommands::subnetTable() {
  QFETCH(QString, mask);
  QFETCH(bool, rfc3021);
  QFETCH(QStringList, rows);
  Open(rfc3021);
  Examine("192.168.1.0", mask);
  QCOMPARE(Child<QLabel>("pnlSubnetTableHeader")->text(),
           QString("Potential Subnetworks in Base: 255.255.255.0"));
  auto* subnets = Child<QTreeWidget>("lvSubnets");
  QCOMPARE(Rows(subnets), rows);
  QCOMPARE(Selected(subnets), 0);
  QCOMPARE(Rows(Child<QTreeWidget>("lvNetworks")),
           QStringList{"192.168.1.0|192.168.1.1 - 192.168.1.254|1"});
  QCOMPARE(Selected(Child<QTreeWidget>("lvNetworks")), 0);
}

void TestListCommands::subnetworks_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<int>("row");
  QTest::addColumn<QString>("header");
  QTest::addColumn<int>("count");
  QTest::addColumn<QStringList>("some");  // first, second and last rows
  QTest::newRow("192.168.1.0/24 /26")
      << "192.168.1.0"
      << "255.255.255.0" << 2 << "Subnetworks /26 in 192.168.1.0  255.255.255.0" << 4
      << QStringList{"192.168.1.0|192.168.1.1 - 192.168.1.62|1",
                     "192.168.1.64|192.168.1.65 - 192.168.1.126|2",
                     "192.168.1.192|192.168.1.193 - 192.168.1.254|4"};
  QTest::newRow("192.168.1.0/24 /31")
      << "192.168.1.0"
      << "255.255.255.0" << 7 << "Subnetworks /31 in 192.168.1.0  255.255.255.0" << 128
      << QStringList{"192.168.1.0|192.168.1.0 - 192.168.1.1|1",
                     "192.168.1.2|192.168.1.2 - 192.168.1.3|2",
                     "192.168.1.254|192.168.1.254 - 192.168.1.255|128"};
  QTest::newRow("10.0.0.0/8 /20") << "10.0.0.0"
                                  << "255.0.0.0" << 12 << "Subnetworks /20 in 10.0.0.0  255.0.0.0"
                                  << 257
                                  << QStringList{"10.0.0.0|10.0.0.1 - 10.0.15.254|1",
                                                 "10.0.16.0|10.0.16.1 - 10.0.31.254|2",
                                                 "more...|...|"};
}

void TestListCommands::subnetworks() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(int, row);
  QFETCH(QString, header);
  QFETCH(int, count);
  QFETCH(QStringList, some);
  Open();
  Examine(address, mask);
  ClickRow(Child<QTreeWidget>("lvSubnets"), row);
  QCOMPARE(Child<QLabel>("pnlSubnetworksTableHeader")->text(), header);
  const QStringList rows = Rows(Child<QTreeWidget>("lvNetworks"));
  QCOMPARE(rows.size(), count);
  QCOMPARE((QStringList{rows[0], rows[1], rows.last()}), some);
  if (count == 257) QCOMPARE(rows[255], QString("10.15.240.0|10.15.240.1 - 10.15.255.254|256"));
  QCOMPARE(Selected(Child<QTreeWidget>("lvNetworks")), 0);
}

void TestListCommands::steppingRebuildsTheLists() {
  Open();
  Examine("192.168.1.0", "255.255.255.0");
  ClickRow(Child<QTreeWidget>("lvSubnets"), 2);
  auto* next = Child<QToolButton>("bbtnNext");
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QCoreApplication::sendEvent(next, &enter);
  QCOMPARE(next->toolTip(), QString("Next network (192.168.2.0)"));
  next->click();
  // The tables start over from the first row of the new network.
  QCOMPARE(Child<QLabel>("pnlSubnetworksTableHeader")->text(),
           QString("Subnetworks /24 in 192.168.2.0  255.255.255.0"));
  QCOMPARE(Selected(Child<QTreeWidget>("lvSubnets")), 0);
  auto* prev = Child<QToolButton>("bbtnPrev");
  QCoreApplication::sendEvent(prev, &enter);
  QCOMPARE(prev->toolTip(), QString("Previous network (192.168.1.0)"));
  prev->click();
  prev->click();
  QCOMPARE(Rows(Child<QTreeWidget>("lvNetworks")),
           QStringList{"192.168.0.0|192.168.0.1 - 192.168.0.254|1"});
}

void TestListCommands::chartIsSortedAndSkipsBadLines() {
  Open();
  QCOMPARE(Rows(Child<QTreeWidget>("lvIPv4Chart")),
           (QStringList{"10.0.0.0/8|Private-Use|RFC1918", "172.16.0.0/12|Private-Use|RFC1918",
                        "192.0.0.0/24|IETF Protocol Assignments|",
                        "192.0.0.0/29|IPv4 Service Continuity Prefix|RFC7335",
                        "192.168.0.0/16|Private-Use|RFC1918", "224.0.0.0/4|Multicast|RFC5771"}));
}

void TestListCommands::highlight_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<QString>("block");
  const struct {
    const char *address, *mask, *block;
  } rows[] = {{"10.1.2.3", "255.255.255.0", "10.0.0.0/8"},
              {"10.0.0.0", "254.0.0.0", ""},                     // wider than the block
              {"192.0.0.1", "255.255.255.255", "192.0.0.0/29"},  // nested: the later row wins
              {"192.0.0.0", "255.255.255.248", "192.0.0.0/29"},
              {"192.0.0.0", "255.255.255.240", "192.0.0.0/24"},
              {"8.8.8.8", "255.255.255.0", ""}};
  for (const auto& r : rows)
    QTest::addRow("%s %s", r.address, r.mask) << r.address << r.mask << r.block;
}

void TestListCommands::highlight() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(QString, block);
  Open();
  Examine(address, mask);
  const QList<QTreeWidgetItem*> s = Child<QTreeWidget>("lvIPv4Chart")->selectedItems();
  QCOMPARE(s.isEmpty() ? QString() : s.first()->text(0), block);
}

void TestListCommands::pickingAndLeavingTheChart() {
  Open();
  Examine("10.1.2.3", "255.255.255.0");
  // No containing block: nothing selected, but the highlighted row is remembered.
  Examine("8.8.8.8", "255.255.255.0");
  auto* chart = Child<QTreeWidget>("lvIPv4Chart");
  QCOMPARE(Selected(chart), -1);
  chart->setFocus();
  ClickRow(chart, 4);
  Child<QLineEdit>("edtNetworkMask")->setFocus();
  QCOMPARE(Selected(chart), 0);

  ClickRow(chart, 1, true);
  QCOMPARE(Child<QComboBox>("edtIPCAddress")->currentText(), QString("172.16.0.0"));
  QCOMPARE(Child<QLineEdit>("edtNetworkMask")->text(), QString("255.240.0.0"));
  QCOMPARE(Child<QLabel>("lblNetwork")->text(), QString("172.16.0.0  255.240.0.0"));
  QCOMPARE(Selected(chart), 1);
}

void TestListCommands::multicastPage() {
  Open();
  Examine("239.1.2.3", "255.255.255.0");
  auto* tabs = Child<QTabWidget>("pcSpecialTables");
  QVERIFY(tabs->isTabVisible(tabs->indexOf(Child<QWidget>("tsMMAC"))));
  auto* groups = Child<QListWidget>("lbMIP");
  QCOMPARE(groups->count(), 32);
  QCOMPARE(groups->item(0)->text(), QString("224.1.2.3"));
  QCOMPARE(groups->item(31)->text(), QString("239.129.2.3"));
  QCOMPARE(groups->selectedItems().size(), 1);
  QCOMPARE(groups->selectedItems().first()->text(), QString("239.1.2.3"));
  QCOMPARE(Child<QLabel>("lblMCMAC")->text(), QString("01-00-5E-01-02-03"));
  QCOMPARE(Child<QLabel>("lblIPtoMAC")->text(), QString("239.1.2.3  ->  01-00-5E-01-02-03"));
  // The subnetworks header drops the MAC tail of the network line, not the blank.
  QCOMPARE(Child<QLabel>("pnlSubnetworksTableHeader")->text(),
           QString("Subnetworks /24 in 239.1.2.0  255.255.255.0 "));
}

void TestListCommands::copyCommands() {
  Open();
  Examine("10.0.0.0", "255.0.0.0");
  ClickRow(Child<QTreeWidget>("lvSubnets"), 16);  // /24: 65536 networks
  auto* networks = Child<QTreeWidget>("lvNetworks");
  auto* copyNetworks = Child<QAction>("Copy1");
  auto* copyAll = Child<QAction>("Copyallcolumns1");
  networks->clearSelection();
  copyNetworks->trigger();
  copyAll->trigger();
  QVERIFY(FServices->clipboard.isEmpty());
  networks->topLevelItem(0)->setSelected(true);
  networks->topLevelItem(1)->setSelected(true);
  copyNetworks->trigger();
  copyAll->trigger();
  networks->clearSelection();
  networks->topLevelItem(256)->setSelected(true);
  copyAll->trigger();
  QCOMPARE(FServices->clipboard,
           (QStringList{"10.0.0.0\n10.0.1.0\n",
                        "10.0.0.0\t10.0.0.1\t10.0.0.254\t1\n10.0.1.0\t10.0.1.1\t10.0.1.254\t2\n",
                        "more...\t...\t\n"}));
  Child<QAction>("Selectall1")->trigger();
  QCOMPARE(networks->selectedItems().size(), 257);
}

void TestListCommands::menuRules_data() {
  QTest::addColumn<int>("subnetRow");
  QTest::addColumn<int>("selected");
  QTest::addColumn<bool>("copy");
  QTest::addColumn<bool>("show");
  QTest::newRow("/24 one row") << 0 << 1 << true << true;
  QTest::newRow("/25 two rows") << 1 << 2 << true << false;
  QTest::newRow("/31 one row") << 7 << 1 << true << false;
  QTest::newRow("/26 none") << 2 << 0 << false << false;
}

void TestListCommands::menuRules() {
  QFETCH(int, subnetRow);
  QFETCH(int, selected);
  QFETCH(bool, copy);
  QFETCH(bool, show);
  Open();
  FCalc->SetHostListAvailable(true);
  Examine("192.168.1.0", "255.255.255.0");
  ClickRow(Child<QTreeWidget>("lvSubnets"), subnetRow);
  auto* networks = Child<QTreeWidget>("lvNetworks");
  networks->clearSelection();
  for (int i = 0; i < selected; ++i) networks->topLevelItem(i)->setSelected(true);
  emit Child<QMenu>("pmNetworks")->aboutToShow();
  QVERIFY(Child<QAction>("Selectall1")->isEnabled());
  QCOMPARE(Child<QAction>("Copy1")->isEnabled(), copy);
  QCOMPARE(Child<QAction>("Copyallcolumns1")->isEnabled(), copy);
  QCOMPARE(Child<QAction>("Showhostlist1")->isEnabled(), show);
}

void TestListCommands::hostListForOneSubnetwork() {
  Open();
  Examine("10.0.0.0", "255.0.0.0");
  ClickRow(Child<QTreeWidget>("lvSubnets"), 16);  // /24
  QSignalSpy spy(FCalc->findChild<TSubnetTables*>(), &TSubnetTables::hostListRequested);
  auto* networks = Child<QTreeWidget>("lvNetworks");
  ClickRow(networks, 1);
  // Without the editor the commands stay inert.
  QTest::keyClick(networks, Qt::Key_Return);
  QCOMPARE(spy.count(), 0);
  FCalc->SetHostListAvailable(true);
  Child<QAction>("Showhostlist1")->trigger();
  QTest::keyClick(networks, Qt::Key_Enter);
  QCOMPARE(spy.count(), 2);
  QCOMPARE(spy.last(), (QList<QVariant>{"IP Host List for 10.0.1.0/24", "10.0.1.0/24"}));
  ClickRow(networks, 256, true);  // "more..." is no network
  QCOMPARE(spy.count(), 2);
}

// The calculator hands the editor everything it needs in one value: the
// list options it was given and the address to highlight.
void TestListCommands::hostListRequestCarriesTheOptions_data() {
  QTest::addColumn<int>("subnetwork");  // row of the /26 subnetworks; -1: the number of hosts
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("network");
  QTest::addColumn<QString>("highlight");
  QTest::newRow("number of hosts") << -1 << "IP Host List for 192.168.1.0  255.255.255.0"
                                   << "192.168.1.0  255.255.255.0"
                                   << "192.168.1.70";
  QTest::newRow("subnetwork holding the address") << 1 << "IP Host List for 192.168.1.64/26"
                                                  << "192.168.1.64/26"
                                                  << "192.168.1.70";
  QTest::newRow("subnetwork beside it") << 2 << "IP Host List for 192.168.1.128/26"
                                        << "192.168.1.128/26" << QString();
}

void TestListCommands::hostListRequestCarriesTheOptions() {
  QFETCH(int, subnetwork);
  QFETCH(QString, title);
  QFETCH(QString, network);
  QFETCH(QString, highlight);
  Open();
  TOptionsRec rec;
  rec.IniFileName = IniFileName();
  rec.UseSubnetViewerMask = false;
  rec.CsvDelimiter = QLatin1Char(',');
  rec.MaxListItems = 77;
  rec.EnableHints = false;
  FCalc->ApplyOptions(rec);
  FCalc->SetHostListAvailable(true);
  Examine("192.168.1.70", "255.255.255.0");
  QSignalSpy spy(FCalc, &TcIpCalc::hostListRequested);
  if (subnetwork < 0) {
    QTest::mouseClick(Child<QLabel>("lblNumberOfHosts"), Qt::LeftButton);
  } else {
    ClickRow(Child<QTreeWidget>("lvSubnets"), 2);  // /26
    ClickRow(Child<QTreeWidget>("lvNetworks"), subnetwork);
    QTest::keyClick(Child<QTreeWidget>("lvNetworks"), Qt::Key_Return);
  }
  QCOMPARE(spy.count(), 1);
  const auto r = spy.first().first().value<THostListRequest>();
  QCOMPARE(r.title, title);
  QCOMPARE(r.networkText, network);
  QCOMPARE(r.examinedAddress, highlight);
  QCOMPARE(r.csvDelimiter, QLatin1Char(','));
  QCOMPARE(r.maxListItems, 77);
  QCOMPARE(r.showHints, false);
}

QTEST_MAIN(TestListCommands)
#include "tst_listcommands.moc"
