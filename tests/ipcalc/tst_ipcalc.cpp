// The IPv4 Calculator window driven through its controls, offscreen.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "ipcalc/bitimage.h"
#include "ipcalc/tcipcalc.h"
#include "recordingservices.h"
#include "shell/optionsrec.h"
#include "shell/settingsstore.h"

namespace {

struct Options {
  bool viewer = false;
  bool classDE = true;
  bool rfc3021 = true;
  bool classA = true;
};

}  // namespace

class TestIpCalc : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();

  void resultPanel_data();
  void resultPanel();
  void everyLineOfAPrivateClassCNetwork();
  void addressWithPrefixMovesTheMask();
  void badInput_data();
  void badInput();
  void emptyMaskComputesNothing();
  void multicastPageFollowsTheAddress_data();
  void multicastPageFollowsTheAddress();
  void historyKeepsTheLastTen();
  void historyTakesTheAddressOfANetworkText();
  void typingClearsAndPickingExamines();
  void prevAndNextStepWithoutHistory();
  void supernetClickUsesTheMask();
  void stateSurvivesCloseAndNewWindow();
  void restoreStopsAtTheFirstMissingLetter();
  void fewerEntriesLeaveHigherLettersAlone();
  void viewerConversions_data();
  void viewerConversions();
  void viewerRejects_data();
  void viewerRejects();
  void trackBarEnds_data();
  void trackBarEnds();
  void viewerModeExaminesWithTheViewerMask();
  void bitColoursAndHints();
  void bitsAllNavyOutsideViewerMode();
  void togglingClassAResetsShortMasks();
  void copyLabelToClipboard();
  void examineHeldBlanksTheResult();
  void commaBecomesFullStop();

 private:
  TcIpCalc* Open(const Options& o = Options());
  void Examine(const QString& address, const QString& mask);
  QString Text(const char* name) const;
  void TypeInto(QWidget* w, const QString& text);

  std::unique_ptr<QTemporaryDir> FDir;
  std::unique_ptr<RecordingServices> FServices;
  std::unique_ptr<QMdiArea> FArea;
  TcIpCalc* FCalc = nullptr;
};

void TestIpCalc::init() {
  FDir = std::make_unique<QTemporaryDir>();
  QVERIFY(FDir->isValid());
  qputenv("XDG_CONFIG_HOME", FDir->path().toLocal8Bit());
  SetIniFileName(FDir->filePath(QStringLiteral("orvex.ini")));
  FServices = std::make_unique<RecordingServices>();
  FArea = std::make_unique<QMdiArea>();
  FArea->resize(1000, 700);
  FArea->show();
}

void TestIpCalc::cleanup() {
  FArea.reset();
  FCalc = nullptr;
  FServices.reset();
  FDir.reset();
}

TcIpCalc* TestIpCalc::Open(const Options& o) {
  auto* calc = new TcIpCalc;
  calc->FWindowKind = wkIpCalc;
  FArea->addSubWindow(calc);
  TOptionsRec rec;
  rec.IniFileName = IniFileName();
  rec.UseSubnetViewerMask = o.viewer;
  rec.ClassDESubnets = o.classDE;
  rec.RFC3021Subnets = o.rfc3021;
  rec.EnableClassASupernets = o.classA;
  rec.RecallDesktopSettings = false;
  calc->ApplyOptions(rec);
  calc->show();
  FCalc = calc;
  return calc;
}

