#pragma once
// The main window of Orvex Lite.

class QApplication;

// Builds the long-lived windows and runs the event loop.
int RunOrvex(QApplication& app);
