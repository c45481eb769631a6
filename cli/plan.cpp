// orvex-cli plan: sizes a list of needs by host counts or prefix lengths and
// places them into parent blocks, from the command line or a saved plan file.

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/format.h"
#include "cli/output.h"
#include "planner/planner.h"

namespace {

struct TPlanOptions : TOutputOptions {
  std::vector<std::string> args;  // PARENT NEED...
  std::string planFile;           // --file
  std::string profile;
  bool rfc3021 = false;
  double growth = 0;
  CLI::Option* profileOption = nullptr;
  CLI::Option* rfcOption = nullptr;
  CLI::Option* growthOption = nullptr;
};

// A positive decimal number up to max; false otherwise.
bool ReadWhole(std::string_view s, uint64_t max, uint64_t* out) {
  if (s.empty() || s.size() > 20) return false;
  uint64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    const uint64_t d = uint64_t(c - '0');
    if (v > (max - d) / 10) return false;
    v = v * 10 + d;
  }
  *out = v;
  return true;
}

// NAME=HOSTS, NAME=/LEN, NAME=HOSTSxCOUNT or NAME=/LENxCOUNT; false with the
// reason in *error.
bool ReadNeed(std::string_view text, planner::need* n, std::string* error) {
  const std::size_t eq = text.rfind('=');
  if (eq == std::string_view::npos || eq == 0) {
    *error = Quoted(text) + " is not a need: write it as NAME=HOSTS, NAME=/LEN or NAME=HOSTSxCOUNT";
    return false;
  }
  n->name = std::string(text.substr(0, eq));
  std::string_view size = text.substr(eq + 1);
  const std::size_t x = size.find_first_of("xX");
  if (x != std::string_view::npos) {
    uint64_t copies = 0;
    if (!ReadWhole(size.substr(x + 1), planner::kMaxAllocations, &copies) || copies == 0) {
      *error = Quoted(text) + ": the count after 'x' is not a number from 1 to " +
               std::to_string(planner::kMaxAllocations);
      return false;
    }
    n->copies = static_cast<uint32_t>(copies);
    size = size.substr(0, x);
  }
  if (!size.empty() && size.front() == '/') {
    uint64_t len = 0;
    if (!ReadWhole(size.substr(1), 128, &len)) {
      *error = Quoted(text) + ": the prefix length is not a number from 0 to 128";
      return false;
    }
    n->prefix = static_cast<int>(len);
    return true;
  }
  if (!ReadWhole(size, UINT64_MAX, &n->hosts) || n->hosts == 0) {
    *error = Quoted(text) + ": the host count is not a whole number from 1";
    return false;
  }
  return true;
}

// The plan file's text; false with the reason when it does not read.
bool ReadFileText(const std::string& path, std::string* text, std::string* error) {
  const bool input = path == "-";
  const std::string name = input ? std::string("standard input") : Quoted(path);
  std::FILE* f = input ? stdin : std::fopen(path.c_str(), "rb");
  if (!f) {
    *error = "cannot open " + name + ": " + std::strerror(errno);
    return false;
  }
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text->append(buf, n);
  const int failed = std::ferror(f) ? errno : 0;
  if (!input) std::fclose(f);
  if (failed) {
    *error = "cannot read " + name + ": " + std::strerror(failed);
    return false;
  }
  return true;
}

// A count as a JSON number, or as a string of digits where readers would
// round a number.
nlohmann::ordered_json CountJson(const ipv6count& c) {
  if (!IsJsonNumber(c)) return c.decimal();
  return static_cast<uint64_t>(c.value());
}

nlohmann::ordered_json HostsJson(uint64_t hosts) {
  return CountJson(ipv6count(hosts));
}

// The network address alone: the prefix has its own key.
std::string AddressOf(const std::string& cidr) {
  return cidr.substr(0, cidr.find('/'));
}

std::string PercentText(double u) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f%%", u * 100);
  return buf;
}

