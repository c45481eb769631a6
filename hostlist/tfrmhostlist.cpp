#include "hostlist/tfrmhostlist.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "common/icons.h"
#include "common/services.h"
#include "common/widgethelpers.h"
#include "hostlist/hostlistview.h"

namespace {

const QString kEditorCaption = QStringLiteral("IP Host List Editor");
constexpr int kClientWidth = 423;
constexpr int kClientHeight = 565;
constexpr int kMinHeight = 200;
// Rows named in the delimiter warning before "and N more".
constexpr std::size_t kClashRowsShown = 10;

QString DelimiterName(char d) {
  switch (d) {
    case ',':
      return QStringLiteral("comma (,)");
    case ';':
      return QStringLiteral("semicolon (;)");
    case '\t':
      return QStringLiteral("tab");
    case ' ':
      return QStringLiteral("blank");
    default:
      return QStringLiteral("\"%1\"").arg(QLatin1Char(d));
  }
}

QPushButton* Button(const char* name, const QString& caption, const QString& hint) {
  auto* b = new QPushButton(caption);
  b->setObjectName(QLatin1String(name));
  // Enter belongs to the name field and the list, never to a button.
  b->setAutoDefault(false);
  b->setDefault(false);
  SetHint(b, hint);
  return b;
}

}  // namespace

