// orvex-cli ipv6: the IPv6 Calculator's examination of one address, or of one
// address per line of standard input.

#include <unistd.h>
#include <CLI/CLI.hpp>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <memory>

#include "cli/commands.h"
#include "cli/format.h"
#include "cli/output.h"
#include "ipv6calc/ipv6calccore.h"
#include "ipv6lib/ipv6embedded.h"

namespace {

struct TIpv6Options : TOutputOptions {
  std::string address;
};

std::string_view TrimLine(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

// The block list the window reads, from the same places.
const ipv6reserved& Blocks() {
  static const ipv6reserved blocks = [] {
    const QString programDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    const QByteArray content = ReadReserved6(Reserved6Candidates(QDir::currentPath(), programDir));
    return ipv6reserved(std::string_view(content.constData(), std::size_t(content.size())));
  }();
  return blocks;
}

// Examines one input; false with the message in error when it does not read.
bool Examine(std::string_view input, TV6Result& result, std::string& error) {
  result = ExamineV6(QString::fromUtf8(input.data(), qsizetype(input.size())), 128, Blocks());
  if (result.ok()) return true;
  error = Quoted(input) + ": " + result.error.toStdString();
  return false;
}

std::string Caption(int line) {
  std::string c = V6LineCaption(line).toStdString();
  if (!c.empty() && c.back() == ':') c.pop_back();
  return c;
}

void WritePanel(TOutput& out, const TV6Result& r) {
  for (int i = 0; i < v6LineCount; ++i)
    out.Write(LabelledLine(Caption(i), r.lines.at(i).toStdString()));
}

// One result on one line: the input, then the panel's values by label.
void AppendStreamLine(TLineBuffer& line, std::string_view input, const TV6Result& r) {
  line.Put(input);
  line.Put(':');
  for (int i = 0; i < v6LineCount; ++i) {
    if (i > 0) line.Put(';');
    line.Put(' ');
    line.Put(Caption(i));
    line.Put(std::string_view(": "));
    std::string value = r.lines.at(i).toStdString();
    for (std::size_t nl; (nl = value.find('\n')) != std::string::npos;) value.replace(nl, 1, ", ");
    line.Put(value);
  }
  line.Put('\n');
}

// A count as a decimal string: it may not fit a JSON number.
std::string CountJson(const ipv6count& c) {
  return JsonString(c.decimal());
}

void AppendJson(TLineBuffer& line, std::string_view input, const TV6Result& r) {
  const ipv6net& n = r.net;
  const ipv6& a = n.address();
  TJsonObject o(line);
  o.String("input", input);
  o.String("address", a.compressed());
  o.String("expanded", a.expanded());
  if (a.has_zone())
    o.String("zone", a.zone());
  else
    o.Null("zone");
  o.Number("prefix", uint64_t(n.prefix()));
  o.String("network", n.network().compressed());
  o.String("first", n.first().compressed());
  o.String("last", n.last().compressed());
  o.Raw("addresses", CountJson(n.count()));
  if (n.prefix() > 64)
    o.Null("subnets_64");
  else
    o.Raw("subnets_64", CountJson(n.subnets64()));
  o.String("ptr", a.ptr_name());
  std::string zones = "[";
  for (const std::string& z : n.reverse_zones()) {
    if (zones.size() > 1) zones += ',';
    zones += JsonString(z);
  }
  zones += ']';
  o.Raw("reverse_zones", zones);
  const ipv6reserved& blocks = Blocks();
  if (r.blockRow >= 0) {
    const ipv6block& b = blocks.rows()[std::size_t(r.blockRow)];
    o.String("type", b.usage);
    if (b.reference.empty())
      o.Null("reference");
    else
      o.String("reference", b.reference);
  } else {
    o.String("type", "Unassigned or reserved by the IETF").Null("reference");
  }
  const int scope = a.scope();
  if (scope < 0)
    o.Null("scope");
  else
    o.String("scope", ipv6::scope_name(scope));
  o.String("interface_id", a.interface_id_text());
  if (const auto mac = a.eui64_mac())
    o.String("eui64_mac", ipv6::mac_text(*mac));
  else
    o.Null("eui64_mac");
  // The window shows no solicited-node group for a group itself.
  if (a.is_multicast())
    o.Null("solicited_node");
  else
    o.String("solicited_node", a.solicited_node().compressed());
  if (const auto mac = a.multicast_mac())
    o.String("multicast_mac", ipv6::mac_text(*mac));
  else
    o.Null("multicast_mac");
  const ipv6embedded e = ipv6embedded::read(a);
  if (e.kind == ipv6embedded::k_none) {
    o.Null("embedded_ipv4");
  } else {
    TLineBuffer j;
    TJsonObject eo(j);
    eo.String("kind", e.kind_text()).String("address", e.ipv4_text());
    if (e.kind == ipv6embedded::k_teredo)
      eo.String("server", e.server_text()).String("client", e.ipv4_text()).Number("port", e.port);
    eo.End();
    o.Raw("embedded_ipv4", j.View());
  }
  o.End();
  line.Put('\n');
}

int RunSingle(const TIpv6Options& o) {
  TV6Result r;
  std::string error;
  const std::string_view input = TrimLine(o.address);
  if (!Examine(input, r, error)) throw TInputError{error};
  WriteOutput(o, [&](TOutput& out) {
    if (o.json) {
      TLineBuffer text;
      AppendJson(text, input, r);
      out.Write(text.View());
    } else {
      WritePanel(out, r);
    }
  });
  return 0;
}

int RunStream(const TIpv6Options& o) {
  bool bad = false;
  WriteOutput(o, [&](TOutput& out) {
    TLineBuffer line;
    TV6Result r;
    std::string error;
    uint64_t number = 0;
    const auto one = [&](std::string_view raw) {
      ++number;
      const std::string_view input = TrimLine(raw);
      if (input.empty()) return;
      line.Clear();
      if (Examine(input, r, error)) {
        if (o.json)
          AppendJson(line, input, r);
        else
          AppendStreamLine(line, input, r);
      } else {
        bad = true;
        ReportError("ipv6", "line " + std::to_string(number) + ": " + error);
        if (o.json) {
          TJsonObject(line).String("input", input).String("error", error).End();
          line.Put('\n');
        }
      }
      out.Write(line.View());
    };
    ForEachInputLine(out, one);
  });
  return bad ? 1 : 0;
}

}  // namespace

TSubcommand AddIpv6Command(CLI::App& app) {
  auto o = std::make_shared<TIpv6Options>();
  CLI::App* sub =
      app.add_subcommand("ipv6", "Examine an IPv6 address or network as the IPv6 Calculator does");
  sub->add_option("ADDRESS", o->address,
                  "Address or network: 2001:db8::1, 2001:db8::1/64, fe80::1%eth0/64 (/128 when "
                  "no length is given); - reads one per line from standard input")
      ->required();
  AddOutputOptions(*sub, *o, false);
  sub->footer(R"(Examples:
  orvex-cli ipv6 2001:db8:abcd:12::1/64
  orvex-cli ipv6 fe80::1%eth0/64 --json
  printf '2001:db8::1/48\n::1\n' | orvex-cli ipv6 - --json)");
  return {sub, [o]() -> int { return o->address == "-" ? RunStream(*o) : RunSingle(*o); }};
}
