#include "ipcalc/subnettables.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/icons.h"
#include "common/reportlist.h"
#include "common/services.h"
#include "common/widgethelpers.h"
#include "ipcalc/subnetmodel.h"
#include "ipv4lib/ipv4host.h"

namespace {
QLabel* MakeHeader(const QString& name, QWidget* parent) {
  auto* header = new QLabel(parent);
  header->setObjectName(name);
  header->setFixedHeight(22);
  header->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  header->setIndent(4);
  QFont f = header->font();
  f.setBold(true);
  header->setFont(f);
  return header;
}

QAction* MakeAction(QMenu* menu, const QString& name, const QString& caption, const QString& hint) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  a->setToolTip(hint);
  a->setStatusTip(hint);
  return a;
}

int FirstRow(const QItemSelection& selection) {
  return selection.isEmpty() ? -1 : selection.first().top();
}

// Rows a list shows at the least.
constexpr int kLeastRows = 4;

// The width of a list showing all its columns.
int ColumnsWidth(const QTreeWidget* view) {
  int width = 2 * view->frameWidth();
  for (int c = 0; c < view->columnCount(); ++c) width += view->columnWidth(c);
  return width;
}

// The height of a list showing its header and `rows` rows.
int ListHeightForRows(const QTreeWidget* view, int rows) {
  const int row = view->fontMetrics().height() + 4;
  return view->header()->sizeHint().height() + rows * row + 2 * view->frameWidth();
}
}  // namespace

