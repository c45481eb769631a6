#include "ipcalc/multicastpanel.h"

TMulticastPanel::TMulticastPanel(QWidget* parent) : QWidget(parent) {}
void TMulticastPanel::SetIanaLink(const QString&) {}
void TMulticastPanel::ShowGroup(const QString&, const QString&) {}
void TMulticastPanel::RefreshMulticastPanel() {}
