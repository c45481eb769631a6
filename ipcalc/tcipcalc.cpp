#include "ipcalc/tcipcalc.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/optionsrec.h"
#include "common/services.h"
#include "common/settingsstore.h"
#include "common/widgethelpers.h"
#include "hostlist/hostlistmodel.h"
#include "ipcalc/addresschart.h"
#include "ipcalc/calcinputs.h"
#include "ipcalc/calcstate.h"
#include "ipcalc/maskviewer.h"
#include "ipcalc/multicastpanel.h"
#include "ipcalc/netcalc.h"
#include "ipcalc/networkcalcbox.h"
#include "ipcalc/subnettables.h"
#include "ipv4lib/ipv4host.h"

namespace {

// One side of the splitter: narrower or lower than its contents, it scrolls
// rather than cutting them off or squeezing them. It takes no focus, so a
// click on a label or the background leaves the focus in the input.
QScrollArea* MakeScrollBox(const char* name) {
  auto* box = new QScrollArea;
  box->setObjectName(QLatin1String(name));
  box->setFrameShape(QFrame::NoFrame);
  box->setWidgetResizable(true);
  box->setMinimumWidth(100);
  box->setFocusPolicy(Qt::NoFocus);
  return box;
}

// A tab page that holds one panel edge to edge.
QWidget* MakePage(const char* name) {
  auto* page = new QWidget;
  page->setObjectName(QLatin1String(name));
  (new QVBoxLayout(page))->setContentsMargins(0, 0, 0, 0);
  return page;
}

}  // namespace

TcIpCalc::TcIpCalc(QWidget* parent) : TcChild(parent) {
  FTitle = QStringLiteral("IPv4 Calculator ");
  FErrorCaption = QStringLiteral("Error");
  FAddress.assign_value(0x10000000u);
  FNetworkMask.assign_value(0xFFFFFF00u);
  BuildLayout();
  ConnectHandlers();
  setWindowTitle(FTitle);
  const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
  const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  resize(805 + 2 * frame, 592 + title + frame);
}

