// Multicast scope texts, group MAC texts and the multicast page.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "ipcalc/bitimage.h"
#include "ipcalc/multicast.h"
#include "ipcalc/multicastpanel.h"
#include "ipv4lib/ipv4.h"
#include "recordingservices.h"

namespace {
uint32_t V(const char* dotted) {
  return ipv4(dotted).value();
}
}  // namespace

class TestMulticast : public QObject {
  Q_OBJECT
 private slots:
  void scopeText_data();
  void scopeText();
  void macText_data();
  void macText();
  void groupsOfMac_data();
  void groupsOfMac();
  void panelShowsTheGroupsOfTheExaminedAddress();
  void panelIgnoresANonMulticastMac();
  void clickInListChangesOnlyTheIpSide();
  void diagramsStrikeTheLostBitsAndEndTogether();
  void ianaLinkAndHelp();
};

void TestMulticast::scopeText_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<QString>("text");
  const QString link = "reserved link local address", adhoc = "ad-hoc address",
                global = "globally scoped address";
  QTest::newRow("224.0.0.5") << "224.0.0.5"
                             << "255.255.255.0" << link;
  QTest::newRow("224.0.0.255") << "224.0.0.255"
                               << "255.255.255.255" << link;
  QTest::newRow("224.0.1.0") << "224.0.1.0"
                             << "255.255.255.0"
                             << "Internetwork control address";
  QTest::newRow("224.0.1.255") << "224.0.1.255"
                               << "255.255.255.0"
                               << "Internetwork control address";
  QTest::newRow("224.0.2.1") << "224.0.2.1"
                             << "255.255.255.0" << adhoc;
  QTest::newRow("224.0.255.0") << "224.0.255.0"
                               << "255.255.255.0" << adhoc;
  QTest::newRow("224.0.255.1") << "224.0.255.1"
                               << "255.255.255.0" << global;
  QTest::newRow("224.1.0.0") << "224.1.0.0"
                             << "255.255.255.0" << global;
  QTest::newRow("231.255.255.255") << "231.255.255.255"
                                   << "255.255.255.0" << global;
  QTest::newRow("232.0.0.0") << "232.0.0.0"
                             << "255.255.255.0"
                             << "source specific address";
  QTest::newRow("232.255.255.255") << "232.255.255.255"
                                   << "255.0.0.0"
                                   << "source specific address";
  QTest::newRow("233.1.2.3 /24") << "233.1.2.3"
                                 << "255.255.255.0"
                                 << "GLOP address, BGP AS# 258";
  QTest::newRow("233.252.14.1 /24") << "233.252.14.1"
                                    << "255.255.255.0"
                                    << "GLOP address, BGP AS# 64526";
  QTest::newRow("233.252.14.1 /32") << "233.252.14.1"
                                    << "255.255.255.255"
                                    << "GLOP address, BGP AS# 64526";
  QTest::newRow("233.252.14.1 /23") << "233.252.14.1"
                                    << "255.255.254.0"
                                    << "GLOP address, mask is too wide to determine AS#";
  QTest::newRow("233.1.2.3 no mask") << "233.1.2.3"
                                     << "0.0.0.0"
                                     << "GLOP address, mask is too wide to determine AS#";
  QTest::newRow("234.0.0.1") << "234.0.0.1"
                             << "255.255.255.0" << global;
  QTest::newRow("238.255.255.255") << "238.255.255.255"
                                   << "255.255.255.0" << global;
  QTest::newRow("239.0.0.0") << "239.0.0.0"
                             << "255.255.255.0"
                             << "limited scope address";
  QTest::newRow("239.255.255.250") << "239.255.255.250"
                                   << "255.255.255.0"
                                   << "limited scope address";
}

void TestMulticast::scopeText() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(QString, text);
  QCOMPARE(MulticastScopeText(V(qPrintable(address)), V(qPrintable(mask))), text);
}

