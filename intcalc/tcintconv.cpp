#include "intcalc/tcintconv.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "common/optionsrec.h"
#include "common/services.h"
#include "common/themecolors.h"
#include "common/widgethelpers.h"

namespace {

constexpr int kBoxWidth = 578;
constexpr int kBoxHeight = 398;

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// Courier New where it is installed, otherwise the system's fixed-pitch font.
QFont FixedFont(int pixelSize) {
  QFont f(QStringLiteral("Courier New"));
  if (!QFontDatabase::hasFamily(f.family()))
    f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  f.setPixelSize(pixelSize);
  return f;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QLatin1String(name));
  l->move(left, top);
  l->adjustSize();
  return l;
}

// The display line. The bit analyzer follows a selection made with the mouse
// once the line itself has moved the selection.
class TDisplayEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  std::function<void(const QMouseEvent*)> afterMouse;

 protected:
  void mouseMoveEvent(QMouseEvent* e) override {
    QLineEdit::mouseMoveEvent(e);
    if (afterMouse) afterMouse(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    QLineEdit::mouseReleaseEvent(e);
    if (afterMouse) afterMouse(e);
  }
};

TPendingOp OperatorOf(TCalcButton b) {
  switch (b) {
    case cbAnd:
      return poAnd;
    case cbOr:
      return poOr;
    case cbXor:
      return poXor;
    case cbAdd:
      return poAdd;
    case cbSub:
      return poSub;
    case cbMul:
      return poMul;
    case cbDiv:
      return poDiv;
    default:
      return poNone;
  }
}

// The operator button a typed character stands for, or cbCount.
TCalcButton OperatorKey(QChar c) {
  switch (c.unicode()) {
    case '+':
      return cbAdd;
    case '-':
      return cbSub;
    case '*':
      return cbMul;
    case '/':
      return cbDiv;
    case '=':
      return cbEqual;
    case '&':
      return cbAnd;
    case '|':
      return cbOr;
    case '^':
      return cbXor;
    case '!':
      return cbNot;
    default:
      return cbCount;
  }
}

}  // namespace

TcIntConv::TcIntConv(QWidget* parent) : TcChild(parent) {
  BuildLayout();
  Sync();
  const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
  const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  resize(579 + 2 * frame, 401 + title + frame);
}

TcIntConv::~TcIntConv() {
  static_cast<TDisplayEdit*>(edtDisplay)->afterMouse = nullptr;
  DetachChildren();
}

// ---------------------------------------------------------------- layout

QPushButton* TcIntConv::NewButton(TCalcButton id, const char* name, const char* caption,
                                  const char* hint, int left, int top, int width) {
  auto* b = new QPushButton(QLatin1String(caption), scBox);
  b->setObjectName(QLatin1String(name));
  b->setGeometry(left, top, width, 21);
  SetHint(b, QLatin1String(hint));
  // A click leaves the focus in the display, so typing goes on there.
  b->setFocusPolicy(Qt::TabFocus);
  b->setEnabled(false);
  if (id != cbCount) FButtons[id] = b;
  return b;
}

