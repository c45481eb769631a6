// orvex-cli as a user runs it: each row an argument list (and standard input)
// with the output, message and exit status it must give; the worked examples
// of the tools, bad inputs, usage errors, JSON and CSV, a closed pipe, atomic
// -o targets, and 1,000 random networks checked against the address library.
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <QtTest>
#include <nlohmann/json.hpp>
#include <random>

#include "clirun.h"
#include "hostlist/hostlistfile.h"
#include "hostlist/hostlistmodel.h"
#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4host.h"

using json = nlohmann::json;

namespace {

json ParseJson(const QByteArray& text) {
  return json::parse(text.constData(), text.constData() + text.size());
}

QString Dotted(uint32_t v) {
  return QString::fromStdString(ipv4(v).text());
}

QByteArray FileContent(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// Files in a folder other than the given ones: a left-over temporary file.
QStringList OtherFiles(const QString& folder, const QStringList& expected) {
  QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& e : expected) files.removeAll(e);
  return files;
}

// The host list file the editor would save, with the date line given.
QByteArray EditorFile(const QString& network, char delimiter, int limit) {
  THostListModel model;
  model.Generate(HostListNetwork(network), limit);
  THostListSave how;
  how.delimiter = delimiter;
  how.when = QDateTime(QDate(2026, 1, 2), QTime(3, 4));
  QByteArray out;
  WriteHostList(model, how, [&out](const char* data, std::size_t size) {
    out.append(data, qsizetype(size));
    return true;
  });
  return out;
}

// The second line (the date of saving) replaced by a fixed one.
QByteArray WithFixedDate(QByteArray file) {
  const qsizetype first = file.indexOf('\n');
  const qsizetype second = file.indexOf('\n', first + 1);
  if (first < 0 || second < 0) return file;
  return file.replace(first + 1, second - first - 1, "Date: 02.01.26 03:04");
}

}  // namespace

class TestCli : public QObject {
  Q_OBJECT
 private slots:
  void calc_data();
  void calc();
  void calcJson_data();
  void calcJson();
  void calcStream_data();
  void calcStream();
  void calcAnswersEachLine();
  void ipv6_data();
  void ipv6();
  void ipv6Json_data();
  void ipv6Json();
  void ipv6Stream();
  void subnets_data();
  void subnets();
  void masks_data();
  void masks();
  void integer_data();
  void integer();
  void integerJson();
  void hosts_data();
  void hosts();
  void hostsNames();
  void badInput_data();
  void badInput();
  void help_data();
  void help();
  void closedPipe_data();
  void closedPipe();
  void outputFile();
  void outputFileFailures_data();
  void outputFileFailures();
  void fullDisk();
  void subnetsStreamInFlatMemory();
  void randomNetworks();
  void plan_data();
  void plan();
  void planJson();
  void planFile_data();
  void planFile();
};

// ---------------------------------------------------------------- calc

void TestCli::calc_data() {
  QTest::addColumn<QStringList>("args");
  // Lines that must be in the output; "!" before a text: no line starts with it.
  QTest::addColumn<QStringList>("lines");
  const auto row = [](const char* name, QStringList args, QStringList lines) {
    QTest::newRow(name) << (QStringList{"calc"} + args) << lines;
  };
  row("192.168.1.10 255.255.255.0", {"192.168.1.10", "255.255.255.0"},
      {"Network:            192.168.1.0  255.255.255.0", "Supernet Mask:      255.255.255.0",
       "Host Addr. Range:   192.168.1.1 - 192.168.1.254  (254 addresses)",
       "Broadcast Address:  192.168.1.255", "Next Network Addr.: 192.168.2.0",
       "DNS PTR Record:     10.1.168.192.in-addr.arpa", "Address in IPv6:    ::FFFF:C0A8:10A",
       "Remarks:            Class C base, private (RFC1918) network",
       "Address Block:      192.168.0.0/16", "Usage:              Private-Use",
       "Reference:          RFC1918", "!Multicast MAC"});
  row("10.1.2.3/16", {"10.1.2.3/16"},
      {"Network:            10.1.0.0  255.255.0.0",
       "Host Addr. Range:   10.1.0.1 - 10.1.255.254  (65534 addresses)",
       "Next Network Addr.: 10.2.0.0", "Address in IPv6:    ::FFFF:A01:203",
       "Remarks:            Class A base, 8 bit subnetting, private (RFC1918) network"});
  row("mask in the address wins over MASK", {"10.1.2.3/16", "255.255.255.0"},
      {"Network:            10.1.0.0  255.255.0.0"});
  row("address and mask in one argument", {"10.1.2.3 255.255.0.0"},
      {"Network:            10.1.0.0  255.255.0.0"});
  row("172.16.5.4 255.240.0.0", {"172.16.5.4", "255.240.0.0"},
      {"Supernet Mask:      255.240.0.0",
       "Remarks:            Class B base, Supernet, private (RFC1918) network"});
  row("192.168.0.0/24 supernet", {"192.168.0.0/24"}, {"Supernet Mask:      255.248.0.0"});
  row("10.0.0.0/24 supernet", {"10.0.0.0/24"}, {"Supernet Mask:      254.0.0.0"});
  row("10.0.0.0/24 without class A supernets", {"10.0.0.0/24", "--no-class-a-supernets"},
      {"Supernet Mask:      255.0.0.0"});
  row("128.0.0.0/16 supernet", {"128.0.0.0/16"}, {"Supernet Mask:      255.254.0.0"});
  row("192.168.1.0/31", {"192.168.1.0", "255.255.255.254"},
      {"Host Addr. Range:   192.168.1.0 - 192.168.1.1  (2 addresses)", "Broadcast Address:  n.a.",
       "Next Network Addr.: 192.168.1.2",
       "Remarks:            Class C base, 7 bit subnetting, private (RFC1918) network, RFC3021 "
       "point to point network"});
  row("127.0.0.1/8", {"127.0.0.1/8"}, {"Remarks:            Local Host"});
  row("127.0.0.1/16", {"127.0.0.1/16"}, {"Remarks:            Local Host, Subnet"});
  row("169.254.3.4/16", {"169.254.3.4/16"},
      {"Remarks:            Class B base, APIPA (Link Local) network",
       "Address Block:      169.254.0.0/16"});
  row("192.168.1.10/32", {"192.168.1.10/32"},
      {"Remarks:            Class C host address", "!Network", "!Host Addr. Range"});
  row("192.168.1.255/32", {"192.168.1.255/32"}, {"Remarks:            Class C broadcast address"});
  row("127.0.0.1/32", {"127.0.0.1/32"}, {"Remarks:            Local Host host address"});
  row("0.0.0.0/32", {"0.0.0.0/32"}, {"Remarks:            255.255.255.255 network address"});
  row("0.0.0.0/8", {"0.0.0.0", "255.0.0.0"},
      {"Remarks:            \"This network.\"", "!Network", "Address Block:      0.0.0.0/8"});
  row("10.0.0.0 128.0.0.0", {"10.0.0.0", "128.0.0.0"},
      {"Remarks:            Class A supernet is too big.", "!Network"});
  row("224.0.0.5 without class D networks", {"224.0.0.5", "/24", "--no-class-de"},
      {"Remarks:            Multicast reserved link local address, MAC: 01:00:5E:00:00:05",
       "Multicast MAC:      01:00:5E:00:00:05", "!Network"});
  row("224.0.0.5/24", {"224.0.0.5/24"},
      {"Network [MAC]:      224.0.0.0  255.255.255.0 [01:00:5E:00:00:00]",
       "Host Addr. Range:   n.a.  (254 addresses)", "Broadcast Address:  n.a.",
       "Remarks:            Multicast reserved link local address",
       "                    MAC: 01:00:5E:00:00:05", "Address Block:      224.0.0.0/24"});
  row("224.0.0.5 128.0.0.0", {"224.0.0.5", "128.0.0.0"},
      {"Remarks:            Supernet exceeds multicast range.", "!Network",
       "Multicast MAC:      01:00:5E:00:00:05"});
  row("224.0.0.5/32: a group under the host mask keeps its MAC", {"224.0.0.5/32"},
      {"Multicast MAC:      01:00:5E:00:00:05", "!Network"});
  row("233.1.2.3/24 GLOP", {"233.1.2.3/24", "--mac-format", "dash"},
      {"Remarks:            Multicast GLOP address, BGP AS# 258",
       "Multicast MAC:      01-00-5E-01-02-03"});
  row("240.0.0.1/24 without class E networks", {"240.0.0.1/24", "--no-class-de"},
      {"Remarks:            Classe E, for experimental purposes only."});
  row("240.0.0.1/24", {"240.0.0.1/24"}, {"Remarks:            Class E address."});
  row("mask 100 hosts", {"10.0.0.0", "100"}, {"Network:            10.0.0.0  255.255.255.128"});
  row("mask 0 hosts", {"10.0.0.0", "0"}, {"Network:            10.0.0.0  255.255.255.252"});
  row("mask /24", {"10.0.0.0", "/24"}, {"Network:            10.0.0.0  255.255.255.0"});
  row("wildcard mask", {"10.0.0.0", "0.0.0.255"}, {"Network:            10.0.0.0  255.255.255.0"});
  row("blanks around the address", {" 10.0.0.1 ", "/8"},
      {"Network:            10.0.0.0  255.0.0.0"});
  row("nested blocks: the later one", {"192.0.0.1/32"}, {"Address Block:      192.0.0.0/29"});
  row("no special block", {"8.8.8.8/24"}, {"!Address Block"});
  row("subnet table", {"192.168.1.0/24", "--table"},
      {"Potential Subnetworks in Base: 255.255.255.0", "255.255.255.0    /24            1    254",
       "255.255.255.192  /26            4     62", "255.255.255.254  /31          128      2"});
  row("subnet table to /30", {"192.168.1.0/24", "--table", "--no-rfc3021"},
      {"255.255.255.252  /30           64      2", "!255.255.255.254"});
}

// Runs the row and finds its lines in the output (absent for "!").
static void RunAndFindLines() {
  QFETCH(QStringList, args);
  QFETCH(QStringList, lines);
  const TRun r = Run(args);
  QCOMPARE(r.err, QByteArray());
  QCOMPARE(r.status, 0);
  const QStringList out = Lines(r.out);
  for (const QString& line : lines) {
    if (line.startsWith(QLatin1Char('!'))) {
      for (const QString& o : out) QVERIFY2(!o.startsWith(line.mid(1)), qPrintable(o));
    } else {
      QVERIFY2(out.contains(line), qPrintable(line + QStringLiteral("\nin\n") + out.join('\n')));
    }
  }
}

void TestCli::calc() {
  RunAndFindLines();
}

