#include "ipcalc/addresschart.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/reportlist.h"
#include "common/widgethelpers.h"
#include "ipv4lib/ipv4host.h"

TSpecialChart::TSpecialChart(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  lvIPv4Chart = new QTreeWidget(this);
  lvIPv4Chart->setObjectName(QStringLiteral("lvIPv4Chart"));
  SetupReportList(
      lvIPv4Chart,
      {QStringLiteral("Address Block"), QStringLiteral("Usage"), QStringLiteral("Reference")},
      {100, 210, 80});
  lvIPv4Chart->setSelectionMode(QAbstractItemView::SingleSelection);
  lvIPv4Chart->setToolTip(QStringLiteral("Double click to pick selected network"));
  lvIPv4Chart->installEventFilter(this);
  layout->addWidget(lvIPv4Chart);
  connect(lvIPv4Chart, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem*, int) { lvIPv4ChartDblClick(); });
}

void TSpecialChart::LoadReservedList() {
  LoadReservedList(
      ReservedListCandidates(QDir::currentPath(), QCoreApplication::applicationDirPath()));
}

void TSpecialChart::LoadReservedList(const QStringList& candidates) {
  const QByteArray content = ReadReservedList(candidates, &FListFile);
  if (FListFile.isEmpty()) return;  // nothing readable: the chart stays as it is
  FEntries = ParseReservedList(content);
  ClearListView(lvIPv4Chart);
  QList<QTreeWidgetItem*> items;
  for (const TChartEntry& e : FEntries)
    items << new QTreeWidgetItem(QStringList{e.block, e.usage, e.reference});
  lvIPv4Chart->addTopLevelItems(items);
  // Usages may be long: only the block column grows, the page is narrow.
  FitReportColumns(lvIPv4Chart, 1);
}

void TSpecialChart::HighlightChartRow(const QString& addressText, uint32_t maskInUse) {
  DeselectChart();
  const int row = ChartHighlightIndex(FEntries, addressText, maskInUse);
  if (row < 0) return;
  SelectListItem(lvIPv4Chart, row);
  FChartRow = row;
}

void TSpecialChart::DeselectChart() {
  DeselectAllListItems(lvIPv4Chart);
}

void TSpecialChart::lvIPv4ChartDblClick() {
  const QList<QTreeWidgetItem*> selected = lvIPv4Chart->selectedItems();
  if (selected.isEmpty()) return;
  const ipv4host block(selected.first()->text(0).toStdString());
  emit blockPicked(QString::fromStdString(block.address_text()),
                   QString::fromStdString(block.mask_text()));
}

void TSpecialChart::lvIPv4ChartExit() {
  const int selected = SelectedListIndex(lvIPv4Chart);
  if (selected < 0)
    SelectListItem(lvIPv4Chart, -1);
  else if (selected != FChartRow)
    SelectListItem(lvIPv4Chart, FChartRow);
}

bool TSpecialChart::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lvIPv4Chart) {
    if (event->type() == QEvent::FocusOut) {
      lvIPv4ChartExit();
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        lvIPv4ChartDblClick();
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}
