#include "ipv6calc/tcipv6calc.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/optionsrec.h"
#include "common/services.h"
#include "common/settingsstore.h"
#include "common/widgethelpers.h"
#include "ipv6calc/v6binaryview.h"

namespace {

const QString kTitle = QStringLiteral("IPv6 Calculator");

// The address box notes whether its list is open: only a pick from the list
// examines, where activated() also fires when the field loses the focus with
// a text equal to a history entry, and on the arrow keys.
class TV6HistoryBox : public QComboBox {
 public:
  bool FPicking = false;
  void showPopup() override {
    FPicking = true;
    QComboBox::showPopup();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    // The pick is reported right after the list closes.
    QTimer::singleShot(0, this, [this] { FPicking = false; });
  }
};

QTreeWidget* NewList(const char* name, const QStringList& headers) {
  auto* v = new QTreeWidget;
  v->setObjectName(QLatin1String(name));
  v->setRootIsDecorated(false);
  v->setUniformRowHeights(true);
  v->setAllColumnsShowFocus(true);
  v->setSelectionMode(QAbstractItemView::ExtendedSelection);
  v->setHeaderLabels(headers);
  v->setContextMenuPolicy(Qt::CustomContextMenu);
  return v;
}

}  // namespace

TcIpv6Calc::TcIpv6Calc(QWidget* parent) : TcChild(parent) {
  BuildLayout();
  ConnectHandlers();
  setWindowTitle(kTitle);
  resize(820, 600);
}

TcIpv6Calc::~TcIpv6Calc() {
  DetachChildren();
}

// ---------------------------------------------------------------- layout

void TcIpv6Calc::BuildLayout() {
  auto* background = new QWidget;
  background->setObjectName(QStringLiteral("pnlV6Background"));
  auto* main = new QVBoxLayout(background);

  auto* input = new QHBoxLayout;
  auto* caption = new QLabel(QStringLiteral("&Address:"));
  edtV6Address = new TV6HistoryBox;
  edtV6Address->setObjectName(QStringLiteral("edtV6Address"));
  edtV6Address->setEditable(true);
  edtV6Address->setInsertPolicy(QComboBox::NoInsert);
  edtV6Address->setMaxCount(kV6HistorySize);
  edtV6Address->setMinimumContentsLength(24);
  edtV6Address->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  SetHint(edtV6Address, QStringLiteral("IPv6 address, optionally with %zone and /prefix length"));
  caption->setBuddy(edtV6Address);
  spnV6Prefix = new QSpinBox;
  spnV6Prefix->setObjectName(QStringLiteral("spnV6Prefix"));
  spnV6Prefix->setRange(0, 128);
  spnV6Prefix->setValue(64);
  spnV6Prefix->setPrefix(QStringLiteral("/"));
  // Typing "48" would otherwise examine a /4 first.
  spnV6Prefix->setKeyboardTracking(false);
  SetHint(spnV6Prefix, QStringLiteral("Prefix length (0-128)"));
  btnV6Examine = NewPushButton("btnV6Examine", QStringLiteral("&Examine"),
                               QStringLiteral("Examine the address"));
  btnV6PrevNet = NewPushButton("btnV6PrevNet", QStringLiteral("< Net"),
                               QStringLiteral("Examine the previous network of the same length"));
  btnV6NextNet = NewPushButton("btnV6NextNet", QStringLiteral("Net >"),
                               QStringLiteral("Examine the next network of the same length"));
  input->addWidget(caption);
  input->addWidget(edtV6Address, 1);
  input->addWidget(spnV6Prefix);
  input->addWidget(btnV6Examine);
  input->addWidget(btnV6PrevNet);
  input->addWidget(btnV6NextNet);
  main->addLayout(input);

  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->setObjectName(QStringLiteral("splV6"));
  splitter->setChildrenCollapsible(false);

  auto* results = new QGroupBox(QStringLiteral("Address"));
  results->setObjectName(QStringLiteral("gbV6Results"));
  auto* grid = new QGridLayout(results);
  grid->setColumnStretch(1, 1);
  for (int i = 0; i < v6LineCount; ++i) {
    auto* c = new QLabel(V6LineCaption(i));
    // The long lines wrap, the range after its " - " and never inside an
    // address, so that the panel needs no more width than the bits below it.
    const bool atBlanks = i == v6Range || i == v6Type || i == v6Embedded;
    QLabel* l = atBlanks ? new TBlankWrapLabel : new QLabel;
    l->setObjectName(QLatin1String(V6LineName(i)));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    l->setContextMenuPolicy(Qt::CustomContextMenu);
    l->setWordWrap(i == v6Ptr);
    l->setMinimumWidth(120);
    grid->addWidget(c, i, 0, Qt::AlignTop);
    grid->addWidget(l, i, 1);
    FLines[i] = l;
  }
  pbV6Binary = new TV6BinaryView;
  pbV6Binary->setObjectName(QStringLiteral("pbV6Binary"));
  pbV6Binary->setContextMenuPolicy(Qt::CustomContextMenu);
  grid->addWidget(new QLabel(QStringLiteral("Bits:")), v6LineCount, 0, Qt::AlignTop);
  grid->addWidget(pbV6Binary, v6LineCount, 1, Qt::AlignLeft);
  grid->setRowStretch(v6LineCount + 1, 1);
  auto* scroll = new QScrollArea;
  scroll->setObjectName(QStringLiteral("sbV6Results"));
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(results);
  splitter->addWidget(scroll);

  pcV6Pages = new QTabWidget;
  pcV6Pages->setObjectName(QStringLiteral("pcV6Pages"));
  pcV6Pages->addTab(BuildSubnetsPage(), QStringLiteral("Subnets"));
  pcV6Pages->addTab(BuildSpecialPage(), QStringLiteral("Special-Purpose Blocks"));
  pcV6Pages->addTab(BuildEui64Page(), QStringLiteral("EUI-64"));
  splitter->addWidget(pcV6Pages);
  // The results keep the width of their widest fixed line; the pages take
  // what the window has beyond that.
  const int left = results->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width();
  scroll->setMinimumWidth(left);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  main->addWidget(splitter, 1);

  pmV6Copy = new QMenu(this);
  pmV6Copy->setObjectName(QStringLiteral("pmV6Copy"));
  setWidget(background);
}

