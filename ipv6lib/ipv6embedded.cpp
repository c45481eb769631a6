#include "ipv6lib/ipv6embedded.h"

namespace {

constexpr uint128 kLow56 = (uint128{1} << 56) - 1;

// RFC 6052 leaves bits 64-71 out of the embedding: the address without them,
// as a 120-bit number.
uint128 squeeze(uint128 v) noexcept {
  return ((v >> 64) << 56) | (v & kLow56);
}

uint128 unsqueeze(uint128 s) noexcept {
  return ((s >> 56) << 64) | (s & kLow56);
}

// Where the IPv4 address ends in the squeezed number, counted from its low end.
int squeezed_shift(int len) noexcept {
  const int start = len <= 64 ? len : len - 8;
  return 120 - start - 32;
}

}  // namespace

std::string ipv4_dotted(uint32_t v) {
  std::string s;
  s.reserve(15);
  for (int shift = 24; shift >= 0; shift -= 8) {
    s += std::to_string((v >> shift) & 0xFFu);
    if (shift) s += '.';
  }
  return s;
}

bool nat64_length_ok(int len) noexcept {
  return len == 32 || len == 40 || len == 48 || len == 56 || len == 64 || len == 96;
}

uint32_t nat64_extract(const ipv6& a, int len) noexcept {
  if (!nat64_length_ok(len)) return 0;
  return static_cast<uint32_t>(squeeze(a.value()) >> squeezed_shift(len));
}

ipv6 nat64_embed(const ipv6net& prefix, uint32_t v4) noexcept {
  if (!prefix.is_valid() || !nat64_length_ok(prefix.prefix())) return ipv6(std::string_view());
  if ((prefix.network().value() >> 56) & 0xFF) return ipv6(std::string_view());
  const uint128 spread = unsqueeze(uint128{v4} << squeezed_shift(prefix.prefix()));
  return ipv6(prefix.network().value() | spread);
}

std::string ipv6embedded::kind_text() const {
  switch (kind) {
    case k_mapped:
      return "IPv4-mapped";
    case k_6to4:
      return "6to4";
    case k_nat64:
      return "NAT64";
    case k_teredo:
      return "Teredo";
    case k_none:
      break;
  }
  return std::string();
}

std::string ipv6embedded::ipv4_text() const {
  return kind == k_none ? std::string() : ipv4_dotted(ipv4);
}

std::string ipv6embedded::server_text() const {
  return kind == k_teredo ? ipv4_dotted(server) : std::string();
}

ipv6embedded ipv6embedded::read(const ipv6& a, const ipv6net& nat64) {
  ipv6embedded e;
  if (!a.is_valid()) return e;
  const uint64_t high = a.high();
  const uint64_t low = a.low();
  if (a.is_ipv4_mapped()) {
    e.kind = k_mapped;
    e.ipv4 = static_cast<uint32_t>(low);
  } else if (nat64.is_valid() && nat64_length_ok(nat64.prefix()) && nat64.contains(a)) {
    e.kind = k_nat64;
    e.nat64_prefix = nat64.prefix();
    e.ipv4 = nat64_extract(a, e.nat64_prefix);
  } else if (high == 0x0064FF9B00000000ull && (low >> 32) == 0) {
    e.kind = k_nat64;
    e.nat64_prefix = 96;
    e.ipv4 = static_cast<uint32_t>(low);
  } else if ((high >> 48) == 0x2002) {
    e.kind = k_6to4;
    e.ipv4 = static_cast<uint32_t>(high >> 16);
  } else if ((high >> 32) == 0x20010000) {
    e.kind = k_teredo;
    e.server = static_cast<uint32_t>(high);
    e.teredo_flags = static_cast<uint16_t>(low >> 48);
    e.port = static_cast<uint16_t>(~(low >> 32));
    e.ipv4 = ~static_cast<uint32_t>(low);
  }
  return e;
}
