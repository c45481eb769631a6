#include "planner/tcplanner.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "common/icons.h"
#include "common/optionsrec.h"
#include "common/services.h"
#include "common/settingsstore.h"
#include "common/widgethelpers.h"

namespace {

const QString kTitle = QStringLiteral("Address Planner");
const QString kSection = QStringLiteral("Planner");
// A plan file is a few kilobytes; anything this large is no plan.
constexpr qint64 kMaxPlanFileSize = 64 * 1024 * 1024;
// Time after the last keystroke before a small plan is computed again.
constexpr int kRunDelayMs = 300;

const planner::profile kProfiles[] = {planner::profile::standard, planner::profile::aws,
                                      planner::profile::azure, planner::profile::gcp};

QTreeView* NewList(const char* name, QAbstractItemModel* model) {
  auto* v = new QTreeView;
  v->setObjectName(QLatin1String(name));
  v->setModel(model);
  v->setRootIsDecorated(false);
  v->setItemsExpandable(false);
  v->setUniformRowHeights(true);
  v->setAllColumnsShowFocus(true);
  v->setSelectionMode(QAbstractItemView::ExtendedSelection);
  v->setSelectionBehavior(QAbstractItemView::SelectRows);
  v->setEditTriggers(QAbstractItemView::NoEditTriggers);
  v->header()->setSectionsMovable(false);
  v->header()->setStretchLastSection(true);
  v->setAlternatingRowColors(true);
  // Right-aligned numbers would otherwise touch the text of the next column.
  v->setStyleSheet(QStringLiteral("QTreeView::item { padding-left: 3px; padding-right: 3px; }"));
  return v;
}

}  // namespace

TcPlanner::TcPlanner(QWidget* parent) : TcChild(parent) {
  FWindowKind = wkPlanner;
  FNeeds = new TPlanNeedsModel(this);
  FResultRows =
      new TTextTableModel(ResultHeaders(), {rcHosts, rcPrefix, rcCapacity, rcSpare, rcVlan}, this);
  FFreeRows = new TTextTableModel(FreeHeaders(), {1}, this);
  FProblemRows = new TTextTableModel(ProblemHeaders(), {}, this);
  BuildLayout();
  ConnectHandlers();
  ShowTitle();
  resize(820, 640);
}

TcPlanner::~TcPlanner() {
  DetachChildren();
}

// ---------------------------------------------------------------- layout

