#pragma once
// Base of the tool windows (IPv4 Calculator, Mask Chart, Integer Calculator):
// an MDI child that remembers its size and the maximized state in [Size].

#include <QMdiSubWindow>

#include "common/handover.h"

struct TOptionsRec;

// Window kinds; the number is also the suffix of the size keys ("Width1").
enum TWindowKind {
  wkNone = 0,
  wkIpCalc = 1,
  wkMaskChart = 3,
  wkIntConv = 6,
  wkIpv6Calc = 7,
  wkNetSets = 8,
  wkPlanner = 9
};

class TcChild : public QMdiSubWindow {
  Q_OBJECT
 public:
  explicit TcChild(QWidget* parent = nullptr);

  // Takes over the options; the first call also restores remembered state.
  virtual void ApplyOptions(const TOptionsRec& options) = 0;
  // Refreshes what the window shows after an options change.
  virtual void RefreshDisplay() {}
  // Help topic of this tool: the one the main window gave it on opening.
  virtual int HelpContext() const { return FHelpContext; }

  // Writes "Width<kind>" and "Height<kind>" of [Size]: the size the window
  // has, or returns to when it is minimized or maximized.
  void SaveWindowSize();
  // Restores the size when both keys are non-zero, never below
  // UsableMinimumSize (a window once tiled small comes back usable).
  void LoadWindowSize();
  // The least size at which the window is of use: its layout's minimum, and
  // for a window that scrolls its whole content, that content in full view.
  virtual QSize UsableMinimumSize() const;
  // Maximizes the window when [Size] "Maximized" is true.
  void RestoreMaximized();
  // Asks the user whether unsaved work may be dropped; true when the
  // window may close. A tool without such work just says yes.
  virtual bool QueryClose() { return true; }
  // Puts an address or network into the tool's address field and examines
  // it; a tool without one ignores it.
  virtual void ShowAddress(const QString& text) { Q_UNUSED(text); }

  int FWindowKind = wkNone;
  int FHelpContext = 0;
  bool FFirstApply = true;
  // The system is ending the program (logout, a signal): nobody is there to
  // answer a question, so the window closes without asking and keeps unsaved
  // work where it can.
  bool FClosingBySystem = false;

 signals:
  // Another tool is asked for: a calculator for an address or network, the
  // host list editor for a network. The main window opens it.
  void calculatorRequested(const TCalcRequest& request);
  void hostListRequested(const THostListRequest& request);

 protected:
  // For a tool window's destructor: its children outlive that part of the
  // object while they are torn down, so their signals must no longer reach
  // it and their events no longer pass its filter.
  void DetachChildren();
  // Saves the tool's own state; runs first when the window closes.
  virtual void SaveState() {}
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The last size in the normal state.
  QSize FNormalSize;
};
