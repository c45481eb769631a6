// The calculator model without a window: the converted-values block, the
// display analysis, the conversion buttons, the operator chains with their
// history, division by zero and the bit analyzer.
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
// (history entry n), or a display text (with "_" for a blank). Returns how
// many steps met a zero divisor.
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
  void unknownTextKeepsTheCaption();
  void conversions_data();
  void conversions();
  void operators_data();
  void operators();
  void bitAnalyzer_data();
  void bitAnalyzer();
  void clearEndsEverythingButTheHistory();
  void optionsRebuildBlockAndMac();
};

void TestIntCalcModel::convertedValues_data() {
  QTest::addColumn<qlonglong>("value");
  QTest::addColumn<int>("bitWidth");
  QTest::addColumn<bool>("highlight");
  QTest::addColumn<int>("macFormat");
  QTest::addColumn<QString>("block");
  const QString five = QStringLiteral("Octal  : 0o5|");
  const QString fiveTail = QStringLiteral("IP     : 0.0.0.5|MAC    : 00:00:00:00:00:05");
  QTest::newRow("5 width 0") << 5LL << 0 << true << 0
                             << "Decimal: 5|Binary : 0b101|" + five + "Hex    : 0x5|" + fiveTail;
  QTest::newRow("5 width 16") << 5LL << 16 << false << 0
                              << "Decimal: 5|Binary : 0b" + Zeros(13) + "101|" + five +
                                     "Hex    : 0x0005|" + fiveTail;
  QTest::newRow("5 width 32 highlight")
      << 5LL << 32 << true << 0
      << "Decimal: 5|Binary : 0b" + Zeros(29) + "101|" + five + "Hex    : 0x00000005|" + fiveTail;
  QTest::newRow("5 width 64 highlight")
      << 5LL << 64 << true << 0
      << "Decimal: 5|Binary : 0b" + Zeros(32) + "[" + Zeros(29) + "101]|" + five +
             "Hex    : 0x00000000[00000005]|" + fiveTail;
  QTest::newRow("5 width 64") << 5LL << 64 << false << 0
                              << "Decimal: 5|Binary : 0b" + Zeros(61) + "101|" + five +
                                     "Hex    : 0x0000000000000005|" + fiveTail;
  QTest::newRow("2^32 width 0 highlight")
      << 4294967296LL << 0 << true << 2
      << "Decimal: 4294967296|Binary : 0b1[" + Zeros(32) +
             "]|Octal  : 0o40000000000|Hex    : 0x1[00000000]|IP     : 0.0.0.0|"
             "MAC    : 0001.0000.0000";
  QTest::newRow("2^32-1 width 0 highlight")
      << 4294967295LL << 0 << true << 1
      << "Decimal: 4294967295|Binary : 0b" + QString(32, QLatin1Char('1')) +
             "|Octal  : 0o37777777777|Hex    : 0xFFFFFFFF|IP     : 255.255.255.255|"
             "MAC    : 00-00-ff-ff-ff-ff";
  QTest::newRow("-1: no MAC line") << -1LL << 0 << false << 0
                                   << "Decimal: -1|Binary : 0b" + QString(64, QLatin1Char('1')) +
                                          "|Octal  : 0o1777777777777777777777|"
                                          "Hex    : 0xFFFFFFFFFFFFFFFF|IP     : 255.255.255.255";
  QTest::newRow("2^48: no MAC line")
      << 281474976710656LL << 0 << false << 0
      << "Decimal: 281474976710656|Binary : 0b1" + Zeros(48) +
             "|Octal  : 0o10000000000000000|Hex    : 0x1000000000000|IP     : 0.0.0.0";
  QTest::newRow("0: empty") << 0LL << 64 << true << 0 << QString();
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
  const QString title = QStringLiteral("Integer Calculator ");
  QTest::newRow("255")
      << "255"
      << "255|Assuming a decimal number.||D2B,D2H,Int2IP,Int2MAC,HTONL,NTOHL,ops|" + title + "255";
  QTest::newRow("  0x1F  ") << "  0x1F  "
                            << "0x1F|Assuming a hexadecimal number.|2|"
                               "H2B,H2D,Int2IP,Int2MAC,HTONL,NTOHL,ops|" +
                                   title + "0x1F";
  QTest::newRow("0b1011") << "0b1011"
                          << "0b1011|Assuming a binary number.|4|"
                             "B2D,B2H,Int2IP,Int2MAC,HTONL,NTOHL,BA,ops|" +
                                 title + "0b1011";
  QTest::newRow("0b")
      << "0b"
      << "0b|Assuming a binary number.||B2D,B2H,Int2IP,Int2MAC,HTONL,NTOHL,BA,ops|" + title + "0b";
  QTest::newRow("10.0.0.1") << "10.0.0.1"
                            << "10.0.0.1|Assuming an IPv4 address.||IP2Int,HTONL,NTOHL,ops|" +
                                   title + "10.0.0.1";
  QTest::newRow("aa:bb:cc:dd:ee:ff")
      << "aa:bb:cc:dd:ee:ff"
      << "aa:bb:cc:dd:ee:ff|Assuming a MAC address.||MAC2Int,Swap,ops|" + title +
             "aa:bb:cc:dd:ee:ff";
  QTest::newRow("(empty)") << ""
                           << "|Can't recognize number.|||Integer Calculator";
}

