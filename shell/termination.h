#pragma once
// Ending the program cleanly when the system asks it to.

class QWidget;
// Closes `window` as the user would (so everything is saved) when the
// process is asked to end: SIGTERM from the session at logout, SIGINT from
// Ctrl+C in a terminal, SIGHUP when the terminal goes away.
void CloseOnTerminationSignals(QWidget* window);