QWidget* TcIpv6Calc::BuildSubnetsPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsV6Subnets"));
  auto* l = new QVBoxLayout(page);
  auto* top = new QHBoxLayout;
  spnV6SubnetPrefix = new QSpinBox;
  spnV6SubnetPrefix->setObjectName(QStringLiteral("spnV6SubnetPrefix"));
  spnV6SubnetPrefix->setRange(1, 128);
  spnV6SubnetPrefix->setValue(64);
  spnV6SubnetPrefix->setPrefix(QStringLiteral("/"));
  spnV6SubnetPrefix->setKeyboardTracking(false);
  SetHint(spnV6SubnetPrefix, QStringLiteral("Length of the subnets (longer than the prefix)"));
  lblV6SubnetCount = new QLabel;
  lblV6SubnetCount->setObjectName(QStringLiteral("lblV6SubnetCount"));
  lblV6SubnetCount->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblV6SubnetCount->setWordWrap(true);
  top->addWidget(new QLabel(QStringLiteral("Subnets of length:")));
  top->addWidget(spnV6SubnetPrefix);
  top->addWidget(lblV6SubnetCount, 1);
  l->addLayout(top);

  auto* pager = new QHBoxLayout;
  edtV6SubnetIndex = new QLineEdit(QStringLiteral("0"));
  edtV6SubnetIndex->setObjectName(QStringLiteral("edtV6SubnetIndex"));
  SetHint(edtV6SubnetIndex,
          QStringLiteral("Number of the first subnet shown (decimal or 0x hex); Enter goes there"));
  btnV6First = NewPushButton("btnV6First", QStringLiteral("|<"), QStringLiteral("First page"));
  btnV6Prev = NewPushButton("btnV6Prev", QStringLiteral("<"), QStringLiteral("Previous page"));
  btnV6Next = NewPushButton("btnV6Next", QStringLiteral(">"), QStringLiteral("Next page"));
  btnV6Last = NewPushButton("btnV6Last", QStringLiteral(">|"), QStringLiteral("Last page"));
  pager->addWidget(new QLabel(QStringLiteral("From subnet:")));
  pager->addWidget(edtV6SubnetIndex, 1);
  for (QPushButton* b : {btnV6First, btnV6Prev, btnV6Next, btnV6Last}) {
    b->setMaximumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral(">|")) + 24);
    pager->addWidget(b);
  }
  l->addLayout(pager);

  lvV6Subnets = NewList("lvV6Subnets",
                        {QStringLiteral("#"), QStringLiteral("Subnet"), QStringLiteral("Range")});
  SetHint(lvV6Subnets, QStringLiteral("Double-click a subnet to examine it"));
  l->addWidget(lvV6Subnets, 1);
  return page;
}

