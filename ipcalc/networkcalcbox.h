#pragma once
// The "Network Calculator" group box: the address and mask inputs, the
// "Examine" button, the previous/next buttons and the result lines, which it
// fills from a network result (netcalc.h). What a click means for the
// calculator is left to the window.

#include <QGroupBox>
#include <QString>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
struct NetCalcResult;

class TNetworkCalcBox : public QGroupBox {
  Q_OBJECT
 public:
  explicit TNetworkCalcBox(QWidget* parent = nullptr);

  // Writes every result line of r, with the looks that go with it: the
  // supernet mask and (with a host list editor) the number of hosts as links.
  void ShowResult(const NetCalcResult& r);
  // Blanks every result line; nothing to step to.
  void ClearResult();
  // Hides the result lines (while "Examine" is held down) or shows them again.
  void SetResultsVisible(bool on);
  // Enables the previous/next buttons where there is a network to step to.
  void EnableStepButtons();
  // Whether a click on the number of hosts opens the host list editor.
  void SetHostListAvailable(bool on);

  // The address field's text, written without telling it as an edit.
  void SetAddressText(const QString& text);
  // The address history, oldest first; the field keeps its text.
  void SetHistory(const QStringList& history);
  QStringList History() const;

  // The network before the one shown; empty when there is none.
  QString FPrevNetworkText;
  // Whether there is a network below / above the one shown.
  bool FCanStepPrev = false;
  bool FCanStepNext = false;
  bool FHostListAvailable = false;

  QComboBox* edtIPCAddress = nullptr;
  QLabel* lblNetworkMask = nullptr;
  QLineEdit* edtNetworkMask = nullptr;
  QPushButton* btnCalculate = nullptr;
  QToolButton* bbtnPrev = nullptr;
  QToolButton* bbtnNext = nullptr;
  QLabel* lblNw = nullptr;
  QLabel* lblNetwork = nullptr;
  QLabel* lblSupernet = nullptr;
  QLabel* lblHostRange = nullptr;
  QLabel* lblNumberOfHosts = nullptr;
  QLabel* lblBroadcast = nullptr;
  QLabel* lblNextNetwork = nullptr;
  QLabel* lblPTR = nullptr;
  QLabel* lblIPv6 = nullptr;
  QLabel* lblRemarks = nullptr;
  QMenu* pmCopy = nullptr;
  QAction* Copytoclipboard1 = nullptr;

 signals:
  // Every change of the address text but the program's own: typing, paste,
  // the arrow keys or the mouse wheel stepping through the history, a pick.
  void addressEdited();
  // An entry was picked from the open history list.
  void addressPicked();
  // The user changed the network mask (already trimmed).
  void networkMaskEdited();
  // The previous or next button asks for this network.
  void stepRequested(const QString& networkText);
  // The supernet mask was clicked.
  void supernetClicked(const QString& mask);
  // The number of hosts was clicked while the host list editor is available:
  // the network shown ("192.168.1.0  255.255.255.0", without a MAC address).
  void numberOfHostsClicked(const QString& network);
  // "Copy to clipboard" for the text of a result line.
  void copyRequested(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The result lines that can be copied.
  QList<QLabel*> CopyLabels() const;
  // The result lines hidden while "Examine" is held down.
  QList<QLabel*> ResultLabels() const;
  QLabel* FPopupLabel = nullptr;
  // Set while the program itself writes the address field.
  bool FWritingAddress = false;
  // Set from the opening of the history list until just after it closed.
  bool FPickedFromList = false;
};
