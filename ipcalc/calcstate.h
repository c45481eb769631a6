#pragma once
// [MRIP] of the settings file: what the calculator keeps between sessions,
// loaded and saved without any window.

#include <QString>
#include <QStringList>

// The calculator's inputs as the user left them.
struct TCalcState {
  QStringList history;  // address history, oldest first
  QString address = QStringLiteral("10.0.0.0");
  QString viewerMask = QStringLiteral("255.255.255.0");   // the mask viewer's field
  QString networkMask = QStringLiteral("255.255.255.0");  // the network mask field
  int subnetRow = 0;                                      // selected row of the subnet table
  int subnetworkRow = 0;                                  // selected row of the subnetworks list
};

// Reads [MRIP]; a missing or unreadable file gives the defaults. The history
// ends at the first missing letter and holds each entry once.
TCalcState LoadCalcState(const QString& iniFileName);
// Writes the state after the write probe: the history entries worth keeping,
// then each text that reads as an address, network or dotted mask, then the
// two rows. Stops at the first failed write; false when anything failed.
bool SaveCalcState(const QString& iniFileName, const TCalcState& state);
