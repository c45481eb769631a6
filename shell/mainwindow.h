#pragma once
// The main window of Orvex Lite: a multiple-document window holding the tool
// windows, with the program's menus, tool bar, status bar and actions.

#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QString>

#include "common/tcchild.h"

class QAction;
class QApplication;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;
class TcIpCalc;
class TfrmAbout;
class TfrmHostList;
class TfrmLOptions;
class TfrmSubnetting;
class SettingsFile;

// Where the main window goes at start: the saved place and size when desktop
// recall is on (pulled back onto a screen narrower than its right edge),
// otherwise the designed place. `centre` is set when the window is to be
// centred on the screen at its first showing.
struct TMainPlacement {
  QRect rect;
  bool centre = false;
};
TMainPlacement MainPlacement(const SettingsFile& ini, int screenWidth);

// The keys of "Exit": the desktop's Quit shortcut, Ctrl+Q where it has none.
QList<QKeySequence> QuitShortcuts();

class TfrmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  // Hands over the long-lived dialogs created after the main window.
  void SetForms(TfrmLOptions* options, TfrmAbout* about);
  // Hands over the Subnetting dialog that every Mask Chart opens.
  void SetSubnettingDialog(TfrmSubnetting* subnetting);
  // Hands over the host list editor; calculators opened later can open it.
  void SetHostListForm(TfrmHostList* hostList);

  // Opens a new window of the tool of kind `kind`; a kind no tool has
  // opens nothing.
  // Opens a new window of the tool; nullptr when it could not be made.
  TcChild* OpenToolWindow(int kind);
  // Closes the program for the system (logout, a termination signal): no
  // window asks anything; unsaved work is kept where a tool can keep it.
  void EndBySystem();
  // Opens a new calculator of the request's family on its address.
  void OpenCalculator(const TCalcRequest& request);
  // The action that opens the tool of kind `kind`, nullptr for none.
  QAction* ToolAction(int kind) const;
  void ArrangeNewToolWindow(TcChild* child);
  void SetStayOnTop(bool on);
  QList<TcChild*> ToolWindows() const;

  void tbtnStickClick();
  void Alwaysontop1Click();
  void ToggleToolbarClick();
  void tmrSplashTimer();
  void WindowCascade1Execute();
  void WindowTileHorizontal1Execute();
  void WindowTileVertical1Execute();
  void acOptionsExecute();
  void acHelpExecute();
  void acAboutExecute();

  QString FIniFileName;
  QString FUserDataDir;
  bool FStick = false;

  int ProgramDriveType = 0;
  QString VersionText;
  QString BuildText;
  bool SplashPending = false;

  QMdiArea* mdiArea;
  QToolBar* ToolBar1;
  QToolButton* tbtnStick;
  QMenu* File1;
  QMenu* Start1;
  QMenu* View1;
  QMenu* Tools1;
  QMenu* Help1;
  QAction* acExit;
  QAction* EditCut1;
  QAction* EditCopy1;
  QAction* EditPaste1;
  QAction* WindowCascade1;
  QAction* WindowTileHorizontal1;
  QAction* WindowTileVertical1;
  QAction* Alwaysontop1;
  QAction* ToggleToolbar;
  QAction* acAbout;
  QAction* acOptions;
  QAction* acHelp;
  QAction* acHowtoHelp;
  QTimer* tmrSplash;

  TfrmLOptions* frmLOptions = nullptr;
  TfrmAbout* frmAbout = nullptr;
  TfrmSubnetting* frmSubnetting = nullptr;
  TfrmHostList* frmHostList = nullptr;

 signals:
  // The main window has closed and saved its place: the program ends.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void FormClose();
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void UpdateWindowMenu();
  void UpdateEditActions();
  void Tile(Qt::Orientation orientation);
  // Lets a calculator open the host list editor, from its number of hosts
  // and from its subnetworks list.
  void ConnectHandOvers(TcChild* child);
  QAction* NewAction(const char* name, const QString& caption, const QString& hint,
                     const QKeySequence& shortcut, int icon);
  bool FCentreOnShow = false;
  bool FClosed = false;
  QList<QAction*> FWindowItems;
  // The action of each tool, in the order of the tool table.
  QList<QAction*> FToolActions;
  QMetaObject::Connection FFocusConnection;
};

// Creates the main window and the long-lived dialogs in their order.
TfrmMain* CreateOrvexWindows();
// Sets the application up, shows the main window and runs the event loop.
int RunOrvex(QApplication& app);
