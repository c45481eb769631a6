// The list commands of orvex-cli as a user runs them: each row a command line,
// a list file and standard input with the output, messages and exit status
// they must give; lists longer than one read block checked against a bitset,
// a closed pipe, and standard input of any size in flat memory.
#include <QtTest>
#include <bitset>
#include <nlohmann/json.hpp>
#include <random>

#include "clirun.h"
#include "ipv4lib/ipv4.h"
#include "netsets/intervals.h"

using json = nlohmann::json;

#if defined(__SANITIZE_ADDRESS__)
#define ORVEX_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVEX_ASAN 1
#endif
#endif

namespace {

void WriteFile(const QString& path, const QByteArray& content) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  QCOMPARE(f.write(content), content.size());
}

// A folder with a.txt holding `list` and an empty folder named "folder".
struct TFolder {
  QTemporaryDir dir;
  explicit TFolder(const QByteArray& list) {
    WriteFile(dir.filePath(QStringLiteral("a.txt")), list);
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
  }
};

constexpr int kSpace = 1 << 16;  // the addresses of 10.0.0.0/16
constexpr uint32_t kBase = 0x0a000000u;
using TBits = std::bitset<kSpace>;

QByteArray Dotted(uint32_t v) {
  return QByteArray::fromStdString(ipv4(v).text());
}

// Each run of set bits as "first - last", as ranges writes them.
QStringList RunsOf(const TBits& b) {
  QStringList runs;
  for (int i = 0; i < kSpace;) {
    if (!b.test(std::size_t(i))) {
      ++i;
      continue;
    }
    int j = i;
    while (j + 1 < kSpace && b.test(std::size_t(j + 1))) ++j;
    runs << QString::fromLatin1(Dotted(kBase + uint32_t(i)) + " - " + Dotted(kBase + uint32_t(j)));
    i = j + 1;
  }
  return runs;
}

// The addresses a CIDR output holds; every network must be new and aligned.
bool BitsOfNetworks(const QStringList& lines, TBits& b) {
  for (const QString& line : lines) {
    const QStringList parts = line.split(QLatin1Char('/'));
    const ipv4 base(parts.value(0).toStdString());
    const int prefix = parts.value(1).toInt();
    if (!base.is_valid() || prefix < 16 || prefix > 32) return false;
    const uint32_t size = uint32_t(1) << (32 - prefix);
    if ((base.value() & (size - 1)) != 0) return false;
    for (uint32_t v = base.value(); v < base.value() + size; ++v) {
      if (b.test(v - kBase)) return false;
      b.set(v - kBase);
    }
  }
  return true;
}

// A list of about `lines` lines in 10.0.0.0/16: networks, addresses, ranges
// with blanks and masks, several items on some lines, comments, a bad line
// every 997th line (their numbers in `bad`), and one line longer than a read block.
QByteArray RandomList(std::mt19937& random, int lines, TBits& b, QList<int>& bad) {
  QByteArray text;
  const auto set = [&b](uint32_t first, uint32_t last) {
    for (uint32_t v = first; v <= last; ++v) b.set(v - kBase);
  };
  for (int line = 1; line <= lines; ++line) {
    if (line % 997 == 0) {
      text += "10.0." + QByteArray::number(line % 256) + ".256\n";
      bad << line;
      continue;
    }
    if (line == lines / 2) {
      // 40,000 addresses on one line: about 400 KB.
      for (int i = 0; i < 40000; ++i) {
        const uint32_t v = kBase + random() % kSpace;
        text += Dotted(v) + (i + 1 < 40000 ? ", " : "\n");
        set(v, v);
      }
      continue;
    }
    const int items = random() % 8 == 0 ? 3 : 1;
    for (int i = 0; i < items; ++i) {
      const uint32_t first = kBase + random() % kSpace;
      switch (random() % 4) {
        case 0: {
          const int prefix = 22 + int(random() % 11);
          const uint32_t host = (uint32_t(1) << (32 - prefix)) - 1;
          text += Dotted(first) + '/' + QByteArray::number(prefix);
          set(first & ~host, first | host);
          break;
        }
        case 1: {
          const uint32_t last =
              std::min<uint32_t>(kBase + kSpace - 1, first + uint32_t(random() % 300));
          text += Dotted(first) + " - " + Dotted(last);
          set(first, last);
          break;
        }
        case 2:
          text += Dotted(first & ~0xffu) + " 255.255.255.0";
          set(first & ~0xffu, first | 0xffu);
          break;
        default:
          text += Dotted(first);
          set(first, first);
      }
      text += i + 1 < items ? "; " : "";
    }
    text += random() % 50 == 0 ? "  # a remark\n" : "\n";
  }
  return text;
}

}  // namespace

