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
QString Bits(const TBitImage* image) {
  QString bits;
  for (const TBitImage::Glyph& g : image->Glyphs()) bits += g.ch;
  return bits;
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
  void panelKeepsItsContentForANonMulticastMac();
  void clickInListChangesOnlyTheIpSide();
  void diagramsStrikeTheLostBitsAndEndTogether();
  void ianaLinkAndHelp();
};

void TestMulticast::scopeText_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<QString>("text");
  const char* link = "reserved link local address";
  const char* control = "Internetwork control address";
  const char* adhoc = "ad-hoc address";
  const char* global = "globally scoped address";
  const char* ssm = "source specific address";
  const char* limited = "limited scope address";
  const char* wide = "GLOP address, mask is too wide to determine AS#";
  // Both edges of every range; the ad-hoc range ends at 224.0.255.0.
  const struct {
    const char *address, *mask, *text;
  } rows[] = {{"224.0.0.5", "255.255.255.0", link},
              {"224.0.1.0", "255.255.255.0", control},
              {"224.0.1.255", "255.255.255.0", control},
              {"224.0.2.0", "255.255.255.0", adhoc},
              {"224.0.255.0", "255.255.255.0", adhoc},
              {"224.0.255.1", "255.255.255.0", global},
              {"224.1.0.0", "255.255.255.0", global},
              {"231.255.255.255", "255.255.255.0", global},
              {"232.0.0.0", "255.255.255.0", ssm},
              {"232.255.255.255", "255.0.0.0", ssm},
              {"233.1.2.3", "255.255.255.0", "GLOP address, BGP AS# 258"},
              {"233.252.14.1", "255.255.255.0", "GLOP address, BGP AS# 64526"},
              {"233.252.14.1", "255.255.254.0", wide},
              {"233.1.2.3", "0.0.0.0", wide},
              {"238.255.255.255", "255.255.255.0", global},
              {"239.0.0.0", "255.255.255.0", limited},
              {"239.255.255.250", "255.255.255.0", limited}};
  for (const auto& r : rows)
    QTest::addRow("%s %s", r.address, r.mask) << r.address << r.mask << r.text;
}

void TestMulticast::scopeText() {
  QFETCH(QString, address);
  QFETCH(QString, mask);
  QFETCH(QString, text);
  QCOMPARE(
      MulticastScopeText(ipv4(address.toStdString()).value(), ipv4(mask.toStdString()).value()),
      text);
}

void TestMulticast::macText_data() {
  QTest::addColumn<QString>("address");
  QTest::addColumn<int>("format");
  QTest::addColumn<QString>("text");
  const struct {
    const char* address;
    int format;
    const char* text;
  } rows[] = {{"239.129.2.3", 0, "01:00:5E:01:02:03"},
              {"239.129.2.3", 1, "01-00-5E-01-02-03"},
              {"239.129.2.3", 2, "0100.5E01.0203"},
              {"239.255.171.205", 1, "01-00-5E-7F-AB-CD"},
              {"239.1.2.3", 3, ""},
              {"223.255.255.255", 1, ""},
              {"240.0.0.1", 1, ""}};
  for (const auto& r : rows)
    QTest::addRow("%s format %d", r.address, r.format) << r.address << r.format << r.text;
}

void TestMulticast::macText() {
  QFETCH(QString, address);
  QFETCH(int, format);
  QFETCH(QString, text);
  QCOMPARE(MulticastMacText(ipv4(address.toStdString()), format), text);
}

void TestMulticast::groupsOfMac_data() {
  QTest::addColumn<QString>("mac");
  QTest::addColumn<QStringList>("firstSecondLast");
  QTest::newRow("0100.5E01.0203") << "0100.5E01.0203"
                                  << QStringList{"224.1.2.3", "224.129.2.3", "239.129.2.3"};
  QTest::newRow("01:00:5E:00:00:00")
      << "01:00:5E:00:00:00" << QStringList{"224.0.0.0", "224.128.0.0", "239.128.0.0"};
  QTest::newRow("01-00-5E-7F-FF-FF")
      << "01-00-5E-7F-FF-FF"
      << QStringList{"224.127.255.255", "224.255.255.255", "239.255.255.255"};
  QTest::newRow("01-00-5E-80-00-00 no group MAC") << "01-00-5E-80-00-00" << QStringList();
  QTest::newRow("empty") << "" << QStringList();
}