TSubnetTables::TSubnetTables(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Splitter2 = new QSplitter(Qt::Vertical, this);
  Splitter2->setObjectName(QStringLiteral("Splitter2"));
  Splitter2->setHandleWidth(6);
  Splitter2->setChildrenCollapsible(false);
  layout->addWidget(Splitter2);

  pnlTop = new QWidget(Splitter2);
  pnlTop->setObjectName(QStringLiteral("pnlTop"));
  auto* top = new QVBoxLayout(pnlTop);
  top->setContentsMargins(0, 0, 0, 0);
  top->setSpacing(0);
  pnlSubnetTableHeader = MakeHeader(QStringLiteral("pnlSubnetTableHeader"), pnlTop);
  lvSubnets = new QTreeWidget(pnlTop);
  lvSubnets->setObjectName(QStringLiteral("lvSubnets"));
  SetupReportList(lvSubnets,
                  {QStringLiteral("Subnet Mask"), QStringLiteral("Prefix"),
                   QStringLiteral("Networks"), QStringLiteral("Hosts")},
                  {100, 45, 75, 75});
  lvSubnets->setSelectionMode(QAbstractItemView::SingleSelection);
  lvSubnets->setToolTip(QStringLiteral("Click to select a subnet mask"));
  top->addWidget(pnlSubnetTableHeader);
  top->addWidget(lvSubnets);

  auto* bottom = new QWidget(Splitter2);
  bottom->setObjectName(QStringLiteral("pnlSubnetworks"));
  auto* low = new QVBoxLayout(bottom);
  low->setContentsMargins(0, 0, 0, 0);
  low->setSpacing(0);
  pnlSubnetworksTableHeader = MakeHeader(QStringLiteral("pnlSubnetworksTableHeader"), bottom);
  lvNetworks = new QTreeWidget(bottom);
  lvNetworks->setObjectName(QStringLiteral("lvNetworks"));
  SetupReportList(
      lvNetworks,
      {QStringLiteral("Network "), QStringLiteral("Host Addresses"), QStringLiteral("#")},
      {100, 190, 30});
  lvNetworks->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lvNetworks->setToolTip(
      QStringLiteral("Double click to open detailed host list, right click for popup menu"));
  lvNetworks->setContextMenuPolicy(Qt::CustomContextMenu);
  lvNetworks->installEventFilter(this);
  low->addWidget(pnlSubnetworksTableHeader);
  low->addWidget(lvNetworks);

  Splitter2->addWidget(pnlTop);
  Splitter2->addWidget(bottom);
  Splitter2->setSizes({265, 300});
  Splitter2->setStretchFactor(0, 0);
  Splitter2->setStretchFactor(1, 1);
  UpdateMinimumSize();

  pmNetworks = new QMenu(this);
  pmNetworks->setObjectName(QStringLiteral("pmNetworks"));
  pmNetworks->setToolTipsVisible(true);
  Selectall1 = MakeAction(pmNetworks, QStringLiteral("Selectall1"), QStringLiteral("Select all"),
                          QStringLiteral("Select entire table"));
  N1 = pmNetworks->addSeparator();
  N1->setObjectName(QStringLiteral("N1"));
  Copy1 = MakeAction(pmNetworks, QStringLiteral("Copy1"), QStringLiteral("Copy network column"),
                     QStringLiteral("Copy only network column"));
  Copyallcolumns1 =
      MakeAction(pmNetworks, QStringLiteral("Copyallcolumns1"), QStringLiteral("Copy all columns"),
                 QStringLiteral("Copy entire table"));
  N2 = pmNetworks->addSeparator();
  N2->setObjectName(QStringLiteral("N2"));
  Showhostlist1 =
      MakeAction(pmNetworks, QStringLiteral("Showhostlist1"), QStringLiteral("Show hostlist"),
                 QStringLiteral("Show hostlist for selected subnet"));
  Showhostlist1->setEnabled(false);
  Selectall1->setIcon(ProgramIcon(iiSelectAll));
  Copy1->setIcon(ProgramIcon(iiCopyColumn));
  Copyallcolumns1->setIcon(ProgramIcon(iiCopyTable));
  Showhostlist1->setIcon(ProgramIcon(iiHostList));

  connect(pmNetworks, &QMenu::aboutToShow, this, &TSubnetTables::pmNetworksPopup);
  connect(Selectall1, &QAction::triggered, this, &TSubnetTables::Selectall1Click);
  connect(Copy1, &QAction::triggered, this, &TSubnetTables::Copy1Click);
  connect(Copyallcolumns1, &QAction::triggered, this, &TSubnetTables::Copyallcolumns1Click);
  connect(Showhostlist1, &QAction::triggered, this, &TSubnetTables::ShowHostListForRow);
  connect(lvNetworks, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    pmNetworks->popup(lvNetworks->viewport()->mapToGlobal(pos));
  });
  connect(lvNetworks, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem*, int) { ShowHostListForRow(); });
  // Rebuilt for a row whenever its selection changes, selected or deselected.
  connect(lvSubnets->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected, const QItemSelection& deselected) {
            OnSubnetSelectionChanged(FirstRow(selected), FirstRow(deselected));
          });
}

TSubnetTables::~TSubnetTables() = default;

void TSubnetTables::UpdateMinimumSize() {
  // Every column in full (a list long enough for a scroll bar also scrolls
  // sideways).
  const int width = qMax(ColumnsWidth(lvSubnets), ColumnsWidth(lvNetworks));
  lvSubnets->setMinimumSize(width, ListHeightForRows(lvSubnets, kLeastRows));
  lvNetworks->setMinimumSize(width, ListHeightForRows(lvNetworks, kLeastRows));
}

void TSubnetTables::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // The window's smaller font arrives once the panel is placed in it.
  if (event->type() == QEvent::FontChange) UpdateMinimumSize();
}

void TSubnetTables::OnSubnetSelectionChanged(int selectedRow, int deselectedRow) {
  if (FClearing) return;
  const int row = selectedRow >= 0 ? selectedRow : deselectedRow;
  // A row that is being removed has nothing left to show.
  if (QTreeWidgetItem* item = lvSubnets->topLevelItem(row)) lvSubnetsSelectItem(item);
}