void TestIpCalc::TypeInto(QWidget* w, const QString& text) {
  if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();
  auto* edit = qobject_cast<QLineEdit*>(w);
  QVERIFY(edit);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

void TestIpCalc::Examine(const QString& address, const QString& mask) {
  auto* ip = FCalc->findChild<QComboBox*>(QStringLiteral("edtIPCAddress"));
  auto* nm = FCalc->findChild<QLineEdit*>(QStringLiteral("edtNetworkMask"));
  TypeInto(nm, mask);
  TypeInto(ip, address);
  QTest::keyClick(ip, Qt::Key_Return);
}

QString TestIpCalc::Text(const char* name) const {
  if (auto* l = FCalc->findChild<QLabel*>(QLatin1String(name))) return l->text();
  if (auto* e = FCalc->findChild<QLineEdit*>(QLatin1String(name))) return e->text();
  if (auto* c = FCalc->findChild<QComboBox*>(QLatin1String(name))) return c->currentText();
  return QStringLiteral("<no %1>").arg(QLatin1String(name));
}

// ---------------------------------------------------------------- result panel

void TestIpCalc::resultPanel_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<bool>("classA");
  QTest::addColumn<bool>("classDE");
  QTest::addColumn<QString>("line");
  QTest::addColumn<QString>("expected");

  QTest::newRow("172.16.5.4 255.240.0.0 remark")
      << "172.16.5.4"
      << "255.240.0.0" << true << true << "lblRemarks"
      << "Class B base, Supernet, private (RFC1918) network";
  QTest::newRow("172.16.5.4 255.240.0.0 supernet") << "172.16.5.4"
                                                   << "255.240.0.0" << true << true << "lblSupernet"
                                                   << "255.240.0.0";
  QTest::newRow("192.168.0.0/24 supernet") << "192.168.0.0"
                                           << "255.255.255.0" << true << true << "lblSupernet"
                                           << "255.248.0.0";
  QTest::newRow("10.0.0.0/24 supernet, class A off")
      << "10.0.0.0"
      << "255.255.255.0" << false << true << "lblSupernet"
      << "255.0.0.0";
  QTest::newRow("10.0.0.0/24 supernet, class A on")
      << "10.0.0.0"
      << "255.255.255.0" << true << true << "lblSupernet"
      << "254.0.0.0";
  QTest::newRow("128.0.0.0/16 supernet stops") << "128.0.0.0"
                                               << "255.255.0.0" << true << true << "lblSupernet"
                                               << "255.254.0.0";
  QTest::newRow("/31 host range") << "192.168.1.0"
                                  << "255.255.255.254" << true << true << "lblHostRange"
                                  << "192.168.1.0 - 192.168.1.1";
  QTest::newRow("/31 broadcast") << "192.168.1.0"
                                 << "255.255.255.254" << true << true << "lblBroadcast"
                                 << "n.a.";
  QTest::newRow("/31 count") << "192.168.1.0"
                             << "255.255.255.254" << true << true << "lblNumberOfHosts"
                             << "(2 addresses)";
  QTest::newRow("/31 next") << "192.168.1.0"
                            << "255.255.255.254" << true << true << "lblNextNetwork"
                            << "192.168.1.2";
  QTest::newRow("/31 remark")
      << "192.168.1.0"
      << "255.255.255.254" << true << true << "lblRemarks"
      << "Class C base, 7 bit subnetting, private (RFC1918) network, RFC3021 point to point "
         "network";
  QTest::newRow("loopback /8") << "127.0.0.1"
                               << "255.0.0.0" << true << true << "lblRemarks"
                               << "Local Host";
  QTest::newRow("loopback /16") << "127.0.0.1"
                                << "255.255.0.0" << true << true << "lblRemarks"
                                << "Local Host, Subnet";
  QTest::newRow("link-local") << "169.254.3.4"
                              << "255.255.0.0" << true << true << "lblRemarks"
                              << "Class B base, APIPA (Link Local) network";
  QTest::newRow("host mask, host") << "192.168.1.10"
                                   << "255.255.255.255" << true << true << "lblRemarks"
                                   << "Class C host address";
  QTest::newRow("host mask, network") << "192.168.1.0"
                                      << "255.255.255.255" << true << true << "lblRemarks"
                                      << "Class C network address";
  QTest::newRow("host mask, broadcast") << "192.168.1.255"
                                        << "255.255.255.255" << true << true << "lblRemarks"
                                        << "Class C broadcast address";
  QTest::newRow("host mask, loopback") << "127.0.0.1"
                                       << "255.255.255.255" << true << true << "lblRemarks"
                                       << "Local Host host address";
  QTest::newRow("host mask, 0.0.0.0") << "0.0.0.0"
                                      << "255.255.255.255" << true << true << "lblRemarks"
                                      << "255.255.255.255 network address";
  QTest::newRow("host mask, no network line") << "192.168.1.10"
                                              << "255.255.255.255" << true << true << "lblNetwork"
                                              << "";
  QTest::newRow("this network") << "0.0.0.0"
                                << "255.0.0.0" << true << true << "lblRemarks"
                                << "\"This network.\"";
  QTest::newRow("class A supernet too big") << "10.0.0.0"
                                            << "128.0.0.0" << true << true << "lblRemarks"
                                            << "Class A supernet is too big.";
  QTest::newRow("class A supernet too big, no lines") << "10.0.0.0"
                                                      << "128.0.0.0" << true << true << "lblNetwork"
                                                      << "";
  QTest::newRow("multicast, option on, caption") << "224.0.0.5"
                                                 << "255.255.255.0" << true << true << "lblNw"
                                                 << "Network [MAC]:";
  QTest::newRow("multicast, option on, network") << "224.0.0.5"
                                                 << "255.255.255.0" << true << true << "lblNetwork"
                                                 << "224.0.0.0  255.255.255.0 [01:00:5E:00:00:00]";
  QTest::newRow("multicast, option on, host range")
      << "224.0.0.5"
      << "255.255.255.0" << true << true << "lblHostRange"
      << "n.a.";
  QTest::newRow("multicast, option on, broadcast")
      << "224.0.0.5"
      << "255.255.255.0" << true << true << "lblBroadcast"
      << "n.a.";
  QTest::newRow("multicast, option on, remark on two lines")
      << "224.0.0.5"
      << "255.255.255.0" << true << true << "lblRemarks"
      << "Multicast reserved link local address\nMAC: 01:00:5E:00:00:05";
  QTest::newRow("multicast, option off, remark on one line")
      << "224.0.0.5"
      << "255.255.255.0" << true << false << "lblRemarks"
      << "Multicast reserved link local address, MAC: 01:00:5E:00:00:05";
  QTest::newRow("multicast, option off, no network line")
      << "224.0.0.5"
      << "255.255.255.0" << true << false << "lblNetwork"
      << "";
  QTest::newRow("multicast supernet below 224") << "224.0.0.5"
                                                << "128.0.0.0" << true << true << "lblRemarks"
                                                << "Supernet exceeds multicast range.";
  QTest::newRow("multicast supernet below 224, no lines")
      << "224.0.0.5"
      << "128.0.0.0" << true << true << "lblHostRange"
      << "";
  QTest::newRow("class E, option off") << "240.0.0.1"
                                       << "255.255.255.0" << true << false << "lblRemarks"
                                       << "Classe E, for experimental purposes only.";
  QTest::newRow("class E, option on") << "240.0.0.1"
                                      << "255.255.255.0" << true << true << "lblRemarks"
                                      << "Class E address.";
  QTest::newRow("mask 100") << "192.168.1.10"
                            << "100" << true << true << "lblNetwork"
                            << "192.168.1.0  255.255.255.128";
  QTest::newRow("mask 1000") << "192.168.1.10"
                             << "1000" << true << true << "lblNetwork"
                             << "192.168.0.0  255.255.252.0";
  QTest::newRow("mask 0") << "192.168.1.10"
                          << "0" << true << true << "lblNetwork"
                          << "192.168.1.8  255.255.255.252";
  QTest::newRow("mask /24") << "192.168.1.10"
                            << "/24" << true << true << "lblNetwork"
                            << "192.168.1.0  255.255.255.0";
  QTest::newRow("mask 100 stays typed") << "192.168.1.10"
                                        << "100" << true << true << "edtNetworkMask"
                                        << "100";
}

