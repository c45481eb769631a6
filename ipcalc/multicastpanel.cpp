#include "ipcalc/multicastpanel.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

#include "common/services.h"
#include "common/themecolors.h"
#include "ipcalc/bitimage.h"
#include "ipcalc/multicast.h"
#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4mac.h"

namespace {
// All three diagrams end at this x, so the low-order bits stand above each other.
constexpr int kDiagramRight = 425;
constexpr int kIpImageWidth = 201;
constexpr int kMacImageWidth = 303;
constexpr int kImageHeight = 13;
constexpr unsigned long long kMacHeader = 0x01005E000000ull;

QLabel* MakeLabel(const QString& name, const QString& caption, QWidget* parent) {
  auto* l = new QLabel(caption, parent);
  l->setObjectName(name);
  return l;
}

QLabel* MakeValueLabel(const QString& name, QWidget* parent) {
  QLabel* l = MakeLabel(name, QString(), parent);
  SetTextColour(l, NavyColor());
  return l;
}

// The largest font of the family that fits 48 bits and 5 dots into a MAC image.
QFont DiagramFont(QFont f) {
  for (int px = 11; px > 5; --px) {
    f.setPixelSize(px);
    const QFontMetrics fm(f);
    const int width =
        48 * fm.horizontalAdvance(QLatin1Char('0')) + 5 * fm.horizontalAdvance(QLatin1Char('.'));
    if (width <= kMacImageWidth) break;
  }
  return f;
}

int TextWidth(const QFont& f, int bits) {
  const QFontMetrics fm(f);
  return bits * fm.horizontalAdvance(QLatin1Char('0')) +
         (bits / 8 - 1) * fm.horizontalAdvance(QLatin1Char('.'));
}
}  // namespace

TMulticastPanel::TMulticastPanel(QWidget* parent) : QWidget(parent) {
  Label1 = MakeLabel(QStringLiteral("Label1"), QStringLiteral("Muliticast IP:"), this);
  lblMCIP = MakeValueLabel(QStringLiteral("lblMCIP"), this);
  Label3 = MakeLabel(QStringLiteral("Label3"), QStringLiteral("Multicast MAC:"), this);
  lblMCMAC = MakeValueLabel(QStringLiteral("lblMCMAC"), this);
  bbtnIANALink = new QPushButton(QStringLiteral("View IANA Multicast Assignments "), this);
  bbtnIANALink->setObjectName(QStringLiteral("bbtnIANALink"));
  bbtnIANALink->setToolTip(QStringLiteral("Go to IANA's multicast definitions web site"));
  Label39 = MakeLabel(QStringLiteral("Label39"),
                      QStringLiteral("Other Multicast IP with this MAC:"), this);
  lbMIP = new QListWidget(this);
  lbMIP->setObjectName(QStringLiteral("lbMIP"));
  lbMIP->setSelectionMode(QAbstractItemView::SingleSelection);
  lbMIP->setToolTip(
      QStringLiteral("Multicast IP addresses which are also based on the examined multicast MAC "
                     "address"));
  Panel4 = new QFrame(this);
  Panel4->setObjectName(QStringLiteral("Panel4"));
  Panel4->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  lblMCIPtoMAC = MakeLabel(QStringLiteral("lblMCIPtoMAC"),
                           QStringLiteral("Multicast IP-to-MAC conversion:"), this);
  QFont underlined = lblMCIPtoMAC->font();
  underlined.setUnderline(true);
  lblMCIPtoMAC->setFont(underlined);
  lblMCIPtoMAC->setCursor(Qt::WhatsThisCursor);
  lblMCIPtoMAC->setToolTip(QStringLiteral("Click for explanation"));
  lblMCIPtoMAC->installEventFilter(this);
  lblIPtoMAC = MakeValueLabel(QStringLiteral("lblIPtoMAC"), this);
  Label7 = MakeLabel(QStringLiteral("Label7"), QStringLiteral("IP:"), this);
  Label8 = MakeLabel(QStringLiteral("Label8"), QStringLiteral("Header:"), this);
  Label9 = MakeLabel(QStringLiteral("Label9"), QStringLiteral("MAC:"), this);
  imgMIP = new TBitImage(kIpImageWidth, kImageHeight, this);
  imgMIP->setObjectName(QStringLiteral("imgMIP"));
  imgMHdr = new TBitImage(kMacImageWidth, kImageHeight, this);
  imgMHdr->setObjectName(QStringLiteral("imgMHdr"));
  imgMMAC = new TBitImage(kMacImageWidth, kImageHeight, this);
  imgMMAC->setObjectName(QStringLiteral("imgMMAC"));

  // Fixed places: the diagrams must line up bit for bit.
  const int valueX = 8 + std::max(Label1->sizeHint().width(), Label3->sizeHint().width()) + 6;
  const int rowH = std::max(16, Label1->sizeHint().height());
  Label1->setGeometry(8, 6, valueX - 14, rowH);
  lblMCIP->setGeometry(valueX, 6, 224 - valueX, rowH);
  Label3->setGeometry(8, 6 + rowH + 4, valueX - 14, rowH);
  lblMCMAC->setGeometry(valueX, 6 + rowH + 4, 224 - valueX, rowH);
  const int buttonY = 6 + 2 * (rowH + 4) + 6;
  bbtnIANALink->setGeometry(8, buttonY, std::max(210, bbtnIANALink->sizeHint().width()),
                            bbtnIANALink->sizeHint().height());
  Label39->setGeometry(232, 4, std::max(kDiagramRight - 232, Label39->sizeHint().width()), rowH);
  const int ruleY = std::max(buttonY + bbtnIANALink->sizeHint().height(), 4 + rowH + 90) + 6;
  lbMIP->setGeometry(232, 4 + rowH + 2, kDiagramRight - 232, ruleY - 6 - (4 + rowH + 2));
  Panel4->setGeometry(8, ruleY, kDiagramRight - 8, 2);
  lblMCIPtoMAC->setGeometry(8, ruleY + 6, lblMCIPtoMAC->sizeHint().width(), rowH);
  lblIPtoMAC->setGeometry(lblMCIPtoMAC->sizeHint().width() + 16, ruleY + 6,
                          kDiagramRight - lblMCIPtoMAC->sizeHint().width() - 16, rowH);

  const QFont diagram = DiagramFont(imgMIP->font());
  int y = ruleY + 6 + rowH + 6;
  const struct {
    QLabel* label;
    TBitImage* image;
    int bits;
  } rows[] = {{Label7, imgMIP, 32}, {Label8, imgMHdr, 48}, {Label9, imgMMAC, 48}};
  for (const auto& r : rows) {
    r.image->setFont(diagram);
    // Right-aligned text, so that the last bits of all three rows share one x.
    const int x = kDiagramRight - TextWidth(diagram, r.bits);
    r.image->move(x, y + (rowH - kImageHeight) / 2);
    r.label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    r.label->setGeometry(0, y, x - 6, rowH);
    connect(r.image, &TBitImage::mouseMoved, this, &TMulticastPanel::bitImageMouseMove);
    y += rowH + 2;
  }

  connect(bbtnIANALink, &QPushButton::clicked, this, &TMulticastPanel::bbtnIANALinkClick);
  connect(lbMIP, &QListWidget::itemSelectionChanged, this, [this] {
    if (!FRefreshing) lbMIPClick();
  });
}

