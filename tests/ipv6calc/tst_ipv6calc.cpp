// The IPv6 Calculator window driven through its controls, offscreen: typed
// addresses and what the labels then read, the error boxes, paging through
// subnets, the chart, the EUI-64 builder, the copy menu and the saved state.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "common/optionsrec.h"
#include "common/settingsstore.h"
#include "ipv6calc/tcipv6calc.h"
#include "recordingservices.h"

class TestIpv6Calc : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();

  void typedAddress_data();
  void typedAddress();
  void badInput_data();
  void badInput();
  void prefixSpinReexamines();
  void historyKeepsExaminedTexts();
  void subnetPaging();
  void subnetLengthComesBack();
  void subnetIndexTyped_data();
  void subnetIndexTyped();
  void doubleClickedSubnetIsExamined();
  void neighbourNetworks();
  void chartFollowsAddress();
  void fromMac();
  void copyMenu();
  void stateSurvivesClose();

 private:
  template <typename T>
  T* Find(const char* name) const {
    T* w = FWindow->findChild<T*>(QLatin1String(name));
    if (!w) qWarning("no control %s", name);
    return w;
  }
  QString Text(const char* name) const { return Find<QLabel>(name)->text(); }
  void TypeAndEnter(const QString& text);
  void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
  void OpenWindow();

  std::unique_ptr<QTemporaryDir> FDir;
  std::unique_ptr<RecordingServices> FServices;
  std::unique_ptr<QMdiArea> FArea;
  TcIpv6Calc* FWindow = nullptr;
};

void TestIpv6Calc::init() {
  FDir = std::make_unique<QTemporaryDir>();
  QVERIFY(FDir->isValid());
  qputenv("XDG_CONFIG_HOME", FDir->path().toLocal8Bit());
  SetIniFileName(FDir->filePath(QStringLiteral("orvex.ini")));
  FServices = std::make_unique<RecordingServices>();
  FArea = std::make_unique<QMdiArea>();
  FArea->resize(1100, 750);
  FArea->show();
  QVERIFY(QTest::qWaitForWindowExposed(FArea.get()));
  OpenWindow();
}

void TestIpv6Calc::OpenWindow() {
  FWindow = new TcIpv6Calc;
  FWindow->FWindowKind = wkIpv6Calc;
  FArea->addSubWindow(FWindow);
  TOptionsRec rec;
  rec.IniFileName = IniFileName();
  rec.RecallDesktopSettings = false;
  FWindow->ApplyOptions(rec);
  FWindow->show();
  FArea->setActiveSubWindow(FWindow);
}

void TestIpv6Calc::cleanup() {
  FArea.reset();
  FWindow = nullptr;
  FServices.reset();
  FDir.reset();
}

void TestIpv6Calc::TypeAndEnter(const QString& text) {
  QLineEdit* edit = Find<QComboBox>("edtV6Address")->lineEdit();
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
  QTest::keyClick(edit, Qt::Key_Return);
}

void TestIpv6Calc::typedAddress_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("label");
  QTest::addColumn<QString>("expected");
  const QString doc = QStringLiteral("2001:DB8:ABCD:0012::0001/64");
  QTest::newRow("doc lblV6Compressed") << doc << "lblV6Compressed"
                                       << "2001:db8:abcd:12::1";
  QTest::newRow("doc lblV6Expanded") << doc << "lblV6Expanded"
                                     << "2001:0db8:abcd:0012:0000:0000:0000:0001";
  QTest::newRow("doc lblV6Network") << doc << "lblV6Network"
                                    << "2001:db8:abcd:12::/64";
  QTest::newRow("doc lblV6Range") << doc << "lblV6Range"
                                  << "2001:db8:abcd:12:: - 2001:db8:abcd:12:ffff:ffff:ffff:ffff";
  QTest::newRow("doc lblV6Count") << doc << "lblV6Count"
                                  << "18446744073709551616 (2^64)";
  QTest::newRow("doc lblV6Subnets64") << doc << "lblV6Subnets64"
                                      << "1";
  QTest::newRow("doc lblV6Type") << doc << "lblV6Type"
                                 << "Documentation (RFC3849), 2001:db8::/32";
  QTest::newRow("doc lblV6Scope") << doc << "lblV6Scope"
                                  << "Global (14)";
  QTest::newRow("doc lblV6InterfaceId") << doc << "lblV6InterfaceId"
                                        << "0000:0000:0000:0001";
  QTest::newRow("doc lblV6SolicitedNode") << doc << "lblV6SolicitedNode"
                                          << "ff02::1:ff00:1";
  QTest::newRow("zone lblV6Zone") << "fe80::1%eth0/64"
                                  << "lblV6Zone"
                                  << "eth0";
  QTest::newRow("multicast lblV6MulticastMac") << "ff02::fb"
                                               << "lblV6MulticastMac"
                                               << "33:33:00:00:00:fb";
  QTest::newRow("eui-64 lblV6Mac") << "fe80::211:22ff:fe33:4455"
                                   << "lblV6Mac"
                                   << "00:11:22:33:44:55";
  QTest::newRow("6to4 lblV6Embedded") << "2002:c000:204::1/48"
                                      << "lblV6Embedded"
                                      << "6to4: 192.0.2.4";
}

