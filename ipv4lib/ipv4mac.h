#pragma once
// A 48-bit Ethernet MAC address: three text notations, the IPv4 multicast
// block test and per-octet bit reversal.

#include <cstdint>
#include <string>
#include <string_view>

class ipv4mac {
 public:
  enum : uint32_t {
    f_valid = 0x1,
    f_zero = 0x2,
    f_ipv4_multicast = 0x4,
  };

  // 00-00-00-00-00-00.
  ipv4mac() noexcept;
  // Reads "aa-bb-cc-dd-ee-ff", "aa:bb:..." or "aabb.ccdd.eeff" (separators may be mixed).
  explicit ipv4mac(std::string_view text) noexcept;
  // low: octets 3-6; high: octets 1-2 (a high above 0xFFFF makes the object invalid).
  ipv4mac(uint32_t low, uint32_t high) noexcept;

  // The classification word (the f_* bits); 0 when invalid.
  uint32_t flags() const noexcept { return flags_; }
  bool is_valid() const noexcept { return flags_ & f_valid; }
  // 00-00-00-00-00-00.
  bool is_zero() const noexcept { return flags_ & f_zero; }
  // 01-00-5E-00-00-00 ... 01-00-5E-7F-FF-FF.
  bool is_ipv4_multicast() const noexcept { return flags_ & f_ipv4_multicast; }
  // Octets 3-6, octet 3 in bits 31-24 (as stored, also when invalid).
  uint32_t low() const noexcept { return low_; }
  // Octets 1-2 in bits 15-0 (as stored, also when invalid).
  uint32_t high() const noexcept { return high_; }
  // The 48-bit value; 0 when invalid.
  uint64_t value() const noexcept;
  // 0 "aa:bb:cc:dd:ee:ff", 1 "aa-bb-cc-dd-ee-ff", 2 "aabb.ccdd.eeff"; "" when
  // invalid or format > 2 (other formats print as 0).
  std::string text(int format) const;
  // Reverses the bit order inside each octet; flags are kept as they were.
  void reverse_bits() noexcept;

 private:
  uint32_t low_;
  uint32_t high_;
  uint32_t flags_;
};
