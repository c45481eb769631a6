// orvex-cli subnets: every subnetwork of a network at a longer prefix, one
// per line as it is produced, so a /8 split into /32s streams in flat memory;
// IPv6 networks too, with counts past 64 bits.

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/commands.h"
#include "cli/format.h"
#include "cli/output.h"
#include "ipcalc/subnetmodel.h"
#include "ipv4lib/ipv4host.h"
#include "ipv6lib/ipv6net.h"

namespace {

struct TSubnetsOptions : TOutputOptions {
  std::string network;
  std::string prefix;
  bool count = false;
};

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// "26" or "/26", 1 to 32; -1 otherwise.
int ReadPrefix(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '/') text.remove_prefix(1);
  if (text.empty() || text.size() > 2) return -1;
  int p = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    p = p * 10 + (c - '0');
  }
  return p >= 1 && p <= 32 ? p : -1;
}

// One row: "10.0.0.0/26 10.0.0.1 - 10.0.0.62".
inline char* PutTextRow(char* p, uint32_t network, int prefix, const TSubnetworkHosts& h) {
  p = PutDotted(p, network);
  *p++ = '/';
  p = PutDecimal(p, unsigned(prefix));
  *p++ = ' ';
  p = PutDotted(p, h.first);
  p = PutText(p, " - ");
  p = PutDotted(p, h.last);
  *p++ = '\n';
  return p;
}

inline char* PutQuotedDotted(char* p, uint32_t value) {
  *p++ = '"';
  p = PutDotted(p, value);
  *p++ = '"';
  return p;
}

// One row as a JSON object; a /31 or /32 has no broadcast address.
inline char* PutJsonRow(char* p, uint32_t network, int prefix, const TSubnetworkHosts& h) {
  p = PutText(p, "{\"network\":");
  p = PutQuotedDotted(p, network);
  p = PutText(p, ",\"prefix\":");
  p = PutDecimal(p, unsigned(prefix));
  p = PutText(p, ",\"first_host\":");
  p = PutQuotedDotted(p, h.first);
  p = PutText(p, ",\"last_host\":");
  p = PutQuotedDotted(p, h.last);
  p = PutText(p, ",\"broadcast\":");
  if (prefix >= 31)
    p = PutText(p, "null");
  else
    p = PutQuotedDotted(p, h.last + 1u);
  p = PutText(p, "}\n");
  return p;
}

inline char* PutCsvRow(char* p, uint32_t network, int prefix, const TSubnetworkHosts& h) {
  p = PutDotted(p, network);
  *p++ = ',';
  p = PutDecimal(p, unsigned(prefix));
  *p++ = ',';
  p = PutDotted(p, h.first);
  *p++ = ',';
  p = PutDotted(p, h.last);
  *p++ = ',';
  if (prefix < 31) p = PutDotted(p, h.last + 1u);
  *p++ = '\n';
  return p;
}

template <typename PutRow>
void WriteRows(TOutput& out, uint32_t base, int prefix, uint64_t count, PutRow put) {
  const uint32_t step = prefix >= 32 ? 1u : uint32_t(1) << (32 - prefix);
  uint32_t network = base;
  for (uint64_t k = 0; k < count; ++k, network += step) {
    char* p = out.Room(160);
    out.Advance(put(p, network, prefix, SubnetworkHosts(network, prefix)));
  }
}

// "56" or "/56", 0 to 128; -1 otherwise.
int ReadPrefix6(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '/') text.remove_prefix(1);
  if (text.empty() || text.size() > 3) return -1;
  int p = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    p = p * 10 + (c - '0');
  }
  return p <= 128 ? p : -1;
}

inline char* PutAddress6(char* p, uint128 value) {
  return p + ipv6(value).text_to(p);
}

// One IPv6 row: network/prefix, first and last address; IPv6 has no broadcast.
enum TRowStyle { rsText, rsJson, rsCsv };

template <TRowStyle Style>
inline char* PutRow6(char* p, uint128 network, uint128 last, int prefix) {
  if (Style == rsJson) p = PutText(p, "{\"network\":\"");
  p = PutAddress6(p, network);
  if (Style == rsJson) {
    p = PutText(p, "\",\"prefix\":");
  } else {
    *p++ = Style == rsCsv ? ',' : '/';
  }
  p = PutDecimal(p, unsigned(prefix));
  p = PutText(p, Style == rsJson ? ",\"first\":\"" : Style == rsCsv ? "," : " ");
  p = PutAddress6(p, network);
  p = PutText(p, Style == rsJson ? "\",\"last\":\"" : Style == rsCsv ? "," : " - ");
  p = PutAddress6(p, last);
  if (Style == rsJson) p = PutText(p, "\"}");
  *p++ = '\n';
  return p;
}

