#pragma once
// An IPv6 address with a prefix length: the network it lies in, how many
// addresses and subnets that network holds, its neighbours and the reverse DNS
// zones that delegate it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ipv6lib/ipv6.h"

// An exact count from 0 to 2^128 inclusive: 2^128 addresses (a /0) needs a
// 129th bit, kept as a flag.
class ipv6count {
 public:
  // 0.
  constexpr ipv6count() noexcept : value_(0), full_(false) {}
  // The count v.
  explicit constexpr ipv6count(uint128 v) noexcept : value_(v), full_(false) {}
  // 2^n for n 0-128; 0 for any other n.
  static ipv6count power_of_two(int n) noexcept;
  // Reads a decimal number or "0x" and hex digits, up to 2^128; false (and
  // *out untouched) on anything else, blanks included.
  static bool from_text(std::string_view text, ipv6count* out) noexcept;

  // Whether the count is 2^128.
  bool is_full() const noexcept { return full_; }
  // The count modulo 2^128: 0 for 2^128.
  uint128 value() const noexcept { return value_; }
  // n when the count is exactly 2^n; -1 otherwise (0 included).
  int exponent() const noexcept;
  // The count in decimal digits, exact.
  std::string decimal() const;
  // "2^n" when the count is a power of two; "" otherwise.
  std::string power_text() const;

  bool operator==(const ipv6count& o) const noexcept {
    return value_ == o.value_ && full_ == o.full_;
  }
  bool operator!=(const ipv6count& o) const noexcept { return !(*this == o); }

 private:
  uint128 value_;
  bool full_;
};

class ipv6net {
 public:
  // Why a read failed; e_none when valid.
  enum error_t { e_none, e_address, e_prefix };

  // Invalid (e_address): nothing read yet.
  ipv6net() noexcept;
  // Reads "address[%zone][/len]"; text without "/len" takes default_prefix.
  explicit ipv6net(std::string_view text, int default_prefix = 128) noexcept;
  // Pairs an address with a prefix length; invalid when either is.
  ipv6net(const ipv6& address, int prefix) noexcept;

  // Reads "address[%zone][/len]": the address as ipv6 reads it, len one to
  // three decimal digits 0-128; without "/len" the prefix is default_prefix.
  ipv6net& assign_text(std::string_view text, int default_prefix = 128) noexcept;

  // Whether both the address and the prefix length read.
  bool is_valid() const noexcept { return error_ == e_none; }
  // What made the object invalid: e_address before e_prefix; e_none when valid.
  error_t error() const noexcept { return error_; }
  // The address as read, zone included; invalid when the object is.
  const ipv6& address() const noexcept { return address_; }
  // The prefix length 0-128; 0 when invalid.
  int prefix() const noexcept { return is_valid() ? prefix_ : 0; }

  // The prefix as a mask (ffff:...:0); invalid when the object is.
  ipv6 mask() const noexcept;
  // The network address: the address with its host bits cleared, no zone.
  ipv6 network() const noexcept;
  // The first address of the network (the network address, RFC 4291 has no broadcast).
  ipv6 first() const noexcept { return network(); }
  // The last address: the host bits all set.
  ipv6 last() const noexcept;
  // "network/len" in RFC 5952 form; "" when invalid.
  std::string cidr() const;
  // The address as read (zone included), "/" and the prefix; "" when invalid.
  std::string text() const;

  // The number of addresses, 2^(128 - len); 0 when invalid.
  ipv6count count() const noexcept;
  // The number of /target networks inside, 2^(target - len); 0 when target is
  // shorter than the prefix or over 128, or when invalid.
  ipv6count subnet_count(int target) const noexcept;
  // The number of /64 networks inside; 0 for a prefix longer than 64.
  ipv6count subnets64() const noexcept { return subnet_count(64); }
  // The index-th /target network inside, counted from 0; invalid when there is
  // no such network.
  ipv6net subnet(int target, uint128 index) const noexcept;

  // Whether a network of the same length follows (none after the last one).
  bool has_next() const noexcept;
  // The network of the same length after this one; invalid after the last.
  ipv6net next() const noexcept;
  // Whether a network of the same length comes before (none before ::/len).
  bool has_previous() const noexcept;
  // The network of the same length before this one; invalid before the first.
  ipv6net previous() const noexcept;

  // The ip6.arpa zones that delegate the network (RFC 3596): its own zone when
  // the prefix is a multiple of 4, else the 2, 4 or 8 zones at the next
  // multiple of 4 that cover it; empty when invalid.
  std::vector<std::string> reverse_zones() const;

  // Whether the address lies in the network.
  bool contains(const ipv6& a) const noexcept;
  // Whether the whole of another network lies in this one.
  bool contains(const ipv6net& other) const noexcept;

 private:
  uint128 host_mask() const noexcept;
  ipv6 address_;
  int prefix_;
  error_t error_;
};
