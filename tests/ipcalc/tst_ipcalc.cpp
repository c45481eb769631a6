// The IPv4 Calculator window driven through its controls, offscreen.
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "common/optionsrec.h"
#include "common/settingsstore.h"
#include "common/widgethelpers.h"
#include "guifixture.h"
#include "ipcalc/bitimage.h"
#include "ipcalc/maskviewer.h"
#include "ipcalc/networkcalcbox.h"
#include "ipcalc/tcipcalc.h"
#include "togglelook.h"

namespace {

// Options that differ from the defaults used here (class A supernets, class
// D/E subnets and RFC 3021 subnets on, viewer mode off).
// kTypedMacFormat: a MAC format typed into the options instead of picked.
enum Flags { kNoClassA = 1, kNoClassDE = 2, kNoRfc3021 = 4, kViewer = 8, kTypedMacFormat = 16 };

const char* const kResultLines[] = {"lblNetwork",       "lblSupernet",  "lblHostRange",
                                    "lblNumberOfHosts", "lblBroadcast", "lblNextNetwork",
                                    "lblPTR",           "lblIPv6",      "lblRemarks"};

}  // namespace

class TestIpCalc : public QObject, protected GuiFixture {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();

  void examination_data();
  void examination();
  void longResultsFitTheirLabels_data();
  void longResultsFitTheirLabels();
  void leftSideNeverCutsItsContents_data();
  void leftSideNeverCutsItsContents();
  void tablesKeepTheirLeastSize_data();
  void tablesKeepTheirLeastSize();
  void multicastPageFollowsTheAddress_data();
  void multicastPageFollowsTheAddress();
  void captionAndPageFollowTheLastAddress_data();
  void captionAndPageFollowTheLastAddress();
  void remarkKeepsTheMacAddressWhole();
  void historyKeepsTheLastTenAddresses();
  void typingClearsAndPickingExamines();
  void eachErrorIsShownOnce_data();
  void eachErrorIsShownOnce();
  void leavingTheAddressDoesNotExamine_data();
  void leavingTheAddressDoesNotExamine();
  void pickFromTheListExaminesOnce();
  void prevAndNextStepWithoutHistory();
  void stepButtonsNeedANetworkToGoTo_data();
  void stepButtonsNeedANetworkToGoTo();
  void longInputIsQuotedCutShort_data();
  void longInputIsQuotedCutShort();
  void supernetClickUsesTheMask();
  void focusColourStaysWithTheInput();
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
  void subnetTableFollowsTheMaskInUse();
  void bitColoursAndHints();
  void togglingClassAResetsShortMasks();
  void togglesShowTheirState();
  void copyLabelToClipboard();
  void examineHeldBlanksTheResult();

 private:
  TcIpCalc* Open(int flags = 0);
  void Examine(const QString& address, const QString& mask);
  void Check(const QString& expected);
  QString Text(const QString& name) const;
  template <typename T>
  T* Find(const char* name) const {
    return FCalc->findChild<T*>(QLatin1String(name));
  }
  void TypeInto(QWidget* w, const QString& text);
  // Makes the window active with the focus in the address field.
  void Activate();
  // Opens the history list and picks entry `row` as the user would.
  void Pick(int row);

  TcIpCalc* FCalc = nullptr;
};

void TestIpCalc::init() {
  SetUpGui();
  ShowArea(1000, 700);
}

void TestIpCalc::cleanup() {
  TearDownGui();
  FCalc = nullptr;
}

TcIpCalc* TestIpCalc::Open(int flags) {
  auto* calc = new TcIpCalc;
  calc->FWindowKind = wkIpCalc;
  FArea->addSubWindow(calc);
  TOptionsRec rec;
  rec.IniFileName = IniFileName();
  rec.UseSubnetViewerMask = flags & kViewer;
  rec.ClassDESubnets = !(flags & kNoClassDE);
  rec.RFC3021Subnets = !(flags & kNoRfc3021);
  rec.EnableClassASupernets = !(flags & kNoClassA);
  rec.RecallDesktopSettings = false;
  if (flags & kTypedMacFormat) rec.MacFormatIndex = -1;
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
  auto* ip = Find<QComboBox>("edtIPCAddress");
  TypeInto(Find<QLineEdit>("edtNetworkMask"), mask);
  TypeInto(ip, address);
  QTest::keyClick(ip, Qt::Key_Return);
}

QString TestIpCalc::Text(const QString& name) const {
  if (auto* l = FCalc->findChild<QLabel*>(name)) return l->text();
  if (auto* e = FCalc->findChild<QLineEdit*>(name)) return e->text();
  if (auto* c = FCalc->findChild<QComboBox*>(name)) return c->currentText();
  return QStringLiteral("<no %1>").arg(name);
}

// Checks "name=text|..." pairs: a control's text, or "title" (caption), "box"
// (the one error box), "prev" (the previous network), "nav" (previous/next
// buttons "on" or "off"), "subnets" (rows of the subnet table) and "*" (every
// result line not named is empty). Without "box" no box may have been shown.
void TestIpCalc::Check(const QString& expected) {
  const QStringList pairs = expected.split(QLatin1Char('|'));
  QStringList named;
  for (const QString& pair : pairs) named << pair.section(QLatin1Char('='), 0, 0);
  for (const QString& pair : pairs) {
    const QString key = pair.section(QLatin1Char('='), 0, 0);
    const QString want = pair.section(QLatin1Char('='), 1);
    if (key == QLatin1String("title")) {
      QCOMPARE(FCalc->windowTitle(), want);
    } else if (key == QLatin1String("box")) {
      QCOMPARE(FServices->BoxTexts(), QStringList{want});
      QCOMPARE(FServices->boxes.first().caption, QStringLiteral("Error"));
      QCOMPARE(FServices->boxes.first().icon, Services::Icon::Stop);
    } else if (key == QLatin1String("prev")) {
      QCOMPARE(FCalc->gbNetworkCalc->FPrevNetworkText, want);
    } else if (key == QLatin1String("nav")) {
      QCOMPARE(Find<QToolButton>("bbtnPrev")->isEnabled(), want == QLatin1String("on"));
      QCOMPARE(Find<QToolButton>("bbtnNext")->isEnabled(), want == QLatin1String("on"));
    } else if (key == QLatin1String("subnets")) {
      QCOMPARE(QString::number(Find<QTreeWidget>("lvSubnets")->topLevelItemCount()), want);
    } else if (key == QLatin1String("*")) {
      for (const char* line : kResultLines)
        if (!named.contains(QLatin1String(line))) QCOMPARE(Text(QLatin1String(line)), QString());
    } else {
      QCOMPARE(Text(key), want);
    }
  }
  if (!named.contains(QLatin1String("box")))
    QVERIFY2(FServices->boxes.isEmpty(), qPrintable(FServices->BoxTexts().join('|')));
}

