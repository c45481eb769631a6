#pragma once
// The chart of special-purpose address blocks (page "Special Purpose IP
// Networks"), read from reserved.lst.

#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "ipcalc/reservedlist.h"

class QTreeWidget;

class TSpecialChart : public QWidget {
  Q_OBJECT
 public:
  explicit TSpecialChart(QWidget* parent = nullptr);

  // Fills the chart from reserved.lst (working directory, beside the program,
  // share/orvex, then the copy built into the program).
  void LoadReservedList();
  // Fills the chart from the first of these files that opens.
  void LoadReservedList(const QStringList& candidates);
  // Selects the last block in chart order that contains the address and is no
  // smaller than the network of maskInUse; remembers it as FChartRow.
  void HighlightChartRow(const QString& addressText, uint32_t maskInUse);
  // Deselects the selected row, if any.
  void DeselectChart();
  // Picks the selected block (double-click, Enter): emits blockPicked.
  void lvIPv4ChartDblClick();
  // Focus left the chart: the highlighted row becomes the selection again.
  void lvIPv4ChartExit();

  QTreeWidget* lvIPv4Chart = nullptr;
  int FChartRow = 0;
  // The rows shown, in chart order.
  std::vector<TChartEntry> FEntries;
  // The file the chart was read from ("" when none could be opened).
  QString FListFile;

 signals:
  // A block was picked (double-click or Enter): its address and mask texts.
  void blockPicked(const QString& addressText, const QString& maskText);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
