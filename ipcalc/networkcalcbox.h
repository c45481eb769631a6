#pragma once
// The "Network Calculator" group box: the address and mask inputs, the
// "Examine" button, the previous/next buttons and the result lines. Only the
// controls live here; the calculator window fills them from netcalc.h.

#include <QGroupBox>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class TNetworkCalcBox : public QGroupBox {
  Q_OBJECT
 public:
  explicit TNetworkCalcBox(QWidget* parent = nullptr);

  // Called when the drop-down list of the address history opens.
  std::function<void()> onDropDown;
  // Called when it closes, before the picked entry (if any) is reported.
  std::function<void()> onCloseUp;

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
};