void TSubnetTables::FillSubnetTable(const QString& maskText, bool subnetTable, bool rfc3021) {
  ClearSubnetTable();
  if (subnetTable) {
    const TSubnetTable table = BuildSubnetTable(maskText, rfc3021);
    pnlSubnetTableHeader->setText(table.header);
    QList<QTreeWidgetItem*> items;
    for (const TSubnetRow& r : table.rows)
      items << new QTreeWidgetItem(QStringList{r.mask, r.prefix, r.networks, r.hosts});
    lvSubnets->addTopLevelItems(items);
    FitReportColumns(lvSubnets);
    UpdateMinimumSize();
  }
  if (lvSubnets->topLevelItemCount() == 0) {
    pnlSubnetworksTableHeader->clear();
    ClearListView(lvNetworks);
  } else {
    SelectListItem(lvSubnets, 0);
  }
}

void TSubnetTables::ClearTables() {
  FClearing = true;
  ClearListView(lvSubnets);
  FClearing = false;
  ClearListView(lvNetworks);
}

void TSubnetTables::ClearSubnetTable() {
  ClearTables();
  pnlSubnetTableHeader->clear();
}

void TSubnetTables::SetNetwork(const QString& networkText, const QString& labelText) {
  FNetworkText = networkText;
  FNetworkLabelText = labelText;
}

void TSubnetTables::SetHostListAvailable(bool on) {
  FHostListAvailable = on;
  Showhostlist1->setEnabled(CanShowHostList());
}

void TSubnetTables::lvSubnetsSelectItem(QTreeWidgetItem* item) {
  if (!item) return;
  const TSubnetRow row{item->text(0), item->text(1), item->text(2), item->text(3)};
  FPrefixText = row.prefix;
  const TSubnetworkList list = BuildSubnetworkList(FNetworkText, FNetworkLabelText, row);
  ClearListView(lvNetworks);
  pnlSubnetworksTableHeader->setText(list.header);
  if (list.rows.empty()) return;
  QList<QTreeWidgetItem*> items;
  for (const TSubnetworkRow& r : list.rows)
    items << new QTreeWidgetItem(QStringList{r.network, r.hosts, r.number});
  lvNetworks->setUpdatesEnabled(false);
  lvNetworks->addTopLevelItems(items);
  FitReportColumns(lvNetworks);
  UpdateMinimumSize();
  lvNetworks->setUpdatesEnabled(true);
  SelectListItem(lvNetworks, 0);
}

std::vector<TSubnetworkRow> TSubnetTables::SelectedNetworkRows() const {
  std::vector<TSubnetworkRow> rows;
  for (int i = 0; i < lvNetworks->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = lvNetworks->topLevelItem(i);
    if (item->isSelected()) rows.push_back({item->text(0), item->text(1), item->text(2)});
  }
  return rows;
}

void TSubnetTables::pmNetworksPopup() {
  const std::size_t selected = SelectedNetworkRows().size();
  Selectall1->setEnabled(true);
  Copy1->setEnabled(selected > 0);
  Copyallcolumns1->setEnabled(selected > 0);
  Showhostlist1->setEnabled(CanShowHostList());
}

bool TSubnetTables::CanShowHostList() const {
  return FHostListAvailable && SelectedNetworkRows().size() == 1 &&
         FPrefixText != QLatin1String("/31");
}

void TSubnetTables::Selectall1Click() {
  SelectAllListItems(lvNetworks);
}

void TSubnetTables::Copy1Click() {
  const std::vector<TSubnetworkRow> rows = SelectedNetworkRows();
  if (rows.empty()) return;
  Services::Instance().SetClipboardText(NetworkColumnText(rows));
}

void TSubnetTables::Copyallcolumns1Click() {
  const std::vector<TSubnetworkRow> rows = SelectedNetworkRows();
  if (rows.empty()) return;
  Services::Instance().SetClipboardText(AllColumnsText(rows));
}

void TSubnetTables::ShowHostListForRow() {
  if (!FHostListAvailable) return;
  const std::vector<TSubnetworkRow> rows = SelectedNetworkRows();
  if (rows.empty()) return;
  const QString network = rows.front().network + FPrefixText;
  // The "more..." row and a missing prefix give no network: nothing to show.
  if (!ipv4host(network.toStdString()).is_valid()) return;
  emit hostListRequested(QStringLiteral("IP Host List for ") + network, network);
}

bool TSubnetTables::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lvNetworks && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ShowHostListForRow();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
