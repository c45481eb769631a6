#include "ipcalc/specialchart.h"

TSpecialChart::TSpecialChart(QWidget* parent) : QWidget(parent) {}
void TSpecialChart::LoadReservedList() {}
void TSpecialChart::HighlightChartRow(const QString&, uint32_t) {}
void TSpecialChart::DeselectChart() {}
