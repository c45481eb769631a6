// The Integer Calculator window driven through its controls, offscreen: keys
// in the display, the bit analyzer, the calculation line, the pop-up menu,
// the zero-divisor box and centring.
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>
#include <memory>

#include "common/optionsrec.h"
#include "common/settingsstore.h"
#include "guifixture.h"
#include "intcalc/tcintconv.h"

class TestIntConv : public QObject, protected GuiFixture {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();

  void keys_data();
  void keys();
  void bitAnalyzerFollowsKeys_data();
  void bitAnalyzerFollowsKeys();
  void bitAnalyzerFollowsADrag();
  void altCClears();
  void popupBitWidthAndHighlight();
  void historyPickedOnlyFromTheList();
  void zeroDivisor();
  void centring_data();
  void centring();
  void centringAfterMaximize_data();
  void centringAfterMaximize();

 private:
  template <typename T>
  T* Find(const char* name) const {
    return FWindow->findChild<T*>(QLatin1String(name));
  }
  QLineEdit* Display() const { return Find<QLineEdit>("edtDisplay"); }
  QString Calculation() const { return Find<QComboBox>("edtCalculation")->currentText(); }
  QString Analyzer() const;
  void Type(const QString& keys);

  TcIntConv* FWindow = nullptr;
};

void TestIntConv::init() {
  SetUpGui();
  ShowArea(1000, 700);
  FWindow = new TcIntConv;
  FWindow->FWindowKind = wkIntConv;
  FArea->addSubWindow(FWindow);
  TOptionsRec rec;
  rec.IniFileName = IniFileName();
  rec.RecallDesktopSettings = false;
  FWindow->ApplyOptions(rec);
  FWindow->show();
  FArea->setActiveSubWindow(FWindow);
  Display()->setFocus();
}

void TestIntConv::cleanup() {
  TearDownGui();
  FWindow = nullptr;
}

void TestIntConv::Type(const QString& keys) {
  QTest::keyClicks(Display(), keys);
}

// "bit count|decimal|hex|first line of the block".
QString TestIntConv::Analyzer() const {
  return QStringList({Find<QLabel>("BLengthLabel")->text(), Find<QLabel>("DecAnalyzer")->text(),
                      Find<QLabel>("HexAnalyzer")->text(),
                      Find<QTextEdit>("reMultiDisplay")->document()->firstBlock().text()})
      .join(QLatin1Char('|'));
}

void TestIntConv::keys_data() {
  QTest::addColumn<QString>("keys");
  QTest::addColumn<QString>("display");
  QTest::addColumn<QString>("calculation");
  const struct {
    const char *name, *keys, *display, *calculation;
  } rows[] = {
      {"_8", "_8", "-8", ""},
      {"1,2", "1,2", "1.2", ""},
      {"+ while empty", "+", "", ""},
      {" 5", " 5", "5", ""},
      {"12-", "12-", "", "12 - "},
      {"5+3=", "5+3=", "8", "5 + 3 = 8"},
      {"5+3 Enter", "5+3\r", "8", "5 + 3 = 8"},
      {"6*7/4=", "6*7/4=", "10", "42 / 4 = 10 Remainder = 2"},
      {"0xf&3|8^1=", "0xf&3|8^1=", "10", "11 ^ 1 = 10"},
      {"0b101!", "0b101!", "-6", ""},
  };
  for (const auto& r : rows) QTest::newRow(r.name) << r.keys << r.display << r.calculation;
}

void TestIntConv::keys() {
  QFETCH(QString, keys);
  QFETCH(QString, display);
  QFETCH(QString, calculation);
  Type(keys);
  QCOMPARE(Display()->text(), display);
  QCOMPARE(Calculation(), calculation);
  QVERIFY(FServices->boxes.isEmpty());
}

void TestIntConv::bitAnalyzerFollowsKeys_data() {
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("length");
  QTest::addColumn<QString>("analyzer");
  QTest::newRow("whole text") << 0 << 6 << "4|11|0xb|Decimal: 11";
  QTest::newRow("\"01\"") << 3 << 2 << "2|1|0x1|Decimal: 1";
  QTest::newRow("\"b1\"") << 1 << 2 << "1|1|0x1|Decimal: 1";
  QTest::newRow("\"0b\"") << 0 << 2 << "|||Decimal: 11";
  QTest::newRow("\"b\"") << 1 << 1 << "|||Decimal: 11";
}

