#include "shell/mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <memory>

#include "common/icons.h"
#include "common/platform.h"
#include "common/services.h"
#include "common/settingsstore.h"
#include "common/widgethelpers.h"
#include "hostlist/tfrmhostlist.h"
#include "ipcalc/tcipcalc.h"
#include "ipv4lib/ipv4.h"
#include "maskchart/subnettingdialog.h"
#include "shell/aboutbox.h"
#include "shell/optionsdialog.h"
#include "shell/termination.h"
#include "shell/tooltable.h"

#ifndef ORVEX_VERSION
#define ORVEX_VERSION ""
#endif

namespace {

const QString kSize = QStringLiteral("Size");
const QRect kDesignedPlace(364, 171, 792, 592);
constexpr int kSplashMs = 2000;

// The text widget an edit command works on, or nullptr.
QWidget* FocusedEdit() {
  QWidget* w = QApplication::focusWidget();
  if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();
  if (qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
      qobject_cast<QPlainTextEdit*>(w))
    return w;
  return nullptr;
}

// Runs an edit command (cut, copy, paste) on the focused text widget.
template <typename Command>
void OnFocusedEdit(Command command) {
  QWidget* w = FocusedEdit();
  if (auto* e = qobject_cast<QLineEdit*>(w)) command(e);
  if (auto* e = qobject_cast<QTextEdit*>(w)) command(e);
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) command(e);
}

}  // namespace

QList<QKeySequence> QuitShortcuts() {
  QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Quit);
  // Desktops without a Quit binding of their own (and the Windows key
  // scheme, which has none) still get the one Linux users reach for.
  if (keys.isEmpty()) keys << QKeySequence(Qt::CTRL | Qt::Key_Q);
  return keys;
}

TMainPlacement MainPlacement(const SettingsFile& ini, int screenWidth) {
  TMainPlacement p;
  p.rect = kDesignedPlace;
  if (ini.ReadBool(QStringLiteral("Options"), QStringLiteral("Recall Desktop Settings"), true)) {
    const int top = ini.ReadInteger(kSize, QStringLiteral("MainTop"), 0);
    int left = ini.ReadInteger(kSize, QStringLiteral("MainLeft"), 0);
    const int height = ini.ReadInteger(kSize, QStringLiteral("MainHeight"), 750);
    const int width = ini.ReadInteger(kSize, QStringLiteral("MainWidth"), 850);
    if (screenWidth < left + width) left = (screenWidth - width) / 2;
    p.rect = QRect(left, top, width, height);
  }
  p.centre = p.rect.top() == 0 && p.rect.left() == 0;
  return p;
}

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("TfrmMain"));
  setWindowTitle(QStringLiteral("Orvex Lite"));
  setWindowIcon(ProgramIcon(iiProgram));

  mdiArea = new QMdiArea;
  mdiArea->setObjectName(QStringLiteral("MDIClient"));
  mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea);

  tmrSplash = new QTimer(this);
  tmrSplash->setObjectName(QStringLiteral("tmrSplash"));
  tmrSplash->setInterval(kSplashMs);
  tmrSplash->setSingleShot(true);
  connect(tmrSplash, &QTimer::timeout, this, &TfrmMain::tmrSplashTimer);

  CreateActions();
  CreateToolBar();
  CreateMenus();
  statusBar()->setObjectName(QStringLiteral("StatusBar"));
  statusBar()->setSizeGripEnabled(true);

  FFocusConnection =
      connect(qApp, &QApplication::focusChanged, this, [this] { UpdateEditActions(); });
  UpdateEditActions();

  FormCreate();
}

TfrmMain::~TfrmMain() {
  // The focus moves while the base class destroys the children; by then
  // this is no main window any more.
  disconnect(FFocusConnection);
}

QAction* TfrmMain::NewAction(const char* name, const QString& caption, const QString& hint,
                             const QKeySequence& shortcut, int icon) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QLatin1String(name));
  SetHint(action, hint);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  if (icon >= 0) action->setIcon(ProgramIcon(icon));
  addAction(action);
  return action;
}