template <TRowStyle Style>
void WriteRows6(TOutput& out, uint128 base, int prefix, const ipv6count& count) {
  const uint128 hostMask = prefix >= 128 ? 0 : ~uint128(0) >> prefix;
  const uint128 step = hostMask + 1;
  uint128 network = base;
  // 2^128 rows end at the last index, before it wraps to 0.
  for (uint128 k = 0;; ++k, network += step) {
    if (!count.is_full() && k >= count.value()) break;
    char* p = out.Room(200);
    out.Advance(PutRow6<Style>(p, network, network | hostMask, prefix));
    if (k == ~uint128(0)) break;
  }
}

int Run6(const TSubnetsOptions& o) {
  const std::string_view text = Trimmed(o.network);
  const ipv6net net(text);
  if (!net.is_valid() || net.address().has_zone() || text.find('/') == std::string_view::npos)
    throw TInputError{Quoted(o.network) + " is not a valid network: write it as 2001:db8::/48."};
  const int prefix = ReadPrefix6(o.prefix);
  if (prefix < 0) throw TInputError{Quoted(o.prefix) + " is not a prefix length from 0 to 128."};
  if (prefix < net.prefix())
    throw TInputError{Quoted(o.prefix) + " is shorter than the network's own prefix /" +
                      std::to_string(net.prefix()) + "."};
  const ipv6count count = net.subnet_count(prefix);
  const uint128 base = net.network().value();

  WriteOutput(o, [&](TOutput& out) {
    if (o.count) {
      const std::string n = count.decimal();
      // Past 2^64 a JSON number would lose digits in most readers.
      const bool big = count.is_full() || count.value() >> 64 != 0;
      const std::string j = big ? JsonString(n) : n;
      out.Write(o.json ? "{\"count\":" + j + "}\n" : o.csv ? "count\n" + n + "\n" : n + "\n");
    } else if (o.json) {
      WriteRows6<rsJson>(out, base, prefix, count);
    } else if (o.csv) {
      out.Write("network,prefix,first,last\n");
      WriteRows6<rsCsv>(out, base, prefix, count);
    } else {
      WriteRows6<rsText>(out, base, prefix, count);
    }
  });
  return 0;
}

int Run(const TSubnetsOptions& o) {
  if (o.network.find(':') != std::string::npos) return Run6(o);
  const ipv4host network(Trimmed(o.network));
  if (!network.is_valid())
    throw TInputError{Quoted(o.network) +
                      " is not a valid network: write it as 10.0.0.0/8 or \"10.0.0.0 255.0.0.0\"."};
  const int prefix = ReadPrefix(o.prefix);
  if (prefix < 0) throw TInputError{Quoted(o.prefix) + " is not a prefix length from 1 to 32."};
  const int own = network.prefix_length();
  if (prefix < own)
    throw TInputError{Quoted(o.prefix) + " is shorter than the network's own prefix /" +
                      std::to_string(own) + "."};
  const uint64_t count = uint64_t(1) << (prefix - own);
  const uint32_t base = network.network_value();

  WriteOutput(o, [&](TOutput& out) {
    if (o.count) {
      const std::string n = std::to_string(count);
      out.Write(o.json ? "{\"count\":" + n + "}\n" : o.csv ? "count\n" + n + "\n" : n + "\n");
    } else if (o.json) {
      WriteRows(out, base, prefix, count, PutJsonRow);
    } else if (o.csv) {
      out.Write("network,prefix,first_host,last_host,broadcast\n");
      WriteRows(out, base, prefix, count, PutCsvRow);
    } else {
      WriteRows(out, base, prefix, count, PutTextRow);
    }
  });
  return 0;
}

}  // namespace

TSubcommand AddSubnetsCommand(CLI::App& app) {
  auto o = std::make_shared<TSubnetsOptions>();
  CLI::App* sub = app.add_subcommand(
      "subnets", "List every subnetwork of a network at a longer prefix, one per line");
  sub->add_option("NETWORK", o->network, "The network: 10.0.0.0/8, \"10.0.0.0 255.0.0.0\" or 2001:db8::/48")
      ->required();
  sub->add_option("PREFIX", o->prefix, "Prefix length of the subnetworks: 26 or /26 (up to 128 for IPv6)")->required();
  sub->add_flag("--count", o->count, "Print only how many subnetworks there are");
  AddOutputOptions(*sub, *o, true);
  sub->footer(R"(Each line: network/prefix first_host - last_host (a /31 lists both addresses,
a /32 its one address; IPv6: network/prefix first - last). JSON: one object per
line; an IPv6 count past 2^64 is a string of digits.

Examples:
  orvex-cli subnets 192.168.1.0/24 26
  orvex-cli subnets 10.0.0.0/8 /16 --count
  orvex-cli subnets 172.16.0.0/12 20 --csv -o subnets.csv
  orvex-cli subnets 2001:db8::/48 56)");
  return {sub, [o] { return Run(*o); }};
}