void TcIntConv::BuildLayout() {
  ScrollBox1 = new QScrollArea;
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  ScrollBox1->setFrameShape(QFrame::NoFrame);
  ScrollBox1->setWidgetResizable(true);
  ScrollBox1->setFocusPolicy(Qt::NoFocus);
  auto* holder = new QWidget;
  holder->setObjectName(QStringLiteral("scHolder"));
  scBox = new QWidget(holder);
  scBox->setObjectName(QStringLiteral("scBox"));
  scBox->setFixedSize(kBoxWidth, kBoxHeight);
  // The designed pixel sizes are those of an 8 point font.
  QFont small = scBox->font();
  small.setPointSize(8);
  scBox->setFont(small);
  holder->setMinimumSize(kBoxWidth, kBoxHeight);
  ScrollBox1->setWidget(holder);

  NewLabel(scBox, "lblDisplay", QStringLiteral("Display"), 8, 16);
  lblDisplayMode = NewLabel(scBox, "lblDisplayMode", QString(), 80, 16);
  lblDisplayMode->setFixedWidth(265);
  lblDisplayLength = NewLabel(scBox, "lblDisplayLength", QString(), 526, 16);
  lblDisplayLength->setFixedWidth(43);
  lblDisplayLength->setAlignment(Qt::AlignRight | Qt::AlignTop);

  auto* display = new TDisplayEdit(scBox);
  // Moving with the left button held drags a selection; a release ends a
  // click or a double click, which select as well.
  display->afterMouse = [this](const QMouseEvent* e) {
    if (BAButton->isChecked() &&
        (e->type() == QEvent::MouseButtonRelease || (e->buttons() & Qt::LeftButton)))
      UpdateBitAnalyzer();
  };
  edtDisplay = display;
  edtDisplay->setObjectName(QStringLiteral("edtDisplay"));
  edtDisplay->setGeometry(8, 32, 561, 26);
  edtDisplay->setFont(FixedFont(16));
  SetTextColour(edtDisplay, NavyColor(), QPalette::Text);
  FDisplayHint = QStringLiteral("Combined input and output space");
  SetHint(edtDisplay, FDisplayHint);

  lblMultiDisplay =
      NewLabel(scBox, "lblMultiDisplay", QStringLiteral("Converted Values Quick View"), 8, 64);
  lblMultiDisplay->setFixedWidth(400);
  reMultiDisplay = new QTextEdit(scBox);
  reMultiDisplay->setObjectName(QStringLiteral("reMultiDisplay"));
  reMultiDisplay->setGeometry(8, 80, 561, 105);
  reMultiDisplay->setReadOnly(true);
  reMultiDisplay->setFont(FixedFont(11));
  reMultiDisplay->setLineWrapMode(QTextEdit::NoWrap);
  reMultiDisplay->setFocusPolicy(Qt::ClickFocus);
  reMultiDisplay->setContextMenuPolicy(Qt::CustomContextMenu);
  SetHint(
      reMultiDisplay,
      QStringLiteral("Auto converter display, right click right mouse button for options menu"));

  NewLabel(scBox, "lblCalculation", QStringLiteral("Calculation"), 8, 192);
  edtCalculation = new QComboBox(scBox);
  edtCalculation->setObjectName(QStringLiteral("edtCalculation"));
  edtCalculation->setEditable(true);
  edtCalculation->setInsertPolicy(QComboBox::NoInsert);
  edtCalculation->setCompleter(nullptr);
  edtCalculation->setMaxVisibleItems(12);
  // Filled only by the operators and by choosing from the list.
  edtCalculation->lineEdit()->setReadOnly(true);
  edtCalculation->setFont(FixedFont(12));
  edtCalculation->setGeometry(8, 206, 561, edtCalculation->sizeHint().height());
  SetHint(edtCalculation, QStringLiteral("Current calculation and calculation history"));

  BitAnalyzerGroupBox = new QGroupBox(scBox);
  BitAnalyzerGroupBox->setObjectName(QStringLiteral("BitAnalyzerGroupBox"));
  BitAnalyzerGroupBox->setGeometry(8, 250, 393, 41);
  auto* row = new QHBoxLayout(BitAnalyzerGroupBox);
  row->setContentsMargins(8, 4, 8, 4);
  row->setSpacing(4);
  auto value = [this](const char* name, int width) {
    auto* l = new QLabel(BitAnalyzerGroupBox);
    l->setObjectName(QLatin1String(name));
    l->setMinimumWidth(width);
    SetTextColour(l, NavyColor(), QPalette::WindowText);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
  };
  auto caption = [this](const char* name, const char* text) {
    auto* l = new QLabel(QLatin1String(text), BitAnalyzerGroupBox);
    l->setObjectName(QLatin1String(name));
    return l;
  };
  DecAnalyzer = value("DecAnalyzer", 122);
  HexAnalyzer = value("HexAnalyzer", 110);
  BLengthLabel = value("BLengthLabel", 16);
  row->addWidget(caption("lblDecAnalyzer", "Decimal:"));
  row->addWidget(DecAnalyzer, 1);
  row->addWidget(caption("lblHexAnalyzer", "Hex:"));
  row->addWidget(HexAnalyzer, 1);
  row->addWidget(caption("lblBLength", "Bit Count:"));
  row->addWidget(BLengthLabel);
  BitAnalyzerGroupBox->hide();

  auto* bevel = new QFrame(scBox);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameShape(QFrame::VLine);
  bevel->setFrameShadow(QFrame::Sunken);
  bevel->setGeometry(408, 236, 2, 157);

  NewButton(cbB2D, "B2DButton", "Bin -> Dec", "Binary to decimal", 8, 298, 72);
  NewButton(cbB2H, "B2HButton", "Bin -> Hex", "Binary to hex", 88, 298, 72);
  NewButton(cbMAC2Int, "MAC2IntButton", "MAC -> Int", "MAC address to integer", 169, 298, 72);
  NewButton(cbInt2MAC, "Int2MACButton", "Int -> MAC", "Integer to MAC address", 249, 298, 72);
  NewButton(cbSwap, "SwapButton", "Swap MAC", "Swap bits per octet (canonical / non-canonical MAC)",
            329, 298, 72);
  NewButton(cbD2B, "D2BButton", "Dec -> Bin", "Decimal to binary", 8, 330, 72);
  NewButton(cbD2H, "D2HButton", "Dec -> Hex", "Decimal to hex", 88, 330, 72);
  NewButton(cbIP2Int, "IP2IntButton", "IPv4 -> Int", "IPv4 address to decimal integer ", 169, 330,
            72);
  NewButton(cbInt2IP, "Int2IPButton", "Int -> IPv4", "Integer to IPv4 address", 249, 330, 72);
  NewButton(cbH2B, "H2BButton", "Hex -> Bin", "Hex to binary", 8, 362, 72);
  NewButton(cbH2D, "H2DButton", "Hex -> Dec", "Hex to decimal", 88, 362, 72);
  NewButton(cbHTONL, "btnHTONL", "-> htonl", "From host to TCP/IP network byte order", 169, 362,
            72);
  NewButton(cbNTOHL, "btnNTOHL", "-> ntohl", "From TCP/IP network order to host byte order", 249,
            362, 72);
  BAButton = NewButton(cbBitAnalyzer, "BAButton", "Bit Analyzer",
                       "Enable Bit Analyzer for binary values", 329, 362, 72);
  BAButton->setCheckable(true);

  NewButton(cbAnd, "btnAnd", "AND", "Bitwise AND, type [&]", 417, 266, 40);
  NewButton(cbAdd, "btnAdd", "+", "Add, type [+]", 473, 266, 40);
  NewButton(cbSub, "btnSub", "-", "Subtract, type [-]", 529, 266, 40);
  NewButton(cbOr, "btnOr", "OR", "|Bitwise OR, type [|]", 417, 298, 40);
  NewButton(cbMul, "btnMul", "*", "Multiply, type [*]", 473, 298, 40);
  NewButton(cbDiv, "btnDiv", "/", "Divide, type [/]", 529, 298, 40);
  NewButton(cbXor, "btnXor", "XOR", "Bitwise XOR, type [^]", 417, 330, 40);
  NewButton(cbEqual, "btnEqual", "=", "Equal, type [=]", 473, 330, 96);
  NewButton(cbNot, "btnNot", "NOT", "Bitwise NOT, type [!]", 417, 362, 40);
  DisplayEditClearButton = NewButton(cbCount, "DisplayEditClearButton", "Clear",
                                     "Clear Display, type [Alt-C]", 473, 362, 96);
  DisplayEditClearButton->setEnabled(true);

  pmConvert = new QMenu(this);
  pmConvert->setObjectName(QStringLiteral("pmConvert"));
  auto* widths = new QActionGroup(pmConvert);
  widths->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  auto item = [this](const char* name, const char* text, const char* hint) {
    return AddMenuAction(pmConvert, name, QLatin1String(text), QLatin1String(hint));
  };
  Variablebitwidth1 = item("Variablebitwidth1", "Variable Bit Width",
                           "Specifies variable bit width for On-The-Fly integer converter");
  BitWidth161 = item("BitWidth161", "Bit Width 16",
                     "Specifies 16 bit width for On-The-Fly integer converter");
  BitWidth321 = item("BitWidth321", "Bit Width 32",
                     "Specifies 32 bit width for On-The-Fly integer converter");
  BitWidth641 = item("BitWidth641", "Bit Width 64",
                     "Specifies 64 bit width for On-The-Fly integer converter");
  for (QAction* a : {Variablebitwidth1, BitWidth161, BitWidth321, BitWidth641}) {
    a->setCheckable(true);
    widths->addAction(a);
  }
  pmConvert->addSeparator();
  HighlightLower32bit1 =
      item("HighlightLower32bit1", "Highlight Lower 32bit",
           "Specifies highlighting of lower 32 bit for On-The-Fly integer converter");
  HighlightLower32bit1->setCheckable(true);
  pmConvert->addSeparator();
  Copy1 = item("Copy1", "Copy", "");

  setWidget(ScrollBox1);
  setWindowTitle(QLatin1String(TIntCalcModel::kTitle));

  // ---- handlers
  connect(edtDisplay, &QLineEdit::textChanged, this, [this] { edtDisplayChange(); });
  const std::array<std::pair<TCalcButton, void (TIntCalcModel::*)()>, 13> conversions{{
      {cbB2D, &TIntCalcModel::B2DButtonClick},
      {cbB2H, &TIntCalcModel::B2HButtonClick},
      {cbD2B, &TIntCalcModel::D2BButtonClick},
      {cbD2H, &TIntCalcModel::D2HButtonClick},
      {cbH2B, &TIntCalcModel::H2BButtonClick},
      {cbH2D, &TIntCalcModel::H2DButtonClick},
      {cbIP2Int, &TIntCalcModel::IP2IntButtonClick},
      {cbInt2IP, &TIntCalcModel::Int2IPButtonClick},
      {cbMAC2Int, &TIntCalcModel::MAC2IntButtonClick},
      {cbInt2MAC, &TIntCalcModel::Int2MACButtonClick},
      {cbSwap, &TIntCalcModel::SwapButtonClick},
      {cbHTONL, &TIntCalcModel::btnHTONLClick},
      {cbNTOHL, &TIntCalcModel::btnNTOHLClick},
  }};
  for (const auto& [id, handler] : conversions) {
    connect(FButtons[id], &QPushButton::clicked, this, [this, handler = handler] {
      (FModel.*handler)();
      Sync();
    });
  }
  for (int b = cbAnd; b <= cbEqual; ++b) {
    const auto id = static_cast<TCalcButton>(b);
    connect(FButtons[id], &QPushButton::clicked, this, [this, id] { OperatorPressed(id); });
  }
  connect(BAButton, &QPushButton::clicked, this, [this] { BAButtonClick(); });
  connect(DisplayEditClearButton, &QPushButton::clicked, this,
          [this] { DisplayEditClearButtonClick(); });
  connect(edtCalculation, &QComboBox::activated, this,
          [this](int index) { edtCalculationSelect(index); });
  connect(reMultiDisplay, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { pmConvertPopup(pos); });
  connect(Variablebitwidth1, &QAction::triggered, this, [this] { SetBitWidth(0); });
  connect(BitWidth161, &QAction::triggered, this, [this] { SetBitWidth(16); });
  connect(BitWidth321, &QAction::triggered, this, [this] { SetBitWidth(32); });
  connect(BitWidth641, &QAction::triggered, this, [this] { SetBitWidth(64); });
  connect(HighlightLower32bit1, &QAction::triggered, this, [this](bool checked) {
    FModel.SetHighlightLow32(checked);
    Sync();
  });
  connect(Copy1, &QAction::triggered, this, [this] { Copy1Click(); });
  connect(this, &QMdiSubWindow::windowStateChanged, this,
          [this](Qt::WindowStates, Qt::WindowStates now) {
            SetFocusColours(now.testFlag(Qt::WindowActive));
          });
  for (QObject* o :
       std::initializer_list<QObject*>{edtDisplay, ScrollBox1->widget(), edtCalculation})
    o->installEventFilter(this);
}

