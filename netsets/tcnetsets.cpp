#include "netsets/tcnetsets.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "common/optionsrec.h"
#include "common/rowlistview.h"
#include "common/services.h"
#include "common/settingsstore.h"
#include "common/widgethelpers.h"
#include "netsets/setmodels.h"

namespace {

const QString kSection = QStringLiteral("NetSets");

// In the order of netsets::operation.
const char* const kOperations[netsets::kOperationCount] = {
    "Aggregate A", "A \u222a B",   "A \u2229 B",         "A \u2212 B",
    "Ranges of A", "Summary of A", "Overlaps in A and B"};
// In the order of netsets::notation.
const char* const kNotations[] = {"CIDR", "Address and mask", "Address and wildcard", "Range"};
constexpr int kNotationCount = int(sizeof(kNotations) / sizeof(kNotations[0]));

TRowListView* NewList(const char* name, const QString& hint) {
  auto* v = new TRowListView;
  v->setObjectName(QLatin1String(name));
  v->setContextMenuPolicy(Qt::CustomContextMenu);
  SetHint(v, hint);
  return v;
}

QLabel* NewCountLabel(const char* name) {
  auto* l = new QLabel;
  l->setObjectName(QLatin1String(name));
  l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // Exact IPv6 counts run to 39 digits; the line wraps rather than cuts them.
  l->setWordWrap(true);
  l->setMinimumWidth(1);
  return l;
}

QString CountsText(const netsets::list_counts& c) {
  return QString::fromStdString(netsets::counts_text(c));
}

}  // namespace

TNetSetsState LoadNetSetsState(const QString& iniFileName) {
  const SettingsFile ini(iniFileName);
  TNetSetsState s;
  const int op = ini.ReadInteger(kSection, QStringLiteral("Operation"), s.operation);
  const int how = ini.ReadInteger(kSection, QStringLiteral("Notation"), s.notation);
  if (op >= 0 && op < netsets::kOperationCount) s.operation = op;
  if (how >= 0 && how < kNotationCount) s.notation = how;
  return s;
}

bool SaveNetSetsState(const QString& iniFileName, const TNetSetsState& state) {
  SettingsFile ini(iniFileName);
  return ini.WriteInteger(kSection, QStringLiteral("Operation"), state.operation) &&
         ini.WriteInteger(kSection, QStringLiteral("Notation"), state.notation);
}

TcNetSets::TcNetSets(QWidget* parent) : TcChild(parent) {
  BuildLayout();
  ConnectHandlers();
  setWindowTitle(QStringLiteral("Network Sets"));
  resize(820, 620);
}

TcNetSets::~TcNetSets() {
  // A run still going finds its flag set and its result is dropped with the
  // future; the worker holds its own copies of everything it touches.
  if (FJob) FJob->cancel = true;
  DetachChildren();
}

// ---------------------------------------------------------------- layout

