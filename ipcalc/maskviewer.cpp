#include "ipcalc/maskviewer.h"

#include <QCursor>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolTip>

#include "common/themecolors.h"
#include "ipcalc/bitimage.h"

QLabel* MakeValueLabel(const QString& name, QWidget* parent) {
  return SetupValueLabel(new QLabel(parent), name);
}

QLabel* SetupValueLabel(QLabel* l, const QString& name) {
  l->setObjectName(name);
  SetTextColour(l, NavyColor());
  l->setTextInteractionFlags(Qt::NoTextInteraction);
  l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  return l;
}

QLabel* MakeCaptionLabel(const QString& name, const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

void SetBoldCaption(QGroupBox* box) {
  SetBold(box, true);
  for (QWidget* w : box->findChildren<QWidget*>()) SetBold(w, false);
}

void SetBold(QWidget* w, bool bold) {
  QFont f = w->font();
  f.setBold(bold);
  w->setFont(f);
}

namespace {

// The largest pixel size at which the 35 glyphs of a mask fit the image.
void FitBinaryFont(TBitImage* image) {
  QFont f = image->font();
  for (int px = 11; px >= 6; --px) {
    f.setPixelSize(px);
    const QFontMetrics fm(f);
    if (32 * fm.horizontalAdvance(QLatin1Char('0')) + 3 * fm.horizontalAdvance(QLatin1Char('.')) <=
        image->width())
      break;
  }
  image->setFont(f);
}

}  // namespace

TMaskViewer::TMaskViewer(QWidget* parent)
    : QGroupBox(QStringLiteral("Subnet Mask Viewer"), parent) {
  setObjectName(QStringLiteral("gbSubnetViewer"));
  FViewerMask.assign_value(0xFFFFFF00u);

  edtSubnetMask = new QLineEdit(this);
  edtSubnetMask->setObjectName(QStringLiteral("edtSubnetMask"));
  edtSubnetMask->setToolTip(
      QStringLiteral("Enter a subnet mask, wildcard bitmask, prefix or numeric value"));
  btnSNConvert = new QPushButton(QStringLiteral("Convert"), this);
  btnSNConvert->setObjectName(QStringLiteral("btnSNConvert"));
  btnSNConvert->setToolTip(QStringLiteral("Click to convert subnet mask"));
  btnSNConvert->setAutoDefault(false);
  TrackBar = new QSlider(Qt::Horizontal, this);
  TrackBar->setObjectName(QStringLiteral("TrackBar"));
  TrackBar->setToolTip(QStringLiteral("Increase or decrease mask size"));
  TrackBar->setTickPosition(QSlider::NoTicks);
  TrackBar->setRange(1, 32);
  TrackBar->setValue(24);
  TrackBar->setPageStep(1);

  lblSubnetMask = MakeValueLabel(QStringLiteral("lblSubnetMask"), this);
  lblPrefix = MakeValueLabel(QStringLiteral("lblPrefix"), this);
  lblHostCount = MakeValueLabel(QStringLiteral("lblHostCount"), this);
  lblWildcard = MakeValueLabel(QStringLiteral("lblWildcard"), this);
  lblHex = MakeValueLabel(QStringLiteral("lblHex"), this);
  lblUsage = MakeValueLabel(QStringLiteral("lblUsage"), this);
  lblUsageLabel = MakeCaptionLabel(QStringLiteral("lblUsageLabel"), QStringLiteral("Usage:"), this);
  lblUsage->hide();
  lblUsageLabel->hide();
  imgBinMask = new TBitImage(201, 13, this);
  imgBinMask->setObjectName(QStringLiteral("imgBinMask"));
  imgBinMask->setCursor(Qt::PointingHandCursor);
  imgBinMask->setToolTip(QStringLiteral("Binary subnet mask view"));
  FitBinaryFont(imgBinMask);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(1);

  auto* input = new QHBoxLayout;
  input->setSpacing(4);
  input->addWidget(edtSubnetMask, 3);
  input->addWidget(btnSNConvert, 0);
  input->addWidget(TrackBar, 4);
  grid->addLayout(input, 0, 0, 1, 4);

  grid->addWidget(MakeCaptionLabel(QStringLiteral("Label23"), QStringLiteral("Subnet Mask:"), this),
                  1, 0);
  grid->addWidget(lblSubnetMask, 1, 1);
  grid->addWidget(
      MakeCaptionLabel(QStringLiteral("Label26"), QStringLiteral("Wildcard Bitmask:"), this), 1, 2);
  grid->addWidget(lblWildcard, 1, 3);
  grid->addWidget(MakeCaptionLabel(QStringLiteral("Label24"), QStringLiteral("Prefix:"), this), 2,
                  0);
  grid->addWidget(lblPrefix, 2, 1);
  grid->addWidget(MakeCaptionLabel(QStringLiteral("Label28"), QStringLiteral("Hex View:"), this), 2,
                  2);
  grid->addWidget(lblHex, 2, 3);
  grid->addWidget(
      MakeCaptionLabel(QStringLiteral("Label25"), QStringLiteral("Number of Hosts:"), this), 3, 0);
  // The host count may read "RFC3021 point to point": it takes the middle
  // column as well; the usage line sits in the last one.
  grid->addWidget(lblHostCount, 3, 1, 1, 2);
  auto* usage = new QHBoxLayout;
  usage->setSpacing(4);
  usage->addWidget(lblUsageLabel);
  usage->addWidget(lblUsage, 1);
  grid->addLayout(usage, 3, 3);
  grid->addWidget(MakeCaptionLabel(QStringLiteral("Label27"), QStringLiteral("Binary View:"), this),
                  4, 0);
  grid->addWidget(imgBinMask, 4, 1, 1, 3, Qt::AlignLeft | Qt::AlignVCenter);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  // Room for the longest text of each value, whatever the font.
  const QFontMetrics fm(font());
  const int mask = fm.horizontalAdvance(QStringLiteral("255.255.255.255")) + 4;
  lblSubnetMask->setMinimumWidth(mask);
  lblWildcard->setMinimumWidth(mask);
  lblHex->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("FF.FF.FF.FF")) + 4);
  lblHostCount->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("RFC3021 point to point")) + 4);
  lblUsage->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("100%")) + 4);
  SetBoldCaption(this);
  SetBold(btnSNConvert, true);

  connect(btnSNConvert, &QPushButton::clicked, this, &TMaskViewer::convertClicked);
  connect(TrackBar, &QSlider::valueChanged, this, &TMaskViewer::trackBarMoved);
  connect(edtSubnetMask, &QLineEdit::textEdited, this, &TMaskViewer::OnMaskEdited);
  connect(imgBinMask, &TBitImage::mouseMoved, this, &TMaskViewer::binMaskMouseMoved);
}