QWidget* TcIpv6Calc::BuildSpecialPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsV6Special"));
  auto* l = new QVBoxLayout(page);
  lvV6Special = NewList("lvV6Special", {QStringLiteral("Block"), QStringLiteral("Usage"),
                                        QStringLiteral("Reference")});
  lvV6Special->setSelectionMode(QAbstractItemView::SingleSelection);
  SetHint(lvV6Special, QStringLiteral("Double-click a block to examine it"));
  l->addWidget(lvV6Special);
  return page;
}

QWidget* TcIpv6Calc::BuildEui64Page() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsV6Eui64"));
  auto* g = new QGridLayout(page);
  edtV6MacPrefix = new QLineEdit;
  edtV6MacPrefix->setObjectName(QStringLiteral("edtV6MacPrefix"));
  SetHint(edtV6MacPrefix, QStringLiteral("The /64 network of the interface"));
  edtV6Mac = new QLineEdit;
  edtV6Mac->setObjectName(QStringLiteral("edtV6Mac"));
  SetHint(edtV6Mac, QStringLiteral("48-bit MAC address, such as 00:1a:2b:3c:4d:5e"));
  btnV6FromMac =
      NewPushButton("btnV6FromMac", QStringLiteral("&Build Address"),
                    QStringLiteral("Build the address with a modified EUI-64 interface ID"));
  lblV6FromMac = new QLabel;
  lblV6FromMac->setObjectName(QStringLiteral("lblV6FromMac"));
  lblV6FromMac->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblV6FromMac->setContextMenuPolicy(Qt::CustomContextMenu);
  g->addWidget(new QLabel(QStringLiteral("Prefix (/64):")), 0, 0);
  g->addWidget(edtV6MacPrefix, 0, 1);
  g->addWidget(new QLabel(QStringLiteral("MAC address:")), 1, 0);
  g->addWidget(edtV6Mac, 1, 1);
  g->addWidget(btnV6FromMac, 2, 1, Qt::AlignLeft);
  g->addWidget(new QLabel(QStringLiteral("Address:")), 3, 0);
  g->addWidget(lblV6FromMac, 3, 1);
  g->setRowStretch(4, 1);
  g->setColumnStretch(1, 1);
  return page;
}

void TcIpv6Calc::ConnectHandlers() {
  connect(btnV6Examine, &QPushButton::clicked, this, [this] { Examine(true); });
  connect(edtV6Address, &QComboBox::activated, this, [this] {
    auto* box = static_cast<TV6HistoryBox*>(edtV6Address);
    if (!box->FPicking) return;
    box->FPicking = false;
    Examine(true);
  });
  connect(spnV6Prefix, &QSpinBox::valueChanged, this, [this] {
    if (!FWriting && FResult.net.is_valid()) {
      // The spin box wins over a "/len" left in the text.
      int dummy = 0;
      SetAddressText(SplitAddressText(edtV6Address->currentText(), &dummy));
      Examine(false);
    }
  });
  connect(btnV6PrevNet, &QPushButton::clicked, this, [this] { StepNetwork(false); });
  connect(btnV6NextNet, &QPushButton::clicked, this, [this] { StepNetwork(true); });
  connect(spnV6SubnetPrefix, &QSpinBox::valueChanged, this, [this](int value) {
    if (FWriting) return;
    FWantedSubnetPrefix = value;
    UpdateSubnetPanel();
  });
  connect(btnV6First, &QPushButton::clicked, this, [this] { ShowSubnetPage(ipv6count()); });
  connect(btnV6Prev, &QPushButton::clicked, this, [this] { PageBy(-kPageRows); });
  connect(btnV6Next, &QPushButton::clicked, this, [this] { PageBy(kPageRows); });
  connect(btnV6Last, &QPushButton::clicked, this, [this] {
    ShowSubnetPage(V6LastPageStart(FResult.net, spnV6SubnetPrefix->value(), kPageRows));
  });
  connect(edtV6SubnetIndex, &QLineEdit::returnPressed, this, [this] { GoToIndex(); });
  connect(lvV6Subnets, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { ExamineText(item->text(1)); });
  connect(lvV6Special, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { ExamineText(item->text(0)); });
  connect(btnV6FromMac, &QPushButton::clicked, this, [this] { FromMac(); });
  connect(edtV6Mac, &QLineEdit::returnPressed, this, [this] { FromMac(); });

  QList<QWidget*> popups{pbV6Binary, lvV6Subnets, lvV6Special, lblV6FromMac};
  for (QLabel* l : FLines) popups.append(l);
  for (QWidget* w : popups)
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](const QPoint& pos) { CopyPopup(w, pos); });
  edtV6Address->lineEdit()->installEventFilter(this);
}