TfrmHostList::TfrmHostList(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("TfrmHostList"));
  setWindowTitle(QStringLiteral("IP Host List"));

  model = new THostListItems(this);
  lvHosts = new THostListView;
  lvHosts->setObjectName(QStringLiteral("lvHosts"));
  lvHosts->setModel(model);
  // Wide enough for the longest address in the font in use.
  const int addressWidth =
      qMax(100, lvHosts->fontMetrics().horizontalAdvance(QStringLiteral("255.255.255.255")) + 16);
  lvHosts->Header()->resizeSection(0, addressWidth);
  lvHosts->Header()->resizeSection(1, 270);
  lvHosts->setContextMenuPolicy(Qt::CustomContextMenu);
  SetHint(lvHosts, QStringLiteral("Select a row to edit, right click for popup menu"));

  Label1 = new QLabel(QStringLiteral("Host Name"));
  Label1->setObjectName(QStringLiteral("Label1"));
  edtHostName = new QLineEdit;
  edtHostName->setObjectName(QStringLiteral("edtHostName"));
  SetHint(edtHostName, QStringLiteral("Edit host name"));
  Label1->setBuddy(edtHostName);

  btnOpen = Button("btnOpen", QStringLiteral("Open..."), QStringLiteral("Open a host name list"));
  btnSave =
      Button("btnSave", QStringLiteral("Save as..."), QStringLiteral("Save IP host list as..."));
  btnClose = Button("btnClose", QStringLiteral("Close"), QStringLiteral("Close IP host list"));
  btnHelp = Button("btnHelp", QStringLiteral("Help"), QStringLiteral("Get Help"));

  sbStatus = new QStatusBar;
  sbStatus->setObjectName(QStringLiteral("sbStatus"));
  pnlHostCount = new QLabel;
  pnlHostCount->setObjectName(QStringLiteral("pnlHostCount"));
  pnlHostCount->setMinimumWidth(50);
  sbStatus->addPermanentWidget(pnlHostCount);

  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(Label1);
  nameRow->addWidget(edtHostName, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnOpen);
  buttons->addWidget(btnSave);
  buttons->addStretch(1);
  buttons->addWidget(btnClose);
  buttons->addWidget(btnHelp);
  auto* bottom = new QVBoxLayout;
  bottom->setContentsMargins(6, 6, 6, 0);
  bottom->addLayout(nameRow);
  bottom->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(lvHosts, 1);
  layout->addLayout(bottom);
  layout->addWidget(sbStatus);

  pmPopup = new QMenu(this);
  pmPopup->setObjectName(QStringLiteral("pmPopup"));
  pmPopup->setToolTipsVisible(true);
  Selectall1 = AddMenuAction(pmPopup, "Selectall1", QStringLiteral("Select all"));
  N1 = pmPopup->addSeparator();
  N1->setObjectName(QStringLiteral("N1"));
  Copyselected1 = AddMenuAction(pmPopup, "Copyselected1", QStringLiteral("Copy from selected"),
                                QStringLiteral("Copy selected rows into clipboard"));
  Copytable1 = AddMenuAction(pmPopup, "Copytable1", QStringLiteral("Copy entire table"),
                             QStringLiteral("Copy entire table into clipboard"));
  Pasteselcted1 = AddMenuAction(pmPopup, "Pasteselcted1", QStringLiteral("Paste into selected"),
                                QStringLiteral("Paste a list of names into selcted rows"));
  N2 = pmPopup->addSeparator();
  N2->setObjectName(QStringLiteral("N2"));
  Edit1 = AddMenuAction(pmPopup, "Edit1", QStringLiteral("Edit name"),
                        QStringLiteral("Focus edit space"));
  Selectall1->setIcon(ProgramIcon(iiSelectAll));
  Copyselected1->setIcon(ProgramIcon(iiCopy));
  Copytable1->setIcon(ProgramIcon(iiCopyTable));
  Pasteselcted1->setIcon(ProgramIcon(iiPaste));
  Edit1->setIcon(ProgramIcon(iiEdit));

  connect(lvHosts->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { lvHostsSelectItem(); });
  connect(lvHosts, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { pmPopup->popup(lvHosts->viewport()->mapToGlobal(pos)); });
  connect(lvHosts, &THostListView::copyRequested, this, &TfrmHostList::Copyselected1Click);
  connect(lvHosts, &THostListView::pasteRequested, this, [this] {
    pmPopupPopup();
    if (Pasteselcted1->isEnabled()) Pasteselcted1Click();
  });
  connect(edtHostName, &QLineEdit::textChanged, this, [this] { edtHostNameChange(); });
  connect(edtHostName, &QLineEdit::textEdited, this, [this] { FFieldEdited = true; });
  edtHostName->installEventFilter(this);
  connect(pmPopup, &QMenu::aboutToShow, this, &TfrmHostList::pmPopupPopup);
  connect(pmPopup, &QMenu::hovered, this,
          [this](QAction* a) { sbStatus->showMessage(a->statusTip()); });
  connect(pmPopup, &QMenu::aboutToHide, this, [this] { sbStatus->clearMessage(); });
  connect(Selectall1, &QAction::triggered, this, &TfrmHostList::Selectall1Click);
  connect(Copyselected1, &QAction::triggered, this, &TfrmHostList::Copyselected1Click);
  connect(Copytable1, &QAction::triggered, this, &TfrmHostList::Copytable1Click);
  connect(Pasteselcted1, &QAction::triggered, this, &TfrmHostList::Pasteselcted1Click);
  connect(Edit1, &QAction::triggered, this, &TfrmHostList::Edit1Click);
  connect(btnOpen, &QPushButton::clicked, this, &TfrmHostList::OpenHostList);
  connect(btnSave, &QPushButton::clicked, this, &TfrmHostList::SaveHostList);
  connect(btnClose, &QPushButton::clicked, this, &TfrmHostList::reject);
  connect(btnHelp, &QPushButton::clicked, this, &TfrmHostList::btnHelpClick);
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, &TfrmHostList::btnHelpClick);

  FLastFolder = QDir::homePath();
  resize(kClientWidth, kClientHeight);
  FMinWidth = width();
  setMinimumSize(FMinWidth, kMinHeight);
  lvHosts->setFocus();
}

TfrmHostList::~TfrmHostList() = default;

int TfrmHostList::Execute(const THostListRequest& request) {
  FTitle = request.title;
  FNetwork = HostListNetwork(request.networkText);
  FCsvDelimiter = request.csvDelimiter;
  FMaxListItems = request.maxListItems;
  FShowHints = request.showHints;
  FExaminedAddress = request.examinedAddress;
  SetShowHints(this, FShowHints);
  return exec();
}

