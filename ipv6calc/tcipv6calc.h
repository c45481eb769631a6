#pragma once
// The IPv6 Calculator tool window: an address with its prefix length in, the
// result lines, the bits, a pager through the subnets of the network, the
// special-purpose block chart and an EUI-64 builder. What it shows comes from
// ipv6calccore; the window copies those texts into its controls.

#include <QLabel>
#include <QList>

#include "common/tcchild.h"
#include "ipv6calc/ipv6calccore.h"

class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TV6BinaryView;

class TcIpv6Calc : public TcChild {
  Q_OBJECT
 public:
  explicit TcIpv6Calc(QWidget* parent = nullptr);
  ~TcIpv6Calc() override;

  void ApplyOptions(const TOptionsRec& options) override;
  void ShowAddress(const QString& text) override;

  // Examines the address field with the prefix; a good text joins the
  // history when addToHistory.
  void Examine(bool addToHistory);
  // Shows the page of subnets that starts at number `first`.
  void ShowSubnetPage(const ipv6count& first);
  // Reads the block list from the usual places.
  void LoadReservedList(const QStringList& candidates);

  // Rows a subnet page holds.
  static constexpr int kPageRows = 256;

  QComboBox* edtV6Address = nullptr;
  QSpinBox* spnV6Prefix = nullptr;
  QPushButton* btnV6Examine = nullptr;
  QPushButton* btnV6PrevNet = nullptr;
  QPushButton* btnV6NextNet = nullptr;
  QLabel* FLines[v6LineCount] = {};
  TV6BinaryView* pbV6Binary = nullptr;
  QTabWidget* pcV6Pages = nullptr;
  QSpinBox* spnV6SubnetPrefix = nullptr;
  QLabel* lblV6SubnetCount = nullptr;
  QLineEdit* edtV6SubnetIndex = nullptr;
  QPushButton* btnV6First = nullptr;
  QPushButton* btnV6Prev = nullptr;
  QPushButton* btnV6Next = nullptr;
  QPushButton* btnV6Last = nullptr;
  QTreeWidget* lvV6Subnets = nullptr;
  QTreeWidget* lvV6Special = nullptr;
  QLineEdit* edtV6MacPrefix = nullptr;
  QLineEdit* edtV6Mac = nullptr;
  QPushButton* btnV6FromMac = nullptr;
  QLabel* lblV6FromMac = nullptr;
  QMenu* pmV6Copy = nullptr;

  // The last examination (invalid net before the first or after an error).
  TV6Result FResult;
  // The block list the type line and the chart come from.
  ipv6reserved FBlocks;
  // The file the block list was read from ("" when none could be opened).
  QString FListFile;
  // First subnet number of the page shown.
  ipv6count FPageStart;

 protected:
  void SaveState() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  QWidget* BuildSubnetsPage();
  QWidget* BuildSpecialPage();
  QWidget* BuildEui64Page();
  void ConnectHandlers();
  void ClearResults();
  void SetAddressText(const QString& text);
  QStringList History() const;
  void SetHistory(const QStringList& history);
  void UpdateSubnetPanel();
  void PageBy(long long delta);
  void GoToIndex();
  void StepNetwork(bool forward);
  void FromMac();
  void ExamineText(const QString& text);
  void CopyPopup(QWidget* source, const QPoint& pos);
  QString ListText(const QTreeWidget* view, bool selectedOnly) const;

  QString FIniFileName;
  // The subnet length the user chose; the spin box shows it unless the
  // examined prefix is as long or longer.
  int FWantedSubnetPrefix = 64;
  bool FWriting = false;
};