void TestIntCalcModel::analysis() {
  QFETCH(QString, display);
  QFETCH(QString, expected);
  TIntCalcModel m;
  m.SetDisplay(display.toStdString());
  QCOMPARE(QStringList({QString::fromStdString(m.Display), QString::fromStdString(m.DisplayMode),
                        QString::fromStdString(m.DisplayLength), EnabledButtons(m),
                        QString::fromStdString(m.Caption)})
               .join(QLatin1Char('|')),
           expected);
}

void TestIntCalcModel::unknownTextKeepsTheCaption() {
  TIntCalcModel m;
  m.SetDisplay("5");
  m.SetDisplay("5x");
  QCOMPARE(m.Caption, std::string("Integer Calculator 5"));
  QCOMPARE(m.FKind, nkUnknown);
  QCOMPARE(m.FValue, int64_t{0});
  QVERIFY(m.Block.empty());
}

void TestIntCalcModel::conversions_data() {
  QTest::addColumn<QString>("display");
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("result");
  const struct {
    const char *display, *button, *result;
  } rows[] = {
      {"0b1011", "B2D", "11"},
      {"0b"
       "1111111111111111111111111111111111111111111111111111111111111111",
       "B2D", "-1"},
      {"0b1011", "B2H", "0xb"},
      {"$FF", "D2B", "0b11111111"},
      {"255", "D2H", "0xff"},
      {"255", "B2D", "255"},
      {"0x5", "H2B", "0b101"},
      {"0xffffffffffffffff", "H2D", "-1"},
      {"10.0.0.1", "IP2Int", "167772161"},
      {"4294967297", "Int2IP", "0.0.0.1"},
      {"aa:bb:cc:dd:ee:ff", "MAC2Int", "187723572702975"},
      {"187723572702975", "Int2MAC", "aa:bb:cc:dd:ee:ff"},
      {"281474976710656", "Int2MAC", "281474976710656"},
      {"01-00-5E-00-00-01", "Swap", "80:00:7a:00:00:80"},
      {"0x1", "HTONL", "0x1000000"},
      {"0b1", "HTONL", "0b1000000000000000000000000"},
      {"4294967297", "HTONL", "16777216"},
      {"-1", "HTONL", "4294967295"},
      {"192.168.1.2", "HTONL", "2.1.168.192"},
      {"0xC0A80102", "NTOHL", "0x201a8c0"},
      {"aa:bb:cc:dd:ee:ff", "NTOHL", "aa:bb:cc:dd:ee:ff"},
  };
  for (const auto& r : rows)
    QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(r.button, r.display)))
        << r.display << r.button << r.result;
}

