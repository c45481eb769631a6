// orvex-cli hosts: the host list file the IP Host List Editor saves, byte for
// byte, written as it is produced.

#include <CLI/CLI.hpp>
#include <QDateTime>
#include <climits>
#include <map>
#include <memory>

#include "cli/commands.h"
#include "cli/format.h"
#include "cli/output.h"
#include "hostlist/hostlistfile.h"
#include "hostlist/hostlistmodel.h"

namespace {

struct THostsOptions : TOutputOptions {
  std::string network;
  std::string delimiter = "semicolon";
  std::string namesDelimiter;
  int limit = 0;
  std::string names;
};

const std::map<std::string, char> kDelimiters = {
    {"comma", ','}, {"semicolon", ';'}, {"tab", '\t'}, {"space", ' '}};

// The rows as JSON objects, one per line; the "more..." row of a cut list is
// no host and is left out.
void WriteJson(TOutput& out, const THostListModel& model) {
  TLineBuffer line;
  std::string text;
  const std::vector<TNameRuns::Run>& runs = model.Names().Runs();
  std::size_t k = 0;
  for (int row = 0; row < model.AddressRowCount(); ++row) {
    line.Clear();
    text.clear();
    model.AppendAddressText(row, text);
    line.Put(std::string_view("{\"address\":"));
    line.PutJsonString(text);
    line.Put(std::string_view(",\"name\":"));
    while (k < runs.size() && runs[k].last < uint32_t(row)) ++k;
    if (k < runs.size() && runs[k].first <= uint32_t(row)) {
      line.PutJsonString(model.Names().NameOf(runs[k]));
    } else {
      text.clear();
      model.AppendGeneratedName(row, text);
      line.PutJsonString(text);
    }
    line.Put(std::string_view("}\n"));
    out.Write(line.View());
  }
}

int Run(const THostsOptions& o) {
  const ipv4host network = HostListNetwork(QString::fromStdString(o.network));
  if (!network.is_valid())
    throw TInputError{Quoted(o.network) +
                      " is not a valid network: write it as 192.168.1.0/24 or \"192.168.1.0 "
                      "255.255.255.0\"."};
  THostListModel model;
  // Without --limit every address is listed.
  model.Generate(network, o.limit > 0 ? o.limit : INT_MAX);

  if (!o.names.empty()) {
    const char delimiter =
        kDelimiters.at(o.namesDelimiter.empty() ? o.delimiter : o.namesDelimiter);
    THostListMerge merge = ReadHostListFile(QString::fromStdString(o.names), model, delimiter);
    if (merge.result != TFileResult::Done) throw TInputError{"Couldn't open " + o.names};
    if (merge.matched == 0)
      throw TInputError{Quoted(o.names) + ": Did not find any IP address match."};
    model.ApplyNames(std::move(merge.names), merge.addressTexts);
  }

  WriteOutput(o, [&](TOutput& out) {
    if (o.json) return WriteJson(out, model);
    THostListSave how;
    how.delimiter = kDelimiters.at(o.delimiter);
    how.when = QDateTime::currentDateTime();
    WriteHostList(model, how, [&out](const char* data, std::size_t size) {
      out.Write(data, size);
      return true;
    });
  });
  return 0;
}

}  // namespace

TSubcommand AddHostsCommand(CLI::App& app) {
  auto o = std::make_shared<THostsOptions>();
  CLI::App* sub = app.add_subcommand(
      "hosts", "Write the host list file of a network as the IP Host List Editor saves it");
  sub->add_option("NETWORK", o->network,
                  "The network: 192.168.1.0/24 or \"192.168.1.0 255.255.255.0\"")
      ->required();
  const auto delimiters = CLI::IsMember({"comma", "semicolon", "tab", "space"});
  sub->add_option("--delimiter", o->delimiter,
                  "Between address and name: comma, semicolon, tab "
                  "or space (default semicolon)")
      ->check(delimiters);
  sub->add_option("--limit", o->limit, "List at most N addresses and end with \"more...\"")
      ->type_name("N")
      ->check(CLI::Range(1, INT_MAX));
  sub->add_option("--names", o->names,
                  "First take the names of an existing host list file, matched in list order")
      ->type_name("FILE");
  sub->add_option("--names-delimiter", o->namesDelimiter,
                  "Delimiter of the --names file (default: --delimiter)")
      ->check(delimiters);
  AddOutputOptions(*sub, *o, false);
  sub->footer(R"(JSON: one object per line, {"address", "name"}.

Examples:
  orvex-cli hosts 192.168.1.0/30
  orvex-cli hosts 10.0.0.0/16 --delimiter comma --limit 1000 -o hosts.csv
  orvex-cli hosts 192.168.1.0/24 --names old.csv -o new.csv)");
  return {sub, [o] { return Run(*o); }};
}
