#include "ipcalc/tcipcalc.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>

#include "common/optionsrec.h"
#include "common/services.h"
#include "common/settingsstore.h"
#include "common/widgethelpers.h"
#include "ipcalc/addresschart.h"
#include "ipcalc/bitimage.h"
#include "ipcalc/maskviewer.h"
#include "ipcalc/multicast.h"
#include "ipcalc/multicastpanel.h"
#include "ipcalc/netcalc.h"
#include "ipcalc/networkcalcbox.h"
#include "ipcalc/subnettables.h"
#include "ipv4lib/ipv4host.h"

namespace {

const QString kSection = QStringLiteral("MRIP");

// Trims blanks and control characters at both ends.
QString TrimText(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && s.at(b).unicode() <= 32) ++b;
  while (e > b && s.at(e - 1).unicode() <= 32) --e;
  return s.mid(b, e - b);
}

void SetBold(QWidget* w, bool bold) {
  QFont f = w->font();
  f.setBold(bold);
  w->setFont(f);
}

QString HistoryKey(int i) {
  return QString(QChar(QLatin1Char('a').unicode() + i));
}

}  // namespace

TcIpCalc::TcIpCalc(QWidget* parent) : TcChild(parent) {
  FTitle = QStringLiteral("IPv4 Calculator ");
  FErrorCaption = QStringLiteral("Error");
  FAddress.assign_value(0x10000000u);
  FNetworkMask.assign_value(0xFFFFFF00u);
  FViewerMask.assign_value(0xFFFFFF00u);
  BuildLayout();
  ConnectHandlers();
  setWindowTitle(FTitle);
  const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
  const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  resize(805 + 2 * frame, 592 + title + frame);
}

TcIpCalc::~TcIpCalc() {
  // The base classes and the children outlive this part of the object while
  // they are torn down: none of their signals or events may reach it.
  QObject::disconnect(this, nullptr, this, nullptr);
  for (QObject* o : findChildren<QObject*>()) {
    QObject::disconnect(o, nullptr, this, nullptr);
    o->removeEventFilter(this);
  }
  static_cast<TNetworkCalcBox*>(gbNetworkCalc)->onDropDown = nullptr;
  static_cast<TNetworkCalcBox*>(gbNetworkCalc)->onCloseUp = nullptr;
  subnetTables->NetworkText = [] { return QString(); };
  subnetTables->NetworkLabelText = [] { return QString(); };
}

// ---------------------------------------------------------------- layout

