#pragma once
// The multicast page of the calculator: the 32 groups sharing one MAC, the
// IP-to-MAC line, three bit diagrams and the IANA link.

#include <QString>
#include <QWidget>
#include <cstdint>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class TBitImage;

class TMulticastPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TMulticastPanel(QWidget* parent = nullptr);

  // Web address opened by the IANA button (the window's FIanaLink).
  void SetIanaLink(const QString& link);
  // Sets lblMCIP and lblMCMAC, then refreshes the panel from them.
  void ShowGroup(const QString& ipText, const QString& macText);
  void RefreshMulticastPanel();
  // The selected entry of lbMIP becomes the group shown.
  void lbMIPClick();
  void bbtnIANALinkClick();
  void lblMCIPtoMACClick();

  QSize sizeHint() const override;

  QString FIanaLink;

  QLabel* Label1 = nullptr;
  QLabel* lblMCIP = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* lblMCMAC = nullptr;
  QPushButton* bbtnIANALink = nullptr;
  QLabel* Label39 = nullptr;
  QListWidget* lbMIP = nullptr;
  QFrame* Panel4 = nullptr;
  QLabel* lblMCIPtoMAC = nullptr;
  QLabel* lblIPtoMAC = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label8 = nullptr;
  QLabel* Label9 = nullptr;
  TBitImage* imgMIP = nullptr;
  TBitImage* imgMHdr = nullptr;
  TBitImage* imgMMAC = nullptr;

 signals:
  // The mouse moved over one of the three bit images (x in that image).
  void bitImageMouseMove(int x);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void DrawIpDiagram(uint32_t address);
  void DrawMacDiagram(TBitImage* image, unsigned long long value);
  // Set while the panel selects an entry itself.
  bool FRefreshing = false;
};
