// Dotted-quad reader: whatever text it accepts prints a text that reads back
// to the same value and flags, and it agrees with glibc's inet_pton on every
// text inet_pton accepts.
#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzzcheck.h"
#include "ipv4lib/ipv4.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ipv4 a(text);
  if (a.is_valid()) {
    FUZZ_CHECK(a.flags() == ipv4::classify(a.value()));
    const ipv4 back(a.text());
    FUZZ_CHECK(back.is_valid() && back.value() == a.value() && back.flags() == a.flags());
  } else {
    FUZZ_CHECK(a.value() == 0 && a.text().empty());
  }
  const std::string s(text);
  in_addr addr;
  const bool glibc = s.size() <= 15 && s.find('\0') == std::string::npos &&
                     inet_pton(AF_INET, s.c_str(), &addr) == 1;
  if (glibc) FUZZ_CHECK(a.is_valid() && a.value() == ntohl(addr.s_addr));
  // A text as the reader prints it is one glibc reads too.
  if (a.is_valid() && a.text() == s) FUZZ_CHECK(glibc);
  return 0;
}