void TfrmMain::CreateActions() {
  for (const TToolInfo& tool : ToolTable()) {
    QAction* action =
        NewAction(tool.actionName, QLatin1String(tool.caption), QLatin1String(tool.hint),
                  QKeySequence(QLatin1String(tool.shortcut)), tool.icon);
    const int kind = tool.kind;
    connect(action, &QAction::triggered, this, [this, kind] { OpenToolWindow(kind); });
    FToolActions.append(action);
  }
  acExit = NewAction("acExit", QStringLiteral("Exit"), QStringLiteral("Exit|Exit Orvex"),
                     QKeySequence(), iiExit);
  acExit->setShortcuts(QuitShortcuts());
  EditCut1 = NewAction("EditCut1", QStringLiteral("Cu&t"),
                       QStringLiteral("Cut|Cuts the selection and puts it on the Clipboard"),
                       QKeySequence(QStringLiteral("Ctrl+X")), -1);
  EditCopy1 = NewAction("EditCopy1", QStringLiteral("&Copy"),
                        QStringLiteral("Copy|Copies the selection and puts it on the Clipboard"),
                        QKeySequence(QStringLiteral("Ctrl+C")), -1);
  EditPaste1 = NewAction("EditPaste1", QStringLiteral("&Paste"),
                         QStringLiteral("Paste|Inserts Clipboard contents"),
                         QKeySequence(QStringLiteral("Ctrl+V")), -1);
  WindowCascade1 = NewAction("WindowCascade1", QStringLiteral("Cascade"), QStringLiteral("Cascade"),
                             QKeySequence(), -1);
  WindowTileHorizontal1 = NewAction("WindowTileHorizontal1", QStringLiteral("Tile Horizontally"),
                                    QStringLiteral("Tile Horizontally"), QKeySequence(), -1);
  WindowTileVertical1 = NewAction("WindowTileVertical1", QStringLiteral("Tile Vertically"),
                                  QStringLiteral("Tile Vertically"), QKeySequence(), -1);
  acAbout = NewAction("acAbout", QStringLiteral("&About..."),
                      QStringLiteral("About|Program title, version number, and copyright"),
                      QKeySequence(Qt::Key_F12), iiAbout);
  acOptions = NewAction("acOptions", QStringLiteral("Options..."),
                        QStringLiteral("Options|Open options dialog"), QKeySequence(), iiOptions);
  acHelp = NewAction("acHelp", QStringLiteral("Help"), QStringLiteral("Help|Open help file"),
                     QKeySequence(Qt::Key_F1), iiHelp);
  acHowtoHelp =
      NewAction("acHowtoHelp", QStringLiteral("HowTo Help"),
                QStringLiteral("Help|Open HowTo hints"), QKeySequence(Qt::Key_F2), iiHowtoHelp);
  Alwaysontop1 = NewAction("Alwaysontop1", QStringLiteral("Always on Top"),
                           QStringLiteral("Stick|Stick Orvex on top of all desktop windows"),
                           QKeySequence(), -1);
  Alwaysontop1->setCheckable(true);
  ToggleToolbar = NewAction("ToggleToolbar", QStringLiteral("Toolbar"),
                            QStringLiteral("Toggle toolbar appearance"), QKeySequence(), -1);
  ToggleToolbar->setCheckable(true);
  ToggleToolbar->setChecked(true);

  connect(acExit, &QAction::triggered, this, &QWidget::close);
  connect(EditCut1, &QAction::triggered, this,
          [] { OnFocusedEdit([](auto* edit) { edit->cut(); }); });
  connect(EditCopy1, &QAction::triggered, this,
          [] { OnFocusedEdit([](auto* edit) { edit->copy(); }); });
  connect(EditPaste1, &QAction::triggered, this,
          [] { OnFocusedEdit([](auto* edit) { edit->paste(); }); });
  connect(WindowCascade1, &QAction::triggered, this, &TfrmMain::WindowCascade1Execute);
  connect(WindowTileHorizontal1, &QAction::triggered, this,
          &TfrmMain::WindowTileHorizontal1Execute);
  connect(WindowTileVertical1, &QAction::triggered, this, &TfrmMain::WindowTileVertical1Execute);
  connect(acAbout, &QAction::triggered, this, &TfrmMain::acAboutExecute);
  connect(acOptions, &QAction::triggered, this, &TfrmMain::acOptionsExecute);
  connect(acHelp, &QAction::triggered, this, &TfrmMain::acHelpExecute);
  connect(acHowtoHelp, &QAction::triggered, this, [] { Services::Instance().ShowHelp(500); });
  connect(Alwaysontop1, &QAction::triggered, this, &TfrmMain::Alwaysontop1Click);
  connect(ToggleToolbar, &QAction::triggered, this, &TfrmMain::ToggleToolbarClick);
}