void TestIntConv::bitAnalyzerFollowsKeys() {
  QFETCH(int, start);
  QFETCH(int, length);
  QFETCH(QString, analyzer);
  Type(QStringLiteral("0b1011"));
  auto* ba = Find<QPushButton>("BAButton");
  QVERIFY(ba->isEnabled());
  QTest::mouseClick(ba, Qt::LeftButton);
  QVERIFY(ba->isChecked() && Find<QGroupBox>("BitAnalyzerGroupBox")->isVisible());
  QCOMPARE(Find<QLabel>("lblMultiDisplay")->text(), "Converted values of display selection");
  QCOMPARE(Display()->cursorPosition(), 0);
  for (int i = 0; i < start; ++i) QTest::keyClick(Display(), Qt::Key_Right);
  for (int i = 0; i < length; ++i) QTest::keyClick(Display(), Qt::Key_Right, Qt::ShiftModifier);
  QCOMPARE(Analyzer(), analyzer);
  QCOMPARE(Display()->selectedText().size(), length);
  QTest::mouseClick(ba, Qt::LeftButton);
  QVERIFY(!Find<QGroupBox>("BitAnalyzerGroupBox")->isVisible());
  QCOMPARE(Find<QLabel>("lblMultiDisplay")->text(), "Converted values");
}