void TcPlanner::BuildLayout() {
  auto* background = new QWidget;
  background->setObjectName(QStringLiteral("pnlPlanBackground"));
  auto* main = new QVBoxLayout(background);

  auto* input = new QHBoxLayout;
  auto* parentsCaption = new QLabel(QStringLiteral("&Parents:"));
  edtPlanParents = new QLineEdit;
  edtPlanParents->setObjectName(QStringLiteral("edtPlanParents"));
  edtPlanParents->setMinimumWidth(
      edtPlanParents->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 18);
  edtPlanParents->setPlaceholderText(QStringLiteral("10.20.0.0/22, 2001:db8::/48"));
  SetHint(edtPlanParents, QStringLiteral("The networks to plan in, separated by commas"));
  parentsCaption->setBuddy(edtPlanParents);
  auto* profileCaption = new QLabel(QStringLiteral("P&rofile:"));
  cbxPlanProfile = new QComboBox;
  cbxPlanProfile->setObjectName(QStringLiteral("cbxPlanProfile"));
  for (planner::profile p : kProfiles)
    cbxPlanProfile->addItem(QLatin1String(planner::profile_name(p)));
  SetHint(cbxPlanProfile, QStringLiteral("Which addresses every subnet reserves"));
  profileCaption->setBuddy(cbxPlanProfile);
  chkPlanRfc3021 = new QCheckBox(QStringLiteral("RFC 3021 &links"));
  chkPlanRfc3021->setObjectName(QStringLiteral("chkPlanRfc3021"));
  SetHint(chkPlanRfc3021, QStringLiteral("Two hosts take a /31 instead of a /30"));
  auto* growthCaption = new QLabel(QStringLiteral("&Growth:"));
  spnPlanGrowth = new QDoubleSpinBox;
  spnPlanGrowth->setObjectName(QStringLiteral("spnPlanGrowth"));
  // Two decimals keep the margin of any plan file as it was written.
  spnPlanGrowth->setDecimals(2);
  spnPlanGrowth->setRange(0, planner::kMaxGrowth);
  spnPlanGrowth->setSuffix(QStringLiteral(" %"));
  SetHint(spnPlanGrowth, QStringLiteral("Added to every host count before sizing"));
  growthCaption->setBuddy(spnPlanGrowth);
  btnPlanRun =
      NewPushButton("btnPlanRun", QStringLiteral("P&lan"), QStringLiteral("Compute the plan"));
  input->addWidget(parentsCaption);
  input->addWidget(edtPlanParents, 1);
  input->addWidget(profileCaption);
  input->addWidget(cbxPlanProfile);
  input->addWidget(chkPlanRfc3021);
  input->addWidget(growthCaption);
  input->addWidget(spnPlanGrowth);
  input->addWidget(btnPlanRun);
  main->addLayout(input);

  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->setObjectName(QStringLiteral("splPlan"));
  splitter->setChildrenCollapsible(false);

  auto* needsBox = new QGroupBox(QStringLiteral("Needs"));
  needsBox->setObjectName(QStringLiteral("gbPlanNeeds"));
  auto* needsLayout = new QHBoxLayout(needsBox);
  tblPlanNeeds = new QTableView;
  tblPlanNeeds->setObjectName(QStringLiteral("tblPlanNeeds"));
  tblPlanNeeds->setModel(FNeeds);
  tblPlanNeeds->setSelectionBehavior(QAbstractItemView::SelectItems);
  tblPlanNeeds->setEditTriggers(QAbstractItemView::DoubleClicked |
                                QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed);
  tblPlanNeeds->verticalHeader()->setDefaultSectionSize(tblPlanNeeds->fontMetrics().height() + 8);
  tblPlanNeeds->horizontalHeader()->setStretchLastSection(true);
  // Room for a handful of needs before the table scrolls.
  tblPlanNeeds->setMinimumHeight(tblPlanNeeds->verticalHeader()->defaultSectionSize() * 5 +
                                 tblPlanNeeds->horizontalHeader()->sizeHint().height() + 4);
  tblPlanNeeds->installEventFilter(this);
  SetHint(tblPlanNeeds,
          QStringLiteral("A host count or a prefix length per need; paste \"name, hosts\" lines "
                         "with Ctrl+V"));
  const int digit = tblPlanNeeds->fontMetrics().horizontalAdvance(QLatin1Char('0'));
  const int widths[ncCount] = {12, 7, 6, 6, 14, 5, 14};
  for (int i = 0; i < ncCount; ++i) tblPlanNeeds->setColumnWidth(i, widths[i] * digit + 12);
  auto* needButtons = new QVBoxLayout;
  btnPlanAdd = NewPushButton("btnPlanAdd", QStringLiteral("&Add"), QStringLiteral("Add a need"));
  btnPlanRemove = NewPushButton("btnPlanRemove", QStringLiteral("Re&move"),
                                QStringLiteral("Remove the selected needs"));
  needButtons->addWidget(btnPlanAdd);
  needButtons->addWidget(btnPlanRemove);
  needButtons->addStretch(1);
  needsLayout->addWidget(tblPlanNeeds, 1);
  needsLayout->addLayout(needButtons);
  splitter->addWidget(needsBox);

  auto* resultBox = new QGroupBox(QStringLiteral("Result"));
  resultBox->setObjectName(QStringLiteral("gbPlanResult"));
  auto* resultLayout = new QVBoxLayout(resultBox);
  lblPlanSummary = new QLabel;
  lblPlanSummary->setObjectName(QStringLiteral("lblPlanSummary"));
  lblPlanSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblPlanSummary->setWordWrap(true);
  resultLayout->addWidget(lblPlanSummary);
  tblPlanResult = NewList("tblPlanResult", FResultRows);
  tblPlanResult->setContextMenuPolicy(Qt::CustomContextMenu);
  tblPlanResult->header()->setStretchLastSection(true);
  // The plan is what the window is for: a dozen rows in sight before the
  // lists under it get any more room.
  tblPlanResult->setMinimumHeight(tblPlanResult->fontMetrics().height() * 9);
  resultLayout->addWidget(tblPlanResult, 3);
  auto* lower = new QSplitter(Qt::Horizontal);
  lower->setObjectName(QStringLiteral("splPlanLists"));
  lower->setChildrenCollapsible(false);
  lvPlanFree = NewList("lvPlanFree", FFreeRows);
  lvPlanProblems = NewList("lvPlanProblems", FProblemRows);
  lower->addWidget(lvPlanFree);
  lower->addWidget(lvPlanProblems);
  lower->setStretchFactor(0, 1);
  lower->setStretchFactor(1, 2);
  resultLayout->addWidget(lower, 1);
  splitter->addWidget(resultBox);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 3);
  main->addWidget(splitter, 1);

  auto* files = new QHBoxLayout;
  btnPlanOpen =
      NewPushButton("btnPlanOpen", QStringLiteral("&Open..."), QStringLiteral("Open a saved plan"));
  btnPlanSave = NewPushButton("btnPlanSave", QStringLiteral("&Save..."),
                              QStringLiteral("Save the plan to a file"));
  btnPlanExport = NewPushButton("btnPlanExport", QStringLiteral("&Export CSV..."),
                                QStringLiteral("Write the result as a CSV file"));
  files->addWidget(btnPlanOpen);
  files->addWidget(btnPlanSave);
  files->addStretch(1);
  files->addWidget(btnPlanExport);
  main->addLayout(files);

  pmPlanResult = new QMenu(this);
  pmPlanResult->setObjectName(QStringLiteral("pmPlanResult"));
  miPlanCalc = AddMenuAction(pmPlanResult, "miPlanCalc", QStringLiteral("Open in IPv4 Calculator"));
  miPlanHostList =
      AddMenuAction(pmPlanResult, "miPlanHostList", QStringLiteral("Open IP Host List"));
  miPlanHostList->setIcon(ProgramIcon(iiHostList));
  miPlanCopyRow = AddMenuAction(pmPlanResult, "miPlanCopyRow", QStringLiteral("Copy row"));
  miPlanCopyRow->setIcon(ProgramIcon(iiCopy));

  tmrPlanRun = new QTimer(this);
  tmrPlanRun->setObjectName(QStringLiteral("tmrPlanRun"));
  tmrPlanRun->setSingleShot(true);
  tmrPlanRun->setInterval(kRunDelayMs);
  setWidget(background);
}