void TfrmMain::CreateToolBar() {
  ToolBar1 = new QToolBar(QStringLiteral("Toolbar"), this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(24, 24));
  ToolBar1->toggleViewAction()->setVisible(false);
  addToolBar(Qt::TopToolBarArea, ToolBar1);

  ToolBar1->addActions(FToolActions);
  ToolBar1->addSeparator();
  ToolBar1->addAction(acOptions);
  tbtnStick = new QToolButton;
  tbtnStick->setObjectName(QStringLiteral("tbtnStick"));
  tbtnStick->setCheckable(true);
  tbtnStick->setAutoRaise(true);
  tbtnStick->setIcon(ProgramIcon(iiStick));
  tbtnStick->setIconSize(ToolBar1->iconSize());
  SetHint(tbtnStick, QStringLiteral("Stick|Keep Orvex on top of all desktop windows"));
  connect(tbtnStick, &QToolButton::clicked, this, &TfrmMain::tbtnStickClick);
  ToolBar1->addWidget(tbtnStick);
  ToolBar1->addSeparator();
  ToolBar1->addAction(acHelp);
  ToolBar1->addAction(acHowtoHelp);
  ToolBar1->addAction(acAbout);
  ToolBar1->addSeparator();
  ToolBar1->addAction(acExit);
  // On the tool bar the HowTo button names itself.
  if (QWidget* howto = ToolBar1->widgetForAction(acHowtoHelp))
    SetHint(howto, QStringLiteral("HowTo Help|Open HowTo hints"));
}

void TfrmMain::CreateMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  auto menu = [bar](const char* name, const QString& title, const QString& hint) {
    QMenu* m = bar->addMenu(title);
    m->setObjectName(QLatin1String(name));
    if (!hint.isEmpty()) SetHint(m->menuAction(), hint);
    return m;
  };
  File1 = menu("File1", QStringLiteral("&File"), QStringLiteral("File related commands"));
  File1->addAction(acExit);
  Start1 = menu("Start1", QStringLiteral("&Start"), QString());
  Start1->addActions(FToolActions);
  View1 = menu("View1", QStringLiteral("&View"), QStringLiteral("Window related commands"));
  View1->addAction(WindowCascade1);
  View1->addAction(WindowTileHorizontal1);
  View1->addAction(WindowTileVertical1);
  View1->addSeparator();
  View1->addAction(Alwaysontop1);
  View1->addAction(ToggleToolbar);
  View1->addSeparator();
  connect(View1, &QMenu::aboutToShow, this, &TfrmMain::UpdateWindowMenu);
  Tools1 = menu("Tools1", QStringLiteral("&Tools"), QStringLiteral("Open options dialog"));
  Tools1->addAction(acOptions);
  Help1 = menu("Help1", QStringLiteral("&Help"), QStringLiteral("Help topics"));
  Help1->addAction(acHelp);
  Help1->addAction(acHowtoHelp);
  Help1->addSeparator();
  Help1->addAction(acAbout);
  for (QMenu* m : {File1, Start1, View1, Tools1, Help1}) m->setToolTipsVisible(false);
}

