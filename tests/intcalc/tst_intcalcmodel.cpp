// The calculator model without a window: the converted-values block, the
// display analysis, the conversion buttons, the operator chains with their
// history and division by zero. The bit analyzer is driven through the window.
#include <QtTest>

#include "intcalc/intcalcmodel.h"

namespace {

// The block as "line|line|...", highlighted characters in brackets.
QString Render(const TBlock& block) {
  QStringList lines;
  for (const TBlockLine& l : block) {
    QString t = QString::fromStdString(l.text);
    if (l.highlightLength > 0) {
      t.insert(l.highlightFrom + l.highlightLength, QLatin1Char(']'));
      t.insert(l.highlightFrom, QLatin1Char('['));
    }
    lines << t;
  }
  return lines.join(QLatin1Char('|'));
}

QString Zeros(int n) {
  return QString(n, QLatin1Char('0'));
}

const char* const kButtonNames[cbCount] = {
    "B2D",     "B2H",     "D2B",  "D2H",   "H2B",   "H2D", "IP2Int", "Int2IP",
    "MAC2Int", "Int2MAC", "Swap", "HTONL", "NTOHL", "BA",  "And",    "Or",
    "Xor",     "Not",     "Add",  "Sub",   "Mul",   "Div", "Equal"};

// The enabled buttons by name; the nine operators together as "ops".
QString EnabledButtons(const TIntCalcModel& m) {
  QStringList on;
  for (int b = 0; b < cbAnd; ++b)
    if (m.Enabled[static_cast<std::size_t>(b)]) on << QLatin1String(kButtonNames[b]);
  int ops = 0;
  for (int b = cbAnd; b <= cbEqual; ++b) ops += m.Enabled[static_cast<std::size_t>(b)];
  if (ops == 9) on << QStringLiteral("ops");
  if (ops != 0 && ops != 9) on << QStringLiteral("some ops");
  return on.join(QLatin1Char(','));
}

// Runs steps separated by blanks: an operator symbol, "C" (Clear), "H<n>"
// (history entry n) or a display text. Returns how many met a zero divisor.
int Run(TIntCalcModel& m, const QString& steps) {
  int errors = 0;
  const QString ops = QStringLiteral("&|^+-*/");
  for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    TCalcResult r = crDone;
    if (step.size() == 1 && ops.contains(step))
      r = m.BinaryOperator(static_cast<TPendingOp>(poAnd + ops.indexOf(step)));
    else if (step == QLatin1String("="))
      r = m.btnEqualClick();
    else if (step == QLatin1String("!"))
      r = m.btnNotClick();
    else if (step == QLatin1String("C"))
      m.Clear();
    else if (step.startsWith(QLatin1Char('H')) && step.size() > 1)
      m.SelectHistory(step.mid(1).toUInt());
    else
      m.SetDisplay(step.toStdString());
    errors += r == crDivideByZero;
  }
  return errors;
}

}  // namespace

class TestIntCalcModel : public QObject {
  Q_OBJECT
 private slots:
  void convertedValues_data();
  void convertedValues();
  void analysis_data();
  void analysis();
  void conversions_data();
  void conversions();
  void operators_data();
  void operators();
  void optionsRewriteTheMac();
  void zeroHasLinesOnRequest();
};