void TestCli::calcJson_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QByteArray>("expected");  // the whole object
  QTest::newRow("10.1.2.3/16")
      << QStringList{"10.1.2.3/16"}
      << QByteArray(R"({"input":"10.1.2.3/16","address":"10.1.2.3","mask":"255.255.0.0",
        "prefix":16,"wildcard":"0.0.255.255","network":"10.1.0.0","supernet_mask":"255.255.0.0",
        "first_host":"10.1.0.1","last_host":"10.1.255.254","hosts":65534,"addresses":65536,
        "broadcast":"10.1.255.255","next_network":"10.2.0.0","ptr":"3.2.1.10.in-addr.arpa",
        "ipv6":"::FFFF:A01:203",
        "remarks":"Class A base, 8 bit subnetting, private (RFC1918) network",
        "special":{"block":"10.0.0.0/8","usage":"Private-Use","reference":"RFC1918"},
        "multicast_mac":null})");
  QTest::newRow("224.0.0.5/24")
      << QStringList{"224.0.0.5/24"}
      << QByteArray(R"({"input":"224.0.0.5/24","address":"224.0.0.5","mask":"255.255.255.0",
        "prefix":24,"wildcard":"0.0.0.255","network":"224.0.0.0","supernet_mask":"224.0.0.0",
        "first_host":null,"last_host":null,"hosts":254,"addresses":256,"broadcast":null,
        "next_network":"224.0.1.0","ptr":"5.0.0.224.in-addr.arpa","ipv6":"::FFFF:E000:5",
        "remarks":"Multicast reserved link local address\nMAC: 01:00:5E:00:00:05",
        "special":{"block":"224.0.0.0/24","usage":"Local Network Control Block",
        "reference":"RFC5771"},"multicast_mac":"01:00:5E:00:00:05"})");
  QTest::newRow("0.0.0.0/8: quotes in remark and usage")
      << QStringList{"0.0.0.0/8"}
      << QByteArray(R"({"input":"0.0.0.0/8","address":"0.0.0.0","mask":"255.0.0.0","prefix":8,
        "wildcard":"0.255.255.255","network":null,"supernet_mask":null,"first_host":null,
        "last_host":null,"hosts":null,"addresses":16777216,"broadcast":null,"next_network":null,
        "ptr":null,"ipv6":null,"remarks":"\"This network.\"",
        "special":{"block":"0.0.0.0/8","usage":"\"This network\"","reference":"RFC791"},
        "multicast_mac":null})");
  QTest::newRow("8.8.8.8/31 with its subnet table")
      << QStringList{"8.8.8.8/31", "--table"}
      << QByteArray(R"({"input":"8.8.8.8/31","address":"8.8.8.8","mask":"255.255.255.254",
        "prefix":31,"wildcard":"0.0.0.1","network":"8.8.8.8","supernet_mask":"255.255.255.248",
        "first_host":"8.8.8.8","last_host":"8.8.8.9","hosts":2,"addresses":2,"broadcast":null,
        "next_network":"8.8.8.10","ptr":"8.8.8.8.in-addr.arpa","ipv6":"::FFFF:808:808",
        "remarks":"Class A base, 23 bit subnetting, RFC3021 point to point network",
        "special":null,"multicast_mac":null,"subnet_table":[]})");
}

void TestCli::calcJson() {
  QFETCH(QStringList, args);
  QFETCH(QByteArray, expected);
  const TRun r = Run(QStringList{"calc", "--json"} + args);
  QCOMPARE(r.status, 0);
  QCOMPARE(r.out.count('\n'), 1);
  // Compared as documents, keys in order.
  QCOMPARE(QByteArray::fromStdString(nlohmann::ordered_json::parse(r.out.constData()).dump()),
           QByteArray::fromStdString(nlohmann::ordered_json::parse(expected.constData()).dump()));
}

void TestCli::calcStream_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QByteArray>("input");
  QTest::addColumn<int>("status");
  QTest::addColumn<QStringList>("lines");  // standard output
  QTest::addColumn<QByteArray>("err");     // in standard error
  const QByteArray mixed = "10.0.0.1/8\r\nabc\n\n  192.168.1.1 255.255.255.0\n172.16.0.1";
  QTest::newRow("json lines, a bad line in the middle")
      << QStringList{"--json"} << mixed << 1
      << QStringList{R"({"input":"10.0.0.1/8","address":"10.0.0.1")",
                     R"({"input":"abc","error":"'abc' is not a valid IP address."})",
                     R"({"input":"192.168.1.1 255.255.255.0","address":"192.168.1.1")",
                     R"({"input":"172.16.0.1","error":"'172.16.0.1': no network mask; give MASK, a /prefix or a mask after a blank"})"}
      << QByteArray(
             "orvex-cli: calc: line 2: 'abc' is not a valid IP address.\n"
             "orvex-cli: calc: line 5:");
  QTest::newRow("text, MASK for lines without one")
      << QStringList{"/16"} << mixed << 1
      << QStringList{"10.0.0.1/8: Network: 10.0.0.0  255.0.0.0; Supernet Mask: 254.0.0.0; "
                     "Host Addr. Range: 10.0.0.1 - 10.255.255.254  (16777214 addresses); "
                     "Broadcast Address: 10.255.255.255; Next Network Addr.: 11.0.0.0; "
                     "DNS PTR Record: 1.0.0.10.in-addr.arpa; Address in IPv6: ::FFFF:A00:1; "
                     "Remarks: Class A base, private (RFC1918) network; "
                     "Address Block: 10.0.0.0/8; Usage: Private-Use; Reference: RFC1918",
                     "192.168.1.1 255.255.255.0: Network: 192.168.1.0  255.255.255.0",
                     "172.16.0.1: Network: 172.16.0.0  255.255.0.0"}
      << QByteArray("line 2: 'abc' is not a valid IP address.");
  QTest::newRow("csv, the bad line in the error column")
      << QStringList{"--csv"} << QByteArray("1.2.3.4/24\nx,y\n") << 1
      << QStringList{"input,address,mask,prefix,wildcard,network,supernet_mask,first_host,"
                     "last_host,hosts,addresses,broadcast,next_network,ptr,ipv6,remarks,"
                     "special_block,special_usage,special_reference,multicast_mac,error",
                     "1.2.3.4/24,1.2.3.4,255.255.255.0,24,0.0.0.255,1.2.3.0,255.255.255.0,1.2.3.1,"
                     "1.2.3.254,254,256,1.2.3.255,1.2.4.0,4.3.2.1.in-addr.arpa,::FFFF:102:304,"
                     "\"Class A base, 16 bit subnetting\",,,,,",
                     "\"x,y\",,,,,,,,,,,,,,,,,,,,\"'x,y' is not a valid IP address.\""}
      << QByteArray("line 2:");
  QTest::newRow("a multicast remark stays on one line")
      << QStringList{} << QByteArray("239.1.2.3/24\n") << 0
      << QStringList{"239.1.2.3/24: Network [MAC]: 239.1.2.0  255.255.255.0 [01:00:5E:01:02:00]; "
                     "Supernet Mask: 255.255.254.0; Host Addr. Range: n.a.  (254 addresses); "
                     "Broadcast Address: n.a.; Next Network Addr.: 239.1.3.0; "
                     "DNS PTR Record: 3.2.1.239.in-addr.arpa; Address in IPv6: ::FFFF:EF01:203; "
                     "Remarks: Multicast limited scope address, MAC: 01:00:5E:01:02:03; "
                     "Address Block: 239.0.0.0/8; Usage: Administratively Scoped Block; "
                     "Reference: RFC2365; Multicast MAC: 01:00:5E:01:02:03"}
      << QByteArray();
  QTest::newRow("empty input") << QStringList{"--json"} << QByteArray() << 0 << QStringList{}
                               << QByteArray();
}

void TestCli::calcStream() {
  QFETCH(QStringList, args);
  QFETCH(QByteArray, input);
  QFETCH(int, status);
  QFETCH(QStringList, lines);
  QFETCH(QByteArray, err);
  const TRun r = Run(QStringList{"calc", "-"} + args, input);
  QCOMPARE(r.status, status);
  QVERIFY2(r.err.contains(err), r.err.constData());
  const QStringList out = Lines(r.out);
  QCOMPARE(out.size(), lines.size());
  for (int i = 0; i < out.size(); ++i) QVERIFY2(out[i].startsWith(lines[i]), qPrintable(out[i]));
}

void TestCli::calcAnswersEachLine() {
  // Input that comes line by line is answered line by line, not at its end.
  QProcess p;
  p.start(QStringLiteral(ORVEX_CLI), {"calc", "-", "--json"});
  QVERIFY(p.waitForStarted());
  for (const char* line : {"10.0.0.1/8\n", "192.168.7.7/24\n"}) {
    p.write(line);
    QVERIFY(p.waitForReadyRead(10000));
    QVERIFY(p.readAllStandardOutput().startsWith(QByteArray("{\"input\":\"") +
                                                 QByteArray(line).trimmed()));
  }
  p.closeWriteChannel();
  QVERIFY(p.waitForFinished(10000));
  QCOMPARE(p.exitCode(), 0);
}

// ---------------------------------------------------------------- ipv6

void TestCli::ipv6_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QStringList>("lines");
  const auto row = [](const char* name, QStringList args, QStringList lines) {
    QTest::newRow(name) << (QStringList{"ipv6"} + args) << lines;
  };
  row("2001:db8:abcd:12::1/64", {"2001:db8:abcd:12::1/64"},
      {"Address:            2001:db8:abcd:12::1",
       "Expanded:           2001:0db8:abcd:0012:0000:0000:0000:0001",
       "Network:            2001:db8:abcd:12::/64",
       "Range:              2001:db8:abcd:12:: - 2001:db8:abcd:12:ffff:ffff:ffff:ffff",
       "Addresses:          18446744073709551616 (2^64)", "/64 networks:       1",
       "                    Zone: 2.1.0.0.d.c.b.a.8.b.d.0.1.0.0.2.ip6.arpa",
       "Zone:               none", "Type:               Documentation (RFC3849), 2001:db8::/32",
       "Scope:              Global (14)", "Solicited-node:     ff02::1:ff00:1",
       "Embedded IPv4:      none"});
  row("without a length: /128", {"::1"},
      {"Network:            ::1/128", "/64 networks:       none (longer than /64)",
       "Type:               Loopback (RFC4291), ::1/128"});
  row("EUI-64 with a zone", {"fe80::211:22ff:fe33:4455%eth0/64"},
      {"Zone:               eth0", "EUI-64 MAC:         00:11:22:33:44:55",
       "Scope:              Link-Local (2)"});
  row("multicast group", {"ff05::1:3"},
      {"Multicast MAC:      33:33:00:01:00:03", "Solicited-node:     none (multicast)",
       "Scope:              Site-Local (5), flags: permanent"});
}

void TestCli::ipv6() {
  RunAndFindLines();
}