void TcIpCalc::BuildLayout() {
  pnlCalcBackground = new QWidget;
  pnlCalcBackground->setObjectName(QStringLiteral("pnlCalcBackground"));
  // The designed pixel sizes are those of an 8 point font.
  QFont small = pnlCalcBackground->font();
  small.setPointSize(8);
  pnlCalcBackground->setFont(small);
  auto* main = new QVBoxLayout(pnlCalcBackground);
  main->setContentsMargins(0, 0, 0, 0);
  main->setSpacing(0);

  ToolBar1 = new QToolBar(pnlCalcBackground);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setFixedHeight(24);
  ToolBar1->setMovable(false);
  auto toggle = [this](const char* name, const char* caption, const char* hint) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(QLatin1String(name));
    b->setText(QLatin1String(caption));
    b->setToolTip(QLatin1String(hint));
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setFixedSize(120, 22);
    ToolBar1->addWidget(b);
    return b;
  };
  sbtnClassASupernets =
      toggle("sbtnClassASupernets", "Class A Supernets", "Toggle Class A supernet representation");
  sbtnRFC3021Subnet =
      toggle("sbtnRFC3021Subnet", "RFC3021 Subnet", "Toggle RFC3021 subnet representation");
  sbtnSubnetMaskViewer =
      toggle("sbtnSubnetMaskViewer", "Subnet Mask Viewer", "Use network mask from Subnet Viewer");
  main->addWidget(ToolBar1);

  Splitter1 = new QSplitter(Qt::Horizontal, pnlCalcBackground);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setHandleWidth(6);
  Splitter1->setChildrenCollapsible(false);
  main->addWidget(Splitter1, 1);

  ScrollBox1 = new QScrollArea;
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  ScrollBox1->setFrameShape(QFrame::NoFrame);
  ScrollBox1->setWidgetResizable(true);
  // Narrower than its contents, the left side scrolls rather than cutting them off.
  ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  ScrollBox1->setMinimumWidth(100);
  // A click on a label or the background leaves the focus in the input.
  ScrollBox1->setFocusPolicy(Qt::NoFocus);
  auto* left = new QWidget(pnlCalcBackground);
  left->setFont(small);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(2, 2, 2, 2);
  leftLayout->setSpacing(3);

  gbSubnetViewer = new TMaskViewer(left);
  auto* calcBox = new TNetworkCalcBox(left);
  calcBox->onDropDown = [this] { edtIPCAddressDropDown(); };
  calcBox->onCloseUp = [this] { edtIPCAddressCloseUp(); };
  gbNetworkCalc = calcBox;
  edtIPCAddress = calcBox->edtIPCAddress;
  lblNetworkMask = calcBox->lblNetworkMask;
  edtNetworkMask = calcBox->edtNetworkMask;
  btnCalculate = calcBox->btnCalculate;
  bbtnPrev = calcBox->bbtnPrev;
  bbtnNext = calcBox->bbtnNext;
  lblNw = calcBox->lblNw;
  lblNetwork = calcBox->lblNetwork;
  lblSupernet = calcBox->lblSupernet;
  lblHostRange = calcBox->lblHostRange;
  lblNumberOfHosts = calcBox->lblNumberOfHosts;
  lblBroadcast = calcBox->lblBroadcast;
  lblNextNetwork = calcBox->lblNextNetwork;
  lblPTR = calcBox->lblPTR;
  lblIPv6 = calcBox->lblIPv6;
  lblRemarks = calcBox->lblRemarks;

  pcSpecialTables = new QTabWidget(left);
  pcSpecialTables->setObjectName(QStringLiteral("pcSpecialTables"));
  pcSpecialTables->setDocumentMode(true);
  pcSpecialTables->setMinimumHeight(240);
  tsSpecIP = new QWidget;
  tsSpecIP->setObjectName(QStringLiteral("tsSpecIP"));
  auto* specLayout = new QVBoxLayout(tsSpecIP);
  specLayout->setContentsMargins(0, 0, 0, 0);
  chart = new TSpecialChart(tsSpecIP);
  specLayout->addWidget(chart);
  tsMMAC = new QWidget;
  tsMMAC->setObjectName(QStringLiteral("tsMMAC"));
  auto* mmacLayout = new QVBoxLayout(tsMMAC);
  mmacLayout->setContentsMargins(0, 0, 0, 0);
  multicastPanel = new TMulticastPanel(tsMMAC);
  mmacLayout->addWidget(multicastPanel);
  pcSpecialTables->addTab(tsSpecIP, QStringLiteral("Special Purpose IP Networks"));
  pcSpecialTables->addTab(tsMMAC, QStringLiteral("Multicast MAC Specification"));
  // Nothing to show until a multicast address has been examined.
  pcSpecialTables->setTabVisible(1, false);

  leftLayout->addWidget(gbSubnetViewer);
  leftLayout->addWidget(gbNetworkCalc);
  leftLayout->addWidget(pcSpecialTables, 1);
  ScrollBox1->setWidget(left);

  pnlSubnetTableBackground = new QWidget;
  pnlSubnetTableBackground->setObjectName(QStringLiteral("pnlSubnetTableBackground"));
  pnlSubnetTableBackground->setMinimumWidth(100);
  auto* right = new QVBoxLayout(pnlSubnetTableBackground);
  right->setContentsMargins(0, 2, 2, 2);
  subnetTables = new TSubnetTables(pnlSubnetTableBackground);
  subnetTables->SetHostListAvailable(false);
  right->addWidget(subnetTables);
  edtCopy = new QLineEdit(pnlSubnetTableBackground);
  edtCopy->setObjectName(QStringLiteral("edtCopy"));
  edtCopy->hide();

  Splitter1->addWidget(ScrollBox1);
  Splitter1->addWidget(pnlSubnetTableBackground);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({449, 350});

  // Group box captions bold, their contents not.
  for (QGroupBox* gb : {static_cast<QGroupBox*>(gbSubnetViewer), gbNetworkCalc}) {
    SetBold(gb, true);
    for (QWidget* w : gb->findChildren<QWidget*>()) SetBold(w, false);
  }
  SetBold(btnCalculate, true);
  SetBold(gbSubnetViewer->btnSNConvert, true);
  SetBold(lblNetwork, true);
  for (QToolButton* b : {sbtnClassASupernets, sbtnRFC3021Subnet, sbtnSubnetMaskViewer})
    b->setFixedSize(qMax(120, b->sizeHint().width()), 22);
  // The left side is as wide as its widest part, at least the designed 439.
  int width = 439;
  for (QWidget* w : {static_cast<QWidget*>(gbSubnetViewer), static_cast<QWidget*>(gbNetworkCalc)})
    width = qMax(width, w->sizeHint().width());
  for (QWidget* w : {static_cast<QWidget*>(gbSubnetViewer), static_cast<QWidget*>(gbNetworkCalc),
                     static_cast<QWidget*>(pcSpecialTables)})
    w->setFixedWidth(width);
  LimitLeftWidth();
  Splitter1->setSizes({ScrollBox1->maximumWidth(), 350});

  pmCopy = new QMenu(this);
  pmCopy->setObjectName(QStringLiteral("pmCopy"));
  Copytoclipboard1 = pmCopy->addAction(QStringLiteral("Copy to clipboard"));
  Copytoclipboard1->setObjectName(QStringLiteral("Copytoclipboard1"));

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));

  setWidget(pnlCalcBackground);
}