TcIpCalc::~TcIpCalc() {
  // The base classes and the children outlive this part of the object while
  // they are torn down: none of their signals or events may reach it, nor
  // the inputs' events their watcher.
  delete FInputs;
  FInputs = nullptr;
  QObject::disconnect(this, nullptr, this, nullptr);
  DetachChildren();
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
  sbtnClassASupernets =
      AddToolBarToggle(ToolBar1, "sbtnClassASupernets", QStringLiteral("Class A Supernets"),
                       QStringLiteral("Toggle Class A supernet representation"));
  sbtnRFC3021Subnet =
      AddToolBarToggle(ToolBar1, "sbtnRFC3021Subnet", QStringLiteral("RFC3021 Subnet"),
                       QStringLiteral("Toggle RFC3021 subnet representation"));
  sbtnSubnetMaskViewer =
      AddToolBarToggle(ToolBar1, "sbtnSubnetMaskViewer", QStringLiteral("Subnet Mask Viewer"),
                       QStringLiteral("Use network mask from Subnet Viewer"));
  main->addWidget(ToolBar1);

  Splitter1 = new QSplitter(Qt::Horizontal, pnlCalcBackground);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setHandleWidth(6);
  Splitter1->setChildrenCollapsible(false);
  main->addWidget(Splitter1, 1);

  ScrollBox1 = MakeScrollBox("ScrollBox1");
  ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  auto* left = new QWidget(pnlCalcBackground);
  left->setFont(small);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(2, 2, 2, 2);
  leftLayout->setSpacing(3);

  gbSubnetViewer = new TMaskViewer(left);
  gbNetworkCalc = new TNetworkCalcBox(left);
  edtIPCAddress = gbNetworkCalc->edtIPCAddress;
  edtNetworkMask = gbNetworkCalc->edtNetworkMask;
  btnCalculate = gbNetworkCalc->btnCalculate;
  lblNetwork = gbNetworkCalc->lblNetwork;
  lblNumberOfHosts = gbNetworkCalc->lblNumberOfHosts;
  lblRemarks = gbNetworkCalc->lblRemarks;

  pcSpecialTables = new QTabWidget(left);
  pcSpecialTables->setObjectName(QStringLiteral("pcSpecialTables"));
  pcSpecialTables->setDocumentMode(true);
  pcSpecialTables->setMinimumHeight(240);
  tsSpecIP = MakePage("tsSpecIP");
  chart = new TSpecialChart(tsSpecIP);
  tsSpecIP->layout()->addWidget(chart);
  tsMMAC = MakePage("tsMMAC");
  multicastPanel = new TMulticastPanel(tsMMAC);
  tsMMAC->layout()->addWidget(multicastPanel);
  pcSpecialTables->addTab(tsSpecIP, QStringLiteral("Special Purpose IP Networks"));
  pcSpecialTables->addTab(tsMMAC, QStringLiteral("Multicast MAC Specification"));
  // Nothing to show until a multicast address has been examined.
  pcSpecialTables->setTabVisible(1, false);

  leftLayout->addWidget(gbSubnetViewer);
  leftLayout->addWidget(gbNetworkCalc);
  leftLayout->addWidget(pcSpecialTables, 1);
  ScrollBox1->setWidget(left);

  // Like the left side, the tables keep their least size in a small window
  // (tiled, say).
  ScrollBox2 = MakeScrollBox("ScrollBox2");
  pnlSubnetTableBackground = new QWidget;
  pnlSubnetTableBackground->setObjectName(QStringLiteral("pnlSubnetTableBackground"));
  auto* right = new QVBoxLayout(pnlSubnetTableBackground);
  right->setContentsMargins(0, 2, 2, 2);
  subnetTables = new TSubnetTables(pnlSubnetTableBackground);
  subnetTables->SetHostListAvailable(false);
  right->addWidget(subnetTables);
  edtCopy = new QLineEdit(pnlSubnetTableBackground);
  edtCopy->setObjectName(QStringLiteral("edtCopy"));
  edtCopy->hide();
  ScrollBox2->setWidget(pnlSubnetTableBackground);

  Splitter1->addWidget(ScrollBox1);
  Splitter1->addWidget(ScrollBox2);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({449, 350});

  // The left side is as wide as its widest part, at least the designed 439.
  int width = 439;
  for (QWidget* w : {static_cast<QWidget*>(gbSubnetViewer), static_cast<QWidget*>(gbNetworkCalc)})
    width = qMax(width, w->sizeHint().width());
  for (QWidget* w : {static_cast<QWidget*>(gbSubnetViewer), static_cast<QWidget*>(gbNetworkCalc),
                     static_cast<QWidget*>(pcSpecialTables)})
    w->setFixedWidth(width);
  LimitLeftWidth();
  Splitter1->setSizes({ScrollBox1->maximumWidth(), 350});

  setWidget(pnlCalcBackground);
}

void TcIpCalc::ConnectHandlers() {
  TMaskViewer* v = gbSubnetViewer;
  TNetworkCalcBox* box = gbNetworkCalc;
  connect(box, &TNetworkCalcBox::addressEdited, this, &TcIpCalc::ClearResults);
  connect(box, &TNetworkCalcBox::addressPicked, this, [this] { Examine(true); });
  connect(box, &TNetworkCalcBox::networkMaskEdited, this, &TcIpCalc::ClearResults);
  connect(v, &TMaskViewer::maskEdited, this, &TcIpCalc::edtSubnetMaskChange);
  connect(v, &TMaskViewer::convertClicked, this, &TcIpCalc::ConvertViewerMask);
  connect(v, &TMaskViewer::trackBarMoved, this, &TcIpCalc::TrackBarChange);
  const auto showBitHint = [this](int x) { gbSubnetViewer->ShowBitHint(x, FAddress); };
  connect(v, &TMaskViewer::binMaskMouseMoved, this, showBitHint);
  connect(multicastPanel, &TMulticastPanel::bitImageMouseMove, this, showBitHint);
  connect(btnCalculate, &QPushButton::pressed, this, &TcIpCalc::BlankResults);
  connect(btnCalculate, &QPushButton::released, this, &TcIpCalc::RestoreResults);
  connect(btnCalculate, &QPushButton::clicked, this, [this] { Examine(true); });
  connect(box, &TNetworkCalcBox::stepRequested, this, [this](const QString& network) {
    gbNetworkCalc->SetAddressText(network);
    Examine(false);
  });
  connect(box, &TNetworkCalcBox::supernetClicked, this, &TcIpCalc::lblSupernetClick);
  connect(box, &TNetworkCalcBox::numberOfHostsClicked, this, &TcIpCalc::lblNumberOfHostsClick);
  connect(subnetTables, &TSubnetTables::hostListRequested, this,
          [this](const QString& title, const QString& network) {
            const QString address = QtText(FAddress.text());
            emit hostListRequested(HostListRequest(
                title, network, HighlightedAddressIn(HostListNetwork(network), address)));
          });
  connect(box, &TNetworkCalcBox::copyRequested, this, [this](const QString& text) {
    edtCopy->setText(text);
    Services::Instance().SetClipboardText(edtCopy->text());
  });
  connect(sbtnClassASupernets, &QToolButton::clicked, this, &TcIpCalc::sbtnClassASupernetsClick);
  connect(sbtnRFC3021Subnet, &QToolButton::clicked, this, &TcIpCalc::sbtnRFC3021SubnetClick);
  connect(sbtnSubnetMaskViewer, &QToolButton::clicked, this, &TcIpCalc::sbtnSubnetMaskViewerClick);
  connect(chart, &TSpecialChart::blockPicked, this, &TcIpCalc::BlockPicked);
  FInputs = new TCalcInputs(this);
  for (QWidget* input :
       {static_cast<QWidget*>(edtIPCAddress), static_cast<QWidget*>(edtNetworkMask),
        static_cast<QWidget*>(v->edtSubnetMask)})
    FInputs->Watch(input);
  connect(FInputs, &TCalcInputs::entered, this, [this](QWidget* input) {
    if (input == gbSubnetViewer->edtSubnetMask)
      ConvertViewerMask();
    else
      Examine(true);
  });
  connect(this, &QMdiSubWindow::windowStateChanged, this,
          [this](Qt::WindowStates, Qt::WindowStates now) {
            FInputs->SetActive(now.testFlag(Qt::WindowActive));
          });
  ScrollBox1->verticalScrollBar()->installEventFilter(this);
}