// ---------------------------------------------------------------- network calculation

void TestIpCalc::examination_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<int>("flags");
  QTest::addColumn<QString>("expected");
  const struct {
    const char *address, *mask;
    int flags;
    const char* expected;
  } rows[] = {
      {"192.168.1.10", "255.255.255.0", 0,
       "lblNetwork=192.168.1.0  255.255.255.0|lblNw=Network:|lblSupernet=255.255.255.0|"
       "lblHostRange=192.168.1.1 - 192.168.1.254|lblNumberOfHosts=(254 addresses)|"
       "lblBroadcast=192.168.1.255|lblNextNetwork=192.168.2.0|prev=192.168.0.0|"
       "lblPTR=10.1.168.192.in-addr.arpa|lblIPv6=::FFFF:C0A8:10A|"
       "lblRemarks=Class C base, private (RFC1918) network|"
       "title=IPv4 Calculator 192.168.1.10|nav=on|subnets=8"},
      {"10.1.2.3/16", "255.255.255.0", 0,
       "edtNetworkMask=255.255.0.0|edtIPCAddress=10.1.2.3|lblNetwork=10.1.0.0  255.255.0.0|"
       "lblHostRange=10.1.0.1 - 10.1.255.254|lblNumberOfHosts=(65534 addresses)|"
       "lblNextNetwork=10.2.0.0|lblIPv6=::FFFF:A01:203|"
       "lblRemarks=Class A base, 8 bit subnetting, private (RFC1918) network|"
       "title=IPv4 Calculator 10.1.2.3"},
      {"192,168,1,10", "255,255,255,0", 0,
       "edtIPCAddress=192.168.1.10|lblNetwork=192.168.1.0  255.255.255.0"},
      {"172.16.5.4", "255.240.0.0", 0,
       "lblSupernet=255.240.0.0|lblRemarks=Class B base, Supernet, private (RFC1918) network"},
      {"192.168.0.0", "255.255.255.0", 0, "lblSupernet=255.248.0.0"},
      {"10.0.0.0", "255.255.255.0", 0, "lblSupernet=254.0.0.0"},
      {"10.0.0.0", "255.255.255.0", kNoClassA, "lblSupernet=255.0.0.0"},
      {"128.0.0.0", "255.255.0.0", 0, "lblSupernet=255.254.0.0"},
      {"192.168.1.0", "255.255.255.254", 0,
       "lblHostRange=192.168.1.0 - 192.168.1.1|lblBroadcast=n.a.|lblNumberOfHosts=(2 addresses)|"
       "lblNextNetwork=192.168.1.2|lblRemarks=Class C base, 7 bit subnetting, private (RFC1918) "
       "network, RFC3021 point to point network"},
      {"192.168.1.0", "255.255.255.254", kNoRfc3021,
       "lblBroadcast=n.a.|lblRemarks=Class C base, 7 bit subnetting, private (RFC1918) network, "
       "RFC3021 point to point network"},
      {"127.0.0.1", "255.0.0.0", 0, "lblRemarks=Local Host"},
      {"127.0.0.1", "255.255.0.0", 0, "lblRemarks=Local Host, Subnet"},
      {"169.254.3.4", "255.255.0.0", 0, "lblRemarks=Class B base, APIPA (Link Local) network"},
      {"192.168.1.10", "255.255.255.255", 0, "lblRemarks=Class C host address|*="},
      {"192.168.1.0", "255.255.255.255", 0, "lblRemarks=Class C network address|*="},
      {"192.168.1.255", "255.255.255.255", 0, "lblRemarks=Class C broadcast address|*="},
      {"127.0.0.1", "255.255.255.255", 0, "lblRemarks=Local Host host address|*="},
      {"0.0.0.0", "255.255.255.255", 0, "lblRemarks=255.255.255.255 network address|*="},
      {"0.0.0.0", "255.0.0.0", 0, "lblRemarks=\"This network.\"|*="},
      {"10.0.0.0", "128.0.0.0", 0, "lblRemarks=Class A supernet is too big.|*="},
      {"10.0.0.0", "128.0.0.0", kNoClassA, "box=Invalid network mask.|*="},
      {"224.0.0.5", "255.255.255.0", 0,
       "lblNw=Network [MAC]:|lblNetwork=224.0.0.0  255.255.255.0 [01:00:5E:00:00:00]|"
       "lblHostRange=n.a.|lblBroadcast=n.a.|"
       "lblRemarks=Multicast reserved link local address\nMAC: 01:00:5E:00:00:05"},
      {"224.0.0.5", "255.255.255.0", kNoClassDE,
       "lblRemarks=Multicast reserved link local address, MAC: 01:00:5E:00:00:05|*="},
      {"224.0.0.5", "128.0.0.0", 0, "lblRemarks=Supernet exceeds multicast range.|*="},
      {"240.0.0.1", "255.255.255.0", kNoClassDE,
       "lblRemarks=Classe E, for experimental purposes only.|*="},
      {"240.0.0.1", "255.255.255.0", 0, "lblRemarks=Class E address."},
      {"192.168.1.10", "100", 0, "lblNetwork=192.168.1.0  255.255.255.128|edtNetworkMask=100"},
      {"192.168.1.10", "1000", 0, "lblNetwork=192.168.0.0  255.255.252.0"},
      {"192.168.1.10", "0", 0, "lblNetwork=192.168.1.8  255.255.255.252"},
      {"192.168.1.10", "/24", 0, "lblNetwork=192.168.1.0  255.255.255.0"},
      {"192.168.1.10", "/33", 0, "box=Invalid network mask.|*=|title=IPv4 Calculator |nav=off"},
      {"192.168.1.10", "/x", 0, "box=Invalid network mask.|*="},
      {"192.168.1.10", "abc", 0, "box=Invalid network mask.|*="},
      {"192.168.1.10", "255.255.0.255", 0, "box=Invalid network mask.|*="},
      {"192.168.1.10", "0.0.0.0", 0, "box=Invalid network mask.|*="},
      {"192.168.1.10", "", 0,
       "box=Please enter a network mask.|*=|title=IPv4 Calculator |nav=off|subnets=0"},
      {"abc", "255.255.255.0", 0, "box=abc is not a valid IP address.|*=|title=IPv4 Calculator "},
      {"", "255.255.255.0", 0, "*="},
  };
  for (const auto& r : rows)
    QTest::newRow(qPrintable(QStringLiteral("%1 %2%3%4%5")
                                 .arg(QLatin1String(r.address), QLatin1String(r.mask),
                                      r.flags & kNoClassA ? ", class A off" : "",
                                      r.flags & kNoClassDE ? ", class D/E off" : "",
                                      r.flags & kNoRfc3021 ? ", RFC 3021 off" : "")))
        << QString(r.address) << QString(r.mask) << r.flags << QString(r.expected);
}

