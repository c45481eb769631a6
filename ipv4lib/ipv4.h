#pragma once
// One IPv4 quantity: a host address, a subnet mask or a wildcard mask, with a
// classification word that is recomputed after every change.

#include <cstdint>
#include <string>
#include <string_view>

// Version of the address library (ipv4, ipv4host, ipv4mac), shown in the About box.
inline constexpr const char ipv4lib_version[] = "2.2.5";

class ipv4 {
 public:
  // Classification bits of flags(). 0 means invalid (a failed parse).
  enum : uint32_t {
    f_valid = 0x00001,
    f_zero = 0x00002,
    f_address = 0x00004,
    f_mask = 0x00008,
    f_wildcard = 0x00010,
    f_all_ones = 0x00020,
    f_mask_only = 0x00040,
    f_loopback = 0x00080,
    f_class_a = 0x00100,
    f_class_b = 0x00200,
    f_class_c = 0x00400,
    f_class_d = 0x00800,
    f_class_e = 0x01000,
    f_link_local = 0x02000,
    f_private = 0x04000,
    f_mask31 = 0x08000,
    f_short_mask = 0x10000,
  };

  // 0.0.0.0, valid and zero (flags 0x00003).
  ipv4() noexcept;
  // Parses dotted text; an unreadable text gives an invalid object.
  explicit ipv4(std::string_view text) noexcept;
  // Stores the value (host order: first octet in bits 31-24) and classifies it.
  explicit ipv4(uint32_t value) noexcept;

  // Parses dotted text "a.b.c.d" (1-15 characters, digits and exactly three
  // dots, each part 0-255, leading zeros read as decimal).
  ipv4& assign_text(std::string_view text) noexcept;
  ipv4& assign_value(uint32_t value) noexcept;
  // Copies other's value (0 when other is invalid); the result is always valid.
  ipv4& assign(const ipv4& other) noexcept;
  // Adds n modulo 2^32.
  ipv4& add(int32_t n) noexcept;
  // Returns the value, then stores value + 1 modulo 2^32.
  uint32_t post_increment() noexcept;

  // The value in host order; 0 when invalid.
  uint32_t value() const noexcept { return flags_ ? value_ : 0; }
  // The classification word (the f_* bits); 0 when invalid.
  uint32_t flags() const noexcept { return flags_; }

  // "a.b.c.d"; "" when invalid.
  std::string text() const;
  // Writes "a.b.c.d" and a terminating NUL into buf (at least 16 bytes);
  // returns the length (0 and "" when invalid). Allocation-free.
  std::size_t text_to(char* buf) const noexcept;
  // Writes value as "a.b.c.d" (no NUL) into buf, which must have room for 16
  // bytes; returns the length. For callers that print many values.
  static std::size_t dotted_to(uint32_t value, char* buf) noexcept;
  // IPv4-mapped IPv6 form "::FFFF:%X:%X"; "" when invalid.
  std::string text_mapped() const;
  // Writes the mapped form and a terminating NUL into buf (at least 17 bytes);
  // returns the length (0 and "" when invalid). Allocation-free.
  std::size_t text_mapped_to(char* buf) const noexcept;
  // Prefix length when used as a mask or wildcard; 0 when neither.
  int prefix_length() const noexcept;
  // Usable hosts when used as a mask: 1 for /32, 2 for /31, else 2^(32-p) - 2.
  uint32_t host_count() const noexcept;

  // The classification of a value, as stored after assign_value(v).
  static uint32_t classify(uint32_t v) noexcept;

  bool is_valid() const noexcept { return flags_ & f_valid; }
  bool is_zero() const noexcept { return flags_ & f_zero; }
  bool is_address() const noexcept { return flags_ & f_address; }
  // Contiguous mask with first octet 255 (prefix 8-32).
  bool is_mask() const noexcept { return flags_ & f_mask; }
  // Contiguous wildcard mask: zeros then ones, odd, top bit clear.
  bool is_wildcard() const noexcept { return flags_ & f_wildcard; }
  bool is_all_ones() const noexcept { return flags_ & f_all_ones; }
  // Valid, not zero and not an address: a pure mask or wildcard.
  bool is_mask_only() const noexcept { return flags_ & f_mask_only; }
  bool is_loopback() const noexcept { return flags_ & f_loopback; }
  bool is_class_a() const noexcept { return flags_ & f_class_a; }
  bool is_class_b() const noexcept { return flags_ & f_class_b; }
  bool is_class_c() const noexcept { return flags_ & f_class_c; }
  bool is_class_d() const noexcept { return flags_ & f_class_d; }
  bool is_class_e() const noexcept { return flags_ & f_class_e; }
  // 169.254.0.0/16 (RFC 3927).
  bool is_link_local() const noexcept { return flags_ & f_link_local; }
  // 10/8, 172.16/12, 192.168/16 (RFC 1918).
  bool is_private() const noexcept { return flags_ & f_private; }
  // 255.255.255.254 (RFC 3021 point-to-point mask).
  bool is_mask31() const noexcept { return flags_ & f_mask31; }
  // Mask of prefix 1-7, or wildcard with first octet 1-127; also an address.
  bool is_short_mask() const noexcept { return flags_ & f_short_mask; }

 private:
  uint32_t flags_;
  uint32_t value_;
};