void TcIpCalc::ConnectHandlers() {
  TMaskViewer* v = gbSubnetViewer;
  // Every change of the address text but the program's own: typing, paste,
  // the arrow keys or the mouse wheel stepping through the history, a pick.
  connect(edtIPCAddress, &QComboBox::editTextChanged, this, [this] {
    if (!FWritingAddress) edtIPCAddressChange();
  });
  // Also emitted when the field loses the focus with a text that equals a
  // history entry, and by the arrow keys: only a pick from the open list
  // counts (edtIPCAddressPicked).
  connect(edtIPCAddress, &QComboBox::activated, this, [this] { edtIPCAddressPicked(); });
  connect(edtNetworkMask, &QLineEdit::textEdited, this, [this] { edtNetworkMaskChange(); });
  connect(v->edtSubnetMask, &QLineEdit::textEdited, this, [this] { edtSubnetMaskChange(); });
  connect(v->btnSNConvert, &QPushButton::clicked, this, [this] { ConvertViewerMask(); });
  connect(v->TrackBar, &QSlider::valueChanged, this, [this] { TrackBarChange(); });
  connect(v->imgBinMask, &TBitImage::mouseMoved, this, [this](int x) { imgBinMaskMouseMove(x); });
  connect(multicastPanel, &TMulticastPanel::bitImageMouseMove, this,
          [this](int x) { imgBinMaskMouseMove(x); });
  connect(btnCalculate, &QPushButton::pressed, this, [this] { BlankResults(); });
  connect(btnCalculate, &QPushButton::released, this, [this] { RestoreResults(); });
  connect(btnCalculate, &QPushButton::clicked, this, [this] { Examine(true); });
  connect(bbtnPrev, &QToolButton::clicked, this, [this] { bbtnPrevClick(); });
  connect(bbtnNext, &QToolButton::clicked, this, [this] { bbtnNextClick(); });
  connect(sbtnClassASupernets, &QToolButton::clicked, this, [this] { sbtnClassASupernetsClick(); });
  connect(sbtnRFC3021Subnet, &QToolButton::clicked, this, [this] { sbtnRFC3021SubnetClick(); });
  connect(sbtnSubnetMaskViewer, &QToolButton::clicked, this,
          [this] { sbtnSubnetMaskViewerClick(); });
  connect(Copytoclipboard1, &QAction::triggered, this, [this] { Copytoclipboard1Click(); });
  connect(chart, &TSpecialChart::blockPicked, this,
          [this](const QString& a, const QString& m) { BlockPicked(a, m); });
  connect(this, &QMdiSubWindow::windowStateChanged, this,
          [this](Qt::WindowStates, Qt::WindowStates now) {
            SetFocusColours(now.testFlag(Qt::WindowActive));
          });

  subnetTables->NetworkText = [this] { return FNetworkText; };
  subnetTables->NetworkLabelText = [this] { return lblNetwork->text(); };

  for (QLabel* l :
       {lblNetwork, lblSupernet, lblHostRange, lblBroadcast, lblNextNetwork, lblPTR, lblIPv6}) {
    l->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(l, &QWidget::customContextMenuRequested, this, [this, l](const QPoint& pos) {
      FPopupLabel = l;
      pmCopy->popup(l->mapToGlobal(pos));
    });
  }
  for (QObject* o : std::initializer_list<QObject*>{
           edtIPCAddress, edtIPCAddress->lineEdit(), edtNetworkMask, v->edtSubnetMask, lblSupernet,
           lblNumberOfHosts, bbtnPrev, bbtnNext, ScrollBox1->verticalScrollBar()})
    o->installEventFilter(this);
}

// ---------------------------------------------------------------- options and state

void TcIpCalc::ApplyOptions(const TOptionsRec& options) {
  const TActionScope action(this);
  FIniFileName = options.IniFileName;
  FViewerMode = options.UseSubnetViewerMask;
  UpdateViewerVisibility();
  FClassDESubnets = options.ClassDESubnets;
  FRFC3021Subnets = options.RFC3021Subnets;
  FClassASupernets = options.EnableClassASupernets;
  FCsvDelimiter = options.CsvDelimiter;
  sbtnClassASupernets->setChecked(FClassASupernets);
  sbtnRFC3021Subnet->setChecked(FRFC3021Subnets);
  sbtnSubnetMaskViewer->setChecked(FViewerMode);
  FMaxListItems = options.MaxListItems;
  FIanaLink = options.IanaLink;
  multicastPanel->SetIanaLink(FIanaLink);
  SetShowHints(this, options.EnableHints);
  // The MAC format is needed by the examination below.
  // A format typed into the options rather than picked (-1) writes the first
  // style, not an empty MAC address.
  FMacFormat =
      options.MacFormatIndex >= 0 && options.MacFormatIndex <= 2 ? options.MacFormatIndex : 0;
  gbSubnetViewer->TrackBar->setMaximum(FRFC3021Subnets ? 32 : 31);
  gbSubnetViewer->TrackBar->setMinimum(FClassASupernets ? 1 : 8);
  if (FViewerMode) Examine(true);

  if (FFirstApply) {
    chart->LoadReservedList();
    RestoreState();
    if (options.RecallDesktopSettings) LoadWindowSize();
    pcSpecialTables->setCurrentIndex(0);
    SelectListItem(subnetTables->lvSubnets, FSavedSubnetRow);
    SelectListItem(subnetTables->lvNetworks, FSavedSubnetworkRow);
    FFirstApply = false;
  }
}