void TestIpCalc::examination() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(int, flags);
  QFETCH(QString, expected);
  Open(flags);
  Examine(address, mask);
  Check(expected);
}

void TestIpCalc::longResultsFitTheirLabels_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::newRow("ten-digit count") << "200.1.2.3" << QStringLiteral("128.0.0.0");
  QTest::newRow("longest range") << "192.168.100.1" << QStringLiteral("255.255.255.0");
  QTest::newRow("network with MAC") << "239.255.255.255" << QStringLiteral("255.255.255.0");
  QTest::newRow("remark on three lines") << "233.252.0.1" << QStringLiteral("255.255.0.0");
}

void TestIpCalc::longResultsFitTheirLabels() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  Open();
  Examine(address, mask);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QCoreApplication::processEvents();
  for (const char* name : kResultLines) {
    const QLabel* l = Find<QLabel>(name);
    if (l->hasHeightForWidth())
      QVERIFY2(l->height() >= l->heightForWidth(l->width()), name);
    else
      QVERIFY2(l->width() >= l->fontMetrics().horizontalAdvance(l->text()), name);
  }
}

void TestIpCalc::leftSideNeverCutsItsContents_data() {
  QTest::addColumn<QSize>("size");
  QTest::addColumn<bool>("scrolls");  // sideways
  QTest::newRow("designed size") << QSize(820, 630) << false;
  QTest::newRow("short: a vertical scroll bar, the left side widens") << QSize(820, 360) << false;
  QTest::newRow("tiled narrow") << QSize(520, 630) << true;
  QTest::newRow("narrow and short") << QSize(520, 360) << true;
}

void TestIpCalc::leftSideNeverCutsItsContents() {
  QFETCH(QSize, size);
  QFETCH(bool, scrolls);
  Open()->resize(size);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QCoreApplication::processEvents();
  const auto* box = Find<QScrollArea>("ScrollBox1");
  QCOMPARE(box->horizontalScrollBar()->isVisible(), scrolls);
  if (!scrolls) QVERIFY(box->viewport()->width() >= box->widget()->minimumSizeHint().width());
  QVERIFY(box->widget()->width() >= box->widget()->minimumSizeHint().width());
}

void TestIpCalc::tablesKeepTheirLeastSize_data() {
  QTest::addColumn<QSize>("size");
  QTest::addColumn<bool>("sideways");  // the right side scrolls sideways
  QTest::addColumn<bool>("upright");   // and up and down
  QTest::newRow("designed size") << QSize(820, 630) << false << false;
  QTest::newRow("tiled side by side (426 x 710)") << QSize(426, 710) << true << false;
  QTest::newRow("tiled one above the other (1280 x 240)") << QSize(1280, 240) << false << true;
  QTest::newRow("small (400 x 240)") << QSize(400, 240) << true << true;
}

void TestIpCalc::tablesKeepTheirLeastSize() {
  QFETCH(QSize, size);
  QFETCH(bool, sideways);
  QFETCH(bool, upright);
  Open();
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.255.255.0"));
  FCalc->resize(size);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QCoreApplication::processEvents();
  const auto* box = Find<QScrollArea>("ScrollBox2");
  QVERIFY(box);
  QCOMPARE(box->widget(), Find<QWidget>("pnlSubnetTableBackground"));
  QCOMPARE(box->horizontalScrollBar()->isVisible(), sideways);
  QCOMPARE(box->verticalScrollBar()->isVisible(), upright);
  for (const char* name : {"lvSubnets", "lvNetworks"}) {
    const auto* list = Find<QTreeWidget>(name);
    // Every column and a few rows stay in sight.
    int columns = 2 * list->frameWidth();
    for (int c = 0; c < list->columnCount(); ++c) columns += list->columnWidth(c);
    QVERIFY2(list->width() >= columns, name);
    QVERIFY2(list->viewport()->height() >= 4 * list->visualItemRect(list->topLevelItem(0)).height(),
             name);
  }
  // Each header stands above its list, none drawn over another.
  const QWidget* panel = box->widget();
  QRect last;
  for (const char* name :
       {"pnlSubnetTableHeader", "lvSubnets", "pnlSubnetworksTableHeader", "lvNetworks"}) {
    const auto* w = Find<QWidget>(name);
    const QRect r(w->mapTo(panel, QPoint(0, 0)), w->size());
    QVERIFY2(r.top() >= last.bottom(), name);
    last = r;
  }
}

void TestIpCalc::multicastPageFollowsTheAddress_data() {
  QTest::addColumn<int>("flags");
  QTest::newRow("class D/E subnets on") << 0;
  QTest::newRow("class D/E subnets off") << int(kNoClassDE);
  QTest::newRow("typed MAC format: the first style") << int(kTypedMacFormat);
}

void TestIpCalc::multicastPageFollowsTheAddress() {
  QFETCH(int, flags);
  Open(flags);
  auto* pages = Find<QTabWidget>("pcSpecialTables");
  QVERIFY(!pages->isTabVisible(1));
  Examine(QStringLiteral("239.1.2.3"), QStringLiteral("255.255.255.0"));
  QVERIFY(pages->isTabVisible(1));
  Check(QStringLiteral("lblMCIP=239.1.2.3|lblMCMAC=01:00:5E:01:02:03"));
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.255.255.0"));
  QVERIFY(!pages->isTabVisible(1));
}

// After a multicast address, whatever is examined next decides the caption of
// the network line and whether the multicast page is shown.
void TestIpCalc::captionAndPageFollowTheLastAddress_data() {
  QTest::addColumn<int>("flags");
  QTest::addColumn<QString>("first");  // address/mask
  QTest::addColumn<QString>("then");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("group");  // shown on the multicast page; empty: page hidden
  const struct {
    const char* name;
    int flags;
    const char *first, *then, *caption, *group;
  } rows[] = {
      {"224.0.0.5/24, then 192.168.1.10/24", 0, "224.0.0.5/255.255.255.0",
       "192.168.1.10/255.255.255.0", "Network:", ""},
      {"224.0.0.5/24, then 192.168.1.10/32", 0, "224.0.0.5/255.255.255.0",
       "192.168.1.10/255.255.255.255", "Network:", ""},
      {"224.0.0.5/24, then 0.0.0.0/8", 0, "224.0.0.5/255.255.255.0", "0.0.0.0/255.0.0.0",
       "Network:", ""},
      {"224.0.0.5/24, then 240.0.0.1/24", 0, "224.0.0.5/255.255.255.0", "240.0.0.1/255.255.255.0",
       "Network:", ""},
      {"224.0.0.5/24, then 10.1.1 (no address)", 0, "224.0.0.5/255.255.255.0",
       "10.1.1/255.255.255.0", "Network:", ""},
      {"224.0.0.5/24, then 192.168.1.10 with a bad mask", 0, "224.0.0.5/255.255.255.0",
       "192.168.1.10/abc", "Network:", ""},
      {"class D/E off: 224.0.0.5, then 192.168.1.10/32", kNoClassDE, "224.0.0.5/255.255.255.0",
       "192.168.1.10/255.255.255.255", "Network:", ""},
      {"class D/E off: 224.0.0.5, then 240.0.0.1", kNoClassDE, "224.0.0.5/255.255.255.0",
       "240.0.0.1/255.255.255.0", "Network:", ""},
      {"192.168.1.10/24, then 239.1.2.3/24", 0, "192.168.1.10/255.255.255.0",
       "239.1.2.3/255.255.255.0", "Network [MAC]:", "239.1.2.3"},
      {"224.0.0.5/24, then 239.1.2.3/32", 0, "224.0.0.5/255.255.255.0", "239.1.2.3/255.255.255.255",
       "Network:", "239.1.2.3"},
      {"224.0.0.5/24, then 239.1.2.3/1: supernet too wide", 0, "224.0.0.5/255.255.255.0",
       "239.1.2.3/128.0.0.0", "Network:", "239.1.2.3"},
  };
  for (const auto& r : rows)
    QTest::newRow(r.name) << r.flags << QString(r.first) << QString(r.then) << QString(r.caption)
                          << QString(r.group);
}