void TestIntCalcModel::convertedValues_data() {
  QTest::addColumn<qlonglong>("value");
  QTest::addColumn<int>("bitWidth");
  QTest::addColumn<bool>("highlight");
  QTest::addColumn<int>("macFormat");
  QTest::addColumn<QString>("block");
  const QString ones = QString(64, QLatin1Char('1'));
  const QString fiveIpMac = QStringLiteral("IP     : 0.0.0.5|MAC    : 00:00:00:00:00:05");
  const struct {
    const char* name;
    qlonglong value;
    int bitWidth;
    bool highlight;
    int macFormat;
    QString block;
  } rows[] = {
      {"5 width 0", 5, 0, true, 0,
       "Decimal: 5|Binary : 0b101|Octal  : 0o5|Hex    : 0x5|" + fiveIpMac},
      {"5 width 16", 5, 16, false, 0,
       "Decimal: 5|Binary : 0b" + Zeros(13) + "101|Octal  : 0o5|Hex    : 0x0005|" + fiveIpMac},
      {"5 width 32 highlight", 5, 32, true, 0,
       "Decimal: 5|Binary : 0b" + Zeros(29) + "101|Octal  : 0o5|Hex    : 0x00000005|" + fiveIpMac},
      {"5 width 64 highlight", 5, 64, true, 0,
       "Decimal: 5|Binary : 0b" + Zeros(32) + "[" + Zeros(29) +
           "101]|Octal  : 0o5|Hex    : 0x00000000[00000005]|" + fiveIpMac},
      {"2^32 width 0 highlight", 4294967296, 0, true, 2,
       "Decimal: 4294967296|Binary : 0b1[" + Zeros(32) +
           "]|Octal  : 0o40000000000|Hex    : 0x1[00000000]|IP     : 0.0.0.0|"
           "MAC    : 0001.0000.0000"},
      {"-1: no MAC line", -1, 0, false, 0,
       "Decimal: -1|Binary : 0b" + ones +
           "|Octal  : 0o1777777777777777777777|Hex    : 0xFFFFFFFFFFFFFFFF|IP     : "
           "255.255.255.255"},
      {"0: empty", 0, 64, true, 0, QString()},
  };
  for (const auto& r : rows)
    QTest::newRow(r.name) << r.value << r.bitWidth << r.highlight << r.macFormat << r.block;
}

void TestIntCalcModel::convertedValues() {
  QFETCH(qlonglong, value);
  QFETCH(int, bitWidth);
  QFETCH(bool, highlight);
  QFETCH(int, macFormat);
  QFETCH(QString, block);
  QCOMPARE(Render(ConvertedValues(value, bitWidth, highlight, macFormat)), block);
}

void TestIntCalcModel::analysis_data() {
  QTest::addColumn<QString>("display");
  QTest::addColumn<QString>("expected");  // display|mode|length|buttons|caption
  const struct {
    const char *display, *expected;
  } rows[] = {
      {"255", "255|Assuming a decimal number.||D2B,D2H,Int2IP,Int2MAC,HTONL,NTOHL,ops|255"},
      {"  0x1F  ",
       "0x1F|Assuming a hexadecimal number.|2|H2B,H2D,Int2IP,Int2MAC,HTONL,NTOHL,ops|0x1F"},
      {"0b1011",
       "0b1011|Assuming a binary number.|4|B2D,B2H,Int2IP,Int2MAC,HTONL,NTOHL,BA,ops|0b1011"},
      {"0b", "0b|Assuming a binary number.||B2D,B2H,Int2IP,Int2MAC,HTONL,NTOHL,BA,ops|0b"},
      {"10.0.0.1", "10.0.0.1|Assuming an IPv4 address.||IP2Int,HTONL,NTOHL,ops|10.0.0.1"},
      {"aa:bb:cc:dd:ee:ff",
       "aa:bb:cc:dd:ee:ff|Assuming a MAC address.||MAC2Int,Swap,ops|aa:bb:cc:dd:ee:ff"},
      // Not recognised: the caption keeps the last number.
      {"", "|Can't recognize number.|||7"},
      {"5x", "5x|Can't recognize number.|||7"},
  };
  for (const auto& r : rows)
    QTest::newRow(*r.display ? r.display : "(empty)") << r.display << r.expected;
}

void TestIntCalcModel::analysis() {
  QFETCH(QString, display);
  QFETCH(QString, expected);
  TIntCalcModel m;
  m.SetDisplay("7");
  m.SetDisplay(display.toStdString());
  const QString caption = QString::fromStdString(m.Caption).mid(19);  // after "Integer Calculator "
  QCOMPARE(QStringList({QString::fromStdString(m.Display), QString::fromStdString(m.DisplayMode),
                        QString::fromStdString(m.DisplayLength), EnabledButtons(m), caption})
               .join(QLatin1Char('|')),
           expected);
  QCOMPARE(m.FValue, ClassifyNumber(m.Display).value);
  QCOMPARE(m.Block.empty(), m.FValue == 0);
}

