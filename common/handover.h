#pragma once
// What one tool hands to another through the main window: plain values, so
// that neither tool needs the other's windows.

#include <QChar>
#include <QString>

// What a calculator hands over when it opens the host list editor.
struct THostListRequest {
  QString title;        // "IP Host List for ..."
  QString networkText;  // "192.168.1.0  255.255.255.0", "10.0.1.0/24"
  QChar csvDelimiter = QLatin1Char(';');
  int maxListItems = 4096;
  bool showHints = true;
  QString examinedAddress;  // the row to highlight; "" for none
};

// What a tool hands over when it opens an address or network in a
// calculator: the IPv6 Calculator for an IPv6 text, the IPv4 one otherwise.
struct TCalcRequest {
  QString address;  // "10.0.0.0/24", "192.168.1.7", "2001:db8::/48"
  bool v6 = false;
};