void TestMulticast::macText_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<int>("format");
  QTest::addColumn<QString>("text");
  QTest::newRow("239.129.2.3 colons") << "239.129.2.3" << 0 << "01:00:5E:01:02:03";
  QTest::newRow("239.129.2.3 hyphens") << "239.129.2.3" << 1 << "01-00-5E-01-02-03";
  QTest::newRow("239.129.2.3 dots") << "239.129.2.3" << 2 << "0100.5E01.0203";
  QTest::newRow("239.255.171.205 upper-case hex") << "239.255.171.205" << 1 << "01-00-5E-7F-AB-CD";
  QTest::newRow("224.128.0.1") << "224.128.0.1" << 1 << "01-00-5E-00-00-01";
  QTest::newRow("225.0.0.1") << "225.0.0.1" << 1 << "01-00-5E-00-00-01";
  QTest::newRow("224.0.0.0") << "224.0.0.0" << 0 << "01:00:5E:00:00:00";
  QTest::newRow("format 3") << "239.1.2.3" << 3 << "";
  QTest::newRow("format -1") << "239.1.2.3" << -1 << "";
  QTest::newRow("223.255.255.255 not class D") << "223.255.255.255" << 1 << "";
  QTest::newRow("240.0.0.1 not class D") << "240.0.0.1" << 1 << "";
}

void TestMulticast::macText() {
  QFETCH(QString, address);
  QFETCH(int, format);
  QFETCH(QString, text);
  QCOMPARE(MulticastMacText(ipv4(address.toStdString()), format), text);
}

void TestMulticast::groupsOfMac_data() {
  QTest::addColumn<QString>("mac");
  QTest::addColumn<QString>("first");
  QTest::addColumn<QString>("second");
  QTest::addColumn<QString>("last");
  QTest::newRow("01-00-5E-01-02-03") << "01-00-5E-01-02-03"
                                     << "224.1.2.3"
                                     << "224.129.2.3"
                                     << "239.129.2.3";
  QTest::newRow("0100.5E01.0203") << "0100.5E01.0203"
                                  << "224.1.2.3"
                                  << "224.129.2.3"
                                  << "239.129.2.3";
  QTest::newRow("01:00:5E:00:00:00") << "01:00:5E:00:00:00"
                                     << "224.0.0.0"
                                     << "224.128.0.0"
                                     << "239.128.0.0";
  QTest::newRow("01-00-5E-7F-FF-FF") << "01-00-5E-7F-FF-FF"
                                     << "224.127.255.255"
                                     << "224.255.255.255"
                                     << "239.255.255.255";
}

void TestMulticast::groupsOfMac() {
  QFETCH(QString, mac);
  QFETCH(QString, first);
  QFETCH(QString, second);
  QFETCH(QString, last);
  const QStringList groups = MulticastGroupsOfMac(mac);
  QCOMPARE(groups.size(), 32);
  QCOMPARE(groups.first(), first);
  QCOMPARE(groups.at(1), second);
  QCOMPARE(groups.last(), last);
  // Every group maps back to the same MAC.
  for (const QString& g : groups)
    QCOMPARE(MulticastMacText(ipv4(g.toStdString()), 1),
             MulticastMacText(ipv4(first.toStdString()), 1));
}

void TestMulticast::panelShowsTheGroupsOfTheExaminedAddress() {
  TMulticastPanel panel;
  panel.ShowGroup("239.1.2.3", "01-00-5E-01-02-03");
  QCOMPARE(panel.lbMIP->count(), 32);
  QCOMPARE(panel.lbMIP->item(0)->text(), QString("224.1.2.3"));
  QCOMPARE(panel.lbMIP->item(31)->text(), QString("239.129.2.3"));
  QCOMPARE(panel.lbMIP->selectedItems().size(), 1);
  QCOMPARE(panel.lbMIP->selectedItems().first()->text(), QString("239.1.2.3"));
  QCOMPARE(panel.lblIPtoMAC->text(), QString("239.1.2.3  ->  01-00-5E-01-02-03"));
  QCOMPARE(panel.lblMCIP->text(), QString("239.1.2.3"));

  // An address that is not among the groups selects nothing.
  panel.ShowGroup("239.1.2.4", "01-00-5E-01-02-03");
  QCOMPARE(panel.lbMIP->count(), 32);
  QVERIFY(panel.lbMIP->selectedItems().isEmpty());
}

void TestMulticast::panelIgnoresANonMulticastMac() {
  TMulticastPanel panel;
  panel.ShowGroup("239.1.2.3", "01-00-5E-01-02-03");
  panel.ShowGroup("10.0.0.1", "");
  QCOMPARE(panel.lbMIP->count(), 0);
  QCOMPARE(panel.lblIPtoMAC->text(), QString("239.1.2.3  ->  01-00-5E-01-02-03"));
  panel.ShowGroup("239.1.2.3", "01-00-5E-80-00-00");
  QCOMPARE(panel.lbMIP->count(), 0);
}