bool TcIpv6Calc::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edtV6Address->lineEdit() && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Examine(true);
      return true;
    }
  }
  return TcChild::eventFilter(watched, event);
}

// ---------------------------------------------------------------- options and state

void TcIpv6Calc::ShowAddress(const QString& text) {
  SetAddressText(text);
  Examine(true);
}

void TcIpv6Calc::ApplyOptions(const TOptionsRec& options) {
  FIniFileName = options.IniFileName.isEmpty() ? IniFileName() : options.IniFileName;
  SetShowHints(this, options.EnableHints);
  if (!FFirstApply) return;
  FFirstApply = false;
  LoadReservedList(Reserved6Candidates(QDir::currentPath(), QApplication::applicationDirPath()));
  const TV6State state = LoadV6State(FIniFileName);
  SetHistory(state.history);
  {
    const QScopedValueRollback<bool> own(FWriting, true);
    spnV6Prefix->setValue(state.prefix);
    spnV6SubnetPrefix->setValue(state.subnetPrefix);
  }
  FWantedSubnetPrefix = state.subnetPrefix;
  SetAddressText(state.lastAddress);
  if (options.RecallDesktopSettings) LoadWindowSize();
  // A stored text that no longer reads shows its message only when examined
  // by the user; at start the panel simply stays empty.
  const TV6Result r = ExamineV6(state.lastAddress, state.prefix, FBlocks);
  if (r.ok()) Examine(false);
}

void TcIpv6Calc::SaveState() {
  TV6State s;
  s.lastAddress = edtV6Address->currentText().trimmed();
  s.prefix = spnV6Prefix->value();
  s.subnetPrefix = FWantedSubnetPrefix;
  s.history = History();
  SaveV6State(FIniFileName.isEmpty() ? IniFileName() : FIniFileName, s);
}

void TcIpv6Calc::LoadReservedList(const QStringList& candidates) {
  FBlocks.read(ReadReserved6(candidates, &FListFile).toStdString());
  const QSignalBlocker block(lvV6Special);
  lvV6Special->clear();
  QList<QTreeWidgetItem*> items;
  for (const ipv6block& b : FBlocks.rows())
    items.append(new QTreeWidgetItem(QStringList{QString::fromStdString(b.text),
                                                 QString::fromStdString(b.usage),
                                                 QString::fromStdString(b.reference)}));
  lvV6Special->addTopLevelItems(items);
  lvV6Special->resizeColumnToContents(0);
  lvV6Special->resizeColumnToContents(1);
}

QStringList TcIpv6Calc::History() const {
  QStringList h;
  for (int i = 0; i < edtV6Address->count(); ++i) h.append(edtV6Address->itemText(i));
  return h;
}

void TcIpv6Calc::SetHistory(const QStringList& history) {
  // Changing the list of an editable combo may replace its text.
  const QString text = edtV6Address->currentText();
  const QSignalBlocker block(edtV6Address);
  edtV6Address->clear();
  edtV6Address->addItems(history.mid(0, kV6HistorySize));
  edtV6Address->setCurrentIndex(-1);
  edtV6Address->setEditText(text);
}

void TcIpv6Calc::SetAddressText(const QString& text) {
  const QSignalBlocker block(edtV6Address);
  edtV6Address->setEditText(text);
}

// ---------------------------------------------------------------- examination