void TestIpv6Calc::typedAddress() {
  QFETCH(QString, typed);
  QFETCH(QString, label);
  QFETCH(QString, expected);
  TypeAndEnter(typed);
  QCOMPARE(FServices->boxes.size(), 0);
  QCOMPARE(Text(label.toLatin1().constData()), expected);
  QVERIFY(FWindow->windowTitle().startsWith(QStringLiteral("IPv6 Calculator ")));
}

void TestIpv6Calc::badInput_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("message");
  QTest::newRow("two ::") << "2001::db8::1"
                          << "Invalid IPv6 address.";
  QTest::newRow("IPv4") << "10.0.0.1"
                        << "Invalid IPv6 address.";
  QTest::newRow("/129") << "2001:db8::/129"
                        << "Invalid prefix length.";
  QTest::newRow("/x") << "2001:db8::/x"
                      << "Invalid prefix length.";
}

void TestIpv6Calc::badInput() {
  QFETCH(QString, typed);
  QFETCH(QString, message);
  TypeAndEnter(QStringLiteral("2001:db8::1/48"));
  const int prefix = Find<QSpinBox>("spnV6Prefix")->value();
  const QStringList history = [this] {
    QStringList h;
    auto* box = Find<QComboBox>("edtV6Address");
    for (int i = 0; i < box->count(); ++i) h << box->itemText(i);
    return h;
  }();
  TypeAndEnter(typed);
  QCOMPARE(FServices->BoxTexts(), QStringList{message});
  QCOMPARE(FServices->boxes.first().caption, QStringLiteral("Error"));
  for (int i = 0; i < v6LineCount; ++i) QCOMPARE(Text(V6LineName(i)), QString());
  QCOMPARE(Find<QTreeWidget>("lvV6Subnets")->topLevelItemCount(), 0);
  // Nothing else changes: the typed text stays for correcting, the prefix
  // and the history are as they were.
  QCOMPARE(Find<QComboBox>("edtV6Address")->currentText(), typed);
  QCOMPARE(Find<QSpinBox>("spnV6Prefix")->value(), prefix);
  auto* box = Find<QComboBox>("edtV6Address");
  QCOMPARE(box->count(), history.size());
}

void TestIpv6Calc::prefixSpinReexamines() {
  TypeAndEnter(QStringLiteral("2001:db8:abcd:12::1/64"));
  QCOMPARE(Find<QSpinBox>("spnV6Prefix")->value(), 64);
  Find<QSpinBox>("spnV6Prefix")->setValue(48);
  QCOMPARE(Text("lblV6Network"), QStringLiteral("2001:db8:abcd::/48"));
  QCOMPARE(Text("lblV6Subnets64"), QStringLiteral("65536 (2^16)"));
  // The "/64" in the text would contradict the spin box: it is dropped.
  QCOMPARE(Find<QComboBox>("edtV6Address")->currentText(), QStringLiteral("2001:db8:abcd:12::1"));
  QCOMPARE(FServices->boxes.size(), 0);
}

void TestIpv6Calc::historyKeepsExaminedTexts() {
  auto* box = Find<QComboBox>("edtV6Address");
  for (int i = 0; i < 12; ++i) TypeAndEnter(QStringLiteral("2001:db8::%1").arg(i));
  TypeAndEnter(QStringLiteral("nonsense"));
  QCOMPARE(box->count(), kV6HistorySize);
  QCOMPARE(box->itemText(0), QStringLiteral("2001:db8::11"));
}