void TestIntCalcModel::conversions_data() {
  QTest::addColumn<QString>("display");
  QTest::addColumn<int>("button");
  QTest::addColumn<QString>("result");
  const struct {
    const char* display;
    TCalcButton button;
    const char* result;
  } rows[] = {
      {"0b1011", cbB2D, "11"},
      {"0b1011", cbB2H, "0xb"},
      {"$FF", cbD2B, "0b11111111"},
      {"255", cbD2H, "0xff"},
      {"0x5", cbH2B, "0b101"},
      {"0xffffffffffffffff", cbH2D, "-1"},
      {"10.0.0.1", cbIP2Int, "167772161"},
      {"4294967297", cbInt2IP, "0.0.0.1"},
      {"aa:bb:cc:dd:ee:ff", cbMAC2Int, "187723572702975"},
      {"187723572702975", cbInt2MAC, "aa:bb:cc:dd:ee:ff"},
      {"281474976710656", cbInt2MAC, "281474976710656"},
      {"01-00-5E-00-00-01", cbSwap, "80:00:7a:00:00:80"},
      {"0x1", cbHTONL, "0x1000000"},
      {"0b1", cbHTONL, "0b1000000000000000000000000"},
      {"4294967297", cbHTONL, "16777216"},
      {"-1", cbHTONL, "4294967295"},
      {"192.168.1.2", cbHTONL, "2.1.168.192"},
      {"0xC0A80102", cbNTOHL, "0x201a8c0"},
      {"aa:bb:cc:dd:ee:ff", cbNTOHL, "aa:bb:cc:dd:ee:ff"},
  };
  for (const auto& r : rows)
    QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(kButtonNames[r.button], r.display)))
        << r.display << int(r.button) << r.result;
}

void TestIntCalcModel::conversions() {
  QFETCH(QString, display);
  QFETCH(int, button);
  QFETCH(QString, result);
  // In the order of TCalcButton.
  void (TIntCalcModel::*const handlers[])() = {
      &TIntCalcModel::B2DButtonClick,     &TIntCalcModel::B2HButtonClick,
      &TIntCalcModel::D2BButtonClick,     &TIntCalcModel::D2HButtonClick,
      &TIntCalcModel::H2BButtonClick,     &TIntCalcModel::H2DButtonClick,
      &TIntCalcModel::IP2IntButtonClick,  &TIntCalcModel::Int2IPButtonClick,
      &TIntCalcModel::MAC2IntButtonClick, &TIntCalcModel::Int2MACButtonClick,
      &TIntCalcModel::SwapButtonClick,    &TIntCalcModel::btnHTONLClick,
      &TIntCalcModel::btnNTOHLClick};
  TIntCalcModel m;
  m.SetDisplay(display.toStdString());
  (m.*handlers[button])();
  QCOMPARE(QString::fromStdString(m.Display), result);
}

