#pragma once
// The Network Sets tool window: two lists of addresses, networks and ranges,
// an operation and a notation in; the result rows, their count and the lines
// that did not read out. Large lists are read and computed on a worker
// thread with a progress bar and Cancel; what the lists hold and what a run
// gives comes from the set engine (netsets/setjob.h).

#include <QFutureWatcher>
#include <QString>
#include <atomic>
#include <memory>

#include "common/tcchild.h"
#include "netsets/setjob.h"

class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class TRowListView;
class TSetProblemModel;
class TSetResultModel;

// What the window keeps in [NetSets] of the settings file; never the lists.
struct TNetSetsState {
  int operation = 0;  // netsets::operation
  int notation = 0;   // netsets::notation
};
// Reads [NetSets]; a missing or unknown value gives the default.
TNetSetsState LoadNetSetsState(const QString& iniFileName);
// Writes [NetSets]; false when the file could not be written.
bool SaveNetSetsState(const QString& iniFileName, const TNetSetsState& state);

class TcNetSets : public TcChild {
  Q_OBJECT
 public:
  explicit TcNetSets(QWidget* parent = nullptr);
  ~TcNetSets() override;

  void ApplyOptions(const TOptionsRec& options) override;

  // Runs the chosen operation on the lists: at once for short lists, on a
  // worker thread from kThreadLines lines on. A run still going is cancelled.
  void Run();
  // Stops the run on the worker thread; its result is dropped.
  void CancelRun();
  // Whether a run is going on the worker thread.
  bool Running() const { return bool(FJob); }
  // The result shown (nullptr before the first run and after a cancel).
  const netsets::setresult* Result() const;

  // Lists of this many lines and more are read and computed off the GUI thread.
  static constexpr int kThreadLines = 100000;
  // Texts of this many characters and more are counted off the GUI thread.
  static constexpr int kThreadChars = 256 * 1024;

  QPlainTextEdit* edtSetA = nullptr;
  QPlainTextEdit* edtSetB = nullptr;
  QPushButton* btnSetOpenA = nullptr;
  QPushButton* btnSetOpenB = nullptr;
  QLabel* lblSetACount = nullptr;
  QLabel* lblSetBCount = nullptr;
  QComboBox* cbxSetOperation = nullptr;
  QComboBox* cbxSetNotation = nullptr;
  QPushButton* btnSetRun = nullptr;
  QProgressBar* pbSetProgress = nullptr;
  QPushButton* btnSetCancel = nullptr;
  TRowListView* lvSetResult = nullptr;
  QLabel* lblSetResultCount = nullptr;
  TRowListView* lvSetProblems = nullptr;
  QMenu* pmSetResult = nullptr;

 signals:
  // A run has ended and shows its result, or was cancelled.
  void runFinished();

 protected:
  void SaveState() override;

 private:
  // A run on the worker thread: the flag it polls and how far it got.
  struct TJob {
    std::atomic<bool> cancel{false};
    std::atomic<int> percent{0};
  };
  using TResultPtr = std::shared_ptr<netsets::setresult>;

  void BuildLayout();
  void ConnectHandlers();
  void ShowResult(TResultPtr result);
  void SetBusy(bool busy);
  void UpdateNotationEnabled();
  void OpenList(QPlainTextEdit* edit);
  void CountList(int which);
  void ResultPopup(const QPoint& pos);
  void CopyRows(bool selectedOnly);
  void CopyProblems();
  void SaveResult(bool csv);
  void OpenRowInCalculator(int row);

  QString FIniFileName;
  TSetResultModel* FResultModel = nullptr;
  TSetProblemModel* FProblemModel = nullptr;
  QFutureWatcher<TResultPtr>* FWatcher = nullptr;
  std::shared_ptr<TJob> FJob;
  QTimer* FProgressTimer = nullptr;
  // Counting of each list: debounced, large texts off the GUI thread; a
  // newer count makes an older one stale.
  QTimer* FCountTimer[2] = {};
  QFutureWatcher<netsets::list_counts>* FCountWatcher[2] = {};
  int FCountGeneration[2] = {};
};
