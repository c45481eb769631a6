// Plan file reader: any text reads or is refused with a message, never a
// crash; a plan that reads writes back to a text that reads as the same plan
// and writes the same text again (a fixed point); and a small plan that reads
// computes without a crash, its placements inside the parents' size.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzzcheck.h"
#include "planner/planner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  planner::plan p;
  std::string error;
  if (!planner::from_json(text, &p, &error)) {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(p == planner::plan());  // a refused file changes nothing
    return 0;
  }
  const std::string written = planner::to_json(p);
  planner::plan again;
  FUZZ_CHECK(planner::from_json(written, &again, &error));
  FUZZ_CHECK(again == p);
  FUZZ_CHECK(planner::to_json(again) == written);

  // Computing places one network per copy: keep the plans the fuzzer makes small.
  uint64_t copies = 0;
  for (const planner::need& n : p.needs) copies += n.copies;
  if (copies > 512) return 0;
  const planner::result r = planner::compute(p);
  FUZZ_CHECK(r.allocations.size() + r.unplaced.size() <= copies);
  for (const planner::allocation& a : r.allocations) {
    FUZZ_CHECK(!a.network.empty() && !a.first.empty() && !a.last.empty());
    FUZZ_CHECK(a.prefix >= 0 && a.prefix <= (a.v6 ? 128 : 32));
  }
  FUZZ_CHECK(r.utilisation >= 0 && r.utilisation <= 1);
  if (!r.allocations.empty()) FUZZ_CHECK(!planner::to_csv(r).empty());
  return 0;
}
