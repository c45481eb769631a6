#pragma once
// The subcommands of orvex-cli. Each adds itself to the program's parser and
// hands back what runs it once the command line is read.

#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}
class TOutput;

// Options every subcommand takes.
struct TOutputOptions {
  bool json = false;
  bool csv = false;
  std::string file;  // -o: written atomically instead of standard output
};

// Runs a parsed subcommand; returns the exit status (0 ok, 1 bad input).
using TCommand = std::function<int()>;

// Adds --json, -o and, for tables, --csv to a subcommand.
void AddOutputOptions(CLI::App& sub, TOutputOptions& options, bool table);

// Opens the output the options name, runs write on it and finishes it;
// a failure anywhere leaves no partial file.
void WriteOutput(const TOutputOptions& options, const std::function<void(TOutput&)>& write);

// "orvex-cli: sub: message" on standard error.
void ReportError(const char* sub, const std::string& message);
// A usage error found after parsing: the message and the subcommand's usage
// on standard error; returns the exit status 2.
int UsageError(const CLI::App& sub, const std::string& message);

struct TSubcommand {
  CLI::App* app;
  TCommand run;
};
TSubcommand AddCalcCommand(CLI::App& app);
TSubcommand AddSubnetsCommand(CLI::App& app);
TSubcommand AddMasksCommand(CLI::App& app);
TSubcommand AddIntCommand(CLI::App& app);
TSubcommand AddHostsCommand(CLI::App& app);
TSubcommand AddIpv6Command(CLI::App& app);
TSubcommand AddPlanCommand(CLI::App& app);
// aggregate, merge, common, exclude, ranges, deaggregate, summary, overlaps.
std::vector<TSubcommand> AddSetCommands(CLI::App& app);
