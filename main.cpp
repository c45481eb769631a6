#include <QApplication>

#include "shell/mainwindow.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  return RunOrvex(app);
}