void TestIpCalc::captionAndPageFollowTheLastAddress() {
  QFETCH(int, flags);
  QFETCH(QString, first);
  QFETCH(QString, then);
  QFETCH(QString, caption);
  QFETCH(QString, group);
  Open(flags);
  auto* pages = Find<QTabWidget>("pcSpecialTables");
  Examine(first.section('/', 0, 0), first.section('/', 1));
  if (!(flags & kNoClassDE) && first.startsWith(QLatin1String("224")))
    QCOMPARE(Text("lblNw"), QStringLiteral("Network [MAC]:"));
  // The user is looking at the multicast page when examining the next one.
  pages->setCurrentIndex(pages->isTabVisible(1) ? 1 : 0);
  Examine(then.section('/', 0, 0), then.section('/', 1));
  QCOMPARE(Text("lblNw"), caption);
  QCOMPARE(pages->isTabVisible(1), !group.isEmpty());
  if (group.isEmpty())
    QCOMPARE(pages->currentIndex(), 0);
  else
    QCOMPARE(Text("lblMCIP"), group);
}

void TestIpCalc::remarkKeepsTheMacAddressWhole() {
  Open(kNoClassDE);
  Examine(QStringLiteral("224.0.0.5"), QStringLiteral("255.255.255.0"));
  const QString remark =
      QStringLiteral("Multicast reserved link local address, MAC: 01:00:5E:00:00:05");
  Check(QStringLiteral("lblRemarks=") + remark + QStringLiteral("|*="));
  auto* label = qobject_cast<TBlankWrapLabel*>(Find<QLabel>("lblRemarks"));
  QVERIFY(label);
  // However narrow the label, the address is on one line.
  for (int width : {label->width(), 200, 120}) {
    label->resize(width, label->heightForWidth(width));
    const QStringList lines = label->Lines();
    QCOMPARE(lines.join(QLatin1Char(' ')), remark);
    bool whole = false;
    for (const QString& line : lines)
      whole = whole || line.split(QLatin1Char(' ')).contains(QStringLiteral("01:00:5E:00:00:05"));
    QVERIFY2(whole, qPrintable(lines.join(QLatin1Char('|'))));
  }
}

// ---------------------------------------------------------------- history and navigation

static QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

void TestIpCalc::historyKeepsTheLastTenAddresses() {
  Open();
  for (int i = 1; i <= 11; ++i) Examine(QStringLiteral("10.0.0.%1").arg(i), "255.255.255.0");
  Examine(QStringLiteral("10.0.0.5"), "255.255.255.0");  // the typed text is there: not again
  // The typed text is new, so its address is appended although it is there.
  Examine(QStringLiteral("10.0.0.11/16"), "255.255.255.0");
  Examine(QStringLiteral("0.0.0.0"), "255.0.0.0");  // never kept
  QStringList expected;
  for (int i = 3; i <= 11; ++i) expected << QStringLiteral("10.0.0.%1").arg(i);
  QCOMPARE(Items(Find<QComboBox>("edtIPCAddress")), expected << QStringLiteral("10.0.0.11"));
}

void TestIpCalc::typingClearsAndPickingExamines() {
  Open();
  Examine(QStringLiteral("192.168.1.10"), "255.255.255.0");
  Examine(QStringLiteral("10.1.1.1"), "255.255.255.0");
  auto* ip = Find<QComboBox>("edtIPCAddress");
  QTest::keyClick(ip->lineEdit(), Qt::Key_Backspace);
  Check(QStringLiteral("*=|title=IPv4 Calculator "));
  Examine(QStringLiteral("10.1.1.1"), QStringLiteral("255.255.255.0"));
  QTest::keyClick(Find<QLineEdit>("edtNetworkMask"), Qt::Key_0);
  Check(QStringLiteral("*="));

  Find<QLineEdit>("edtNetworkMask")->setText(QStringLiteral("255.255.255.0"));
  Pick(0);
  Check(QStringLiteral("edtIPCAddress=192.168.1.10|lblNetwork=192.168.1.0  255.255.255.0"));
  // The arrow keys step through the history without examining.
  QTest::keyClick(ip, Qt::Key_Down);
  Check(QStringLiteral("edtIPCAddress=10.1.1.1|*="));
}

void TestIpCalc::Activate() {
  QApplication::setActiveWindow(FArea.get());
  QVERIFY(QTest::qWaitForWindowActive(FArea.get()));
  Find<QComboBox>("edtIPCAddress")->lineEdit()->setFocus();
  QCoreApplication::processEvents();
}

void TestIpCalc::Pick(int row) {
  auto* ip = Find<QComboBox>("edtIPCAddress");
  ip->showPopup();
  QAbstractItemView* view = ip->view();
  QTRY_VERIFY(view->isVisible());
  view->setCurrentIndex(view->model()->index(row, 0));
  QTest::keyClick(view, Qt::Key_Return);
  QCoreApplication::processEvents();
}