class TestSetCli : public QObject {
  Q_OBJECT
 private slots:
  void commands_data();
  void commands();
  void problems_data();
  void problems();
  void jsonShapes();
  void longLists();
  void outputFile();
  void standardInputInFlatMemory();
  void overlapsOfDuplicatesInBoundedMemory();
};

// ---------------------------------------------------------------- results

void TestSetCli::commands_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QByteArray>("file");  // a.txt in the working folder
  QTest::addColumn<QByteArray>("input");
  QTest::addColumn<QByteArray>("out");
  const auto row = [](const char* name, QStringList args, QByteArray input, QByteArray out,
                      QByteArray file = QByteArray()) {
    QTest::newRow(name) << args << file << input << out;
  };
  // aggregate
  row("aggregate two halves", {"aggregate"}, "10.0.0.0/25\n10.0.0.128/25\n", "10.0.0.0/24\n");
  row("aggregate - reads standard input", {"aggregate", "-"}, "10.0.0.0/25\n10.0.0.128/25\n",
      "10.0.0.0/24\n");
  row("aggregate families, comments, separators", {"aggregate"},
      "2001:db8::/33\n# note\n\n10.0.0.1\n2001:db8:8000::/33 ; 10.0.0.2/31\n",
      "10.0.0.1/32\n10.0.0.2/31\n2001:db8::/32\n");
  row("aggregate range with blanks", {"aggregate"}, "10.0.0.1 - 10.0.0.6",
      "10.0.0.1/32\n10.0.0.2/31\n10.0.0.4/31\n10.0.0.6/32\n");
  row("aggregate CRLF, no last line break", {"aggregate"}, "10.0.0.0/25\r\n10.0.0.128/25",
      "10.0.0.0/24\n");
  row("aggregate 0.0.0.0/0", {"aggregate"}, "0.0.0.0/1\n128.0.0.0/1\n", "0.0.0.0/0\n");
  row("aggregate ::/0", {"aggregate"}, "::1\n::/0\n", "::/0\n");
  row("aggregate the last IPv6 address", {"aggregate"},
      "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe-ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff\n",
      "ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe/127\n");
  row("aggregate empty", {"aggregate"}, "", "");
  row("aggregate a file and standard input", {"aggregate", "a.txt", "-"}, "10.0.1.0/24\n",
      "10.0.0.0/23\n", "10.0.0.0/24\n");
  row("aggregate --notation mask", {"aggregate", "--notation", "mask"},
      "10.0.0.0/24\n192.168.1.128/25\n", "10.0.0.0 255.255.255.0\n192.168.1.128 255.255.255.128\n");
  row("aggregate --notation wildcard", {"aggregate", "--notation", "wildcard"}, "10.0.0.0/24\n",
      "10.0.0.0 0.0.0.255\n");
  row("aggregate --notation range", {"aggregate", "--notation", "range"},
      "10.0.0.0/24\n2001:db8::/126\n", "10.0.0.0 - 10.0.0.255\n2001:db8:: - 2001:db8::3\n");
  row("aggregate IPv6 --notation mask", {"aggregate", "--notation", "mask"}, "2001:db8::/48\n",
      "2001:db8::/48\n");
  // merge, common, exclude
  row("merge a.txt -", {"merge", "a.txt", "-"}, "10.0.0.128/25\n2001:db8::/64\n",
      "10.0.0.0/24\n2001:db8::/64\n", "10.0.0.0/25\n");
  row("merge - a.txt", {"merge", "-", "a.txt"}, "10.0.0.128/25\n", "10.0.0.0/24\n",
      "10.0.0.0/25\n");
  row("common", {"common", "a.txt", "-"}, "10.0.0.128/25\n10.0.1.0/24\n", "10.0.0.128/25\n",
      "10.0.0.0/24\n");
  row("common of disjoint lists", {"common", "a.txt", "-"}, "10.0.1.0/24\n", "", "10.0.0.0/24\n");
  row("exclude a hole", {"exclude", "a.txt", "-"}, "10.0.0.64/26\n", "10.0.0.0/26\n10.0.0.128/25\n",
      "10.0.0.0/24\n");
  row("exclude everything", {"exclude", "a.txt", "-"}, "0.0.0.0/1\n128.0.0.0/1\n", "",
      "0.0.0.0/0\n");
  row("exclude the last address", {"exclude", "a.txt", "-"}, "255.255.255.255\n",
      "255.255.255.0/25\n255.255.255.128/26\n255.255.255.192/27\n255.255.255.224/28\n"
      "255.255.255.240/29\n255.255.255.248/30\n255.255.255.252/31\n255.255.255.254/32\n",
      "255.255.255.0/24\n");
  row("exclude one family only", {"exclude", "a.txt", "-"}, "2001:db8::/32\n", "10.0.0.0/8\n",
      "10.0.0.0/8\n2001:db8::/32\n");
  // ranges
  row("ranges", {"ranges"}, "10.0.0.0/24\n10.0.1.0/24\n10.0.3.0/24\n",
      "10.0.0.0 - 10.0.1.255\n10.0.3.0 - 10.0.3.255\n");
  row("ranges of single addresses", {"ranges"}, "10.0.0.1\n10.0.0.2\n2001:db8::1\n",
      "10.0.0.1 - 10.0.0.2\n2001:db8::1 - 2001:db8::1\n");
  // Runs that touch a run read blocks earlier: 40,000 lone addresses first make
  // the set large enough to be kept apart from the latest blocks.
  QByteArray blocks = "10.0.0.0 - 10.0.0.9\n";
  for (uint32_t i = 0; i < 40000; ++i) blocks += Dotted(0x0a010000u + 2 * i) + '\n';
  for (int i = 0; i < 3; ++i) {
    blocks += QByteArray("10.1.0.0\n").repeated(20000);
    blocks += "10.0.0." + QByteArray::number(10 * i + 10) + "-10.0.0." +
              QByteArray::number(10 * i + 19) + "\n";
  }
  row("ranges touching across read blocks", {"ranges"}, blocks, [] {
    QByteArray out = "10.0.0.0 - 10.0.0.39\n";
    for (uint32_t i = 0; i < 40000; ++i)
      out += Dotted(0x0a010000u + 2 * i) + " - " + Dotted(0x0a010000u + 2 * i) + '\n';
    return out;
  }());
  QByteArray many;
  for (uint32_t i = 0; i < 40000; ++i) many += Dotted(0x0a010000u + 2 * i) + '\n';
  row("aggregate a late network over many runs", {"aggregate"},
      many + QByteArray("10.1.0.1\n").repeated(20000) + "10.2.0.0/16\n10.1.0.0/16\n",
      "10.1.0.0/16\n10.2.0.0/16\n");
  // deaggregate
  row("deaggregate 10.0.0.1-10.0.0.77", {"deaggregate", "10.0.0.1-10.0.0.77"}, "",
      "10.0.0.1/32\n10.0.0.2/31\n10.0.0.4/30\n10.0.0.8/29\n10.0.0.16/28\n10.0.0.32/27\n"
      "10.0.0.64/29\n10.0.0.72/30\n10.0.0.76/31\n");
  row("deaggregate keeps order and overlaps", {"deaggregate", "10.0.0.0/24", "10.0.0.0/25"}, "",
      "10.0.0.0/24\n10.0.0.0/25\n");
  row("deaggregate IPv6", {"deaggregate", "2001:db8::-2001:db8::ff"}, "", "2001:db8::/120\n");
  row("deaggregate standard input", {"deaggregate"}, "192.168.0.0 - 192.168.3.255\n",
      "192.168.0.0/22\n");
  row("deaggregate a file and an argument", {"deaggregate", "a.txt", "10.0.0.9"}, "",
      "10.0.0.0/31\n10.0.0.2/32\n10.0.0.9/32\n", "10.0.0.0-10.0.0.2\n");
  row("deaggregate --notation wildcard",
      {"deaggregate", "--notation", "wildcard", "10.0.0.0-10.0.0.5"}, "",
      "10.0.0.0 0.0.0.3\n10.0.0.4 0.0.0.1\n");
  // summary
  row("summary", {"summary"}, "10.0.0.0/24\n10.0.3.0/24\n",
      "10.0.0.0/22 holds 1024 addresses, 512 listed, 512 added\n");
  row("summary of both ends", {"summary"}, "0.0.0.0\n255.255.255.255\n",
      "0.0.0.0/0 holds 4294967296 addresses, 2 listed, 4294967294 added\n");
  row("summary ::/0", {"summary"}, "::/0\n",
      "::/0 holds 340282366920938463463374607431768211456 addresses, "
      "340282366920938463463374607431768211456 listed, 0 added\n");
  row("summary per family", {"summary"}, "10.0.0.1\n2001:db8::1\n2001:db8::2\n",
      "10.0.0.1/32 holds 1 addresses, 1 listed, 0 added\n"
      "2001:db8::/126 holds 4 addresses, 2 listed, 2 added\n");
  row("summary --notation mask", {"summary", "--notation", "mask"}, "10.0.0.0/24\n10.0.1.0/24\n",
      "10.0.0.0 255.255.254.0 holds 512 addresses, 512 listed, 0 added\n");
  row("summary empty", {"summary"}, "# nothing\n", "");
  // overlaps
  row("overlaps every relation", {"overlaps"},
      "10.0.0.0/24\n10.0.0.128/25\n10.0.0.0/24\n10.0.0.100-10.0.1.5\n10.0.2.0/24\n",
      "1: 10.0.0.0/24 contains 2: 10.0.0.128/25\n"
      "1: 10.0.0.0/24 duplicate 3: 10.0.0.0/24\n"
      "1: 10.0.0.0/24 overlaps 4: 10.0.0.100-10.0.1.5\n"
      "2: 10.0.0.128/25 inside 3: 10.0.0.0/24\n"
      "2: 10.0.0.128/25 inside 4: 10.0.0.100-10.0.1.5\n"
      "3: 10.0.0.0/24 overlaps 4: 10.0.0.100-10.0.1.5\n");
  row("overlaps on one line", {"overlaps"}, "10.0.0.0 255.255.255.0, 10.0.0.5\n",
      "1: 10.0.0.0 255.255.255.0 contains 1: 10.0.0.5\n");
  row("overlaps of two files", {"overlaps", "a.txt", "-"}, "# first\n10.1.0.0/16\n",
      "a.txt:1: 10.0.0.0/8 contains (standard input):2: 10.1.0.0/16\n", "10.0.0.0/8\n");
  row("overlaps of a file and itself", {"overlaps", "a.txt", "a.txt"}, "",
      "a.txt:1: 10.0.0.0/8 duplicate a.txt:1: 10.0.0.0/8\n", "10.0.0.0/8\n");
}

