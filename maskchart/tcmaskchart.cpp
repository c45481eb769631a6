#include "maskchart/tcmaskchart.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/optionsrec.h"
#include "common/reportlist.h"
#include "common/services.h"
#include "common/widgethelpers.h"
#include "ipv4lib/ipv4.h"
#include "maskchart/maskcolours.h"
#include "maskchart/maskrows.h"
#include "maskchart/subnettingdialog.h"

namespace {

const QString kTitle = QStringLiteral("IPv4 Mask Chart");
// The Subnetting dialog needs a mask that still has longer ones below /30.
constexpr uint32_t kMask30 = 0xFFFFFFFCu;
constexpr int kClientWidth = 425;
constexpr int kClientHeight = 387;

enum { ciMask = 0, ciPrefix = 1, ciHosts = 2, ciWildcard = 3, ciRemark = 4 };

bool CanSubnet(const QString& maskText) {
  return ipv4(maskText.toLatin1().toStdString()).value() < kMask30;
}

}  // namespace

TcMaskChart::TcMaskChart(QWidget* parent) : TcChild(parent) {
  setObjectName(QStringLiteral("TcMaskChart"));
  BuildLayout();
  ConnectHandlers();

  // The widest texts are those of the chart with both toggles on: the
  // columns fit them once, so toggling never moves a column edge.
  FClassASupernets = FRFC3021Subnets = true;
  BuildMaskChart();
  FitReportColumns(lvChartList);
  const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
  const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  const int client = qMax(kClientWidth, ViewWidthForColumns(lvChartList));
  resize(client + 2 * frame, kClientHeight + title + frame);
  setWindowTitle(kTitle);
}

TcMaskChart::~TcMaskChart() {
  DetachChildren();
}

void TcMaskChart::BuildLayout() {
  auto* background = new QWidget;
  background->setObjectName(QStringLiteral("pnlChartBackground"));
  auto* layout = new QVBoxLayout(background);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  ToolBar1 = new QToolBar(background);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  sbtnClassASupernets =
      AddToolBarToggle(ToolBar1, "sbtnClassASupernets", QStringLiteral("Class A Supernets"),
                       QStringLiteral("Toggle Class A supernet representation"));
  sbtnRFC3021Subnet =
      AddToolBarToggle(ToolBar1, "sbtnRFC3021Subnet", QStringLiteral("RFC3021 Subnet"),
                       QStringLiteral("Toggle RFC3021 subnet representation"));
  layout->addWidget(ToolBar1);

  lvChartList = new QTreeWidget(background);
  lvChartList->setObjectName(QStringLiteral("lvChartList"));
  SetupReportList(
      lvChartList,
      {QStringLiteral("Subnet Mask"), QStringLiteral("Prefix"), QStringLiteral("Number of Hosts "),
       QStringLiteral("Wildcard Bitmask"), QStringLiteral("Remark")},
      {95, 45, 95, 100, 58});
  lvChartList->setSelectionMode(QAbstractItemView::SingleSelection);
  lvChartList->headerItem()->setTextAlignment(ciHosts, Qt::AlignRight | Qt::AlignVCenter);
  SetHint(lvChartList,
          QStringLiteral("Right click for popup menu, doubleclick for Subnetting Table"));
  lvChartList->setContextMenuPolicy(Qt::CustomContextMenu);
  layout->addWidget(lvChartList, 1);

  edtCopy = new QLineEdit(background);
  edtCopy->setObjectName(QStringLiteral("edtCopy"));
  edtCopy->hide();

  pmChartMenu = new QMenu(this);
  pmChartMenu->setObjectName(QStringLiteral("pmChartMenu"));
  CopySubnetMask1 =
      AddMenuAction(pmChartMenu, "CopySubnetMask1", QStringLiteral("Copy Subnet Mask"),
                    QStringLiteral("Copy subnet mask to clipboard"));
  CopyPrefix1 = AddMenuAction(pmChartMenu, "CopyPrefix1", QStringLiteral("Copy Prefix"),
                              QStringLiteral("Copy prefix to clipboard"));
  CopyNumberofHosts1 =
      AddMenuAction(pmChartMenu, "CopyNumberofHosts1", QStringLiteral("Copy Number of Hosts"),
                    QStringLiteral("Copy number of hosts to clipboard"));
  CopyWildcardBitmask1 =
      AddMenuAction(pmChartMenu, "CopyWildcardBitmask1", QStringLiteral("Copy Wildcard Bitmask"),
                    QStringLiteral("Copy wildcard mask to clipboard"));
  N2 = pmChartMenu->addSeparator();
  N2->setObjectName(QStringLiteral("N2"));
  ClassASupernets1 =
      AddMenuAction(pmChartMenu, "ClassASupernets1", QStringLiteral("Class A Supernets"),
                    QStringLiteral("Toggle Class A Supernet representation"));
  ClassASupernets1->setCheckable(true);
  RFC3021Subnets1 = AddMenuAction(pmChartMenu, "RFC3021Subnets1", QStringLiteral("RFC3021 Subnets"),
                                  QStringLiteral("Toggle RFC3021 subnet representation"));
  RFC3021Subnets1->setCheckable(true);
  N1 = pmChartMenu->addSeparator();
  N1->setObjectName(QStringLiteral("N1"));
  ShowSubnetting1 =
      AddMenuAction(pmChartMenu, "ShowSubnetting1", QStringLiteral("Show Subnetting..."),
                    QStringLiteral("Show subnetting down from selected subnet mask"));

  setWidget(background);
}

