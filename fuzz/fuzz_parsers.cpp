// libFuzzer target for every text reader of the address library and the field
// splitter: any input must be read without a crash, and what is accepted must
// agree with the value it reports. Build and run from the repository root with
//   make fuzz            (or by hand:)
//   clang++-14 -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -I. fuzz/fuzz_parsers.cpp
//     ipv4lib/ipv4.cpp ipv4lib/ipv4host.cpp ipv4lib/ipv4mac.cpp shell/fieldsplitter.cpp
//     -o fuzz_parsers
//   ./fuzz_parsers -max_total_time=60 -max_len=64

#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4host.h"
#include "ipv4lib/ipv4mac.h"
#include "shell/fieldsplitter.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

void fuzz_ipv4(std::string_view text) {
  const ipv4 a(text);
  if (a.is_valid()) {
    check(a.flags() == ipv4::classify(a.value()));
    check(ipv4(a.text()).value() == a.value());
  }
  // glibc accepts no leading zeros and no NULs; whatever it accepts, we accept too.
  const std::string s(text);
  in_addr addr;
  const bool glibc = s.size() <= 15 && s.find('\0') == std::string::npos &&
                     inet_pton(AF_INET, s.c_str(), &addr) == 1;
  if (glibc) check(a.is_valid() && a.value() == ntohl(addr.s_addr));
  // and the other way round, for texts without leading zeros
  if (a.is_valid() && a.text() == s) check(glibc);
}

void fuzz_ipv4host(std::string_view text) {
  const ipv4host h(text);
  if (!h.is_valid()) return;
  const uint32_t f = h.flags();
  check(f == 0x03 || f == 0x05 || f == 0x09 || f == 0x11);
  check(h.network.value() == (h.address.value() & h.mask.value()));
  check(h.mask.is_mask_only() || h.mask.is_short_mask());
  check(h.prefix_length() >= 1 && h.prefix_length() <= 32);
}

void fuzz_ipv4mac(std::string_view text) {
  const ipv4mac m(text);
  if (!m.is_valid()) return;
  check(m.value() <= 0xFFFFFFFFFFFFull);
  for (int format = 0; format <= 2; ++format) check(ipv4mac(m.text(format)).value() == m.value());
}

void fuzz_splitter(std::string_view text) {
  const char delimiter = text.empty() ? ';' : text[0];
  const TFieldSplitter s(text.substr(text.empty() ? 0 : 1), delimiter);
  std::size_t total = 0;
  for (int32_t n = 0; n <= s.FCount + 1; ++n) total += s.Field(n).size();
  check(total <= text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fuzz_ipv4(text);
  fuzz_ipv4host(text);
  fuzz_ipv4mac(text);
  fuzz_splitter(text);
  return 0;
}