// ---------------------------------------------------------------- options and state

void TcIpCalc::ShowAddress(const QString& text) {
  gbNetworkCalc->SetAddressText(text);
  Examine(true);
}

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
  FShowHints = options.EnableHints;
  SetShowHints(this, FShowHints);
  // The MAC format is needed by the examination below.
  // A format typed into the options rather than picked (-1) writes the first
  // style, not an empty MAC address.
  FMacFormat =
      options.MacFormatIndex >= 0 && options.MacFormatIndex <= 2 ? options.MacFormatIndex : 0;
  gbSubnetViewer->SetOptions(FClassASupernets, FRFC3021Subnets, FViewerMode);
  gbSubnetViewer->LimitTrackBar();
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
  const TCalcState state = LoadCalcState(FIniFileName.isEmpty() ? IniFileName() : FIniFileName);
  gbNetworkCalc->SetHistory(state.history);
  gbSubnetViewer->edtSubnetMask->setText(state.viewerMask);
  edtNetworkMask->setText(state.networkMask);
  gbNetworkCalc->SetAddressText(state.address);
  FSavedSubnetRow = state.subnetRow;
  FSavedSubnetworkRow = state.subnetworkRow;
  // Run the track bar's update even when the position did not move, so the
  // viewer (and in viewer mode the result) always matches the restored mask.
  // A stored text that is no mask stays as it was typed, for the user to
  // convert or correct.
  if (gbSubnetViewer->PlaceTrackBar()) TrackBarChange();
}

void TcIpCalc::SaveState() {
  TCalcState state;
  state.history = gbNetworkCalc->History();
  state.address = edtIPCAddress->currentText();
  state.viewerMask = gbSubnetViewer->edtSubnetMask->text();
  state.networkMask = edtNetworkMask->text();
  state.subnetRow = SelectedListIndex(subnetTables->lvSubnets);
  state.subnetworkRow = SelectedListIndex(subnetTables->lvNetworks);
  SaveCalcState(FIniFileName.isEmpty() ? IniFileName() : FIniFileName, state);
}

void TcIpCalc::SetHostListAvailable(bool on) {
  gbNetworkCalc->SetHostListAvailable(on);
  subnetTables->SetHostListAvailable(on);
}

// ---------------------------------------------------------------- network calculation