void TcMaskChart::ConnectHandlers() {
  connect(sbtnClassASupernets, &QToolButton::clicked, this, &TcMaskChart::sbtnClassASupernetsClick);
  connect(sbtnRFC3021Subnet, &QToolButton::clicked, this, &TcMaskChart::sbtnRFC3021SubnetClick);
  connect(pmChartMenu, &QMenu::aboutToShow, this, &TcMaskChart::pmChartMenuPopup);
  connect(CopySubnetMask1, &QAction::triggered, this, &TcMaskChart::CopySubnetMask1Click);
  connect(CopyPrefix1, &QAction::triggered, this, &TcMaskChart::CopyPrefix1Click);
  connect(CopyNumberofHosts1, &QAction::triggered, this, &TcMaskChart::CopyNumberofHosts1Click);
  connect(CopyWildcardBitmask1, &QAction::triggered, this, &TcMaskChart::CopyWildcardBitmask1Click);
  connect(ClassASupernets1, &QAction::triggered, this, &TcMaskChart::ClassASupernets1Click);
  connect(RFC3021Subnets1, &QAction::triggered, this, &TcMaskChart::RFC3021Subnets1Click);
  connect(ShowSubnetting1, &QAction::triggered, this, &TcMaskChart::ShowSubnetting1Click);
  connect(lvChartList, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    pmChartMenu->popup(lvChartList->viewport()->mapToGlobal(pos));
  });
  connect(lvChartList, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem*, int) { ShowSubnetting1Click(); });
  // Only a newly selected row names itself; a deselection leaves the caption.
  connect(lvChartList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected) {
            if (!selected.isEmpty())
              lvChartListSelectItem(lvChartList->topLevelItem(selected.first().top()));
          });
  lvChartList->installEventFilter(this);
}

// ---------------------------------------------------------------- options

void TcMaskChart::ApplyOptions(const TOptionsRec& options) {
  FClassASupernets = options.EnableClassASupernets;
  FRFC3021Subnets = options.RFC3021Subnets;
  ShowToggles();
  FShowHints = options.EnableHints;
  SetShowHints(this, FShowHints);
  if (FFirstApply) {
    FFirstApply = false;
    if (options.RecallDesktopSettings) LoadWindowSize();
  }
  BuildMaskChart();
}

void TcMaskChart::RefreshDisplay() {
  ShowToggles();
  BuildMaskChart();
}

void TcMaskChart::ShowToggles() {
  ClassASupernets1->setChecked(FClassASupernets);
  sbtnClassASupernets->setChecked(FClassASupernets);
  RFC3021Subnets1->setChecked(FRFC3021Subnets);
  sbtnRFC3021Subnet->setChecked(FRFC3021Subnets);
}

void TcMaskChart::SetSubnettingDialog(TfrmSubnetting* dialog) {
  frmSubnetting = dialog;
}

// ---------------------------------------------------------------- the chart

