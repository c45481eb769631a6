#pragma once
// Right-hand side of the calculator: the subnet table (lvSubnets), the
// subnetworks list (lvNetworks) with their headers, and the list commands.

#include <QString>
#include <QWidget>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;
struct TSubnetworkRow;

class TSubnetTables : public QWidget {
  Q_OBJECT
 public:
  explicit TSubnetTables(QWidget* parent = nullptr);
  ~TSubnetTables() override;

  // Rebuilds lvSubnets and its header for the mask text (filled only when
  // subnetTable is set) and selects its first row, which fills lvNetworks.
  void FillSubnetTable(const QString& maskText, bool subnetTable, bool rfc3021);
  // Removes the rows of both lists (headers stay).
  void ClearTables();
  // Removes the rows of both lists and blanks the subnet table header: the
  // subnetworks shown belong to a row that is gone.
  void ClearSubnetTable();
  // Whether the host list editor can be opened ("Show hostlist", double-click).
  void SetHostListAvailable(bool on);

 public slots:
  // The network the subnetworks list starts from (the window's FNetworkText)
  // and the network line shown for it (the text of lblNetwork).
  void SetNetwork(const QString& networkText, const QString& labelText);

 public:
  // Rebuilds lvNetworks and its header for a row of lvSubnets.
  void lvSubnetsSelectItem(QTreeWidgetItem* item);
  // Enables the entries of pmNetworks for the current selection.
  void pmNetworksPopup();
  void Selectall1Click();
  // Copies the network column of the selected rows, one LF after each.
  void Copy1Click();
  // Copies all columns of the selected rows, tab-separated.
  void Copyallcolumns1Click();
  // Asks for the host list of the first selected subnetwork.
  void ShowHostListForRow();

  // Prefix cell ("/26") of the subnet table row last selected.
  QString FPrefixText;
  bool FHostListAvailable = false;

  QWidget* pnlTop = nullptr;
  QLabel* pnlSubnetTableHeader = nullptr;
  QTreeWidget* lvSubnets = nullptr;
  QSplitter* Splitter2 = nullptr;
  QLabel* pnlSubnetworksTableHeader = nullptr;
  QTreeWidget* lvNetworks = nullptr;
  QMenu* pmNetworks = nullptr;
  QAction* Selectall1 = nullptr;
  QAction* N1 = nullptr;
  QAction* Copy1 = nullptr;
  QAction* Copyallcolumns1 = nullptr;
  QAction* N2 = nullptr;
  QAction* Showhostlist1 = nullptr;

 signals:
  // A subnetwork's host list was asked for: title "IP Host List for 10.0.1.0/24"
  // and the network text "10.0.1.0/24" (already checked to be a valid network).
  void hostListRequested(const QString& title, const QString& networkText);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Both lists keep all their columns and a few rows however small the
  // window: the panel around them scrolls instead.
  void UpdateMinimumSize();
  std::vector<TSubnetworkRow> SelectedNetworkRows() const;
  bool CanShowHostList() const;
  void OnSubnetSelectionChanged(int selectedRow, int deselectedRow);
  // Set while this panel empties lvSubnets itself: no rebuild for removed rows.
  bool FClearing = false;
  QString FNetworkText;
  QString FNetworkLabelText;
};
