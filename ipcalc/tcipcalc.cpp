#include "ipcalc/tcipcalc.h"

TcIpCalc::TcIpCalc(QWidget* parent) : TcChild(parent) {}
void TcIpCalc::ApplyOptions(const TOptionsRec&) { FFirstApply = false; }
void TcIpCalc::SaveState() {}