void WriteJson(TOutput& out, const planner::plan& p, const planner::result& r) {
  using nlohmann::ordered_json;
  ordered_json j;
  j["parents"] = p.parents;
  j["profile"] = planner::profile_key(p.prof);
  ordered_json allocations = ordered_json::array();
  for (const planner::allocation& a : r.allocations) {
    ordered_json o;
    o["name"] = a.name;
    o["hosts"] = HostsJson(a.hosts);
    o["prefix"] = a.prefix;
    o["network"] = AddressOf(a.network);
    o["first"] = a.first;
    o["last"] = a.last;
    o["broadcast"] = a.broadcast.empty() ? ordered_json(nullptr) : ordered_json(a.broadcast);
    o["capacity"] = CountJson(a.capacity);
    allocations.push_back(std::move(o));
  }
  j["allocations"] = std::move(allocations);
  ordered_json unplaced = ordered_json::array();
  for (const planner::unplaced& u : r.unplaced) {
    ordered_json o;
    o["name"] = u.name;
    o["hosts"] = HostsJson(u.hosts);
    o["reason"] = u.reason;
    unplaced.push_back(std::move(o));
  }
  j["unplaced"] = std::move(unplaced);
  j["free"] = r.free;
  j["utilisation"] = r.utilisation;
  out.Write(j.dump(-1, ' ', false, ordered_json::error_handler_t::replace));
  out.Put('\n');
}

void WriteText(TOutput& out, const planner::result& r) {
  const bool v6 = !r.allocations.empty() && r.allocations.front().v6;
  if (!r.allocations.empty()) {
    std::vector<std::vector<std::string>> rows;
    if (v6)
      rows.push_back({"Name", "Hosts", "Network", "First", "Last", "Capacity", "Spare"});
    else
      rows.push_back(
          {"Name", "Hosts", "Network", "Mask", "First", "Last", "Broadcast", "Capacity", "Spare"});
    for (const planner::allocation& a : r.allocations) {
      const std::string hosts = a.hosts ? std::to_string(a.hosts) : "-";
      if (v6)
        rows.push_back(
            {a.name, hosts, a.network, a.first, a.last, a.capacity.decimal(), a.spare.decimal()});
      else
        rows.push_back({a.name, hosts, a.network, a.mask, a.first, a.last,
                        a.broadcast.empty() ? "-" : a.broadcast, a.capacity.decimal(),
                        a.spare.decimal()});
    }
    const std::vector<bool> right =
        v6 ? std::vector<bool>{false, true, false, false, false, true, true}
           : std::vector<bool>{false, true, false, false, false, false, false, true, true};
    out.Write(AlignedTable(rows, right));
  }
  if (!r.unplaced.empty()) {
    out.Write("\nUnplaced:\n");
    for (const planner::unplaced& u : r.unplaced) {
      out.Write("  ");
      out.Write(u.reason);
      out.Put('\n');
    }
  }
  out.Write("\nFree space:\n");
  if (r.free.empty()) out.Write("  none\n");
  for (const std::string& f : r.free) {
    out.Write("  ");
    out.Write(f);
    out.Put('\n');
  }
  out.Write("\nUtilisation: " + PercentText(r.utilisation) + " (" + r.allocated.decimal() + " of " +
            r.parent_size.decimal() + " addresses)\n");
}