// Each action reports each error once, although the box takes the focus from
// the inputs (and a focus change may look like a pick from the history).
void TestIpCalc::eachErrorIsShownOnce_data() {
  QTest::addColumn<int>("flags");
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");  // the network mask, or the viewer's in viewer mode
  QTest::addColumn<QString>("action");
  QTest::addColumn<QString>("box");  // empty: no box
  const char* const invalid = "Invalid network mask.";
  const char* const badAddress = "abc is not a valid IP address.";
  const struct {
    const char* name;
    int flags;
    const char *address, *mask, *action, *box;
  } rows[] = {
      {"abc", 0, "192.168.1.10", "abc", "enter", invalid},
      {"/33", 0, "192.168.1.10", "/33", "enter", invalid},
      {"/0", 0, "192.168.1.10", "/0", "enter", invalid},
      {"/x", 0, "192.168.1.10", "/x", "enter", invalid},
      {"255.255.0.255", 0, "192.168.1.10", "255.255.0.255", "enter", invalid},
      {"abc, Examine", 0, "192.168.1.10", "abc", "examine", invalid},
      {"abc, Enter in the mask", 0, "192.168.1.10", "abc", "maskenter", invalid},
      {"empty mask", 0, "192.168.1.10", "", "enter", "Please enter a network mask."},
      {"unreadable address", 0, "abc", "255.255.255.0", "enter", badAddress},
      {"class A supernet, supernets off", kNoClassA, "10.0.0.0", "128.0.0.0", "enter", invalid},
      {"pick with an unusable mask", 0, "10.9.9.9", "abc", "pick", invalid},
      {"viewer: unusable mask, Enter", kViewer, "192.168.1.10", "abc", "enter", invalid},
      {"viewer: unusable mask, Convert", kViewer, "192.168.1.10", "abc", "convert", invalid},
      {"viewer: unusable mask, RFC 3021", kViewer, "192.168.1.10", "abc", "rfc", invalid},
      {"viewer: empty mask", kViewer, "192.168.1.10", "", "enter", "Please enter a subnet mask."},
      {"viewer: unreadable address, class A", kViewer, "abc", "255.255.255.0", "classa",
       badAddress},
      {"viewer: unreadable address, RFC 3021", kViewer, "abc", "255.255.255.0", "rfc", badAddress},
      {"viewer: unreadable address, viewer", kViewer, "abc", "255.255.255.0", "viewer", badAddress},
      // The track bar has no box of its own: the remark says it.
      {"viewer: unreadable address, track bar", kViewer, "abc", "255.255.255.0", "trackbar", ""},
  };
  for (const auto& r : rows)
    QTest::newRow(r.name) << r.flags << QString(r.address) << QString(r.mask) << QString(r.action)
                          << QString(r.box);
}

void TestIpCalc::eachErrorIsShownOnce() {
  QFETCH(int, flags);
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(QString, action);
  QFETCH(QString, box);
  const bool viewer = flags & kViewer;
  Open(flags);
  Activate();
  auto* ip = Find<QComboBox>("edtIPCAddress");
  auto* maskEdit = Find<QLineEdit>(viewer ? "edtSubnetMask" : "edtNetworkMask");
  if (action == QLatin1String("pick")) Examine(QStringLiteral("192.168.1.10"), "255.255.255.0");
  TypeInto(maskEdit, mask);
  TypeInto(ip, address);
  ip->lineEdit()->setFocus();
  FServices->Reset();
  if (action == QLatin1String("enter")) QTest::keyClick(ip->lineEdit(), Qt::Key_Return);
  if (action == QLatin1String("maskenter")) QTest::keyClick(maskEdit, Qt::Key_Return);
  if (action == QLatin1String("examine")) Find<QPushButton>("btnCalculate")->click();
  if (action == QLatin1String("convert")) Find<QPushButton>("btnSNConvert")->click();
  if (action == QLatin1String("pick")) Pick(0);
  if (action == QLatin1String("classa")) Find<QToolButton>("sbtnClassASupernets")->click();
  if (action == QLatin1String("rfc")) Find<QToolButton>("sbtnRFC3021Subnet")->click();
  if (action == QLatin1String("viewer")) {
    Find<QToolButton>("sbtnSubnetMaskViewer")->click();  // off: the network mask counts
    FServices->Reset();
    Find<QToolButton>("sbtnSubnetMaskViewer")->click();
  }
  if (action == QLatin1String("trackbar")) Find<QSlider>("TrackBar")->setValue(20);
  QCoreApplication::processEvents();
  QCOMPARE(FServices->BoxTexts(), box.isEmpty() ? QStringList() : QStringList{box});
  for (const auto& b : FServices->boxes) QCOMPARE(b.caption, QStringLiteral("Error"));
}

// After an examination the address is a history entry: the focus leaving it
// must not examine again (that would rebuild the tables and lose the rows the
// user selected).
void TestIpCalc::leavingTheAddressDoesNotExamine_data() {
  QTest::addColumn<QString>("to");
  for (const char* to : {"mask field", "subnet table", "another tool window",
                         "another program window", "after the list was opened and closed"})
    QTest::newRow(to) << QString(to);
}

