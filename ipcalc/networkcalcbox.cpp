#include "ipcalc/networkcalcbox.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include "common/widgethelpers.h"
#include "ipcalc/maskviewer.h"
#include "ipcalc/netcalc.h"

namespace {

const QString kCopyHint = QStringLiteral("Right click to open popup menu");

// The address combo tells when its drop-down list opens and closes.
class THistoryCombo : public QComboBox {
  Q_OBJECT
 public:
  using QComboBox::QComboBox;
  void showPopup() override {
    // Opening the list takes the focus from the edit part, which makes the
    // combo report its text as activated when it matches an entry: only
    // what happens once the list is open is a pick.
    QComboBox::showPopup();
    emit popupShown();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    emit popupHidden();
  }

 signals:
  void popupShown();
  void popupHidden();
};

}  // namespace

TNetworkCalcBox::TNetworkCalcBox(QWidget* parent)
    : QGroupBox(QStringLiteral("Network Calculator"), parent) {
  QGroupBox* gb = this;
  setObjectName(QStringLiteral("gbNetworkCalc"));

  auto* combo = new THistoryCombo(gb);
  edtIPCAddress = combo;
  edtIPCAddress->setObjectName(QStringLiteral("edtIPCAddress"));
  edtIPCAddress->setEditable(true);
  edtIPCAddress->setInsertPolicy(QComboBox::NoInsert);
  edtIPCAddress->setDuplicatesEnabled(true);
  // Inline completion would turn a typed "10.0.0.1" into a longer history
  // entry such as "10.0.0.10" just before Enter examines it.
  edtIPCAddress->setCompleter(nullptr);
  edtIPCAddress->setToolTip(QStringLiteral("IP address or network to be examined"));
  edtIPCAddress->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

  lblNetworkMask =
      MakeCaptionLabel(QStringLiteral("lblNetworkMask"), QStringLiteral("Network Mask"), gb);
  edtNetworkMask = new QLineEdit(QStringLiteral("255.255.255.0"), gb);
  edtNetworkMask->setObjectName(QStringLiteral("edtNetworkMask"));
  edtNetworkMask->setToolTip(QStringLiteral("Enter a subnet mask, prefix or numeric value"));
  btnCalculate = new QPushButton(QStringLiteral("Examine"), gb);
  btnCalculate->setObjectName(QStringLiteral("btnCalculate"));
  btnCalculate->setToolTip(QStringLiteral("Click to examine IP address or network"));
  btnCalculate->setAutoDefault(false);
  bbtnPrev = new QToolButton(gb);
  bbtnPrev->setObjectName(QStringLiteral("bbtnPrev"));
  bbtnPrev->setArrowType(Qt::LeftArrow);
  bbtnPrev->setFixedSize(14, 21);
  bbtnNext = new QToolButton(gb);
  bbtnNext->setObjectName(QStringLiteral("bbtnNext"));
  bbtnNext->setArrowType(Qt::RightArrow);
  bbtnNext->setFixedSize(14, 21);
  bbtnPrev->setEnabled(false);
  bbtnNext->setEnabled(false);

  lblNw = MakeCaptionLabel(QStringLiteral("lblNw"), QStringLiteral("Network:"), gb);
  lblNetwork = MakeValueLabel(QStringLiteral("lblNetwork"), gb);
  lblSupernet = MakeValueLabel(QStringLiteral("lblSupernet"), gb);
  lblHostRange = MakeValueLabel(QStringLiteral("lblHostRange"), gb);
  lblNumberOfHosts = MakeValueLabel(QStringLiteral("lblNumberOfHosts"), gb);
  lblBroadcast = MakeValueLabel(QStringLiteral("lblBroadcast"), gb);
  lblNextNetwork = MakeValueLabel(QStringLiteral("lblNextNetwork"), gb);
  lblPTR = MakeValueLabel(QStringLiteral("lblPTR"), gb);
  lblIPv6 = MakeValueLabel(QStringLiteral("lblIPv6"), gb);
  // Wrapped between words only: a group MAC address is never split.
  lblRemarks = SetupValueLabel(new TBlankWrapLabel(gb), QStringLiteral("lblRemarks"));
  // Two lines are kept free; a long multicast scope followed by its MAC line
  // takes a third.
  lblRemarks->setMinimumHeight(2 * lblRemarks->fontMetrics().lineSpacing() + 2);

  for (QLabel* l : {lblNetwork, lblHostRange, lblBroadcast, lblNextNetwork, lblPTR, lblIPv6})
    l->setToolTip(kCopyHint);
  lblSupernet->setToolTip(
      QStringLiteral("Click to use as network mask, right click to open popup menu"));
  QFont under = lblSupernet->font();
  under.setUnderline(true);
  lblSupernet->setFont(under);
  lblSupernet->setMouseTracking(true);
  lblNumberOfHosts->setMouseTracking(true);

  auto* grid = new QGridLayout(gb);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(1);

  auto* inputs = new QGridLayout;
  inputs->setHorizontalSpacing(2);
  inputs->setVerticalSpacing(1);
  inputs->addWidget(
      MakeCaptionLabel(QStringLiteral("Label2"), QStringLiteral("IP Address or Network"), gb), 0,
      1);
  inputs->addWidget(lblNetworkMask, 0, 4);
  inputs->addWidget(bbtnPrev, 1, 0);
  inputs->addWidget(edtIPCAddress, 1, 1);
  inputs->addWidget(bbtnNext, 1, 2);
  inputs->addItem(new QSpacerItem(6, 1, QSizePolicy::Fixed), 1, 3);
  inputs->addWidget(edtNetworkMask, 1, 4);
  inputs->addItem(new QSpacerItem(6, 1, QSizePolicy::Fixed), 1, 5);
  inputs->addWidget(btnCalculate, 1, 6);
  inputs->setColumnStretch(1, 5);
  inputs->setColumnStretch(4, 4);
  grid->addLayout(inputs, 0, 0, 1, 2);
  grid->addItem(new QSpacerItem(1, 4, QSizePolicy::Minimum, QSizePolicy::Fixed), 1, 0);

  auto* hostRange = new QHBoxLayout;
  hostRange->setSpacing(6);
  hostRange->addWidget(lblHostRange, 1);
  hostRange->addWidget(lblNumberOfHosts, 0);

  struct Row {
    QLabel* caption;
    QLabel* value;
    QLayout* layout;
  };
  const Row rows[] = {
      {lblNw, lblNetwork, nullptr},
      {MakeCaptionLabel(QStringLiteral("Label5"), QStringLiteral("Supernet Mask:"), gb),
       lblSupernet, nullptr},
      {MakeCaptionLabel(QStringLiteral("Label13"), QStringLiteral("Host Addr. Range:"), gb),
       nullptr, hostRange},
      {MakeCaptionLabel(QStringLiteral("Label14"), QStringLiteral("Broadcast Address:"), gb),
       lblBroadcast, nullptr},
      {MakeCaptionLabel(QStringLiteral("Label16"), QStringLiteral("Next Network Addr.:"), gb),
       lblNextNetwork, nullptr},
      {MakeCaptionLabel(QStringLiteral("Label15"), QStringLiteral("DNS PTR Record:"), gb), lblPTR,
       nullptr},
      {MakeCaptionLabel(QStringLiteral("Label6"), QStringLiteral("Address in IPv6:"), gb), lblIPv6,
       nullptr},
      {MakeCaptionLabel(QStringLiteral("Label17"), QStringLiteral("Remarks:"), gb), lblRemarks,
       nullptr},
  };
  int r = 2;
  for (const Row& row : rows) {
    grid->addWidget(row.caption, r, 0, Qt::AlignLeft | Qt::AlignTop);
    if (row.value) grid->addWidget(row.value, r, 1);
    if (row.layout) grid->addLayout(row.layout, r, 1);
    ++r;
  }
  grid->setColumnStretch(1, 1);

  // The count takes the width of its text and the range the rest: a long
  // range comes with a short count, a ten-digit count with a shorter range.
  const QFontMetrics fm(lblHostRange->font());
  auto width = [&fm](const char* range, const char* count) {
    return fm.horizontalAdvance(QLatin1String(range)) + fm.horizontalAdvance(QLatin1String(count));
  };
  // The network line in bold with the widest group MAC.
  QFont bold = lblNetwork->font();
  bold.setBold(true);
  const int network = QFontMetrics(bold).horizontalAdvance(
      QStringLiteral("239.255.255.0  255.255.255.0 [01:00:5E:7F:FF:00]"));
  const int range = qMax(width("192.168.100.1 - 192.168.100.254", "(254 addresses)"),
                         width("128.0.0.1 - 255.255.255.254", "(2147483646 addresses)")) +
                    hostRange->spacing();
  grid->setColumnMinimumWidth(1, qMax(network, range) + 4);
  lblNumberOfHosts->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  SetBoldCaption(this);
  SetBold(btnCalculate, true);
  SetBold(lblNetwork, true);

  pmCopy = new QMenu(this);
  pmCopy->setObjectName(QStringLiteral("pmCopy"));
  Copytoclipboard1 = pmCopy->addAction(QStringLiteral("Copy to clipboard"));
  Copytoclipboard1->setObjectName(QStringLiteral("Copytoclipboard1"));
  connect(Copytoclipboard1, &QAction::triggered, this, [this] {
    if (CopyLabels().contains(FPopupLabel)) emit copyRequested(FPopupLabel->text());
  });
  for (QLabel* l : CopyLabels()) {
    l->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(l, &QWidget::customContextMenuRequested, this, [this, l](const QPoint& pos) {
      FPopupLabel = l;
      pmCopy->popup(l->mapToGlobal(pos));
    });
  }

  connect(bbtnPrev, &QToolButton::clicked, this, [this] {
    if (!FPrevNetworkText.isEmpty()) emit stepRequested(FPrevNetworkText);
  });
  connect(bbtnNext, &QToolButton::clicked, this, [this] {
    if (!lblNextNetwork->text().isEmpty()) emit stepRequested(lblNextNetwork->text());
  });
  for (QObject* o :
       std::initializer_list<QObject*>{lblSupernet, lblNumberOfHosts, bbtnPrev, bbtnNext})
    o->installEventFilter(this);

  connect(edtIPCAddress, &QComboBox::editTextChanged, this, [this] {
    if (!FWritingAddress) emit addressEdited();
  });
  connect(combo, &THistoryCombo::popupShown, this, [this] { FPickedFromList = true; });
  connect(combo, &THistoryCombo::popupHidden, this, [this] {
    // The combo reports a pick right after closing its list; once that has
    // passed, nothing but another drop-down makes a pick.
    QTimer::singleShot(0, this, [this] { FPickedFromList = false; });
  });
  // Also emitted when the field loses the focus with a text that equals a
  // history entry, and by the arrow keys: only a pick from the open list counts.
  connect(edtIPCAddress, &QComboBox::activated, this, [this] {
    if (!FPickedFromList) return;
    FPickedFromList = false;
    emit addressPicked();
  });
  connect(edtNetworkMask, &QLineEdit::textEdited, this, [this] {
    const QString text = edtNetworkMask->text();
    const QString trimmed = text.trimmed();
    if (trimmed != text) edtNetworkMask->setText(trimmed);
    emit networkMaskEdited();
  });
}