void TMaskViewer::SetOptions(bool classASupernets, bool rfc3021, bool viewerMode) {
  FClassASupernets = classASupernets;
  FRFC3021Subnets = rfc3021;
  FViewerMode = viewerMode;
}

void TMaskViewer::LimitTrackBar() {
  // Only one of the two can move the bar (below /8, or at /32), and each
  // move runs the track bar's update with the options already in place.
  TrackBar->setMinimum(FClassASupernets ? 1 : 8);
  TrackBar->setMaximum(FRFC3021Subnets ? 32 : 31);
}

QString TMaskViewer::ReadMask() {
  const ViewerMaskCheck c = CheckViewerMask(edtSubnetMask->text(), FClassASupernets);
  FViewerMask = c.mask;
  FUsageShown = c.usageShown;
  if (c.usageShown) FUsageCount = c.usageCount;
  if (c.empty) return QStringLiteral("Please enter a subnet mask.");
  if (!c.usable) return QStringLiteral("Invalid network mask.");
  return QString();
}

void TMaskViewer::TakeTrackBarMask() {
  HideUsage();
  FUsageShown = false;
  FViewerMask = TrackBarMask(TrackBar->value(), FRFC3021Subnets);
  edtSubnetMask->setText(QtText(FViewerMask.text()));
}