void TestIpv6Calc::subnetPaging() {
  TypeAndEnter(QStringLiteral("2001:db8::/32"));
  auto* spin = Find<QSpinBox>("spnV6SubnetPrefix");
  QCOMPARE(spin->minimum(), 33);
  spin->setValue(64);
  QCOMPARE(Find<QLabel>("lblV6SubnetCount")->text(), QStringLiteral("4294967296 subnets (2^32)"));
  auto* list = Find<QTreeWidget>("lvV6Subnets");
  QCOMPARE(list->topLevelItemCount(), TcIpv6Calc::kPageRows);
  QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("2001:db8::/64"));
  QVERIFY(!Find<QPushButton>("btnV6Prev")->isEnabled());
  Click("btnV6Next");
  QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("2001:db8:0:100::/64"));
  QCOMPARE(Find<QLineEdit>("edtV6SubnetIndex")->text(), QStringLiteral("256"));
  Click("btnV6Last");
  QCOMPARE(Find<QLineEdit>("edtV6SubnetIndex")->text(), QStringLiteral("4294967040"));
  QCOMPARE(list->topLevelItem(list->topLevelItemCount() - 1)->text(1),
           QStringLiteral("2001:db8:ffff:ffff::/64"));
  QVERIFY(!Find<QPushButton>("btnV6Next")->isEnabled());
  Click("btnV6Prev");
  QCOMPARE(Find<QLineEdit>("edtV6SubnetIndex")->text(), QStringLiteral("4294966784"));
  Click("btnV6First");
  QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("0"));
  // A typed number past the last page's start: no next page, and the
  // previous one is a page back from there.
  auto* index = Find<QLineEdit>("edtV6SubnetIndex");
  index->setText(QStringLiteral("4294967295"));
  QTest::keyClick(index, Qt::Key_Return);
  QCOMPARE(list->topLevelItemCount(), 1);
  QVERIFY(!Find<QPushButton>("btnV6Next")->isEnabled());
  QVERIFY(Find<QPushButton>("btnV6Last")->isEnabled());
  Click("btnV6Prev");
  QCOMPARE(index->text(), QStringLiteral("4294967039"));
  QCOMPARE(FServices->boxes.size(), 0);
}

void TestIpv6Calc::subnetLengthComesBack() {
  auto* spin = Find<QSpinBox>("spnV6SubnetPrefix");
  TypeAndEnter(QStringLiteral("2001:db8::/48"));
  QCOMPARE(spin->value(), 64);
  // A longer examined prefix pushes the length up for a while only.
  TypeAndEnter(QStringLiteral("2001:db8::/80"));
  QCOMPARE(spin->value(), 81);
  TypeAndEnter(QStringLiteral("2001:db8::/48"));
  QCOMPARE(spin->value(), 64);
  TypeAndEnter(QStringLiteral("2001:db8::/128"));
  QVERIFY(!spin->isEnabled());
  QCOMPARE(Find<QTreeWidget>("lvV6Subnets")->topLevelItemCount(), 0);
  QCOMPARE(Find<QLabel>("lblV6SubnetCount")->text(), QStringLiteral("A /128 holds no subnets."));
}

void TestIpv6Calc::subnetIndexTyped_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("firstSubnet");
  QTest::addColumn<int>("boxes");
  QTest::newRow("decimal") << "65536"
                           << "2001:db8:1::/64" << 0;
  QTest::newRow("hex") << "0xFFFF0000"
                       << "2001:db8:ffff::/64" << 0;
  QTest::newRow("last") << "4294967295"
                        << "2001:db8:ffff:ffff::/64" << 0;
  QTest::newRow("past the last") << "4294967296"
                                 << "2001:db8::/64" << 1;
  QTest::newRow("not a number") << "12a"
                                << "2001:db8::/64" << 1;
  QTest::newRow("negative") << "-1"
                            << "2001:db8::/64" << 1;
}

void TestIpv6Calc::subnetIndexTyped() {
  QFETCH(QString, typed);
  QFETCH(QString, firstSubnet);
  QFETCH(int, boxes);
  TypeAndEnter(QStringLiteral("2001:db8::/32"));
  Find<QSpinBox>("spnV6SubnetPrefix")->setValue(64);
  auto* index = Find<QLineEdit>("edtV6SubnetIndex");
  index->selectAll();
  QTest::keyClicks(index, typed);
  QTest::keyClick(index, Qt::Key_Return);
  QCOMPARE(FServices->boxes.size(), boxes);
  QCOMPARE(Find<QTreeWidget>("lvV6Subnets")->topLevelItem(0)->text(1), firstSubnet);
}

void TestIpv6Calc::doubleClickedSubnetIsExamined() {
  TypeAndEnter(QStringLiteral("2001:db8::/48"));
  auto* list = Find<QTreeWidget>("lvV6Subnets");
  QTreeWidgetItem* item = list->topLevelItem(3);
  emit list->itemDoubleClicked(item, 1);
  QCOMPARE(Text("lblV6Network"), QStringLiteral("2001:db8:0:3::/64"));
  QCOMPARE(Find<QSpinBox>("spnV6Prefix")->value(), 64);
  QCOMPARE(Find<QComboBox>("edtV6Address")->itemText(0), QStringLiteral("2001:db8:0:3::/64"));
}