// ---------------------------------------------------------------- mirroring the model

void TcIntConv::Sync() {
  const TIntCalcModel& m = FModel;
  const QString display = Q(m.Display);
  if (edtDisplay->text() != display) edtDisplay->setText(display);
  lblDisplayMode->setText(Q(m.DisplayMode));
  lblDisplayLength->setText(Q(m.DisplayLength));
  setWindowTitle(Q(m.Caption));
  for (std::size_t b = 0; b < FButtons.size(); ++b)
    if (FButtons[b]) FButtons[b]->setEnabled(m.Enabled[b]);
  BAButton->setChecked(m.BitAnalyzerOn);
  BitAnalyzerGroupBox->setVisible(m.BitAnalyzerOn);
  // The hint would cover the bits being selected.
  SetHint(edtDisplay, m.BitAnalyzerOn ? QString() : FDisplayHint);
  lblMultiDisplay->setText(Q(m.MultiDisplayTitle));
  DecAnalyzer->setText(Q(m.DecAnalyzer));
  HexAnalyzer->setText(Q(m.HexAnalyzer));
  BLengthLabel->setText(Q(m.BitCount));
  ShowBlock();
  SyncCalculation();
}

void TcIntConv::ShowBlock() {
  // Rebuilt only when it changed, so a selection made for copying survives
  // keys that leave the value as it was.
  if (FModel.Block == FShownBlock) return;
  FShownBlock = FModel.Block;
  reMultiDisplay->clear();
  QTextCursor cursor(reMultiDisplay->document());
  const QTextCharFormat plain;
  QTextCharFormat marked;
  marked.setForeground(
      ReadableTextColour(QColor(Qt::blue), reMultiDisplay->palette().color(QPalette::Base)));
  marked.setFontUnderline(true);
  bool first = true;
  for (const TBlockLine& line : FShownBlock) {
    if (!first) cursor.insertBlock(QTextBlockFormat(), plain);
    first = false;
    const QString text = Q(line.text);
    if (line.highlightLength > 0) {
      cursor.insertText(text.left(line.highlightFrom), plain);
      cursor.insertText(text.mid(line.highlightFrom, line.highlightLength), marked);
      cursor.insertText(text.mid(line.highlightFrom + line.highlightLength), plain);
    } else {
      cursor.insertText(text, plain);
    }
  }
}