void TestIpCalc::resultPanel() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(bool, classA);
  QFETCH(bool, classDE);
  QFETCH(QString, line);
  QFETCH(QString, expected);
  Options o;
  o.classA = classA;
  o.classDE = classDE;
  Open(o);
  Examine(address, mask);
  QCOMPARE(Text(line.toLatin1().constData()), expected);
  QVERIFY(FServices->boxes.isEmpty());
}

void TestIpCalc::everyLineOfAPrivateClassCNetwork() {
  Open();
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.255.255.0"));
  QCOMPARE(Text("lblNetwork"), QStringLiteral("192.168.1.0  255.255.255.0"));
  QCOMPARE(Text("lblNw"), QStringLiteral("Network:"));
  QCOMPARE(Text("lblSupernet"), QStringLiteral("255.255.255.0"));
  QCOMPARE(Text("lblHostRange"), QStringLiteral("192.168.1.1 - 192.168.1.254"));
  QCOMPARE(Text("lblNumberOfHosts"), QStringLiteral("(254 addresses)"));
  QCOMPARE(Text("lblBroadcast"), QStringLiteral("192.168.1.255"));
  QCOMPARE(Text("lblNextNetwork"), QStringLiteral("192.168.2.0"));
  QCOMPARE(FCalc->FPrevNetworkText, QStringLiteral("192.168.0.0"));
  QCOMPARE(Text("lblPTR"), QStringLiteral("10.1.168.192.in-addr.arpa"));
  QCOMPARE(Text("lblIPv6"), QStringLiteral("::FFFF:C0A8:10A"));
  QCOMPARE(Text("lblRemarks"), QStringLiteral("Class C base, private (RFC1918) network"));
  QCOMPARE(FCalc->windowTitle(), QStringLiteral("IPv4 Calculator 192.168.1.10"));
  QVERIFY(FCalc->findChild<QToolButton*>(QStringLiteral("bbtnNext"))->isEnabled());
  // The subnet table follows the mask.
  auto* subnets = FCalc->findChild<QTreeWidget*>(QStringLiteral("lvSubnets"));
  QVERIFY(subnets);
  QVERIFY(subnets->topLevelItemCount() > 0);
  QCOMPARE(subnets->topLevelItem(0)->text(0), QStringLiteral("255.255.255.0"));
}

void TestIpCalc::addressWithPrefixMovesTheMask() {
  Open();
  Examine(QStringLiteral("10.1.2.3/16"), QStringLiteral("255.255.255.0"));
  QCOMPARE(Text("edtNetworkMask"), QStringLiteral("255.255.0.0"));
  QCOMPARE(Text("edtIPCAddress"), QStringLiteral("10.1.2.3"));
  QCOMPARE(Text("lblNetwork"), QStringLiteral("10.1.0.0  255.255.0.0"));
  QCOMPARE(Text("lblHostRange"), QStringLiteral("10.1.0.1 - 10.1.255.254"));
  QCOMPARE(Text("lblNumberOfHosts"), QStringLiteral("(65534 addresses)"));
  QCOMPARE(Text("lblNextNetwork"), QStringLiteral("10.2.0.0"));
  QCOMPARE(Text("lblIPv6"), QStringLiteral("::FFFF:A01:203"));
  QCOMPARE(Text("lblRemarks"),
           QStringLiteral("Class A base, 8 bit subnetting, private (RFC1918) network"));
  auto* ip = FCalc->findChild<QComboBox*>(QStringLiteral("edtIPCAddress"));
  QCOMPARE(ip->count(), 1);
  QCOMPARE(ip->itemText(0), QStringLiteral("10.1.2.3"));
  QCOMPARE(FCalc->windowTitle(), QStringLiteral("IPv4 Calculator 10.1.2.3"));
}