void TfrmHostList::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
    move(CentredIn(s->availableGeometry(), frameGeometry().size()));
  }
  GenerateHostList();
  lvHosts->setFocus();
}

void TfrmHostList::GenerateHostList() {
  FModified = false;
  FNamesChanged = false;
  setWindowTitle(FTitle);
  edtHostName->clear();
  edtHostName->setEnabled(true);
  FFieldEdited = false;
  const QString status = StatusText ? StatusText() : QString();
  // Rows are made when they are drawn, so the list is ready at once: the
  // progress shows its start and is gone again.
  if (SetStatusText) SetStatusText(QStringLiteral("Generating IP host list, 0 % done..."));
  model->Generate(FNetwork, FMaxListItems, lvHosts->MaxRows());
  model->SetHighlightedAddress(FExaminedAddress);
  FRowCount = model->AddressRowCount();
  pnlHostCount->setText(model->HostCountText());
  if (SetStatusText) SetStatusText(status);
  SelectRow(0);
}

void TfrmHostList::SelectRow(int row) {
  QItemSelectionModel* sel = lvHosts->selectionModel();
  if (row < 0 || row >= model->rowCount()) {
    sel->clear();
    return;
  }
  const QModelIndex index = model->index(row, 0);
  sel->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  lvHosts->scrollTo(index, QAbstractItemView::EnsureVisible);
}

void TfrmHostList::lvHostsSelectItem() {
  const TRowRuns rows = lvHosts->SelectedRows();
  const bool one = rows.size() == 1 && rows.front().first == rows.front().second;
  // "more..." stands for the rows left out: there is no name to edit.
  const bool more = one && model->IsMoreRow(rows.front().first);
  edtHostName->setText(one && !more ? model->Name(rows.front().first) : QString());
  FFieldEdited = false;
  if (more) {
    FModified = false;
    if (edtHostName->hasFocus()) lvHosts->setFocus();
  }
  edtHostName->setEnabled(!more);
  // Ready to be typed over, so Enter after Enter names row after row.
  if (edtHostName->hasFocus()) edtHostName->selectAll();
}

void TfrmHostList::edtHostNameChange() {
  const TRowRuns rows = lvHosts->SelectedRows();
  if (rows.size() != 1 || rows.front().first != rows.front().second) return;
  const int row = rows.front().first;
  FModified = !model->IsMoreRow(row) && edtHostName->text() != model->Name(row);
}

void TfrmHostList::RefreshNameField() {
  const bool modified = FModified;
  lvHostsSelectItem();
  FModified = modified;
}

void TfrmHostList::Commit() {
  // Entering and leaving the field without typing names nothing: several
  // selected rows show an empty field, and committing it would blank them.
  if (!FFieldEdited) return;
  const TRowRuns rows = model->AddressRows(lvHosts->SelectedRows());
  if (rows.empty()) return;
  FFieldEdited = false;
  const bool same = rows.size() == 1 && rows.front().first == rows.front().second &&
                    model->Name(rows.front().first) == edtHostName->text();
  if (same) return;
  model->SetName(rows, edtHostName->text());
  FNamesChanged = true;
}

void TfrmHostList::edtHostNameKeyPress() {
  Commit();
  const TRowRuns rows = lvHosts->SelectedRows();
  // The last selected row, not counting row 0.
  if (rows.empty() || rows.back().second < 1) return;
  const int k = rows.back().second;
  lvHosts->selectionModel()->clearSelection();
  // Past the last address, "more..." included, no row stays selected.
  SelectRow(k + 1 < model->AddressRowCount() ? k + 1 : -1);
}

