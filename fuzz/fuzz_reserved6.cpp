// The special-purpose IPv6 block list: any file content gives valid blocks in
// chart order, every line with a ';' is either a block or reported, and the
// block an address selects holds it and is the longest that does.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz/fuzzcheck.h"
#include "ipv6lib/ipv6reserved.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // The first sixteen bytes, when there are that many, pick an address to
  // look up; all bytes are the file.
  uint64_t high = 0, low = 0;
  if (size >= 16) {
    std::memcpy(&high, data, 8);
    std::memcpy(&low, data + 8, 8);
  }
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const ipv6reserved list(content);
  const auto& rows = list.rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ipv6net& b = rows[i].block;
    FUZZ_CHECK(b.is_valid() && !b.address().has_zone() && b.address() == b.network());
    FUZZ_CHECK(!rows[i].usage.empty() && rows[i].line >= 1);
    if (i > 0) {
      const ipv6net& a = rows[i - 1].block;
      FUZZ_CHECK(a.network().value() < b.network().value() ||
                 (a.network() == b.network() && a.prefix() <= b.prefix()));
    }
  }
  for (std::size_t i = 1; i < list.errors().size(); ++i)
    FUZZ_CHECK(list.errors()[i - 1].line < list.errors()[i].line);
  const ipv6 address(high, low);
  const int found = list.match(address);
  FUZZ_CHECK(found >= -1 && found < int(rows.size()));
  for (const ipv6block& r : rows) {
    if (!r.block.contains(address)) continue;
    FUZZ_CHECK(found >= 0 && rows[std::size_t(found)].block.prefix() >= r.block.prefix());
  }
  if (found >= 0) FUZZ_CHECK(rows[std::size_t(found)].block.contains(address));
  return 0;
}