void TestIpCalc::badInput_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<bool>("classA");
  QTest::addColumn<QString>("message");
  QTest::newRow("/33") << "192.168.1.10"
                       << "/33" << true << "Invalid network mask.";
  QTest::newRow("/0") << "192.168.1.10"
                      << "/0" << true << "Invalid network mask.";
  QTest::newRow("/x") << "192.168.1.10"
                      << "/x" << true << "Invalid network mask.";
  QTest::newRow("abc mask") << "192.168.1.10"
                            << "abc" << true << "Invalid network mask.";
  QTest::newRow("255.255.0.255") << "192.168.1.10"
                                 << "255.255.0.255" << true << "Invalid network mask.";
  QTest::newRow("0.0.0.0 mask") << "192.168.1.10"
                                << "0.0.0.0" << true << "Invalid network mask.";
  QTest::newRow("128.0.0.0 without class A") << "10.0.0.0"
                                             << "128.0.0.0" << false << "Invalid network mask.";
  QTest::newRow("abc address") << "abc"
                               << "255.255.255.0" << true << "abc is not a valid IP address.";
  QTest::newRow("256.1.1.1 address")
      << "256.1.1.1"
      << "255.255.255.0" << true << "256.1.1.1 is not a valid IP address.";
  QTest::newRow("empty address") << ""
                                 << "255.255.255.0" << true << "";
}

void TestIpCalc::badInput() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(bool, classA);
  QFETCH(QString, message);
  Options o;
  o.classA = classA;
  Open(o);
  Examine(address, mask);
  if (message.isEmpty()) {
    QVERIFY(FServices->boxes.isEmpty());
  } else {
    QCOMPARE(FServices->BoxTexts(), QStringList{message});
    QCOMPARE(FServices->boxes.first().caption, QStringLiteral("Error"));
    QCOMPARE(FServices->boxes.first().icon, Services::Icon::Stop);
  }
  for (const char* l : {"lblNetwork", "lblSupernet", "lblHostRange", "lblBroadcast",
                        "lblNextNetwork", "lblPTR", "lblIPv6", "lblRemarks"})
    QCOMPARE(Text(l), QString());
}

void TestIpCalc::emptyMaskComputesNothing() {
  Open();
  Examine(QStringLiteral("192.168.1.10"), QString());
  QCOMPARE(FServices->boxes.size(), 1);
  QCOMPARE(FServices->boxes.first().caption, QStringLiteral("Error"));
  QVERIFY(FServices->boxes.first().text.contains(QLatin1String("mask")));
  QCOMPARE(Text("lblNetwork"), QString());
  QCOMPARE(Text("lblRemarks"), QString());
  QCOMPARE(FCalc->windowTitle(), QStringLiteral("IPv4 Calculator "));
  QVERIFY(!FCalc->findChild<QToolButton*>(QStringLiteral("bbtnPrev"))->isEnabled());
  QCOMPARE(FCalc->findChild<QTreeWidget*>(QStringLiteral("lvSubnets"))->topLevelItemCount(), 0);
}

void TestIpCalc::multicastPageFollowsTheAddress_data() {
  QTest::addColumn<bool>("classDE");
  QTest::newRow("class D/E subnets on") << true;
  QTest::newRow("class D/E subnets off") << false;
}

void TestIpCalc::multicastPageFollowsTheAddress() {
  QFETCH(bool, classDE);
  Options o;
  o.classDE = classDE;
  Open(o);
  auto* pages = FCalc->findChild<QTabWidget*>(QStringLiteral("pcSpecialTables"));
  QVERIFY(!pages->isTabVisible(1));
  Examine(QStringLiteral("239.1.2.3"), QStringLiteral("255.255.255.0"));
  QVERIFY(pages->isTabVisible(1));
  QCOMPARE(Text("lblMCIP"), QStringLiteral("239.1.2.3"));
  QCOMPARE(Text("lblMCMAC"), QStringLiteral("01:00:5E:01:02:03"));
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.255.255.0"));
  QVERIFY(!pages->isTabVisible(1));
}

// ---------------------------------------------------------------- history

void TestIpCalc::historyKeepsTheLastTen() {
  Open();
  for (int i = 1; i <= 11; ++i) Examine(QStringLiteral("10.0.0.%1").arg(i), "255.255.255.0");
  Examine(QStringLiteral("10.0.0.5"), "255.255.255.0");  // already there: not again
  auto* ip = FCalc->findChild<QComboBox*>(QStringLiteral("edtIPCAddress"));
  QStringList expected;
  for (int i = 2; i <= 11; ++i) expected << QStringLiteral("10.0.0.%1").arg(i);
  QStringList actual;
  for (int i = 0; i < ip->count(); ++i) actual << ip->itemText(i);
  QCOMPARE(actual, expected);
}

void TestIpCalc::historyTakesTheAddressOfANetworkText() {
  Open();
  Examine(QStringLiteral("10.1.2.3"), "255.255.255.0");
  Examine(QStringLiteral("10.1.2.3/16"), "255.255.255.0");
  Examine(QStringLiteral("0.0.0.0"), "255.0.0.0");
  auto* ip = FCalc->findChild<QComboBox*>(QStringLiteral("edtIPCAddress"));
  QCOMPARE(ip->count(), 2);
  QCOMPARE(ip->itemText(1), QStringLiteral("10.1.2.3"));
}