void TfrmMain::UpdateWindowMenu() {
  for (QAction* a : FWindowItems) {
    View1->removeAction(a);
    a->deleteLater();
  }
  FWindowItems.clear();
  QMdiSubWindow* active = mdiArea->activeSubWindow();
  int n = 0;
  for (TcChild* child : ToolWindows()) {
    ++n;
    const QString prefix = n < 10 ? QStringLiteral("&%1 ").arg(n) : QStringLiteral("%1 ").arg(n);
    auto* item = new QAction(prefix + child->windowTitle(), View1);
    item->setObjectName(QStringLiteral("WindowItem%1").arg(n));
    item->setCheckable(true);
    item->setChecked(child == active);
    QPointer<TcChild> target(child);
    connect(item, &QAction::triggered, this, [this, target] {
      if (!target) return;
      if (target->isMinimized()) target->showNormal();
      mdiArea->setActiveSubWindow(target);
    });
    View1->addAction(item);
    FWindowItems.append(item);
  }
}

void TfrmMain::UpdateEditActions() {
  const bool edit = FocusedEdit() != nullptr;
  EditCut1->setEnabled(edit);
  EditCopy1->setEnabled(edit);
  EditPaste1->setEnabled(edit);
}

void TfrmMain::SetForms(TfrmLOptions* options, TfrmAbout* about) {
  frmLOptions = options;
  frmAbout = about;
}

void TfrmMain::SetSubnettingDialog(TfrmSubnetting* subnetting) {
  frmSubnetting = subnetting;
}

void TfrmMain::SetHostListForm(TfrmHostList* hostList) {
  frmHostList = hostList;
  if (!frmHostList) return;
  // The editor's progress shows in this window's status bar.
  frmHostList->StatusText = [this] { return statusBar()->currentMessage(); };
  frmHostList->SetStatusText = [this](const QString& text) {
    if (text.isEmpty())
      statusBar()->clearMessage();
    else
      statusBar()->showMessage(text);
    statusBar()->repaint();
  };
}

void TfrmMain::ConnectHandOvers(TcChild* child) {
  connect(child, &TcChild::calculatorRequested, this, &TfrmMain::OpenCalculator);
  if (!frmHostList) return;
  connect(child, &TcChild::hostListRequested, frmHostList, &TfrmHostList::Execute);
  if (auto* calc = qobject_cast<TcIpCalc*>(child)) calc->SetHostListAvailable(true);
}

void TfrmMain::FormCreate() {
  const TSettingsLocation loc = LocateSettings(QCoreApplication::applicationDirPath());
  FUserDataDir = loc.userDataDir;
  ProgramDriveType = loc.driveType;
  FIniFileName = loc.iniFileName;
  SetIniFileName(FIniFileName);

  const SettingsFile ini(FIniFileName);
  const QScreen* screen = QGuiApplication::primaryScreen();
  const TMainPlacement place = MainPlacement(ini, screen ? screen->geometry().width() : 1024);
  move(place.rect.topLeft());
  resize(place.rect.size());
  FCentreOnShow = place.centre;

  const QString fileVersion = QStringLiteral(ORVEX_VERSION);
  VersionText = VersionTextOf(fileVersion);
  BuildText = BuildTextOf(fileVersion, QStringLiteral(__DATE__));
  SplashPending = true;
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Restoring from the task bar is no new showing.
  if (!event->spontaneous()) FormShow();
}

void TfrmMain::FormShow() {
  if (!SplashPending) {
    if (frmAbout) frmAbout->close();
    return;
  }
  if (FCentreOnShow) {
    FCentreOnShow = false;
    if (const QScreen* s = screen()) {
      move(CentredIn(s->geometry(), size()));
    }
  }
  tmrSplash->start();
  if (frmAbout) {
    acAbout->setEnabled(false);
    frmAbout->ShowAsSplash(this);
  }
  SplashPending = false;
  if (frmAbout)
    frmAbout->SetVersionTexts(BuildText, QLatin1String(ipv4lib_version),
                              PortInfoText(ProgramDriveType));
  if (frmLOptions) {
    frmLOptions->SetSettingsFiles(FIniFileName, FUserDataDir);
    frmLOptions->ReadOptions(TfrmLOptions::rmLoad);
    const int pages = frmLOptions->StartupPages();
    for (const TToolInfo& tool : ToolTable())
      if (pages & tool.startupBit) OpenToolWindow(tool.kind);
  }
}

void TfrmMain::tmrSplashTimer() {
  tmrSplash->stop();
  if (frmAbout) frmAbout->EndSplash();
  acAbout->setEnabled(true);
}