void TcPlanner::ConnectHandlers() {
  connect(btnPlanRun, &QPushButton::clicked, this, &TcPlanner::Run);
  connect(edtPlanParents, &QLineEdit::returnPressed, this, &TcPlanner::Run);
  // textEdited: only what the user types; the program's own writes are no edit.
  connect(edtPlanParents, &QLineEdit::textEdited, this, &TcPlanner::Edited);
  connect(cbxPlanProfile, &QComboBox::currentIndexChanged, this, &TcPlanner::ProfileChanged);
  connect(chkPlanRfc3021, &QCheckBox::toggled, this, [this] {
    if (!FWriting) Edited();
  });
  connect(spnPlanGrowth, &QDoubleSpinBox::valueChanged, this, [this] {
    if (!FWriting) Edited();
  });
  connect(FNeeds, &TPlanNeedsModel::needsEdited, this, [this] {
    if (!FWriting) Edited();
  });
  connect(btnPlanAdd, &QPushButton::clicked, this, &TcPlanner::AddNeed);
  connect(btnPlanRemove, &QPushButton::clicked, this, &TcPlanner::RemoveNeeds);
  connect(btnPlanOpen, &QPushButton::clicked, this, &TcPlanner::OpenPlan);
  connect(btnPlanSave, &QPushButton::clicked, this, &TcPlanner::SavePlan);
  connect(btnPlanExport, &QPushButton::clicked, this, &TcPlanner::ExportResult);
  connect(tmrPlanRun, &QTimer::timeout, this, &TcPlanner::Run);
  connect(tblPlanResult, &QWidget::customContextMenuRequested, this, &TcPlanner::ResultPopup);
  connect(lvPlanProblems, &QAbstractItemView::activated, this, &TcPlanner::ShowProblemCell);
  connect(miPlanCalc, &QAction::triggered, this, &TcPlanner::OpenMenuRowInCalculator);
  connect(miPlanHostList, &QAction::triggered, this, &TcPlanner::OpenMenuRowInHostList);
  connect(miPlanCopyRow, &QAction::triggered, this, &TcPlanner::CopyMenuRow);
}

