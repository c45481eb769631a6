// orvex-cli masks: the Mask Chart's rows, or the Subnetting dialog's rows for
// one mask.

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/format.h"
#include "cli/output.h"
#include "ipcalc/netcalc.h"
#include "maskchart/maskrows.h"

namespace {

struct TMasksOptions : TOutputOptions {
  int from = 8;
  bool rfc3021 = false;
  std::string subnetting;
};

using ordered_json = nlohmann::ordered_json;

int PrefixNumber(const QString& prefix) {
  return prefix.mid(1).toInt();
}

// A count of hosts is a number; the host mask's cell says "Host Mask".
ordered_json HostsCell(const QString& cell) {
  bool number = false;
  const qulonglong hosts = cell.toULongLong(&number);
  return number ? ordered_json(hosts) : ordered_json(cell.toStdString());
}

void WriteChart(TOutput& out, const TMasksOptions& o) {
  std::vector<TMaskChartRow> rows;
  for (TMaskChartRow& r : MaskChartRows(o.from < 8, o.rfc3021))
    if (PrefixNumber(r.prefix) >= o.from) rows.push_back(std::move(r));

  if (o.json) {
    ordered_json all = ordered_json::array();
    for (const TMaskChartRow& r : rows)
      all.push_back({{"mask", r.mask.toStdString()},
                     {"prefix", PrefixNumber(r.prefix)},
                     {"hosts", HostsCell(r.hosts)},
                     {"wildcard", r.wildcard.toStdString()},
                     {"remark", r.remark.toStdString()}});
    out.Write(all.dump() + "\n");
  } else if (o.csv) {
    out.Write("mask,prefix,hosts,wildcard,remark\n");
    for (const TMaskChartRow& r : rows)
      out.Write(CsvLine({r.mask.toStdString(), std::to_string(PrefixNumber(r.prefix)),
                         r.hosts.toStdString(), r.wildcard.toStdString(), r.remark.toStdString()}));
  } else {
    std::vector<std::vector<std::string>> table = {
        {"Subnet Mask", "Prefix", "Number of Hosts", "Wildcard Bitmask", "Remark"}};
    for (const TMaskChartRow& r : rows)
      table.push_back({r.mask.toStdString(), r.prefix.toStdString(), r.hosts.toStdString(),
                       r.wildcard.toStdString(), r.remark.toStdString()});
    out.Write(AlignedTable(table, {false, false, true, false, false}));
  }
}

// The dotted mask of a text given as a dotted mask or as "/n"; "" when it
// is neither.
std::string DottedMask(const std::string& text) {
  if (!text.empty() && text.front() == '/') {
    bool ok = false;
    const ipv4 mask = ParseMaskText(QString::fromStdString(text), ok);
    return mask.is_valid() ? mask.text() : std::string();
  }
  const ipv4 mask(text);
  const bool contiguous = mask.is_mask() || (mask.is_short_mask() && (mask.value() >> 31));
  return contiguous ? text : std::string();
}

void WriteSubnetting(TOutput& out, const TMasksOptions& o, const TSubnetting& s) {
  if (o.json) {
    ordered_json all = ordered_json::array();
    for (const TSubnettingRow& r : s.rows)
      all.push_back({{"mask", r.mask.toStdString()},
                     {"prefix", PrefixNumber(r.prefix)},
                     {"networks", r.networks.toULongLong()},
                     {"hosts", r.hosts.toULongLong()}});
    out.Write(all.dump() + "\n");
  } else if (o.csv) {
    out.Write("mask,prefix,networks,hosts\n");
    for (const TSubnettingRow& r : s.rows)
      out.Write(CsvLine({r.mask.toStdString(), std::to_string(PrefixNumber(r.prefix)),
                         r.networks.toStdString(), r.hosts.toStdString()}));
  } else {
    out.Write(s.caption.toStdString() + "\n");
    std::vector<std::vector<std::string>> table = {{"Subnet Mask", "Prefix", "Networks", "Hosts"}};
    for (const TSubnettingRow& r : s.rows)
      table.push_back({r.mask.toStdString(), r.prefix.toStdString(), r.networks.toStdString(),
                       r.hosts.toStdString()});
    out.Write(AlignedTable(table, {false, false, true, true}));
  }
}

int Run(const TMasksOptions& o) {
  if (o.subnetting.empty()) {
    WriteOutput(o, [&](TOutput& out) { WriteChart(out, o); });
    return 0;
  }
  const std::string mask = DottedMask(o.subnetting);
  if (mask.empty()) throw TInputError{Quoted(o.subnetting) + ": Invalid network mask."};
  // As in the chart: only masks below /30 are subnetted.
  if (ipv4(mask).value() >= 0xFFFFFFFCu)
    throw TInputError{Quoted(o.subnetting) + " leaves no room for subnets: give /29 or shorter."};
  const TSubnetting s = SubnettingRows(QString::fromStdString(mask), o.rfc3021);
  WriteOutput(o, [&](TOutput& out) { WriteSubnetting(out, o, s); });
  return 0;
}

}  // namespace

TSubcommand AddMasksCommand(CLI::App& app) {
  auto o = std::make_shared<TMasksOptions>();
  CLI::App* sub =
      app.add_subcommand("masks", "List the subnet masks as the Mask Chart does, /8 to /32");
  sub->add_option("--from", o->from, "Shortest prefix listed; 1 shows the class A supernets")
      ->check(CLI::Range(1, 32));
  sub->add_flag("--rfc3021", o->rfc3021, "List the /31 point-to-point mask");
  sub->add_option("--subnetting", o->subnetting,
                  "The longer masks a mask divides into, as the Subnetting dialog lists them")
      ->type_name("MASK");
  AddOutputOptions(*sub, *o, true);
  sub->footer(R"(Examples:
  orvex-cli masks
  orvex-cli masks --from 1 --rfc3021 --json
  orvex-cli masks --subnetting 255.255.255.0)");
  return {sub, [o] { return Run(*o); }};
}