void TcIpv6Calc::ClearResults() {
  FResult = TV6Result();
  for (QLabel* l : FLines) l->clear();
  pbV6Binary->SetAddress(ipv6(std::string_view()), 0);
  lvV6Subnets->clear();
  lblV6SubnetCount->clear();
  lvV6Special->clearSelection();
  setWindowTitle(kTitle);
}

void TcIpv6Calc::Examine(bool addToHistory) {
  const QString text = edtV6Address->currentText().trimmed();
  int prefix = spnV6Prefix->value();
  bool hadPrefix = false;
  SplitAddressText(text, &prefix, &hadPrefix);
  TV6Result r = ExamineV6(text, prefix, FBlocks);
  if (!r.ok()) {
    ClearResults();
    ShowErrorBox(this, r.error);
    return;
  }
  FResult = r;
  if (hadPrefix) {
    const QScopedValueRollback<bool> own(FWriting, true);
    spnV6Prefix->setValue(r.net.prefix());
  }
  if (addToHistory) {
    QStringList history = History();
    if (AddV6History(history, text)) SetHistory(history);
  }
  SetAddressText(text);
  for (int i = 0; i < v6LineCount; ++i) FLines[i]->setText(r.lines.at(i));
  pbV6Binary->SetAddress(r.net.address(), r.net.prefix());
  btnV6PrevNet->setEnabled(r.net.has_previous());
  btnV6NextNet->setEnabled(r.net.has_next());
  if (r.blockRow >= 0) {
    SelectListItem(lvV6Special, r.blockRow);
  } else {
    lvV6Special->clearSelection();
  }
  if (r.net.prefix() <= 64)
    edtV6MacPrefix->setText(QString::fromStdString(r.net.subnet(64, 0).cidr()));
  setWindowTitle(kTitle + QLatin1Char(' ') + text);
  UpdateSubnetPanel();
}

void TcIpv6Calc::ExamineText(const QString& text) {
  SetAddressText(text);
  Examine(true);
}

void TcIpv6Calc::StepNetwork(bool forward) {
  if (!FResult.net.is_valid()) return;
  const ipv6net n = forward ? FResult.net.next() : FResult.net.previous();
  if (n.is_valid()) ExamineText(QString::fromStdString(n.cidr()));
}

// ---------------------------------------------------------------- subnets

void TcIpv6Calc::UpdateSubnetPanel() {
  const ipv6net& net = FResult.net;
  const bool usable = net.is_valid() && net.prefix() < 128;
  for (QWidget* w : std::initializer_list<QWidget*>{spnV6SubnetPrefix, edtV6SubnetIndex, btnV6First,
                                                    btnV6Prev, btnV6Next, btnV6Last})
    w->setEnabled(usable);
  if (!usable) {
    lvV6Subnets->clear();
    lblV6SubnetCount->setText(net.is_valid() ? QStringLiteral("A /128 holds no subnets.")
                                             : QString());
    return;
  }
  {
    const QScopedValueRollback<bool> own(FWriting, true);
    spnV6SubnetPrefix->setMinimum(net.prefix() + 1);
    spnV6SubnetPrefix->setValue(qMax(FWantedSubnetPrefix, net.prefix() + 1));
  }
  const ipv6count count = net.subnet_count(spnV6SubnetPrefix->value());
  lblV6SubnetCount->setText(
      QStringLiteral("%1 subnets").arg(QString::fromStdString(count.decimal())) +
      (count.power_text().empty()
           ? QString()
           : QStringLiteral(" (%1)").arg(QString::fromStdString(count.power_text()))));
  ShowSubnetPage(ipv6count());
}

void TcIpv6Calc::ShowSubnetPage(const ipv6count& first) {
  FPageStart = first;
  edtV6SubnetIndex->setText(V6IndexText(first));
  const auto rows = V6SubnetPage(FResult.net, spnV6SubnetPrefix->value(), first, kPageRows);
  lvV6Subnets->setUpdatesEnabled(false);
  lvV6Subnets->clear();
  QList<QTreeWidgetItem*> items;
  for (const TV6SubnetRow& r : rows)
    items.append(new QTreeWidgetItem(
        QStringList{QString::fromStdString(ipv6count(r.index).decimal()), r.network, r.range}));
  lvV6Subnets->addTopLevelItems(items);
  lvV6Subnets->setUpdatesEnabled(true);
  if (!items.isEmpty()) {
    lvV6Subnets->resizeColumnToContents(0);
    lvV6Subnets->resizeColumnToContents(1);
  }
  const ipv6count last = V6LastPageStart(FResult.net, spnV6SubnetPrefix->value(), kPageRows);
  const bool atStart = first == ipv6count();
  btnV6First->setEnabled(!atStart);
  btnV6Prev->setEnabled(!atStart);
  // A typed number may start a page beyond the last page's start.
  const bool beforeLast = first.value() < last.value();
  btnV6Next->setEnabled(beforeLast);
  btnV6Last->setEnabled(first != last);
}