void TcIpCalc::Examine(bool addToHistory) {
  const TActionScope action(this);
  ClearResults();
  const AddressInput input = ReadAddressInput(edtIPCAddress->currentText());
  gbNetworkCalc->SetAddressText(input.text);
  if (addToHistory) {
    QStringList history = gbNetworkCalc->History();
    if (AddToHistory(history, input.text)) gbNetworkCalc->SetHistory(history);
  }
  FAddress = input.address;
  if (input.network)
    MaskField()->setText(input.maskText);
  else
    gbNetworkCalc->SetAddressText(input.addressText);

  if (FAddress.is_valid()) {
    FNetworkMask.assign_text(edtNetworkMask->text().toLatin1().toStdString());
    if (FViewerMode) {
      // The viewer's mask is the network mask here: without a usable one
      // there is nothing to compute.
      if (!ValidateViewerMask()) return;
      gbSubnetViewer->DrawBinMask(FAddress);
      ShowViewerLabels();
      FNetworkMask.assign(gbSubnetViewer->Mask());
    }
    HighlightChartRow();
    if (!ShowResults()) return;
    setWindowTitle(FTitle + edtIPCAddress->currentText());
  } else {
    ClearResults();
    ShowAddressKind(NetCalcResult());
    if (!input.addressText.isEmpty())
      ReportError(QuotedInput(input.addressText) + QStringLiteral(" is not a valid IP address."));
  }
  gbNetworkCalc->EnableStepButtons();
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
    ShowAddressKind(r);
    ReportError(QStringLiteral("Please enter a network mask."));
    return false;
  }
  gbNetworkCalc->SetAddressText(r.addressText);
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
  gbNetworkCalc->EnableStepButtons();
}

void TcIpCalc::ShowAddressKind(const NetCalcResult& r) {
  // What an earlier multicast address left would otherwise stand beside
  // the address examined now.
  gbNetworkCalc->lblNw->setText(r.nwCaption);
  pcSpecialTables->setTabVisible(1, r.multicast);
  if (r.multicast) multicastPanel->ShowGroup(r.mcIp, r.mcMac);
}

void TcIpCalc::ApplyResult(const NetCalcResult& r) {
  if (r.clearFirst) {
    // The remark-only results still describe the examined address: keep its
    // block marked in the chart.
    ClearResults();
    HighlightChartRow();
  }
  ShowAddressKind(r);
  gbNetworkCalc->ShowResult(r);
  if (r.subnetTable) FSubnetTable = *r.subnetTable;
  if (r.networkText) FNetworkText = *r.networkText;
}

void TcIpCalc::ClearResults() {
  gbNetworkCalc->ClearResult();
  subnetTables->ClearTables();
  setWindowTitle(FTitle);
  chart->DeselectChart();
}

void TcIpCalc::FillSubnetTable() {
  const QString mask = MaskField()->text();
  // The tables hold rows only from here until the result is cleared, and the
  // network shown cannot change in between: handing it over here is enough.
  subnetTables->SetNetwork(FNetworkText, lblNetwork->text());
  subnetTables->FillSubnetTable(mask, FSubnetTable, FRFC3021Subnets);
}

void TcIpCalc::HighlightChartRow() {
  uint32_t mask = FViewerMode ? gbSubnetViewer->Mask().value() : FNetworkMask.value();
  if (!FViewerMode && !FNetworkMask.is_valid()) {
    bool ok = false;
    mask = ParseMaskText(edtNetworkMask->text().trimmed(), ok).value();
  }
  // The field may still carry "/p" at this point; the chart wants the address.
  const QString address =
      FAddress.is_valid() ? QtText(FAddress.text()) : edtIPCAddress->currentText();
  chart->HighlightChartRow(address, mask);
}

QLineEdit* TcIpCalc::MaskField() const {
  return FViewerMode ? gbSubnetViewer->edtSubnetMask : edtNetworkMask;
}

void TcIpCalc::lblSupernetClick(const QString& text) {
  MaskField()->setText(text);
  if (FViewerMode)
    ConvertViewerMask();
  else
    Examine(true);
}

void TcIpCalc::lblNumberOfHostsClick(const QString& network) {
  emit hostListRequested(HostListRequest(QStringLiteral("IP Host List for ") + network, network,
                                         QtText(FAddress.text())));
}

THostListRequest TcIpCalc::HostListRequest(const QString& title, const QString& network,
                                           const QString& address) const {
  THostListRequest r;
  r.title = title;
  r.networkText = network;
  r.csvDelimiter = FCsvDelimiter;
  r.maxListItems = FMaxListItems;
  r.showHints = FShowHints;
  r.examinedAddress = address;
  return r;
}

void TcIpCalc::BlockPicked(const QString& addressText, const QString& maskText) {
  gbNetworkCalc->SetAddressText(addressText);
  MaskField()->setText(maskText);
  Examine(true);
}