void TestCli::ipv6Json_data() {
  QTest::addColumn<QString>("input");
  QTest::addColumn<QByteArray>("expected");  // the whole object but "input"
  QTest::newRow("2001:db8::1/64")
      << "2001:db8::1/64"
      << QByteArray(
             R"({"address":"2001:db8::1","expanded":"2001:0db8:0000:0000:0000:0000:0000:0001",
        "zone":null,"prefix":64,"network":"2001:db8::","first":"2001:db8::",
        "last":"2001:db8::ffff:ffff:ffff:ffff","addresses":"18446744073709551616",
        "subnets_64":"1",
        "ptr":"1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa",
        "reverse_zones":["0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa"],"type":"Documentation",
        "reference":"RFC3849","scope":"Global","interface_id":"0000:0000:0000:0001",
        "eui64_mac":null,"solicited_node":"ff02::1:ff00:1","multicast_mac":null,
        "embedded_ipv4":null})");
  QTest::newRow("::/0: 2^128 addresses")
      << "::/0"
      << QByteArray(R"({"address":"::","expanded":"0000:0000:0000:0000:0000:0000:0000:0000",
        "zone":null,"prefix":0,"network":"::","first":"::",
        "last":"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff",
        "addresses":"340282366920938463463374607431768211456",
        "subnets_64":"18446744073709551616",
        "ptr":"0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.ip6.arpa",
        "reverse_zones":["ip6.arpa"],"type":"Unspecified","reference":"RFC4291","scope":null,
        "interface_id":"0000:0000:0000:0000","eui64_mac":null,"solicited_node":"ff02::1:ff00:0",
        "multicast_mac":null,"embedded_ipv4":null})");
  QTest::newRow("::1/128")
      << "::1/128"
      << QByteArray(R"({"address":"::1","expanded":"0000:0000:0000:0000:0000:0000:0000:0001",
        "zone":null,"prefix":128,"network":"::1","first":"::1","last":"::1","addresses":"1",
        "subnets_64":null,
        "ptr":"1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.ip6.arpa",
        "reverse_zones":["1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.ip6.arpa"],
        "type":"Loopback","reference":"RFC4291","scope":"Link-Local",
        "interface_id":"0000:0000:0000:0001","eui64_mac":null,"solicited_node":"ff02::1:ff00:1",
        "multicast_mac":null,"embedded_ipv4":null})");
  QTest::newRow("fe80::1%eth0/64")
      << "fe80::1%eth0/64"
      << QByteArray(R"({"address":"fe80::1","expanded":"fe80:0000:0000:0000:0000:0000:0000:0001",
        "zone":"eth0","prefix":64,"network":"fe80::","first":"fe80::",
        "last":"fe80::ffff:ffff:ffff:ffff","addresses":"18446744073709551616","subnets_64":"1",
        "ptr":"1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.e.f.ip6.arpa",
        "reverse_zones":["0.0.0.0.0.0.0.0.0.0.0.0.0.8.e.f.ip6.arpa"],
        "type":"Link-Local Unicast","reference":"RFC4291","scope":"Link-Local",
        "interface_id":"0000:0000:0000:0001","eui64_mac":null,"solicited_node":"ff02::1:ff00:1",
        "multicast_mac":null,"embedded_ipv4":null})");
  QTest::newRow("ff02::1:ff00:1 multicast")
      << "ff02::1:ff00:1" << QByteArray(R"({"address":"ff02::1:ff00:1",
        "expanded":"ff02:0000:0000:0000:0000:0001:ff00:0001","zone":null,"prefix":128,
        "network":"ff02::1:ff00:1","first":"ff02::1:ff00:1","last":"ff02::1:ff00:1",
        "addresses":"1","subnets_64":null,
        "ptr":"1.0.0.0.0.0.f.f.1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.2.0.f.f.ip6.arpa",
        "reverse_zones":["1.0.0.0.0.0.f.f.1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.2.0.f.f.ip6.arpa"],
        "type":"Multicast","reference":"RFC4291","scope":"Link-Local",
        "interface_id":"0000:0001:ff00:0001","eui64_mac":null,"solicited_node":null,
        "multicast_mac":"33:33:ff:00:00:01","embedded_ipv4":null})");
  QTest::newRow("Teredo of RFC 4380")
      << "2001:0:4136:e378:8000:63bf:3fff:fdd2/32"
      << QByteArray(R"({"address":"2001:0:4136:e378:8000:63bf:3fff:fdd2",
        "expanded":"2001:0000:4136:e378:8000:63bf:3fff:fdd2","zone":null,"prefix":32,
        "network":"2001::","first":"2001::","last":"2001:0:ffff:ffff:ffff:ffff:ffff:ffff",
        "addresses":"79228162514264337593543950336","subnets_64":"4294967296",
        "ptr":"2.d.d.f.f.f.f.3.f.b.3.6.0.0.0.8.8.7.3.e.6.3.1.4.0.0.0.0.1.0.0.2.ip6.arpa",
        "reverse_zones":["0.0.0.0.1.0.0.2.ip6.arpa"],"type":"TEREDO","reference":"RFC4380",
        "scope":"Global","interface_id":"8000:63bf:3fff:fdd2","eui64_mac":null,
        "solicited_node":"ff02::1:ffff:fdd2","multicast_mac":null,
        "embedded_ipv4":{"kind":"Teredo","address":"192.0.2.45","server":"65.54.227.120",
        "client":"192.0.2.45","port":40000}})");
  QTest::newRow("6to4 2002:c000:204::1")
      << "2002:c000:204::1" << QByteArray(R"({"address":"2002:c000:204::1",
        "expanded":"2002:c000:0204:0000:0000:0000:0000:0001","zone":null,"prefix":128,
        "network":"2002:c000:204::1","first":"2002:c000:204::1","last":"2002:c000:204::1",
        "addresses":"1","subnets_64":null,
        "ptr":"1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.4.0.2.0.0.0.0.c.2.0.0.2.ip6.arpa",
        "reverse_zones":["1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.4.0.2.0.0.0.0.c.2.0.0.2.ip6.arpa"],
        "type":"6to4","reference":"RFC3056","scope":"Global",
        "interface_id":"0000:0000:0000:0001","eui64_mac":null,"solicited_node":"ff02::1:ff00:1",
        "multicast_mac":null,"embedded_ipv4":{"kind":"6to4","address":"192.0.2.4"}})");
}

void TestCli::ipv6Json() {
  QFETCH(QString, input);
  QFETCH(QByteArray, expected);
  const TRun r = Run({"ipv6", input, "--json"});
  QCOMPARE(r.status, 0);
  QCOMPARE(r.err, QByteArray());
  QCOMPARE(r.out.count('\n'), 1);
  nlohmann::ordered_json want = nlohmann::ordered_json::parse(expected.constData());
  nlohmann::ordered_json full = {{"input", input.toStdString()}};
  full.update(want);
  QCOMPARE(QByteArray::fromStdString(nlohmann::ordered_json::parse(r.out.constData()).dump()),
           QByteArray::fromStdString(full.dump()));
}

void TestCli::ipv6Stream() {
  // A bad line is reported where it comes and the rest still answered.
  const QByteArray input = "::1\n2001:db8::/129\n\n  2001:db8::1/48\r\n::1::2\n";
  TRun r = Run({"ipv6", "-", "--json"}, input);
  QCOMPARE(r.status, 1);
  QStringList out = Lines(r.out);
  QCOMPARE(out.size(), 4);
  QVERIFY(out[0].startsWith(R"({"input":"::1","address":"::1")"));
  QCOMPARE(out[1],
           QStringLiteral(
               R"({"input":"2001:db8::/129","error":"'2001:db8::/129': Invalid prefix length."})"));
  QVERIFY(out[2].startsWith(R"({"input":"2001:db8::1/48","address":"2001:db8::1")"));
  QCOMPARE(out[3],
           QStringLiteral(R"({"input":"::1::2","error":"'::1::2': Invalid IPv6 address."})"));
  QCOMPARE(Lines(r.err),
           QStringList({"orvex-cli: ipv6: line 2: '2001:db8::/129': Invalid prefix length.",
                        "orvex-cli: ipv6: line 5: '::1::2': Invalid IPv6 address."}));
  r = Run({"ipv6", "-"}, input);
  QCOMPARE(r.status, 1);
  out = Lines(r.out);
  QCOMPARE(out.size(), 2);
  QVERIFY(out[0].startsWith("::1: Address: ::1; Expanded: "));
  QVERIFY2(out[1].contains("; Network: 2001:db8::/48; "), qPrintable(out[1]));
  QVERIFY2(out[1].contains(".ip6.arpa, Zone: 0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa; "),
           qPrintable(out[1]));
}

// ---------------------------------------------------------------- subnets and masks

void TestCli::subnets_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QByteArray>("out");
  QTest::newRow("192.168.1.0/24 26") << QStringList{"192.168.1.0/24", "26"}
                                     << QByteArray(
                                            "192.168.1.0/26 192.168.1.1 - 192.168.1.62\n"
                                            "192.168.1.64/26 192.168.1.65 - 192.168.1.126\n"
                                            "192.168.1.128/26 192.168.1.129 - 192.168.1.190\n"
                                            "192.168.1.192/26 192.168.1.193 - 192.168.1.254\n");
  QTest::newRow("a host address gives its network")
      << QStringList{"192.168.1.77 255.255.255.0", "/24"}
      << QByteArray("192.168.1.0/24 192.168.1.1 - 192.168.1.254\n");
  QTest::newRow("/31: both addresses")
      << QStringList{"10.0.0.0/30", "/31"}
      << QByteArray("10.0.0.0/31 10.0.0.0 - 10.0.0.1\n10.0.0.2/31 10.0.0.2 - 10.0.0.3\n");
  QTest::newRow("/32 json")
      << QStringList{"255.255.255.254/31", "32", "--json"}
      << QByteArray(
             R"({"network":"255.255.255.254","prefix":32,"first_host":"255.255.255.254","last_host":"255.255.255.254","broadcast":null})"
             "\n"
             R"({"network":"255.255.255.255","prefix":32,"first_host":"255.255.255.255","last_host":"255.255.255.255","broadcast":null})"
             "\n");
  QTest::newRow("/30 json")
      << QStringList{"10.0.0.0/30", "30", "--json"}
      << QByteArray(
             R"({"network":"10.0.0.0","prefix":30,"first_host":"10.0.0.1","last_host":"10.0.0.2","broadcast":"10.0.0.3"})"
             "\n");
  QTest::newRow("csv") << QStringList{"10.0.0.0/29", "30", "--csv"}
                       << QByteArray(
                              "network,prefix,first_host,last_host,broadcast\n"
                              "10.0.0.0,30,10.0.0.1,10.0.0.2,10.0.0.3\n"
                              "10.0.0.4,30,10.0.0.5,10.0.0.6,10.0.0.7\n");
  QTest::newRow("count of a /8 in /32")
      << QStringList{"10.0.0.0/8", "32", "--count"} << QByteArray("16777216\n");
  QTest::newRow("count of /1 in /32") << QStringList{"128.0.0.0/1", "32", "--count", "--json"}
                                      << QByteArray("{\"count\":2147483648}\n");
  QTest::newRow("2001:db8::/48 64 --count")
      << QStringList{"2001:db8::/48", "64", "--count"} << QByteArray("65536\n");
  QTest::newRow("::/0 128 --count: 2^128")
      << QStringList{"::/0", "128", "--count"}
      << QByteArray("340282366920938463463374607431768211456\n");
  QTest::newRow("::/0 128 --count --json: a string past 64 bits")
      << QStringList{"::/0", "128", "--count", "--json"}
      << QByteArray("{\"count\":\"340282366920938463463374607431768211456\"}\n");
  QTest::newRow("::/0 64 --count --json: 2^64")
      << QStringList{"::/0", "/64", "--count", "--json"}
      << QByteArray("{\"count\":\"18446744073709551616\"}\n");
  QTest::newRow("::/0 63 --count --json: a number")
      << QStringList{"::/0", "63", "--count", "--json"}
      << QByteArray("{\"count\":9223372036854775808}\n");
  QTest::newRow("a host address gives its IPv6 network")
      << QStringList{"2001:db8::77/127", "128"}
      << QByteArray(
             "2001:db8::76/128 2001:db8::76 - 2001:db8::76\n"
             "2001:db8::77/128 2001:db8::77 - 2001:db8::77\n");
  QTest::newRow("the last IPv6 networks, json")
      << QStringList{"ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffc/126", "127", "--json"}
      << QByteArray(
             R"({"network":"ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffc","prefix":127,"first":"ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffc","last":"ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffd"})"
             "\n"
             R"({"network":"ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe","prefix":127,"first":"ffff:ffff:ffff:ffff:ffff:ffff:ffff:fffe","last":"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"})"
             "\n");
  QTest::newRow("::/0 1 csv") << QStringList{"::/0", "1", "--csv"}
                              << QByteArray(
                                     "network,prefix,first,last\n"
                                     "::,1,::,7fff:ffff:ffff:ffff:ffff:ffff:ffff:ffff\n"
                                     "8000::,1,8000::,ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff\n");
}