void TestSetCli::commands() {
  QFETCH(QStringList, args);
  QFETCH(QByteArray, file);
  QFETCH(QByteArray, input);
  QFETCH(QByteArray, out);
  TFolder folder(file);
  const TRun r = Run(args, input, folder.dir.path());
  QCOMPARE(r.err, QByteArray());
  QCOMPARE(r.out, out);
  QCOMPARE(r.status, 0);
}

// ---------------------------------------------------------------- problems

void TestSetCli::problems_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QByteArray>("input");
  QTest::addColumn<QByteArray>("out");
  QTest::addColumn<QStringList>("err");
  QTest::addColumn<int>("status");
  const auto row = [](const char* name, QStringList args, QByteArray file, QByteArray input,
                      QByteArray out, QStringList err, int status) {
    QTest::newRow(name) << args << file << input << out << err << status;
  };
  row("bad line on standard input", {"aggregate"}, "", "10.0.0.0/24\n10.0.0.300\n10.0.1.0/24\n",
      "10.0.0.0/23\n",
      {"orvex-cli: aggregate: (standard input):2: '10.0.0.300': not an IPv4 or IPv6 address"}, 1);
  row("--lenient", {"aggregate", "--lenient"}, "", "10.0.0.0/24\n10.0.0.300\n10.0.1.0/24\n",
      "10.0.0.0/23\n",
      {"orvex-cli: aggregate: (standard input):2: '10.0.0.300': not an IPv4 or IPv6 address"}, 0);
  row("lines of a file", {"aggregate", "a.txt"}, "x\n\n10.0.0.9 - 10.0.0.1\n10.0.0.0/33\n", "", "",
      {"orvex-cli: aggregate: a.txt:1: 'x': not an IPv4 or IPv6 address",
       "orvex-cli: aggregate: a.txt:3: '10.0.0.9 - 10.0.0.1': range given backwards",
       "orvex-cli: aggregate: a.txt:4: '10.0.0.0/33': prefix length must be 0-32"},
      1);
  row("one bad item among good ones", {"ranges"}, "", "10.0.0.1, 10.0.0.1-::1; 10.0.0.2\n",
      "10.0.0.1 - 10.0.0.2\n",
      {"orvex-cli: ranges: (standard input):1: '10.0.0.1-::1': range mixes IPv4 and IPv6"}, 1);
  row("problems of A and B", {"exclude", "a.txt", "-"}, "10.0.0.0/24\nbad\n",
      "\n\n2001:db8::/129\n", "10.0.0.0/24\n",
      {"orvex-cli: exclude: a.txt:2: 'bad': not an IPv4 or IPv6 address",
       "orvex-cli: exclude: (standard input):3: '2001:db8::/129': prefix length must be 0-128"},
      1);
  row("overlaps counts lines per file", {"overlaps", "a.txt", "-"}, "10.0.0.0/8\n",
      "10.1.0.0/16\nfe80::1%eth0\n",
      "a.txt:1: 10.0.0.0/8 contains (standard input):1: 10.1.0.0/16\n",
      {"orvex-cli: overlaps: (standard input):2: 'fe80::1%eth0': an address with a zone is no "
       "network"},
      1);
  row("deaggregate: no such file either", {"deaggregate", "10.0.0.0/31", "lst.txt"}, "", "",
      "10.0.0.0/31\n",
      {"orvex-cli: deaggregate: argument 2: 'lst.txt': not an IPv4 or IPv6 address, nor a file"},
      1);
  row("deaggregate: range backwards", {"deaggregate", "10.0.0.9-10.0.0.1"}, "", "", "",
      {"orvex-cli: deaggregate: argument 1: '10.0.0.9-10.0.0.1': range given backwards, nor a "
       "file"},
      1);
  row("missing file", {"aggregate", "nosuch.txt"}, "", "", "",
      {"orvex-cli: aggregate: Couldn't read nosuch.txt: No such file or directory"}, 2);
  row("missing file after a good one", {"summary", "a.txt", "nosuch.txt"}, "10.0.0.0/8\n", "", "",
      {"orvex-cli: summary: Couldn't read nosuch.txt: No such file or directory"}, 2);
  row("a folder", {"merge", "a.txt", "folder"}, "10.0.0.0/8\n", "", "",
      {"orvex-cli: merge: Couldn't read folder: Is a directory"}, 2);
  row("A and B both standard input", {"common", "-", "-"}, "", "", "",
      {"orvex-cli: only one of A and B can be standard input",
       "Usage: orvex-cli common [OPTIONS] A B",
       "Run 'orvex-cli common --help' for more information."},
      2);
  row("B missing", {"exclude", "a.txt"}, "", "", "",
      {"orvex-cli: B is required", "Usage: orvex-cli exclude [OPTIONS] A B",
       "Run 'orvex-cli exclude --help' for more information."},
      2);
  row("unknown notation", {"aggregate", "--notation", "plain"}, "", "", "",
      {"orvex-cli: --notation: plain not in {cidr,mask,wildcard,range}",
       "Usage: orvex-cli aggregate [OPTIONS] [FILE...]",
       "Run 'orvex-cli aggregate --help' for more information."},
      2);
  row("ranges take no notation", {"ranges", "--notation", "mask"}, "", "", "",
      {"orvex-cli: The following argument was not expected: --notation",
       "Usage: orvex-cli ranges [OPTIONS] [FILE...]",
       "Run 'orvex-cli ranges --help' for more information."},
      2);
}

