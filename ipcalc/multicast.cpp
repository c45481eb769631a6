#include "ipcalc/multicast.h"

#include "ipv4lib/ipv4.h"

QString MulticastScopeText(uint32_t, uint32_t) { return QString(); }
QString MulticastMacText(const ipv4&, int) { return QString(); }