void TestIpCalc::typingClearsAndPickingExamines() {
  Open();
  Examine(QStringLiteral("192.168.1.10"), "255.255.255.0");
  Examine(QStringLiteral("10.1.1.1"), "255.255.255.0");
  auto* ip = FCalc->findChild<QComboBox*>(QStringLiteral("edtIPCAddress"));
  QTest::keyClick(ip->lineEdit(), Qt::Key_Backspace);
  QCOMPARE(Text("lblNetwork"), QString());
  QCOMPARE(FCalc->windowTitle(), QStringLiteral("IPv4 Calculator "));
  auto* nm = FCalc->findChild<QLineEdit*>(QStringLiteral("edtNetworkMask"));
  Examine(QStringLiteral("10.1.1.1"), QStringLiteral("255.255.255.0"));
  QVERIFY(!Text("lblNetwork").isEmpty());
  QTest::keyClick(nm, Qt::Key_0);
  QCOMPARE(Text("lblNetwork"), QString());

  nm->setText(QStringLiteral("255.255.255.0"));
  ip->setCurrentIndex(0);
  emit ip->activated(0);
  QCOMPARE(Text("edtIPCAddress"), QStringLiteral("192.168.1.10"));
  QCOMPARE(Text("lblNetwork"), QStringLiteral("192.168.1.0  255.255.255.0"));
}

void TestIpCalc::prevAndNextStepWithoutHistory() {
  Open();
  Examine(QStringLiteral("192.168.1.0"), "255.255.255.0");
  auto* next = FCalc->findChild<QToolButton*>(QStringLiteral("bbtnNext"));
  auto* prev = FCalc->findChild<QToolButton*>(QStringLiteral("bbtnPrev"));
  next->click();
  QCOMPARE(Text("lblNetwork"), QStringLiteral("192.168.2.0  255.255.255.0"));
  prev->click();
  prev->click();
  QCOMPARE(Text("lblNetwork"), QStringLiteral("192.168.0.0  255.255.255.0"));
  QCOMPARE(FCalc->findChild<QComboBox*>(QStringLiteral("edtIPCAddress"))->count(), 1);
}

void TestIpCalc::supernetClickUsesTheMask() {
  Open();
  Examine(QStringLiteral("192.168.0.0"), "255.255.255.0");
  auto* supernet = FCalc->findChild<QLabel*>(QStringLiteral("lblSupernet"));
  QTest::mouseClick(supernet, Qt::LeftButton);
  QCOMPARE(Text("edtNetworkMask"), QStringLiteral("255.248.0.0"));
  QCOMPARE(Text("lblNetwork"), QStringLiteral("192.168.0.0  255.248.0.0"));
}

// ---------------------------------------------------------------- settings

void TestIpCalc::stateSurvivesCloseAndNewWindow() {
  Open();
  QCOMPARE(Text("edtIPCAddress"), QStringLiteral("10.0.0.0"));
  QCOMPARE(Text("edtSubnetMask"), QStringLiteral("255.255.255.0"));
  QCOMPARE(Text("edtNetworkMask"), QStringLiteral("255.255.255.0"));
  QCOMPARE(FCalc->findChild<QSlider*>(QStringLiteral("TrackBar"))->value(), 24);
  QCOMPARE(Text("lblNetwork"), QString());  // nothing examined outside viewer mode

  for (int i = 1; i <= 12; ++i) Examine(QStringLiteral("10.0.0.%1").arg(i), "255.255.0.0");
  FCalc->findChild<QLineEdit*>(QStringLiteral("edtSubnetMask"))->setText("255.255.240.0");
  FCalc->findChild<QTreeWidget*>(QStringLiteral("lvSubnets"))->clearSelection();
  QVERIFY(FCalc->close());

  {
    const SettingsFile ini(IniFileName());
    QCOMPARE(ini.ReadString("MRIP", "a", ""), QStringLiteral("10.0.0.3"));
    QCOMPARE(ini.ReadString("MRIP", "j", ""), QStringLiteral("10.0.0.12"));
    QCOMPARE(ini.ReadString("MRIP", "LastIP", ""), QStringLiteral("10.0.0.12"));
    QCOMPARE(ini.ReadString("MRIP", "LastNetworkMask", ""), QStringLiteral("255.255.0.0"));
    QCOMPARE(ini.ReadString("MRIP", "LastMask", ""), QStringLiteral("255.255.240.0"));
    QCOMPARE(ini.ReadInteger("MRIP", "LastSubnetMaskIndex", 0), -1);
    QVERIFY(!ini.ValueExists("MRIP", "Test"));
  }

  Open();
  auto* ip = FCalc->findChild<QComboBox*>(QStringLiteral("edtIPCAddress"));
  QCOMPARE(ip->count(), 10);
  QCOMPARE(ip->itemText(0), QStringLiteral("10.0.0.3"));
  QCOMPARE(Text("edtIPCAddress"), QStringLiteral("10.0.0.12"));
  QCOMPARE(Text("edtNetworkMask"), QStringLiteral("255.255.0.0"));
  QCOMPARE(FCalc->findChild<QSlider*>(QStringLiteral("TrackBar"))->value(), 20);
  QCOMPARE(Text("lblSubnetMask"), QStringLiteral("255.255.240.0"));
}