void TcIpCalc::RestoreState() {
  const SettingsFile ini(FIniFileName.isEmpty() ? IniFileName() : FIniFileName);
  QStringList history;
  for (int i = 0; i < 10; ++i) {
    const QString key = HistoryKey(i);
    if (!ini.ValueExists(kSection, key)) break;
    const QString entry = ini.ReadString(kSection, key, QStringLiteral("10.0.0.0"));
    if (!history.contains(entry)) history.append(entry);
  }
  SetHistory(history);
  gbSubnetViewer->edtSubnetMask->setText(
      ini.ReadString(kSection, QStringLiteral("LastMask"), QStringLiteral("255.255.255.0")));
  edtNetworkMask->setText(
      ini.ReadString(kSection, QStringLiteral("LastNetworkMask"), QStringLiteral("255.255.255.0")));
  QString ip = ini.ReadString(kSection, QStringLiteral("LastIP"), QStringLiteral("10.0.0.0"));
  if (ip.isEmpty()) ip = QStringLiteral("10.0.0.0");
  SetAddressText(ip);
  FSavedSubnetRow = ini.ReadInteger(kSection, QStringLiteral("LastSubnetMaskIndex"), 0);
  FSavedSubnetworkRow = ini.ReadInteger(kSection, QStringLiteral("LastSubnetworkIndex"), 0);

  ipv4 mask(gbSubnetViewer->edtSubnetMask->text().toLatin1().toStdString());
  const bool usable = mask.is_mask();
  if (!usable) mask.assign_value(0xFFFFFF00u);
  {
    const QSignalBlocker block(gbSubnetViewer->TrackBar);
    gbSubnetViewer->TrackBar->setValue(mask.prefix_length());
  }
  // Run the track bar's update even when the position did not move, so the
  // viewer (and in viewer mode the result) always matches the restored mask.
  // A stored text that is no mask stays as it was typed, for the user to
  // convert or correct.
  if (usable) TrackBarChange();
}

void TcIpCalc::SaveState() {
  SettingsFile ini(FIniFileName.isEmpty() ? IniFileName() : FIniFileName);
  if (!ini.Probe()) return;
  const QStringList history = HistoryToSave(History());
  for (int i = 0; i < history.size(); ++i)
    if (!ini.WriteString(kSection, HistoryKey(i), history.at(i))) return;
  const QString ip = edtIPCAddress->currentText();
  if (IsDottedQuad(ip) || IsNetworkText(ip))
    if (!ini.WriteString(kSection, QStringLiteral("LastIP"), ip)) return;
  const QString mask = gbSubnetViewer->edtSubnetMask->text();
  if (IsDottedQuad(mask))
    if (!ini.WriteString(kSection, QStringLiteral("LastMask"), mask)) return;
  const QString networkMask = edtNetworkMask->text();
  if (IsDottedQuad(networkMask))
    if (!ini.WriteString(kSection, QStringLiteral("LastNetworkMask"), networkMask)) return;
  if (!ini.WriteInteger(kSection, QStringLiteral("LastSubnetMaskIndex"),
                        SelectedListIndex(subnetTables->lvSubnets)))
    return;
  ini.WriteInteger(kSection, QStringLiteral("LastSubnetworkIndex"),
                   SelectedListIndex(subnetTables->lvNetworks));
}

void TcIpCalc::SetHistory(const QStringList& history) {
  // Changing the list of an editable combo may replace its text.
  const QString text = edtIPCAddress->currentText();
  const QSignalBlocker block(edtIPCAddress);
  const QScopedValueRollback<bool> own(FWritingAddress, true);
  edtIPCAddress->clear();
  edtIPCAddress->addItems(history);
  edtIPCAddress->setCurrentIndex(-1);
  edtIPCAddress->setEditText(text);
}

QStringList TcIpCalc::History() const {
  QStringList h;
  for (int i = 0; i < edtIPCAddress->count(); ++i) h.append(edtIPCAddress->itemText(i));
  return h;
}

void TcIpCalc::SetAddressText(const QString& text) {
  if (edtIPCAddress->currentText() == text) return;
  const QScopedValueRollback<bool> own(FWritingAddress, true);
  edtIPCAddress->setEditText(text);
}

void TcIpCalc::SetHostListAvailable(bool on) {
  FHostListAvailable = on;
  QFont f = lblNumberOfHosts->font();
  f.setUnderline(on);
  lblNumberOfHosts->setFont(f);
  lblNumberOfHosts->setToolTip(on ? QStringLiteral("Click to open host list") : QString());
  if (!on) lblNumberOfHosts->unsetCursor();
  subnetTables->SetHostListAvailable(on);
}

// ---------------------------------------------------------------- network calculation

void TcIpCalc::Examine(bool addToHistory) {
  const TActionScope action(this);
  ClearResults();
  QString text = TrimText(edtIPCAddress->currentText());
  SetAddressText(text);
  if (addToHistory) {
    QStringList history = History();
    if (AddToHistory(history, text)) SetHistory(history);
  }

  const TAddressField field = ReadAddressField(text.toLatin1().toStdString());
  FAddress = field.address;
  if (!field.maskText.empty()) {
    const QString maskText = QtText(field.maskText);
    if (FViewerMode)
      gbSubnetViewer->edtSubnetMask->setText(maskText);
    else
      edtNetworkMask->setText(maskText);
  } else {
    // Only what is left of "/" and of a blank stays.
    text.truncate(int(field.text.size()));
    SetAddressText(text);
  }

  if (FAddress.is_valid()) {
    FNetworkMask.assign_text(edtNetworkMask->text().toLatin1().toStdString());
    if (FViewerMode) {
      // The viewer's mask is the network mask here: without a usable one
      // there is nothing to compute.
      if (!ValidateViewerMask()) return;
      DrawBinMask();
      ShowViewerLabels();
      FNetworkMask.assign(FViewerMask);
    }
    HighlightChartRow();
    if (!ShowResults()) return;
    setWindowTitle(FTitle + edtIPCAddress->currentText());
  } else {
    ClearResults();
    if (!text.isEmpty()) ReportError(text + QStringLiteral(" is not a valid IP address."));
  }
  bbtnPrev->setEnabled(true);
  bbtnNext->setEnabled(true);
}

