// The main window: first placement, start-up windows, splash, stay on top,
// tool window sizes, closing, and every action once.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "common/settingsstore.h"
#include "common/widgethelpers.h"
#include "guifixture.h"
#include "ipcalc/tcipcalc.h"
#include "maskchart/subnettingdialog.h"
#include "maskchart/tcmaskchart.h"
#include "shell/aboutbox.h"
#include "shell/mainwindow.h"
#include "shell/optionsdialog.h"
#include "testfiles.h"

namespace {

class TDummyTool : public TcChild {
 public:
  void ApplyOptions(const TOptionsRec& o) override {
    options = o;
    ++applied;
  }
  void RefreshDisplay() override { ++refreshed; }
  int HelpContext() const override { return 3000; }
  TOptionsRec options;
  int applied = 0;
  int refreshed = 0;
};

// Closes whatever modal dialog an action opened.
void CloseModalsSoon() {
  QTimer::singleShot(50, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
}

}  // namespace

class TestMainWindow : public QObject, protected GuiFixture {
  Q_OBJECT
  std::unique_ptr<TfrmMain> FMain;

  // Writes the settings file, then builds and shows the windows.
  TfrmMain* Start(const QByteArray& ini = QByteArray()) {
    if (!ini.isNull()) WriteAll(FIni, ini);
    FMain.reset(CreateOrvexWindows());
    FMain->show();
    return FMain.get();
  }
  void EndSplash() { FMain->tmrSplashTimer(); }

 private slots:
  void init() { SetUpGui(); }
  void cleanup() {
    FMain.reset();
    TearDownGui();
  }

  void placement_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<bool>("centre");
    QTest::newRow("first start") << QByteArray() << 1280 << QRect(0, 0, 850, 750) << true;
    QTest::newRow("MainLeft=900 on 1280") << QByteArray("[Size]\nMainLeft=900\nMainTop=40\n")
                                          << 1280 << QRect(215, 40, 850, 750) << false;
    QTest::newRow("right edge on the screen edge")
        << QByteArray("[Size]\nMainLeft=430\nMainTop=0\n") << 1280 << QRect(430, 0, 850, 750)
        << false;
    QTest::newRow("wider than the screen")
        << QByteArray("[Size]\nMainWidth=1000\n") << 800 << QRect(-100, 0, 1000, 750) << false;
    QTest::newRow("Recall Desktop Settings=0")
        << QByteArray(
               "[Options]\nRecall Desktop Settings=0\nRecallDesktopSettings=1\n[Size]\n"
               "MainLeft=5\n")
        << 1280 << QRect(364, 171, 792, 592) << false;
    QTest::newRow("RecallDesktopSettings=0 ignored")
        << QByteArray("[Options]\nRecallDesktopSettings=0\n[Size]\nMainLeft=5\nMainTop=6\n") << 1280
        << QRect(5, 6, 850, 750) << false;
  }
  void placement() {
    QFETCH(QByteArray, ini);
    QFETCH(int, screenWidth);
    QFETCH(QRect, rect);
    QFETCH(bool, centre);
    WriteAll(FIni, ini);
    const TMainPlacement p = MainPlacement(SettingsFile(FIni), screenWidth);
    QCOMPARE(p.rect, rect);
    QCOMPARE(p.centre, centre);
  }

  void firstStartIsCentred() {
    TfrmMain* m = Start();
    QCOMPARE(m->size(), QSize(850, 750));
    QCOMPARE(m->pos(), QPoint((1280 - 850) / 2, (1024 - 750) / 2));
    QCOMPARE(m->FIniFileName, FIni);
    QCOMPARE(IniFileName(), FIni);
    QVERIFY(!QFileInfo(FIni).exists());  // nothing written before closing
  }

  void savedPlacePulledOntoScreen() {
    TfrmMain* m = Start("[Size]\nMainLeft=900\nMainWidth=850\nMainTop=30\n");
    QCOMPARE(m->pos(), QPoint(215, 30));
  }

  // A tool window wider than the area (792 wide here) starts at its left edge.
  void largeToolWindowKeepsCaptionInView() {
    TfrmMain* m = Start("[Options]\nRecall Desktop Settings=0\n[Size]\nWidth1=850\nHeight1=670\n");
    QCOMPARE(m->ToolWindows().size(), 1);
    QCOMPARE(m->ToolWindows()[0]->geometry(), QRect(0, 0, 850, 670));
  }