void TestIpCalc::restoreStopsAtTheFirstMissingLetter() {
  {
    SettingsFile ini(IniFileName());
    ini.WriteString("MRIP", "a", "10.0.0.1");
    ini.WriteString("MRIP", "b", "10.0.0.2");
    ini.WriteString("MRIP", "d", "10.0.0.4");
    ini.WriteString("MRIP", "LastMask", "/20");
  }
  Open();
  auto* ip = FCalc->findChild<QComboBox*>(QStringLiteral("edtIPCAddress"));
  QCOMPARE(ip->count(), 2);
  QCOMPARE(FCalc->findChild<QSlider*>(QStringLiteral("TrackBar"))->value(), 24);
}

void TestIpCalc::fewerEntriesLeaveHigherLettersAlone() {
  {
    SettingsFile ini(IniFileName());
    for (int i = 0; i < 10; ++i)
      ini.WriteString("MRIP", QString(QChar('a' + i)), QStringLiteral("10.9.9.%1").arg(i));
  }
  Open();
  auto* ip = FCalc->findChild<QComboBox*>(QStringLiteral("edtIPCAddress"));
  ip->clear();
  Examine(QStringLiteral("172.16.0.1"), "255.255.0.0");
  QVERIFY(FCalc->close());
  const SettingsFile ini(IniFileName());
  QCOMPARE(ini.ReadString("MRIP", "a", ""), QStringLiteral("172.16.0.1"));
  QCOMPARE(ini.ReadString("MRIP", "b", ""), QStringLiteral("10.9.9.1"));
  QCOMPARE(ini.ReadString("MRIP", "j", ""), QStringLiteral("10.9.9.9"));
}

// ---------------------------------------------------------------- mask viewer

void TestIpCalc::viewerConversions_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<QString>("prefix");
  QTest::addColumn<QString>("hosts");
  QTest::addColumn<QString>("wildcard");
  QTest::addColumn<QString>("hex");
  QTest::addColumn<QString>("usage");  // empty: no usage line
  QTest::newRow("255.255.255.192") << "255.255.255.192"
                                   << "255.255.255.192"
                                   << "/26"
                                   << "62"
                                   << "0.0.0.63"
                                   << "FF.FF.FF.C0"
                                   << "";
  QTest::newRow("wildcard 0.0.0.255") << "0.0.0.255"
                                      << "255.255.255.0"
                                      << "/24"
                                      << "254"
                                      << "0.0.0.255"
                                      << "FF.FF.FF.00"
                                      << "";
  QTest::newRow("/20") << "/20"
                       << "255.255.240.0"
                       << "/20"
                       << "4094"
                       << "0.0.15.255"
                       << "FF.FF.F0.00"
                       << "";
  QTest::newRow("100 hosts") << "100"
                             << "255.255.255.128"
                             << "/25"
                             << "126"
                             << "0.0.0.127"
                             << "FF.FF.FF.80"
                             << "79%";
  QTest::newRow("2 hosts") << "2"
                           << "255.255.255.252"
                           << "/30"
                           << "2"
                           << "0.0.0.3"
                           << "FF.FF.FF.FC"
                           << "100%";
  QTest::newRow("/5 with class A") << "/5"
                                   << "248.0.0.0"
                                   << "/5"
                                   << "134217726"
                                   << "7.255.255.255"
                                   << "F8.00.00.00"
                                   << "";
  QTest::newRow("/32") << "/32"
                       << "255.255.255.255"
                       << "/32"
                       << "Host Mask"
                       << "0.0.0.0"
                       << "FF.FF.FF.FF"
                       << "";
  QTest::newRow("255.255.255.254") << "255.255.255.254"
                                   << "255.255.255.254"
                                   << "/31"
                                   << "RFC3021 point to point"
                                   << "0.0.0.1"
                                   << "FF.FF.FF.FE"
                                   << "";
  QTest::newRow("60000000 hosts") << "60000000"
                                  << "252.0.0.0"
                                  << "/6"
                                  << "67108862"
                                  << "3.255.255.255"
                                  << "FC.00.00.00"
                                  << "89%";
}

void TestIpCalc::viewerConversions() {
  QFETCH(QString, typed);
  QFETCH(QString, mask);
  QFETCH(QString, prefix);
  QFETCH(QString, hosts);
  QFETCH(QString, wildcard);
  QFETCH(QString, hex);
  QFETCH(QString, usage);
  Open();
  auto* edit = FCalc->findChild<QLineEdit*>(QStringLiteral("edtSubnetMask"));
  TypeInto(edit, typed);
  QCOMPARE(Text("lblSubnetMask"), QString());  // typing blanks the labels
  QTest::keyClick(edit, Qt::Key_Return);
  QVERIFY2(FServices->boxes.isEmpty(), qPrintable(FServices->BoxTexts().join('|')));
  QCOMPARE(Text("lblSubnetMask"), mask);
  QCOMPARE(Text("edtSubnetMask"), mask);
  QCOMPARE(Text("lblPrefix"), prefix);
  QCOMPARE(Text("lblHostCount"), hosts);
  QCOMPARE(Text("lblWildcard"), wildcard);
  QCOMPARE(Text("lblHex"), hex);
  auto* usageLabel = FCalc->findChild<QLabel*>(QStringLiteral("lblUsage"));
  QCOMPARE(usageLabel->isVisible(), !usage.isEmpty());
  if (!usage.isEmpty()) QCOMPARE(usageLabel->text(), usage);
  QCOMPARE(FCalc->findChild<QSlider*>(QStringLiteral("TrackBar"))->value(),
           qMin(prefix.mid(1).toInt(), 32));
}