void TcIpCalc::BlankResults() {
  if (FBlanked) return;
  FBlanked = true;
  gbNetworkCalc->SetResultsVisible(false);
  subnetTables->ClearTables();
  chart->DeselectChart();
}

void TcIpCalc::RestoreResults() {
  gbNetworkCalc->SetResultsVisible(true);
  FBlanked = false;
}

// ---------------------------------------------------------------- mask viewer

bool TcIpCalc::ValidateViewerMask() {
  const TActionScope action(this);
  const QString error = gbSubnetViewer->ReadMask();
  if (error.isEmpty()) return true;
  ReportError(error);
  return false;
}

bool TcIpCalc::ConvertViewerMask() {
  const TActionScope action(this);
  gbSubnetViewer->HideUsage();
  if (!ValidateViewerMask()) return false;
  if (FViewerMode) {
    const QString text = edtIPCAddress->currentText();
    FAddress.assign_text(text.toLatin1().toStdString());
    FNetworkMask.assign(gbSubnetViewer->Mask());
    if (FAddress.is_valid()) {
      if (ShowResults()) ShowExamined();
    } else if (!IsNetworkText(text)) {
      ShowAddressKind(NetCalcResult());
      if (!text.isEmpty())
        ReportError(QuotedInput(text) + QStringLiteral(" is not a valid IP address."));
    }
  }
  gbSubnetViewer->DrawBinMask(FAddress);
  ShowViewerLabels();
  if (FViewerMode) HighlightChartRow();
  return true;
}

void TcIpCalc::ShowViewerLabels() {
  // The mask described decides whether the subnet table is filled.
  if (gbSubnetViewer->ShowLabels(true))
    FSubnetTable = SubnetTableFor(gbSubnetViewer->Mask().prefix_length(), FRFC3021Subnets);
}

void TcIpCalc::TrackBarChange() {
  const TActionScope action(this);
  gbSubnetViewer->TakeTrackBarMask();
  FSubnetTable = SubnetTableFor(gbSubnetViewer->Mask().prefix_length(), FRFC3021Subnets);
  if (FViewerMode) {
    const QString text = edtIPCAddress->currentText();
    if (text.isEmpty()) {
      ClearResults();
    } else {
      const ipv4host network(text.toLatin1().toStdString());
      if (network.is_valid()) gbNetworkCalc->SetAddressText(QtText(network.address_text()));
      FAddress.assign_text(edtIPCAddress->currentText().toLatin1().toStdString());
      FNetworkMask.assign(gbSubnetViewer->Mask());
      if (ShowResults()) ShowExamined();
      HighlightChartRow();
    }
  }
  gbSubnetViewer->ShowLabels(false);
  gbSubnetViewer->DrawBinMask(FAddress);
}

void TcIpCalc::edtSubnetMaskChange() {
  if (FViewerMode) {
    // In viewer mode this field is the network mask: the result goes with it.
    ClearResults();
    subnetTables->ClearSubnetTable();
  }
}

void TcIpCalc::ApplyMaskOptions() {
  const TActionScope action(this);
  gbSubnetViewer->SetOptions(FClassASupernets, FRFC3021Subnets, FViewerMode);
  gbSubnetViewer->LimitTrackBar();
  if (!FClassASupernets)
    for (QLineEdit* e : {gbSubnetViewer->edtSubnetMask, edtNetworkMask})
      if (BelowClassAMask(e->text())) e->setText(QStringLiteral("255.0.0.0"));
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
  gbSubnetViewer->SetOptions(FClassASupernets, FRFC3021Subnets, FViewerMode);
  UpdateViewerVisibility();
  gbSubnetViewer->DrawBinMask(FAddress);
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
    const int left = qMax(sizes[0], qMin(wanted, total - ScrollBox2->minimumWidth()));
    Splitter1->setSizes({left, total - left});
  }
}

void TcIpCalc::UpdateViewerVisibility() {
  edtNetworkMask->setVisible(!FViewerMode);
  gbNetworkCalc->lblNetworkMask->setVisible(!FViewerMode);
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
  const bool shownOrHidden = event->type() == QEvent::Show || event->type() == QEvent::Hide;
  if (shownOrHidden && watched == ScrollBox1->verticalScrollBar()) LimitLeftWidth();
  return TcChild::eventFilter(watched, event);
}