void TestIntCalcModel::operators_data() {
  QTest::addColumn<QString>("steps");
  QTest::addColumn<QString>("display");
  QTest::addColumn<QString>("calculation");
  QTest::addColumn<QString>("history");  // entries joined by ";"
  QTest::addColumn<int>("errors");
  const struct {
    const char *steps, *display, *calculation, *history;
    int errors;
  } rows[] = {
      {"5 + 3 =", "8", "5 + 3 = 8", "5 + 3 = 8", 0},
      {"7 / 2 =", "3", "7 / 2 = 3 Remainder = 1", "7 / 2 = 3 Remainder = 1", 0},
      {"-8 / 2 =", "9223372036854775804", "-8 / 2 = 9223372036854775804",
       "-8 / 2 = 9223372036854775804", 0},
      {"-9223372036854775808 / -1 =", "0",
       "-9223372036854775808 / -1 = 0 Remainder = -9223372036854775808",
       "-9223372036854775808 / -1 = 0 Remainder = -9223372036854775808", 0},
      {"0xFF & 0x0F =", "15", "0xFF & 0x0F = 15", "0xFF & 0x0F = 15", 0},
      {"6 | 9 ^ 3 =", "12", "15 ^ 3 = 12", "6 | 9 = 15;15 ^ 3 = 12", 0},
      {"9223372036854775807 + 1 =", "-9223372036854775808",
       "9223372036854775807 + 1 = -9223372036854775808",
       "9223372036854775807 + 1 = -9223372036854775808", 0},
      {"4294967296 * 4294967297 =", "4294967296", "4294967296 * 4294967297 = 4294967296",
       "4294967296 * 4294967297 = 4294967296", 0},
      {"2 + 3 *", "", "5 * ", "2 + 3 = 5", 0},
      {"0xff !", "-256", "", "", 0},
      {"2 + 3 !", "-6", "2 + 3 = 5", "2 + 3 = 5", 0},
      {"5 =", "5", "", "", 0},
      {"7 / 2 = C H0", "3", "7 / 2 = 3 Remainder = 1", "7 / 2 = 3 Remainder = 1", 0},
      {"2 + 3 = 10 + H0 =", "15", "10 + 5 = 15", "2 + 3 = 5;10 + 5 = 15", 0},
      // A zero divisor computes nothing and keeps the division pending for
      // another divisor.
      {"7 / 0 =", "0", "7 / 0 = ", "", 1},
      {"7 / 0x0 = +", "0x0", "7 / 0x0 = ", "", 2},
      {"7 / 0 = 2 =", "3", "7 / 2 = 3 Remainder = 1", "7 / 2 = 3 Remainder = 1", 1},
  };
  for (const auto& r : rows)
    QTest::newRow(r.steps) << r.steps << r.display << r.calculation << r.history << r.errors;
}

void TestIntCalcModel::operators() {
  QFETCH(QString, steps);
  QFETCH(QString, display);
  QFETCH(QString, calculation);
  QFETCH(QString, history);
  QFETCH(int, errors);
  TIntCalcModel m;
  QCOMPARE(Run(m, steps), errors);
  QCOMPARE(QString::fromStdString(m.Display), display);
  QCOMPARE(QString::fromStdString(m.Calculation), calculation);
  QStringList entries;
  for (const std::string& e : m.History) entries << QString::fromStdString(e);
  QCOMPARE(entries.join(QLatin1Char(';')), history);
  // The display always holds what the model computes with.
  QCOMPARE(m.FValue, ClassifyNumber(m.Display).value);
}

void TestIntCalcModel::optionsRewriteTheMac() {
  TIntCalcModel m;
  m.SetDisplay("aa:bb:cc:dd:ee:ff");
  m.ApplyOptions(16, 1, false);
  QCOMPARE(m.Display, std::string("aa-bb-cc-dd-ee-ff"));
  QCOMPARE(m.Block.back().text, std::string("MAC    : aa-bb-cc-dd-ee-ff"));
  // A format the list does not have prints as the first one.
  m.ApplyOptions(0, 7, false);
  QCOMPARE(m.Display, std::string("aa:bb:cc:dd:ee:ff"));
}

void TestIntCalcModel::zeroHasLinesOnRequest() {
  // The window shows no block for 0; the lines themselves exist.
  QCOMPARE(Render(ConvertedValueLines(0, 16, true, 1)),
           QStringLiteral("Decimal: 0|Binary : 0b0000000000000000|Octal  : 0o0|Hex    : 0x0000|"
                          "IP     : 0.0.0.0|MAC    : 00-00-00-00-00-00"));
  QCOMPARE(Render(ConvertedValueLines(-1, 64, true, 0)), Render(ConvertedValues(-1, 64, true, 0)));
}

QTEST_APPLESS_MAIN(TestIntCalcModel)
#include "tst_intcalcmodel.moc"