void TestMulticast::clickInListChangesOnlyTheIpSide() {
  TMulticastPanel panel;
  panel.ShowGroup("239.1.2.3", "01:00:5E:01:02:03");
  const auto macGlyphs = panel.imgMMAC->Glyphs().size();
  panel.lbMIP->setCurrentRow(
      panel.lbMIP->row(panel.lbMIP->findItems("225.129.2.3", Qt::MatchExactly).first()));
  QCOMPARE(panel.lblMCIP->text(), QString("225.129.2.3"));
  QCOMPARE(panel.lblMCMAC->text(), QString("01:00:5E:01:02:03"));
  QCOMPARE(panel.lblIPtoMAC->text(), QString("225.129.2.3  ->  01:00:5E:01:02:03"));
  QString bits;
  for (const TBitImage::Glyph& g : panel.imgMIP->Glyphs()) bits += g.ch;
  QCOMPARE(bits, QString("11100001.10000001.00000010.00000011"));
  QCOMPARE(panel.imgMMAC->Glyphs().size(), macGlyphs);
  QCOMPARE(panel.lbMIP->count(), 32);
}

void TestMulticast::diagramsStrikeTheLostBitsAndEndTogether() {
  TMulticastPanel panel;
  panel.ShowGroup("239.1.2.3", "01-00-5E-01-02-03");
  const auto& ip = panel.imgMIP->Glyphs();
  QCOMPARE(int(ip.size()), 35);
  QString bits;
  for (const TBitImage::Glyph& g : ip) bits += g.ch;
  QCOMPARE(bits, QString("11101111.00000001.00000010.00000011"));
  const QColor grey(128, 128, 128), navy(0, 0, 128);
  for (int i = 0; i < 4; ++i) QVERIFY(ip[i].struck && ip[i].colour == grey);
  for (int i = 4; i < 10; ++i) QVERIFY(ip[i].struck && ip[i].colour == navy);  // dot included
  for (std::size_t i = 10; i < ip.size(); ++i) QVERIFY(!ip[i].struck && ip[i].colour == navy);

  QString header, mac;
  for (const TBitImage::Glyph& g : panel.imgMHdr->Glyphs()) {
    header += g.ch;
    QVERIFY(!g.struck && g.colour == navy);
  }
  for (const TBitImage::Glyph& g : panel.imgMMAC->Glyphs()) mac += g.ch;
  QCOMPARE(header, QString("00000001.00000000.01011110.00000000.00000000.00000000"));
  QCOMPARE(mac, QString("00000001.00000000.01011110.00000001.00000010.00000011"));

  // The last digit of each row ends at the same x, inside its image.
  const auto rightEnd = [](TBitImage* img) {
    const QFontMetrics fm(img->font());
    const int last = img->Positions().back() + fm.horizontalAdvance(img->Glyphs().back().ch);
    [&] { QVERIFY(last <= img->width()); }();
    return img->x() + last;
  };
  QCOMPARE(rightEnd(panel.imgMIP), rightEnd(panel.imgMMAC));
  QCOMPARE(rightEnd(panel.imgMHdr), rightEnd(panel.imgMMAC));
  QCOMPARE(panel.imgMIP->width(), 201);
  QCOMPARE(panel.imgMMAC->width(), 303);
}

void TestMulticast::ianaLinkAndHelp() {
  RecordingServices services;
  TMulticastPanel panel;
  panel.SetIanaLink("https://www.iana.org/assignments/multicast-addresses");
  panel.bbtnIANALink->click();
  QCOMPARE(services.urls.size(), 1);
  QCOMPARE(services.urls.first().toString(),
           QString("https://www.iana.org/assignments/multicast-addresses"));
  QVERIFY(services.boxes.isEmpty());

  services.urlAnswer = false;
  panel.bbtnIANALink->click();
  QCOMPARE(services.boxes.size(), 1);
  QCOMPARE(services.boxes.first().text, QString("Unable to start http client."));

  QTest::mouseClick(panel.lblMCIPtoMAC, Qt::LeftButton);
  QCOMPARE(services.helpTopics, QList<int>{470});
}

QTEST_MAIN(TestMulticast)
#include "tst_multicast.moc"
