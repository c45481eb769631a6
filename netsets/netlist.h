#pragma once
// A list of addresses, networks and ranges as people paste them, read into
// IPv4 and IPv6 address sets, and what is done with it: the set operations,
// the overlapping lines and the texts of results in the chosen notation.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "netsets/intervals.h"

namespace netsets {

// One item read from a list, the text it came from kept as a place in the source.
struct item {
  uint128 first;
  uint128 last;
  uint32_t line;    // counted from 1
  uint32_t offset;  // of the item's text in the source
  uint32_t length;
  bool v6;
};

// A line (or a part of one) that did not read.
struct problem {
  uint32_t line;
  std::string text;
  std::string reason;
};

class netlist {
 public:
  netlist() = default;
  // Reads text: one item a line or several separated by blanks, commas or
  // semicolons; an address, "a/len", "address mask", "a-b" or "a - b".
  explicit netlist(std::string text);

  const std::string& source() const noexcept { return source_; }
  const std::vector<item>& items() const noexcept { return items_; }
  const std::vector<problem>& problems() const noexcept { return problems_; }
  // Lines of the text, comments and blank lines included.
  uint32_t line_count() const noexcept { return lines_; }
  // The item's text as written.
  std::string_view text_of(const item& it) const noexcept {
    return std::string_view(source_).substr(it.offset, it.length);
  }

  // The addresses of every item of each family, sorted and merged.
  const intervalset<uint32_t>& v4() const noexcept { return v4_; }
  const intervalset<uint128>& v6() const noexcept { return v6_; }

 private:
  void read_line(uint32_t line, std::size_t begin, std::size_t end);
  void read_part(uint32_t line, std::size_t begin, std::size_t end);
  void fail(uint32_t line, std::size_t begin, std::size_t end, const char* reason);

  struct word {
    std::size_t begin;
    std::size_t end;
  };
  std::vector<word> words_;  // of the part being read, kept to save allocations
  std::string source_;
  std::vector<item> items_;
  std::vector<problem> problems_;
  uint32_t lines_ = 0;
  intervalset<uint32_t> v4_;
  intervalset<uint128> v6_;
};

// Both families of a result, IPv4 first.
struct netresult {
  std::vector<network<uint32_t>> v4;
  std::vector<network<uint128>> v6;
  std::size_t size() const noexcept { return v4.size() + v6.size(); }
};

struct rangeresult {
  intervalset<uint32_t> v4;
  intervalset<uint128> v6;
  std::size_t size() const noexcept { return v4.size() + v6.size(); }
};

netresult aggregate(const netlist& a);
netresult merge(const netlist& a, const netlist& b);
netresult common(const netlist& a, const netlist& b);
netresult exclude(const netlist& a, const netlist& b);
rangeresult ranges(const netlist& a);
netresult networks_of(const rangeresult& r);

// Where two items meet, seen from the one on the earlier line (or earlier in
// the same line): it holds the same addresses, holds all of the other, lies
// inside the other, or they share only part.
enum class relation { duplicate, contains, inside, overlaps };
const char* relation_name(relation r) noexcept;

struct overlap {
  uint32_t first;  // indexes into the item lists (of the lists given)
  uint32_t second;
  uint8_t first_list;  // 0 for A, 1 for B
  uint8_t second_list;
  relation rel;
};

// Every pair of items that share an address, in one sweep over the sorted
// items; pairs ordered by the first item's list and place.
std::vector<overlap> overlaps(const netlist& a, const netlist* b = nullptr);

// The pairs of overlaps(a), in the same order, handed to `each` as they are
// found: the pairs are held a run of items at a time (at least least_held of
// them, or a sixteenth of all), never all at once, so a list of many
// duplicates costs a fraction of its output.
void for_each_overlap(const netlist& a, const std::function<void(const overlap&)>& each,
                      std::size_t least_held = std::size_t(1) << 20);

enum class notation { cidr, mask, wildcard, range };

// The text of a network or a range in a notation. IPv6 has no masks in
// practice, so its mask and wildcard texts are CIDR.
std::string text(const network<uint32_t>& n, notation how);
std::string text(const network<uint128>& n, notation how);
std::string text(const interval<uint32_t>& r);
std::string text(const interval<uint128>& r);

}  // namespace netsets
