#pragma once
// One run of the Network Sets tool: the texts of lists A and B, an operation
// and a notation in; rows of the result made on demand by index, the lines of
// both lists that did not read, the counts of each list and the result as
// text or CSV out. It runs on any thread: it polls a cancel flag and reports
// its progress.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "netsets/netlist.h"

namespace netsets {

// In the order of the window's list of operations.
enum class operation { aggregate, merge, common, exclude, ranges, summary, overlaps };
inline constexpr int kOperationCount = 7;

// Whether the operation reads list B at all.
bool uses_b(operation op) noexcept;

// What the count line under a list says of it.
struct list_counts {
  uint32_t lines = 0;
  // The networks of the list's aggregate: the fewest that cover it exactly.
  std::size_t networks = 0;
  // Exact count of the addresses covered, both families together, in decimal
  // (more than 2^128 when all of IPv6 and some IPv4 are covered).
  std::string addresses = "0";
  std::size_t problems = 0;
};
list_counts count_list(const netlist& l);
// "N lines, M networks, K addresses" (each word singular for 1).
std::string counts_text(const list_counts& c);

// The sum of two decimal numbers of any length.
std::string add_decimal(const std::string& a, const std::string& b);

// What a running job is told and tells: cancel is polled between steps,
// progress gets the percentage done.
struct job_control {
  const std::atomic<bool>* cancel = nullptr;
  std::function<void(int percent)> progress;
  bool cancelled() const noexcept { return cancel && cancel->load(std::memory_order_relaxed); }
};

// A line of A or B that did not read.
struct listed_problem {
  uint8_t list;  // 0 for A, 1 for B
  uint32_t index;
};

// The most overlapping pairs a run lists: a list of many copies of one
// network pairs every copy with every other.
inline constexpr uint64_t kMaxOverlapPairs = 10000000;

// How many pairs of the items share an address, counted without listing
// them: each item meets the items sorted before it that do not end before it.
uint64_t overlap_pair_count(const netlist& a, const netlist* b = nullptr);

class setresult {
 public:
  // Reads the lists and runs op. B is not read for an operation that does
  // not use it. Returns nullptr when cancelled.
  static std::unique_ptr<setresult> run(std::string a, std::string b, operation op, notation how,
                                        const job_control& control = {});

  operation op() const noexcept { return op_; }
  notation how() const noexcept { return how_; }
  // Changes the notation of the texts made from now on; nothing is recomputed.
  void set_notation(notation how) noexcept { how_ = how; }

  // The column captions of an operation's rows.
  static std::vector<std::string> columns(operation op);
  int column_count() const noexcept { return static_cast<int>(columns(op_).size()); }
  std::size_t row_count() const noexcept;
  // The text of one cell, made now.
  std::string cell(std::size_t row, int column) const;
  // "12 networks", "3 ranges", "5 overlapping pairs", with what was ignored.
  std::string count_text() const;

  // The network a calculator should examine for the row, in CIDR: the row's
  // network, the first network of a range, the first item of an overlap.
  std::string calc_network(std::size_t row, bool* v6) const;

  // The row as one line of text: the result itself for the network and
  // range operations, every column separated by tabs for the others.
  std::string row_text(std::size_t row) const;
  // Every row as text, one a line.
  std::string text() const;
  // Every row as CSV with a header line.
  std::string csv() const;

  const netlist& list(int which) const noexcept { return which ? *b_ : *a_; }
  const list_counts& counts(int which) const noexcept { return counts_[which ? 1 : 0]; }
  // The problems of the lists the operation read, A's first.
  const std::vector<listed_problem>& problems() const noexcept { return problems_; }
  const problem& problem_of(const listed_problem& p) const noexcept {
    return list(p.list).problems()[p.index];
  }

 private:
  setresult() = default;
  std::string network_text(std::size_t row) const;

  operation op_ = operation::aggregate;
  notation how_ = notation::cidr;
  std::shared_ptr<const netlist> a_, b_;
  list_counts counts_[2];
  std::vector<listed_problem> problems_;
  netresult nets_;
  rangeresult ranges_;
  std::vector<summary_t<uint32_t>> summary4_;
  std::vector<summary_t<uint128>> summary6_;
  std::vector<overlap> overlaps_;
  // The pairs found when they were too many to list; 0 otherwise.
  uint64_t unlisted_pairs_ = 0;
};

}  // namespace netsets