void TestCli::subnets() {
  QFETCH(QStringList, args);
  QFETCH(QByteArray, out);
  const TRun r = Run(QStringList{"subnets"} + args);
  QCOMPARE(r.err, QByteArray());
  QCOMPARE(r.status, 0);
  QCOMPARE(r.out, out);
}

void TestCli::masks_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<int>("rows");
  QTest::addColumn<QByteArray>("first");  // first row as JSON
  QTest::addColumn<QByteArray>("last");
  const QByteArray hostMask =
      R"({"mask":"255.255.255.255","prefix":32,"hosts":"Host Mask","wildcard":"0.0.0.0","remark":""})";
  QTest::newRow("default: /8 to /30 and /32")
      << QStringList{} << 24
      << QByteArray(
             R"({"mask":"255.0.0.0","prefix":8,"hosts":16777214,"wildcard":"0.255.255.255","remark":"Class A"})")
      << hostMask;
  QTest::newRow("with RFC 3021") << QStringList{"--rfc3021"} << 25 << QByteArray() << hostMask;
  QTest::newRow("from /1")
      << QStringList{"--from", "1"} << 31
      << QByteArray(
             R"({"mask":"128.0.0.0","prefix":1,"hosts":2147483646,"wildcard":"127.255.255.255","remark":""})")
      << hostMask;
  QTest::newRow("from /1 with RFC 3021")
      << QStringList{"--from", "1", "--rfc3021"} << 32 << QByteArray() << hostMask;
  QTest::newRow("from /24")
      << QStringList{"--from", "24"} << 8
      << QByteArray(
             R"({"mask":"255.255.255.0","prefix":24,"hosts":254,"wildcard":"0.0.0.255","remark":"Class C"})")
      << hostMask;
  QTest::newRow("subnetting 255.255.255.0")
      << QStringList{"--subnetting", "255.255.255.0"} << 6
      << QByteArray(R"({"mask":"255.255.255.128","prefix":25,"networks":2,"hosts":126})")
      << QByteArray(R"({"mask":"255.255.255.252","prefix":30,"networks":64,"hosts":2})");
  QTest::newRow("subnetting /24 with RFC 3021")
      << QStringList{"--subnetting", "/24", "--rfc3021"} << 7 << QByteArray()
      << QByteArray(R"({"mask":"255.255.255.254","prefix":31,"networks":128,"hosts":2})");
  QTest::newRow("subnetting /29") << QStringList{"--subnetting", "255.255.255.248"} << 1
                                  << QByteArray() << QByteArray();
  QTest::newRow("subnetting 128.0.0.0")
      << QStringList{"--subnetting", "128.0.0.0"} << 29
      << QByteArray(R"({"mask":"192.0.0.0","prefix":2,"networks":2,"hosts":1073741822})")
      << QByteArray(R"({"mask":"255.255.255.252","prefix":30,"networks":536870912,"hosts":2})");
}

void TestCli::masks() {
  QFETCH(QStringList, args);
  QFETCH(int, rows);
  QFETCH(QByteArray, first);
  QFETCH(QByteArray, last);
  const TRun text = Run(QStringList{"masks"} + args);
  QCOMPARE(text.status, 0);
  QCOMPARE(Lines(text.out).size(), rows + 1 + (args.contains("--subnetting") ? 1 : 0));
  const TRun csv = Run(QStringList{"masks", "--csv"} + args);
  QCOMPARE(Lines(csv.out).size(), rows + 1);

  const TRun r = Run(QStringList{"masks", "--json"} + args);
  QCOMPARE(r.status, 0);
  const nlohmann::ordered_json all = nlohmann::ordered_json::parse(r.out.constData());
  QCOMPARE(int(all.size()), rows);
  if (!first.isEmpty()) QCOMPARE(QByteArray::fromStdString(all.front().dump()), first);
  if (!last.isEmpty()) QCOMPARE(QByteArray::fromStdString(all.back().dump()), last);
}

// ---------------------------------------------------------------- int

void TestCli::integer_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QStringList>("lines");  // "!" before a text: no line starts with it
  const auto row = [](const char* name, QStringList args, QStringList lines) {
    QTest::newRow(name) << (QStringList{"int"} + args) << lines;
  };
  row("10.0.0.1", {"10.0.0.1"},
      {"Decimal: 167772161", "IP     : 10.0.0.1", "MAC    : 00:00:0a:00:00:01", "htonl  : 1.0.0.10",
       "!Swapped"});
  row("MAC", {"aa:bb:cc:dd:ee:ff"}, {"Decimal: 187723572702975", "Swapped: 55:dd:33:bb:77:ff"});
  row("MAC bits reversed", {"01-00-5E-00-00-01", "--mac-format", "dash"},
      {"MAC    : 01-00-5e-00-00-01", "Swapped: 80-00-7a-00-00-80"});
  row("-1", {"-1"},
      {"Binary : 0b" + QString(64, QLatin1Char('1')), "Hex    : 0xFFFFFFFFFFFFFFFF",
       "IP     : 255.255.255.255", "Bits   : 64", "!MAC"});
  row("$FF", {"$FF"}, {"Decimal: 255", "Binary : 0b11111111", "Bits   : 8"});
  row("33 ones", {"0b" + QString(33, QLatin1Char('1'))}, {"Decimal: 8589934591"});
  row("5 at width 32", {"5", "--width", "32"},
      {"Binary : 0b00000000000000000000000000000101", "Hex    : 0x00000005", "Octal  : 0o5"});
  row("5 at width 0", {"5"}, {"Binary : 0b101", "Hex    : 0x5", "Octal  : 0o5"});
  row("0", {"0"}, {"Decimal: 0", "Binary : 0b0", "Bits   : 0"});
  row("htonl of 0x1", {"0x1"}, {"htonl  : 0x1000000"});
  row("htonl of 0b1", {"0b1"}, {"htonl  : 0b1000000000000000000000000"});
  row("htonl of 2^32 + 1", {"4294967297"}, {"htonl  : 16777216"});
  row("htonl of 192.168.1.2", {"192.168.1.2"}, {"htonl  : 2.1.168.192"});
  row("5 + 3", {"5", "+", "3"}, {"5 + 3 = 8", "Decimal: 8"});
  row("7 / 2", {"7", "/", "2"}, {"7 / 2 = 3 Remainder = 1", "Decimal: 3"});
  row("8 / 2", {"8 / 2"}, {"8 / 2 = 4", "Decimal: 4"});
  row("0xFF & 0x0F", {"0xFF", "&", "0x0F"}, {"0xFF & 0x0F = 15"});
  row("0 - 1", {"0", "-", "1"}, {"0 - 1 = -1"});
  row("wrap-around", {"9223372036854775807", "+", "1"},
      {"9223372036854775807 + 1 = -9223372036854775808"});
  row("unsigned division", {"-8", "/", "2"}, {"-8 / 2 = 9223372036854775804"});
  row("after --", {"--", "-8", "-", "-3"}, {"-8 - -3 = -5"});
  row("left to right", {"2", "+", "3", "*", "4"}, {"2 + 3 = 5", "5 * 4 = 20", "Decimal: 20"});
  row("NOT 0", {"NOT", "0"}, {"Decimal: -1"});
  row("NOT 0xff", {"not", "0xff"}, {"Decimal: -256"});
  row("NOT before the second number", {"2", "+", "NOT", "3"}, {"2 + -4 = -2"});
  row("NOT after the calculation", {"2", "+", "3", "!"}, {"2 + 3 = 5", "Decimal: -6"});
  row("0xff AND 0b1010", {"0xff", "AND", "0b1010"}, {"0xff & 0b1010 = 10"});
  row("10.0.0.1 + 1", {"10.0.0.1", "+", "1"}, {"10.0.0.1 + 1 = 167772162", "IP     : 10.0.0.2"});
  row("words in any case", {"6", "or", "1", "Xor", "2"}, {"6 | 1 = 7", "7 ^ 2 = 5"});
  row("symbols", {"12", "|", "3", "^", "1"}, {"12 | 3 = 15", "15 ^ 1 = 14"});
  row("multiplication wraps", {"0x100000000", "*", "0x100000000"},
      {"0x100000000 * 0x100000000 = 0"});
}

void TestCli::integer() {
  RunAndFindLines();
}

void TestCli::integerJson() {
  TRun r = Run({"int", "--json", "0xff"});
  QCOMPARE(r.status, 0);
  QCOMPARE(r.out,
           QByteArray(R"({"kind":"hex","decimal":"255","unsigned":255,"binary":"0b11111111",)"
                      R"("octal":"0o377","hex":"0xFF","ipv4":"0.0.0.255",)"
                      R"("mac":"00:00:00:00:00:ff","htonl":4278190080,"bits":8,)"
                      R"("mac_swapped":null})"
                      "\n"));
  r = Run({"int", "--json", "--", "-1"});
  json j = ParseJson(r.out);
  QCOMPARE(j["kind"], "decimal");
  QCOMPARE(j["decimal"], "-1");
  // A 64-bit unsigned value is a number, not a text.
  QVERIFY(j["unsigned"].is_number_unsigned());
  QCOMPARE(j["unsigned"].get<uint64_t>(), UINT64_MAX);
  QVERIFY(j["mac"].is_null());

  r = Run({"int", "--json", "7", "/", "2"});
  j = ParseJson(r.out);
  QCOMPARE(j["decimal"], "3");
  QCOMPARE(j["expression"], "7 / 2 = 3 Remainder = 1");
  QCOMPARE(j["remainder"], 1);
  r = Run({"int", "--json", "8", "/", "2", "+", "1"});
  j = ParseJson(r.out);
  QCOMPARE(j["history"], json({"8 / 2 = 4", "4 + 1 = 5"}));
  QVERIFY(j["remainder"].is_null());

  r = Run({"int", "--json", "01:00:5e:00:00:01", "--mac-format", "dot"});
  j = ParseJson(r.out);
  QCOMPARE(j["kind"], "mac");
  QCOMPARE(j["mac"], "0100.5e00.0001");
  QCOMPARE(j["mac_swapped"], "8000.7a00.0080");
  QVERIFY(!j.contains("expression"));
}

