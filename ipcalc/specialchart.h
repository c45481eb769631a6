#pragma once
// The chart of special-purpose address blocks (page "Special Purpose IP
// Networks"), read from reserved.lst.

#include <QString>
#include <QWidget>
#include <cstdint>

class QTreeWidget;

class TSpecialChart : public QWidget {
  Q_OBJECT
 public:
  explicit TSpecialChart(QWidget* parent = nullptr);

  // Fills the chart from reserved.lst (working directory, beside the program,
  // share/orvex, then the copy built into the program).
  void LoadReservedList();
  // Selects the last block in chart order that contains the address and is no
  // smaller than the network of maskInUse; remembers it as FChartRow.
  void HighlightChartRow(const QString& addressText, uint32_t maskInUse);
  // Deselects the selected row, if any.
  void DeselectChart();

  QTreeWidget* lvIPv4Chart = nullptr;
  int FChartRow = 0;

 signals:
  // A block was picked (double-click or Enter): its address and mask texts.
  void blockPicked(const QString& addressText, const QString& maskText);
};