void TNetworkCalcBox::SetAddressText(const QString& text) {
  if (edtIPCAddress->currentText() == text) return;
  const QScopedValueRollback<bool> own(FWritingAddress, true);
  edtIPCAddress->setEditText(text);
}

void TNetworkCalcBox::SetHistory(const QStringList& history) {
  // Changing the list of an editable combo may replace its text.
  const QString text = edtIPCAddress->currentText();
  const QSignalBlocker block(edtIPCAddress);
  const QScopedValueRollback<bool> own(FWritingAddress, true);
  edtIPCAddress->clear();
  edtIPCAddress->addItems(history);
  edtIPCAddress->setCurrentIndex(-1);
  edtIPCAddress->setEditText(text);
}

QStringList TNetworkCalcBox::History() const {
  QStringList h;
  for (int i = 0; i < edtIPCAddress->count(); ++i) h.append(edtIPCAddress->itemText(i));
  return h;
}

QList<QLabel*> TNetworkCalcBox::CopyLabels() const {
  return {lblNetwork, lblHostRange, lblPTR, lblNextNetwork, lblSupernet, lblBroadcast, lblIPv6};
}

QList<QLabel*> TNetworkCalcBox::ResultLabels() const {
  return {lblNetwork,     lblSupernet, lblHostRange, lblNumberOfHosts, lblBroadcast,
          lblNextNetwork, lblPTR,      lblIPv6,      lblRemarks};
}