void TestIpCalc::leavingTheAddressDoesNotExamine() {
  QFETCH(QString, to);
  Open();
  Activate();
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.255.255.0"));
  auto* subnets = Find<QTreeWidget>("lvSubnets");
  auto* networks = Find<QTreeWidget>("lvNetworks");
  SelectListItem(subnets, 2);
  SelectListItem(networks, 3);
  auto* ip = Find<QComboBox>("edtIPCAddress");
  ip->lineEdit()->setFocus();
  QCOMPARE(ip->findText(ip->currentText()), 0);
  const QString network = Text("lblNetwork");

  QWidget other;
  if (to == QLatin1String("mask field")) Find<QLineEdit>("edtNetworkMask")->setFocus();
  if (to == QLatin1String("subnet table")) subnets->setFocus();
  if (to == QLatin1String("another tool window")) {
    auto* second = new TcIpCalc;
    FArea->addSubWindow(second);
    second->show();
    FArea->setActiveSubWindow(second);
  }
  if (to == QLatin1String("another program window")) {
    other.show();
    QApplication::setActiveWindow(&other);
  }
  if (to.startsWith(QLatin1String("after the list"))) {
    ip->showPopup();
    QTRY_VERIFY(ip->view()->isVisible());
    QTest::keyClick(ip->view(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    Find<QLineEdit>("edtNetworkMask")->setFocus();
  }
  QCoreApplication::processEvents();
  QCOMPARE(SelectedListIndex(subnets), 2);
  QCOMPARE(SelectedListIndex(networks), 3);
  QCOMPARE(Text("lblNetwork"), network);
  QVERIFY(FServices->boxes.isEmpty());
}

void TestIpCalc::pickFromTheListExaminesOnce() {
  Open();
  Activate();
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.255.255.0"));
  Examine(QStringLiteral("10.1.1.1"), QStringLiteral("255.255.255.0"));
  auto* ip = Find<QComboBox>("edtIPCAddress");
  const QStringList history = Items(ip);
  // First an entry the field does not show, then the one it shows.
  for (int round = 0; round < 2; ++round) {
    TypeInto(Find<QLineEdit>("edtNetworkMask"), QStringLiteral("255.255.0.0"));
    Check(QStringLiteral("*="));
    Pick(0);
    Check(
        QStringLiteral("edtIPCAddress=192.168.1.10|lblNetwork=192.168.0.0  255.255.0.0|"
                       "title=IPv4 Calculator 192.168.1.10"));
    QCOMPARE(Items(ip), history);
  }
}

void TestIpCalc::prevAndNextStepWithoutHistory() {
  Open();
  Examine(QStringLiteral("192.168.1.0"), "255.255.255.0");
  Find<QToolButton>("bbtnNext")->click();
  Check(QStringLiteral("lblNetwork=192.168.2.0  255.255.255.0"));
  Find<QToolButton>("bbtnPrev")->click();
  Find<QToolButton>("bbtnPrev")->click();
  Check(QStringLiteral("lblNetwork=192.168.0.0  255.255.255.0"));
  QCOMPARE(Find<QComboBox>("edtIPCAddress")->count(), 1);
}

// The buttons are enabled only where there is a network to go to: none below
// 0.0.0.0 and none past 255.255.255.255.
void TestIpCalc::stepButtonsNeedANetworkToGoTo_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<bool>("prev");
  QTest::addColumn<bool>("next");
  QTest::newRow("192.168.1.0/24: in the middle") << "192.168.1.0"
                                                 << "255.255.255.0" << true << true;
  QTest::newRow("1.0.0.0/8: 0.0.0.0/8 below") << "1.0.0.0"
                                              << "255.0.0.0" << true << true;
  QTest::newRow("0.0.0.0/8: nothing shown") << "0.0.0.0"
                                            << "255.0.0.0" << false << false;
  QTest::newRow("0.0.0.0/32") << "0.0.0.0"
                              << "255.255.255.255" << false << false;
  QTest::newRow("255.255.255.255/32") << "255.255.255.255"
                                      << "255.255.255.255" << false << false;
  QTest::newRow("255.255.255.0/24: the last network") << "255.255.255.0"
                                                      << "255.255.255.0" << true << false;
  QTest::newRow("255.255.255.254/31: the last network") << "255.255.255.254"
                                                        << "255.255.255.254" << true << false;
  QTest::newRow("200.1.2.3/1: the upper half") << "200.1.2.3"
                                               << "128.0.0.0" << true << false;
  QTest::newRow("10.1.1: no address") << "10.1.1"
                                      << "255.255.255.0" << false << false;
  QTest::newRow("bad mask") << "10.1.1.1"
                            << "abc" << false << false;
}

void TestIpCalc::stepButtonsNeedANetworkToGoTo() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(bool, prev);
  QFETCH(bool, next);
  Open();
  Examine(address, mask);
  QCOMPARE(Find<QToolButton>("bbtnPrev")->isEnabled(), prev);
  QCOMPARE(Find<QToolButton>("bbtnNext")->isEnabled(), next);
  // The same in viewer mode, where the viewer's mask is the network mask.
  FServices->Reset();
  Find<QToolButton>("sbtnSubnetMaskViewer")->click();
  TypeInto(Find<QLineEdit>("edtSubnetMask"), mask);
  QTest::keyClick(Find<QLineEdit>("edtSubnetMask"), Qt::Key_Return);
  QCOMPARE(Find<QToolButton>("bbtnPrev")->isEnabled(), prev);
  QCOMPARE(Find<QToolButton>("bbtnNext")->isEnabled(), next);
}

// A message quotes at most about 60 characters of what was typed.
void TestIpCalc::longInputIsQuotedCutShort_data() {
  QTest::addColumn<int>("flags");
  QTest::addColumn<QString>("action");
  QTest::newRow("Examine") << 0 << "examine";
  QTest::newRow("viewer mode, Convert") << int(kViewer) << "convert";
}

void TestIpCalc::longInputIsQuotedCutShort() {
  QFETCH(int, flags);
  QFETCH(QString, action);
  Open(flags);
  const QString typed = QStringLiteral("10.1.2.3x").repeated(34).left(300);
  Find<QComboBox>("edtIPCAddress")->setEditText(typed);
  if (action == QLatin1String("examine")) Find<QPushButton>("btnCalculate")->click();
  if (action == QLatin1String("convert")) Find<QPushButton>("btnSNConvert")->click();
  const QString suffix = QStringLiteral(" is not a valid IP address.");
  QCOMPARE(FServices->BoxTexts(), QStringList{typed.left(59) + QChar(0x2026) + suffix});
  QVERIFY(FServices->boxes.first().text.size() <= 60 + suffix.size());
  // A short text is quoted whole.
  FServices->Reset();
  Find<QComboBox>("edtIPCAddress")->setEditText(QStringLiteral("abc"));
  Find<QPushButton>("btnCalculate")->click();
  QCOMPARE(FServices->BoxTexts(), QStringList{QStringLiteral("abc") + suffix});
}

void TestIpCalc::supernetClickUsesTheMask() {
  Open();
  Examine(QStringLiteral("192.168.0.0"), "255.255.255.0");
  QTest::mouseClick(Find<QLabel>("lblSupernet"), Qt::LeftButton);
  Check(QStringLiteral("edtNetworkMask=255.248.0.0|lblNetwork=192.168.0.0  255.248.0.0"));
}

void TestIpCalc::focusColourStaysWithTheInput() {
  Open();
  QApplication::setActiveWindow(FArea.get());
  QVERIFY(QTest::qWaitForWindowActive(FArea.get()));
  // A new window is ready for typing over its address.
  auto* address = Find<QComboBox>("edtIPCAddress")->lineEdit();
  QTRY_VERIFY(address->hasFocus());
  QCOMPARE(address->selectedText(), address->text());
  Examine(QStringLiteral("192.168.0.0"), "255.255.255.0");
  auto* ip = Find<QComboBox>("edtIPCAddress");
  auto* nm = Find<QLineEdit>("edtNetworkMask");
  const QColor light(204, 235, 255), plain = QApplication::palette(nm).color(QPalette::Base);
  ip->lineEdit()->setFocus();
  QCOMPARE(ip->palette().color(QPalette::Base), light);
  QCOMPARE(nm->palette().color(QPalette::Base), plain);
  // Clicking the supernet mask examines and leaves the focus where it was.
  QTest::mouseClick(Find<QLabel>("lblSupernet"), Qt::LeftButton);
  QVERIFY(ip->lineEdit()->hasFocus());
  QCOMPARE(ip->palette().color(QPalette::Base), light);
  nm->setFocus();
  QCOMPARE(ip->palette().color(QPalette::Base), plain);
  QCOMPARE(nm->palette().color(QPalette::Base), light);
}

// ---------------------------------------------------------------- settings

