#include "shell/mainwindow.h"

#include <QApplication>

int RunOrvex(QApplication& app) {
  return app.exec();
}
