#pragma once
// Ending the program cleanly when the system asks it to.

#include <functional>

class QObject;
// Runs `end` in the event loop of `owner` when the process is asked to end:
// SIGTERM from the session at logout, SIGINT from Ctrl+C in a terminal,
// SIGHUP when the terminal goes away. `end` closes the program as the user
// would, so that everything is saved, but without asking anything.
void CloseOnTerminationSignals(QObject* owner, std::function<void()> end);