void TcIpv6Calc::PageBy(long long delta) {
  ShowSubnetPage(V6MovePage(FResult.net, spnV6SubnetPrefix->value(), FPageStart, delta, kPageRows));
}

void TcIpv6Calc::GoToIndex() {
  ipv6count index;
  const ipv6count count = FResult.net.subnet_count(spnV6SubnetPrefix->value());
  const bool read = ipv6count::from_text(edtV6SubnetIndex->text().trimmed().toStdString(), &index);
  if (!read || index.is_full() || (!count.is_full() && index.value() >= count.value())) {
    ShowErrorBox(this, QStringLiteral("Invalid subnet number: %1 (0 to the count less one).")
                           .arg(QuotedInput(edtV6SubnetIndex->text())));
    edtV6SubnetIndex->setText(V6IndexText(FPageStart));
    return;
  }
  ShowSubnetPage(index);
}

// ---------------------------------------------------------------- EUI-64 and copying

void TcIpv6Calc::FromMac() {
  const TV6FromMac r = V6AddressFromMac(edtV6MacPrefix->text(), edtV6Mac->text());
  if (!r.error.isEmpty()) {
    lblV6FromMac->clear();
    ShowErrorBox(this, r.error);
    return;
  }
  lblV6FromMac->setText(r.address);
}

QString TcIpv6Calc::ListText(const QTreeWidget* view, bool selectedOnly) const {
  QString t;
  for (int i = 0; i < view->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = view->topLevelItem(i);
    if (selectedOnly && !item->isSelected()) continue;
    QStringList cells;
    for (int c = 0; c < view->columnCount(); ++c) cells.append(item->text(c));
    t += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
  }
  return t;
}

void TcIpv6Calc::CopyPopup(QWidget* source, const QPoint& pos) {
  pmV6Copy->clear();
  auto* tree = qobject_cast<QTreeWidget*>(source);
  auto* label = qobject_cast<QLabel*>(source);
  if (tree) {
    QAction* a = AddMenuAction(pmV6Copy, "miV6CopyRows", QStringLiteral("Copy"),
                               QStringLiteral("Copy the selected rows"));
    a->setEnabled(!tree->selectedItems().isEmpty());
    connect(a, &QAction::triggered, this,
            [this, tree] { Services::Instance().SetClipboardText(ListText(tree, true)); });
    connect(AddMenuAction(pmV6Copy, "miV6CopyList", QStringLiteral("Copy All Rows")),
            &QAction::triggered, this,
            [this, tree] { Services::Instance().SetClipboardText(ListText(tree, false)); });
  } else if (source == pbV6Binary) {
    connect(AddMenuAction(pmV6Copy, "miV6CopyBits", QStringLiteral("Copy Bits")),
            &QAction::triggered, this,
            [this] { Services::Instance().SetClipboardText(pbV6Binary->Text()); });
  } else if (label) {
    QAction* a = AddMenuAction(pmV6Copy, "miV6CopyLine", QStringLiteral("Copy Line"),
                               QStringLiteral("Copy this result line"));
    a->setEnabled(!label->text().isEmpty());
    connect(a, &QAction::triggered, this,
            [label] { Services::Instance().SetClipboardText(label->text()); });
  }
  QAction* all = AddMenuAction(pmV6Copy, "miV6CopyPanel", QStringLiteral("Copy All Results"),
                               QStringLiteral("Copy every result line as text"));
  all->setEnabled(FResult.ok() && FResult.net.is_valid());
  connect(all, &QAction::triggered, this, [this] {
    Services::Instance().SetClipboardText(V6ResultText(FResult) + pbV6Binary->Text());
  });
  pmV6Copy->popup(source->mapToGlobal(pos));
}