// ---------------------------------------------------------------- options and state

void TcPlanner::ApplyOptions(const TOptionsRec& options) {
  FIniFileName = options.IniFileName.isEmpty() ? IniFileName() : options.IniFileName;
  FCsvDelimiter = options.CsvDelimiter;
  FMaxListItems = options.MaxListItems;
  FShowHints = options.EnableHints;
  SetShowHints(this, options.EnableHints);
  if (!FFirstApply) return;
  FFirstApply = false;
  const SettingsFile ini(FIniFileName);
  planner::plan defaults;
  const QString key = ini.ReadString(kSection, QStringLiteral("Profile"), QString());
  if (!planner::profile_from_key(key.toStdString(), &defaults.prof))
    defaults.prof = planner::profile::standard;
  defaults.rfc3021 = ini.ReadBool(kSection, QStringLiteral("RFC3021"), false);
  bool ok = false;
  const double growth = ini.ReadString(kSection, QStringLiteral("Growth"), QString()).toDouble(&ok);
  defaults.growth = ok ? qBound(0.0, growth, planner::kMaxGrowth) : 0;
  SetPlan(defaults);
  FLastFolder = ini.ReadString(kSection, QStringLiteral("LastFolder"), QString());
  if (options.RecallDesktopSettings) {
    LoadWindowSize();
    const QString last = ini.ReadString(kSection, QStringLiteral("LastFile"), QString());
    // A plan file moved or deleted since is no error: the window starts empty.
    if (!last.isEmpty() && QFileInfo::exists(last) && LoadPlanFile(last) &&
        ini.ReadBool(kSection, QStringLiteral("LastFileKept"), false)) {
      // A plan kept when the system ended the program was never saved by
      // the user: it comes back unsaved and untitled, and its file, now
      // held by the window, goes, so kept plans never pile up.
      QFile::remove(last);
      FFileName.clear();
      FModified = true;
      ShowTitle();
    }
  }
}

void TcPlanner::SaveState() {
  SettingsFile ini(FIniFileName.isEmpty() ? IniFileName() : FIniFileName);
  ini.WriteString(kSection, QStringLiteral("LastFile"), FFileName);
  ini.WriteBool(kSection, QStringLiteral("LastFileKept"), FKeptPlan);
  ini.WriteString(kSection, QStringLiteral("LastFolder"), FLastFolder);
  ini.WriteString(
      kSection, QStringLiteral("Profile"),
      QLatin1String(planner::profile_key(kProfiles[qMax(0, cbxPlanProfile->currentIndex())])));
  ini.WriteBool(kSection, QStringLiteral("RFC3021"), chkPlanRfc3021->isChecked());
  ini.WriteString(kSection, QStringLiteral("Growth"), QString::number(spnPlanGrowth->value()));
}

bool TcPlanner::QueryClose() {
  if (!FModified || FCloseConfirmed) return true;
  if (FClosingBySystem) {
    KeepUnsavedPlan();
    return true;
  }
  FCloseConfirmed =
      Services::Instance().MessageBox(
          this, kTitle, QStringLiteral("Discard changes?"), Services::Icon::Question,
          Services::Yes | Services::No | Services::DefaultIs(Services::No)) == Services::Yes;
  return FCloseConfirmed;
}

QString TcPlanner::KeepUnsavedPlan() {
  const QDir folder =
      QFileInfo(FIniFileName.isEmpty() ? IniFileName() : FIniFileName).absoluteDir();
  QString path = folder.filePath(QStringLiteral("unsaved-plan.json"));
  for (int n = 2; QFileInfo::exists(path) && n < 1000; ++n)
    path = folder.filePath(QStringLiteral("unsaved-plan-%1.json").arg(n));
  // Cells that do not read stay out, as in any save; nobody is there to ask.
  if (!WriteFileAtomically(path, QByteArray::fromStdString(planner::to_json(CurrentPlan()))))
    return QString();
  FFileName = path;
  FModified = false;
  FKeptPlan = true;
  return path;
}

