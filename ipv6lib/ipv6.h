#pragma once
// One IPv6 address: a 128-bit value with an optional zone, its text forms and
// what the address itself tells about its scope, multicast group and interface.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Version of the IPv6 address library (ipv6, ipv6net, ipv6embedded, ipv6reserved).
inline constexpr const char ipv6lib_version[] = "1.0.0";

// Unsigned 128-bit integer (a GCC and Clang extension, hence the keyword that
// keeps -Wpedantic quiet).
__extension__ typedef unsigned __int128 uint128;

class ipv6 {
 public:
  // Classification bits of flags(). 0 means invalid (a failed read).
  enum : uint32_t {
    f_valid = 0x001,
    f_unspecified = 0x002,
    f_loopback = 0x004,
    f_multicast = 0x008,
    f_link_local = 0x010,
    f_unique_local = 0x020,
    f_ipv4_mapped = 0x040,
    f_global_unicast = 0x080,
    f_zone = 0x100,
  };

  // Longest zone kept after '%'.
  static constexpr std::size_t kMaxZone = 31;
  // Buffer size text_to() needs: 39 characters of address, '%', the zone and a NUL.
  static constexpr std::size_t kTextSize = 72;

  // ::, valid.
  ipv6() noexcept;
  // Reads text as assign_text() does; an unreadable text gives an invalid object.
  explicit ipv6(std::string_view text) noexcept;
  // Stores the value (host order: the first group in bits 127-112), no zone.
  explicit ipv6(uint128 value) noexcept;
  // Stores high:low (high holds groups 1-4), no zone.
  ipv6(uint64_t high, uint64_t low) noexcept;

  // Reads the text forms of RFC 4291 section 2.2: eight groups of one to four
  // hex digits, one "::" for a run of zero groups, a dotted IPv4 tail in place
  // of the last two groups; any letter case; then an optional "%zone" (1-31
  // printable ASCII characters other than '%' and '/'). Nothing else, no blanks.
  ipv6& assign_text(std::string_view text) noexcept;
  // Stores the value and drops the zone.
  ipv6& assign_value(uint128 value) noexcept;

  // Whether the last read succeeded (or a value was stored).
  bool is_valid() const noexcept { return flags_ & f_valid; }
  // The value in host order; 0 when invalid.
  uint128 value() const noexcept { return flags_ ? value_ : 0; }
  // Groups 1-4 as one number; 0 when invalid.
  uint64_t high() const noexcept { return static_cast<uint64_t>(value() >> 64); }
  // Groups 5-8 as one number; 0 when invalid.
  uint64_t low() const noexcept { return static_cast<uint64_t>(value()); }
  // Group i (0-7, 0 the first); 0 when invalid.
  uint16_t group(int i) const noexcept {
    return static_cast<uint16_t>(value() >> (16 * (7 - (i & 7))));
  }
  // The zone after '%' as read, without the '%'; "" when none.
  std::string_view zone() const noexcept { return {zone_, zone_length_}; }
  // The classification word (the f_* bits); 0 when invalid.
  uint32_t flags() const noexcept { return flags_; }

  // :: (RFC 4291 2.5.2).
  bool is_unspecified() const noexcept { return flags_ & f_unspecified; }
  // ::1 (RFC 4291 2.5.3).
  bool is_loopback() const noexcept { return flags_ & f_loopback; }
  // ff00::/8 (RFC 4291 2.7).
  bool is_multicast() const noexcept { return flags_ & f_multicast; }
  // Link-local unicast fe80::/10 (RFC 4291 2.5.6).
  bool is_link_local() const noexcept { return flags_ & f_link_local; }
  // Unique local fc00::/7 (RFC 4193).
  bool is_unique_local() const noexcept { return flags_ & f_unique_local; }
  // IPv4-mapped ::ffff:0:0/96 (RFC 4291 2.5.5.2).
  bool is_ipv4_mapped() const noexcept { return flags_ & f_ipv4_mapped; }
  // Global unicast space 2000::/3 (RFC 4291 2.4, RFC 3587).
  bool is_global_unicast() const noexcept { return flags_ & f_global_unicast; }
  // Whether a zone was read.
  bool has_zone() const noexcept { return flags_ & f_zone; }