void TestIpCalc::stateSurvivesCloseAndNewWindow() {
  Open();
  Check(
      QStringLiteral("edtIPCAddress=10.0.0.0|edtSubnetMask=255.255.255.0|"
                     "edtNetworkMask=255.255.255.0|*="));  // nothing examined outside viewer mode
  QCOMPARE(Find<QSlider>("TrackBar")->value(), 24);

  for (int i = 1; i <= 12; ++i) Examine(QStringLiteral("10.0.0.%1").arg(i), "255.255.0.0");
  // New options keep the inputs and the history.
  TOptionsRec rec;
  rec.IniFileName = IniFileName();
  rec.UseSubnetViewerMask = false;
  rec.RFC3021Subnets = false;
  FCalc->ApplyOptions(rec);
  QCOMPARE(Find<QComboBox>("edtIPCAddress")->count(), 10);
  Find<QLineEdit>("edtSubnetMask")->setText("255.255.240.0");
  Find<QTreeWidget>("lvSubnets")->clearSelection();
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
  QCOMPARE(Items(Find<QComboBox>("edtIPCAddress")).first(), QStringLiteral("10.0.0.3"));
  QCOMPARE(Find<QComboBox>("edtIPCAddress")->count(), 10);
  Check(
      QStringLiteral("edtIPCAddress=10.0.0.12|edtNetworkMask=255.255.0.0|"
                     "lblSubnetMask=255.255.240.0"));
  QCOMPARE(Find<QSlider>("TrackBar")->value(), 20);
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
  QCOMPARE(Find<QComboBox>("edtIPCAddress")->count(), 2);
  QCOMPARE(Find<QSlider>("TrackBar")->value(), 24);
  Check(QStringLiteral("edtSubnetMask=/20|lblSubnetMask="));
}

void TestIpCalc::fewerEntriesLeaveHigherLettersAlone() {
  {
    SettingsFile ini(IniFileName());
    for (int i = 0; i < 10; ++i)
      ini.WriteString("MRIP", QString(QChar('a' + i)), QStringLiteral("10.9.9.%1").arg(i));
  }
  Open();
  Find<QComboBox>("edtIPCAddress")->clear();
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
  QTest::addColumn<QString>("expected");
  QTest::addColumn<int>("position");
  const struct {
    const char *typed, *expected;
    int position;
  } rows[] = {
      {"255.255.255.192", "255.255.255.192|/26|62|0.0.0.63|FF.FF.FF.C0|", 26},
      {"0.0.0.255", "255.255.255.0|/24|254|0.0.0.255|FF.FF.FF.00|", 24},
      {"/20", "255.255.240.0|/20|4094|0.0.15.255|FF.FF.F0.00|", 20},
      {"100", "255.255.255.128|/25|126|0.0.0.127|FF.FF.FF.80|79%", 25},
      {"2", "255.255.255.252|/30|2|0.0.0.3|FF.FF.FF.FC|100%", 30},
      {"/5", "248.0.0.0|/5|134217726|7.255.255.255|F8.00.00.00|", 5},
      {"/32", "255.255.255.255|/32|Host Mask|0.0.0.0|FF.FF.FF.FF|", 32},
      {"255.255.255.254", "255.255.255.254|/31|RFC3021 point to point|0.0.0.1|FF.FF.FF.FE|", 31},
      {"60000000", "252.0.0.0|/6|67108862|3.255.255.255|FC.00.00.00|89%", 6},
  };
  for (const auto& r : rows)
    QTest::newRow(r.typed) << QString(r.typed) << QString(r.expected) << r.position;
}

void TestIpCalc::viewerConversions() {
  QFETCH(QString, typed);
  QFETCH(QString, expected);
  QFETCH(int, position);
  Open();
  auto* edit = Find<QLineEdit>("edtSubnetMask");
  TypeInto(edit, typed);
  QCOMPARE(Text("lblSubnetMask"), QString());  // typing blanks the labels
  QTest::keyClick(edit, Qt::Key_Return);
  QVERIFY2(FServices->boxes.isEmpty(), qPrintable(FServices->BoxTexts().join('|')));
  const QStringList want = expected.split(QLatin1Char('|'));
  QCOMPARE(Text("edtSubnetMask"), want.at(0));
  QCOMPARE(QStringList({Text("lblSubnetMask"), Text("lblPrefix"), Text("lblHostCount"),
                        Text("lblWildcard"), Text("lblHex"),
                        Find<QLabel>("lblUsage")->isVisible() ? Text("lblUsage") : QString()})
               .join(QLatin1Char('|')),
           expected);
  QCOMPARE(Find<QSlider>("TrackBar")->value(), position);
}

void TestIpCalc::viewerRejects_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("flags");
  for (const char* typed : {"255.0.255.0", "/33", "abc", "/x", "0.0.0.0"})
    QTest::newRow(typed) << QString(typed) << 0;
  QTest::newRow("/5 without class A") << QStringLiteral("/5") << int(kNoClassA);
}

void TestIpCalc::viewerRejects() {
  QFETCH(QString, typed);
  QFETCH(int, flags);
  Open(flags);
  auto* edit = Find<QLineEdit>("edtSubnetMask");
  TypeInto(edit, typed);
  QTest::keyClick(edit, Qt::Key_Return);
  Check(QStringLiteral("box=Invalid network mask.|lblSubnetMask=|edtSubnetMask=") + typed);
  // Switching the viewer on describes no made-up mask and keeps the text.
  FServices->Reset();
  Find<QToolButton>("sbtnSubnetMaskViewer")->click();
  Check(QStringLiteral("box=Invalid network mask.|lblPrefix=|lblHostCount=|edtSubnetMask=") +
        typed);
}

void TestIpCalc::trackBarEnds_data() {
  QTest::addColumn<int>("flags");
  QTest::addColumn<int>("position");
  QTest::addColumn<QString>("expected");
  const struct {
    const char* name;
    int flags, position;
    const char* expected;  // mask|host count
  } rows[] = {
      {"31 without RFC 3021", kNoRfc3021, 31, "255.255.255.255|Host Mask"},
      {"32 clamps without RFC 3021", kNoRfc3021, 32, "255.255.255.255|Host Mask"},
      {"31 with RFC 3021", 0, 31, "255.255.255.254|RFC3021 point to point"},
      {"32 with RFC 3021", 0, 32, "255.255.255.255|Host Mask"},
      {"1 with class A", 0, 1, "128.0.0.0|2147483646"},
      {"1 clamps to 8 without class A", kNoClassA, 1, "255.0.0.0|16777214"},
  };
  for (const auto& r : rows) QTest::newRow(r.name) << r.flags << r.position << QString(r.expected);
}

void TestIpCalc::trackBarEnds() {
  QFETCH(int, flags);
  QFETCH(int, position);
  QFETCH(QString, expected);
  Open(flags);
  Find<QSlider>("TrackBar")->setValue(position);
  const QString mask = expected.section(QLatin1Char('|'), 0, 0);
  Check(QStringLiteral("edtSubnetMask=%1|lblSubnetMask=%1|lblHostCount=%2")
            .arg(mask, expected.section(QLatin1Char('|'), 1)));
}