void TestSetCli::problems() {
  QFETCH(QStringList, args);
  QFETCH(QByteArray, file);
  QFETCH(QByteArray, input);
  QFETCH(QByteArray, out);
  QFETCH(QStringList, err);
  QFETCH(int, status);
  TFolder folder(file);
  const TRun r = Run(args, input, folder.dir.path());
  QCOMPARE(Lines(r.err), err);
  QCOMPARE(r.out, out);
  QCOMPARE(r.status, status);
}

// ---------------------------------------------------------------- JSON

void TestSetCli::jsonShapes() {
  TFolder folder("10.0.0.0/8\n");
  const QString dir = folder.dir.path();
  const auto objects = [&](const QStringList& args, const QByteArray& input) {
    const TRun r = Run(args + QStringList{"--json"}, input, dir);
    std::vector<json> out;
    for (const QString& line : Lines(r.out)) out.push_back(json::parse(line.toStdString()));
    return out;
  };
  // Networks: the same keys whatever the notation.
  auto j = objects({"aggregate", "--notation", "mask"}, "10.0.0.0/31\n2001:db8::/127\n");
  QCOMPARE(j.size(), std::size_t(2));
  QCOMPARE(
      j[0],
      json({{"network", "10.0.0.0"}, {"prefix", 31}, {"first", "10.0.0.0"}, {"last", "10.0.0.1"}}));
  QCOMPARE(j[1], json({{"network", "2001:db8::"},
                       {"prefix", 127},
                       {"first", "2001:db8::"},
                       {"last", "2001:db8::1"}}));
  // Counts: numbers up to 2^53, then strings of digits.
  j = objects({"ranges"}, "2001:db8::/75\n2001:db9::/74\n");
  QCOMPARE(j.size(), std::size_t(2));
  QCOMPARE(j[0]["addresses"], json(9007199254740992u));
  QCOMPARE(j[1]["addresses"], json("18014398509481984"));
  QCOMPARE(j[1]["first"], "2001:db9::");
  QCOMPARE(j[1]["last"], "2001:db9::3f:ffff:ffff:ffff");
  j = objects({"summary"}, "10.0.0.0/24\n10.0.3.0/24\n::/0\n");
  QCOMPARE(j.size(), std::size_t(2));
  QCOMPARE(j[0], json({{"network", "10.0.0.0"},
                       {"prefix", 22},
                       {"addresses", 1024},
                       {"listed", 512},
                       {"added", 512}}));
  QCOMPARE(j[1]["addresses"], json("340282366920938463463374607431768211456"));
  QCOMPARE(j[1]["added"], json(0));
  // Overlaps: the items as written; file names only when several lists are given.
  j = objects({"overlaps"}, "10.0.0.0 255.255.255.0\n\n10.0.0.7\n");
  QCOMPARE(j.size(), std::size_t(1));
  QCOMPARE(j[0], json({{"first_line", 1},
                       {"second_line", 3},
                       {"first", "10.0.0.0 255.255.255.0"},
                       {"second", "10.0.0.7"},
                       {"relation", "contains"}}));
  j = objects({"overlaps", "-", "a.txt"}, "10.0.0.0/8\n");
  QCOMPARE(j.size(), std::size_t(1));
  QCOMPARE(j[0], json({{"first_file", "(standard input)"},
                       {"first_line", 1},
                       {"second_file", "a.txt"},
                       {"second_line", 1},
                       {"first", "10.0.0.0/8"},
                       {"second", "10.0.0.0/8"},
                       {"relation", "duplicate"}}));
  // A problem leaves standard output valid JSON.
  const TRun r = Run({"deaggregate", "--json", "10.0.0.0-10.0.0.2", "x"}, "", dir);
  QCOMPARE(r.status, 1);
  QCOMPARE(Lines(r.out).size(), 2);
  for (const QString& line : Lines(r.out)) QVERIFY(json::accept(line.toStdString()));
}

