#include "ipcalc/maskviewer.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

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
}