void TcNetSets::BuildLayout() {
  auto* background = new QWidget;
  background->setObjectName(QStringLiteral("pnlSetBackground"));
  auto* main = new QVBoxLayout(background);

  auto* inputs = new QSplitter(Qt::Horizontal);
  inputs->setObjectName(QStringLiteral("splSetInputs"));
  inputs->setChildrenCollapsible(false);
  auto makeInput = [&](const QString& title, const char* edit, const char* open, const char* count,
                       QPlainTextEdit** e, QPushButton** b, QLabel** l) {
    auto* box = new QGroupBox(title);
    auto* g = new QVBoxLayout(box);
    *e = new QPlainTextEdit;
    (*e)->setObjectName(QLatin1String(edit));
    (*e)->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab moves on, as in every other field; pasted tabs still separate items.
    (*e)->setTabChangesFocus(true);
    (*e)->setPlaceholderText(
        QStringLiteral("One a line: 10.0.0.0/8, 192.168.1.0 255.255.255.0,\n"
                       "10.0.0.1 - 10.0.0.77, 2001:db8::/32; # starts a comment"));
    SetHint(*e, QStringLiteral("Addresses, networks and ranges, IPv4 and IPv6; paste or type"));
    *b = NewPushButton(open, QStringLiteral("Open..."),
                       QStringLiteral("Read the list from a text file"));
    *l = NewCountLabel(count);
    auto* row = new QHBoxLayout;
    row->addWidget(*l, 1);
    row->addWidget(*b);
    g->addWidget(*e, 1);
    g->addLayout(row);
    inputs->addWidget(box);
  };
  makeInput(QStringLiteral("List A"), "edtSetA", "btnSetOpenA", "lblSetACount", &edtSetA,
            &btnSetOpenA, &lblSetACount);
  makeInput(QStringLiteral("List B"), "edtSetB", "btnSetOpenB", "lblSetBCount", &edtSetB,
            &btnSetOpenB, &lblSetBCount);

  auto* controls = new QHBoxLayout;
  cbxSetOperation = new QComboBox;
  cbxSetOperation->setObjectName(QStringLiteral("cbxSetOperation"));
  for (const char* op : kOperations) cbxSetOperation->addItem(QString::fromUtf8(op));
  SetHint(cbxSetOperation, QStringLiteral("What to compute from the lists"));
  cbxSetNotation = new QComboBox;
  cbxSetNotation->setObjectName(QStringLiteral("cbxSetNotation"));
  for (const char* how : kNotations) cbxSetNotation->addItem(QLatin1String(how));
  SetHint(cbxSetNotation, QStringLiteral("How the networks of the result are written"));
  btnSetRun =
      NewPushButton("btnSetRun", QStringLiteral("&Run"), QStringLiteral("Compute the result"));
  btnSetRun->setDefault(true);
  pbSetProgress = new QProgressBar;
  pbSetProgress->setObjectName(QStringLiteral("pbSetProgress"));
  pbSetProgress->setRange(0, 100);
  pbSetProgress->setMaximumWidth(160);
  btnSetCancel = NewPushButton("btnSetCancel", QStringLiteral("Cancel"),
                               QStringLiteral("Stop the running job"));
  auto* opLabel = new QLabel(QStringLiteral("&Operation:"));
  opLabel->setBuddy(cbxSetOperation);
  auto* howLabel = new QLabel(QStringLiteral("&Notation:"));
  howLabel->setBuddy(cbxSetNotation);
  controls->addWidget(opLabel);
  controls->addWidget(cbxSetOperation);
  controls->addSpacing(12);
  controls->addWidget(howLabel);
  controls->addWidget(cbxSetNotation);
  controls->addSpacing(12);
  controls->addWidget(btnSetRun);
  controls->addStretch(1);
  controls->addWidget(pbSetProgress);
  controls->addWidget(btnSetCancel);

  auto* outputs = new QSplitter(Qt::Horizontal);
  outputs->setObjectName(QStringLiteral("splSetOutputs"));
  outputs->setChildrenCollapsible(false);
  auto* resultBox = new QGroupBox(QStringLiteral("Result"));
  auto* rl = new QVBoxLayout(resultBox);
  lblSetResultCount = NewCountLabel("lblSetResultCount");
  lvSetResult =
      NewList("lvSetResult", QStringLiteral("Double-click a row to open it in a calculator; "
                                            "right-click to copy or save"));
  FResultModel = new TSetResultModel(this);
  lvSetResult->setModel(FResultModel);
  rl->addWidget(lblSetResultCount);
  rl->addWidget(lvSetResult, 1);
  auto* problemBox = new QGroupBox(QStringLiteral("Problems"));
  auto* pl = new QVBoxLayout(problemBox);
  lvSetProblems = NewList("lvSetProblems", QStringLiteral("Entries that did not read"));
  lvSetProblems->setContextMenuPolicy(Qt::DefaultContextMenu);
  FProblemModel = new TSetProblemModel(this);
  lvSetProblems->setModel(FProblemModel);
  pl->addWidget(lvSetProblems, 1);
  outputs->addWidget(resultBox);
  outputs->addWidget(problemBox);
  outputs->setStretchFactor(0, 1);
  outputs->setStretchFactor(1, 1);

  const QFontMetrics fm = fontMetrics();
  QHeaderView* rh = lvSetResult->Header();
  rh->resizeSection(0,
                    fm.horizontalAdvance(QStringLiteral("255.255.255.255 255.255.255.255")) + 16);
  QHeaderView* ph = lvSetProblems->Header();
  ph->resizeSection(0, fm.horizontalAdvance(QStringLiteral("List")) + 16);
  ph->resizeSection(1, fm.horizontalAdvance(QStringLiteral("Line")) + 16);
  ph->resizeSection(2, fm.horizontalAdvance(QStringLiteral("10.0.0.300/24")) + 8);

  auto* split = new QSplitter(Qt::Vertical);
  split->setObjectName(QStringLiteral("splSetMain"));
  split->setChildrenCollapsible(false);
  split->addWidget(inputs);
  auto* bottom = new QWidget;
  auto* bl = new QVBoxLayout(bottom);
  bl->setContentsMargins(0, 0, 0, 0);
  bl->addLayout(controls);
  bl->addWidget(outputs, 1);
  split->addWidget(bottom);
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 3);
  main->addWidget(split, 1);

  pmSetResult = new QMenu(this);
  pmSetResult->setObjectName(QStringLiteral("pmSetResult"));
  FWatcher = new QFutureWatcher<TResultPtr>(this);
  FProgressTimer = new QTimer(this);
  FProgressTimer->setInterval(100);
  for (int i = 0; i < 2; ++i) {
    FCountTimer[i] = new QTimer(this);
    FCountTimer[i]->setSingleShot(true);
    FCountTimer[i]->setInterval(300);
    FCountWatcher[i] = new QFutureWatcher<netsets::list_counts>(this);
  }
  SetBusy(false);
  setWidget(background);
  CountList(0);
  CountList(1);
}