  void startupPages_data() {
    QTest::addColumn<int>("pages");
    QTest::addColumn<QList<int>>("kinds");
    QTest::newRow("0") << 0 << QList<int>{};
    QTest::newRow("1") << 1 << QList<int>{wkIpCalc};
    QTest::newRow("2") << 2 << QList<int>{wkMaskChart};
    QTest::newRow("130") << 130 << QList<int>{wkMaskChart, wkIntConv};
    QTest::newRow("131") << 131 << QList<int>{wkIpCalc, wkMaskChart, wkIntConv};
  }
  void startupPages() {
    QFETCH(int, pages);
    QFETCH(QList<int>, kinds);
    TfrmMain* m = Start("[Options]\nStartupPages=" + QByteArray::number(pages) + "\n");
    const QList<TcChild*> windows = m->ToolWindows();
    // Only the kinds this build has are opened, in order; never a placeholder.
    QList<int> opened;
    for (TcChild* w : windows) opened << w->FWindowKind;
    QCOMPARE(opened, kinds);
    // Every Mask Chart opens the one Subnetting dialog created at start.
    for (TcChild* w : windows)
      if (auto* chart = qobject_cast<TcMaskChart*>(w))
        QCOMPARE(chart->frmSubnetting.data(), m->frmSubnetting);
    QVERIFY(FServices->boxes.isEmpty());
  }

  void splashClosesAfterItsTimer() {
    TfrmMain* m = Start();
    TfrmAbout* about = m->frmAbout;
    QVERIFY(about->isVisible());
    QVERIFY(!about->btnOk->isVisibleTo(about));
    QVERIFY(!m->acAbout->isEnabled());
    QVERIFY(about->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(about->VerLabel->text().startsWith("Version 2.2.0 portable, Build 90 ("));
    QCOMPARE(about->lblIPv4Ver->text(), QString("IPv4 clib 2.2.5"));
    QVERIFY(about->lblPortInfo->text().startsWith("(Orvex runs from "));
    QTRY_VERIFY_WITH_TIMEOUT(!about->isVisible(), 4000);
    QVERIFY(m->acAbout->isEnabled());
    QVERIFY(about->btnOk->isVisibleTo(about));
    int shownHeight = 0;
    FServices->urlAnswer = false;
    QTimer::singleShot(50, [&] {
      shownHeight = about->height();
      QTest::mouseClick(about->LinkLabel, Qt::LeftButton);
      QVERIFY(about->isVisible());
      about->close();
    });
    m->acAbout->trigger();
    QCOMPARE(shownHeight, TfrmAbout::kDialogHeight);
    QCOMPARE(FServices->BoxTexts(), QStringList{"Unable to start http client."});
  }

  // Enter and Escape close the box and open nothing; Tab leads to the link,
  // where Enter opens the maker's page and the box stays.
  void aboutBoxKeys_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("links");
    QTest::newRow("Enter") << QList<int>{Qt::Key_Return} << true << 0;
    QTest::newRow("keypad Enter") << QList<int>{Qt::Key_Enter} << true << 0;
    QTest::newRow("Escape") << QList<int>{Qt::Key_Escape} << true << 0;
    QTest::newRow("Tab, Enter") << QList<int>{Qt::Key_Tab, Qt::Key_Return} << false << 1;
    QTest::newRow("Tab, Space") << QList<int>{Qt::Key_Tab, Qt::Key_Space} << false << 1;
    QTest::newRow("Tab, Escape") << QList<int>{Qt::Key_Tab, Qt::Key_Escape} << true << 0;
    QTest::newRow("Tab, Tab, Enter")
        << QList<int>{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return} << true << 0;
  }
  void aboutBoxKeys() {
    QFETCH(QList<int>, keys);
    QFETCH(bool, closed);
    QFETCH(int, links);
    TfrmMain* m = Start();
    EndSplash();
    TfrmAbout* about = m->frmAbout;
    // Twice: the second showing starts on "Ok" again, wherever Tab left the focus.
    for (int round = 0; round < 2; ++round) {
      bool okFirst = false, stillOpen = true;
      QTimer::singleShot(0, [&] {
        okFirst = about->focusWidget() == about->btnOk && about->btnOk->isDefault();
        for (int k : keys) QTest::keyClick(about->windowHandle(), Qt::Key(k));
        stillOpen = about->isVisible();
        about->close();
      });
      m->acAbout->trigger();
      QVERIFY(okFirst);
      QCOMPARE(!stillOpen, closed);
    }
    QCOMPARE(FServices->urls.size(), 2 * links);
    if (links) QCOMPARE(FServices->urls.first(), TfrmAbout::SoftwarePage());
  }

