#include "hostlist/namerun.h"

#include <algorithm>

namespace {

// Adds `run` (its name in `names`) at the end of `runs`/`store`, joining the
// last run when that ends right before it and has the same name.
void Emit(std::vector<TNameRuns::Run>& runs, std::string& store, TNameRuns::Run run,
          std::string_view name) {
  if (!runs.empty()) {
    TNameRuns::Run& prev = runs.back();
    const bool prevGenerated = prev.offset == TNameRuns::kGenerated;
    const bool generated = run.offset == TNameRuns::kGenerated;
    if (uint64_t(prev.last) + 1 == run.first && prevGenerated == generated &&
        (generated || std::string_view(store.data() + prev.offset, prev.length) == name)) {
      prev.last = run.last;
      return;
    }
  }
  if (run.offset != TNameRuns::kGenerated) {
    run.offset = store.size();
    run.length = static_cast<uint32_t>(name.size());
    store.append(name);
  }
  runs.push_back(run);
}

}  // namespace

bool TNameRuns::Find(uint32_t row, std::string_view* name) const {
  auto it = std::upper_bound(FRuns.begin(), FRuns.end(), row,
                             [](uint32_t r, const Run& run) { return r < run.first; });
  if (it == FRuns.begin()) return false;
  --it;
  if (row > it->last || it->offset == kGenerated) return false;
  if (name) *name = NameOf(*it);
  return true;
}

void TNameRuns::Append(uint32_t first, uint32_t last, const std::string_view* name) {
  // Names are stored with a 32-bit length; a longer one is cut.
  std::string_view n = name ? *name : std::string_view();
  if (n.size() > UINT32_MAX) n = n.substr(0, UINT32_MAX);
  Emit(FRuns, FNames, Run{first, last, name ? 0 : kGenerated, 0}, n);
}

void TNameRuns::Overlay(const TNameRuns& top) {
  if (top.FRuns.empty()) return;
  std::vector<Run> runs;
  std::string names;
  runs.reserve(FRuns.size() + top.FRuns.size() * 2);
  const std::size_t n = FRuns.size();
  std::size_t i = 0;
  // The part of FRuns[i] not yet covered starts here.
  uint32_t from = n ? FRuns[0].first : 0;
  auto emitBase = [&](uint32_t first, uint32_t last) {
    const Run& b = FRuns[i];
    if (b.offset != kGenerated) Emit(runs, names, Run{first, last, 0, 0}, NameOf(b));
  };
  auto next = [&] {
    ++i;
    if (i < n) from = FRuns[i].first;
  };
  for (const Run& t : top.FRuns) {
    while (i < n && FRuns[i].last < t.first) {
      emitBase(from, FRuns[i].last);
      next();
    }
    if (i < n && from < t.first) {
      emitBase(from, t.first - 1);
      from = t.first;
    }
    while (i < n && FRuns[i].last <= t.last) next();
    if (i < n && from <= t.last) from = t.last + 1;
    if (t.offset != kGenerated) Emit(runs, names, Run{t.first, t.last, 0, 0}, top.NameOf(t));
  }
  while (i < n) {
    emitBase(from, FRuns[i].last);
    next();
  }
  FRuns.swap(runs);
  FNames.swap(names);
}

void TNameRuns::Overlay(TNameRuns&& top) {
  if (!FRuns.empty()) {
    Overlay(static_cast<const TNameRuns&>(top));
    return;
  }
  // Over no names, generated-name runs have nothing to remove.
  std::vector<Run>& runs = top.FRuns;
  runs.erase(
      std::remove_if(runs.begin(), runs.end(), [](const Run& r) { return r.offset == kGenerated; }),
      runs.end());
  FRuns.swap(runs);
  FNames.swap(top.FNames);
  top.Clear();
}

void TNameRuns::Clear() {
  std::vector<Run>().swap(FRuns);
  std::string().swap(FNames);
}
