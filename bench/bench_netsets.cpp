// Aggregating 1,000,000 random networks, IPv4 and IPv6: reading the text,
// merging the sets into networks and printing them, each step and the whole.
// Run: bench_netsets [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "ipv4lib/ipv4.h"
#include "ipv6lib/ipv6.h"
#include "netsets/netlist.h"

namespace {

constexpr int kNetworks = 1000000;

// Prefixes spread the way real lists have them: mostly long, a few short.
int random_prefix(std::mt19937_64& rng, int shortest, int longest) {
  std::uniform_int_distribution<int> d(shortest, longest);
  return std::max(d(rng), d(rng));
}

const std::string& text4() {
  static const std::string text = [] {
    std::mt19937_64 rng(21);
    std::string t;
    t.reserve(kNetworks * 19);
    for (int i = 0; i < kNetworks; ++i) {
      t += ipv4(static_cast<uint32_t>(rng())).text();
      t += '/';
      t += std::to_string(random_prefix(rng, 16, 32));
      t += '\n';
    }
    return t;
  }();
  return text;
}

const std::string& text6() {
  static const std::string text = [] {
    std::mt19937_64 rng(21);
    std::string t;
    t.reserve(kNetworks * 44);
    for (int i = 0; i < kNetworks; ++i) {
      // Inside 2000::/3, where real lists are, so networks meet and merge.
      const uint128 v = (uint128(0x2000 | (rng() & 0x1fff)) << 112) |
                        (uint128(rng() & 0xffffffffffffULL) << 64) | rng();
      t += ipv6(v).compressed();
      t += '/';
      t += std::to_string(random_prefix(rng, 16, 64));
      t += '\n';
    }
    return t;
  }();
  return text;
}

std::size_t print(const netsets::netresult& r) {
  std::size_t bytes = 0;
  for (const auto& n : r.v4) bytes += netsets::text(n, netsets::notation::cidr).size() + 1;
  for (const auto& n : r.v6) bytes += netsets::text(n, netsets::notation::cidr).size() + 1;
  return bytes;
}

void run(benchmark::State& state, const std::string& text, int steps) {
  const netsets::netlist prepared(text);
  const netsets::netresult result = netsets::aggregate(prepared);
  for (auto _ : state) {
    if (steps == 0) {
      netsets::netlist l(text);
      benchmark::DoNotOptimize(l.items().data());
    } else if (steps == 1) {
      benchmark::DoNotOptimize(netsets::aggregate(prepared).size());
    } else if (steps == 2) {
      benchmark::DoNotOptimize(print(result));
    } else {
      const netsets::netlist l(text);
      benchmark::DoNotOptimize(print(netsets::aggregate(l)));
    }
  }
  state.counters["networks_out"] = double(result.size());
  state.counters["lines"] = kNetworks;
}

void BM_read_v4(benchmark::State& s) {
  run(s, text4(), 0);
}
void BM_aggregate_v4(benchmark::State& s) {
  run(s, text4(), 1);
}
void BM_print_v4(benchmark::State& s) {
  run(s, text4(), 2);
}
void BM_whole_v4(benchmark::State& s) {
  run(s, text4(), 3);
}
void BM_read_v6(benchmark::State& s) {
  run(s, text6(), 0);
}
void BM_aggregate_v6(benchmark::State& s) {
  run(s, text6(), 1);
}
void BM_print_v6(benchmark::State& s) {
  run(s, text6(), 2);
}
void BM_whole_v6(benchmark::State& s) {
  run(s, text6(), 3);
}

}  // namespace

BENCHMARK(BM_read_v4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_aggregate_v4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_print_v4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_whole_v4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_read_v6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_aggregate_v6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_print_v6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_whole_v6)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
