// Network list reader: any text reads without a crash, each problem names a
// line of the text, the aggregate covers exactly the addresses of the list,
// and the aggregate printed and read again is the same list (a fixed point),
// in every notation that reads back.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzzcheck.h"
#include "netsets/netlist.h"

using namespace netsets;

namespace {

template <class T>
intervalset<T> covered(const std::vector<network<T>>& nets) {
  intervalset<T> s;
  for (const auto& n : nets) s.push_back(to_interval(n));
  normalize(s);
  return s;
}

std::string printed(const netresult& r, notation how) {
  std::string out;
  for (const auto& n : r.v4) out += text(n, how) + '\n';
  for (const auto& n : r.v6) out += text(n, how) + '\n';
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const netlist l(std::string(reinterpret_cast<const char*>(data), size));
  for (const problem& p : l.problems()) FUZZ_CHECK(p.line >= 1 && p.line <= l.line_count());
  for (const item& it : l.items()) {
    FUZZ_CHECK(it.first <= it.last);
    FUZZ_CHECK(it.offset + it.length <= l.source().size());
  }
  const netresult a = aggregate(l);
  FUZZ_CHECK(covered(a.v4) == l.v4());
  FUZZ_CHECK(covered(a.v6) == l.v6());
  FUZZ_CHECK(count(covered(a.v6)) == count(l.v6()));
  for (const notation how : {notation::cidr, notation::mask, notation::range}) {
    const netlist again(printed(a, how));
    FUZZ_CHECK(again.problems().empty());
    const netresult b = aggregate(again);
    FUZZ_CHECK(b.v4 == a.v4);
    FUZZ_CHECK(b.v6 == a.v6);
  }
  // Nothing is left when a list is taken from itself, and it meets itself whole.
  FUZZ_CHECK(exclude(l, l).size() == 0);
  FUZZ_CHECK(common(l, l).v4 == a.v4 && common(l, l).v6 == a.v6);
  return 0;
}