  // The RFC 5952 form followed by "%zone" when there is a zone; "" when invalid.
  std::string text() const;
  // Writes text() and a NUL into buf (at least kTextSize bytes); returns the
  // length (0 and "" when invalid). Allocation-free.
  std::size_t text_to(char* buf) const noexcept;
  // RFC 5952 form without the zone: lower case, no leading zeros, the longest
  // run of two or more zero groups as "::" (the first of equal runs). Where
  // inet_ntop writes a dotted tail, so does this: ::ffff:a.b.c.d for
  // ::ffff:0:0/96, and ::a.b.c.d when the first six groups are zero and the
  // seventh is not. "" when invalid.
  std::string compressed() const;
  // All eight groups of four digits, lower case, no zone; "" when invalid.
  std::string expanded() const;
  // 128 binary digits in eight groups of 16 separated by ':'; "" when invalid.
  std::string binary() const;
  // The reverse DNS name: 32 nibbles, last first, then "ip6.arpa" (RFC 3596); "" when invalid.
  std::string ptr_name() const;

  // Scope of the address (RFC 4007, RFC 4291 2.7, RFC 7346): the scope field of
  // a multicast address; 2 (link-local) for fe80::/10 and ::1; 5 (site-local)
  // for the deprecated fec0::/10 (RFC 3879); 14 (global) for any other unicast
  // address; -1 for :: and when invalid.
  int scope() const noexcept;
  // Name of a scope value: "Interface-Local", "Link-Local", "Realm-Local",
  // "Admin-Local", "Site-Local", "Organization-Local", "Global", "Reserved"
  // for 0 and 15, "Unassigned" for the rest; "" outside 0-15.
  static std::string scope_name(int scope);
  // The four flag bits 0RPT of a multicast address (RFC 4291 2.7, RFC 3306,
  // RFC 3956); -1 when not multicast.
  int multicast_flags() const noexcept;
  // The flag bits in words: "permanent" or "transient", then ", prefix-based"
  // and ", embedded RP" when set; "" outside 0-15.
  static std::string multicast_flags_text(int flags);
  // The solicited-node multicast group ff02::1:ffXX:XXXX of the address
  // (RFC 4291 2.7.1), no zone; invalid when this is.
  ipv6 solicited_node() const noexcept;
  // The Ethernet MAC of a multicast group: 33:33 and the last 32 bits (RFC 2464
  // section 7); none when not multicast.
  std::optional<uint64_t> multicast_mac() const noexcept;
  // The interface identifier: the last 64 bits (RFC 4291 2.5.1); 0 when invalid.
  uint64_t interface_id() const noexcept { return low(); }
  // The interface identifier as four groups of four hex digits; "" when invalid.
  std::string interface_id_text() const;
  // The MAC inside a modified EUI-64 interface identifier (ff:fe in the middle,
  // universal/local bit flipped back; RFC 4291 appendix A); none otherwise.
  std::optional<uint64_t> eui64_mac() const noexcept;
  // The address made of the first 64 bits of prefix and the modified EUI-64
  // interface identifier of a 48-bit MAC (RFC 4291 appendix A, RFC 2464
  // section 4); invalid when prefix is invalid or mac has more than 48 bits.
  static ipv6 from_mac(const ipv6& prefix, uint64_t mac) noexcept;

  // Same validity, value and zone.
  bool operator==(const ipv6& other) const noexcept;
  bool operator!=(const ipv6& other) const noexcept { return !(*this == other); }

  // The classification of a value, as stored by assign_value(v).
  static uint32_t classify(uint128 v) noexcept;
  // "aa:bb:cc:dd:ee:ff" for the low 48 bits of mac.
  static std::string mac_text(uint64_t mac);

 private:
  uint128 value_;
  uint32_t flags_;
  uint8_t zone_length_;
  char zone_[kMaxZone];
};