void TestMulticast::groupsOfMac() {
  QFETCH(QString, mac);
  QFETCH(QStringList, firstSecondLast);
  const QStringList groups = MulticastGroupsOfMac(mac);
  QCOMPARE(groups.size(), firstSecondLast.isEmpty() ? 0 : 32);
  if (groups.isEmpty()) return;
  QCOMPARE((QStringList{groups.first(), groups.at(1), groups.last()}), firstSecondLast);
  // Every group maps back to the same MAC.
  for (const QString& g : groups)
    QCOMPARE(MulticastMacText(ipv4(g.toStdString()), 1),
             MulticastMacText(ipv4(groups.first().toStdString()), 1));
}

void TestMulticast::panelKeepsItsContentForANonMulticastMac() {
  TMulticastPanel panel;
  // An address that is not among the groups selects nothing.
  panel.ShowGroup("239.1.2.4", "01-00-5E-01-02-03");
  QCOMPARE(panel.lbMIP->count(), 32);
  QVERIFY(panel.lbMIP->selectedItems().isEmpty());
  panel.ShowGroup("10.0.0.1", "");
  QCOMPARE(panel.lbMIP->count(), 0);
  QCOMPARE(panel.lblIPtoMAC->text(), QString("239.1.2.4  ->  01-00-5E-01-02-03"));
}

void TestMulticast::clickInListChangesOnlyTheIpSide() {
  TMulticastPanel panel;
  panel.ShowGroup("239.1.2.3", "01:00:5E:01:02:03");
  const QString mac = Bits(panel.imgMMAC);
  panel.lbMIP->setCurrentItem(panel.lbMIP->findItems("225.129.2.3", Qt::MatchExactly).first());
  QCOMPARE(panel.lblMCIP->text(), QString("225.129.2.3"));
  QCOMPARE(panel.lblMCMAC->text(), QString("01:00:5E:01:02:03"));
  QCOMPARE(panel.lblIPtoMAC->text(), QString("225.129.2.3  ->  01:00:5E:01:02:03"));
  QCOMPARE(Bits(panel.imgMIP), QString("11100001.10000001.00000010.00000011"));
  QCOMPARE(Bits(panel.imgMMAC), mac);
  QCOMPARE(panel.lbMIP->count(), 32);
}

void TestMulticast::diagramsStrikeTheLostBitsAndEndTogether() {
  TMulticastPanel panel;
  panel.ShowGroup("239.1.2.3", "01-00-5E-01-02-03");
  QCOMPARE(Bits(panel.imgMIP), QString("11101111.00000001.00000010.00000011"));
  QCOMPARE(Bits(panel.imgMHdr), QString("00000001.00000000.01011110.00000000.00000000.00000000"));
  QCOMPARE(Bits(panel.imgMMAC), QString("00000001.00000000.01011110.00000001.00000010.00000011"));
  const auto& ip = panel.imgMIP->Glyphs();
  const QColor grey(128, 128, 128), navy(0, 0, 128);
  for (std::size_t i = 0; i < ip.size(); ++i) {
    // The fixed 1110 in grey, then the five lost bits (and the dot among them) in navy.
    QCOMPARE(ip[i].struck, i < 10);
    QCOMPARE(ip[i].colour, i < 4 ? grey : navy);
  }
  for (const TBitImage::Glyph& g : panel.imgMHdr->Glyphs()) QVERIFY(!g.struck && g.colour == navy);

  // The last digit of each row ends at the same x, inside its image.
  const auto rightEnd = [](TBitImage* img) {
    const QFontMetrics fm(img->font());
    const int last = img->Positions().back() + fm.horizontalAdvance(img->Glyphs().back().ch);
    return last <= img->width() ? img->x() + last : -1;
  };
  QVERIFY(rightEnd(panel.imgMMAC) > 0);
  QCOMPARE(rightEnd(panel.imgMIP), rightEnd(panel.imgMMAC));
  QCOMPARE(rightEnd(panel.imgMHdr), rightEnd(panel.imgMMAC));
}

void TestMulticast::ianaLinkAndHelp() {
  RecordingServices services;
  TMulticastPanel panel;
  panel.SetIanaLink("https://www.iana.org/assignments/multicast-addresses");
  panel.bbtnIANALink->click();
  QCOMPARE(services.urls,
           QList<QUrl>{QUrl("https://www.iana.org/assignments/multicast-addresses")});
  QVERIFY(services.boxes.isEmpty());
  services.urlAnswer = false;
  panel.bbtnIANALink->click();
  QCOMPARE(services.BoxTexts(), QStringList{"Unable to start http client."});
  QTest::mouseClick(panel.lblMCIPtoMAC, Qt::LeftButton);
  QCOMPARE(services.helpTopics, QList<int>{470});
}

QTEST_MAIN(TestMulticast)
#include "tst_multicast.moc"
