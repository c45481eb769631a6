#include "shell/optionsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "common/services.h"
#include "common/settingsstore.h"
#include "common/widgethelpers.h"
#include "shell/tooltable.h"

namespace {

// Texts of the general check list, in list order.
const char* const kGeneralTexts[kGeneralCount] = {"Enable Hints", "Subnet Viewer Mask",
                                                  "Class A Supernets", "RFC3021 Subnets",
                                                  "Subnets for Class D and E"};

// The start-up list item of each tool that can open at start, in table
// order; each item holds its bit.
constexpr int kStartupBitRole = Qt::UserRole;

struct Node {
  const char* text;
  int parent;  // position of the parent node, -1 for the root
  int help;
};
const Node kNodes[] = {
    {"Options", -1, 19100},      {"Startup", 0, 19100}, {"Integer Calculator", 0, 19800},
    {"Miscellaneous", 0, 19900}, {"General", 3, 19900}, {"Paths", 3, 19920},
    {"Data Formats", 3, 19940},
};
constexpr int kNodeCount = 7;

QFrame* MakePage(const char* name) {
  auto* page = new QFrame;
  page->setObjectName(QLatin1String(name));
  page->setFrameShape(QFrame::Panel);
  page->setFrameShadow(QFrame::Sunken);
  page->setMinimumSize(260, 185);
  return page;
}

QLabel* WrapLabel(const QString& text) {
  auto* label = new QLabel(text);
  label->setWordWrap(true);
  return label;
}

TLinkLabel* MakeLink(const char* name, const QString& text) {
  auto* link = new TLinkLabel(text);
  link->setObjectName(QLatin1String(name));
  return link;
}

QListWidgetItem* AddCheckItem(QListWidget* list, const QString& text) {
  auto* item = new QListWidgetItem(text, list);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(Qt::Unchecked);
  return item;
}

QListWidget* MakeCheckList(const char* name, const QStringList& items) {
  auto* list = new QListWidget;
  list->setObjectName(QLatin1String(name));
  for (const QString& text : items) AddCheckItem(list, text);
  return list;
}

}  // namespace