void TcNetSets::ConnectHandlers() {
  connect(btnSetRun, &QPushButton::clicked, this, &TcNetSets::Run);
  connect(btnSetCancel, &QPushButton::clicked, this, &TcNetSets::CancelRun);
  connect(FWatcher, &QFutureWatcherBase::finished, this, [this] {
    // A cancelled run may still finish: it is no longer the current one.
    if (!FJob || FJob->cancel) return;
    FJob.reset();
    SetBusy(false);
    const QFuture<TResultPtr> f = FWatcher->future();
    ShowResult(f.resultCount() > 0 ? f.result() : TResultPtr());
    emit runFinished();
  });
  connect(FProgressTimer, &QTimer::timeout, this, [this] {
    if (FJob) pbSetProgress->setValue(FJob->percent);
  });
  connect(cbxSetNotation, &QComboBox::currentIndexChanged, this,
          [this](int index) { FResultModel->SetNotation(netsets::notation(index)); });
  connect(cbxSetOperation, &QComboBox::currentIndexChanged, this,
          [this] { UpdateNotationEnabled(); });
  QPlainTextEdit* edits[2] = {edtSetA, edtSetB};
  for (int i = 0; i < 2; ++i) {
    connect(edits[i], &QPlainTextEdit::textChanged, FCountTimer[i], qOverload<>(&QTimer::start));
    connect(FCountTimer[i], &QTimer::timeout, this, [this, i] { CountList(i); });
    connect(FCountWatcher[i], &QFutureWatcherBase::finished, this, [this, i] {
      // A count of an older text, finishing after a newer one was made, is
      // dropped.
      if (FCountWatcher[i]->property("generation").toInt() != FCountGeneration[i]) return;
      (i ? lblSetBCount : lblSetACount)->setText(CountsText(FCountWatcher[i]->result()));
    });
  }
  connect(btnSetOpenA, &QPushButton::clicked, this, [this] { OpenList(edtSetA); });
  connect(btnSetOpenB, &QPushButton::clicked, this, [this] { OpenList(edtSetB); });
  connect(lvSetResult, &QWidget::customContextMenuRequested, this, &TcNetSets::ResultPopup);
  connect(lvSetResult, &TRowListView::copyRequested, this, [this] { CopyRows(true); });
  connect(lvSetProblems, &TRowListView::copyRequested, this, &TcNetSets::CopyProblems);
  connect(lvSetResult, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { OpenRowInCalculator(index.row()); });
}

// ---------------------------------------------------------------- options and state

void TcNetSets::ApplyOptions(const TOptionsRec& options) {
  FIniFileName = options.IniFileName.isEmpty() ? IniFileName() : options.IniFileName;
  SetShowHints(this, options.EnableHints);
  if (!FFirstApply) return;
  FFirstApply = false;
  const TNetSetsState s = LoadNetSetsState(FIniFileName);
  cbxSetOperation->setCurrentIndex(s.operation);
  cbxSetNotation->setCurrentIndex(s.notation);
  UpdateNotationEnabled();
  if (options.RecallDesktopSettings) LoadWindowSize();
}

void TcNetSets::SaveState() {
  CancelRun();
  TNetSetsState s;
  s.operation = cbxSetOperation->currentIndex();
  s.notation = cbxSetNotation->currentIndex();
  SaveNetSetsState(FIniFileName.isEmpty() ? IniFileName() : FIniFileName, s);
}

void TcNetSets::UpdateNotationEnabled() {
  // Ranges and overlaps are written as they are; the notation has no say.
  const auto op = netsets::operation(cbxSetOperation->currentIndex());
  cbxSetNotation->setEnabled(op != netsets::operation::ranges &&
                             op != netsets::operation::overlaps);
}