void TestIpCalc::viewerRejects_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("classA");
  QTest::newRow("255.0.255.0") << "255.0.255.0" << true;
  QTest::newRow("/5 without class A") << "/5" << false;
  QTest::newRow("/33") << "/33" << true;
  QTest::newRow("abc") << "abc" << true;
  QTest::newRow("/x") << "/x" << true;
  QTest::newRow("0.0.0.0") << "0.0.0.0" << true;
}

void TestIpCalc::viewerRejects() {
  QFETCH(QString, typed);
  QFETCH(bool, classA);
  Options o;
  o.classA = classA;
  Open(o);
  auto* edit = FCalc->findChild<QLineEdit*>(QStringLiteral("edtSubnetMask"));
  TypeInto(edit, typed);
  QTest::keyClick(edit, Qt::Key_Return);
  QCOMPARE(FServices->BoxTexts(), QStringList{QStringLiteral("Invalid network mask.")});
  QCOMPARE(Text("lblSubnetMask"), QString());
  QCOMPARE(Text("edtSubnetMask"), typed);
}

void TestIpCalc::trackBarEnds_data() {
  QTest::addColumn<bool>("classA");
  QTest::addColumn<bool>("rfc3021");
  QTest::addColumn<int>("position");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<QString>("hosts");
  QTest::newRow("31 without RFC 3021") << true << false << 31 << "255.255.255.255"
                                       << "Host Mask";
  QTest::newRow("31 with RFC 3021") << true << true << 31 << "255.255.255.254"
                                    << "RFC3021 point to point";
  QTest::newRow("32 with RFC 3021") << true << true << 32 << "255.255.255.255"
                                    << "Host Mask";
  QTest::newRow("32 clamps without RFC 3021") << true << false << 32 << "255.255.255.255"
                                              << "Host Mask";
  QTest::newRow("1 with class A") << true << true << 1 << "128.0.0.0"
                                  << "2147483646";
  QTest::newRow("1 clamps to 8 without class A") << false << true << 1 << "255.0.0.0"
                                                 << "16777214";
}

void TestIpCalc::trackBarEnds() {
  QFETCH(bool, classA);
  QFETCH(bool, rfc3021);
  QFETCH(int, position);
  QFETCH(QString, mask);
  QFETCH(QString, hosts);
  Options o;
  o.classA = classA;
  o.rfc3021 = rfc3021;
  Open(o);
  FCalc->findChild<QSlider*>(QStringLiteral("TrackBar"))->setValue(position);
  QCOMPARE(Text("edtSubnetMask"), mask);
  QCOMPARE(Text("lblSubnetMask"), mask);
  QCOMPARE(Text("lblHostCount"), hosts);
}

void TestIpCalc::viewerModeExaminesWithTheViewerMask() {
  Options o;
  o.viewer = true;
  Open(o);
  QVERIFY(!FCalc->findChild<QLineEdit*>(QStringLiteral("edtNetworkMask"))->isVisible());
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.0.0.0"));  // hidden field ignored
  QCOMPARE(Text("lblNetwork"), QStringLiteral("192.168.1.0  255.255.255.0"));
  auto* bar = FCalc->findChild<QSlider*>(QStringLiteral("TrackBar"));
  bar->setValue(26);
  QCOMPARE(Text("lblNetwork"), QStringLiteral("192.168.1.0  255.255.255.192"));
  QCOMPARE(Text("lblRemarks"),
           QStringLiteral("Class C base, 2 bit subnetting, private (RFC1918) network"));
  // A network text moves its mask into the viewer.
  Examine(QStringLiteral("10.1.2.3/12"), QString());
  QCOMPARE(Text("edtSubnetMask"), QStringLiteral("255.240.0.0"));
  QCOMPARE(bar->value(), 12);
  QCOMPARE(Text("lblNetwork"), QStringLiteral("10.0.0.0  255.240.0.0"));
  // Typing a mask in viewer mode takes the result away with it.
  QTest::keyClick(FCalc->findChild<QLineEdit*>(QStringLiteral("edtSubnetMask")), Qt::Key_0);
  QCOMPARE(Text("lblNetwork"), QString());
  QCOMPARE(FCalc->findChild<QTreeWidget*>(QStringLiteral("lvSubnets"))->topLevelItemCount(), 0);
}

