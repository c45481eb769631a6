// Recognising display texts and printing values: every notation with both
// edges of its range, and random values printed and read back.
#include <QtTest>
#include <random>

#include "../ipv4lib/rowname.h"
#include "intcalc/numberformat.h"
#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4mac.h"

Q_DECLARE_METATYPE(TNumberKind)

namespace {

std::string Ones(int n) {
  return std::string(static_cast<std::size_t>(n), '1');
}

}  // namespace

class TestNumberFormat : public QObject {
  Q_OBJECT
 private slots:
  void classify_data();
  void classify();
  void randomValuesReadBack();
};

void TestNumberFormat::classify_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<TNumberKind>("kind");
  QTest::addColumn<qlonglong>("value");
  const qlonglong min = std::numeric_limits<qlonglong>::min();
  const qlonglong max = std::numeric_limits<qlonglong>::max();
  const struct {
    std::string text;
    TNumberKind kind;
    qlonglong value;
  } rows[] = {
      // IPv4 first, then MAC: a dotted triple of hex groups is a MAC address.
      {"10.0.0.1", nkIPv4, 167772161},
      {" 255.255.255.255\t", nkIPv4, 4294967295},
      {"1.2.3", nkMAC, 0x000100020003},
      {"1.2.3.4.5", nkUnknown, 0},
      {"aa:bb:cc:dd:ee:ff", nkMAC, 187723572702975},
      {"1-2", nkUnknown, 0},
      // Binary: two 32-digit halves, each read like a 32-bit strtoul.
      {"0b", nkBinary, 0},
      {"0B1011", nkBinary, 11},
      {"0b" + Ones(33), nkBinary, 8589934591},
      {"0b" + Ones(64), nkBinary, -1},
      {"0b" + Ones(65), nkUnknown, 0},
      {"0b-1", nkBinary, 4294967295},
      {"0b+101", nkBinary, 5},
      {"0b -101", nkBinary, 4294967291},
      {"0b1-" + Ones(31), nkBinary, 0x180000001},
      {"0b-" + Ones(32), nkUnknown, 0},
      {"0b1-1", nkUnknown, 0},
      {"0b-", nkUnknown, 0},
      // Hexadecimal: up to 64 significant bits, the top bit makes it negative.
      {"0x", nkHex, 0},
      {"0xff", nkHex, 255},
      {"0x8000000000000000", nkHex, min},
      {"0xffffffffffffffff", nkHex, -1},
      {"0x000000000000000000001", nkHex, 1},
      {"0x10000000000000000", nkUnknown, 0},
      {"0x-5", nkUnknown, 0},
      // Decimal: the signed 64-bit range and nothing beyond.
      {"0", nkDecimal, 0},
      {"007", nkDecimal, 7},
      {"+5", nkDecimal, 5},
      {"9223372036854775807", nkDecimal, max},
      {"9223372036854775808", nkUnknown, 0},
      {"-9223372036854775808", nkDecimal, min},
      {"-9223372036854775809", nkUnknown, 0},
      // ... and hexadecimal after an optional sign.
      {"$FF", nkDecimal, 255},
      {"xff", nkDecimal, 255},
      {"-0x10", nkDecimal, -16},
      {"$", nkUnknown, 0},
      {"-0x", nkUnknown, 0},
      {"", nkUnknown, 0},
      {"- 5", nkUnknown, 0},
      {"1 2", nkUnknown, 0},
  };
  for (const auto& r : rows) {
    const QByteArray text = QByteArray::fromStdString(r.text);
    QTest::newRow(rowName(text)) << text << r.kind << r.value;
  }
}

void TestNumberFormat::classify() {
  QFETCH(QByteArray, text);
  QFETCH(TNumberKind, kind);
  QFETCH(qlonglong, value);
  const TClassified c = ClassifyNumber(text.toStdString());
  QCOMPARE(c.kind, kind);
  QCOMPARE(qlonglong(c.value), value);
}

// Every printed form reads back as the value it was printed from.
void TestNumberFormat::randomValuesReadBack() {
  std::mt19937_64 rng(20250611);
  for (int i = 0; i < 4000; ++i) {
    // Values of every bit length, not only those near 2^64.
    const uint64_t u = rng() >> (rng() % 64);
    const auto v = static_cast<int64_t>(u);
    std::vector<std::pair<std::string, TNumberKind>> forms = {
        {DecimalText(v), nkDecimal},           {BinaryText(u, 0), nkBinary},
        {BinaryText(u, 64), nkBinary},         {DisplayHexText(u), nkHex},
        {"0X" + BlockHexDigits(u, 64), nkHex}, {"$" + BlockHexDigits(u, 0), nkDecimal},
    };
    if (u <= 0xFFFFFFFFu) forms.push_back({ipv4(static_cast<uint32_t>(u)).text(), nkIPv4});
    if (u < (uint64_t{1} << 48)) {
      const ipv4mac mac(static_cast<uint32_t>(u), static_cast<uint32_t>(u >> 32));
      for (int format = 0; format < 3; ++format) forms.push_back({mac.text(format), nkMAC});
    }
    for (const auto& [text, kind] : forms) {
      const TClassified c = ClassifyNumber(text);
      QVERIFY2(c.kind == kind && c.value == v, text.c_str());
    }
  }
}

QTEST_APPLESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