// ---------------------------------------------------------------- counting

void TcNetSets::CountList(int which) {
  QPlainTextEdit* edit = which ? edtSetB : edtSetA;
  QLabel* label = which ? lblSetBCount : lblSetACount;
  const int generation = ++FCountGeneration[which];
  std::string text = edit->toPlainText().toStdString();
  if (int(text.size()) < kThreadChars) {
    label->setText(CountsText(netsets::count_list(netsets::netlist(std::move(text)))));
    return;
  }
  label->setText(QStringLiteral("Counting..."));
  FCountWatcher[which]->setProperty("generation", generation);
  FCountWatcher[which]->setFuture(QtConcurrent::run([text = std::move(text)]() mutable {
    return netsets::count_list(netsets::netlist(std::move(text)));
  }));
}

// ---------------------------------------------------------------- running

const netsets::setresult* TcNetSets::Result() const {
  return FResultModel->Result();
}

void TcNetSets::SetBusy(bool busy) {
  pbSetProgress->setVisible(busy);
  btnSetCancel->setVisible(busy);
  btnSetCancel->setEnabled(busy);
  if (busy) {
    pbSetProgress->setValue(0);
    FProgressTimer->start();
  } else {
    FProgressTimer->stop();
  }
}

void TcNetSets::Run() {
  CancelRun();
  const auto op = netsets::operation(cbxSetOperation->currentIndex());
  const auto how = netsets::notation(cbxSetNotation->currentIndex());
  const bool withB = netsets::uses_b(op);
  const int lines = edtSetA->blockCount() + (withB ? edtSetB->blockCount() : 0);
  std::string a = edtSetA->toPlainText().toStdString();
  std::string b = withB ? edtSetB->toPlainText().toStdString() : std::string();
  if (lines < kThreadLines) {
    ShowResult(TResultPtr(netsets::setresult::run(std::move(a), std::move(b), op, how)));
    emit runFinished();
    return;
  }
  FJob = std::make_shared<TJob>();
  SetBusy(true);
  lblSetResultCount->setText(QStringLiteral("Computing..."));
  FWatcher->setFuture(QtConcurrent::run(
      [job = FJob, a = std::move(a), b = std::move(b), op, how]() mutable -> TResultPtr {
        netsets::job_control control;
        control.cancel = &job->cancel;
        control.progress = [job](int percent) { job->percent = percent; };
        return TResultPtr(netsets::setresult::run(std::move(a), std::move(b), op, how, control));
      }));
}

void TcNetSets::CancelRun() {
  if (!FJob) return;
  FJob->cancel = true;
  FJob.reset();
  // The worker runs on to its next check with its own copies; when it ends,
  // the watcher finds no current run and drops its result.
  SetBusy(false);
  lblSetResultCount->setText(QStringLiteral("Cancelled."));
  emit runFinished();
}

void TcNetSets::ShowResult(TResultPtr result) {
  lvSetResult->clearSelection();
  FResultModel->SetResult(result);
  FProblemModel->SetResult(result);
  lvSetResult->scrollToTop();
  lvSetProblems->scrollToTop();
  if (!result) {
    lblSetResultCount->clear();
    return;
  }
  lblSetResultCount->setText(QString::fromStdString(result->count_text()));
  lblSetACount->setText(CountsText(result->counts(0)));
  if (netsets::uses_b(result->op())) lblSetBCount->setText(CountsText(result->counts(1)));
  // The overlap columns are item texts; give them what the texts need.
  QHeaderView* h = lvSetResult->Header();
  const QFontMetrics fm = fontMetrics();
  if (result->op() == netsets::operation::overlaps) {
    h->resizeSection(0, fm.horizontalAdvance(QStringLiteral("192.168.100.0/24")) + 16);
    h->resizeSection(1, fm.horizontalAdvance(QStringLiteral("A 100000")) + 16);
    h->resizeSection(2, fm.horizontalAdvance(QStringLiteral("duplicate")) + 16);
    h->resizeSection(3, fm.horizontalAdvance(QStringLiteral("192.168.100.0/24")) + 16);
  } else {
    const bool ranges =
        result->op() == netsets::operation::ranges || result->how() == netsets::notation::range;
    h->resizeSection(
        0, fm.horizontalAdvance(ranges ? QStringLiteral("255.255.255.255 - 255.255.255.255")
                                       : QStringLiteral("255.255.255.255 255.255.255.255")) +
               16);
  }
}

// ---------------------------------------------------------------- files, copying and hand-over