QList<TcChild*> TfrmMain::ToolWindows() const {
  QList<TcChild*> list;
  for (QMdiSubWindow* w : mdiArea->subWindowList()) {
    // A closed window lingers hidden until it is deleted.
    if (auto* child = qobject_cast<TcChild*>(w); child && !child->isHidden()) list.append(child);
  }
  return list;
}

QAction* TfrmMain::ToolAction(int kind) const {
  // The actions were made in the order of the table.
  const TToolInfo* tool = FindTool(kind);
  return tool ? FToolActions.value(tool - ToolTable().data()) : nullptr;
}

void TfrmMain::OpenCalculator(const TCalcRequest& request) {
  if (TcChild* calc = OpenToolWindow(request.v6 ? wkIpv6Calc : wkIpCalc))
    calc->ShowAddress(request.address);
}

TcChild* TfrmMain::OpenToolWindow(int kind) {
  const TToolInfo* tool = FindTool(kind);
  if (!tool) return nullptr;
  TcChild* child = nullptr;
  try {
    TToolContext context;
    context.subnetting = frmSubnetting;
    child = tool->create(context);
  } catch (...) {
    child = nullptr;
  }
  if (!child) {
    ShowErrorBox(this, QStringLiteral("Unable to create a window."));
    return nullptr;
  }
  mdiArea->addSubWindow(child);
  child->FWindowKind = kind;
  child->FHelpContext = tool->helpTopic;
  static const TOptionsRec defaults;
  child->ApplyOptions(frmLOptions ? frmLOptions->Options() : defaults);
  child->setWindowIcon(ProgramIcon(tool->icon));
  ConnectHandOvers(child);
  child->show();
  // The area places a window wider or taller than itself partly above or
  // left of its edge, caption and system menu out of reach.
  if (child->x() < 0 || child->y() < 0) child->move(qMax(0, child->x()), qMax(0, child->y()));
  ArrangeNewToolWindow(child);
  return child;
}

void TfrmMain::ArrangeNewToolWindow(TcChild* child) {
  const QList<TcChild*> windows = ToolWindows();
  if (windows.size() == 1 && windows.first() == child && frmLOptions &&
      frmLOptions->Options().RecallDesktopSettings) {
    child->RestoreMaximized();
    return;
  }
  for (TcChild* w : windows)
    if (w->isMaximized() || w->isMinimized()) w->showNormal();
}

void TfrmMain::SetStayOnTop(bool on) {
  Qt::WindowFlags flags = windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, on);
  // Told to the native window directly: setWindowFlags would hide the
  // window and show it again, moving and activating it.
  overrideWindowFlags(flags);
  if (QWindow* w = windowHandle()) w->setFlags(flags);
}

void TfrmMain::tbtnStickClick() {
  FStick = !FStick;
  tbtnStick->setChecked(FStick);
  Alwaysontop1->setChecked(FStick);
  SetStayOnTop(FStick);
}

void TfrmMain::Alwaysontop1Click() {
  tbtnStickClick();
}

void TfrmMain::ToggleToolbarClick() {
  ToolBar1->setVisible(ToolBar1->isHidden());
  ToggleToolbar->setChecked(!ToolBar1->isHidden());
}

void TfrmMain::WindowCascade1Execute() {
  for (TcChild* w : ToolWindows()) {
    mdiArea->cascadeSubWindows();
    if (w->isMinimized()) w->showNormal();
  }
}

void TfrmMain::Tile(Qt::Orientation orientation) {
  QList<TcChild*> windows;
  for (TcChild* w : ToolWindows()) {
    if (w->isMinimized()) continue;
    if (w->isMaximized()) w->showNormal();
    windows.append(w);
  }
  if (windows.isEmpty()) return;
  const QRect area = mdiArea->viewport()->rect();
  const int n = int(windows.size());
  for (int i = 0; i < n; ++i) {
    QRect r;
    if (orientation == Qt::Vertical) {
      const int h = area.height() / n;
      r = QRect(0, i * h, area.width(), i == n - 1 ? area.height() - i * h : h);
    } else {
      const int w = area.width() / n;
      r = QRect(i * w, 0, i == n - 1 ? area.width() - i * w : w, area.height());
    }
    windows[i]->setGeometry(r);
  }
}