// ---------------------------------------------------------------- hosts

void TestCli::hosts_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QString>("network");
  QTest::addColumn<char>("delimiter");
  QTest::addColumn<int>("limit");
  QTest::newRow("192.168.1.0/30 comma")
      << QStringList{"--delimiter", "comma"} << "192.168.1.0/30" << ',' << 0;
  QTest::newRow("/24 semicolon") << QStringList{} << "10.1.2.0 255.255.255.0" << ';' << 0;
  QTest::newRow("/16 cut at 4096 tab")
      << QStringList{"--limit", "4096", "--delimiter", "tab"} << "172.16.0.0/16" << '\t' << 4096;
  QTest::newRow("/31 space") << QStringList{"--delimiter", "space"} << "10.0.0.0/31" << ' ' << 0;
  QTest::newRow("/32") << QStringList{} << "10.0.0.7/32" << ';' << 0;
  QTest::newRow("/20 in full") << QStringList{} << "10.0.0.0/20" << ';' << 0;
}

void TestCli::hosts() {
  QFETCH(QStringList, args);
  QFETCH(QString, network);
  QFETCH(char, delimiter);
  QFETCH(int, limit);
  const TRun r = Run(QStringList{"hosts", network} + args);
  QCOMPARE(r.err, QByteArray());
  QCOMPARE(r.status, 0);
  // What the editor saves, byte for byte, but for the time of saving.
  QVERIFY(QRegularExpression(QStringLiteral("\nDate: \\d\\d\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d\n"))
              .match(QString::fromLatin1(r.out))
              .hasMatch());
  QCOMPARE(WithFixedDate(r.out), EditorFile(network, delimiter, limit > 0 ? limit : INT_MAX));

  if (network == QLatin1String("192.168.1.0/30")) {
    QCOMPARE(Lines(r.out).mid(2),
             QStringList({"Generated by Orvex Light 2.0", "", "IP Address,Host Name",
                          "192.168.1.0,nwc0a80100", "192.168.1.1,hc0a80101",
                          "192.168.1.2,hc0a80102", "192.168.1.3,bcc0a80103"}));
    QCOMPARE(Lines(r.out).first(),
             QStringLiteral("IP Host List for nwc0a80100 (192.168.1.0 255.255.255.252)"));
  }
  const TRun j = Run(QStringList{"hosts", network, "--json"} + args);
  const QStringList rows = Lines(j.out);
  const QStringList file = Lines(r.out).mid(5);
  QCOMPARE(rows.size(), file.size() - (limit > 0 ? 1 : 0));
  const QStringList firstRow = file.first().split(QLatin1Char(delimiter));
  QCOMPARE(ParseJson(rows.first().toUtf8()),
           json({{"address", firstRow[0].toStdString()}, {"name", firstRow[1].toStdString()}}));
}

void TestCli::hostsNames() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("old.csv"));
  QVERIFY(Run({"hosts", "192.168.1.0/30", "--delimiter", "comma", "-o", path}).status == 0);
  QByteArray file = FileContent(path);
  file.replace("192.168.1.1,hc0a80101", "192.168.1.1,gateway \"one\"");
  file.replace("192.168.1.2,hc0a80102", "192.168.1.2,printer");
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(file);
  f.close();

  TRun r = Run({"hosts", "192.168.1.0/29", "--names", path, "--names-delimiter", "comma"});
  QCOMPARE(r.status, 0);
  QCOMPARE(
      Lines(r.out).mid(5, 4),
      QStringList({"192.168.1.0;nwc0a80100", "192.168.1.1;gateway \"one\"", "192.168.1.2;printer",
                   // The file's own name for the old broadcast.
                   "192.168.1.3;bcc0a80103"}));
  r = Run({"hosts", "192.168.1.0/29", "--names", path, "--delimiter", "comma", "--json"});
  QCOMPARE(Lines(r.out).at(1),
           QStringLiteral(R"({"address":"192.168.1.1","name":"gateway \"one\""})"));
  // A file that starts later than the list matches nothing, as in the editor.
  r = Run({"hosts", "192.168.0.0/23", "--names", path, "--delimiter", "comma"});
  QCOMPARE(r.status, 1);
  QCOMPARE(r.out, QByteArray());
  QVERIFY(r.err.contains("Did not find any IP address match."));
}

// ---------------------------------------------------------------- failures

void TestCli::badInput_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("err");  // the first line of standard error
  const auto row = [](QStringList args, int status, const char* err) {
    QTest::newRow(qPrintable(args.join(QLatin1Char(' ')))) << args << status << QString(err);
  };
  row({"calc", "abc"}, 1, "orvex-cli: calc: 'abc' is not a valid IP address.");
  row({"calc", "abc/24"}, 1, "orvex-cli: calc: 'abc' is not a valid IP address.");
  row({"calc", "300.1.1.1", "/8"}, 1, "orvex-cli: calc: '300.1.1.1' is not a valid IP address.");
  row({"calc", ""}, 1, "orvex-cli: calc: '' is not a valid IP address.");
  row({"calc", "10.0.0.1", "/33"}, 1, "orvex-cli: calc: '/33': Invalid network mask.");
  row({"calc", QString(100, 'x') + "\t/8"}, 1,
      qPrintable("orvex-cli: calc: '" + QString(77, 'x') + "...' is not a valid IP address."));
  row({"calc", "10.0.0.1", "/0"}, 1, "orvex-cli: calc: '/0': Invalid network mask.");
  row({"calc", "10.0.0.1", "abc"}, 1, "orvex-cli: calc: 'abc': Invalid network mask.");
  row({"calc", "10.0.0.1", "255.255.0.255"}, 1,
      "orvex-cli: calc: '255.255.0.255': Invalid network mask.");
  row({"calc", "10.0.0.0", "128.0.0.0", "--no-class-a-supernets"}, 1,
      "orvex-cli: calc: '128.0.0.0': Invalid network mask.");
  row({"calc", "10.0.0.1"}, 1,
      "orvex-cli: calc: '10.0.0.1': no network mask; give MASK, a /prefix or a mask after a blank");
  row({"calc"}, 2, "orvex-cli: ADDRESS is required");
  row({"calc", "1.2.3.4", "/24", "more"}, 2,
      "orvex-cli: The following argument was not expected: more");
  row({"calc", "1.2.3.4/24", "--bogus"}, 2,
      "orvex-cli: The following argument was not expected: --bogus");
  row({"calc", "1.2.3.4/24", "--json", "--csv"}, 2, "orvex-cli: --json excludes --csv");
  row({"calc", "1.2.3.4/24", "--mac-format", "plain"}, 2,
      "orvex-cli: --mac-format: plain not in {colon,dash,dot}");
  row({"calc", "-", "--table"}, 2, "orvex-cli: --table needs a single ADDRESS, not -");
  row({}, 2, "orvex-cli: A subcommand is required");
  row({"mask"}, 2,
      "orvex-cli: 'mask' is no subcommand: calc, subnets, masks, int, hosts, ipv6, aggregate, "
      "merge, common, exclude, ranges, deaggregate, summary, overlaps or plan");
  row({"subnets", "10.0.0.0/16", "8"}, 1,
      "orvex-cli: subnets: '8' is shorter than the network's own prefix /16.");
  row({"subnets", "10.0.0.0/16", "33"}, 1,
      "orvex-cli: subnets: '33' is not a prefix length from 1 to 32.");
  row({"subnets", "10.0.0.0/16", "/2x"}, 1,
      "orvex-cli: subnets: '/2x' is not a prefix length from 1 to 32.");
  row({"subnets", "10.0.0.0", "24"}, 1,
      "orvex-cli: subnets: '10.0.0.0' is not a valid network: write it as 10.0.0.0/8 or "
      "\"10.0.0.0 255.0.0.0\".");
  row({"subnets", "10.0.0.0/8"}, 2, "orvex-cli: PREFIX is required");
  row({"subnets", "2001:db8::/48", "40"}, 1,
      "orvex-cli: subnets: '40' is shorter than the network's own prefix /48.");
  row({"subnets", "2001:db8::/48", "129"}, 1,
      "orvex-cli: subnets: '129' is not a prefix length from 0 to 128.");
  row({"subnets", "2001:db8::", "64"}, 1,
      "orvex-cli: subnets: '2001:db8::' is not a valid network: write it as 2001:db8::/48.");
  row({"subnets", "2001:db8::1::/64", "64"}, 1,
      "orvex-cli: subnets: '2001:db8::1::/64' is not a valid network: write it as "
      "2001:db8::/48.");
  row({"ipv6", "2001:db8::g"}, 1, "orvex-cli: ipv6: '2001:db8::g': Invalid IPv6 address.");
  row({"ipv6", "1:2:3:4:5:6:7:8:9"}, 1,
      "orvex-cli: ipv6: '1:2:3:4:5:6:7:8:9': Invalid IPv6 address.");
  row({"ipv6", "::ffff:1.2.3/96"}, 1, "orvex-cli: ipv6: '::ffff:1.2.3/96': Invalid IPv6 address.");
  row({"ipv6", "2001:db8::1/129"}, 1, "orvex-cli: ipv6: '2001:db8::1/129': Invalid prefix length.");
  row({"ipv6", "2001:db8::1/-1"}, 1, "orvex-cli: ipv6: '2001:db8::1/-1': Invalid prefix length.");
  row({"ipv6", "2001:db8::1/"}, 1, "orvex-cli: ipv6: '2001:db8::1/': Invalid prefix length.");
  row({"ipv6"}, 2, "orvex-cli: ADDRESS is required");
  row({"ipv6", "::1", "--csv"}, 2, "orvex-cli: The following argument was not expected: --csv");
  row({"masks", "--from", "0"}, 2, "orvex-cli: --from: Value 0 not in range 1 to 32");
  row({"masks", "--subnetting", "255.0.255.0"}, 1,
      "orvex-cli: masks: '255.0.255.0': Invalid network mask.");
  row({"masks", "--subnetting", "0.0.0.255"}, 1,
      "orvex-cli: masks: '0.0.0.255': Invalid network mask.");
  row({"masks", "--subnetting", "/30"}, 1,
      "orvex-cli: masks: '/30' leaves no room for subnets: give /29 or shorter.");
  row({"int", "abc"}, 1, "orvex-cli: int: 'abc': Can't recognize number.");
  row({"int", "1.2.3.4.5"}, 1, "orvex-cli: int: '1.2.3.4.5': Can't recognize number.");
  row({"int", "9223372036854775808"}, 1,
      "orvex-cli: int: '9223372036854775808': Can't recognize number.");
  row({"int", "0b" + QString(65, QLatin1Char('1'))}, 1,
      qPrintable("orvex-cli: int: '0b" + QString(65, QLatin1Char('1')) +
                 "': Can't recognize number."));
  row({"int", "7", "/", "0"}, 1, "orvex-cli: int: '7 / 0': Division by zero.");
  row({"int", "7", "/", "0", "+", "1"}, 1, "orvex-cli: int: '7 / 0 + 1': Division by zero.");
  row({"int", "5", "5"}, 1,
      "orvex-cli: int: '5' follows a number without an operator between them.");
  row({"int", "+", "5"}, 1, "orvex-cli: int: '+' needs a number before it.");
  row({"int", "5", "AND"}, 1, "orvex-cli: int: 'AND' needs a number after it.");
  row({"int", "5", "--width", "12"}, 2, "orvex-cli: --width: 12 not in {0,16,32,64}");
  row({"int", " "}, 2, "orvex-cli: int needs a number or a calculation");
  row({"hosts", "10.0.0.0"}, 1,
      "orvex-cli: hosts: '10.0.0.0' is not a valid network: write it as 192.168.1.0/24 or "
      "\"192.168.1.0 255.255.255.0\".");
  row({"hosts", "10.0.0.0/24", "--limit", "0"}, 2,
      "orvex-cli: --limit: Value 0 not in range 1 to 2147483647");
  row({"hosts", "10.0.0.0/24", "--delimiter", "pipe"}, 2,
      "orvex-cli: --delimiter: pipe not in {comma,semicolon,tab,space}");
  row({"hosts", "10.0.0.0/24", "--names", "/nonexistent/list.csv"}, 1,
      "orvex-cli: hosts: Couldn't open /nonexistent/list.csv");
}