void TcNetSets::OpenList(QPlainTextEdit* edit) {
  Services::FileDialog d;
  d.caption = QStringLiteral("Open List");
  d.filters = QStringList{QStringLiteral("Text files (*.txt *.lst *.conf)"),
                          QStringLiteral("All files (*)")};
  const QString path = Services::Instance().ChooseOpenFile(this, d);
  if (path.isEmpty()) return;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    ShowErrorBox(this, QStringLiteral("Couldn't open %1: %2").arg(path, f.errorString()));
    return;
  }
  edit->setPlainText(QString::fromUtf8(f.readAll()));
}

void TcNetSets::CopyRows(bool selectedOnly) {
  const netsets::setresult* r = Result();
  if (!r) return;
  if (!selectedOnly) {
    Services::Instance().SetClipboardText(QString::fromStdString(r->text()));
    return;
  }
  std::string t;
  for (const auto& run : lvSetResult->SelectedRows())
    for (int row = run.first; row <= run.second; ++row) {
      t += r->row_text(std::size_t(row));
      t += '\n';
    }
  if (!t.empty()) Services::Instance().SetClipboardText(QString::fromStdString(t));
}

void TcNetSets::CopyProblems() {
  QString t;
  for (const auto& run : lvSetProblems->SelectedRows())
    for (int row = run.first; row <= run.second; ++row)
      t += FProblemModel->RowText(row) + QLatin1Char('\n');
  if (!t.isEmpty()) Services::Instance().SetClipboardText(t);
}

void TcNetSets::SaveResult(bool csv) {
  const netsets::setresult* r = Result();
  if (!r) return;
  Services::FileDialog d;
  d.caption = csv ? QStringLiteral("Save as CSV") : QStringLiteral("Save as Text");
  d.filters =
      csv ? QStringList{QStringLiteral("Comma separated values (*.csv)"),
                        QStringLiteral("All files (*)")}
          : QStringList{QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")};
  d.defaultSuffix = csv ? QStringLiteral("csv") : QStringLiteral("txt");
  const QString path = Services::Instance().ChooseSaveFile(this, d);
  if (path.isEmpty()) return;
  const std::string data = csv ? r->csv() : r->text();
  QSaveFile file(path);
  // Unbuffered, so a full disk shows in the count of the write itself.
  bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  if (ok) ok = file.write(data.data(), qint64(data.size())) == qint64(data.size());
  QString why = file.errorString();
  if (!ok) {
    file.cancelWriting();
  } else if (!file.commit()) {
    ok = false;
    why = file.errorString();
  }
  if (!ok) ShowErrorBox(this, QStringLiteral("Couldn't write %1: %2").arg(path, why));
}

void TcNetSets::ResultPopup(const QPoint& pos) {
  pmSetResult->clear();
  const bool any = Result() && Result()->row_count() > 0;
  QAction* copy = AddMenuAction(pmSetResult, "miSetCopy", QStringLiteral("Copy"),
                                QStringLiteral("Copy the selected rows"));
  copy->setShortcut(QKeySequence::Copy);
  copy->setEnabled(any && !lvSetResult->SelectedRows().empty());
  connect(copy, &QAction::triggered, this, [this] { CopyRows(true); });
  QAction* all = AddMenuAction(pmSetResult, "miSetCopyAll", QStringLiteral("Copy all"),
                               QStringLiteral("Copy every row"));
  all->setEnabled(any);
  connect(all, &QAction::triggered, this, [this] { CopyRows(false); });
  pmSetResult->addSeparator();
  QAction* text = AddMenuAction(pmSetResult, "miSetSaveText", QStringLiteral("Save as text..."),
                                QStringLiteral("Save the rows as text, one a line"));
  text->setEnabled(any);
  connect(text, &QAction::triggered, this, [this] { SaveResult(false); });
  QAction* csv = AddMenuAction(pmSetResult, "miSetSaveCsv", QStringLiteral("Save as CSV..."),
                               QStringLiteral("Save the rows with their columns as CSV"));
  csv->setEnabled(any);
  connect(csv, &QAction::triggered, this, [this] { SaveResult(true); });
  pmSetResult->popup(lvSetResult->viewport()->mapToGlobal(pos));
}

void TcNetSets::OpenRowInCalculator(int row) {
  const netsets::setresult* r = Result();
  if (!r || row < 0) return;
  TCalcRequest request;
  request.address = QString::fromStdString(r->calc_network(std::size_t(row), &request.v6));
  if (!request.address.isEmpty()) emit calculatorRequested(request);
}
