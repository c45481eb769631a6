#pragma once
// The "Subnet Mask Viewer" group box: the mask input with its track bar and
// the labels that explain the mask. Only the controls live here; the
// calculator window fills them from the model in netcalc.h.

#include <QGroupBox>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class TBitImage;

class TMaskViewer : public QGroupBox {
  Q_OBJECT
 public:
  explicit TMaskViewer(QWidget* parent = nullptr);

  QLineEdit* edtSubnetMask = nullptr;
  QPushButton* btnSNConvert = nullptr;
  QSlider* TrackBar = nullptr;
  QLabel* lblSubnetMask = nullptr;
  QLabel* lblPrefix = nullptr;
  QLabel* lblHostCount = nullptr;
  QLabel* lblWildcard = nullptr;
  TBitImage* imgBinMask = nullptr;
  QLabel* lblHex = nullptr;
  QLabel* lblUsageLabel = nullptr;
  QLabel* lblUsage = nullptr;
};

// A navy value label of fixed width that never resizes itself.
QLabel* MakeValueLabel(const QString& name, QWidget* parent);
// Gives an existing label the looks of a value label; returns it.
QLabel* SetupValueLabel(QLabel* label, const QString& name);
// A caption label.
QLabel* MakeCaptionLabel(const QString& name, const QString& text, QWidget* parent);