void TestIntCalcModel::conversions() {
  QFETCH(QString, display);
  QFETCH(QString, button);
  QFETCH(QString, result);
  const QHash<QString, void (TIntCalcModel::*)()> handlers = {
      {"B2D", &TIntCalcModel::B2DButtonClick},
      {"B2H", &TIntCalcModel::B2HButtonClick},
      {"D2B", &TIntCalcModel::D2BButtonClick},
      {"D2H", &TIntCalcModel::D2HButtonClick},
      {"H2B", &TIntCalcModel::H2BButtonClick},
      {"H2D", &TIntCalcModel::H2DButtonClick},
      {"IP2Int", &TIntCalcModel::IP2IntButtonClick},
      {"Int2IP", &TIntCalcModel::Int2IPButtonClick},
      {"MAC2Int", &TIntCalcModel::MAC2IntButtonClick},
      {"Int2MAC", &TIntCalcModel::Int2MACButtonClick},
      {"Swap", &TIntCalcModel::SwapButtonClick},
      {"HTONL", &TIntCalcModel::btnHTONLClick},
      {"NTOHL", &TIntCalcModel::btnNTOHLClick},
  };
  TIntCalcModel m;
  m.SetDisplay(display.toStdString());
  (m.*handlers.value(button))();
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
      {"8 / 2 =", "4", "8 / 2 = 4", "8 / 2 = 4", 0},
      {"-8 / 2 =", "9223372036854775804", "-8 / 2 = 9223372036854775804",
       "-8 / 2 = 9223372036854775804", 0},
      {"-9223372036854775808 / -1 =", "0",
       "-9223372036854775808 / -1 = 0 Remainder = -9223372036854775808",
       "-9223372036854775808 / -1 = 0 Remainder = -9223372036854775808", 0},
      {"0xFF & 0x0F =", "15", "0xFF & 0x0F = 15", "0xFF & 0x0F = 15", 0},
      {"6 | 9 ^ 3 =", "12", "15 ^ 3 = 12", "6 | 9 = 15;15 ^ 3 = 12", 0},
      {"0 - 1 =", "-1", "0 - 1 = -1", "0 - 1 = -1", 0},
      {"9223372036854775807 + 1 =", "-9223372036854775808",
       "9223372036854775807 + 1 = -9223372036854775808",
       "9223372036854775807 + 1 = -9223372036854775808", 0},
      {"4294967296 * 4294967297 =", "4294967296", "4294967296 * 4294967297 = 4294967296",
       "4294967296 * 4294967297 = 4294967296", 0},
      {"2 + 3 *", "", "5 * ", "2 + 3 = 5", 0},
      {"0 !", "-1", "", "", 0},
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
      {"7 / 0 = C 4", "4", "", "", 1},
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

void TestIntCalcModel::bitAnalyzer_data() {
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("length");
  QTest::addColumn<QString>("expected");  // bits|decimal|hex|first block line
  QTest::newRow("whole text") << 0 << 6 << "4|11|0xb|Decimal: 11";
  QTest::newRow("digits only") << 2 << 4 << "4|11|0xb|Decimal: 11";
  QTest::newRow("\"01\"") << 3 << 2 << "2|1|0x1|Decimal: 1";
  QTest::newRow("\"b1\"") << 1 << 2 << "1|1|0x1|Decimal: 1";
  QTest::newRow("\"0\" of 1011") << 3 << 1 << "1|0|0x0|";
  QTest::newRow("\"0b\" resets") << 0 << 2 << "|||Decimal: 11";
  QTest::newRow("\"b\" resets") << 1 << 1 << "|||Decimal: 11";
  QTest::newRow("nothing resets") << 4 << 0 << "|||Decimal: 11";
}

void TestIntCalcModel::bitAnalyzer() {
  QFETCH(int, start);
  QFETCH(int, length);
  QFETCH(QString, expected);
  TIntCalcModel m;
  m.SetDisplay("0b1011");
  m.SetBitAnalyzerMode(true);
  QVERIFY(m.Block.empty());
  QCOMPARE(m.MultiDisplayTitle, std::string("Converted values of display selection"));
  m.UpdateBitAnalyzer(std::size_t(start), std::size_t(length));
  const QString first = m.Block.empty() ? QString() : QString::fromStdString(m.Block[0].text);
  QCOMPARE(QStringList({QString::fromStdString(m.BitCount), QString::fromStdString(m.DecAnalyzer),
                        QString::fromStdString(m.HexAnalyzer), first})
               .join(QLatin1Char('|')),
           expected);
  QCOMPARE(m.FValue, int64_t{11});
  QVERIFY(m.BitAnalyzerOn);
}

void TestIntCalcModel::clearEndsEverythingButTheHistory() {
  TIntCalcModel m;
  Run(m, QStringLiteral("5 + 3 = 0b1 +"));
  m.SetDisplay("0b101");
  m.SetBitAnalyzerMode(true);
  m.Clear();
  QCOMPARE(m.FPendingOp, poNone);
  QCOMPARE(m.Display, std::string());
  QCOMPARE(m.Calculation, std::string());
  QCOMPARE(m.History, std::vector<std::string>{"5 + 3 = 8"});
  QCOMPARE(m.Caption, std::string("Integer Calculator"));
  QVERIFY(!m.BitAnalyzerOn && m.Block.empty());
  QCOMPARE(m.MultiDisplayTitle, std::string("Converted values"));
  // A decimal display releases the analyzer the same way.
  m.SetDisplay("0b1");
  m.SetBitAnalyzerMode(true);
  m.SetDisplay("1");
  QVERIFY(!m.BitAnalyzerOn);
  QCOMPARE(m.MultiDisplayTitle, std::string("Converted values"));
}

void TestIntCalcModel::optionsRebuildBlockAndMac() {
  TIntCalcModel m;
  m.SetDisplay("aa:bb:cc:dd:ee:ff");
  m.ApplyOptions(16, 1, false);
  QCOMPARE(m.Display, std::string("aa-bb-cc-dd-ee-ff"));
  QCOMPARE(m.Block.back().text, std::string("MAC    : aa-bb-cc-dd-ee-ff"));
  // A format the list does not have prints as the first one.
  m.ApplyOptions(0, 7, false);
  QCOMPARE(m.Display, std::string("aa:bb:cc:dd:ee:ff"));
  m.SetDisplay("5");
  m.SetBitWidth(16);
  QCOMPARE(m.Block[1].text, std::string("Binary : 0b0000000000000101"));
  m.SetHighlightLow32(true);
  m.SetBitWidth(64);
  QCOMPARE(m.Block[3].highlightLength, 8);
}

QTEST_APPLESS_MAIN(TestIntCalcModel)
#include "tst_intcalcmodel.moc"
