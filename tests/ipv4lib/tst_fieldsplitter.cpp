#include <QTest>

#include "ipv4lib/fieldsplitter.h"
#include "rowname.h"

class tst_fieldsplitter : public QObject {
  Q_OBJECT
 private slots:
  void split_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<char>("delimiter");
    QTest::addColumn<QList<QByteArray>>("fields");  // Field(1) ... Field(FCount)
    const auto row = [](const QByteArray& t, char d, const QList<QByteArray>& f) {
      QTest::newRow(rowName(t).constData()) << t << d << f;
    };
    row("a;b;c", ';', {"a", "b", "c"});
    row(";a", ';', {"", "a"});
    row("", ';', {""});
    row("abc", ';', {"abc"});
    row("2.2.0.90", '.', {"2", "2", "0", "90"});
    row("10.0.0.0/8;Private;RFC 1918;", ';', {"10.0.0.0/8", "Private", "RFC 1918;"});
    row(";", ';', {";"});
    row("a;;b", ';', {"a"});  // a doubled delimiter restarts the count
    row("a;;b;c", ';', {"a", ""});
    row("a;;;b;c;d", ';', {"a", "", ""});
    row("a;;", ';', {});
    row(QByteArray("a;b\0;c", 6), ';', {"a", "b"});  // the text ends at its first NUL
    row(QByteArray("\0a;b", 4), ';', {""});
    row("\xC3\xA9;\xE2\x82\xAC", ';', {"\xC3\xA9", "\xE2\x82\xAC"});
    row("x\xA7y\xA7z", '\xA7', {"x", "y", "z"});
    row(QByteArray(10000, 'x'), ';', {QByteArray(10000, 'x')});
    row(QByteArray(10000, ';'), ';', {});
  }
  void split() {
    QFETCH(QByteArray, text);
    QFETCH(char, delimiter);
    QFETCH(QList<QByteArray>, fields);
    const TFieldSplitter s(std::string_view(text.constData(), text.size()), delimiter);
    QCOMPARE(s.FCount, int32_t(fields.size()));
    for (int n = 1; n <= s.FCount; ++n)
      QCOMPARE(QByteArray::fromStdString(s.Field(n)), fields[n - 1]);
    QCOMPARE(s.Field(0), std::string());
    QCOMPARE(s.Field(-1), std::string());
    QCOMPARE(s.Field(s.FCount + 1), std::string());
  }

  // A long line with a trailing text: every field is found by its number.
  void manyFields() {
    QByteArray text;
    for (int i = 0; i < 5000; ++i) text += QByteArray::number(i) + ',';
    text += "end";
    const TFieldSplitter s(std::string_view(text.constData(), text.size()), ',');
    QCOMPARE(s.FCount, 5001);
    QCOMPARE(s.Field(4321), std::string("4320"));
    QCOMPARE(s.Field(5001), std::string("end"));
  }
};

QTEST_APPLESS_MAIN(tst_fieldsplitter)
#include "tst_fieldsplitter.moc"
