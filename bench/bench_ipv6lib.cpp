// Reading and printing IPv6 text beside glibc's inet_pton and inet_ntop on the
// same inputs. Run: bench_ipv6lib [--benchmark_min_time=1]; the ratios are
// printed after the table, each reader against inet_pton and each printer
// against inet_ntop.

#include <arpa/inet.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "ipv6lib/ipv6.h"
#include "ipv6lib/ipv6net.h"

namespace {

constexpr std::size_t kTexts = 4096;  // a power of two, indexed with a mask

// Addresses as people write them: a mix of full, compressed and short forms,
// some with a dotted tail, printed by inet_ntop so both readers see the same.
struct Inputs {
  std::vector<std::string> text;
  std::vector<std::string> network;  // the same with "/len"
  std::vector<in6_addr> binary;      // for inet_ntop
  std::vector<ipv6> value;           // for our printer
  Inputs() {
    std::mt19937_64 rng(2025);
    for (std::size_t i = 0; i < kTexts; ++i) {
      uint128 v = (uint128{rng()} << 64) | rng();
      switch (i % 4) {
        case 0:  // a documentation-style address with a run of zeros
          v = (uint128{0x20010db8} << 96) | (v & 0xFFFFFFFF);
          break;
        case 1:  // a /64 with an EUI-64 or random interface identifier
          v &= ~(uint128{0xFFFFFFFF} << 64);
          break;
        case 2:  // IPv4-mapped
          v = (uint128{0xFFFF} << 32) | (v & 0xFFFFFFFF);
          break;
        default:  // eight full groups
          break;
      }
      in6_addr a;
      uint128 w = v;
      for (int k = 15; k >= 0; --k, w >>= 8) a.s6_addr[k] = static_cast<uint8_t>(w);
      char buf[INET6_ADDRSTRLEN];
      inet_ntop(AF_INET6, &a, buf, sizeof buf);
      text.emplace_back(buf);
      network.push_back(text.back() + "/" + std::to_string(rng() % 129));
      binary.push_back(a);
      value.emplace_back(v);
    }
  }
};

const Inputs& inputs() {
  static const Inputs in;
  return in;
}

void BM_inet_pton(benchmark::State& state) {
  const auto& texts = inputs().text;
  std::size_t i = 0;
  for (auto _ : state) {
    in6_addr addr;
    const int ok = inet_pton(AF_INET6, texts[i++ & (kTexts - 1)].c_str(), &addr);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(addr);
  }
  state.SetItemsProcessed(state.iterations());
}

// Read and classify, as ipv6(text) does.
void BM_ipv6_read(benchmark::State& state) {
  const auto& texts = inputs().text;
  std::size_t i = 0;
  for (auto _ : state) {
    const ipv6 a(texts[i++ & (kTexts - 1)]);
    benchmark::DoNotOptimize(a.flags());
    benchmark::DoNotOptimize(a.value());
  }
  state.SetItemsProcessed(state.iterations());
}

// Read "address/len" and find the network and the next one.
void BM_ipv6net_read(benchmark::State& state) {
  const auto& texts = inputs().network;
  std::size_t i = 0;
  for (auto _ : state) {
    const ipv6net n(texts[i++ & (kTexts - 1)]);
    benchmark::DoNotOptimize(n.network().value());
    benchmark::DoNotOptimize(n.has_next());
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_inet_ntop(benchmark::State& state) {
  const auto& addrs = inputs().binary;
  std::size_t i = 0;
  for (auto _ : state) {
    char buf[INET6_ADDRSTRLEN];
    const char* s = inet_ntop(AF_INET6, &addrs[i++ & (kTexts - 1)], buf, sizeof buf);
    benchmark::DoNotOptimize(s);
    benchmark::DoNotOptimize(buf);
  }
  state.SetItemsProcessed(state.iterations());
}

// The RFC 5952 text into a buffer, as inet_ntop writes it.
void BM_ipv6_print(benchmark::State& state) {
  const auto& values = inputs().value;
  std::size_t i = 0;
  for (auto _ : state) {
    char buf[ipv6::kTextSize];
    const std::size_t n = values[i++ & (kTexts - 1)].text_to(buf);
    benchmark::DoNotOptimize(n);
    benchmark::DoNotOptimize(buf);
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_inet_pton);
BENCHMARK(BM_ipv6_read);
BENCHMARK(BM_ipv6net_read);
BENCHMARK(BM_inet_ntop);
BENCHMARK(BM_ipv6_print);

// The usual table, then readers against inet_pton and printers against
// inet_ntop, all from this run.
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
    Ratio("BM_ipv6_read", "BM_inet_pton");
    Ratio("BM_ipv6net_read", "BM_inet_pton");
    Ratio("BM_ipv6_print", "BM_inet_ntop");
  }

 private:
  void Ratio(const std::string& name, const std::string& base) const {
    const auto ours = ns_per_item_.find(name);
    const auto theirs = ns_per_item_.find(base);
    if (ours == ns_per_item_.end() || theirs == ns_per_item_.end()) return;
    std::printf("%-18s %8.1f ns/item (CPU)  %5.2fx the time of %s\n", name.c_str(), ours->second,
                ours->second / theirs->second, base.c_str() + 3);
  }
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
