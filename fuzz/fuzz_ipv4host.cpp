// Network reader ("a.b.c.d/p", "a.b.c.d m.m.m.m"): a valid network keeps its
// address between network and broadcast address, and its text reads back to
// the same network.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzzcheck.h"
#include "ipv4lib/ipv4host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ipv4host h(text);
  if (!h.is_valid()) return 0;
  const uint32_t f = h.flags();
  FUZZ_CHECK(f == 0x03 || f == 0x05 || f == 0x09 || f == 0x11);
  FUZZ_CHECK(h.network.value() == (h.address.value() & h.mask.value()));
  FUZZ_CHECK(h.mask.is_mask_only() || h.mask.is_short_mask());
  FUZZ_CHECK(h.prefix_length() >= 1 && h.prefix_length() <= 32);
  FUZZ_CHECK(h.network_value() <= h.address.value());
  FUZZ_CHECK(h.address.value() <= h.broadcast_value());
  const ipv4host back(h.text());
  FUZZ_CHECK(back.is_valid());
  FUZZ_CHECK(back.network_value() == h.network_value() && back.mask_value() == h.mask_value());
  FUZZ_CHECK(back.address.value() == h.address.value());
  FUZZ_CHECK(h.contains(h.address_text()));
  return 0;
}
