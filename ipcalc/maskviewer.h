#pragma once
// The "Subnet Mask Viewer" group box: the mask input with its track bar and
// the labels that explain the mask. The panel reads and converts the mask and
// follows the track bar; the calculator window decides when, and what the
// mask means for the network examined.

#include <QColor>
#include <QGroupBox>
#include <array>

#include "ipcalc/netcalc.h"
#include "ipv4lib/ipv4.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class TBitImage;

class TMaskViewer : public QGroupBox {
  Q_OBJECT
 public:
  explicit TMaskViewer(QWidget* parent = nullptr);

  // The options masks are read with. In viewer mode the viewer's mask is the
  // calculator's network mask and its digits are coloured by their role.
  void SetOptions(bool classASupernets, bool rfc3021, bool viewerMode);
  // The track bar runs from /1 (class A supernets) or /8 up to /32; without
  // RFC 3021 subnets its last position, 31, stands for /32.
  void LimitTrackBar();

  // Reads the typed mask into Mask(): the message for an empty or unusable
  // mask, "" when the mask is usable.
  QString ReadMask();
  // Takes the mask of the track bar's position and writes it into the field.
  void TakeTrackBarMask();
  // Places the track bar at the typed mask without running its update; false
  // (the bar at /24) when the text is no dotted mask.
  bool PlaceTrackBar();
  const ipv4& Mask() const { return FViewerMask; }
  // Whether Mask() is one the viewer can describe.
  bool MaskUsable() const;

  // Describes Mask() in the labels; with setPosition the track bar follows
  // it, the field shows it dotted and a mask read from a host count shows
  // its usage. False, and the labels blank, when the mask is not usable.
  bool ShowLabels(bool setPosition);
  void ClearLabels();
  void HideUsage();
  // Draws Mask() in binary, each digit coloured by its role for `address`.
  void DrawBinMask(const ipv4& address);
  // The binary view's hint for the digit at x.
  void ShowBitHint(int x, const ipv4& address);

  // Where each digit of the binary view starts, its role and its colour.
  struct BitCell {
    int x = 0;
    TBitRole role = brNetwork;
    QColor colour;
  };
  std::array<BitCell, 32> FBitCells{};

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

 signals:
  void convertClicked();
  // The track bar moved: by the user or by a change of its range.
  void trackBarMoved();
  // The user typed in the field; the labels are blank already.
  void maskEdited();
  // The mouse moved over the binary view (x in the view).
  void binMaskMouseMoved(int x);

 private:
  void OnMaskEdited();

  ipv4 FViewerMask;
  bool FUsageShown = false;
  int FUsageCount = 0;
  bool FClassASupernets = true;
  bool FRFC3021Subnets = true;
  bool FViewerMode = true;
};

// A navy value label of fixed width that never resizes itself.
QLabel* MakeValueLabel(const QString& name, QWidget* parent);
// Gives an existing label the looks of a value label; returns it.
QLabel* SetupValueLabel(QLabel* label, const QString& name);
// A caption label.
QLabel* MakeCaptionLabel(const QString& name, const QString& text, QWidget* parent);
// The caption of a group box in bold, its contents not.
void SetBoldCaption(QGroupBox* box);
// Sets or clears bold in a widget's own font.
void SetBold(QWidget* w, bool bold);
