#pragma once
// The Address Planner tool window: parent blocks and a table of needs in,
// the networks each need gets, the free space left and what did not fit
// out. The plan is computed by the planner core; the needs table and the
// result lists are the models of planmodel.h, so the window only wires them
// to its controls, files and hand-overs.

#include <QString>

#include "common/tcchild.h"
#include "planner/planmodel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QDoubleSpinBox;
class QTableView;
class QTimer;
class QTreeView;

class TcPlanner : public TcChild {
  Q_OBJECT
 public:
  explicit TcPlanner(QWidget* parent = nullptr);
  ~TcPlanner() override;

  void ApplyOptions(const TOptionsRec& options) override;

  // Computes the plan of the window's inputs and shows the result.
  void Run();
  // The plan as the controls hold it; the cells that do not read are left
  // out and listed in *problems; *rowOfNeed gets each need's table row.
  planner::plan CurrentPlan(std::vector<TNeedCellProblem>* problems = nullptr,
                            std::vector<int>* rowOfNeed = nullptr) const;
  // Reads a plan file into the window; on failure shows why (when `quiet`
  // is false) and leaves the window as it was.
  bool LoadPlanFile(const QString& path, bool quiet = false);
  // Writes the window's plan to path; false after an error message.
  bool WritePlanFile(const QString& path);
  // The file dialogs of the three file buttons.
  void OpenPlan();
  void SavePlan();
  void ExportResult();
  // Asks before unsaved changes are discarded; true when the window may
  // close. Once answered, closing does not ask again. Closed by the system,
  // it asks nothing and keeps an unsaved plan with KeepUnsavedPlan.
  bool QueryClose() override;
  // Writes an unsaved plan to "unsaved-plan.json" (or "-2", "-3", ...) in
  // the settings folder and makes it the last file, so that it comes back,
  // unsaved and untitled, in the next planner window; the path, "" when
  // nothing was written.
  QString KeepUnsavedPlan();
  // Fills the result pop-up menu for a result row; false for no row.
  bool PrepareResultMenu(int row);

  bool IsModified() const { return FModified; }
  const QString& FileName() const { return FFileName; }
  const planner::result& Result() const { return FResult; }

  // Plans with at most this many needs are computed again as they are edited.
  static constexpr int kAutoRunLimit = 500;

  QLineEdit* edtPlanParents = nullptr;
  QComboBox* cbxPlanProfile = nullptr;
  QCheckBox* chkPlanRfc3021 = nullptr;
  QDoubleSpinBox* spnPlanGrowth = nullptr;
  QPushButton* btnPlanRun = nullptr;
  QTableView* tblPlanNeeds = nullptr;
  QPushButton* btnPlanAdd = nullptr;
  QPushButton* btnPlanRemove = nullptr;
  QTreeView* tblPlanResult = nullptr;
  QTreeView* lvPlanFree = nullptr;
  QTreeView* lvPlanProblems = nullptr;
  QLabel* lblPlanSummary = nullptr;
  QPushButton* btnPlanOpen = nullptr;
  QPushButton* btnPlanSave = nullptr;
  QPushButton* btnPlanExport = nullptr;
  QMenu* pmPlanResult = nullptr;
  QAction* miPlanCalc = nullptr;
  QAction* miPlanHostList = nullptr;
  QAction* miPlanCopyRow = nullptr;
  QTimer* tmrPlanRun = nullptr;

  TPlanNeedsModel* FNeeds = nullptr;
  TTextTableModel* FResultRows = nullptr;
  TTextTableModel* FFreeRows = nullptr;
  TTextTableModel* FProblemRows = nullptr;

 protected:
  void SaveState() override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  void ConnectHandlers();
  void SetPlan(const planner::plan& p);
  void Edited();
  void SetModified(bool modified);
  void ShowTitle();
  void AddNeed();
  void RemoveNeeds();
  void PasteNeeds();
  void ProfileChanged();
  void ResultPopup(const QPoint& pos);
  void OpenMenuRowInCalculator();
  void OpenMenuRowInHostList();
  void CopyMenuRow();
  void FitColumns();
  void ShowProblemCell(const QModelIndex& index);

  QString FIniFileName;
  QString FFileName;  // the plan file shown; "" for a new plan
  QString FLastFolder;
  bool FModified = false;
  bool FCloseConfirmed = false;
  // FFileName is a plan kept by KeepUnsavedPlan, not one the user saved.
  bool FKeptPlan = false;
  bool FWriting = false;  // the program itself fills the controls
  planner::plan FPlan;    // the plan of the result shown
  planner::result FResult;
  std::vector<TNeedCellProblem> FCellProblems;  // the first rows of the problem list
  int FMenuRow = -1;
  QChar FCsvDelimiter = QLatin1Char(';');
  int FMaxListItems = 4096;
  bool FShowHints = true;
};