TfrmLOptions::TfrmLOptions(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("TfrmLOptions"));
  setWindowTitle(QStringLiteral("Options"));

  tvOptions = new QTreeWidget;
  tvOptions->setObjectName(QStringLiteral("tvOptions"));
  tvOptions->setHeaderHidden(true);
  tvOptions->setColumnCount(1);
  tvOptions->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvOptions->setFixedWidth(180);
  SetHint(tvOptions, QStringLiteral("Click a topic to select options"));
  {
    // The selection stays visible while another control has the focus.
    QPalette pal = tvOptions->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    tvOptions->setPalette(pal);
  }
  for (int i = 0; i < kNodeCount; ++i) {
    QTreeWidgetItem* item = kNodes[i].parent < 0 ? new QTreeWidgetItem(tvOptions)
                                                 : new QTreeWidgetItem(FNodes[kNodes[i].parent]);
    item->setText(0, QLatin1String(kNodes[i].text));
    FNodes.append(item);
  }

  // Pages.
  pnlOptions = MakePage("pnlOptions");
  lblStartupOptions = MakeLink("lblStartupOptions", QStringLiteral("Startup Options"));
  lblIntCalcOptions = MakeLink("lblIntCalcOptions", QStringLiteral("Integer Calculator Options"));
  lblMiscellaneous = MakeLink("lblMiscellaneous", QStringLiteral("Miscellaneous"));
  {
    auto* l = new QVBoxLayout(pnlOptions);
    l->addWidget(WrapLabel(QStringLiteral(
        "Select a topic from the options tree to either check or change particular options.")));
    l->addSpacing(8);
    l->addWidget(lblStartupOptions, 0, Qt::AlignLeft);
    l->addWidget(lblIntCalcOptions, 0, Qt::AlignLeft);
    l->addWidget(lblMiscellaneous, 0, Qt::AlignLeft);
    l->addStretch();
  }

  pnlStartup = MakePage("pnlStartup");
  clbStartup = MakeCheckList("clbStartup", {});
  for (const TToolInfo& tool : ToolTable()) {
    if (tool.startupBit)
      AddCheckItem(clbStartup, QLatin1String(tool.startupText))
          ->setData(kStartupBitRole, tool.startupBit);
  }
  SetHint(clbStartup, QStringLiteral("Select any application you want to start automatically"));
  clbStartup->setFixedHeight(clbStartup->sizeHintForRow(0) * clbStartup->count() +
                             2 * clbStartup->frameWidth() + 2);
  cbxRestoreDesktop = new QCheckBox(QStringLiteral("Recall Desktop Settings"));
  cbxRestoreDesktop->setObjectName(QStringLiteral("cbxRestoreDesktop"));
  SetHint(cbxRestoreDesktop,
          QStringLiteral("Check to recall last session's position and size of the program"));
  {
    auto* l = new QVBoxLayout(pnlStartup);
    l->addWidget(WrapLabel(QStringLiteral(
        "Check the applications which shall be openend automatically upon program start.")));
    l->addWidget(clbStartup);
    l->addWidget(cbxRestoreDesktop);
    l->addStretch();
  }

  pnlIntCalc = MakePage("pnlIntCalc");
  rbtnVariable = new QRadioButton(QStringLiteral("Variable Bit Width"));
  rbtn16 = new QRadioButton(QStringLiteral("Bit Width 16"));
  rbtn32 = new QRadioButton(QStringLiteral("Bit Width 32"));
  rbtn64 = new QRadioButton(QStringLiteral("Bit Width 64"));
  rbtnVariable->setObjectName(QStringLiteral("rbtnVariable"));
  rbtn16->setObjectName(QStringLiteral("rbtn16"));
  rbtn32->setObjectName(QStringLiteral("rbtn32"));
  rbtn64->setObjectName(QStringLiteral("rbtn64"));
  SetHint(rbtnVariable,
          QStringLiteral("Specifies variable bit width for On-The-Fly integer converter"));
  SetHint(rbtn16, QStringLiteral("Specifies 16 bit width for On-The-Fly integer converter"));
  SetHint(rbtn32, QStringLiteral("Specifies 32 bit width for On-The-Fly integer converter"));
  SetHint(rbtn64, QStringLiteral("Specifies 64 bit width for On-The-Fly integer converter"));
  rbtnVariable->setChecked(true);
  cbxHighlightLow32 = new QCheckBox(QStringLiteral("Highlight Lower 32 Bit"));
  cbxHighlightLow32->setObjectName(QStringLiteral("cbxHighlightLow32"));
  SetHint(
      cbxHighlightLow32,
      QStringLiteral("Specifies highlighting of lower 32 bit for On-The-Fly integer converter"));
  {
    auto* l = new QVBoxLayout(pnlIntCalc);
    l->addWidget(rbtnVariable);
    l->addWidget(rbtn16);
    l->addWidget(rbtn32);
    l->addWidget(rbtn64);
    l->addSpacing(8);
    l->addWidget(cbxHighlightLow32);
    l->addStretch();
  }

  pnlMiscellaneous = MakePage("pnlMiscellaneous");
  lblGeneralOptions = MakeLink("lblGeneralOptions", QStringLiteral("General Options"));
  lblPaths = MakeLink("lblPaths", QStringLiteral("Paths"));
  lblDataFormats = MakeLink("lblDataFormats", QStringLiteral("Data Formats"));
  {
    auto* l = new QVBoxLayout(pnlMiscellaneous);
    l->addWidget(WrapLabel(QStringLiteral(
        "Select a sub topic from the options tree to proceed to miscellaneous settings.")));
    l->addSpacing(8);
    l->addWidget(lblGeneralOptions, 0, Qt::AlignLeft);
    l->addWidget(lblPaths, 0, Qt::AlignLeft);
    l->addWidget(lblDataFormats, 0, Qt::AlignLeft);
    l->addStretch();
  }

  pnlGeneral = MakePage("pnlGeneral");
  QStringList generalTexts;
  for (const char* text : kGeneralTexts) generalTexts << QLatin1String(text);
  clbGeneral = MakeCheckList("clbGeneral", generalTexts);
  SetHint(clbGeneral, QStringLiteral("Check an option to activte"));
  clbGeneral->setFixedHeight(clbGeneral->sizeHintForRow(0) * kGeneralCount +
                             2 * clbGeneral->frameWidth() + 2);
  edtMaxItems = new QLineEdit;
  edtMaxItems->setObjectName(QStringLiteral("edtMaxItems"));
  edtMaxItems->setMaximumWidth(90);
  SetHint(edtMaxItems, QStringLiteral("Enter a numeric value"));
  edtMaxItems->installEventFilter(this);
  {
    auto* l = new QVBoxLayout(pnlGeneral);
    l->addWidget(clbGeneral);
    l->addWidget(edtMaxItems);
    l->addWidget(WrapLabel(QStringLiteral(
        "Enter the limit for IP host list generation. Values gretaer than 5000 can cause very "
        "long time for list creation.")));
    l->addStretch();
  }

  pnlPaths = MakePage("pnlPaths");
  edtIANALink = new QLineEdit;
  edtIANALink->setObjectName(QStringLiteral("edtIANALink"));
  SetHint(edtIANALink, QStringLiteral("Current link to well known multicast IP Web document"));
  {
    auto* l = new QVBoxLayout(pnlPaths);
    l->addWidget(new QLabel(QStringLiteral("IANA Multicast Link")));
    l->addWidget(edtIANALink);
    l->addStretch();
  }

  pnlFormat = MakePage("pnlFormat");
  cbxMACFormat = new QComboBox;
  cbxMACFormat->setObjectName(QStringLiteral("cbxMACFormat"));
  cbxMACFormat->setEditable(true);
  cbxMACFormat->setInsertPolicy(QComboBox::NoInsert);
  cbxMACFormat->addItems({QStringLiteral("aa:bb:cc:dd:ee:ff"), QStringLiteral("aa-bb-cc-dd-ee-ff"),
                          QStringLiteral("aabb.ccdd.eeff")});
  SetHint(cbxMACFormat, QStringLiteral("MAC address return format"));
  cboxCsvDelimiter = new QComboBox;
  cboxCsvDelimiter->setObjectName(QStringLiteral("cboxCsvDelimiter"));
  cboxCsvDelimiter->addItems({QStringLiteral("Comma (,)"), QStringLiteral("Semicolon (;)"),
                              QStringLiteral("TabStop (\\t)"), QStringLiteral("Whitespace ( )")});
  SetHint(cboxCsvDelimiter, QStringLiteral("Delimiter for CSV file operations"));
  {
    auto* l = new QVBoxLayout(pnlFormat);
    l->addWidget(new QLabel(QStringLiteral("MAC Address Format")));
    l->addWidget(cbxMACFormat);
    l->addSpacing(8);
    l->addWidget(new QLabel(QStringLiteral("CSV Delimiter")));
    l->addWidget(cboxCsvDelimiter);
    l->addStretch();
  }

  FPages = {pnlOptions, pnlStartup, pnlIntCalc, pnlMiscellaneous, pnlGeneral, pnlPaths, pnlFormat};
  pgPages = new QStackedWidget;
  pgPages->setObjectName(QStringLiteral("pgPages"));
  for (QFrame* page : FPages) pgPages->addWidget(page);

  btnOk = new QPushButton(QStringLiteral("Ok"));
  btnCancel = new QPushButton(QStringLiteral("Cancel"));
  btnHelp = new QPushButton(QStringLiteral("Help"));
  btnOk->setObjectName(QStringLiteral("btnOk"));
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnHelp->setObjectName(QStringLiteral("btnHelp"));
  btnOk->setDefault(true);
  btnCancel->setAutoDefault(false);
  btnHelp->setAutoDefault(false);

  auto* top = new QHBoxLayout;
  top->addWidget(tvOptions);
  top->addWidget(pgPages, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOk);
  buttons->addWidget(btnCancel);
  buttons->addWidget(btnHelp);
  auto* main = new QVBoxLayout(this);
  main->setContentsMargins(8, 8, 8, 8);
  main->addLayout(top, 1);
  main->addLayout(buttons);
  main->setSizeConstraint(QLayout::SetFixedSize);

  connect(btnOk, &QPushButton::clicked, this, &TfrmLOptions::btnOkClick);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmLOptions::btnCancelClick);
  connect(btnHelp, &QPushButton::clicked, this, &TfrmLOptions::btnHelpClick);
  connect(tvOptions, &QTreeWidget::currentItemChanged, this, &TfrmLOptions::tvOptionsClick);
  connect(lblStartupOptions, &TLinkLabel::clicked, this, [this] { SelectNode(1); });
  connect(lblIntCalcOptions, &TLinkLabel::clicked, this, [this] { SelectNode(2); });
  connect(lblMiscellaneous, &TLinkLabel::clicked, this, [this] { SelectNode(3); });
  connect(lblGeneralOptions, &TLinkLabel::clicked, this, [this] { SelectNode(4); });
  connect(lblPaths, &TLinkLabel::clicked, this, [this] { SelectNode(5); });
  connect(lblDataFormats, &TLinkLabel::clicked, this, [this] { SelectNode(6); });
  // Hints follow "Enable Hints" at once.
  connect(clbGeneral, &QListWidget::itemChanged, this, [this] { UpdateHints(); });
  clbGeneral->viewport()->installEventFilter(this);
  clbStartup->viewport()->installEventFilter(this);
  connect(rbtnVariable, &QRadioButton::clicked, this, [this] { SetBitWidth(0); });
  connect(rbtn16, &QRadioButton::clicked, this, [this] { SetBitWidth(16); });
  connect(rbtn32, &QRadioButton::clicked, this, [this] { SetBitWidth(32); });
  connect(rbtn64, &QRadioButton::clicked, this, [this] { SetBitWidth(64); });
  connect(cbxHighlightLow32, &QCheckBox::clicked, this, [this](bool on) {
    FBitWidthByte = on ? (FBitWidthByte | 0x80) : (FBitWidthByte & 0x7F);
  });

  tvOptions->expandAll();
  // As wide as designed, or as its longest topic in the desktop's font.
  int treeWidth = 180;
  for (QTreeWidgetItemIterator it(tvOptions); *it; ++it) {
    int depth = 1;
    for (QTreeWidgetItem* p = (*it)->parent(); p; p = p->parent()) ++depth;
    treeWidth =
        qMax(treeWidth, tvOptions->fontMetrics().horizontalAdvance((*it)->text(0)) +
                            depth * tvOptions->indentation() + 2 * tvOptions->frameWidth() + 12);
  }
  tvOptions->setFixedWidth(treeWidth);
  SelectNode(0);
  cboxCsvDelimiter->setCurrentIndex(1);
  cbxRestoreDesktop->setChecked(true);
}