bool TMaskViewer::PlaceTrackBar() {
  ipv4 mask(edtSubnetMask->text().toLatin1().toStdString());
  const bool usable = mask.is_mask();
  if (!usable) mask.assign_value(0xFFFFFF00u);
  const QSignalBlocker block(TrackBar);
  TrackBar->setValue(mask.prefix_length());
  return usable;
}

bool TMaskViewer::MaskUsable() const {
  return FViewerMask.is_valid() &&
         (FViewerMask.is_mask() || (FClassASupernets && FViewerMask.is_short_mask()));
}

bool TMaskViewer::ShowLabels(bool setPosition) {
  // A rejected text has no mask to describe ("/0", "0 hosts" would be made
  // up): the labels stay blank and the text stays for the user to correct.
  if (!MaskUsable()) {
    ClearLabels();
    return false;
  }
  const ViewerLabels l =
      ComputeViewerLabels(FViewerMask, FRFC3021Subnets, setPosition && FUsageShown, FUsageCount);
  lblSubnetMask->setText(l.subnetMask);
  lblPrefix->setText(l.prefix);
  lblHostCount->setText(l.hostCount);
  lblWildcard->setText(l.wildcard);
  lblHex->setText(l.hex);
  if (!setPosition) return true;
  {
    // The position follows the mask; moving it must not re-derive the mask.
    const QSignalBlocker block(TrackBar);
    TrackBar->setValue(l.position);
  }
  if (edtSubnetMask->text() != l.subnetMask) edtSubnetMask->setText(l.subnetMask);
  lblUsage->setText(l.usage);
  lblUsageLabel->setVisible(l.usageShown);
  lblUsage->setVisible(l.usageShown);
  return true;
}

void TMaskViewer::ClearLabels() {
  for (QLabel* l : {lblSubnetMask, lblHostCount, lblWildcard, lblHex, lblPrefix, lblUsage})
    l->clear();
  imgBinMask->Clear();
}

void TMaskViewer::HideUsage() {
  lblUsageLabel->hide();
  lblUsage->hide();
}

void TMaskViewer::DrawBinMask(const ipv4& address) {
  if (!MaskUsable()) {
    imgBinMask->Clear();
    return;
  }
  const std::array<TBitRole, 32> roles = BinMaskRoles(FViewerMask, address, FViewerMode);
  const auto glyphs = TBitImage::BitGlyphs(FViewerMask.value(), 32, [&](int i, bool) {
    return TBitImage::Glyph{QChar(), BitRoleColour(roles[static_cast<std::size_t>(i - 1)]), false};
  });
  const std::vector<int>& positions = imgBinMask->Draw(glyphs);
  for (int i = 0; i < 32; ++i) {
    // Digits and the three dots alternate in groups of eight.
    const std::size_t at = static_cast<std::size_t>(i + i / 8);
    const TBitRole role = roles[static_cast<std::size_t>(i)];
    FBitCells[static_cast<std::size_t>(i)] = {at < positions.size() ? positions[at] : 0, role,
                                              BitRoleColour(role)};
  }
}

void TMaskViewer::ShowBitHint(int x, const ipv4& address) {
  std::size_t cell = 0;
  for (std::size_t i = 0; i < FBitCells.size(); ++i)
    if (FBitCells[i].x <= x) cell = i;
  const QString hint = BitHint(FBitCells[cell].role, address, FViewerMode);
  if (hint == imgBinMask->toolTip()) return;
  imgBinMask->setToolTip(hint);
  // A hint already on screen follows the mouse to the next kind of bit.
  if (QToolTip::isVisible() && imgBinMask->underMouse())
    QToolTip::showText(QCursor::pos(), hint, imgBinMask);
}

void TMaskViewer::OnMaskEdited() {
  ClearLabels();
  emit maskEdited();
  const QString trimmed = edtSubnetMask->text().trimmed();
  if (trimmed != edtSubnetMask->text()) edtSubnetMask->setText(trimmed);
}