void TestIpv6Calc::neighbourNetworks() {
  TypeAndEnter(QStringLiteral("2001:db8::/32"));
  Click("btnV6NextNet");
  QCOMPARE(Text("lblV6Network"), QStringLiteral("2001:db9::/32"));
  Click("btnV6PrevNet");
  Click("btnV6PrevNet");
  QCOMPARE(Text("lblV6Network"), QStringLiteral("2001:db7::/32"));
  TypeAndEnter(QStringLiteral("ffff::/16"));
  QVERIFY(!Find<QPushButton>("btnV6NextNet")->isEnabled());
  TypeAndEnter(QStringLiteral("::/16"));
  QVERIFY(!Find<QPushButton>("btnV6PrevNet")->isEnabled());
}

void TestIpv6Calc::chartFollowsAddress() {
  auto* chart = Find<QTreeWidget>("lvV6Special");
  QVERIFY(chart->topLevelItemCount() > 20);
  TypeAndEnter(QStringLiteral("2001:db8::1"));
  QCOMPARE(chart->selectedItems().size(), 1);
  QCOMPARE(chart->selectedItems().first()->text(0), QStringLiteral("2001:db8::/32"));
  QTreeWidgetItem* loopback =
      chart->findItems(QStringLiteral("::1/128"), Qt::MatchExactly).value(0);
  QVERIFY(loopback);
  emit chart->itemDoubleClicked(loopback, 0);
  QCOMPARE(Text("lblV6Type"), QStringLiteral("Loopback (RFC4291), ::1/128"));
  QCOMPARE(chart->selectedItems().first()->text(0), QStringLiteral("::1/128"));
}

void TestIpv6Calc::fromMac() {
  TypeAndEnter(QStringLiteral("2001:db8:1:2::77/64"));
  QCOMPARE(Find<QLineEdit>("edtV6MacPrefix")->text(), QStringLiteral("2001:db8:1:2::/64"));
  QTest::keyClicks(Find<QLineEdit>("edtV6Mac"), QStringLiteral("00-11-22-33-44-55"));
  Click("btnV6FromMac");
  QCOMPARE(Text("lblV6FromMac"), QStringLiteral("2001:db8:1:2:211:22ff:fe33:4455"));
  Find<QLineEdit>("edtV6Mac")->setText(QStringLiteral("00:11"));
  Click("btnV6FromMac");
  QCOMPARE(FServices->BoxTexts(), QStringList{QStringLiteral("Invalid MAC address.")});
  QCOMPARE(Text("lblV6FromMac"), QString());
}

void TestIpv6Calc::copyMenu() {
  TypeAndEnter(QStringLiteral("2001:db8::1/64"));
  QLabel* network = Find<QLabel>("lblV6Network");
  emit network->customContextMenuRequested(QPoint(2, 2));
  auto* menu = Find<QMenu>("pmV6Copy");
  menu->findChild<QAction*>(QStringLiteral("miV6CopyLine"))->trigger();
  QCOMPARE(FServices->ClipboardText(), QStringLiteral("2001:db8::/64"));
  menu->findChild<QAction*>(QStringLiteral("miV6CopyPanel"))->trigger();
  QVERIFY(FServices->ClipboardText().startsWith(QStringLiteral("Address: 2001:db8::1\n")));
  QVERIFY(FServices->ClipboardText().contains(QStringLiteral("Network: 2001:db8::/64\n")));
  menu->close();
  auto* list = Find<QTreeWidget>("lvV6Subnets");
  list->topLevelItem(1)->setSelected(true);
  emit list->customContextMenuRequested(QPoint(2, 2));
  menu->findChild<QAction*>(QStringLiteral("miV6CopyRows"))->trigger();
  QCOMPARE(FServices->ClipboardText(),
           QStringLiteral("1\t2001:db8:0:0:8000::/65\t2001:db8:0:0:8000:: - "
                          "2001:db8::ffff:ffff:ffff:ffff\n"));
  menu->close();
}

void TestIpv6Calc::stateSurvivesClose() {
  TypeAndEnter(QStringLiteral("2001:db8::1"));
  TypeAndEnter(QStringLiteral("fe80::1%eth0/10"));
  Find<QSpinBox>("spnV6SubnetPrefix")->setValue(16);
  FWindow->close();
  const TV6State s = LoadV6State(IniFileName());
  QCOMPARE(s.lastAddress, QStringLiteral("fe80::1%eth0/10"));
  QCOMPARE(s.prefix, 10);
  QCOMPARE(s.subnetPrefix, 16);
  QCOMPARE(s.history,
           (QStringList{QStringLiteral("fe80::1%eth0/10"), QStringLiteral("2001:db8::1")}));
  OpenWindow();
  QCOMPARE(Text("lblV6Network"), QStringLiteral("fe80::/10"));
  QCOMPARE(Find<QSpinBox>("spnV6SubnetPrefix")->value(), 16);
  QCOMPARE(Find<QComboBox>("edtV6Address")->count(), 2);
}

QTEST_MAIN(TestIpv6Calc)
#include "tst_ipv6calc.moc"