void TfrmLOptions::SelectNode(int position) {
  if (position < 0 || position >= FNodes.size()) return;
  if (tvOptions->currentItem() == FNodes[position])
    tvOptionsClick();
  else
    tvOptions->setCurrentItem(FNodes[position]);
}

void TfrmLOptions::tvOptionsClick() {
  const int position = FNodes.indexOf(tvOptions->currentItem());
  if (position < 0) return;
  pgPages->setCurrentWidget(FPages[position]);
  FHelpContext = kNodes[position].help;
}

void TfrmLOptions::SetBitWidth(int bits) {
  FBitWidthByte = (FBitWidthByte & 0x80) | bits;
}

bool TfrmLOptions::GeneralChecked(int item) const {
  return clbGeneral->item(item)->checkState() == Qt::Checked;
}

void TfrmLOptions::SetGeneralChecked(int item, bool on) {
  clbGeneral->item(item)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

void TfrmLOptions::UpdateHints() {
  SetShowHints(this, GeneralChecked(giEnableHints));
}

int TfrmLOptions::StartupPagesFromChecks() const {
  int pages = 0;
  for (int i = 0; i < clbStartup->count(); ++i) {
    const QListWidgetItem* item = clbStartup->item(i);
    if (item->checkState() == Qt::Checked) pages |= item->data(kStartupBitRole).toInt();
  }
  return pages;
}

void TfrmLOptions::SetDelimiter(int index) {
  FCsvDelimiter = DelimiterForIndex(index, FCsvDelimiter);
}

int TfrmLOptions::MacFormatIndex() const {
  const int index = cbxMACFormat->currentIndex();
  if (index >= 0 && cbxMACFormat->currentText() == cbxMACFormat->itemText(index)) return index;
  return cbxMACFormat->findText(cbxMACFormat->currentText(), Qt::MatchExactly);
}

bool TfrmLOptions::MaxItemsValue(int* value) const {
  bool ok = false;
  const int v = edtMaxItems->text().trimmed().toInt(&ok, 10);
  if (ok) *value = v;
  return ok;
}

TStoredOptions TfrmLOptions::OptionsFromControls() const {
  TStoredOptions o;
  for (int i = 0; i < kGeneralCount; ++i) o.General[i] = GeneralChecked(i);
  if (!MaxItemsValue(&o.MaxListItems)) o.MaxListItems = FMaxListItems;
  o.StartupPages = StartupPagesFromChecks();
  o.RecallDesktopSettings = cbxRestoreDesktop->isChecked();
  o.CsvDelimiterIndex = cboxCsvDelimiter->currentIndex();
  o.MacFormatIndex = MacFormatIndex();
  o.IanaLink = edtIANALink->text();
  o.BitWidthByte = FBitWidthByte;
  return o;
}

void TfrmLOptions::ShowOptions(const TStoredOptions& o) {
  for (int i = 0; i < kGeneralCount; ++i) SetGeneralChecked(i, o.General[i]);
  FMaxListItems = o.MaxListItems;
  edtMaxItems->setText(QString::number(FMaxListItems));
  FStartupPages = o.StartupPages;
  cbxRestoreDesktop->setChecked(o.RecallDesktopSettings);
  for (int i = 0; i < clbStartup->count(); ++i) {
    QListWidgetItem* item = clbStartup->item(i);
    item->setCheckState(FStartupPages & item->data(kStartupBitRole).toInt() ? Qt::Checked
                                                                            : Qt::Unchecked);
  }
  cboxCsvDelimiter->setCurrentIndex(o.CsvDelimiterIndex);
  SetDelimiter(cboxCsvDelimiter->currentIndex());
  cbxMACFormat->setCurrentIndex(o.MacFormatIndex);
  edtIANALink->setText(o.IanaLink);
  edtIANALink->setCursorPosition(0);
  FBitWidthByte = o.BitWidthByte;
  cbxHighlightLow32->setChecked(FBitWidthByte & 0x80);
  switch (FBitWidthByte & 0x7F) {
    case 0:
      rbtnVariable->setChecked(true);
      break;
    case 16:
      rbtn16->setChecked(true);
      break;
    case 32:
      rbtn32->setChecked(true);
      break;
    case 64:
      rbtn64->setChecked(true);
      break;
    default:
      break;
  }
}

void TfrmLOptions::SetSettingsFiles(const QString& iniFileName, const QString& userDataDir) {
  FOptions.IniFileName = iniFileName;
  FOptions.UserDataDir = userDataDir;
}

bool TfrmLOptions::ReadOptions(TReadMode mode) {
  const TStoredOptions stored = LoadOptions(FOptions.IniFileName);
  bool changed = false;
  if (mode == rmLoad) {
    ShowOptions(stored);
  } else {
    // A limit field that holds no number counts as a change, so Cancel asks
    // before throwing it away.
    int maxItems = 0;
    changed = !MaxItemsValue(&maxItems) || OptionsChanged(OptionsFromControls(), stored);
  }
  UpdateHints();
  FillOptionsRec();
  return changed;
}

bool TfrmLOptions::WriteOptions() {
  int maxItems = 0;
  if (!MaxItemsValue(&maxItems)) return false;
  // The record takes the new limit and delimiter even when the file cannot
  // be written.
  if (maxItems < 10) {
    maxItems = 10;
    edtMaxItems->setText(QStringLiteral("10"));
  }
  FMaxListItems = maxItems;
  SetDelimiter(cboxCsvDelimiter->currentIndex());
  const TStoredOptions options = OptionsFromControls();
  if (SaveOptions(FOptions.IniFileName, options)) FStartupPages = options.StartupPages;
  return true;
}

void TfrmLOptions::FillOptionsRec() {
  TStoredOptions shown = OptionsFromControls();
  // The limit and the delimiter in use change only when they are saved.
  shown.MaxListItems = FMaxListItems;
  ::FillOptionsRec(FOptions, shown, FCsvDelimiter);
  FOptions.HighlightLow32 = cbxHighlightLow32->isChecked();
}

bool TfrmLOptions::ConfirmMaxItems() {
  int value = 0;
  if (MaxItemsValue(&value)) return true;
  const QString text = edtMaxItems->text().trimmed();
  ShowErrorBox(this, text.isEmpty()
                         ? QStringLiteral("An empty host list limit is not a valid number.")
                         : QStringLiteral("'%1' is not a valid number for the host list limit.")
                               .arg(QuotedInput(text)));
  SelectNode(4);
  edtMaxItems->setFocus();
  edtMaxItems->selectAll();
  return false;
}

void TfrmLOptions::btnOkClick() {
  // Checked before anything is written, so a bad limit never leaves the
  // options half saved.
  if (!ConfirmMaxItems()) return;
  WriteOptions();
  FAccepted = true;
  FillOptionsRec();
  accept();
}

void TfrmLOptions::btnCancelClick() {
  const bool changed = ReadOptions(rmCompare);
  FAccepted = changed;
  if (changed &&
      Services::Instance().MessageBox(this, QStringLiteral("Options have been changed:"),
                                      QStringLiteral("Save changes?"), Services::Icon::Question,
                                      Services::Yes | Services::No) == Services::Yes) {
    if (!ConfirmMaxItems()) return;
    WriteOptions();
  }
  ReadOptions(rmLoad);
  reject();
}

void TfrmLOptions::btnHelpClick() {
  Services::Instance().ShowHelp(FHelpContext);
}

void TfrmLOptions::showEvent(QShowEvent* event) {
  // Centred on the screen, not over the main window.
  if (const QScreen* s = screen()) {
    move(CentredIn(s->availableGeometry(), size()));
  }
  QDialog::showEvent(event);
}

void TfrmLOptions::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    btnCancelClick();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TfrmLOptions::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edtMaxItems) {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      const QString text = key->text();
      // Only digits and Backspace are typed; control keys pass.
      if (!text.isEmpty() && text.at(0).isPrint() && !text.at(0).isDigit()) return true;
      if (!text.isEmpty() && text.at(0).isDigit() &&
          (text.at(0) < QLatin1Char('0') || text.at(0) > QLatin1Char('9')))
        return true;
    } else if (event->type() == QEvent::FocusIn) {
      SetEditColor(edtMaxItems, NumberFocusColor());
    } else if (event->type() == QEvent::FocusOut) {
      ResetEditColor(edtMaxItems);
    }
    return false;
  }
  if (event->type() == QEvent::MouseButtonDblClick &&
      (watched == clbGeneral->viewport() || watched == clbStartup->viewport())) {
    auto* list = watched == clbGeneral->viewport() ? clbGeneral : clbStartup;
    const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
    QListWidgetItem* item = list->itemAt(pos);
    if (!item) return false;
    // The check box itself toggles on the single click already.
    const int indicator = list->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 6;
    if (pos.x() < list->visualItemRect(item).left() + indicator) return false;
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