bool TfrmHostList::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edtHostName) {
    switch (event->type()) {
      case QEvent::FocusIn:
        SetEditColor(edtHostName, FocusColor());
        // A name is typed over, also after a click into it (the click
        // itself places the cursor first).
        QTimer::singleShot(0, edtHostName, [this] { edtHostName->selectAll(); });
        break;
      case QEvent::FocusOut:
        ResetEditColor(edtHostName);
        if (isVisible()) Commit();
        break;
      case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
          edtHostNameKeyPress();
          return true;
        }
        break;
      }
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool TfrmHostList::event(QEvent* event) {
  // Hints of the controls show in the editor's own status bar.
  if (event->type() == QEvent::StatusTip) {
    sbStatus->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QDialog::event(event);
}

void TfrmHostList::pmPopupPopup() {
  const TRowRuns rows = lvHosts->SelectedRows();
  const bool nameable = !model->AddressRows(rows).empty();
  Selectall1->setEnabled(true);
  Copytable1->setEnabled(true);
  Edit1->setEnabled(edtHostName->isEnabled());
  Copyselected1->setEnabled(!rows.empty());
  Pasteselcted1->setEnabled(nameable && Services::Instance().ClipboardText().size() >= 2);
}

void TfrmHostList::Selectall1Click() {
  lvHosts->selectAll();
}

void TfrmHostList::Copyselected1Click() {
  const TRowRuns rows = lvHosts->SelectedRows();
  if (rows.empty()) return;
  Services::Instance().SetClipboardText(model->CopyText(rows));
}

void TfrmHostList::Copytable1Click() {
  if (model->rowCount() == 0) return;
  Services::Instance().SetClipboardText(model->CopyText({{0, model->rowCount() - 1}}));
}

void TfrmHostList::Pasteselcted1Click() {
  const TRowRuns rows = model->AddressRows(lvHosts->SelectedRows());
  if (rows.empty()) return;
  const QStringList lines = Services::Instance().ClipboardText().split(QLatin1Char('\n'));
  TNameRuns names;
  qsizetype line = 0;
  for (const auto& [first, last] : rows) {
    for (int row = first; row <= last && line < lines.size(); ++row) {
      const std::string name = lines.at(line++).trimmed().toStdString();
      // The first empty line ends the pasting.
      if (name.empty()) {
        line = lines.size();
        break;
      }
      const std::string_view view(name);
      names.Append(uint32_t(row), &view);
    }
    if (line >= lines.size()) break;
  }
  if (!names.Runs().empty()) FNamesChanged = true;
  model->ApplyNames(std::move(names));
  RefreshNameField();
}

void TfrmHostList::Edit1Click() {
  if (!edtHostName->isEnabled()) return;
  edtHostName->setFocus(Qt::OtherFocusReason);
}

void TfrmHostList::btnHelpClick() {
  Services::Instance().ShowHelp(1900);
}

bool TfrmHostList::FormCloseQuery() {
  if (!FModified && !FNamesChanged) return true;
  return Services::Instance().MessageBox(
             this, kEditorCaption, QStringLiteral("Discard changes?"), Services::Icon::Question,
             Services::Yes | Services::No | Services::DefaultIs(Services::No)) == Services::Yes;
}

void TfrmHostList::reject() {
  if (FormCloseQuery()) QDialog::reject();
}

void TfrmHostList::ShowFileCaption(const QString& path) {
  setWindowTitle(FTitle + QStringLiteral(" (") + QFileInfo(path).fileName() + QLatin1Char(')'));
}

bool TfrmHostList::ConfirmDelimiterClash(char delimiter) {
  const TDelimiterClash clash = RowsWithDelimiter(*model, delimiter, kClashRowsShown);
  if (clash.count == 0) return true;
  QString text = QStringLiteral(
                     "These host names contain the delimiter, %1, and will not read back "
                     "as they are:\n")
                     .arg(DelimiterName(delimiter));
  for (int row : clash.rows)
    text += QStringLiteral("\n%1  %2").arg(model->AddressText(row), model->Name(row));
  if (clash.count > int64_t(clash.rows.size()))
    text += QStringLiteral("\n... and %1 more").arg(clash.count - int64_t(clash.rows.size()));
  text += QStringLiteral("\n\nSave anyway?");
  return Services::Instance().MessageBox(
             this, kEditorCaption, text, Services::Icon::Warning,
             Services::Yes | Services::No | Services::DefaultIs(Services::No)) == Services::Yes;
}

bool TfrmHostList::ConfirmCutList() {
  if (!model->IsCut()) return true;
  const QString text =
      QStringLiteral(
          "The list shows only the first %1 of %2 hosts (the row limit in Options). Save anyway?")
          .arg(model->AddressRowCount())
          .arg(model->Network().host_count());
  return Services::Instance().MessageBox(
             this, kEditorCaption, text, Services::Icon::Warning,
             Services::Yes | Services::No | Services::DefaultIs(Services::No)) == Services::Yes;
}

void TfrmHostList::SaveHostList() {
  // What was typed is part of the list saved.
  Commit();
  // Asked before the file dialog: no name is picked for a list not wanted.
  if (!ConfirmCutList()) return;
  Services& services = Services::Instance();
  Services::FileDialog d;
  d.caption = QStringLiteral("Save IP Host List");
  d.filters = SaveFileFilters();
  d.filterIndex = PreselectedFileFilter(FCsvDelimiter);
  d.defaultSuffix = QStringLiteral("csv");
  // A folder separator in the network row's name would name a folder.
  d.fileName = model->Name(0).left(254).replace(QLatin1Char('/'), QLatin1Char('_'));
  d.directory = FLastFolder;
  const QString path = services.ChooseSaveFile(this, d);
  if (path.isEmpty()) return;
  FLastFolder = QFileInfo(path).absolutePath();
  const char delimiter = SaveFileDelimiter(d.filterIndex, FCsvDelimiter);
  if (!ConfirmDelimiterClash(delimiter)) return;

  const int rows = model->rowCount();
  std::unique_ptr<Services::Progress> progress = services.StartProgress(
      this, kEditorCaption, QStringLiteral("Saving %1...").arg(QFileInfo(path).fileName()), rows);
  THostListSave how;
  how.delimiter = delimiter;
  how.when = QDateTime::currentDateTime();
  how.progress = [&progress](int64_t done, int64_t) { return progress->Step(done); };
  how.write = FWriteBlock;
  const TFileResult result = SaveHostListFile(path, *model, how);
  progress.reset();
  if (result == TFileResult::Failed) {
    ShowErrorBox(this, QStringLiteral("Couldn't write ") + path);
    return;
  }
  if (result == TFileResult::Cancelled) return;
  FModified = false;
  FNamesChanged = false;
  ShowFileCaption(path);
}

void TfrmHostList::OpenHostList() {
  Commit();
  Services& services = Services::Instance();
  Services::FileDialog d;
  d.caption = QStringLiteral("Open a Host Name List");
  d.filters = OpenFileFilters();
  d.filterIndex = PreselectedFileFilter(FCsvDelimiter);
  d.directory = FLastFolder;
  const QString path = services.ChooseOpenFile(this, d);
  if (path.isEmpty()) return;
  FLastFolder = QFileInfo(path).absolutePath();
  const char delimiter = OpenFileDelimiter(d.filterIndex, FCsvDelimiter);

  std::unique_ptr<Services::Progress> progress = services.StartProgress(
      this, kEditorCaption, QStringLiteral("Opening %1...").arg(QFileInfo(path).fileName()),
      QFileInfo(path).size());
  THostListMerge merge = ReadHostListFile(
      path, *model, delimiter, [&progress](int64_t done, int64_t) { return progress->Step(done); });
  progress.reset();
  if (merge.result == TFileResult::Failed) {
    ShowErrorBox(this, QStringLiteral("Couldn't open ") + path);
    return;
  }
  if (merge.result == TFileResult::Cancelled) return;
  if (merge.matched == 0) {
    ShowErrorBox(this, QStringLiteral("Did not find any IP address match."));
    return;
  }
  model->ApplyNames(std::move(merge.names), merge.addressTexts);
  const bool modified = FModified;
  SelectRow(0);
  RefreshNameField();
  FModified = modified;
  ShowFileCaption(path);
}
