// Time of one display analysis in the Integer Calculator model (recognition,
// converted-values block, labels, buttons, caption) for the longest text of
// each notation, beside a plain strtoull of the same digits in the same run.
// Run: bench_intcalc [--benchmark_min_time=1]; the ratios are printed after the table.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "intcalc/intcalcmodel.h"

namespace {

struct Notation {
  const char* name;
  std::string display;  // the text typed into the display
  std::string digits;   // its digits for strtoull; groups separated by one character
  int base;
};

const Notation kNotations[] = {
    {"decimal", "-9223372036854775808", "-9223372036854775808", 10},
    {"binary", "0b" + std::string(64, '1'), std::string(64, '1'), 2},
    {"hex", "0xffffffffffffffff", "ffffffffffffffff", 16},
    {"ipv4", "255.255.255.255", "255.255.255.255", 10},
    {"mac", "ff:ff:ff:ff:ff:ff", "ff:ff:ff:ff:ff:ff", 16},
};

// Every group of the digits through strtoull, as a bare reader would.
void BM_strtoull(benchmark::State& state, const Notation* n) {
  for (auto _ : state) {
    const char* p = n->digits.c_str();
    unsigned long long sum = 0;
    for (;;) {
      char* end = nullptr;
      sum += std::strtoull(p, &end, n->base);
      if (*end == '\0') break;
      p = end + 1;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations());
}

// The whole analysis the window runs on every change of the display.
void BM_AnalyseDisplay(benchmark::State& state, const Notation* n) {
  TIntCalcModel model;
  model.ApplyOptions(64, 0, true);
  for (auto _ : state) {
    model.SetDisplay(n->display);
    benchmark::DoNotOptimize(model.Block.data());
    benchmark::DoNotOptimize(model.Enabled.data());
  }
  state.SetItemsProcessed(state.iterations());
}

// The usual table, then each analysis against strtoull of its notation.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if ((run.run_type == Run::RT_Iteration && run.iterations > 0) ||
          (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median"))
        ns_[run.run_name.str()] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const Notation& n : kNotations) {
      const auto analysis = ns_.find(std::string("BM_AnalyseDisplay/") + n.name);
      const auto base = ns_.find(std::string("BM_strtoull/") + n.name);
      if (analysis == ns_.end() || base == ns_.end()) continue;
      std::printf("%-8s analysis %7.3f us (CPU)  %6.1fx the time of strtoull  %s\n", n.name,
                  analysis->second / 1000.0, analysis->second / base->second,
                  analysis->second < 20000.0 ? "within 20 us" : "OVER 20 us");
    }
  }

 private:
  std::map<std::string, double> ns_;
};

}  // namespace

int main(int argc, char** argv) {
  for (const Notation& n : kNotations) {
    benchmark::RegisterBenchmark((std::string("BM_strtoull/") + n.name).c_str(), BM_strtoull, &n);
    benchmark::RegisterBenchmark((std::string("BM_AnalyseDisplay/") + n.name).c_str(),
                                 BM_AnalyseDisplay, &n);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