bool TcIpCalc::ShowResults() {
  const TActionScope action(this);
  NetCalcInput in;
  in.addressText = edtIPCAddress->currentText();
  in.address = FAddress;
  in.networkMask = FNetworkMask;
  in.maskText = edtNetworkMask->text();
  in.classDESubnets = FClassDESubnets;
  in.classASupernets = FClassASupernets;
  in.macFormat = FMacFormat;
  const NetCalcResult r = ComputeNetwork(in);
  if (r.kind == NetCalcResult::MissingMask) {
    ClearResults();
    ReportError(QStringLiteral("Please enter a network mask."));
    return false;
  }
  SetAddressText(r.addressText);
  FAddress = r.address;
  // The subnet table goes with the mask it is built from, also when the
  // viewer shows another mask outside viewer mode.
  if (r.kind != NetCalcResult::InvalidMask && r.mask.is_valid())
    FSubnetTable = SubnetTableFor(r.mask.prefix_length(), FRFC3021Subnets);
  ApplyResult(r);
  if (r.kind == NetCalcResult::InvalidMask) ReportError(QStringLiteral("Invalid network mask."));
  FillSubnetTable();
  // A rejected mask leaves the panel blank: the caption names no address.
  return r.kind != NetCalcResult::InvalidMask;
}

void TcIpCalc::ShowExamined() {
  setWindowTitle(FTitle + edtIPCAddress->currentText());
  // Typing the viewer mask cleared the panel; the new result can be stepped
  // through again.
  bbtnPrev->setEnabled(true);
  bbtnNext->setEnabled(true);
}