void TestCli::badInput() {
  QFETCH(QStringList, args);
  QFETCH(int, status);
  QFETCH(QString, err);
  const TRun r = Run(args);
  QCOMPARE(r.status, status);
  QCOMPARE(r.out, QByteArray());
  QCOMPARE(Lines(r.err).value(0), err);
  if (status == 2) {
    QVERIFY2(Lines(r.err).value(1).startsWith(QLatin1String("Usage: orvex-cli")),
             r.err.constData());
  } else {
    QCOMPARE(Lines(r.err).size(), 1);
  }
}

void TestCli::help_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QString>("usage");
  QTest::newRow("program") << QStringList{"--help"} << "Usage: orvex-cli [OPTIONS] SUBCOMMAND";
  QTest::newRow("calc") << QStringList{"calc", "--help"}
                        << "Usage: orvex-cli calc [OPTIONS] ADDRESS [MASK]";
  QTest::newRow("subnets") << QStringList{"subnets", "-h"}
                           << "Usage: orvex-cli subnets [OPTIONS] NETWORK PREFIX";
  QTest::newRow("masks") << QStringList{"masks", "--help"} << "Usage: orvex-cli masks [OPTIONS]";
  QTest::newRow("ipv6") << QStringList{"ipv6", "--help"}
                        << "Usage: orvex-cli ipv6 [OPTIONS] ADDRESS";
  QTest::newRow("int") << QStringList{"int", "--help"}
                       << "Usage: orvex-cli int [OPTIONS] EXPRESSION...";
  QTest::newRow("hosts") << QStringList{"hosts", "--help"}
                         << "Usage: orvex-cli hosts [OPTIONS] NETWORK";
  QTest::newRow("plan") << QStringList{"plan", "--help"}
                        << "Usage: orvex-cli plan [OPTIONS] [PARENT NEED...]";
  for (const char* list : {"aggregate", "ranges", "summary", "overlaps"})
    QTest::newRow(list) << QStringList{list, "--help"}
                        << QString("Usage: orvex-cli %1 [OPTIONS] [FILE...]").arg(list);
  for (const char* pair : {"merge", "common", "exclude"})
    QTest::newRow(pair) << QStringList{pair, "--help"}
                        << QString("Usage: orvex-cli %1 [OPTIONS] A B").arg(pair);
  QTest::newRow("deaggregate") << QStringList{"deaggregate", "--help"}
                               << "Usage: orvex-cli deaggregate [OPTIONS] [FILE|RANGE...]";
}

void TestCli::help() {
  QFETCH(QStringList, args);
  QFETCH(QString, usage);
  const TRun r = Run(args);
  QCOMPARE(r.status, 0);
  QCOMPARE(r.err, QByteArray());
  const QStringList out = Lines(r.out);
  QVERIFY2(out.contains(usage), r.out.constData());
  // Two or three examples, each a command that runs.
  const qsizetype examples = out.indexOf(QStringLiteral("Examples:"));
  QVERIFY(examples > 0);
  int count = 0;
  for (qsizetype i = examples + 1; i < out.size() && !out[i].isEmpty(); ++i)
    count += out[i].contains(QLatin1String("orvex-cli ")) ? 1 : 0;
  QVERIFY2(count >= (args.size() == 1 ? 5 : 3), qPrintable(QString::number(count)));

  const TRun version = Run({"--version"});
  QCOMPARE(version.out, QByteArray("orvex-cli " ORVEX_VERSION "\n"));
}

// ---------------------------------------------------------------- writing

void TestCli::closedPipe_data() {
  QTest::addColumn<QString>("command");
  QTest::newRow("subnets") << "\"$0\" subnets 10.0.0.0/8 32";
  QTest::newRow("subnets json") << "\"$0\" subnets 10.0.0.0/8 32 --json";
  QTest::newRow("hosts") << "\"$0\" hosts 10.0.0.0/8";
  QTest::newRow("calc -") << "\"$0\" calc - /24 < <(yes 10.1.2.3 | head -n 2000000)";
  QTest::newRow("calc - json") << "\"$0\" calc - --json < <(yes 10.1.2.3/8 | head -n 2000000)";
  // 2^128 lines: only the closed pipe ends it.
  QTest::newRow("subnets ::/0 128") << "\"$0\" subnets ::/0 128";
  QTest::newRow("ipv6 -") << "\"$0\" ipv6 - < <(yes 2001:db8::1/64 | head -n 200000)";
  // The list commands.
  QTest::newRow("deaggregate")
      << "\"$0\" deaggregate < <(yes 10.0.0.1-10.255.255.254 | head -n 100000)";
  QTest::newRow("aggregate json")
      << "\"$0\" aggregate --json < <(\"$0\" subnets 10.0.0.0/12 31 | cut -d' ' -f2)";
  QTest::newRow("ranges") << "\"$0\" ranges < <(\"$0\" subnets 10.0.0.0/12 31 | cut -d' ' -f2)";
  QTest::newRow("overlaps") << "\"$0\" overlaps < <(yes 10.0.0.0/24 | head -n 2000)";
}

void TestCli::closedPipe() {
  QFETCH(QString, command);
  QProcess p;
  p.start(QStringLiteral("bash"),
          {"-c", command + " 2>&1 | head -3; echo \"status ${PIPESTATUS[0]}\"", ORVEX_CLI});
  QVERIFY(p.waitForFinished(60000));
  const QStringList out = Lines(p.readAllStandardOutput());
  // Three lines, no message, and the program ended with 0.
  QCOMPARE(out.size(), 4);
  QCOMPARE(out.last(), QStringLiteral("status 0"));
  for (int i = 0; i < 3; ++i) QVERIFY2(!out[i].contains("orvex-cli"), qPrintable(out[i]));
}

void TestCli::outputFile() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("list.csv"));
  QFile old(path);
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.write("old content\n");
  old.close();
  QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));

  // A bad input leaves the file as it was.
  TRun r = Run({"hosts", "10.0.0.0", "-o", path});
  QCOMPARE(r.status, 1);
  QCOMPARE(FileContent(path), QByteArray("old content\n"));

  r = Run({"subnets", "10.0.0.0/24", "26", "--csv", "-o", path});
  QCOMPARE(r.status, 0);
  QCOMPARE(r.out, QByteArray());
  QCOMPARE(FileContent(path), Run({"subnets", "10.0.0.0/24", "26", "--csv"}).out);
  struct stat st = {};
  QCOMPARE(stat(path.toLocal8Bit().constData(), &st), 0);
  QCOMPARE(st.st_mode & 0777, 0640u);
  QCOMPARE(OtherFiles(dir.path(), {"list.csv"}), QStringList());

  // Ended by a signal half-way: the old file stays, the temporary file goes.
  QProcess p;
  p.start(QStringLiteral(ORVEX_CLI), {"hosts", "10.0.0.0/8", "-o", path});
  QVERIFY(p.waitForStarted());
  QStringList temporary;
  for (int i = 0; i < 1000 && temporary.isEmpty(); ++i, QThread::msleep(5))
    temporary = OtherFiles(dir.path(), {"list.csv"});
  QCOMPARE(temporary.size(), 1);
  p.terminate();
  QVERIFY(p.waitForFinished(10000));
  QCOMPARE(p.exitStatus(), QProcess::CrashExit);
  QCOMPARE(OtherFiles(dir.path(), {"list.csv"}), QStringList());
  QCOMPARE(FileContent(path), Run({"subnets", "10.0.0.0/24", "26", "--csv"}).out);

  // Through a link the file it names is replaced; the link stays.
  const QString link = dir.filePath(QStringLiteral("link.csv"));
  QVERIFY(QFile::link(path, link));
  r = Run({"masks", "-o", "link.csv"}, QByteArray(), dir.path());
  QCOMPARE(r.status, 0);
  QVERIFY(QFileInfo(link).isSymLink());
  QCOMPARE(FileContent(path), Run({"masks"}).out);
}

void TestCli::outputFileFailures_data() {
  QTest::addColumn<QString>("target");  // in the test's folder, or absolute
  QTest::addColumn<QString>("err");
  QTest::newRow("missing folder") << "missing/list.csv"
                                  << "Couldn't write %1: No such file or directory";
  QTest::newRow("a folder") << "folder"
                            << "Couldn't write %1: Is a directory";
  QTest::newRow("a device") << "/dev/full"
                            << "Couldn't write %1: not a regular file";
}

void TestCli::outputFileFailures() {
  QFETCH(QString, target);
  QFETCH(QString, err);
  QTemporaryDir dir;
  QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
  const QString path = target.startsWith('/') ? target : dir.filePath(target);
  const TRun r = Run({"hosts", "10.0.0.0/24", "-o", path});
  QCOMPARE(r.status, 1);
  QCOMPARE(Lines(r.err), QStringList{"orvex-cli: " + err.arg(path)});
  QCOMPARE(OtherFiles(dir.path(), {}), QStringList());
  QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
}

