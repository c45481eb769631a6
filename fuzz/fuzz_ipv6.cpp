// IPv6 reader: whatever text it accepts prints texts that read back to the
// same value (and zone), its RFC 5952 text is what glibc's inet_ntop prints for
// the value, and it agrees with inet_pton on every text without a zone. The
// same bytes are read as a network and as an exact count.
#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzzcheck.h"
#include "ipv6lib/ipv6.h"
#include "ipv6lib/ipv6embedded.h"
#include "ipv6lib/ipv6net.h"

namespace {

in6_addr to_in6(uint128 v) {
  in6_addr a;
  for (int i = 15; i >= 0; --i, v >>= 8) a.s6_addr[i] = static_cast<uint8_t>(v);
  return a;
}

uint128 from_in6(const in6_addr& a) {
  uint128 v = 0;
  for (int i = 0; i < 16; ++i) v = (v << 8) | a.s6_addr[i];
  return v;
}

void check_address(std::string_view text) {
  const ipv6 a(text);
  if (!a.is_valid()) {
    FUZZ_CHECK(a.value() == 0 && a.flags() == 0 && a.zone().empty() && a.text().empty());
  } else {
    FUZZ_CHECK(ipv6(a.text()) == a);
    FUZZ_CHECK(ipv6(a.expanded()).value() == a.value());
    FUZZ_CHECK(ipv6(a.compressed()).value() == a.value());
    FUZZ_CHECK((a.flags() & ~uint32_t{ipv6::f_zone}) == ipv6::classify(a.value()));
    FUZZ_CHECK(a.has_zone() == !a.zone().empty() && a.zone().size() <= ipv6::kMaxZone);
    FUZZ_CHECK(a.text().size() < ipv6::kTextSize);
    const in6_addr bin = to_in6(a.value());
    char buf[INET6_ADDRSTRLEN];
    FUZZ_CHECK(inet_ntop(AF_INET6, &bin, buf, sizeof buf) && a.compressed() == buf);
    // The decoders take any address.
    const ipv6net prefix48(a, 48);
    const ipv6embedded e = ipv6embedded::read(a, prefix48);
    if (e.kind == ipv6embedded::k_nat64 && e.nat64_prefix == 48)
      FUZZ_CHECK(nat64_extract(nat64_embed(prefix48, e.ipv4), 48) == e.ipv4);
    if (const auto mac = a.eui64_mac()) FUZZ_CHECK(ipv6::from_mac(a, *mac).value() == a.value());
    FUZZ_CHECK(a.solicited_node().is_multicast());
  }
  // inet_pton reads C strings: compare on texts without NUL, and only on the
  // address part, since inet_pton knows no zones.
  if (text.find('\0') != std::string_view::npos) return;
  const std::size_t percent = text.find('%');
  const std::string address(text.substr(0, percent));
  in6_addr bin;
  const bool glibc = inet_pton(AF_INET6, address.c_str(), &bin) == 1;
  if (percent == std::string_view::npos) {
    FUZZ_CHECK(glibc == a.is_valid());
    if (glibc) FUZZ_CHECK(from_in6(bin) == a.value());
  } else if (a.is_valid()) {
    FUZZ_CHECK(glibc && from_in6(bin) == a.value());
  }
}

void check_network(std::string_view text) {
  const ipv6net n(text);
  if (!n.is_valid()) {
    FUZZ_CHECK(n.error() != ipv6net::e_none && n.cidr().empty() && n.reverse_zones().empty());
    return;
  }
  FUZZ_CHECK(n.prefix() >= 0 && n.prefix() <= 128);
  FUZZ_CHECK(n.contains(n.address()) && n.contains(n.first()) && n.contains(n.last()));
  FUZZ_CHECK(n.first().value() <= n.address().value() && n.address().value() <= n.last().value());
  const ipv6net back(n.cidr());
  FUZZ_CHECK(back.is_valid() && back.network() == n.network() && back.prefix() == n.prefix());
  FUZZ_CHECK(ipv6net(n.text()).text() == n.text());
  FUZZ_CHECK(n.count().exponent() == 128 - n.prefix());
  const std::size_t zones = n.reverse_zones().size();
  FUZZ_CHECK(zones == (1u << ((4 - n.prefix() % 4) % 4)));
  if (n.has_next()) FUZZ_CHECK(n.next().previous().network() == n.network());
}

void check_count(std::string_view text) {
  ipv6count c;
  if (!ipv6count::from_text(text, &c)) return;
  ipv6count back;
  FUZZ_CHECK(ipv6count::from_text(c.decimal(), &back) && back == c);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  check_address(text);
  check_network(text);
  check_count(text);
  return 0;
}
