// Planning 10,000 needs: host counts from a handful to a few thousand in an
// IPv4 /8, and /64 LANs with /127 links in an IPv6 /32. The baseline writes
// only the texts of the same IPv4 results, so the ratio shows what sizing and
// placing cost on top of the output every plan has.
// Run: bench_planner [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "ipv4lib/ipv4.h"
#include "planner/planner.h"

namespace {

constexpr int kNeeds = 10000;

// Sizes the way real plans have them: many small LANs, a few large ones, links.
planner::plan plan4() {
  std::mt19937_64 rng(22);
  planner::plan p;
  p.parents = {"10.0.0.0/8"};
  p.rfc3021 = true;
  for (int i = 0; i < kNeeds; ++i) {
    planner::need n;
    n.name = "Net " + std::to_string(i);
    const int kind = int(rng() % 10);
    if (kind == 0)
      n.prefix = 31;
    else
      n.hosts = 1 + rng() % (kind < 8 ? 250 : 4000);
    p.needs.push_back(n);
  }
  return p;
}

planner::plan plan6() {
  std::mt19937_64 rng(22);
  planner::plan p;
  p.parents = {"2001:db8::/32"};
  for (int i = 0; i < kNeeds; ++i) {
    planner::need n;
    n.name = "Net " + std::to_string(i);
    if (rng() % 4 == 0)
      n.prefix = 127;
    else
      n.hosts = 1 + rng() % 500;
    p.needs.push_back(n);
  }
  return p;
}

void run(benchmark::State& state, const planner::plan& p) {
  std::size_t placed = 0;
  for (auto _ : state) {
    const planner::result r = planner::compute(p);
    placed = r.allocations.size();
    benchmark::DoNotOptimize(r.allocations.data());
  }
  state.counters["placed"] = double(placed);
}

void BM_plan_v4_slash8(benchmark::State& s) {
  static const planner::plan p = plan4();
  run(s, p);
}
void BM_plan_v6_slash32(benchmark::State& s) {
  static const planner::plan p = plan6();
  run(s, p);
}

// The baseline: only the texts of the same 10,000 results (network, mask,
// first, last, broadcast), written for networks laid end to end without any
// placing; what the plan takes beyond it is the sizing and the free space.
void BM_baseline_texts_v4(benchmark::State& state) {
  static const planner::plan p = plan4();
  std::vector<int> sizes;
  for (const planner::need& n : p.needs)
    sizes.push_back(n.prefix >= 0 ? n.prefix : planner::prefix_for(n.hosts, false, p));
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::vector<std::string> texts;
    texts.reserve(sizes.size() * 5);
    uint32_t base = 0x0a000000u;
    for (int prefix : sizes) {
      const uint32_t size = uint32_t(1) << (32 - prefix);
      texts.push_back(ipv4(base).text() + "/" + std::to_string(prefix));
      texts.push_back(ipv4(prefix == 0 ? 0 : ~uint32_t(0) << (32 - prefix)).text());
      texts.push_back(ipv4(base + 1).text());
      texts.push_back(ipv4(base + size - 2).text());
      texts.push_back(ipv4(base + size - 1).text());
      base += size;
    }
    bytes = texts.size();
    benchmark::DoNotOptimize(texts.data());
  }
  state.counters["texts"] = double(bytes);
}

}  // namespace

BENCHMARK(BM_plan_v4_slash8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_plan_v6_slash32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_texts_v4)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
