#pragma once
// Page "Multicast MAC Specification": the 32 groups sharing one MAC, the
// IP-to-MAC line, three bit diagrams and the IANA link.

#include <QString>
#include <QWidget>

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

  QLabel* lblMCIP = nullptr;
  QLabel* lblMCMAC = nullptr;
  QPushButton* bbtnIANALink = nullptr;
  QListWidget* lbMIP = nullptr;
  QLabel* lblMCIPtoMAC = nullptr;
  QLabel* lblIPtoMAC = nullptr;
  TBitImage* imgMIP = nullptr;
  TBitImage* imgMHdr = nullptr;
  TBitImage* imgMMAC = nullptr;

 signals:
  // The mouse moved over one of the three bit images (x in that image).
  void bitImageMouseMove(int x);
};