void TfrmMain::WindowTileHorizontal1Execute() {
  Tile(Qt::Vertical);
}

void TfrmMain::WindowTileVertical1Execute() {
  Tile(Qt::Horizontal);
}

void TfrmMain::acOptionsExecute() {
  if (!frmLOptions) return;
  frmLOptions->setWindowIcon(ProgramIcon(iiOptions));
  frmLOptions->exec();
  if (!frmLOptions->Accepted()) return;
  for (TcChild* w : ToolWindows()) {
    w->ApplyOptions(frmLOptions->Options());
    w->RefreshDisplay();
  }
}

void TfrmMain::acHelpExecute() {
  QMdiSubWindow* active = mdiArea->activeSubWindow();
  auto* child = qobject_cast<TcChild*>(active);
  Services::Instance().ShowHelp(child && !child->isHidden() ? child->HelpContext() : 1000);
}

void TfrmMain::acAboutExecute() {
  if (frmAbout) frmAbout->ExecOver(this);
}

void TfrmMain::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange && isMinimized() && frmAbout &&
      frmAbout->isVisible())
    frmAbout->close();
  QMainWindow::changeEvent(event);
}

void TfrmMain::EndBySystem() {
  for (TcChild* w : ToolWindows()) w->FClosingBySystem = true;
  close();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (!FClosed) {
    // A tool holding unsaved work may keep the program open.
    for (TcChild* w : ToolWindows()) {
      if (!w->QueryClose()) {
        event->ignore();
        return;
      }
    }
    FormClose();
  }
  event->accept();
}

void TfrmMain::FormClose() {
  SettingsFile ini(FIniFileName);
  bool anyMaximized = false;
  for (TcChild* w : ToolWindows()) {
    anyMaximized = anyMaximized || w->isMaximized();
    w->close();
  }
  // A maximized or minimized main window keeps the place it will return to.
  QRect place = frameGeometry();
  place.setSize(size());
  if (isMaximized() || isMinimized() || isFullScreen()) {
    const QPoint frameOffset = geometry().topLeft() - pos();
    place = QRect(normalGeometry().topLeft() - frameOffset, normalGeometry().size());
  }
  ini.WriteInteger(kSize, QStringLiteral("MainTop"), place.top());
  ini.WriteInteger(kSize, QStringLiteral("MainLeft"), place.left());
  ini.WriteInteger(kSize, QStringLiteral("MainHeight"), place.height());
  ini.WriteInteger(kSize, QStringLiteral("MainWidth"), place.width());
  ini.WriteBool(kSize, QStringLiteral("Maximized"), anyMaximized);
  FClosed = true;
  if (frmAbout) frmAbout->close();
  emit Closed();
}

TfrmMain* CreateOrvexWindows() {
  auto* frmMain = new TfrmMain;
  frmMain->SetSubnettingDialog(new TfrmSubnetting(frmMain));
  frmMain->SetHostListForm(new TfrmHostList(frmMain));
  auto* frmLOptions = new TfrmLOptions(frmMain);
  auto* frmAbout = new TfrmAbout(frmMain);
  frmMain->SetForms(frmLOptions, frmAbout);
  return frmMain;
}

int RunOrvex(QApplication& app) {
  // The title as an application name, not a display name: Qt appends a
  // display name to every window caption ("Error — Orvex Lite").
  QApplication::setApplicationName(QStringLiteral("Orvex Lite"));
  QApplication::setWindowIcon(ProgramIcon(iiProgram));
  // The launcher and its icon, for the desktop's task bar and window list.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.orvex"));
  // The help viewer may outlive the main window; the program ends with the
  // main window all the same.
  app.setQuitOnLastWindowClosed(false);
  std::unique_ptr<TfrmMain> frmMain(CreateOrvexWindows());
  QObject::connect(frmMain.get(), &TfrmMain::Closed, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  TfrmMain* main = frmMain.get();
  CloseOnTerminationSignals(main, [main] { main->EndBySystem(); });
  frmMain->show();
  return app.exec();
}