void TestIntConv::bitAnalyzerFollowsADrag() {
  Type(QStringLiteral("0b1011"));
  QTest::mouseClick(Find<QPushButton>("BAButton"), Qt::LeftButton);
  QLineEdit* display = Display();
  auto at = [display](int position) {
    const int y = display->height() / 2;
    for (int x = 0; x < display->width(); ++x)
      if (display->cursorPositionAt(QPoint(x, y)) == position) return QPoint(x + 1, y);
    return QPoint(display->width() - 4, y);
  };
  QTest::mousePress(display, Qt::LeftButton, {}, at(2));
  // Moves with the left button held, as a drag sends them.
  for (int position : {4, 6}) {
    QMouseEvent move(QEvent::MouseMove, at(position), display->mapToGlobal(at(position)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(display, &move);
    QCOMPARE(display->selectedText(), QStringLiteral("0b1011").mid(2, position - 2));
  }
  QCOMPARE(Analyzer(), QStringLiteral("4|11|0xb|Decimal: 11"));
  QTest::mouseRelease(display, Qt::LeftButton, {}, at(6));
  QTest::mouseClick(display, Qt::LeftButton, {}, at(3));
  QCOMPARE(Analyzer(), QStringLiteral("|||Decimal: 11"));
}

void TestIntConv::altCClears() {
  Type(QStringLiteral("5+3=\b0b1"));
  QTest::mouseClick(Find<QPushButton>("BAButton"), Qt::LeftButton);
  // Alt let go before C, as quick fingers do.
  QTest::keyPress(Display(), Qt::Key_C, Qt::AltModifier);
  QCOMPARE(Display()->text(), QStringLiteral("0b1"));
  QTest::keyRelease(Display(), Qt::Key_C, Qt::NoModifier);
  // The analyzer is off and says so.
  QVERIFY(!Find<QPushButton>("BAButton")->isChecked());
  QCOMPARE(Find<QLabel>("lblMultiDisplay")->text(), "Converted values");
  QCOMPARE(Display()->text(), QString());
  QCOMPARE(Calculation(), QString());
  QCOMPARE(Find<QComboBox>("edtCalculation")->count(), 1);
  QVERIFY(Find<QTextEdit>("reMultiDisplay")->toPlainText().isEmpty());
  QCOMPARE(FWindow->windowTitle(), QStringLiteral("Integer Calculator"));
  QVERIFY(!Find<QPushButton>("btnAdd")->isEnabled());
}

void TestIntConv::popupBitWidthAndHighlight() {
  Type(QStringLiteral("5"));
  auto* block = Find<QTextEdit>("reMultiDisplay");
  FWindow->BitWidth161->trigger();
  QVERIFY(
      block->toPlainText().contains("Binary : 0b0000000000000101\nOctal  : 0o5\n"
                                    "Hex    : 0x0005\n"));
  FWindow->HighlightLower32bit1->trigger();
  FWindow->BitWidth641->trigger();
  // The characters drawn blue and underlined, line by line.
  QStringList marked;
  for (QTextBlock b = block->document()->begin(); b.isValid(); b = b.next()) {
    QString m;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (f.charFormat().fontUnderline() && f.charFormat().foreground().color() == Qt::blue)
        m += f.text();
    }
    marked << m;
  }
  QCOMPARE(marked, QStringList({"", QString(29, '0') + "101", "", "00000005", "", ""}));
}

// The line is filled by the operators and the list only; leaving it picks
// nothing.
void TestIntConv::historyPickedOnlyFromTheList() {
  Type(QStringLiteral("5+3="));
  QTest::keyClick(Display(), Qt::Key_Backspace);
  Type(QStringLiteral("2*4="));
  QTest::keyClick(Display(), Qt::Key_Backspace);
  Type(QStringLiteral("9"));
  auto* calc = Find<QComboBox>("edtCalculation");
  calc->setFocus();
  QTest::keyClicks(calc->lineEdit(), QStringLiteral("12"));
  Display()->setFocus();
  QCOMPARE(Display()->text(), QStringLiteral("9"));
  QCOMPARE(Calculation(), QStringLiteral("2 * 4 = 8"));

  Type(QStringLiteral("*"));
  calc->showPopup();
  QTest::keyClick(calc->view(), Qt::Key_Return);
  QCOMPARE(Display()->text(), QStringLiteral("8"));
  QVERIFY(Display()->hasFocus() && !Display()->hasSelectedText());
  // The multiplication still waits for its second operand.
  QCOMPARE(Calculation(), QStringLiteral("9 * "));
  Type(QStringLiteral("="));
  QCOMPARE(Calculation(), QStringLiteral("9 * 8 = 72"));
  QCOMPARE(calc->count(), 3);
}

void TestIntConv::zeroDivisor() {
  Type(QStringLiteral("7/0="));
  QCOMPARE(FServices->boxes.size(), 1);
  QCOMPARE(FServices->boxes.first().caption, QStringLiteral("Error"));
  QCOMPARE(FServices->boxes.first().icon, Services::Icon::Stop);
  QVERIFY(FServices->boxes.first().text.contains("zero"));
  QCOMPARE(Calculation(), QStringLiteral("7 / 0 = "));
  QTest::keyClick(Display(), Qt::Key_Backspace);
  Type(QStringLiteral("2="));
  QCOMPARE(Display()->text(), QStringLiteral("3"));
  QCOMPARE(Calculation(), QStringLiteral("7 / 2 = 3 Remainder = 1"));
  QCOMPARE(FServices->boxes.size(), 1);
}

void TestIntConv::centring_data() {
  QTest::addColumn<QList<QSize>>("sizes");  // client sizes, one after the other
  QTest::addColumn<QPoint>("at");           // where the box ends; (-1, -1): centred
  QTest::newRow("800x600") << QList<QSize>{{800, 600}} << QPoint(111, 101);
  QTest::newRow("800x600, then 500x300") << QList<QSize>{{800, 600}, {500, 300}} << QPoint(0, 0);
  QTest::newRow("800x600, then 578x398") << QList<QSize>{{800, 600}, {578, 398}} << QPoint(0, 0);
  QTest::newRow("500x300, then 800x600")
      << QList<QSize>{{500, 300}, {800, 600}} << QPoint(111, 101);
  QTest::newRow("800x600, then 900x300") << QList<QSize>{{800, 600}, {900, 300}} << QPoint(-1, 0);
  QTest::newRow("800x600, then 500x700") << QList<QSize>{{800, 600}, {500, 700}} << QPoint(0, -1);
}

void TestIntConv::centring() {
  QFETCH(QList<QSize>, sizes);
  QFETCH(QPoint, at);
  auto* scroll = Find<QScrollArea>("ScrollBox1");
  auto* box = Find<QWidget>("scBox");
  const QSize frame = FWindow->size() - scroll->size();
  for (const QSize& size : sizes) FWindow->resize(size + frame);
  QCOMPARE(scroll->size(), sizes.last());
  const QRect sight = scroll->viewport()->rect();
  if (at.x() < 0) at.setX((sight.width() - box->width()) / 2);
  if (at.y() < 0) at.setY((sight.height() - box->height()) / 2);
  QCOMPARE(box->pos(), at);
  // Nothing of the box is out of reach of the scroll bars.
  QVERIFY(scroll->widget()->rect().contains(box->geometry()));
}

void TestIntConv::centringAfterMaximize_data() {
  QTest::addColumn<bool>("tile");
  QTest::newRow("maximized, restored") << false;
  QTest::newRow("tiled, made smaller") << true;
}

void TestIntConv::centringAfterMaximize() {
  QFETCH(bool, tile);
  auto* scroll = Find<QScrollArea>("ScrollBox1");
  auto* box = Find<QWidget>("scBox");
  // Smaller than the box: the window scrolls.
  const QSize small = QSize(500, 300) + FWindow->size() - scroll->size();
  FWindow->resize(small);
  if (tile) {
    FArea->tileSubWindows();
    QVERIFY(box->x() > 100);
    FWindow->resize(small);
  } else {
    FWindow->showMaximized();
    QVERIFY(box->x() > 100);
    FWindow->showNormal();
  }
  QCOMPARE(FWindow->size(), small);
  QCOMPARE(box->pos(), QPoint(0, 0));
  QCOMPARE(scroll->widget()->size(), box->size());
}

QTEST_MAIN(TestIntConv)
#include "tst_intconv.moc"