int Run(TPlanOptions& o, const CLI::App& sub) {
  planner::plan p;
  if (!o.planFile.empty()) {
    if (!o.args.empty()) return UsageError(sub, "plan: --file takes no PARENT or NEED arguments");
    std::string text, error;
    if (!ReadFileText(o.planFile, &text, &error)) {
      ReportError("plan", error);
      return 2;
    }
    if (!planner::from_json(text, &p, &error)) {
      ReportError("plan", (o.planFile == "-" ? std::string("standard input") : Quoted(o.planFile)) +
                              ": " + error);
      return 2;
    }
  } else {
    if (o.args.size() < 2)
      return UsageError(sub, "plan: a PARENT and at least one NEED are needed");
    // Several parents may be given as one argument, separated by commas.
    std::string_view parents = o.args.front();
    while (!parents.empty()) {
      const std::size_t comma = parents.find(',');
      p.parents.emplace_back(parents.substr(0, comma));
      if (comma == std::string_view::npos) break;
      parents.remove_prefix(comma + 1);
    }
    for (std::size_t i = 1; i < o.args.size(); ++i) {
      planner::need n;
      std::string error;
      if (!ReadNeed(o.args[i], &n, &error)) return UsageError(sub, "plan: " + error);
      p.needs.push_back(std::move(n));
    }
  }
  // Options on the command line win over a plan file's own settings.
  if (o.profileOption->count()) planner::profile_from_key(o.profile, &p.prof);
  if (o.rfcOption->count()) p.rfc3021 = o.rfc3021;
  if (o.growthOption->count()) p.growth = o.growth;

  const planner::result r = planner::compute(p);
  for (const planner::problem& pr : r.problems)
    ReportError("plan",
                pr.where + (pr.text.empty() ? "" : " " + Quoted(pr.text)) + ": " + pr.reason);
  WriteOutput(o, [&](TOutput& out) {
    if (o.json)
      WriteJson(out, p, r);
    else if (o.csv)
      out.Write(planner::to_csv(r));
    else
      WriteText(out, r);
  });
  // CSV rows are allocations only: the needs left out are told here.
  if (o.csv)
    for (const planner::unplaced& u : r.unplaced) ReportError("plan", "not placed: " + u.reason);
  return r.problems.empty() && r.unplaced.empty() ? 0 : 1;
}

}  // namespace

TSubcommand AddPlanCommand(CLI::App& app) {
  auto o = std::make_shared<TPlanOptions>();
  CLI::App* sub = app.add_subcommand(
      "plan", "Place networks for a list of host counts into parent blocks (VLSM)");
  sub->add_option("PARENT NEED", o->args,
                  "The parent network (several separated by commas), then needs: NAME=HOSTS, "
                  "NAME=/LEN, NAME=HOSTSxCOUNT or NAME=/LENxCOUNT");
  sub->add_option("-f,--file", o->planFile, "Compute a saved plan file; - reads standard input")
      ->type_name("PLAN.json");
  o->profileOption = sub->add_option("--profile", o->profile,
                                     "Addresses reserved per subnet: standard, aws, azure or gcp")
                         ->check(CLI::IsMember({"standard", "aws", "azure", "gcp"}));
  o->rfcOption = sub->add_flag("--rfc3021", o->rfc3021, "Two hosts take a /31 (Standard profile)");
  o->growthOption =
      sub->add_option("--growth", o->growth, "Percent added to every host count before sizing")
          ->type_name("P")
          ->check(CLI::Validator(
              [](std::string& v) {
                double g = -1;
                std::size_t used = 0;
                try {
                  g = std::stod(v, &used);
                } catch (const std::exception&) {
                }
                return used == v.size() && g >= 0 && g <= planner::kMaxGrowth
                           ? std::string()
                           : std::string("the growth margin is a percent from 0 to 10000");
              },
              "0-10000"));
  AddOutputOptions(*sub, *o, true);
  sub->footer(R"(Needs are placed largest first, each on its natural boundary in the smallest
free block that holds it. Exit status 1 when a need finds no room (after all
output) or a parent or need is wrong; 2 for usage errors and unreadable plan
files. JSON: counts past 2^53 are strings of digits.

Examples:
  orvex-cli plan 10.20.0.0/22 Sales=120 VoIP=60 Servers=28 P2P=2x8
  orvex-cli plan 10.0.0.0/16 App=500 Db=/28x3 --profile aws --growth 20
  orvex-cli plan 2001:db8::/48 Lan=200x4 Link=/127x2 --json
  orvex-cli plan --file site.json --csv -o site.csv)");
  CLI::App* self = sub;
  return {sub, [o, self] { return Run(*o, *self); }};
}