void TNetworkCalcBox::ShowResult(const NetCalcResult& r) {
  lblNetwork->setText(r.network);
  lblSupernet->setText(r.supernet);
  lblHostRange->setText(r.hostRange);
  lblNumberOfHosts->setText(r.numberOfHosts);
  lblBroadcast->setText(r.broadcast);
  lblNextNetwork->setText(r.nextNetwork);
  lblPTR->setText(r.ptr);
  lblIPv6->setText(r.ipv6);
  lblRemarks->setText(r.remarks);
  if (r.numberOfHostsVisible) lblNumberOfHosts->setVisible(*r.numberOfHostsVisible);
  FPrevNetworkText = r.prevNetworkText;
  FCanStepPrev = r.canStepPrev;
  FCanStepNext = r.canStepNext;
  lblSupernet->setCursor(r.supernet.isEmpty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
  if (FHostListAvailable)
    lblNumberOfHosts->setCursor(r.numberOfHosts.isEmpty() ? Qt::ArrowCursor
                                                          : Qt::PointingHandCursor);
}

void TNetworkCalcBox::ClearResult() {
  btnCalculate->setEnabled(true);
  bbtnPrev->setEnabled(false);
  bbtnNext->setEnabled(false);
  for (QLabel* l : ResultLabels()) l->clear();
  FPrevNetworkText.clear();
  FCanStepPrev = FCanStepNext = false;
  lblSupernet->setCursor(Qt::ArrowCursor);
}

void TNetworkCalcBox::SetResultsVisible(bool on) {
  for (QLabel* l : ResultLabels()) l->setVisible(on);
}

void TNetworkCalcBox::EnableStepButtons() {
  bbtnPrev->setEnabled(FCanStepPrev && !FPrevNetworkText.isEmpty());
  bbtnNext->setEnabled(FCanStepNext && !lblNextNetwork->text().isEmpty());
}

void TNetworkCalcBox::SetHostListAvailable(bool on) {
  FHostListAvailable = on;
  QFont f = lblNumberOfHosts->font();
  f.setUnderline(on);
  lblNumberOfHosts->setFont(f);
  lblNumberOfHosts->setToolTip(on ? QStringLiteral("Click to open host list") : QString());
  if (!on) lblNumberOfHosts->unsetCursor();
}

bool TNetworkCalcBox::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblSupernet && !lblSupernet->text().isEmpty())
          emit supernetClicked(lblSupernet->text());
        if (watched == lblNumberOfHosts && FHostListAvailable &&
            !lblNumberOfHosts->text().isEmpty()) {
          QString network = lblNetwork->text();
          const int comma = network.indexOf(QLatin1Char(','));
          if (comma >= 0) network.truncate(comma);
          emit numberOfHostsClicked(network);
        }
      }
      break;
    case QEvent::MouseMove:
      if (watched == lblSupernet)
        lblSupernet->setCursor(lblSupernet->text().isEmpty() ? Qt::ArrowCursor
                                                             : Qt::PointingHandCursor);
      break;
    case QEvent::Enter:
      if (watched == bbtnPrev)
        bbtnPrev->setToolTip(FPrevNetworkText.isEmpty()
                                 ? QStringLiteral("Previous network")
                                 : QStringLiteral("Previous network (%1)").arg(FPrevNetworkText));
      if (watched == bbtnNext)
        bbtnNext->setToolTip(lblNextNetwork->text().isEmpty()
                                 ? QStringLiteral("Next network")
                                 : QStringLiteral("Next network (%1)").arg(lblNextNetwork->text()));
      break;
    default:
      break;
  }
  return QGroupBox::eventFilter(watched, event);
}

#include "networkcalcbox.moc"
