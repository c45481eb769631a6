#pragma once
// The Mask Chart tool window: every subnet mask from /8 (or /1) to /32 with
// prefix, usable hosts, wildcard mask and a remark; cells are copied from the
// pop-up menu, and the Subnetting dialog opens for the selected mask.

#include <QPointer>
#include <QString>

#include "common/tcchild.h"
#include "maskchart/subnettingdialog.h"

class QAction;
class QLineEdit;
class QMenu;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TfrmSubnetting;

class TcMaskChart : public TcChild {
  Q_OBJECT
 public:
  explicit TcMaskChart(QWidget* parent = nullptr);
  ~TcMaskChart() override;

  // Takes over the two toggles and the hint display and rebuilds the chart;
  // the first call also restores the saved size when desktop recall is on.
  void ApplyOptions(const TOptionsRec& options) override;
  // Shows the toggles' state again and rebuilds the chart.
  void RefreshDisplay() override;

  // The dialog "Show Subnetting..." opens (not owned; it lives for the whole run).
  void SetSubnettingDialog(TfrmSubnetting* dialog);

  // Refills lvChartList for the two toggles and selects the first row.
  void BuildMaskChart();
  // Enables the menu entries for the current selection.
  void pmChartMenuPopup();
  void CopySubnetMask1Click();
  void CopyPrefix1Click();
  void CopyNumberofHosts1Click();
  void CopyWildcardBitmask1Click();
  void ClassASupernets1Click();
  void sbtnClassASupernetsClick();
  void RFC3021Subnets1Click();
  void sbtnRFC3021SubnetClick();
  // Opens the Subnetting dialog for the selected mask (up to /29) and selects
  // the mask picked there.
  void ShowSubnetting1Click();

  bool FClassASupernets = true;
  bool FRFC3021Subnets = true;
  bool FShowHints = true;
  QPointer<TfrmSubnetting> frmSubnetting;

  QToolBar* ToolBar1 = nullptr;
  QToolButton* sbtnClassASupernets = nullptr;
  QToolButton* sbtnRFC3021Subnet = nullptr;
  QTreeWidget* lvChartList = nullptr;
  QLineEdit* edtCopy = nullptr;
  QMenu* pmChartMenu = nullptr;
  QAction* CopySubnetMask1 = nullptr;
  QAction* CopyPrefix1 = nullptr;
  QAction* CopyNumberofHosts1 = nullptr;
  QAction* CopyWildcardBitmask1 = nullptr;
  QAction* N2 = nullptr;
  QAction* ClassASupernets1 = nullptr;
  QAction* RFC3021Subnets1 = nullptr;
  QAction* N1 = nullptr;
  QAction* ShowSubnetting1 = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  void ConnectHandlers();
  // Check marks and tool bar buttons from the two flags.
  void ShowToggles();
  void lvChartListSelectItem(QTreeWidgetItem* item);
  // The one selected row, or nullptr.
  QTreeWidgetItem* SelectedRow() const;
  void CopyCell(int column);
  bool FInitialFocusGiven = false;
};
