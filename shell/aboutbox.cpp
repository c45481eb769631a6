#include "shell/aboutbox.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QUrl>
#include <QWindow>

#include "common/services.h"
#include "common/themecolors.h"
#include "common/widgethelpers.h"

namespace {

constexpr int kWidth = 323;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  int pixelSize = 11, bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  label->setFont(f);
  SetTextColour(label, NavyColor());
  label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  label->setGeometry(geometry);
  return label;
}

// The link is reached with Tab, so it has to show when it holds the focus
// (Enter then opens it).
class TFocusLinkLabel : public TLinkLabel {
 public:
  using TLinkLabel::TLinkLabel;

 protected:
  void paintEvent(QPaintEvent* event) override {
    TLinkLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    // Around the address itself, not the empty rest of the label.
    option.rect = style()
                      ->itemTextRect(fontMetrics(), contentsRect(), int(alignment()), true, text())
                      .adjusted(-2, 0, 2, 0)
                      .intersected(rect());
    option.backgroundColor = palette().color(backgroundRole());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
};

}  // namespace

QUrl TfrmAbout::SoftwarePage() {
  return QUrl(QStringLiteral("https://orvex.example.org/software.html"));
}

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("TfrmAbout"));
  setWindowTitle(QStringLiteral("About..."));
  setFixedSize(kWidth, kDialogHeight);

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameShape(QFrame::StyledPanel);
  Panel1->setFrameShadow(QFrame::Sunken);

  // The texts are wider than their designed boxes in most Linux fonts, so
  // the centred lines span the whole box.
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Orvex Lite"), QRect(32, 8, 256, 24), 19, true);
  VerLabel =
      MakeLabel(this, "VerLabel", QStringLiteral("Version "), QRect(8, 36, 307, 15), 11, true);
  lblIPv4Ver = MakeLabel(this, "lblIPv4Ver", QString(), QRect(8, 52, 307, 14));
  Label3 = MakeLabel(this, "Label3",
                     QStringLiteral("GNU GPL v3 or later \u00a9 the Orvex Lite developers"),
                     QRect(8, 68, 307, 14));
  Label4 = MakeLabel(this, "Label4",
                     QStringLiteral("For updated versions and other free software products "),
                     QRect(6, 101, 311, 14));
  Label5 = MakeLabel(this, "Label5", QStringLiteral("please visit"), QRect(8, 122, 112, 14));
  Label5->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  LinkLabel = new TFocusLinkLabel(SoftwarePage().host(), this);
  LinkLabel->setObjectName(QStringLiteral("LinkLabel"));
  {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    f.setUnderline(true);
    LinkLabel->setFont(f);
  }
  LinkLabel->setGeometry(124, 122, 190, 14);
  SetHint(LinkLabel, QStringLiteral("Go to author's home page"));

  btnOk = new QPushButton(QStringLiteral("Ok"), this);
  btnOk->setObjectName(QStringLiteral("btnOk"));
  btnOk->setGeometry(131, 150, 60, 24);
  btnOk->setDefault(true);
  btnOk->setAutoDefault(true);

  lblPortInfo = MakeLabel(this, "lblPortInfo", QString(), QRect(8, 0, 307, 13), 9);

  // "Ok" comes first, so Enter closes the box; Tab leads on to the link.
  setTabOrder(btnOk, LinkLabel);

  connect(btnOk, &QPushButton::clicked, this, &TfrmAbout::btnOkClick);
  connect(LinkLabel, &TLinkLabel::clicked, this, &TfrmAbout::LinkLabelClick);
}

void TfrmAbout::CentreOver(const QWidget* owner) {
  // Over the client area, measured from the owner's outer corner.
  move(CentredIn(QRect(owner->pos(), owner->size()), size()));
}

void TfrmAbout::ShowAsSplash(const QWidget* owner) {
  FStayOnTop = true;
  btnOk->hide();
  setFixedHeight(kSplashHeight);
  CentreOver(owner);
  setAttribute(Qt::WA_ShowWithoutActivating, true);
  show();
}

void TfrmAbout::EndSplash() {
  close();
  setAttribute(Qt::WA_ShowWithoutActivating, false);
  btnOk->show();
  setFixedHeight(kDialogHeight);
}

void TfrmAbout::SetVersionTexts(const QString& buildText, const QString& libraryVersion,
                                const QString& portInfo) {
  VerLabel->setText(VerLabel->text() + buildText);
  lblIPv4Ver->setText(QStringLiteral("IPv4 clib ") + libraryVersion);
  lblPortInfo->setText(portInfo);
}

int TfrmAbout::ExecOver(const QWidget* owner) {
  // A hidden window may be told its old splash size again by the window
  // system, so the dialog size is set once more right before showing.
  setFixedHeight(kDialogHeight);
  resize(width(), kDialogHeight);
  CentreOver(owner);
  return exec();
}

void TfrmAbout::showEvent(QShowEvent* event) {
  // Top-most for the splash, an ordinary window otherwise; changed on the
  // native window so the box is neither moved nor activated.
  Qt::WindowFlags flags = windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, FStayOnTop);
  if (flags != windowFlags()) {
    overrideWindowFlags(flags);
    if (QWindow* w = windowHandle()) w->setFlags(flags);
  }
  // The box is shown again and again; each time it starts on "Ok", wherever
  // Tab had left the focus.
  if (!btnOk->isHidden()) btnOk->setFocus(Qt::OtherFocusReason);
  QDialog::showEvent(event);
}

void TfrmAbout::resizeEvent(QResizeEvent* event) {
  Panel1->setGeometry(rect());
  // The drive line keeps its distance to the bottom edge.
  lblPortInfo->move(8, height() - 13);
  QDialog::resizeEvent(event);
}

void TfrmAbout::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    FormClick();
    return;
  }
  QDialog::mousePressEvent(event);
}

void TfrmAbout::FormClick() {
  close();
}

void TfrmAbout::btnOkClick() {
  accept();
}

void TfrmAbout::LinkLabelClick() {
  if (!Services::Instance().OpenUrl(SoftwarePage()))
    Services::Instance().MessageBox(this, QStringLiteral("Orvex Lite"),
                                    QStringLiteral("Unable to start http client."),
                                    Services::Icon::None, Services::Ok);
}