QSize TMulticastPanel::sizeHint() const {
  return QSize(kDiagramRight + 8, imgMMAC->geometry().bottom() + 6);
}

void TMulticastPanel::SetIanaLink(const QString& link) {
  FIanaLink = link;
}

void TMulticastPanel::ShowGroup(const QString& ipText, const QString& macText) {
  lblMCIP->setText(ipText);
  lblMCMAC->setText(macText);
  RefreshMulticastPanel();
}

void TMulticastPanel::RefreshMulticastPanel() {
  FRefreshing = true;
  lbMIP->clear();
  FRefreshing = false;
  const QStringList groups = MulticastGroupsOfMac(lblMCMAC->text());
  if (groups.isEmpty()) return;  // no 01-00-5E MAC: the rest keeps its content
  const ipv4mac mac(lblMCMAC->text().toStdString());
  lblIPtoMAC->setText(IpToMacText(lblMCIP->text(), lblMCMAC->text()));
  // The examined group when it belongs to this MAC, else the lowest one.
  const int examined = int(groups.indexOf(lblMCIP->text()));
  DrawIpDiagram(ipv4(groups.value(std::max(examined, 0)).toStdString()).value());
  DrawMacDiagram(imgMHdr, kMacHeader);
  DrawMacDiagram(imgMMAC, mac.value());
  FRefreshing = true;
  lbMIP->addItems(groups);
  if (examined >= 0) lbMIP->setCurrentRow(examined);
  FRefreshing = false;
}

void TMulticastPanel::lbMIPClick() {
  const QList<QListWidgetItem*> selected = lbMIP->selectedItems();
  if (selected.isEmpty()) return;
  lblMCIP->setText(selected.first()->text());
  lblIPtoMAC->setText(IpToMacText(lblMCIP->text(), lblMCMAC->text()));
  DrawIpDiagram(ipv4(lblMCIP->text().toStdString()).value());
}

void TMulticastPanel::bbtnIANALinkClick() {
  if (!Services::Instance().OpenUrl(QUrl(FIanaLink)))
    Services::Instance().MessageBox(this, QGuiApplication::applicationDisplayName(),
                                    QStringLiteral("Unable to start http client."),
                                    Services::Icon::None);
}

void TMulticastPanel::lblMCIPtoMACClick() {
  Services::Instance().ShowHelp(470);
}

void TMulticastPanel::DrawIpDiagram(uint32_t address) {
  // Struck through: the fixed 1110 prefix (grey) and the 5 bits the MAC loses.
  const QColor grey(128, 128, 128);
  std::vector<TBitImage::Glyph> glyphs = TBitImage::BitGlyphs(address, 32, [&](int bit, bool) {
    return TBitImage::Glyph{QChar(), bit <= 4 ? grey : NavyColor(), bit <= 9};
  });
  // The dot after the first octet lies inside the lost bits.
  glyphs[8].struck = true;
  imgMIP->Draw(glyphs);
}

void TMulticastPanel::DrawMacDiagram(TBitImage* image, unsigned long long value) {
  image->Draw(TBitImage::BitGlyphs(value, 48, [](int, bool) {
    return TBitImage::Glyph{QChar(), NavyColor(), false};
  }));
}

bool TMulticastPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lblMCIPtoMAC && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    lblMCIPtoMACClick();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}