void TestIpCalc::viewerModeExaminesWithTheViewerMask() {
  Open(kViewer);
  QVERIFY(!Find<QLineEdit>("edtNetworkMask")->isVisible());
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.0.0.0"));  // hidden field ignored
  Check(QStringLiteral("lblNetwork=192.168.1.0  255.255.255.0"));
  auto* bar = Find<QSlider>("TrackBar");
  bar->setValue(26);
  Check(
      QStringLiteral("lblNetwork=192.168.1.0  255.255.255.192|"
                     "lblRemarks=Class C base, 2 bit subnetting, private (RFC1918) network"));
  // A network text moves its mask into the viewer.
  Examine(QStringLiteral("10.1.2.3/12"), QString());
  Check(QStringLiteral("edtSubnetMask=255.240.0.0|lblNetwork=10.0.0.0  255.240.0.0"));
  QCOMPARE(bar->value(), 12);
  // Typing a mask in viewer mode takes the result away with it; converting
  // brings it back.
  auto* edit = Find<QLineEdit>("edtSubnetMask");
  TypeInto(edit, QStringLiteral("/16"));
  Check(QStringLiteral("*=|subnets=0|title=IPv4 Calculator |nav=off"));
  QTest::keyClick(edit, Qt::Key_Return);
  Check(QStringLiteral("lblNetwork=10.1.0.0  255.255.0.0|title=IPv4 Calculator 10.1.2.3|nav=on"));
}

void TestIpCalc::subnetTableFollowsTheMaskInUse() {
  Open(kViewer);
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.255.255.0"));
  auto* bar = Find<QSlider>("TrackBar");
  bar->setValue(31);  // a point-to-point link has no subnets
  Check(QStringLiteral("lblNetwork=192.168.1.10  255.255.255.254|subnets=0"));
  bar->setValue(29);
  Check(QStringLiteral("lblNetwork=192.168.1.8  255.255.255.248|subnets=3"));
  // Outside viewer mode the network mask counts, whatever the viewer shows.
  Find<QToolButton>("sbtnSubnetMaskViewer")->click();
  bar->setValue(32);
  Examine(QStringLiteral("10.0.0.0"), QStringLiteral("255.255.255.0"));
  Check(QStringLiteral("subnets=8"));
  bar->setValue(24);
  Examine(QStringLiteral("10.0.0.0"), QStringLiteral("255.255.255.255"));
  Check(QStringLiteral("subnets=0"));
}

void TestIpCalc::bitColoursAndHints() {
  Open(kViewer);
  auto* edit = Find<QLineEdit>("edtSubnetMask");
  auto* image = Find<TBitImage>("imgBinMask");
  const auto& cells = FCalc->gbSubnetViewer->FBitCells;
  auto hintAt = [&](int bit) {
    QTest::mouseMove(image, QPoint(cells[bit].x + 1, 5));
    return image->toolTip();
  };
  TypeInto(edit, QStringLiteral("255.255.254.0"));
  Examine(QStringLiteral("172.16.1.1"), QString());
  const QColor navy(0, 0, 128), aqua(0, 255, 255), green(0, 128, 0), blue(0, 0, 255);
  for (int i = 0; i < 32; ++i) {
    QCOMPARE(cells[i].colour, i < 16 ? navy : i < 23 ? aqua : green);
    if (i > 0) QVERIFY(cells[i].x > cells[i - 1].x);
  }
  QCOMPARE(hintAt(15), QStringLiteral("Network bit"));
  QCOMPARE(hintAt(16), QStringLiteral("Subnetting bit"));
  QCOMPARE(hintAt(23), QStringLiteral("Host bit"));
  QTest::mouseMove(image, QPoint(image->width() - 1, 5));  // beyond the last digit
  QCOMPARE(image->toolTip(), QStringLiteral("Host bit"));

  TypeInto(edit, QStringLiteral("254.0.0.0"));
  Examine(QStringLiteral("10.1.1.1"), QString());
  QCOMPARE(cells[7].colour, blue);
  QCOMPARE(hintAt(7), QStringLiteral("Supernet bit"));

  // Outside viewer mode every digit is navy.
  Find<QToolButton>("sbtnSubnetMaskViewer")->click();
  for (const auto& cell : cells) QCOMPARE(cell.colour, navy);
  QCOMPARE(hintAt(20), QStringLiteral("Binary subnet mask view"));
}

void TestIpCalc::togglingClassAResetsShortMasks() {
  Open();
  auto* nm = Find<QLineEdit>("edtNetworkMask");
  auto* toggle = Find<QToolButton>("sbtnClassASupernets");
  auto* bar = Find<QSlider>("TrackBar");
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
  Find<QToolButton>("sbtnRFC3021Subnet")->click();
  QCOMPARE(bar->maximum(), 31);
}

// ---------------------------------------------------------------- clipboard and blanking

// The three toggles show whether they are down at a glance: down, they are
// filled with the highlight colour.
void TestIpCalc::togglesShowTheirState() {
  Open(kNoRfc3021);
  for (const char* name : {"sbtnClassASupernets", "sbtnRFC3021Subnet", "sbtnSubnetMaskViewer"}) {
    auto* button = Find<QToolButton>(name);
    QVERIFY2(qobject_cast<TToolBarToggle*>(button), name);
    for (int click = 0; click < 2; ++click) {
      const bool down = button->isChecked();
      QCOMPARE(ToggleFill(button) == ToggleHighlight(button), down);
      button->click();
      QCOMPARE(button->isChecked(), !down);
    }
  }
}

void TestIpCalc::copyLabelToClipboard() {
  Open();
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.255.255.0"));
  auto* action = Find<QAction>("Copytoclipboard1");
  QVERIFY(action);
  for (const char* name : {"lblPTR", "lblHostRange"}) {
    emit Find<QLabel>(name)->customContextMenuRequested(QPoint(1, 1));
    action->trigger();
  }
  QCOMPARE(FServices->clipboard,
           (QStringList{"10.1.168.192.in-addr.arpa", "192.168.1.1 - 192.168.1.254"}));
}

void TestIpCalc::examineHeldBlanksTheResult() {
  Open();
  Examine(QStringLiteral("192.168.1.10"), QStringLiteral("255.255.255.0"));
  auto* button = Find<QPushButton>("btnCalculate");
  auto* network = Find<QLabel>("lblNetwork");
  button->setFocus();
  QTest::keyPress(button, Qt::Key_Space);
  QVERIFY(!network->isVisible());
  Check(QStringLiteral("subnets=0"));
  QTest::keyRelease(button, Qt::Key_Space);
  QVERIFY(network->isVisible());
  Check(QStringLiteral("lblNetwork=192.168.1.0  255.255.255.0|subnets=8"));
}

QTEST_MAIN(TestIpCalc)
#include "tst_ipcalc.moc"
