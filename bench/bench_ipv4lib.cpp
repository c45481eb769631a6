// Parsing speed of the address library beside glibc's inet_pton on the same texts.
// Run: bench_ipv4lib [--benchmark_min_time=1]; the ratios are printed after the table.

#include <arpa/inet.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4host.h"

namespace {

constexpr std::size_t kTexts = 4096;  // a power of two, indexed with a mask

struct Inputs {
  std::vector<std::string> dotted;   // "a.b.c.d"
  std::vector<std::string> network;  // "a.b.c.d/p"
  Inputs() {
    std::mt19937 rng(2025);
    for (std::size_t i = 0; i < kTexts; ++i) {
      const uint32_t v = rng();
      const std::string text = ipv4(v).text();
      dotted.push_back(text);
      network.push_back(text + "/" + std::to_string(1 + rng() % 32));
    }
  }
};

const Inputs& inputs() {
  static const Inputs in;
  return in;
}

void BM_inet_pton(benchmark::State& state) {
  const auto& texts = inputs().dotted;
  std::size_t i = 0;
  for (auto _ : state) {
    in_addr addr;
    const int ok = inet_pton(AF_INET, texts[i++ & (kTexts - 1)].c_str(), &addr);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(addr);
  }
  state.SetItemsProcessed(state.iterations());
}

// Parse and classify, as ipv4(text) does.
void BM_ipv4_text(benchmark::State& state) {
  const auto& texts = inputs().dotted;
  std::size_t i = 0;
  for (auto _ : state) {
    const ipv4 a(texts[i++ & (kTexts - 1)]);
    benchmark::DoNotOptimize(a.flags());
    benchmark::DoNotOptimize(a.value());
  }
  state.SetItemsProcessed(state.iterations());
}

// Read "a.b.c.d/p" and analyse: network, flags, next network.
void BM_ipv4host_text(benchmark::State& state) {
  const auto& texts = inputs().network;
  std::size_t i = 0;
  for (auto _ : state) {
    const ipv4host h(texts[i++ & (kTexts - 1)]);
    benchmark::DoNotOptimize(h.flags());
    benchmark::DoNotOptimize(h.next_network_value());
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_inet_pton);
BENCHMARK(BM_ipv4_text);
BENCHMARK(BM_ipv4host_text);

// The usual table, then each library figure against inet_pton from this run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // CPU time, as items_per_second uses; with --benchmark_repetitions the median counts.
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0)
        ns_per_item_[run.run_name.str()] = run.GetAdjustedCPUTime();
      else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        ns_per_item_[run.run_name.str()] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto base = ns_per_item_.find("BM_inet_pton");
    if (base == ns_per_item_.end()) return;
    for (const auto& [name, ns] : ns_per_item_)
      std::printf("%-20s %8.1f ns/item (CPU)  %5.2fx the time of inet_pton\n", name.c_str(), ns,
                  ns / base->second);
  }

 private:
  std::map<std::string, double> ns_per_item_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
