// MAC reader: an accepted text is 48 bits, prints in each of the three styles
// to a text that reads back to the same value, and reversing the bit order of
// every octet twice gives the value back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzzcheck.h"
#include "ipv4lib/ipv4mac.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ipv4mac m(text);
  if (!m.is_valid()) return 0;
  FUZZ_CHECK(m.value() <= 0xFFFFFFFFFFFFull);
  for (int format = 0; format <= 2; ++format) {
    const ipv4mac back(m.text(format));
    FUZZ_CHECK(back.is_valid() && back.value() == m.value());
  }
  ipv4mac r = m;
  r.reverse_bits();
  r.reverse_bits();
  FUZZ_CHECK(r.value() == m.value());
  return 0;
}