// ---------------------------------------------------------------- long lists

void TestSetCli::longLists() {
  // Lists several read blocks long, read from a file and through a pipe: the
  // sets are exact and the problems keep their line numbers across blocks.
  std::mt19937 random(20261209);
  TBits a, b;
  QList<int> badA, badB;
  const QByteArray listA = RandomList(random, 30000, a, badA);
  const QByteArray listB = RandomList(random, 20000, b, badB);
  QVERIFY(listA.size() > 1000000);
  TFolder folder(listA);
  const QString dir = folder.dir.path();
  WriteFile(dir + "/b.txt", listB);

  QStringList expectedErr;
  for (int line : badA)
    expectedErr << QString(
                       "orvex-cli: ranges: a.txt:%1: '10.0.%2.256': not an IPv4 or IPv6 address")
                       .arg(line)
                       .arg(line % 256);
  TRun r = Run({"ranges", "a.txt"}, "", dir);
  QCOMPARE(r.status, 1);
  QCOMPARE(Lines(r.out), RunsOf(a));
  QCOMPARE(Lines(r.err), expectedErr);
  r = Run({"ranges"}, listA, dir);
  QCOMPARE(Lines(r.out), RunsOf(a));
  QCOMPARE(Lines(r.err).size(), badA.size());
  QVERIFY(Lines(r.err).last().contains(QString("(standard input):%1:").arg(badA.last())));

  const struct {
    const char* command;
    TBits want;
  } cases[] = {{"aggregate", a | b}, {"merge", a | b}, {"common", a & b}, {"exclude", a & ~b}};
  for (const auto& c : cases) {
    const QStringList args = QString(c.command) == "aggregate"
                                 ? QStringList{c.command, "a.txt", "-"}
                                 : QStringList{c.command, "a.txt", "-", "--lenient"};
    r = Run(args, listB, dir);
    QCOMPARE(r.status, QString(c.command) == "aggregate" ? 1 : 0);
    TBits got;
    QVERIFY2(BitsOfNetworks(Lines(r.out), got), c.command);
    QVERIFY2(got == c.want, c.command);
    // The fewest networks: as many as the runs split into.
    std::vector<netsets::network<uint32_t>> fewest;
    for (const QString& run : RunsOf(c.want)) {
      const QStringList ends = run.split(" - ");
      netsets::append_networks(ipv4(ends[0].toStdString()).value(),
                               ipv4(ends[1].toStdString()).value(), fewest);
    }
    QCOMPARE(Lines(r.out).size(), qsizetype(fewest.size()));
  }
}

