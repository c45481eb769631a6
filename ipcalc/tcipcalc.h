#pragma once
// The IPv4 Calculator tool window.

#include <QString>

#include "common/handover.h"
#include "common/tcchild.h"
#include "ipcalc/netcalc.h"
#include "ipv4lib/ipv4.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTabWidget;
class QToolBar;
class QToolButton;
class QWidget;
class TCalcInputs;
class TMaskViewer;
class TMulticastPanel;
class TNetworkCalcBox;
class TSpecialChart;
class TSubnetTables;

class TcIpCalc : public TcChild {
  Q_OBJECT
 public:
  explicit TcIpCalc(QWidget* parent = nullptr);
  ~TcIpCalc() override;
  void ApplyOptions(const TOptionsRec& options) override;
  void ShowAddress(const QString& text) override;

  // Reads and checks the inputs, keeps the history, then shows the result.
  void Examine(bool addToHistory);
  // Computes and writes every result line, then refills the subnet table;
  // false when the mask was missing or rejected and nothing was computed.
  bool ShowResults();
  // Blanks the result panel and both tables.
  void ClearResults();
  // Reads the inputs from the settings file (first application only).
  void RestoreState();

  // The mask viewer: reads its mask, reporting a missing or unusable one.
  bool ValidateViewerMask();
  // Checks and shows the typed mask (re-examining in viewer mode); false when
  // the mask was rejected.
  bool ConvertViewerMask();
  // Describes the viewer's mask, which decides whether the subnet table is filled.
  void ShowViewerLabels();
  // After a toggle: the new track bar range, then the mask and the address
  // examined again.
  void ApplyMaskOptions();

  // Result blanking while "Examine" is held down.
  void BlankResults();
  void RestoreResults();

  // Whether the host list editor is there to open from the number of hosts.
  void SetHostListAvailable(bool on);

  // State.
  ipv4 FAddress;
  ipv4 FNetworkMask;
  QString FNetworkText;
  QString FTitle;
  QString FErrorCaption;
  bool FSubnetTable = true;
  bool FRFC3021Subnets = true;
  bool FClassASupernets = true;
  bool FViewerMode = true;
  bool FClassDESubnets = true;
  QChar FCsvDelimiter = QLatin1Char(';');
  int FMaxListItems = 4096;
  bool FShowHints = true;
  int FMacFormat = 0;
  QString FIanaLink;
  QString FIniFileName;
  int FSavedSubnetRow = 0;
  int FSavedSubnetworkRow = 0;
  bool FBlanked = false;
  bool FInitialFocusGiven = false;

  // Controls.
  QWidget* pnlCalcBackground = nullptr;
  QToolBar* ToolBar1 = nullptr;
  QToolButton* sbtnClassASupernets = nullptr;
  QToolButton* sbtnRFC3021Subnet = nullptr;
  QToolButton* sbtnSubnetMaskViewer = nullptr;
  QSplitter* Splitter1 = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  TMaskViewer* gbSubnetViewer = nullptr;
  TNetworkCalcBox* gbNetworkCalc = nullptr;
  // The network box's inputs and the result lines others read.
  QComboBox* edtIPCAddress = nullptr;
  QLineEdit* edtNetworkMask = nullptr;
  QPushButton* btnCalculate = nullptr;
  QLabel* lblNetwork = nullptr;
  QLabel* lblNumberOfHosts = nullptr;
  QLabel* lblRemarks = nullptr;
  QTabWidget* pcSpecialTables = nullptr;
  QWidget* tsSpecIP = nullptr;
  QWidget* tsMMAC = nullptr;
  TSpecialChart* chart = nullptr;
  TMulticastPanel* multicastPanel = nullptr;
  QScrollArea* ScrollBox2 = nullptr;  // holds pnlSubnetTableBackground
  QWidget* pnlSubnetTableBackground = nullptr;
  TSubnetTables* subnetTables = nullptr;
  QLineEdit* edtCopy = nullptr;

 protected:
  void SaveState() override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  void ConnectHandlers();
  void ApplyResult(const NetCalcResult& r);
  // Caption and previous/next buttons after a result shown from the viewer.
  void ShowExamined();
  // The network line's caption and the multicast page for the address
  // examined (an empty result: no address).
  void ShowAddressKind(const NetCalcResult& r);
  void FillSubnetTable();
  // The field whose mask is examined: the viewer's in viewer mode.
  QLineEdit* MaskField() const;
  void HighlightChartRow();
  void UpdateViewerVisibility();
  void LimitLeftWidth();

  void edtSubnetMaskChange();
  void TrackBarChange();
  void lblSupernetClick(const QString& text);
  void lblNumberOfHostsClick(const QString& network);
  THostListRequest HostListRequest(const QString& title, const QString& network,
                                   const QString& address) const;
  void sbtnClassASupernetsClick();
  void sbtnRFC3021SubnetClick();
  void sbtnSubnetMaskViewerClick();
  void BlockPicked(const QString& addressText, const QString& maskText);

  // One user action (a key, a click, a pick): its steps may come upon the
  // same error more than once, the user is told once. Scopes nest; the
  // outermost one starts a new action.
  class TActionScope {
   public:
    explicit TActionScope(TcIpCalc* window);
    ~TActionScope();
    TActionScope(const TActionScope&) = delete;
    TActionScope& operator=(const TActionScope&) = delete;

   private:
    TcIpCalc* FWindow;
  };
  // Error box (caption "Error", stop icon), once per text and action.
  void ReportError(const QString& text);

  TCalcInputs* FInputs = nullptr;
  int FActionDepth = 0;
  QStringList FActionErrors;
};