void TcPlanner::closeEvent(QCloseEvent* event) {
  if (!QueryClose()) {
    event->ignore();
    return;
  }
  TcChild::closeEvent(event);
}

bool TcPlanner::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tblPlanNeeds && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Paste)) {
      PasteNeeds();
      return true;
    }
  }
  return TcChild::eventFilter(watched, event);
}

// ---------------------------------------------------------------- plan

planner::plan TcPlanner::CurrentPlan(std::vector<TNeedCellProblem>* problems,
                                     std::vector<int>* rowOfNeed) const {
  planner::plan p;
  p.parents = SplitParents(edtPlanParents->text());
  p.needs = FNeeds->Needs(problems, rowOfNeed);
  p.prof = kProfiles[qMax(0, cbxPlanProfile->currentIndex())];
  // Kept as set under every profile, so a plan file reads back as written;
  // only the standard profile uses it.
  p.rfc3021 = chkPlanRfc3021->isChecked();
  p.growth = spnPlanGrowth->value();
  return p;
}

void TcPlanner::SetPlan(const planner::plan& p) {
  const QScopedValueRollback<bool> own(FWriting, true);
  edtPlanParents->setText(JoinParents(p.parents));
  for (int i = 0; i < int(std::size(kProfiles)); ++i)
    if (kProfiles[i] == p.prof) cbxPlanProfile->setCurrentIndex(i);
  chkPlanRfc3021->setChecked(p.rfc3021);
  chkPlanRfc3021->setEnabled(p.prof == planner::profile::standard);
  spnPlanGrowth->setValue(p.growth);
  FNeeds->SetNeeds(p.needs);
}

void TcPlanner::Run() {
  tmrPlanRun->stop();
  std::vector<TNeedCellProblem>& cells = FCellProblems;
  cells.clear();
  std::vector<int> rowOfNeed;
  FPlan = CurrentPlan(&cells, &rowOfNeed);
  if (FPlan.parents.empty()) {
    FResult = planner::result();
    lblPlanSummary->setText(
        QStringLiteral("No parent network: type the networks to plan in above."));
  } else {
    FResult = planner::compute(FPlan);
    lblPlanSummary->setText(SummaryText(FResult));
  }
  FResultRows->SetRows(ResultRows(FPlan, FResult));
  FFreeRows->SetRows(FreeRows(FResult));
  FProblemRows->SetRows(ProblemRows(cells, FResult, rowOfNeed));
  FitColumns();
}

void TcPlanner::FitColumns() {
  for (QTreeView* v : {tblPlanResult, lvPlanFree, lvPlanProblems}) {
    const int columns = v->model()->columnCount();
    // The last column stretches; its width follows the view.
    for (int c = 0; c + 1 < columns; ++c) {
      v->resizeColumnToContents(c);
      // A little air between the columns.
      v->setColumnWidth(c, qMax(v->columnWidth(c) + 10, v->header()->sectionSizeHint(c)));
    }
  }
}

void TcPlanner::Edited() {
  SetModified(true);
  // A large plan waits for the button, also when a smaller one was due.
  if (FNeeds->rowCount() <= kAutoRunLimit)
    tmrPlanRun->start();
  else
    tmrPlanRun->stop();
}

void TcPlanner::ProfileChanged() {
  const bool standard =
      kProfiles[qMax(0, cbxPlanProfile->currentIndex())] == planner::profile::standard;
  // Only the standard profile has the broadcast that /31 links do without.
  chkPlanRfc3021->setEnabled(standard);
  if (!FWriting) Edited();
}

void TcPlanner::SetModified(bool modified) {
  if (FModified == modified) return;
  FModified = modified;
  if (modified) FCloseConfirmed = false;
  ShowTitle();
}

void TcPlanner::ShowTitle() {
  QString title = kTitle;
  if (!FFileName.isEmpty()) title += QStringLiteral(" (%1)").arg(QFileInfo(FFileName).fileName());
  if (FModified) title += QStringLiteral(" *");
  setWindowTitle(title);
}

// ---------------------------------------------------------------- needs table

