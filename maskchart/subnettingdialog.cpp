#include "maskchart/subnettingdialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/reportlist.h"
#include "common/services.h"
#include "common/widgethelpers.h"
#include "maskchart/maskcolours.h"
#include "maskchart/maskrows.h"

namespace {
constexpr int kClientWidth = 336;
constexpr int kListHeight = 385;
constexpr int kClientHeight = 417;
const QList<int> kColumnWidths{110, 50, 70, 70};
}  // namespace

TfrmSubnetting::TfrmSubnetting(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("TfrmSubnetting"));
  setModal(true);

  lvSubnets = new QTreeWidget(this);
  lvSubnets->setObjectName(QStringLiteral("lvSubnets"));
  SetupReportList(lvSubnets,
                  {QStringLiteral("Subnet Mask"), QStringLiteral("Prefix"),
                   QStringLiteral("Networks"), QStringLiteral("Hosts")},
                  kColumnWidths);
  lvSubnets->setSelectionMode(QAbstractItemView::SingleSelection);
  SetHint(lvSubnets,
          QStringLiteral("Subnetting overview, double click to pick selected subnet mask"));
  lvSubnets->setFixedHeight(kListHeight);
  // Double-clicks anywhere in the list, also below the last row, and Enter.
  lvSubnets->viewport()->installEventFilter(this);
  lvSubnets->installEventFilter(this);

  btnClose = new QPushButton(QStringLiteral("Close"), this);
  btnClose->setObjectName(QStringLiteral("btnClose"));
  btnClose->setMinimumSize(75, 21);
  // Enter in the list picks a row; it must not press "Close" as well.
  btnClose->setAutoDefault(false);
  connect(btnClose, &QPushButton::clicked, this, &TfrmSubnetting::btnCloseClick);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(lvSubnets);
  auto* buttonRow = new QWidget(this);
  buttonRow->setFixedHeight(kClientHeight - kListHeight);
  auto* buttons = new QHBoxLayout(buttonRow);
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->addStretch();
  buttons->addWidget(btnClose);
  buttons->addStretch();
  layout->addWidget(buttonRow);
  // A tool window of fixed size; only a wider text widens it (FormShow).
  layout->setSizeConstraint(QLayout::SetFixedSize);
  lvSubnets->setFixedWidth(kClientWidth);
}

QString TfrmSubnetting::Execute() {
  // Filled before the size is known, so the dialog is centred at its final size.
  FormShow();
  CentreOnScreen();
  exec();
  return FMaskText;
}

void TfrmSubnetting::FormShow() {
  const TSubnetting s = SubnettingRows(FMaskText, FRFC3021Subnets);
  ClearListView(lvSubnets);
  setWindowTitle(s.caption);
  QList<QTreeWidgetItem*> items;
  for (const TSubnettingRow& r : s.rows)
    items << new QTreeWidgetItem(QStringList{r.mask, r.prefix, r.networks, r.hosts});
  lvSubnets->addTopLevelItems(items);
  for (size_t i = 0; i < s.rows.size(); ++i)
    SetRowColour(items[int(i)], MaskKindColour(s.rows[i].colourKind));
  // Each mask starts from the designed widths, so one long list does not
  // leave the dialog wide for good.
  for (int c = 0; c < kColumnWidths.size(); ++c) lvSubnets->setColumnWidth(c, kColumnWidths[c]);
  FitReportColumns(lvSubnets);
  lvSubnets->setFixedWidth(qMax(kClientWidth, ViewWidthForColumns(lvSubnets)));
  lvSubnets->scrollToTop();
  adjustSize();
}

void TfrmSubnetting::CentreOnScreen() {
  const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  // The frame is known once the dialog has been shown; before that the
  // owner's frame is the best guess of what the window manager adds.
  QSize frame = frameGeometry().size() - size();
  if (frame.isNull() && owner) frame = owner->frameGeometry().size() - owner->size();
  const QSize outer = size() + frame;
  move(CentredIn(area, outer));
}

void TfrmSubnetting::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  lvSubnets->setFocus(Qt::OtherFocusReason);
}

void TfrmSubnetting::lvSubnetsDblClick() {
  const QList<QTreeWidgetItem*> selected = lvSubnets->selectedItems();
  if (selected.size() == 1) FMaskText = selected.first()->text(0);
  accept();
}

void TfrmSubnetting::btnCloseClick() {
  FMaskText.clear();
  reject();
}

void TfrmSubnetting::keyPressEvent(QKeyEvent* event) {
  // Escape is "Close"; the window's close box keeps the caller's text.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    btnClose->click();
    return;
  }
  // The main window's F1 cannot reach past a modal dialog: the dialog opens
  // the Mask Chart's topic itself.
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    Services::Instance().ShowHelp(kMaskChartHelpTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TfrmSubnetting::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lvSubnets->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      lvSubnetsDblClick();
      return true;
    }
  }
  if (watched == lvSubnets && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        lvSubnets->selectedItems().size() == 1) {
      lvSubnetsDblClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
