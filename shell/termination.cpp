#include "shell/termination.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QObject>
#include <QSocketNotifier>
#include <csignal>

namespace {

int gSignalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  // Only what is safe in a signal handler: one byte down the pipe.
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(gSignalPipe[0], &byte, 1);
}

}  // namespace

void CloseOnTerminationSignals(QObject* owner, std::function<void()> end) {
  if (gSignalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(gSignalPipe[1], QSocketNotifier::Read, owner);
  // The notifier belongs to owner, so end never outlives it.
  QObject::connect(notifier, &QSocketNotifier::activated, owner, [end = std::move(end)] {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(gSignalPipe[1], &byte, 1);
    end();
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}