void TestCli::fullDisk() {
  // Standard output on a full device.
  QProcess p;
  p.setStandardOutputFile(QStringLiteral("/dev/full"));
  p.start(QStringLiteral(ORVEX_CLI), {"subnets", "10.0.0.0/16", "32"});
  QVERIFY(p.waitForFinished(60000));
  QCOMPARE(p.exitCode(), 1);
  QCOMPARE(p.readAllStandardError(),
           QByteArray("orvex-cli: Couldn't write standard output: No space left on device\n"));

  // A file that may not grow beyond 64 KiB, as on a full disk: the old file
  // stays and no temporary file is left.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("hosts.csv"));
  QFile old(path);
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.write("old list\n");
  old.close();
  TRun r = Run({"hosts", "10.0.0.0/16", "-o", path}, QByteArray(), QString(), 64 * 1024);
  QCOMPARE(r.status, 1);
  QCOMPARE(r.err, ("orvex-cli: Couldn't write " + path + ": File too large\n").toUtf8());
  QCOMPARE(FileContent(path), QByteArray("old list\n"));
  QCOMPARE(OtherFiles(dir.path(), {"hosts.csv"}), QStringList());

  // A file system that is really full, where mounting one is allowed.
  QTemporaryDir small;
  if (mount("tmpfs", small.path().toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0)
    QSKIP("no permission to mount a small tmpfs: the full file system is not tried");
  const QString full = small.filePath(QStringLiteral("hosts.csv"));
  QFile previous(full);
  QVERIFY(previous.open(QIODevice::WriteOnly));
  previous.write("previous\n");
  previous.close();
  r = Run({"hosts", "10.0.0.0/16", "-o", full});
  const QStringList left = OtherFiles(small.path(), {"hosts.csv"});
  const QByteArray content = FileContent(full);
  umount(small.path().toLocal8Bit().constData());
  QCOMPARE(r.status, 1);
  QCOMPARE(r.err, ("orvex-cli: Couldn't write " + full + ": No space left on device\n").toUtf8());
  QCOMPARE(content, QByteArray("previous\n"));
  QCOMPARE(left, QStringList());
}

void TestCli::subnetsStreamInFlatMemory() {
  // 4,194,304 lines, about 150 MB of text, with a flat peak of memory.
  QProcess p;
  p.setStandardOutputFile(QProcess::nullDevice());
  p.start(QStringLiteral(ORVEX_CLI), {"subnets", "10.0.0.0/10", "32"});
  QVERIFY(p.waitForStarted());
  const QString status = QStringLiteral("/proc/%1/status").arg(p.processId());
  qint64 peakKiB = 0;
  while (!p.waitForFinished(20)) {
    QFile f(status);
    if (!f.open(QIODevice::ReadOnly)) continue;
    for (const QByteArray& line : f.readAll().split('\n'))
      if (line.startsWith("VmHWM:"))
        peakKiB = line.mid(6).trimmed().split(' ').first().toLongLong();
  }
  QCOMPARE(p.exitCode(), 0);
  QVERIFY2(peakKiB < 64 * 1024, qPrintable(QString::number(peakKiB)));
}

// ---------------------------------------------------------------- against the library

void TestCli::randomNetworks() {
  std::mt19937 random(20261209);
  QByteArray input;
  std::vector<std::pair<uint32_t, int>> networks;
  for (int n = 0; n < 1000; ++n) {
    const uint32_t address = random();
    const int prefix = 1 + int(random() % 32);
    networks.emplace_back(address, prefix);
    input += Dotted(address).toLatin1() + '/' + QByteArray::number(prefix) + '\n';
  }
  const TRun calc = Run({"calc", "-", "--json"}, input);
  QCOMPARE(calc.status, 0);
  const QList<QByteArray> results = calc.out.split('\n');
  QCOMPARE(results.size(), 1001);

  QByteArray subnetsInput;
  std::vector<int> longer;
  for (std::size_t i = 0; i < networks.size(); ++i) {
    const auto [address, prefix] = networks[i];
    const uint32_t mask = prefix == 32 ? ~0u : ~(~0u >> prefix);
    const ipv4host h(address, mask);
    const ipv4 network(h.network_value());
    const json j = ParseJson(results[qsizetype(i)]);
    const QString row = Dotted(address) + '/' + QString::number(prefix);
    QCOMPARE(j["mask"], Dotted(mask).toStdString());
    QCOMPARE(j["addresses"].get<uint64_t>(), uint64_t(1) << (32 - prefix));
    // The calculator shows no network for a host mask, the network 0.0.0.0
    // and a group under a mask reaching below 224.0.0.0.
    const bool shown =
        prefix < 32 && h.network_value() != 0 && (!h.address.is_class_d() || network.is_class_d());
    QVERIFY2(j["network"].is_null() != shown, qPrintable(row));
    if (shown) {
      QCOMPARE(j["network"], h.network_text());
      QCOMPARE(j["hosts"].get<uint32_t>(), h.host_count());
      QCOMPARE(j["next_network"], h.next_network_text());
      const bool mask31 = prefix == 31;
      if (!network.is_class_d()) {
        QCOMPARE(j["first_host"], ipv4(mask31 ? h.network_value() : h.network_value() + 1).text());
        QCOMPARE(j["last_host"],
                 ipv4(mask31 ? h.network_value() + 1 : h.broadcast_value() - 1).text());
      }
      if (mask31 || h.address.is_class_d())
        QVERIFY(j["broadcast"].is_null());
      else
        QCOMPARE(j["broadcast"], h.broadcast_text());
    }
    const int to = std::min(32, prefix + int(random() % 5));
    longer.push_back(to);
    subnetsInput += row.toLatin1() + ' ' + QByteArray::number(to) + '\n';
  }

  // Every network split a few bits further, all in one run of a shell loop.
  QProcess p;
  p.start(
      QStringLiteral("bash"),
      {"-c", "while read n p; do \"$0\" subnets \"$n\" \"$p\" --json || exit; done", ORVEX_CLI});
  p.write(subnetsInput);
  p.closeWriteChannel();
  QVERIFY(p.waitForFinished(120000));
  QCOMPARE(p.exitCode(), 0);
  const QList<QByteArray> lines = p.readAllStandardOutput().split('\n');
  qsizetype at = 0;
  for (std::size_t i = 0; i < networks.size(); ++i) {
    const auto [address, prefix] = networks[i];
    const int to = longer[i];
    const uint32_t step = to == 32 ? 1u : uint32_t(1) << (32 - to);
    const uint32_t subMask = to == 32 ? ~0u : ~(step - 1);
    uint32_t expected = address & (prefix == 32 ? ~0u : ~(~0u >> prefix));
    for (int k = 0; k < (1 << (to - prefix)); ++k, expected += step) {
      QVERIFY(at < lines.size());
      const json j = ParseJson(lines[at++]);
      const ipv4host sub(expected, subMask);
      QCOMPARE(j["network"], sub.network_text());
      QCOMPARE(j["prefix"], to);
      if (to < 31) {
        QCOMPARE(j["first_host"], ipv4(sub.network_value() + 1).text());
        QCOMPARE(j["last_host"], ipv4(sub.broadcast_value() - 1).text());
        QCOMPARE(j["broadcast"], sub.broadcast_text());
      } else {
        QCOMPARE(j["first_host"], sub.network_text());
        QCOMPARE(j["last_host"], ipv4(sub.broadcast_value()).text());
        QVERIFY(j["broadcast"].is_null());
      }
    }
  }
  QCOMPARE(at, lines.size() - 1);
}

// ---------------------------------------------------------------- plan

void TestCli::plan_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<int>("status");
  QTest::addColumn<QByteArray>("out");
  QTest::addColumn<QString>("err");  // the first line of standard error
  QTest::newRow("worked example")
      << QStringList{"10.20.0.0/22", "Sales=120", "VoIP=60", "Servers=28", "P2P=2x8"} << 0
      << QByteArray(
             "Name     Hosts  Network         Mask             First        Last         "
             "Broadcast    Capacity  Spare\n"
             "Sales      120  10.20.0.0/25    255.255.255.128  10.20.0.1    10.20.0.126  "
             "10.20.0.127       126      6\n"
             "VoIP        60  10.20.0.128/26  255.255.255.192  10.20.0.129  10.20.0.190  "
             "10.20.0.191        62      2\n"
             "Servers     28  10.20.0.192/27  255.255.255.224  10.20.0.193  10.20.0.222  "
             "10.20.0.223        30      2\n"
             "P2P 1        2  10.20.0.224/30  255.255.255.252  10.20.0.225  10.20.0.226  "
             "10.20.0.227         2      0\n"
             "P2P 2        2  10.20.0.228/30  255.255.255.252  10.20.0.229  10.20.0.230  "
             "10.20.0.231         2      0\n"
             "P2P 3        2  10.20.0.232/30  255.255.255.252  10.20.0.233  10.20.0.234  "
             "10.20.0.235         2      0\n"
             "P2P 4        2  10.20.0.236/30  255.255.255.252  10.20.0.237  10.20.0.238  "
             "10.20.0.239         2      0\n"
             "P2P 5        2  10.20.0.240/30  255.255.255.252  10.20.0.241  10.20.0.242  "
             "10.20.0.243         2      0\n"
             "P2P 6        2  10.20.0.244/30  255.255.255.252  10.20.0.245  10.20.0.246  "
             "10.20.0.247         2      0\n"
             "P2P 7        2  10.20.0.248/30  255.255.255.252  10.20.0.249  10.20.0.250  "
             "10.20.0.251         2      0\n"
             "P2P 8        2  10.20.0.252/30  255.255.255.252  10.20.0.253  10.20.0.254  "
             "10.20.0.255         2      0\n"
             "\nFree space:\n  10.20.1.0/24\n  10.20.2.0/23\n"
             "\nUtilisation: 25.0% (256 of 1024 addresses)\n")
      << "";
  QTest::newRow("unplaced: exit 1 after the output")
      << QStringList{"192.168.1.0/24", "Big=300", "Lan=100", "--rfc3021", "Link=/31x2"} << 1
      << QByteArray(
             "Name    Hosts  Network           Mask             First          Last           "
             "Broadcast      Capacity  Spare\n"
             "Lan       100  192.168.1.0/25    255.255.255.128  192.168.1.1    192.168.1.126  "
             "192.168.1.127       126     26\n"
             "Link 1      -  192.168.1.128/31  255.255.255.254  192.168.1.128  192.168.1.129  -"
             "                     2      2\n"
             "Link 2      -  192.168.1.130/31  255.255.255.254  192.168.1.130  192.168.1.131  -"
             "                     2      2\n"
             "\nUnplaced:\n  Big needs a /23; the largest free block is a /24\n"
             "\nFree space:\n  192.168.1.132/30\n  192.168.1.136/29\n  192.168.1.144/28\n"
             "  192.168.1.160/27\n  192.168.1.192/26\n"
             "\nUtilisation: 51.6% (132 of 256 addresses)\n")
      << "";
  QTest::newRow("aws with growth, csv")
      << QStringList{"10.0.0.0/16", "App=500",  "Db=10x2", "--profile",
                     "aws",         "--growth", "10",      "--csv"}
      << 0
      << QByteArray(
             "name,hosts,prefix,network,mask,first,last,broadcast,capacity,spare,note,vlan\n"
             "App,550,22,10.0.0.0/22,255.255.252.0,10.0.0.4,10.0.3.254,10.0.3.255,1019,469,,\n"
             "Db 1,11,28,10.0.4.0/28,255.255.255.240,10.0.4.4,10.0.4.14,10.0.4.15,11,0,,\n"
             "Db 2,11,28,10.0.4.16/28,255.255.255.240,10.0.4.20,10.0.4.30,10.0.4.31,11,0,,\n")
      << "";
  QTest::newRow("unplaced, csv: why on standard error")
      << QStringList{"192.168.1.0/25", "Big=300", "Lan=20", "--csv"} << 1
      << QByteArray(
             "name,hosts,prefix,network,mask,first,last,broadcast,capacity,spare,note,vlan\n"
             "Lan,20,27,192.168.1.0/27,255.255.255.224,192.168.1.1,192.168.1.30,192.168.1.31,30,"
             "10,,\n")
      << "orvex-cli: plan: not placed: Big needs a /23; the largest free block is a /25";
  QTest::newRow("ipv6 links")
      << QStringList{"2001:db8::/126", "Link=/127x2"} << 0
      << QByteArray(
             "Name    Hosts  Network          First        Last         Capacity  Spare\n"
             "Link 1      -  2001:db8::/127   2001:db8::   2001:db8::1         2      2\n"
             "Link 2      -  2001:db8::2/127  2001:db8::2  2001:db8::3         2      2\n"
             "\nFree space:\n  none\n\nUtilisation: 100.0% (4 of 4 addresses)\n")
      << "";
  QTest::newRow("two parents in one argument")
      << QStringList{"10.0.0.0/30,10.0.1.0/29", "A=5", "B=2", "--csv"} << 0
      << QByteArray(
             "name,hosts,prefix,network,mask,first,last,broadcast,capacity,spare,note,vlan\n"
             "B,2,30,10.0.0.0/30,255.255.255.252,10.0.0.1,10.0.0.2,10.0.0.3,2,0,,\n"
             "A,5,29,10.0.1.0/29,255.255.255.248,10.0.1.1,10.0.1.6,10.0.1.7,6,1,,\n")
      << "";
  QTest::newRow("bad parent: a message, the rest computed")
      << QStringList{"10.0.0.0/30,10.0.0.1/24", "A=2", "--csv"} << 1
      << QByteArray(
             "name,hosts,prefix,network,mask,first,last,broadcast,capacity,spare,note,vlan\n"
             "A,2,30,10.0.0.0/30,255.255.255.252,10.0.0.1,10.0.0.2,10.0.0.3,2,0,,\n")
      << "orvex-cli: plan: parent 2 '10.0.0.1/24': host bits are set; the network is 10.0.0.0/24";
  QTest::newRow("need with no hosts") << QStringList{"10.0.0.0/24", "A=0"} << 2 << QByteArray()
                                      << "orvex-cli: plan: 'A=0': the host count is not a whole "
                                         "number from 1";
  QTest::newRow("need without =") << QStringList{"10.0.0.0/24", "Sales"} << 2 << QByteArray()
                                  << "orvex-cli: plan: 'Sales' is not a need: write it as "
                                     "NAME=HOSTS, NAME=/LEN or NAME=HOSTSxCOUNT";
  QTest::newRow("need prefix 129") << QStringList{"10.0.0.0/24", "A=/129"} << 2 << QByteArray()
                                   << "orvex-cli: plan: 'A=/129': the prefix length is not a "
                                      "number from 0 to 128";
  QTest::newRow("need count 0") << QStringList{"10.0.0.0/24", "A=5x0"} << 2 << QByteArray()
                                << "orvex-cli: plan: 'A=5x0': the count after 'x' is not a "
                                   "number from 1 to 1048576";
  QTest::newRow("no need") << QStringList{"10.0.0.0/24"} << 2 << QByteArray()
                           << "orvex-cli: plan: a PARENT and at least one NEED are needed";
  QTest::newRow("unknown profile")
      << QStringList{"10.0.0.0/24", "A=1", "--profile", "ibm"} << 2 << QByteArray()
      << "orvex-cli: --profile: ibm not in {standard,aws,azure,gcp}";
  QTest::newRow("negative growth")
      << QStringList{"10.0.0.0/24", "A=1", "--growth", "-5"} << 2 << QByteArray()
      << "orvex-cli: --growth: the growth margin is a percent from 0 to 10000";
}

