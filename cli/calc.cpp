// orvex-cli calc: the IPv4 Calculator's examination of one address, or of one
// address per line of standard input.

#include <unistd.h>
#include <CLI/CLI.hpp>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>

#include "cli/commands.h"
#include "cli/format.h"
#include "cli/output.h"
#include "ipcalc/multicast.h"
#include "ipcalc/netcalc.h"
#include "ipcalc/reservedlist.h"
#include "ipcalc/subnetmodel.h"

namespace {

struct TCalcOptions : TOutputOptions {
  std::string address;
  std::string mask;
  bool noClassASupernets = false;
  bool noRfc3021 = false;
  bool noClassDE = false;
  bool table = false;
  std::string macFormat = "colon";
};

const std::map<std::string, int> kMacFormats = {{"colon", 0}, {"dash", 1}, {"dot", 2}};

const char kCsvHeader[] =
    "input,address,mask,prefix,wildcard,network,supernet_mask,first_host,last_host,hosts,"
    "addresses,broadcast,next_network,ptr,ipv6,remarks,special_block,special_usage,"
    "special_reference,multicast_mac,error\n";

// Blanks and control characters around a line go; CR LF line ends too.
std::string_view TrimLine(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

// The special-purpose blocks, read from where the calculator's chart reads
// them, with each block's JSON object made once.
struct TSpecialBlocks {
  std::vector<TChartEntry> rows;
  std::vector<std::string> json;
  std::vector<std::string> block, usage, reference;  // as UTF-8
};

const TSpecialBlocks& SpecialBlocks() {
  static const TSpecialBlocks blocks = [] {
    TSpecialBlocks b;
    const QString programDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    b.rows = ParseReservedList(
        ReadReservedList(ReservedListCandidates(QDir::currentPath(), programDir)));
    for (const TChartEntry& e : b.rows) {
      b.block.push_back(e.block.toStdString());
      b.usage.push_back(e.usage.toStdString());
      b.reference.push_back(e.reference.toStdString());
      TLineBuffer j;
      TJsonObject(j)
          .String("block", b.block.back())
          .String("usage", b.usage.back())
          .String("reference", b.reference.back())
          .End();
      b.json.emplace_back(j.View());
    }
    return b;
  }();
  return blocks;
}

// Examines inputs with the options of one run; what a mask text reads as is
// kept (for up to 64 texts), as streams repeat their masks.
class TCalculator {
 public:
  explicit TCalculator(const TCalcOptions& o)
      : FOptions(o),
        FClassA(!o.noClassASupernets),
        FClassDE(!o.noClassDE),
        FMacFormat(kMacFormats.at(o.macFormat)) {}

  // Checks the mask given for inputs that carry none; "" when usable.
  std::string CheckDefaultMask() {
    if (FOptions.mask.empty()) return std::string();
    return MaskProblem(FOptions.mask, ReadMask(FOptions.mask));
  }

  // Examines one input; false with the message in error when it is unreadable.
  bool Examine(std::string_view input, std::string& error) {
    TAddressField& field = FField;
    ReadAddressField(input, field);
    if (!field.address.is_valid()) {
      error = Quoted(field.text) + " is not a valid IP address.";
      return false;
    }
    const std::string_view maskText =
        field.maskText.empty() ? std::string_view(FOptions.mask) : std::string_view(field.maskText);
    const ViewerMaskCheck& mask = ReadMask(maskText);
    if (mask.empty) {
      error = Quoted(input) + ": no network mask; give MASK, a /prefix or a mask after a blank";
      return false;
    }
    error = MaskProblem(maskText, mask);
    if (!error.empty()) return false;
    // Handed over as the examination would cut it, so it is not read twice.
    ExamineNetwork(CutAddressText(field.text), field.address, mask.mask, FClassDE, FClassA,
                   FMacFormat, FFacts);
    if (FFacts.kind == NetCalcResult::InvalidMask) {
      error = Quoted(maskText) + ": Invalid network mask.";
      return false;
    }
    // A group address has its MAC whatever the mask made of it, as the
    // window's multicast page shows it.
    if (FFacts.multicastMac.empty() && FFacts.address.is_valid() && FFacts.address.is_class_d())
      FFacts.multicastMac = MulticastMac(FFacts.address, FMacFormat);
    FSpecial = ChartHighlightIndex(SpecialBlocks().rows, FFacts.address.value(), mask.mask.value());
    return true;
  }

  const TNetFacts& Facts() const { return FFacts; }
  int Special() const { return FSpecial; }

 private:
  const ViewerMaskCheck& ReadMask(std::string_view text) {
    auto it = FMasks.find(text);
    if (it != FMasks.end()) return it->second;
    if (FMasks.size() >= 64) FMasks.clear();
    const ViewerMaskCheck check =
        CheckViewerMask(QString::fromLatin1(text.data(), qsizetype(text.size())), FClassA);
    return FMasks.emplace(std::string(text), check).first->second;
  }

  static std::string MaskProblem(std::string_view text, const ViewerMaskCheck& mask) {
    if (!mask.usable && !mask.empty) return Quoted(text) + ": Invalid network mask.";
    return std::string();
  }

  const TCalcOptions& FOptions;
  const bool FClassA;
  const bool FClassDE;
  const int FMacFormat;
  std::map<std::string, ViewerMaskCheck, std::less<>> FMasks;
  TAddressField FField;
  TNetFacts FFacts;
  int FSpecial = -1;
};

uint64_t AddressCount(const ipv4& mask) {
  return uint64_t(1) << (32 - mask.prefix_length());
}

// Calls fn(label, value) for each line of the result panel that shows
// something, in the panel's order, then for the special-purpose block and a
// group's MAC.
template <typename Fn>
void ForEachPanelLine(const TNetFacts& f, int special, Fn&& fn) {
  if (f.kind == NetCalcResult::Network) {
    char buf[2 * kNetLineRoom];
    const auto line = [&](const char* label, TNetLine l) {
      fn(label, std::string_view(buf, std::size_t(PutNetLine(f, l, buf) - buf)));
    };
    line(f.multicastNetwork ? "Network [MAC]" : "Network", nlNetwork);
    line("Supernet Mask", nlSupernet);
    char* p = PutNetLine(f, nlHostRange, buf);
    *p++ = ' ';
    *p++ = ' ';
    fn("Host Addr. Range",
       std::string_view(buf, std::size_t(PutNetLine(f, nlNumberOfHosts, p) - buf)));
    line("Broadcast Address", nlBroadcast);
    line("Next Network Addr.", nlNextNetwork);
    line("DNS PTR Record", nlPtr);
    line("Address in IPv6", nlIPv6);
  }
  if (!f.remarks.empty()) fn("Remarks", std::string_view(f.remarks));
  if (special >= 0) {
    const TSpecialBlocks& b = SpecialBlocks();
    const std::size_t i = std::size_t(special);
    fn("Address Block", std::string_view(b.block[i]));
    fn("Usage", std::string_view(b.usage[i]));
    if (!b.reference[i].empty()) fn("Reference", std::string_view(b.reference[i]));
  }
  if (!f.multicastMac.empty()) fn("Multicast MAC", std::string_view(f.multicastMac));
}

// The panel of one result, one line per value.
void WritePanel(TOutput& out, const TNetFacts& f, int special) {
  ForEachPanelLine(f, special, [&out](const char* label, std::string_view value) {
    out.Write(LabelledLine(label, value));
  });
}

// One result on one line: the input, then the panel's values by label.
void AppendStreamLine(TLineBuffer& line, std::string_view input, const TNetFacts& f, int special) {
  line.Put(input);
  line.Put(':');
  char separator = ' ';
  ForEachPanelLine(f, special, [&](const char* label, std::string_view value) {
    if (separator == ';') line.Put(';');
    line.Put(' ');
    line.Put(label);
    line.Put(std::string_view(": "));
    // A remark of two lines is joined into this one.
    for (std::size_t nl; (nl = value.find('\n')) != std::string_view::npos;) {
      line.Put(value.substr(0, nl));
      line.Put(std::string_view(", "));
      value.remove_prefix(nl + 1);
    }
    line.Put(value);
    separator = ';';
  });
  line.Put('\n');
}

void AppendJson(TLineBuffer& line, std::string_view input, const TNetFacts& f, int special,
                const std::string* tableJson) {
  TJsonObject o(line);
  o.String("input", input);
  o.Dotted("address", f.address.value());
  o.Dotted("mask", f.mask.value());
  o.Number("prefix", uint64_t(f.mask.prefix_length()));
  o.Dotted("wildcard", ~f.mask.value());
  if (f.kind == NetCalcResult::Network) {
    o.Dotted("network", f.networkValue);
    o.Dotted("supernet_mask", f.supernetMask.value());
    if (f.hasHostRange)
      o.Dotted("first_host", f.firstHost).Dotted("last_host", f.lastHost);
    else
      o.Null("first_host").Null("last_host");
    o.Number("hosts", f.hostCount);
    o.Number("addresses", AddressCount(f.mask));
    if (f.hasBroadcast)
      o.Dotted("broadcast", f.broadcastValue);
    else
      o.Null("broadcast");
    o.Dotted("next_network", f.nextNetworkValue);
    // Digits, letters, dots and colons: nothing to escape.
    char buf[kNetLineRoom + 2];
    const auto quoted = [&buf, &f](TNetLine l) {
      buf[0] = '"';
      char* end = PutNetLine(f, l, buf + 1);
      *end++ = '"';
      return std::string_view(buf, std::size_t(end - buf));
    };
    o.Raw("ptr", quoted(nlPtr));
    o.Raw("ipv6", quoted(nlIPv6));
  } else {
    o.Null("network").Null("supernet_mask").Null("first_host").Null("last_host").Null("hosts");
    o.Number("addresses", AddressCount(f.mask));
    o.Null("broadcast").Null("next_network").Null("ptr").Null("ipv6");
  }
  o.String("remarks", f.remarks);
  if (special >= 0)
    o.Raw("special", SpecialBlocks().json[std::size_t(special)]);
  else
    o.Null("special");
  if (f.multicastMac.empty())
    o.Null("multicast_mac");
  else
    o.String("multicast_mac", f.multicastMac);
  if (tableJson) o.Raw("subnet_table", *tableJson);
  o.End();
  line.Put('\n');
}

void AppendCsv(TLineBuffer& line, std::string_view input, const TNetFacts& f, int special) {
  const bool network = f.kind == NetCalcResult::Network;
  const auto field = [&line](std::string_view s) {
    AppendCsvField(line, s);
    line.Put(',');
  };
  const auto dotted = [&line](bool shown, uint32_t v) {
    if (shown) line.PutDotted(v);
    line.Put(',');
  };
  const auto number = [&line](bool shown, uint64_t v) {
    if (shown) line.PutDecimal(v);
    line.Put(',');
  };
  const auto text = [&](TNetLine l) {
    char buf[kNetLineRoom];
    field(std::string_view(buf, std::size_t(PutNetLine(f, l, buf) - buf)));
  };
  field(input);
  dotted(true, f.address.value());
  dotted(true, f.mask.value());
  number(true, uint64_t(f.mask.prefix_length()));
  dotted(true, ~f.mask.value());
  dotted(network, f.networkValue);
  dotted(network, f.supernetMask.value());
  dotted(network && f.hasHostRange, f.firstHost);
  dotted(network && f.hasHostRange, f.lastHost);
  number(network, f.hostCount);
  number(true, AddressCount(f.mask));
  dotted(network && f.hasBroadcast, f.broadcastValue);
  dotted(network, f.nextNetworkValue);
  text(nlPtr);
  text(nlIPv6);
  field(f.remarks);
  const TSpecialBlocks& b = SpecialBlocks();
  const std::size_t i = std::size_t(special);
  field(special >= 0 ? std::string_view(b.block[i]) : std::string_view());
  field(special >= 0 ? std::string_view(b.usage[i]) : std::string_view());
  field(special >= 0 ? std::string_view(b.reference[i]) : std::string_view());
  field(f.multicastMac);
  line.Put('\n');  // the error column stays empty
}

void AppendBadLine(TLineBuffer& line, const TCalcOptions& o, std::string_view input,
                   const std::string& error) {
  if (o.json) {
    TJsonObject(line).String("input", input).String("error", error).End();
    line.Put('\n');
  } else if (o.csv) {
    AppendCsvField(line, input);
    for (int i = 0; i < 20; ++i) line.Put(',');
    AppendCsvField(line, error);
    line.Put('\n');
  }
}

// The subnet table of the examined network's mask, when the calculator
// fills one (down to /30, or /31 with RFC 3021 subnets).
TSubnetTable Table(const TCalcOptions& o, const TNetFacts& f) {
  const bool rfc3021 = !o.noRfc3021;
  if (f.kind != NetCalcResult::Network || !SubnetTableFor(f.mask.prefix_length(), rfc3021))
    return TSubnetTable();
  return BuildSubnetTable(QtText(f.mask.text()), rfc3021);
}

std::string TableJson(const TSubnetTable& t) {
  TLineBuffer j;
  j.Put('[');
  for (const TSubnetRow& r : t.rows) {
    if (j.View().size() > 1) j.Put(',');
    TJsonObject(j)
        .String("mask", r.mask.toStdString())
        .Number("prefix", r.prefix.mid(1).toULongLong())
        .Number("networks", r.networks.toULongLong())
        .Number("hosts", r.hosts.toULongLong())
        .End();
  }
  j.Put(']');
  return std::string(j.View());
}

void WriteTableText(TOutput& out, const TSubnetTable& t) {
  if (t.rows.empty()) return;
  out.Write("\n" + t.header.toStdString() + "\n");
  std::vector<std::vector<std::string>> rows = {{"Subnet Mask", "Prefix", "Networks", "Hosts"}};
  for (const TSubnetRow& r : t.rows)
    rows.push_back({r.mask.toStdString(), r.prefix.toStdString(), r.networks.toStdString(),
                    r.hosts.toStdString()});
  out.Write(AlignedTable(rows, {false, false, true, true}));
}

int RunSingle(const TCalcOptions& o) {
  TCalculator calc(o);
  std::string error = calc.CheckDefaultMask();
  if (error.empty()) calc.Examine(TrimLine(o.address), error);
  if (!error.empty()) throw TInputError{error};
  const TNetFacts& f = calc.Facts();
  const TSubnetTable table = o.table ? Table(o, f) : TSubnetTable();
  WriteOutput(o, [&](TOutput& out) {
    TLineBuffer text;
    if (o.json) {
      const std::string tableJson = TableJson(table);
      AppendJson(text, o.address, f, calc.Special(), o.table ? &tableJson : nullptr);
      out.Write(text.View());
    } else if (o.csv) {
      out.Write(kCsvHeader);
      AppendCsv(text, o.address, f, calc.Special());
      out.Write(text.View());
    } else {
      WritePanel(out, f, calc.Special());
      WriteTableText(out, table);
    }
  });
  return 0;
}

int RunStream(const TCalcOptions& o) {
  TCalculator calc(o);
  const std::string maskError = calc.CheckDefaultMask();
  if (!maskError.empty()) throw TInputError{maskError};
  bool bad = false;
  WriteOutput(o, [&](TOutput& out) {
    if (o.csv) out.Write(kCsvHeader);
    TLineBuffer line;
    std::string error;
    uint64_t number = 0;
    const auto one = [&](std::string_view raw) {
      ++number;
      const std::string_view input = TrimLine(raw);
      if (input.empty()) return;
      line.Clear();
      if (calc.Examine(input, error)) {
        if (o.json)
          AppendJson(line, input, calc.Facts(), calc.Special(), nullptr);
        else if (o.csv)
          AppendCsv(line, input, calc.Facts(), calc.Special());
        else
          AppendStreamLine(line, input, calc.Facts(), calc.Special());
      } else {
        bad = true;
        ReportError("calc", "line " + std::to_string(number) + ": " + error);
        AppendBadLine(line, o, input, error);
      }
      out.Write(line.View());
    };
    ForEachInputLine(out, one);
  });
  return bad ? 1 : 0;
}

}  // namespace

TSubcommand AddCalcCommand(CLI::App& app) {
  auto o = std::make_shared<TCalcOptions>();
  CLI::App* sub =
      app.add_subcommand("calc", "Examine an IPv4 address or network as the IPv4 Calculator does");
  sub->add_option("ADDRESS", o->address,
                  "Address or network: 10.1.2.3, 10.1.2.3/24, \"10.1.2.3 255.255.255.0\"; "
                  "- reads one per line from standard input")
      ->required();
  sub->add_option("MASK", o->mask,
                  "Mask for addresses that carry none: 255.255.255.0, 0.0.0.255, /24, or a "
                  "number of hosts");
  sub->add_flag("--no-class-a-supernets", o->noClassASupernets, "Refuse masks shorter than /8");
  sub->add_flag("--no-rfc3021", o->noRfc3021, "Subnet table down to /30 only");
  sub->add_flag("--no-class-de", o->noClassDE, "Do not treat class D and E addresses as networks");
  sub->add_option("--mac-format", o->macFormat, "MAC style: colon, dash or dot")
      ->check(CLI::IsMember({"colon", "dash", "dot"}));
  sub->add_flag("--table", o->table, "Also list the subnet masks the network divides into");
  AddOutputOptions(*sub, *o, true);
  sub->footer(R"(Examples:
  orvex-cli calc 192.168.1.10/24
  orvex-cli calc 10.1.2.3 /20 --json
  printf '10.0.0.1/8\n172.16.5.4/12\n' | orvex-cli calc - --json)");
  return {sub, [o, sub]() -> int {
            if (o->address != "-") return RunSingle(*o);
            if (o->table) return UsageError(*sub, "--table needs a single ADDRESS, not -");
            return RunStream(*o);
          }};
}