void TcIntConv::SyncCalculation() {
  // Programmatic changes are no choice of the user.
  const QSignalBlocker block(edtCalculation);
  for (auto i = static_cast<std::size_t>(edtCalculation->count()); i < FModel.History.size(); ++i)
    edtCalculation->addItem(Q(FModel.History[i]));
  const QString text = Q(FModel.Calculation);
  // A line that reads like an entry is that entry: the combo box would
  // otherwise choose it by itself when it loses the focus.
  const int match = text.isEmpty() ? -1 : edtCalculation->findText(text);
  if (edtCalculation->currentIndex() != match) edtCalculation->setCurrentIndex(match);
  if (edtCalculation->currentText() != text) edtCalculation->setEditText(text);
}

void TcIntConv::Finish(TCalcResult result, bool focusDisplay) {
  Sync();
  if (focusDisplay) edtDisplay->setFocus(Qt::OtherFocusReason);
  if (result == crDivideByZero)
    ShowErrorBox(this, QStringLiteral("Division by zero. Enter a divisor other than 0."));
}

// ---------------------------------------------------------------- options

void TcIntConv::ApplyOptions(const TOptionsRec& options) {
  if (FFirstApply) {
    FFirstApply = false;
    FModel.FPendingOp = poNone;
    if (options.RecallDesktopSettings) LoadWindowSize();
  }
  FModel.ApplyOptions(options.BitWidth, options.MacFormatIndex, options.HighlightLow32);
  SetShowHints(this, options.EnableHints);
  Sync();
}