void TestCli::plan() {
  QFETCH(QStringList, args);
  QFETCH(int, status);
  QFETCH(QByteArray, out);
  QFETCH(QString, err);
  const TRun r = Run(QStringList{"plan"} + args);
  QCOMPARE(r.out, out);
  QCOMPARE(Lines(r.err).value(0), err);
  QCOMPARE(r.status, status);
}

void TestCli::planJson() {
  const TRun r = Run({"plan", "2001:db8::/48", "Lan=200x2", "Huge=/40", "Link=/127", "--json"});
  QCOMPARE(r.status, 1);
  const json j = ParseJson(r.out);
  // Read again in order, so the order of the keys can be checked.
  const auto ordered = nlohmann::ordered_json::parse(r.out.constData());
  std::vector<std::string> keys;
  for (const auto& item : ordered.items()) keys.push_back(item.key());
  QCOMPARE(keys, (std::vector<std::string>{"parents", "profile", "allocations", "unplaced", "free",
                                           "utilisation"}));
  QCOMPARE(j["parents"], json::array({"2001:db8::/48"}));
  QCOMPARE(j["profile"], json("standard"));
  QCOMPARE(j["allocations"].size(), std::size_t(3));
  const json& lan = j["allocations"][0];
  keys.clear();
  for (const auto& item : ordered["allocations"][0].items()) keys.push_back(item.key());
  QCOMPARE(keys, (std::vector<std::string>{"name", "hosts", "prefix", "network", "first", "last",
                                           "broadcast", "capacity"}));
  QCOMPARE(lan["name"], json("Lan 1"));
  QCOMPARE(lan["hosts"], json(200));
  QCOMPARE(lan["prefix"], json(64));
  QCOMPARE(lan["network"], json("2001:db8::"));
  QCOMPARE(lan["first"], json("2001:db8::1"));
  QCOMPARE(lan["broadcast"], json(nullptr));
  // Past 2^53 a count is a string of digits.
  QCOMPARE(lan["capacity"], json("18446744073709551615"));
  QCOMPARE(j["allocations"][2]["capacity"], json(2));
  QCOMPARE(
      j["unplaced"],
      json::parse(
          R"([{"name":"Huge","hosts":0,"reason":"Huge needs a /40; the largest free block is a /48"}])"));
  QVERIFY(j["utilisation"].is_number());
  // Two /64s and a /127 of a /48: just over 2^-15.
  QVERIFY(j["utilisation"].get<double>() > 0.0000305);
  QVERIFY(j["utilisation"].get<double>() < 0.0000306);
  QCOMPARE(j["allocations"][2]["network"], json("2001:db8:0:2::"));
  QCOMPARE(j["free"][0], json("2001:db8:0:2::2/127"));

  const TRun v4 = Run({"plan", "10.0.0.0/30", "A=2", "--json"});
  QCOMPARE(v4.status, 0);
  QCOMPARE(
      v4.out,
      QByteArray(
          R"({"parents":["10.0.0.0/30"],"profile":"standard","allocations":[{"name":"A","hosts":2,"prefix":30,"network":"10.0.0.0","first":"10.0.0.1","last":"10.0.0.2","broadcast":"10.0.0.3","capacity":2}],"unplaced":[],"free":[],"utilisation":1.0})"
          "\n"));
}

void TestCli::planFile_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QStringList>("extra");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("err");
  const QByteArray plan = R"({"format": "orvex-plan/1", "parents": ["10.20.0.0/22"],
    "profile": "standard", "rfc3021": false, "growth": 0,
    "needs": [{"name": "Sales", "hosts": 120}, {"name": "VoIP", "hosts": 60},
              {"name": "Servers", "hosts": 28}, {"name": "P2P", "hosts": 2, "copies": 8}]})";
  QTest::newRow("worked example") << plan << QStringList() << 0 << "";
  QTest::newRow("newer format")
      << QByteArray(R"({"format": "orvex-plan/7", "parents": [], "needs": []})") << QStringList()
      << 2
      << "orvex-cli: plan: %1: the plan was made by a newer version (format orvex-plan/7); this "
         "version reads orvex-plan/1";
  QTest::newRow("not JSON") << QByteArray("{\n  \"format\": orvex\n}") << QStringList() << 2
                            << "orvex-cli: plan: %1: not valid JSON at line 2, column 13: invalid "
                               "literal";
  QTest::newRow("a need without size")
      << QByteArray(
             R"({"format": "orvex-plan/1", "parents": ["10.0.0.0/8"], "needs": [{"name": "X"}]})")
      << QStringList() << 2
      << "orvex-cli: plan: %1: need 1 (X): \"hosts\" or \"prefix\" is missing";
  QTest::newRow("with needs on the command line")
      << plan << QStringList{"10.0.0.0/8", "A=1"} << 2
      << "orvex-cli: plan: --file takes no PARENT or NEED arguments";
}

void TestCli::planFile() {
  QFETCH(QByteArray, file);
  QFETCH(QStringList, extra);
  QFETCH(int, status);
  QFETCH(QString, err);
  QTemporaryDir dir;
  QFile f(dir.filePath("site.json"));
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(file);
  f.close();
  const TRun fromFile = Run(QStringList{"plan", "--file", "site.json"} + extra, {}, dir.path());
  const TRun fromInput = Run(QStringList{"plan", "--file", "-"} + extra, file);
  QCOMPARE(fromFile.status, status);
  QCOMPARE(fromInput.status, status);
  QCOMPARE(Lines(fromFile.err).value(0), err.arg("'site.json'"));
  QCOMPARE(Lines(fromInput.err).value(0), err.arg("standard input"));
  if (status != 0) {
    QCOMPARE(fromFile.out, QByteArray());
    return;
  }
  // The same result as the plan given on the command line.
  const TRun direct =
      Run({"plan", "10.20.0.0/22", "Sales=120", "VoIP=60", "Servers=28", "P2P=2x8"});
  QCOMPARE(fromFile.out, direct.out);
  QCOMPARE(fromInput.out, direct.out);
  // Options on the command line take the place of the file's.
  const TRun aws =
      Run({"plan", "--file", "site.json", "--profile", "aws", "--csv"}, {}, dir.path());
  QCOMPARE(aws.status, 0);
  QVERIFY2(aws.out.contains("\nP2P 1,2,28,10.20.1.64/28,"), aws.out.constData());
  // A folder, and a file that is not there.
  const TRun folder = Run({"plan", "--file", "."}, {}, dir.path());
  QCOMPARE(folder.status, 2);
  QCOMPARE(Lines(folder.err).value(0), QString("orvex-cli: plan: cannot read '.': Is a directory"));
  const TRun missing = Run({"plan", "--file", "nothing.json"}, {}, dir.path());
  QCOMPARE(missing.status, 2);
  QCOMPARE(Lines(missing.err).value(0),
           QString("orvex-cli: plan: cannot open 'nothing.json': No such file or directory"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
