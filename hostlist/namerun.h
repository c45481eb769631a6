#pragma once
// The names the user gave to rows of a host list, kept as runs of
// consecutive rows that share one name. Naming a million selected rows at
// once costs one run; rows outside every run keep their generated names.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TNameRuns {
 public:
  struct Run {
    uint32_t first;
    uint32_t last;
    // Where the run's name (UTF-8) lies in the name store; kGenerated marks
    // a run that gives rows back their generated names (only in an overlay).
    uint64_t offset;
    uint32_t length;
  };
  static constexpr uint64_t kGenerated = UINT64_MAX;

  // The name given to `row`; false when the row keeps its generated name.
  bool Find(uint32_t row, std::string_view* name) const;

  // Appends a run after every run so far (rows only grow); joins the last
  // run when it ends right before `first` with the same name. A null name
  // marks rows that return to their generated names.
  void Append(uint32_t first, uint32_t last, const std::string_view* name);
  void Append(uint32_t row, const std::string_view* name) { Append(row, row, name); }

  // Lays `top` over these runs: each of its runs replaces what it covers,
  // and its generated-name runs remove the names there.
  void Overlay(const TNameRuns& top);
  // The same, taking over `top`'s store when there is nothing to lay it on.
  void Overlay(TNameRuns&& top);

  void Clear();
  bool Empty() const { return FRuns.empty(); }
  const std::vector<Run>& Runs() const { return FRuns; }
  std::string_view NameOf(const Run& run) const {
    return std::string_view(FNames.data() + run.offset, run.length);
  }

 private:
  std::vector<Run> FRuns;  // sorted by first, not overlapping
  std::string FNames;
};