void TcIntConv::RefreshDisplay() {
  FModel.AnalyseDisplay();
  Sync();
}

// ---------------------------------------------------------------- display line

void TcIntConv::edtDisplayChange() {
  const std::string text = edtDisplay->text().toStdString();
  // The window's own writes show what the model already holds.
  if (text == FModel.Display) return;
  FModel.SetDisplay(text);
  Sync();
}

bool TcIntConv::edtDisplayKeyPress(QKeyEvent* key) {
  // Alt+C clears when C is released; the letter does not go in. Alt may be
  // let go first, so the press is remembered.
  FAltCPressed = key->key() == Qt::Key_C && (key->modifiers() & Qt::AltModifier);
  if (FAltCPressed) return true;
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    OperatorPressed(cbEqual);
    return true;
  }
  const QString text = key->text();
  if (text.isEmpty()) return false;
  if (text.size() == 1) {
    const TCalcButton op = OperatorKey(text.at(0));
    if (op != cbCount) {
      OperatorPressed(op);
      return true;
    }
  }
  FModel.KeyTyped(static_cast<std::size_t>(edtDisplay->selectedText().size()));
  BLengthLabel->setText(Q(FModel.BitCount));
  if (text == QLatin1String("_") || text == QLatin1String(",")) {
    edtDisplay->insert(text == QLatin1String("_") ? QStringLiteral("-") : QStringLiteral("."));
    return true;
  }
  return false;
}

void TcIntConv::edtDisplayKeyUp(QKeyEvent* key) {
  if (BAButton->isChecked()) UpdateBitAnalyzer();
  if (key->key() == Qt::Key_C && !key->isAutoRepeat() &&
      (FAltCPressed || (key->modifiers() & Qt::AltModifier))) {
    FAltCPressed = false;
    DisplayEditClearButtonClick();
  }
}

void TcIntConv::UpdateBitAnalyzer() {
  const int start = edtDisplay->selectionStart();
  const qsizetype length = edtDisplay->selectedText().size();
  FModel.UpdateBitAnalyzer(start < 0 ? 0 : static_cast<std::size_t>(start),
                           static_cast<std::size_t>(length));
  Sync();
}

