#include "ipcalc/subnettables.h"

TSubnetTables::TSubnetTables(QWidget* parent) : QWidget(parent) {}
void TSubnetTables::FillSubnetTable(const QString&, bool, bool) {}
void TSubnetTables::ClearTables() {}
void TSubnetTables::ClearSubnetTable() {}
void TSubnetTables::SetHostListAvailable(bool) {}