void TcMaskChart::BuildMaskChart() {
  ClearListView(lvChartList);
  const std::vector<TMaskChartRow> rows = MaskChartRows(FClassASupernets, FRFC3021Subnets);
  QList<QTreeWidgetItem*> items;
  for (const TMaskChartRow& r : rows) {
    auto* item = new QTreeWidgetItem(QStringList{r.mask, r.prefix, r.hosts, r.wildcard, r.remark});
    item->setTextAlignment(ciHosts, Qt::AlignRight | Qt::AlignVCenter);
    items << item;
  }
  lvChartList->addTopLevelItems(items);
  for (size_t i = 0; i < rows.size(); ++i)
    SetRowColour(items[int(i)], MaskKindColour(rows[i].colourKind));
  SelectListItem(lvChartList, 0);
}

void TcMaskChart::lvChartListSelectItem(QTreeWidgetItem* item) {
  if (item) setWindowTitle(kTitle + QLatin1Char(' ') + item->text(ciMask));
}

QTreeWidgetItem* TcMaskChart::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = lvChartList->selectedItems();
  return selected.size() == 1 ? selected.first() : nullptr;
}

// ---------------------------------------------------------------- menu

void TcMaskChart::pmChartMenuPopup() {
  const QTreeWidgetItem* row = SelectedRow();
  for (QAction* a : {CopySubnetMask1, CopyPrefix1, CopyNumberofHosts1, CopyWildcardBitmask1})
    a->setEnabled(row != nullptr);
  ShowSubnetting1->setEnabled(row && CanSubnet(row->text(ciMask)));
  ClassASupernets1->setEnabled(true);
  RFC3021Subnets1->setEnabled(true);
}

void TcMaskChart::CopyCell(int column) {
  const QTreeWidgetItem* row = SelectedRow();
  if (!row) return;
  edtCopy->setText(row->text(column));
  edtCopy->selectAll();
  Services::Instance().SetClipboardText(edtCopy->selectedText());
}

void TcMaskChart::CopySubnetMask1Click() {
  CopyCell(ciMask);
}

void TcMaskChart::CopyPrefix1Click() {
  CopyCell(ciPrefix);
}

void TcMaskChart::CopyNumberofHosts1Click() {
  CopyCell(ciHosts);
}

void TcMaskChart::CopyWildcardBitmask1Click() {
  CopyCell(ciWildcard);
}

void TcMaskChart::ClassASupernets1Click() {
  FClassASupernets = !FClassASupernets;
  ClassASupernets1->setChecked(FClassASupernets);
  sbtnClassASupernets->setChecked(FClassASupernets);
  BuildMaskChart();
}

void TcMaskChart::sbtnClassASupernetsClick() {
  ClassASupernets1Click();
}

void TcMaskChart::RFC3021Subnets1Click() {
  FRFC3021Subnets = !FRFC3021Subnets;
  RFC3021Subnets1->setChecked(FRFC3021Subnets);
  sbtnRFC3021Subnet->setChecked(FRFC3021Subnets);
  BuildMaskChart();
}

void TcMaskChart::sbtnRFC3021SubnetClick() {
  RFC3021Subnets1Click();
}

void TcMaskChart::ShowSubnetting1Click() {
  const QTreeWidgetItem* row = SelectedRow();
  if (!row || !frmSubnetting) return;
  const QString mask = row->text(ciMask);
  frmSubnetting->FRFC3021Subnets = RFC3021Subnets1->isChecked();
  frmSubnetting->FMaskText = mask;
  SetShowHints(frmSubnetting, FShowHints);
  if (!CanSubnet(mask)) return;
  const QPointer<TcMaskChart> self(this);
  const QString picked = frmSubnetting->Execute();
  if (!self) return;
  // Not every window manager hands the keyboard back when a dialog closes.
  if (QWidget* top = window(); top && !top->isActiveWindow()) top->activateWindow();
  if (picked.isEmpty()) return;
  for (int i = 0; i < lvChartList->topLevelItemCount(); ++i) {
    if (lvChartList->topLevelItem(i)->text(ciMask) == picked) {
      SelectListItem(lvChartList, i);
      lvChartList->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

// ---------------------------------------------------------------- events

bool TcMaskChart::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lvChartList && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && SelectedRow()) {
      ShowSubnetting1Click();
      return true;
    }
  }
  return TcChild::eventFilter(watched, event);
}

void TcMaskChart::showEvent(QShowEvent* event) {
  TcChild::showEvent(event);
  // A new chart is ready for the keyboard once the MDI area has activated it.
  if (!FInitialFocusGiven) {
    FInitialFocusGiven = true;
    QTimer::singleShot(0, lvChartList, [this] { lvChartList->setFocus(Qt::OtherFocusReason); });
  }
}
