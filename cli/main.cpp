// orvex-cli: the tools of Orvex Lite on the command line. Results go to
// standard output, messages to standard error; the exit status is 0 when all
// went well, 1 for bad input or a failed write, 2 for a usage error.

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>
#include <memory>
#include <vector>

#include "cli/commands.h"
#include "cli/format.h"
#include "cli/output.h"

namespace {

const char kProgram[] = "orvex-cli";

std::string Usage(const CLI::App& app) {
  // The full name of a subcommand ("orvex-cli calc") for its usage line.
  std::string name = app.get_name();
  for (const CLI::App* p = app.get_parent(); p; p = p->get_parent())
    name = p->get_name() + " " + name;
  const auto formatter = std::dynamic_pointer_cast<CLI::Formatter>(app.get_formatter());
  std::string usage = formatter ? formatter->make_usage(&app, name) : std::string();
  while (!usage.empty() && usage.front() == '\n') usage.erase(0, 1);
  return usage + "Run '" + name + " --help' for more information.\n";
}

// The subcommand being read when the parser stopped; the program itself when none.
const CLI::App& FailedApp(const CLI::App& app) {
  for (const CLI::App* sub : app.get_subcommands())
    if (sub->parsed()) return *sub;
  return app;
}

const char kExamples[] = R"(Examples:
  orvex-cli calc 192.168.1.10/24
  orvex-cli subnets 10.0.0.0/24 26
  orvex-cli masks --from 1
  orvex-cli int 0xff AND 0b1010
  orvex-cli hosts 192.168.1.0/30 -o hosts.csv
  orvex-cli ipv6 2001:db8::1/64 --json
  orvex-cli aggregate allow.txt --notation mask
  orvex-cli exclude all.txt reserved.txt
  orvex-cli deaggregate 10.0.0.1-10.0.0.77
  orvex-cli plan 10.20.0.0/22 Sales=120 VoIP=60 P2P=2x8

Exit status: 0 ok, 1 bad input or a failed write, 2 usage error (or, for the
list commands, a list file that cannot be read).)";

}  // namespace

void AddOutputOptions(CLI::App& sub, TOutputOptions& options, bool table) {
  CLI::Option* json = sub.add_flag("--json", options.json, "Write JSON for programs");
  if (table) {
    CLI::Option* csv = sub.add_flag("--csv", options.csv, "Write comma-separated values");
    json->excludes(csv);
  }
  sub.add_option("-o,--output", options.file,
                 "Write to FILE instead of standard output; an existing FILE is replaced only "
                 "when everything was written")
      ->type_name("FILE");
}

void WriteOutput(const TOutputOptions& options, const std::function<void(TOutput&)>& write) {
  TOutput out(options.file);
  out.Open();
  write(out);
  out.Finish();
}

void ReportError(const char* sub, const std::string& message) {
  std::cerr << kProgram << ": " << sub << ": " << message << '\n';
}

int UsageError(const CLI::App& sub, const std::string& message) {
  std::cerr << kProgram << ": " << message << '\n' << Usage(sub);
  return 2;
}

int main(int argc, char** argv) {
  // A closed pipe shows as EPIPE on the write, a file size limit as EFBIG:
  // both are then handled like any failed write.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  InstallTempFileCleanup();

  CLI::App app("Orvex Lite's IP tools for terminals and scripts.", kProgram);
  app.set_version_flag("--version", std::string(kProgram) + " " + ORVEX_VERSION);
  app.require_subcommand(1, 1);
  app.footer(kExamples);
  app.get_formatter()->column_width(32);

  std::vector<TSubcommand> commands = {AddCalcCommand(app),  AddSubnetsCommand(app),
                                       AddMasksCommand(app), AddIntCommand(app),
                                       AddHostsCommand(app), AddIpv6Command(app)};
  for (TSubcommand& c : AddSetCommands(app)) commands.push_back(std::move(c));
  commands.push_back(AddPlanCommand(app));
  // A mistyped subcommand is named as such, not reported as a missing one.
  const auto known = [&commands](const char* name) {
    for (const TSubcommand& c : commands)
      if (c.app->get_name() == name) return true;
    return false;
  };
  if (argc > 1 && argv[1][0] != '-' && !known(argv[1])) {
    std::string names;
    for (std::size_t i = 0; i < commands.size(); ++i)
      names += (i == 0                     ? ""
                : i + 1 == commands.size() ? " or "
                                           : ", ") +
               commands[i].app->get_name();
    return UsageError(app, std::string("'") + argv[1] + "' is no subcommand: " + names);
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    return UsageError(FailedApp(app), e.what());
  }

  for (const TSubcommand& c : commands) {
    if (!c.app->parsed()) continue;
    const std::string name = c.app->get_name();
    try {
      return c.run();
    } catch (const TPipeClosed&) {
      return 0;
    } catch (const TWriteFailed& e) {
      std::cerr << kProgram << ": " << e.message << '\n';
    } catch (const TInputError& e) {
      ReportError(name.c_str(), e.message);
    } catch (const std::bad_alloc&) {
      ReportError(name.c_str(), "out of memory");
    }
    return 1;
  }
  return 2;
}