void TcIntConv::SetFocusColours(bool active) {
  if (active && edtDisplay->hasFocus())
    SetEditColor(edtDisplay, NumberFocusColor());
  else
    ResetEditColor(edtDisplay);
}

// ---------------------------------------------------------------- operators

void TcIntConv::OperatorPressed(TCalcButton button) {
  // Keys act only while their button could be pressed.
  if (!FModel.Enabled[button]) return;
  TCalcResult r;
  if (button == cbEqual)
    r = FModel.btnEqualClick();
  else if (button == cbNot)
    r = FModel.btnNotClick();
  else
    r = FModel.BinaryOperator(OperatorOf(button));
  Finish(r, true);
}

void TcIntConv::edtCalculationSelect(int index) {
  if (index < 0) return;
  FModel.SelectHistory(static_cast<std::size_t>(index));
  Finish(crDone, true);
  edtDisplay->deselect();
  edtDisplay->setCursorPosition(int(edtDisplay->text().size()));
}

void TcIntConv::DisplayEditClearButtonClick() {
  FModel.Clear();
  Finish(crDone, true);
}

// ---------------------------------------------------------------- bit analyzer and pop-up menu

void TcIntConv::BAButtonClick() {
  FModel.SetBitAnalyzerMode(BAButton->isChecked());
  edtDisplay->deselect();
  edtDisplay->setCursorPosition(0);
  Sync();
}

void TcIntConv::pmConvertPopup(const QPoint& pos) {
  Variablebitwidth1->setChecked(FModel.FBitWidth == 0);
  BitWidth161->setChecked(FModel.FBitWidth == 16);
  BitWidth321->setChecked(FModel.FBitWidth == 32);
  BitWidth641->setChecked(FModel.FBitWidth == 64);
  HighlightLower32bit1->setChecked(FModel.FHighlightLow32);
  Copy1->setEnabled(reMultiDisplay->textCursor().hasSelection());
  pmConvert->popup(reMultiDisplay->viewport()->mapToGlobal(pos));
}

void TcIntConv::SetBitWidth(int bitWidth) {
  FModel.SetBitWidth(bitWidth);
  // A second click on the checked item would otherwise leave none checked.
  Variablebitwidth1->setChecked(bitWidth == 0);
  BitWidth161->setChecked(bitWidth == 16);
  BitWidth321->setChecked(bitWidth == 32);
  BitWidth641->setChecked(bitWidth == 64);
  Sync();
}

void TcIntConv::Copy1Click() {
  const QString text = reMultiDisplay->textCursor().selection().toPlainText();
  if (!text.isEmpty()) Services::Instance().SetClipboardText(text);
}

// ---------------------------------------------------------------- events

void TcIntConv::CentreContent() {
  // The scroll area sizes the holder to what is in sight once its scroll
  // bars are settled, and never below the box. An offset is worked out
  // anew each time: one kept from a larger window would push the box out
  // of a smaller one.
  const QSize area = ScrollBox1->widget()->size();
  scBox->move(std::max(0, (area.width() - kBoxWidth) / 2),
              std::max(0, (area.height() - kBoxHeight) / 2));
}

void TcIntConv::showEvent(QShowEvent* event) {
  TcChild::showEvent(event);
  CentreContent();
  if (!FInitialFocusGiven) {
    FInitialFocusGiven = true;
    // After the MDI area has finished activating the new window.
    QTimer::singleShot(0, edtDisplay, [this] { edtDisplay->setFocus(Qt::OtherFocusReason); });
  }
}

bool TcIntConv::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ScrollBox1->widget()) {
    if (event->type() == QEvent::Resize) CentreContent();
  } else if (watched == edtCalculation) {
    // Scrolling the window over the line must not pick an entry.
    if (event->type() == QEvent::Wheel && !edtCalculation->hasFocus()) return true;
  } else if (watched == edtDisplay) {
    switch (event->type()) {
      case QEvent::KeyPress:
        return edtDisplayKeyPress(static_cast<QKeyEvent*>(event));
      case QEvent::KeyRelease:
        edtDisplayKeyUp(static_cast<QKeyEvent*>(event));
        break;
      case QEvent::FocusIn:
        SetEditColor(edtDisplay, NumberFocusColor());
        break;
      case QEvent::FocusOut:
        ResetEditColor(edtDisplay);
        break;
      default:
        break;
    }
  }
  return TcChild::eventFilter(watched, event);
}