// ---------------------------------------------------------------- streams

void TestSetCli::outputFile() {
  TFolder folder("10.0.0.0/25\nbad\n10.0.0.128/25\n");
  const QString dir = folder.dir.path();
  WriteFile(dir + "/out.txt", "old\n");
  // Lines ignored: the result is still written, the status says so.
  TRun r = Run({"aggregate", "a.txt", "-o", "out.txt"}, "", dir);
  QCOMPARE(r.status, 1);
  QCOMPARE(r.out, QByteArray());
  QFile f(dir + "/out.txt");
  QVERIFY(f.open(QIODevice::ReadOnly));
  QCOMPARE(f.readAll(), QByteArray("10.0.0.0/24\n"));
  f.close();
  // An unreadable list leaves the old file and no temporary file.
  r = Run({"merge", "a.txt", "nosuch.txt", "-o", "out.txt"}, "", dir);
  QCOMPARE(r.status, 2);
  QVERIFY(f.open(QIODevice::ReadOnly));
  QCOMPARE(f.readAll(), QByteArray("10.0.0.0/24\n"));
  QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList({"a.txt", "out.txt"}));
}

void TestSetCli::standardInputInFlatMemory() {
  // 2,097,152 lines (27 MB) through a pipe: the memory of the set, not the text.
  QProcess p;
  p.start(QStringLiteral("bash"),
          {"-c",
           "\"$0\" subnets 10.0.0.0/11 32 | cut -d' ' -f1 | \"$0\" aggregate & "
           "echo $!; wait $!",
           ORVEX_CLI});
  QVERIFY(p.waitForReadyRead(10000));
  const QString status = QStringLiteral("/proc/%1/status").arg(QString(p.readLine()).trimmed());
  qint64 peakKiB = 0;
  while (!p.waitForFinished(20)) {
    QFile f(status);
    if (!f.open(QIODevice::ReadOnly)) continue;
    for (const QByteArray& line : f.readAll().split('\n'))
      if (line.startsWith("VmHWM:"))
        peakKiB = line.mid(6).trimmed().split(' ').first().toLongLong();
  }
  QCOMPARE(p.exitCode(), 0);
  QCOMPARE(p.readAll(), QByteArray("10.0.0.0/11\n"));
  QVERIFY(peakKiB > 0);
#if defined(ORVEX_ASAN)
  // The sanitizer holds freed blocks back to catch late uses: no bound.
  QSKIP("peak memory is not bounded under the address sanitizer");
#endif
  QVERIFY2(peakKiB < 24 * 1024, qPrintable(QString::number(peakKiB)));
}