void TestIpCalc::bitColoursAndHints() {
  Options o;
  o.viewer = true;
  Open(o);
  auto* edit = FCalc->findChild<QLineEdit*>(QStringLiteral("edtSubnetMask"));
  TypeInto(edit, QStringLiteral("255.255.254.0"));
  Examine(QStringLiteral("172.16.1.1"), QString());
  const QColor navy(0, 0, 128), aqua(0, 255, 255), green(0, 128, 0), blue(0, 0, 255);
  for (int i = 0; i < 32; ++i) {
    const QColor expected = i < 16 ? navy : i < 23 ? aqua : green;
    QCOMPARE(FCalc->FBitCells[i].colour, expected);
    if (i > 0) QVERIFY(FCalc->FBitCells[i].x > FCalc->FBitCells[i - 1].x);
  }
  auto* image = FCalc->findChild<TBitImage*>(QStringLiteral("imgBinMask"));
  const struct {
    int bit;
    const char* hint;
  } hovers[] = {{0, "Network bit"},     {15, "Network bit"}, {16, "Subnetting bit"},
                {22, "Subnetting bit"}, {23, "Host bit"},    {31, "Host bit"}};
  for (const auto& h : hovers) {
    QTest::mouseMove(image, QPoint(FCalc->FBitCells[h.bit].x + 1, 5));
    QCOMPARE(image->toolTip(), QLatin1String(h.hint));
  }
  QTest::mouseMove(image, QPoint(image->width() - 1, 5));
  QCOMPARE(image->toolTip(), QStringLiteral("Host bit"));

  // A class A supernet bit.
  TypeInto(edit, QStringLiteral("254.0.0.0"));
  Examine(QStringLiteral("10.1.1.1"), QString());
  QCOMPARE(FCalc->FBitCells[7].colour, blue);
  QTest::mouseMove(image, QPoint(FCalc->FBitCells[7].x + 1, 5));
  QCOMPARE(image->toolTip(), QStringLiteral("Supernet bit"));
}

void TestIpCalc::bitsAllNavyOutsideViewerMode() {
  Open();
  Examine(QStringLiteral("172.16.1.1"), QStringLiteral("255.255.254.0"));
  auto* image = FCalc->findChild<TBitImage*>(QStringLiteral("imgBinMask"));
  for (const auto& cell : FCalc->FBitCells) QCOMPARE(cell.colour, QColor(0, 0, 128));
  QTest::mouseMove(image, QPoint(FCalc->FBitCells[20].x + 1, 5));
  QCOMPARE(image->toolTip(), QStringLiteral("Binary subnet mask view"));
}

void TestIpCalc::togglingClassAResetsShortMasks() {
  Open();
  auto* nm = FCalc->findChild<QLineEdit*>(QStringLiteral("edtNetworkMask"));
  auto* toggle = FCalc->findChild<QToolButton*>(QStringLiteral("sbtnClassASupernets"));
  auto* bar = FCalc->findChild<QSlider*>(QStringLiteral("TrackBar"));
  QVERIFY(toggle->isChecked());
  QCOMPARE(bar->minimum(), 1);
  nm->setText(QStringLiteral("128.0.0.0"));
  toggle->click();
  QVERIFY(!FCalc->FClassASupernets);
  QCOMPARE(nm->text(), QStringLiteral("255.0.0.0"));
  QCOMPARE(bar->minimum(), 8);
  toggle->click();
  nm->setText(QStringLiteral("/24"));
  toggle->click();
  QCOMPARE(nm->text(), QStringLiteral("255.0.0.0"));
  auto* rfc = FCalc->findChild<QToolButton*>(QStringLiteral("sbtnRFC3021Subnet"));
  rfc->click();
  QCOMPARE(bar->maximum(), 31);
}

// ---------------------------------------------------------------- clipboard and blanking

void TestIpCalc::copyLabelToClipboard() {
  Open();
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.255.255.0"));
  auto* action = FCalc->findChild<QAction*>(QStringLiteral("Copytoclipboard1"));
  QVERIFY(action);
  for (const char* name : {"lblPTR", "lblHostRange"}) {
    auto* label = FCalc->findChild<QLabel*>(QLatin1String(name));
    emit label->customContextMenuRequested(QPoint(1, 1));
    action->trigger();
    QCOMPARE(FServices->clipboard.last(), label->text());
  }
  QCOMPARE(FServices->clipboard,
           (QStringList{"10.1.168.192.in-addr.arpa", "192.168.1.1 - 192.168.1.254"}));
}

void TestIpCalc::examineHeldBlanksTheResult() {
  Open();
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.255.255.0"));
  auto* button = FCalc->findChild<QPushButton*>(QStringLiteral("btnCalculate"));
  auto* network = FCalc->findChild<QLabel*>(QStringLiteral("lblNetwork"));
  button->setFocus();
  QTest::keyPress(button, Qt::Key_Space);
  QVERIFY(!network->isVisible());
  QCOMPARE(FCalc->findChild<QTreeWidget*>(QStringLiteral("lvSubnets"))->topLevelItemCount(), 0);
  QTest::keyRelease(button, Qt::Key_Space);
  QVERIFY(network->isVisible());
  QCOMPARE(network->text(), QStringLiteral("192.168.1.0  255.255.255.0"));
  QVERIFY(FCalc->findChild<QTreeWidget*>(QStringLiteral("lvSubnets"))->topLevelItemCount() > 0);
}

void TestIpCalc::commaBecomesFullStop() {
  Open();
  Examine(QStringLiteral("192,168,1,10"), QStringLiteral("255,255,255,0"));
  QCOMPARE(Text("edtIPCAddress"), QStringLiteral("192.168.1.10"));
  QCOMPARE(Text("lblNetwork"), QStringLiteral("192.168.1.0  255.255.255.0"));
}

QTEST_MAIN(TestIpCalc)
#include "tst_ipcalc.moc"