  // The link looks different while it holds the focus.
  void aboutBoxLinkShowsFocus() {
    TfrmMain* m = Start();
    EndSplash();
    TfrmAbout* about = m->frmAbout;
    QImage plain, focused;
    bool active = false;
    QTimer::singleShot(0, [&] {
      // Tab marks a keyboard focus change only in the active window.
      active = QTest::qWaitForWindowActive(about);
      plain = about->LinkLabel->grab().toImage();
      QTest::keyClick(about->windowHandle(), Qt::Key_Tab);
      if (about->LinkLabel->hasFocus()) focused = about->LinkLabel->grab().toImage();

      about->close();
    });
    m->acAbout->trigger();
    QVERIFY(active);
    QVERIFY(!focused.isNull());
    QVERIFY(plain != focused);
  }

  // Each line of the box shows whole in its label (the notice names the licence).
  void aboutBoxLinesFit_data() {
    QTest::addColumn<QString>("label");
    for (const char* name : {"Label1", "VerLabel", "lblIPv4Ver", "Label3", "Label4", "Label5",
                             "LinkLabel", "lblPortInfo"})
      QTest::newRow(name) << QString(name);
  }
  void aboutBoxLinesFit() {
    QFETCH(QString, label);
    TfrmMain* m = Start();
    auto* l = m->frmAbout->findChild<QLabel*>(label);
    QVERIFY(l);
    QVERIFY(!l->text().isEmpty());
    QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width(),
             qPrintable(l->text()));
    if (label == "Label3") QVERIFY(l->text().contains("GNU GPL v3 or later"));
  }

  // Ctrl+Q ends the program from the main window and from inside a tool window.
  void quitShortcut_data() {
    QTest::addColumn<int>("pages");
    QTest::newRow("no tool window") << 0;
    QTest::newRow("IPv4 Calculator address field") << 1;
    QTest::newRow("Integer Calculator") << 128;
  }
  void quitShortcut() {
    QFETCH(int, pages);
    QVERIFY(QuitShortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
    TfrmMain* m = Start("[Options]\nStartupPages=" + QByteArray::number(pages) + "\n");
    EndSplash();
    QVERIFY(QTest::qWaitForWindowActive(m));
    if (!m->ToolWindows().isEmpty()) {
      TcChild* tool = m->ToolWindows().first();
      m->mdiArea->setActiveSubWindow(tool);
      if (auto* calc = qobject_cast<TcIpCalc*>(tool)) calc->edtIPCAddress->setFocus();
      QVERIFY(tool->isAncestorOf(QApplication::focusWidget()));
    }
    QSignalSpy closed(m, &TfrmMain::Closed);
    QTest::keyClick(m->windowHandle(), Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!m->isVisible());
  }

  void minimizingClosesSplash() {
    TfrmMain* m = Start();
    QVERIFY(m->frmAbout->isVisible());
    m->showMinimized();
    QVERIFY(!m->frmAbout->isVisible());
  }

  void stayOnTopFromButtonAndMenu() {
    TfrmMain* m = Start();
    const QRect place = m->geometry();
    auto onTop = [m] { return bool(m->windowFlags() & Qt::WindowStaysOnTopHint); };
    QTest::mouseClick(m->tbtnStick, Qt::LeftButton);
    QVERIFY(m->FStick && onTop() && m->Alwaysontop1->isChecked() && m->tbtnStick->isChecked());
    m->Alwaysontop1->trigger();
    QVERIFY(!m->FStick && !onTop() && !m->Alwaysontop1->isChecked() && !m->tbtnStick->isChecked());
    QTest::mouseClick(m->tbtnStick, Qt::LeftButton);
    QVERIFY(m->FStick && onTop() && m->Alwaysontop1->isChecked());
    QVERIFY(m->isVisible());
    QCOMPARE(m->geometry(), place);
  }

  // A minimized or maximized window saves the size it returns to.
  void toolWindowSizeKeys_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("state");
    QTest::newRow("IPv4 Calculator") << int(wkIpCalc) << int(Qt::WindowNoState);
    QTest::newRow("Mask Chart minimized") << int(wkMaskChart) << int(Qt::WindowMinimized);
    QTest::newRow("Integer Calculator maximized") << int(wkIntConv) << int(Qt::WindowMaximized);
  }
  void toolWindowSizeKeys() {
    QFETCH(int, kind);
    QFETCH(int, state);
    SetIniFileName(FIni);
    const QString w = "Width" + QString::number(kind), h = "Height" + QString::number(kind);
    QMdiArea area;
    area.resize(1000, 900);
    area.show();
    auto* tool = new TDummyTool;
    area.addSubWindow(tool);
    tool->FWindowKind = kind;
    tool->show();
    tool->resize(800, 600);
    if (state != Qt::WindowNoState) tool->setWindowState(Qt::WindowStates(state));
    tool->close();
    QCOMPARE(SettingsFile(FIni).ReadInteger("Size", w, 0), 800);
    QCOMPARE(SettingsFile(FIni).ReadInteger("Size", h, 0), 600);

    auto* again = new TDummyTool;
    area.addSubWindow(again);
    again->FWindowKind = kind;
    again->resize(300, 200);
    SettingsFile(FIni).DeleteKey("Size", h);
    again->LoadWindowSize();  // a width alone changes nothing
    QCOMPARE(again->size(), QSize(300, 200));
    SettingsFile(FIni).WriteInteger("Size", h, 500);
    again->LoadWindowSize();
    QCOMPARE(again->size(), QSize(800, 500));
  }

  // A size saved small (tiled or cascaded into a small area) comes back at
  // least at the size the window is of use at; a larger one as it was.
  void restoredSizeMinimum_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QSize>("saved");
    QTest::addColumn<bool>("kept");
    const QList<QPair<const char*, int>> kinds{{"IPv4 Calculator", wkIpCalc},
                                               {"Mask Chart", wkMaskChart},
                                               {"Integer Calculator", wkIntConv}};
    for (const auto& [name, kind] : kinds) {
      QTest::addRow("%s 120x96", name) << kind << QSize(120, 96) << false;
      QTest::addRow("%s 1x1", name) << kind << QSize(1, 1) << false;
      QTest::addRow("%s 900x700", name) << kind << QSize(900, 700) << true;
    }
  }
  void restoredSizeMinimum() {
    QFETCH(int, kind);
    QFETCH(QSize, saved);
    QFETCH(bool, kept);
    const QByteArray k = QByteArray::number(kind);
    TfrmMain* m = Start("[Options]\nStartupPages=0\n[Size]\nWidth" + k + "=" +
                        QByteArray::number(saved.width()) + "\nHeight" + k + "=" +
                        QByteArray::number(saved.height()) + "\n");
    EndSplash();
    m->OpenToolWindow(kind);
    TcChild* w = m->ToolWindows().value(0);
    QVERIFY(w);
    if (kept) {
      QCOMPARE(w->size(), saved);
      return;
    }
    QVERIFY(w->width() > saved.width() && w->height() > saved.height());
    QCOMPARE(w->size(), w->size().expandedTo(w->minimumSizeHint()));
    // A window that scrolls as a whole shows all of it, not two scroll bars.
    if (auto* scroll = qobject_cast<QScrollArea*>(w->widget())) {
      QVERIFY(!scroll->horizontalScrollBar()->isVisible());
      QVERIFY(!scroll->verticalScrollBar()->isVisible());
    }
    // The keys keep meaning the window's size: closed now, it saves what it has.
    const QSize shown = w->size();
    w->close();
    const SettingsFile ini(FIni);
    QCOMPARE(QSize(ini.ReadInteger("Size", "Width" + QString(k), 0),
                   ini.ReadInteger("Size", "Height" + QString(k), 0)),
             shown);
  }

  // The first window comes back maximized only with desktop recall on; a
  // second one sets both to normal.
  void maximizedState_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("maximized");
    QTest::newRow("Maximized=1") << QByteArray("[Size]\nMaximized=1\n") << true;
    QTest::newRow("Maximized=1, RecallDesktopSettings=0")
        << QByteArray("[Size]\nMaximized=1\n[Options]\nRecallDesktopSettings=0\n") << false;
    QTest::newRow("Maximized=0") << QByteArray("[Size]\nMaximized=0\n") << false;
  }
  void maximizedState() {
    QFETCH(QByteArray, ini);
    QFETCH(bool, maximized);
    TfrmMain* m = Start(ini);
    EndSplash();
    QCOMPARE(m->ToolWindows().size(), 1);
    QCOMPARE(m->ToolWindows()[0]->isMaximized(), maximized);
    m->OpenToolWindow(wkIpCalc);
    QCOMPARE(m->ToolWindows().size(), 2);
    for (TcChild* w : m->ToolWindows()) QVERIFY(!w->isMaximized() && !w->isMinimized());
  }

  // A tool hands an address to the calculator of its family: a new window
  // each time, the address examined in it.
  void calculatorHandOver_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("v6");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");
    // The IPv4 Calculator moves the length of a network into its mask field.
    QTest::newRow("10.1.2.0/24") << "10.1.2.0/24" << false << int(wkIpCalc) << "edtIPCAddress"
                                 << "10.1.2.0";
    QTest::newRow("2001:db8::/48") << "2001:db8::/48" << true << int(wkIpv6Calc) << "edtV6Address"
                                   << "2001:db8::/48";
  }
  void calculatorHandOver() {
    QFETCH(QString, address);
    QFETCH(bool, v6);
    QFETCH(int, kind);
    QFETCH(QString, field);
    QFETCH(QString, shown);
    TfrmMain* m = Start();
    EndSplash();
    TcChild* from = m->ToolWindows().value(0);
    QVERIFY(from);
    const int before = m->ToolWindows().size();
    emit from->calculatorRequested(TCalcRequest{address, v6});
    QCOMPARE(m->ToolWindows().size(), before + 1);
    TcChild* calc = m->ToolWindows().last();
    QCOMPARE(calc->FWindowKind, kind);
    auto* edit = calc->findChild<QComboBox*>(field);
    QVERIFY(edit);
    QCOMPARE(edit->currentText(), shown);
    if (!v6) {
      auto* mask = calc->findChild<QLineEdit*>("edtNetworkMask");
      QVERIFY(mask);
      QCOMPARE(mask->text(), QStringLiteral("255.255.255.0"));
    }
  }

  void closingSavesPlaceAndToolWindows() {
    TfrmMain* m = Start();
    EndSplash();
    QSignalSpy closed(m, &TfrmMain::Closed);
    m->ToolWindows()[0]->showMaximized();
    m->move(100, 120);
    m->resize(900, 700);
    m->close();
    QCOMPARE(closed.count(), 1);
    QVERIFY(m->ToolWindows().isEmpty());
    const SettingsFile ini(FIni);
    QCOMPARE(ini.ReadInteger("Size", "MainLeft", -1), 100);
    QCOMPARE(ini.ReadInteger("Size", "MainTop", -1), 120);
    QCOMPARE(ini.ReadInteger("Size", "MainWidth", -1), 900);
    QCOMPARE(ini.ReadInteger("Size", "MainHeight", -1), 700);
    QCOMPARE(ini.ReadBool("Size", "Maximized", false), true);
    QVERIFY(ini.ValueExists("Size", "Width1"));
  }

  void arrangeCommands_data() {
    QTest::addColumn<QString>("action");
    QTest::newRow("Cascade") << "WindowCascade1";
    QTest::newRow("Tile Horizontally") << "WindowTileHorizontal1";
    QTest::newRow("Tile Vertically") << "WindowTileVertical1";
  }
  void arrangeCommands() {
    QFETCH(QString, action);
    TfrmMain* m = Start("[Options]\nStartupPages=0\n");
    EndSplash();
    for (int i = 0; i < 3; ++i) m->OpenToolWindow(wkIpCalc);
    QList<TcChild*> w = m->ToolWindows();
    w[2]->showMinimized();
    m->findChild<QAction*>(action)->trigger();
    const QRect area = m->mdiArea->viewport()->rect();
    if (action == "WindowCascade1") {
      for (TcChild* c : w) QVERIFY(!c->isMinimized());
      QVERIFY(w[0]->pos() != w[1]->pos());
    } else {
      const bool horizontal = action == "WindowTileHorizontal1";
      QVERIFY(w[2]->isMinimized());  // minimized windows keep their place
      QVERIFY(w[0]->geometry().intersected(w[1]->geometry()).isEmpty());
      for (int i = 0; i < 2; ++i)
        QCOMPARE(horizontal ? w[i]->width() : w[i]->height(),
                 horizontal ? area.width() : area.height());
    }
  }

  void acceptedOptionsReachEveryToolWindow() {
    TfrmMain* m = Start("[Options]\nStartupPages=0\n");
    EndSplash();
    QList<TDummyTool*> tools{new TDummyTool, new TDummyTool};
    for (TDummyTool* t : tools) {
      m->mdiArea->addSubWindow(t);
      t->show();
    }
    QTimer::singleShot(50, [m] {
      m->frmLOptions->clbGeneral->item(giEnableHints)->setCheckState(Qt::Unchecked);
      m->frmLOptions->btnOk->click();
    });
    m->acOptions->trigger();
    for (TDummyTool* t : tools) {
      QCOMPARE(t->applied, 1);
      QCOMPARE(t->refreshed, 1);
      QVERIFY(!t->options.EnableHints);
    }
  }

  void helpFollowsActiveTool() {
    TfrmMain* m = Start("[Options]\nStartupPages=0\n");
    m->acHelp->trigger();
    m->acHowtoHelp->trigger();
    auto* tool = new TDummyTool;
    m->mdiArea->addSubWindow(tool);
    tool->show();
    m->mdiArea->setActiveSubWindow(tool);
    m->acHelp->trigger();
    QCOMPARE(FServices->helpTopics, (QList<int>{1000, 500, 3000}));
  }

  void toolbarToggle() {
    TfrmMain* m = Start();
    m->ToggleToolbar->trigger();
    QVERIFY(m->ToolBar1->isHidden() && !m->ToggleToolbar->isChecked());
    m->ToggleToolbar->trigger();
    QVERIFY(!m->ToolBar1->isHidden() && m->ToggleToolbar->isChecked());
  }

  // Every menu item and tool bar button once; Exit last.
  void everyActionOnce() {
    TfrmMain* m = Start();
    EndSplash();
    m->OpenToolWindow(wkIpCalc);
    for (QAction* menuAction : m->menuBar()->actions()) {
      QMenu* menu = menuAction->menu();
      QVERIFY(menu);
      emit menu->aboutToShow();
      for (QAction* a : menu->actions()) {
        if (a->isSeparator() || !a->isEnabled() || a == m->acExit) continue;
        CloseModalsSoon();
        a->trigger();
      }
    }
    for (QAction* a : m->ToolBar1->actions()) {
      auto* button = qobject_cast<QToolButton*>(m->ToolBar1->widgetForAction(a));
      if (!button || !button->isEnabled() || a == m->acExit) continue;
      CloseModalsSoon();
      QTest::mouseClick(button, Qt::LeftButton);
    }
    QVERIFY(m->isVisible());
    QVERIFY(m->ToolAction(wkMaskChart)->isEnabled() && m->ToolAction(wkIntConv)->isEnabled());
    QList<int> opened;
    for (TcChild* w : m->ToolWindows()) opened << w->FWindowKind;
    QVERIFY(opened.contains(wkIntConv));
    QVERIFY(FServices->boxes.isEmpty());
    QSignalSpy closed(m, &TfrmMain::Closed);
    QTest::mouseClick(m->ToolBar1->widgetForAction(m->acExit), Qt::LeftButton);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!m->isVisible());
  }
};

int main(int argc, char** argv) {
  // A 1280 x 1024 screen whatever the machine, so placements are exact.
  QTemporaryDir config;
  const QString json = config.filePath("screen.json");
  QFile f(json);
  if (!f.open(QIODevice::WriteOnly)) return 2;
  f.write(R"({"screens":[{"name":"main","x":0,"y":0,"width":1280,"height":1024,)"
          R"("logicalDpi":96,"logicalBpi":96,"dpr":1}]})");
  f.close();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(json));
  QApplication app(argc, argv);
  TestMainWindow test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
