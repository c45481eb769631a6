#pragma once
// IPv4 addresses carried inside IPv6 addresses: IPv4-mapped, 6to4, NAT64
// (RFC 6052) and Teredo, read out of an address and, for NAT64, written in.

#include <cstdint>
#include <string>

#include "ipv6lib/ipv6.h"
#include "ipv6lib/ipv6net.h"

struct ipv6embedded {
  enum kind_t { k_none, k_mapped, k_6to4, k_nat64, k_teredo };

  // Which kind of embedding the address carries; k_none when it carries none.
  kind_t kind = k_none;
  // The embedded IPv4 address (host order); for Teredo the client's public
  // address, de-obfuscated (RFC 4380 section 4).
  uint32_t ipv4 = 0;
  // Teredo only: the server's IPv4 address (host order).
  uint32_t server = 0;
  // Teredo only: the client's public UDP port, de-obfuscated.
  uint16_t port = 0;
  // Teredo only: the 16 flag bits (RFC 4380 4, RFC 5991).
  uint16_t teredo_flags = 0;
  // NAT64 only: the prefix length the address was read with.
  int nat64_prefix = 0;

  // "IPv4-mapped", "6to4", "NAT64", "Teredo"; "" for k_none.
  std::string kind_text() const;
  // The embedded IPv4 address as "a.b.c.d"; "" for k_none.
  std::string ipv4_text() const;
  // Teredo only: the server as "a.b.c.d"; "" for the other kinds.
  std::string server_text() const;

  // Reads what the address carries: IPv4-mapped ::ffff:0:0/96 (RFC 4291
  // 2.5.5.2), NAT64 in the chosen prefix (when valid and of an RFC 6052 length)
  // or in the well-known 64:ff9b::/96 (RFC 6052), 6to4 2002::/16 (RFC 3056),
  // Teredo 2001::/32 (RFC 4380), in that order; k_none for anything else.
  static ipv6embedded read(const ipv6& a, const ipv6net& nat64 = ipv6net());
};

// "a.b.c.d" for an IPv4 value in host order.
std::string ipv4_dotted(uint32_t v);
// Whether len is one of the NAT64 prefix lengths of RFC 6052: 32, 40, 48, 56, 64, 96.
bool nat64_length_ok(int len) noexcept;
// The IPv4 address an RFC 6052 address holds after a prefix of length len
// (bits 64-71 are skipped); 0 when len is not an RFC 6052 length.
uint32_t nat64_extract(const ipv6& a, int len) noexcept;
// The RFC 6052 address of an IPv4 address under a NAT64 prefix: the prefix's
// first len bits, the IPv4 address around bits 64-71 (left zero), zeros after;
// invalid when the prefix is invalid, its length is not an RFC 6052 length or
// (a /96) it sets bits 64-71.
ipv6 nat64_embed(const ipv6net& prefix, uint32_t v4) noexcept;