void TcIpCalc::ApplyResult(const NetCalcResult& r) {
  if (r.clearFirst) {
    // The remark-only results still describe the examined address: keep its
    // block marked in the chart.
    ClearResults();
    HighlightChartRow();
  }
  if (!r.nwCaption.isEmpty()) lblNw->setText(r.nwCaption);
  lblNetwork->setText(r.network);
  lblSupernet->setText(r.supernet);
  lblHostRange->setText(r.hostRange);
  lblNumberOfHosts->setText(r.numberOfHosts);
  lblBroadcast->setText(r.broadcast);
  lblNextNetwork->setText(r.nextNetwork);
  lblPTR->setText(r.ptr);
  lblIPv6->setText(r.ipv6);
  lblRemarks->setText(r.remarks);
  if (r.numberOfHostsVisible >= 0) lblNumberOfHosts->setVisible(r.numberOfHostsVisible == 1);
  if (r.multicastTab >= 0) pcSpecialTables->setTabVisible(1, r.multicastTab == 1);
  if (r.subnetTable >= 0) FSubnetTable = r.subnetTable == 1;
  if (r.setNetworkText) FNetworkText = r.networkText;
  FPrevNetworkText = r.prevNetworkText;
  if (r.multicast) multicastPanel->ShowGroup(r.mcIp, r.mcMac);
  lblSupernet->setCursor(r.supernet.isEmpty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
  if (FHostListAvailable)
    lblNumberOfHosts->setCursor(r.numberOfHosts.isEmpty() ? Qt::ArrowCursor
                                                          : Qt::PointingHandCursor);
}

void TcIpCalc::ClearResults() {
  btnCalculate->setEnabled(true);
  bbtnPrev->setEnabled(false);
  bbtnNext->setEnabled(false);
  for (QLabel* l : {lblNetwork, lblSupernet, lblHostRange, lblBroadcast, lblNumberOfHosts,
                    lblNextNetwork, lblPTR, lblIPv6, lblRemarks})
    l->clear();
  FPrevNetworkText.clear();
  lblSupernet->setCursor(Qt::ArrowCursor);
  subnetTables->ClearTables();
  setWindowTitle(FTitle);
  chart->DeselectChart();
}

void TcIpCalc::FillSubnetTable() {
  const QString mask = FViewerMode ? gbSubnetViewer->edtSubnetMask->text() : edtNetworkMask->text();
  subnetTables->FillSubnetTable(mask, FSubnetTable, FRFC3021Subnets);
}

void TcIpCalc::HighlightChartRow() {
  uint32_t mask = FViewerMode ? FViewerMask.value() : FNetworkMask.value();
  if (!FViewerMode && !FNetworkMask.is_valid()) {
    bool ok = false;
    mask = ParseMaskText(edtNetworkMask->text().trimmed(), ok).value();
  }
  // The field may still carry "/p" at this point; the chart wants the address.
  const QString address =
      FAddress.is_valid() ? QtText(FAddress.text()) : edtIPCAddress->currentText();
  chart->HighlightChartRow(address, mask);
}

void TcIpCalc::edtIPCAddressChange() {
  ClearResults();
}

void TcIpCalc::edtIPCAddressDropDown() {
  FPickedFromList = true;
}

void TcIpCalc::edtIPCAddressCloseUp() {
  // The combo reports a pick right after closing its list; once that has
  // passed, nothing but another drop-down makes a pick.
  QTimer::singleShot(0, this, [this] { FPickedFromList = false; });
}

void TcIpCalc::edtIPCAddressPicked() {
  if (!FPickedFromList) return;
  FPickedFromList = false;
  Examine(true);
}

void TcIpCalc::edtNetworkMaskChange() {
  const QString text = edtNetworkMask->text();
  const QString trimmed = text.trimmed();
  if (trimmed != text) edtNetworkMask->setText(trimmed);
  ClearResults();
}

void TcIpCalc::lblSupernetClick() {
  const QString text = lblSupernet->text();
  if (text.isEmpty()) return;
  if (FViewerMode) {
    gbSubnetViewer->edtSubnetMask->setText(text);
    ConvertViewerMask();
  } else {
    edtNetworkMask->setText(text);
    Examine(true);
  }
}

void TcIpCalc::lblNumberOfHostsClick() {
  if (!FHostListAvailable || lblNumberOfHosts->text().isEmpty()) return;
  QString network = lblNetwork->text();
  const int comma = network.indexOf(QLatin1Char(','));
  if (comma >= 0) network.truncate(comma);
  emit hostListRequested(QStringLiteral("IP Host List for ") + network, network,
                         QtText(FAddress.text()));
}

void TcIpCalc::bbtnPrevClick() {
  if (FPrevNetworkText.isEmpty()) return;
  SetAddressText(FPrevNetworkText);
  Examine(false);
}

void TcIpCalc::bbtnNextClick() {
  const QString next = lblNextNetwork->text();
  if (next.isEmpty()) return;
  SetAddressText(next);
  Examine(false);
}

void TcIpCalc::BlockPicked(const QString& addressText, const QString& maskText) {
  SetAddressText(addressText);
  if (FViewerMode)
    gbSubnetViewer->edtSubnetMask->setText(maskText);
  else
    edtNetworkMask->setText(maskText);
  Examine(true);
}

void TcIpCalc::Copytoclipboard1Click() {
  for (QLabel* l :
       {lblNetwork, lblHostRange, lblPTR, lblNextNetwork, lblSupernet, lblBroadcast, lblIPv6}) {
    if (l == FPopupLabel) {
      edtCopy->setText(l->text());
      Services::Instance().SetClipboardText(edtCopy->text());
      return;
    }
  }
}

void TcIpCalc::BlankResults() {
  if (FBlanked) return;
  FBlanked = true;
  for (QLabel* l : {lblNetwork, lblSupernet, lblHostRange, lblNumberOfHosts, lblBroadcast,
                    lblNextNetwork, lblPTR, lblIPv6, lblRemarks})
    l->setVisible(false);
  subnetTables->ClearTables();
  chart->DeselectChart();
}

void TcIpCalc::RestoreResults() {
  for (QLabel* l : {lblNetwork, lblSupernet, lblHostRange, lblNumberOfHosts, lblBroadcast,
                    lblNextNetwork, lblPTR, lblIPv6, lblRemarks})
    l->setVisible(true);
  FBlanked = false;
}

// ---------------------------------------------------------------- mask viewer

bool TcIpCalc::ValidateViewerMask() {
  const TActionScope action(this);
  const ViewerMaskCheck c =
      CheckViewerMask(gbSubnetViewer->edtSubnetMask->text(), FClassASupernets);
  FViewerMask = c.mask;
  FUsageShown = c.usageShown;
  if (c.usageShown) FUsageCount = c.usageCount;
  if (c.empty) {
    ReportError(QStringLiteral("Please enter a subnet mask."));
    return false;
  }
  if (!c.usable) {
    ReportError(QStringLiteral("Invalid network mask."));
    return false;
  }
  return true;
}

bool TcIpCalc::ConvertViewerMask() {
  const TActionScope action(this);
  gbSubnetViewer->lblUsageLabel->hide();
  gbSubnetViewer->lblUsage->hide();
  if (!ValidateViewerMask()) return false;
  if (FViewerMode) {
    const QString text = edtIPCAddress->currentText();
    FAddress.assign_text(text.toLatin1().toStdString());
    FNetworkMask.assign(FViewerMask);
    if (FAddress.is_valid()) {
      if (ShowResults()) ShowExamined();
    } else if (!text.isEmpty() && !IsNetworkText(text)) {
      ReportError(text + QStringLiteral(" is not a valid IP address."));
    }
  }
  DrawBinMask();
  ShowViewerLabels();
  if (FViewerMode) HighlightChartRow();
  return true;
}

void TcIpCalc::ShowViewerLabels() {
  ShowViewerLabelsFrom(true);
}

void TcIpCalc::ShowViewerLabelsFrom(bool setPosition) {
  TMaskViewer* v = gbSubnetViewer;
  // A rejected text has no mask to describe ("/0", "0 hosts" would be made
  // up): the labels stay blank and the text stays for the user to correct.
  if (!ViewerMaskUsable()) {
    ClearViewerLabels();
    return;
  }
  const ViewerLabels l =
      ComputeViewerLabels(FViewerMask, FRFC3021Subnets, setPosition && FUsageShown, FUsageCount);
  if (setPosition) FSubnetTable = l.subnetTable;
  v->lblSubnetMask->setText(l.subnetMask);
  v->lblPrefix->setText(l.prefix);
  v->lblHostCount->setText(l.hostCount);
  v->lblWildcard->setText(l.wildcard);
  v->lblHex->setText(l.hex);
  if (!setPosition) return;
  {
    // The position follows the mask; moving it must not re-derive the mask.
    const QSignalBlocker block(v->TrackBar);
    v->TrackBar->setValue(l.position);
  }
  if (v->edtSubnetMask->text() != l.subnetMask) v->edtSubnetMask->setText(l.subnetMask);
  v->lblUsage->setText(l.usage);
  v->lblUsageLabel->setVisible(l.usageShown);
  v->lblUsage->setVisible(l.usageShown);
}

void TcIpCalc::ClearViewerLabels() {
  TMaskViewer* v = gbSubnetViewer;
  for (QLabel* l :
       {v->lblSubnetMask, v->lblHostCount, v->lblWildcard, v->lblHex, v->lblPrefix, v->lblUsage})
    l->clear();
  v->imgBinMask->Clear();
}

void TcIpCalc::TrackBarChange() {
  const TActionScope action(this);
  TMaskViewer* v = gbSubnetViewer;
  v->lblUsageLabel->hide();
  v->lblUsage->hide();
  FUsageShown = false;
  FViewerMask = TrackBarMask(v->TrackBar->value(), FRFC3021Subnets);
  FSubnetTable = SubnetTableFor(FViewerMask.prefix_length(), FRFC3021Subnets);
  v->edtSubnetMask->setText(QtText(FViewerMask.text()));
  if (FViewerMode) {
    const QString text = edtIPCAddress->currentText();
    if (text.isEmpty()) {
      ClearResults();
    } else {
      const ipv4host network(text.toLatin1().toStdString());
      if (network.is_valid()) SetAddressText(QtText(network.address_text()));
      FAddress.assign_text(edtIPCAddress->currentText().toLatin1().toStdString());
      FNetworkMask.assign(FViewerMask);
      if (ShowResults()) ShowExamined();
      HighlightChartRow();
    }
  }
  ShowViewerLabelsFrom(false);
  DrawBinMask();
}

bool TcIpCalc::ViewerMaskUsable() const {
  return FViewerMask.is_valid() &&
         (FViewerMask.is_mask() || (FClassASupernets && FViewerMask.is_short_mask()));
}

void TcIpCalc::DrawBinMask() {
  if (!ViewerMaskUsable()) {
    gbSubnetViewer->imgBinMask->Clear();
    return;
  }
  const std::array<TBitRole, 32> roles = BinMaskRoles(FViewerMask, FAddress, FViewerMode);
  const auto glyphs = TBitImage::BitGlyphs(FViewerMask.value(), 32, [&](int i, bool) {
    return TBitImage::Glyph{QChar(), BitRoleColour(roles[static_cast<std::size_t>(i - 1)]), false};
  });
  const std::vector<int>& positions = gbSubnetViewer->imgBinMask->Draw(glyphs);
  for (int i = 0; i < 32; ++i) {
    // Digits and the three dots alternate in groups of eight.
    const std::size_t at = static_cast<std::size_t>(i + i / 8);
    const TBitRole role = roles[static_cast<std::size_t>(i)];
    FBitCells[static_cast<std::size_t>(i)] = {at < positions.size() ? positions[at] : 0, role,
                                              BitRoleColour(role)};
  }
}

void TcIpCalc::imgBinMaskMouseMove(int x) {
  std::size_t cell = 0;
  for (std::size_t i = 0; i < FBitCells.size(); ++i)
    if (FBitCells[i].x <= x) cell = i;
  TBitImage* image = gbSubnetViewer->imgBinMask;
  const QString hint = BitHint(FBitCells[cell].role, FAddress, FViewerMode);
  if (hint == image->toolTip()) return;
  image->setToolTip(hint);
  // A hint already on screen follows the mouse to the next kind of bit.
  if (QToolTip::isVisible() && image->underMouse()) QToolTip::showText(QCursor::pos(), hint, image);
}

void TcIpCalc::edtSubnetMaskChange() {
  ClearViewerLabels();
  if (FViewerMode) {
    // In viewer mode this field is the network mask: the result goes with it.
    ClearResults();
    subnetTables->ClearSubnetTable();
  }
  QLineEdit* e = gbSubnetViewer->edtSubnetMask;
  const QString trimmed = e->text().trimmed();
  if (trimmed != e->text()) e->setText(trimmed);
}

void TcIpCalc::ApplyMaskOptions() {
  const TActionScope action(this);
  QSlider* bar = gbSubnetViewer->TrackBar;
  if (FClassASupernets) {
    bar->setMinimum(1);
  } else {
    bar->setMinimum(8);
    for (QLineEdit* e : {gbSubnetViewer->edtSubnetMask, edtNetworkMask})
      if (BelowClassAMask(e->text())) e->setText(QStringLiteral("255.0.0.0"));
  }
  bar->setMaximum(FRFC3021Subnets ? 32 : 31);
  // In viewer mode a rejected mask would only be rejected a second time.
  if (!ConvertViewerMask() && FViewerMode) return;
  Examine(true);
}

void TcIpCalc::sbtnClassASupernetsClick() {
  FClassASupernets = !FClassASupernets;
  sbtnClassASupernets->setChecked(FClassASupernets);
  ApplyMaskOptions();
}

void TcIpCalc::sbtnRFC3021SubnetClick() {
  FRFC3021Subnets = !FRFC3021Subnets;
  sbtnRFC3021Subnet->setChecked(FRFC3021Subnets);
  ApplyMaskOptions();
}

void TcIpCalc::sbtnSubnetMaskViewerClick() {
  const TActionScope action(this);
  FViewerMode = sbtnSubnetMaskViewer->isChecked();
  UpdateViewerVisibility();
  DrawBinMask();
  ShowViewerLabels();
  Examine(true);
}

void TcIpCalc::LimitLeftWidth() {
  // The left side may not grow beyond its contents (plus the scroll bar).
  const QScrollBar* bar = ScrollBox1->verticalScrollBar();
  const int before = ScrollBox1->maximumWidth();
  const int wanted = gbSubnetViewer->width() + 8 + (bar->isVisible() ? bar->sizeHint().width() : 0);
  ScrollBox1->setMaximumWidth(wanted);
  // When it showed all of its contents, it goes on doing so as the scroll bar
  // comes and goes, as far as the subnet tables leave room.
  const QList<int> sizes = Splitter1->sizes();
  if (sizes.size() == 2 && wanted > before && sizes[0] >= before) {
    const int total = sizes[0] + sizes[1];
    const int left = qMax(sizes[0], qMin(wanted, total - pnlSubnetTableBackground->minimumWidth()));
    Splitter1->setSizes({left, total - left});
  }
}

void TcIpCalc::UpdateViewerVisibility() {
  edtNetworkMask->setVisible(!FViewerMode);
  lblNetworkMask->setVisible(!FViewerMode);
}

// ---------------------------------------------------------------- events

TcIpCalc::TActionScope::TActionScope(TcIpCalc* window) : FWindow(window) {
  if (FWindow->FActionDepth++ == 0) FWindow->FActionErrors.clear();
}

TcIpCalc::TActionScope::~TActionScope() {
  --FWindow->FActionDepth;
}

void TcIpCalc::ReportError(const QString& text) {
  if (FActionDepth > 0) {
    if (FActionErrors.contains(text)) return;
    FActionErrors.append(text);
  }
  ShowErrorBox(this, text);
}

void TcIpCalc::SetFocusColours(bool active) {
  for (QWidget* w : std::initializer_list<QWidget*>{gbSubnetViewer->edtSubnetMask, edtIPCAddress,
                                                    edtNetworkMask}) {
    const bool focused = w->hasFocus() || w->isAncestorOf(QApplication::focusWidget());
    if (active && focused)
      SetEditColor(w, FocusColor());
    else
      ResetEditColor(w);
  }
}

void TcIpCalc::showEvent(QShowEvent* event) {
  TcChild::showEvent(event);
  // A new calculator is ready for typing: the address field takes the focus
  // once the MDI area has finished activating the window.
  if (!FInitialFocusGiven) {
    FInitialFocusGiven = true;
    QTimer::singleShot(0, edtIPCAddress, [this] {
      edtIPCAddress->setFocus(Qt::OtherFocusReason);
      edtIPCAddress->lineEdit()->selectAll();
    });
  }
}

bool TcIpCalc::eventFilter(QObject* watched, QEvent* event) {
  QLineEdit* subnetMask = gbSubnetViewer->edtSubnetMask;
  const bool addressInput = watched == edtIPCAddress || watched == edtIPCAddress->lineEdit();
  const bool maskInput = watched == edtNetworkMask || watched == subnetMask;
  switch (event->type()) {
    case QEvent::KeyPress:
      if (addressInput || maskInput) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
          if (watched == subnetMask)
            ConvertViewerMask();
          else
            Examine(true);
          return true;
        }
        if (key->text() == QLatin1String(",")) {
          QKeyEvent dot(QEvent::KeyPress, Qt::Key_Period, key->modifiers(), QStringLiteral("."));
          QApplication::sendEvent(watched, &dot);
          return true;
        }
      }
      break;
    case QEvent::FocusIn:
      if (addressInput || maskInput)
        SetEditColor(
            watched == edtIPCAddress->lineEdit() ? edtIPCAddress : static_cast<QWidget*>(watched),
            FocusColor());
      break;
    case QEvent::FocusOut:
      if (addressInput || maskInput)
        ResetEditColor(watched == edtIPCAddress->lineEdit() ? edtIPCAddress
                                                            : static_cast<QWidget*>(watched));
      break;
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblSupernet) lblSupernetClick();
        if (watched == lblNumberOfHosts) lblNumberOfHostsClick();
      }
      break;
    case QEvent::MouseMove:
      if (watched == lblSupernet)
        lblSupernet->setCursor(lblSupernet->text().isEmpty() ? Qt::ArrowCursor
                                                             : Qt::PointingHandCursor);
      break;
    case QEvent::Enter:
      if (watched == bbtnPrev)
        bbtnPrev->setToolTip(FPrevNetworkText.isEmpty()
                                 ? QStringLiteral("Previous network")
                                 : QStringLiteral("Previous network (%1)").arg(FPrevNetworkText));
      if (watched == bbtnNext)
        bbtnNext->setToolTip(lblNextNetwork->text().isEmpty()
                                 ? QStringLiteral("Next network")
                                 : QStringLiteral("Next network (%1)").arg(lblNextNetwork->text()));
      break;
    case QEvent::Show:
    case QEvent::Hide:
      if (watched == ScrollBox1->verticalScrollBar()) {
        LimitLeftWidth();
      }
      break;
    default:
      break;
  }
  return TcChild::eventFilter(watched, event);
}