void TcPlanner::AddNeed() {
  const int row = FNeeds->AddRow();
  const QModelIndex cell = FNeeds->index(row, ncName);
  tblPlanNeeds->setCurrentIndex(cell);
  tblPlanNeeds->scrollTo(cell);
  if (isVisible()) tblPlanNeeds->edit(cell);
}

void TcPlanner::RemoveNeeds() {
  QList<int> rows;
  for (const QModelIndex& i : tblPlanNeeds->selectionModel()->selectedIndexes()) rows << i.row();
  if (rows.isEmpty() && tblPlanNeeds->currentIndex().isValid())
    rows << tblPlanNeeds->currentIndex().row();
  FNeeds->RemoveRowList(rows);
}

void TcPlanner::PasteNeeds() {
  const QString text = Services::Instance().ClipboardText();
  const QModelIndex current = tblPlanNeeds->currentIndex();
  int overlong = 0;
  FNeeds->PasteText(text, current.isValid() ? current.row() + 1 : -1, &overlong);
  if (overlong > 0)
    ShowErrorBox(this, QStringLiteral("%1 pasted lines had more than %2 fields; the fields after "
                                      "the %2th were not taken.")
                           .arg(overlong)
                           .arg(int(ncCount)));
}

void TcPlanner::ShowProblemCell(const QModelIndex& index) {
  if (!index.isValid() || size_t(index.row()) >= FCellProblems.size()) return;
  const TNeedCellProblem& p = FCellProblems[size_t(index.row())];
  const QModelIndex cell = FNeeds->index(p.row, p.column);
  if (!cell.isValid()) return;
  tblPlanNeeds->setCurrentIndex(cell);
  tblPlanNeeds->scrollTo(cell);
  tblPlanNeeds->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------- files

bool TcPlanner::LoadPlanFile(const QString& path, bool quiet) {
  QFile file(path);
  QString error;
  QByteArray text;
  if (!file.open(QIODevice::ReadOnly))
    error = file.errorString();
  else if (file.size() > kMaxPlanFileSize)
    error = QStringLiteral("The file is too large for a plan.");
  else
    text = file.readAll();
  planner::plan p;
  std::string why;
  if (error.isEmpty() &&
      !planner::from_json(std::string_view(text.constData(), size_t(text.size())), &p, &why))
    error = QString::fromStdString(why);
  if (!error.isEmpty()) {
    if (!quiet) ShowErrorBox(this, QStringLiteral("Couldn't open %1:\n%2").arg(path, error));
    return false;
  }
  SetPlan(p);
  FFileName = QFileInfo(path).absoluteFilePath();
  FLastFolder = QFileInfo(path).absolutePath();
  FModified = false;
  FCloseConfirmed = false;
  ShowTitle();
  Run();
  return true;
}

bool TcPlanner::WritePlanFile(const QString& path) {
  std::vector<TNeedCellProblem> cells;
  const planner::plan p = CurrentPlan(&cells);
  if (!cells.empty()) {
    QString text = QStringLiteral("Needs with cells that do not read are not saved:\n");
    for (size_t i = 0; i < cells.size() && i < 10; ++i)
      text += QStringLiteral("\nrow %1 %2").arg(cells[i].row + 1).arg(cells[i].text);
    if (cells.size() > 10) text += QStringLiteral("\n... and %1 more").arg(cells.size() - 10);
    text += QStringLiteral("\n\nSave anyway?");
    if (Services::Instance().MessageBox(
            this, kTitle, text, Services::Icon::Warning,
            Services::Yes | Services::No | Services::DefaultIs(Services::No)) != Services::Yes)
      return false;
  }
  if (!WriteFileAtomically(path, QByteArray::fromStdString(planner::to_json(p)))) {
    ShowErrorBox(this, QStringLiteral("Couldn't write ") + path);
    return false;
  }
  FFileName = QFileInfo(path).absoluteFilePath();
  FLastFolder = QFileInfo(path).absolutePath();
  FModified = false;
  ShowTitle();
  return true;
}

void TcPlanner::OpenPlan() {
  if (FModified) {
    if (Services::Instance().MessageBox(
            this, kTitle, QStringLiteral("Discard changes?"), Services::Icon::Question,
            Services::Yes | Services::No | Services::DefaultIs(Services::No)) != Services::Yes)
      return;
  }
  Services::FileDialog d;
  d.caption = QStringLiteral("Open an Address Plan");
  d.filters =
      QStringList{QStringLiteral("Address plans (*.json)"), QStringLiteral("All files (*)")};
  d.directory = FLastFolder;
  const QString path = Services::Instance().ChooseOpenFile(this, d);
  if (path.isEmpty()) return;
  LoadPlanFile(path);
}

void TcPlanner::SavePlan() {
  Services::FileDialog d;
  d.caption = QStringLiteral("Save Address Plan");
  d.filters =
      QStringList{QStringLiteral("Address plans (*.json)"), QStringLiteral("All files (*)")};
  d.defaultSuffix = QStringLiteral("json");
  d.fileName = FFileName.isEmpty() ? QStringLiteral("plan.json") : QFileInfo(FFileName).fileName();
  d.directory = FLastFolder;
  const QString path = Services::Instance().ChooseSaveFile(this, d);
  if (path.isEmpty()) return;
  WritePlanFile(path);
}

void TcPlanner::ExportResult() {
  // What is exported is what the controls hold now, not a result waiting
  // for its timer.
  Run();
  Services::FileDialog d;
  d.caption = QStringLiteral("Export Address Plan");
  d.filters = QStringList{QStringLiteral("CSV files (*.csv)"), QStringLiteral("All files (*)")};
  d.defaultSuffix = QStringLiteral("csv");
  d.fileName = FFileName.isEmpty()
                   ? QStringLiteral("plan.csv")
                   : QFileInfo(FFileName).completeBaseName() + QStringLiteral(".csv");
  d.directory = FLastFolder;
  const QString path = Services::Instance().ChooseSaveFile(this, d);
  if (path.isEmpty()) return;
  const char delimiter = FCsvDelimiter.toLatin1() ? FCsvDelimiter.toLatin1() : ',';
  if (!WriteFileAtomically(path, QByteArray::fromStdString(planner::to_csv(FResult, delimiter))))
    ShowErrorBox(this, QStringLiteral("Couldn't write ") + path);
}

// ---------------------------------------------------------------- result pop-up

bool TcPlanner::PrepareResultMenu(int row) {
  if (row < 0 || size_t(row) >= FResult.allocations.size()) return false;
  FMenuRow = row;
  const bool v6 = FResult.allocations[size_t(row)].v6;
  miPlanCalc->setText(v6 ? QStringLiteral("Open in IPv6 Calculator")
                         : QStringLiteral("Open in IPv4 Calculator"));
  miPlanCalc->setIcon(ProgramIcon(v6 ? iiIpv6Calc : iiIpCalc));
  // The host list editor names IPv4 hosts only.
  miPlanHostList->setVisible(!v6);
  return true;
}

void TcPlanner::ResultPopup(const QPoint& pos) {
  const QModelIndex index = tblPlanResult->indexAt(pos);
  if (!PrepareResultMenu(index.isValid() ? index.row() : -1)) return;
  pmPlanResult->exec(tblPlanResult->viewport()->mapToGlobal(pos));
}

void TcPlanner::OpenMenuRowInCalculator() {
  if (FMenuRow < 0 || size_t(FMenuRow) >= FResult.allocations.size()) return;
  const planner::allocation& a = FResult.allocations[size_t(FMenuRow)];
  TCalcRequest r;
  r.address = QString::fromStdString(a.network);
  r.v6 = a.v6;
  emit calculatorRequested(r);
}

void TcPlanner::OpenMenuRowInHostList() {
  if (FMenuRow < 0 || size_t(FMenuRow) >= FResult.allocations.size()) return;
  const planner::allocation& a = FResult.allocations[size_t(FMenuRow)];
  if (a.v6) return;
  THostListRequest r;
  r.networkText = QString::fromStdString(a.network);
  r.title = QStringLiteral("IP Host List for ") + r.networkText;
  r.csvDelimiter = FCsvDelimiter;
  r.maxListItems = FMaxListItems;
  r.showHints = FShowHints;
  emit hostListRequested(r);
}

void TcPlanner::CopyMenuRow() {
  if (FMenuRow < 0 || FMenuRow >= FResultRows->rowCount()) return;
  Services::Instance().SetClipboardText(FResultRows->RowText(FMenuRow));
}
