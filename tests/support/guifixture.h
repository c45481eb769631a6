#pragma once
// What every window test starts from: a settings folder of its own (the
// program finds it through XDG_CONFIG_HOME, the tool windows through the
// settings file name), recording services, the C locale and, for tool
// windows, an MDI area to live in. A test class derives from GuiFixture,
// calls SetUpGui() in init() and TearDownGui() in cleanup(), after closing
// the windows it made itself.

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "common/settingsstore.h"
#include "recordingservices.h"

class GuiFixture {
 protected:
  // A new, empty settings folder holding the folder the program keeps its
  // settings file in; the recording services installed. The folder is in
  // memory where the machine allows: every window that closes writes the
  // settings file, each write is synced to the disk, and on some disks even
  // making and removing a folder takes milliseconds.
  void SetUpGui() {
    FDir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/orvex-XXXXXX"));
    if (!FDir->isValid())
      FDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/orvex-XXXXXX"));
    QVERIFY(FDir->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(FDir->path()));
    QVERIFY(QDir().mkpath(FDir->filePath(QStringLiteral("orvex"))));
    FIni = FDir->filePath(QStringLiteral("orvex/orvex.ini"));
    SetIniFileName(FIni);
    // Texts and numbers read the same whatever the machine's language.
    QLocale::setDefault(QLocale::c());
    FServices = std::make_unique<RecordingServices>();
  }

  // An MDI area of the given size on the screen for tool windows; `active`
  // when the test needs focus changes, which only an active window sees.
  void ShowArea(int width, int height, bool active = false) {
    FArea = std::make_unique<QMdiArea>();
    FArea->resize(width, height);
    FArea->show();
    if (active) {
      FArea->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(FArea.get()));
    } else {
      QVERIFY(QTest::qWaitForWindowExposed(FArea.get()));
    }
  }

  // Makes the settings folder the working folder until TearDownGui(): the
  // program reads reserved.lst from the working folder first.
  void WorkInFolder() {
    if (FOldCurrent.isEmpty()) FOldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(FDir->path()));
  }

  // Closes the area with its windows and removes the services and the folder.
  void TearDownGui() {
    FArea.reset();
    FServices.reset();
    if (!FOldCurrent.isEmpty()) QDir::setCurrent(FOldCurrent);
    FOldCurrent.clear();
    FDir.reset();
  }

  std::unique_ptr<QTemporaryDir> FDir;
  std::unique_ptr<RecordingServices> FServices;
  std::unique_ptr<QMdiArea> FArea;
  QString FIni;  // the settings file, where the main window looks for it

 private:
  QString FOldCurrent;
};