void TestSetCli::overlapsOfDuplicatesInBoundedMemory() {
  // 3,000 copies of one network: 4,498,500 pairs, 72 MB were they all held
  // before the first is written.
  QTemporaryDir dir;
  QByteArray list;
  for (int i = 0; i < 3000; ++i) list += "10.0.0.0/24\n";
  WriteFile(dir.filePath("dup.txt"), list);
  QProcess p;
  p.setStandardOutputFile(QProcess::nullDevice());
  p.start(QStringLiteral(ORVEX_CLI), {"overlaps", dir.filePath("dup.txt")});
  QVERIFY(p.waitForStarted());
  const QString status = QStringLiteral("/proc/%1/status").arg(p.processId());
  qint64 peakKiB = 0;
  while (!p.waitForFinished(10)) {
    QFile f(status);
    if (!f.open(QIODevice::ReadOnly)) continue;
    for (const QByteArray& line : f.readAll().split('\n'))
      if (line.startsWith("VmHWM:"))
        peakKiB = line.mid(6).trimmed().split(' ').first().toLongLong();
  }
  QCOMPARE(p.exitCode(), 0);
  QVERIFY(peakKiB > 0);
#if defined(ORVEX_ASAN)
  QSKIP("peak memory is not bounded under the address sanitizer");
#endif
  QVERIFY2(peakKiB < 48 * 1024, qPrintable(QString::number(peakKiB)));
}

QTEST_GUILESS_MAIN(TestSetCli)
#include "tst_setcli.moc"
