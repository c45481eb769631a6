#include "ipv4lib/ipv4.h"

#include <cstring>

namespace {

constexpr uint32_t kAllOnes = 0xFFFFFFFFu;
constexpr uint32_t kMask31 = 0xFFFFFFFEu;

// Number of leading one bits of v, counted from bit 31.
int leading_ones(uint32_t v) noexcept {
  return v == kAllOnes ? 32 : __builtin_clz(~v);
}

// Reads "a.b.c.d" into *out. Rules: 1-15 characters, last not ".", only digits
// and dots, exactly three dots, every part non-empty and at most 255. Read part
// by part: one branch per digit run instead of one per character kind.
bool parse_dotted(std::string_view s, uint32_t* out) noexcept {
  // "0.0.0.0" is the shortest text that can pass.
  if (s.size() < 7 || s.size() > 15) return false;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
  const unsigned char* const end = p + s.size();
  uint32_t result = 0;
  for (int k = 0;; ++k) {
    uint32_t digit = uint32_t{*p} - '0';
    if (digit > 9) return false;  // an empty part, or not a digit
    uint32_t part = digit;
    while (++p != end && (digit = uint32_t{*p} - '0') <= 9) {
      part = part * 10 + digit;
      if (part > 255) return false;  // at most 255 before each step, so no overflow
    }
    result = (result << 8) | part;
    if (k == 3) break;
    if (p == end || *p != '.' || ++p == end) return false;
  }
  if (p != end) return false;
  *out = result;
  return true;
}

// Address class bits by first octet.
struct ClassTable {
  uint32_t bits[256];
  constexpr ClassTable() : bits() {
    for (uint32_t octet = 0; octet < 256; ++octet)
      bits[octet] = ipv4::f_address | (octet >= 240   ? ipv4::f_class_e
                                       : octet >= 224 ? ipv4::f_class_d
                                       : octet >= 192 ? ipv4::f_class_c
                                       : octet >= 128 ? ipv4::f_class_b
                                                      : ipv4::f_class_a);
  }
};
constexpr ClassTable kClassByFirstOctet;

// Decimal digits of every octet, NUL-padded to four bytes.
struct OctetTexts {
  char text[256][4];
  unsigned char length[256];
  constexpr OctetTexts() : text(), length() {
    for (unsigned octet = 0; octet < 256; ++octet) {
      unsigned char n = 0;
      if (octet >= 100) text[octet][n++] = static_cast<char>('0' + octet / 100);
      if (octet >= 10) text[octet][n++] = static_cast<char>('0' + octet / 10 % 10);
      text[octet][n++] = static_cast<char>('0' + octet % 10);
      length[octet] = n;
    }
  }
};
constexpr OctetTexts kOctetTexts;

}  // namespace

ipv4::ipv4() noexcept : flags_(classify(0)), value_(0) {}

ipv4::ipv4(std::string_view text) noexcept : flags_(0), value_(0) {
  assign_text(text);
}

ipv4::ipv4(uint32_t value) noexcept : flags_(classify(value)), value_(value) {}

ipv4& ipv4::assign_text(std::string_view text) noexcept {
  uint32_t v = 0;
  if (parse_dotted(text, &v)) {
    value_ = v;
    flags_ = classify(v);
  } else {
    value_ = 0;
    flags_ = 0;
  }
  return *this;
}

ipv4& ipv4::assign_value(uint32_t value) noexcept {
  value_ = value;
  flags_ = classify(value);
  return *this;
}

ipv4& ipv4::assign(const ipv4& other) noexcept {
  if (&other != this) assign_value(other.value());
  return *this;
}

ipv4& ipv4::add(int32_t n) noexcept {
  // Unsigned arithmetic wraps modulo 2^32; an invalid object counts as 0.
  return assign_value(value() + static_cast<uint32_t>(n));
}

uint32_t ipv4::post_increment() noexcept {
  const uint32_t old = value();
  assign_value(old + 1u);
  return old;
}

std::size_t ipv4::text_to(char* buf) const noexcept {
  const std::size_t n = flags_ ? dotted_to(value_, buf) : 0;
  buf[n] = '\0';
  return n;
}

std::size_t ipv4::dotted_to(uint32_t value, char* buf) noexcept {
  // Four bytes per octet are copied and the pointer moves by the digits only;
  // the last copy ends at buf[15] at the latest.
  char* p = buf;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const unsigned octet = (value >> shift) & 0xFFu;
    std::memcpy(p, kOctetTexts.text[octet], 4);
    p += kOctetTexts.length[octet];
    if (shift) *p++ = '.';
  }
  return static_cast<std::size_t>(p - buf);
}

std::string ipv4::text() const {
  char buf[16];
  const std::size_t n = text_to(buf);
  return std::string(buf, n);
}

std::size_t ipv4::text_mapped_to(char* buf) const noexcept {
  if (!flags_) {
    buf[0] = '\0';
    return 0;
  }
  static const char kHex[] = "0123456789ABCDEF";
  char* p = buf;
  for (const char c : {':', ':', 'F', 'F', 'F', 'F'}) *p++ = c;
  for (const uint32_t half : {value_ >> 16, value_ & 0xFFFFu}) {
    *p++ = ':';
    // Upper-case digits without leading zeros, "0" for zero.
    int shift = 12;
    while (shift > 0 && ((half >> shift) & 0xFu) == 0) shift -= 4;
    for (; shift >= 0; shift -= 4) *p++ = kHex[(half >> shift) & 0xFu];
  }
  *p = '\0';
  return static_cast<std::size_t>(p - buf);
}

std::string ipv4::text_mapped() const {
  char buf[24];
  return std::string(buf, text_mapped_to(buf));
}

int ipv4::prefix_length() const noexcept {
  if (flags_ & f_all_ones) return 32;
  if (flags_ & f_mask31) return 31;
  if ((flags_ & f_wildcard) && value_ == 1u) return 31;
  if (!(flags_ & (f_mask | f_wildcard | f_short_mask))) return 0;
  return leading_ones((flags_ & f_wildcard) ? ~value_ : value_);
}

uint32_t ipv4::host_count() const noexcept {
  if (!(flags_ & f_valid) || !(flags_ & (f_mask_only | f_short_mask))) return 0;
  if (flags_ & f_all_ones) return 1;
  const int p = prefix_length();
  if (p == 31) return 2;
  if (p < 1) return 0;  // not reachable for a mask or wildcard; keeps the shift defined
  return (uint32_t{1} << (32 - p)) - 2u;
}

uint32_t ipv4::classify(uint32_t v) noexcept {
  if (v == 0) return f_valid | f_zero;
  if (v == kAllOnes) return f_valid | f_mask | f_all_ones | f_mask_only;
  if (v == kMask31) return f_valid | f_mask | f_mask_only | f_mask31;

  // Random addresses take none of the rare branches below, so they stay predictable.
  const uint32_t first_octet = v >> 24;
  uint32_t f = f_valid;
  const uint32_t inv = ~v;
  if ((inv & (inv + 1u)) == 0) {
    // Ones then zeros (v is neither 0 nor all ones, so bit 31 is set): a mask.
    if (first_octet == 255) return f | f_mask | f_mask_only;
    f |= f_short_mask;
  } else if ((v & (v + 1u)) == 0) {
    // Zeros then ones (so odd with bit 31 clear): a wildcard.
    f |= f_wildcard;
    if (first_octet == 0) return f | f_mask_only;
    f |= f_short_mask;
  }

  f |= kClassByFirstOctet.bits[first_octet];
  if (first_octet == 127) f |= f_loopback;
  if ((v >> 16) == 0xA9FEu) f |= f_link_local;
  if (first_octet == 10 || (v >> 20) == 0xAC1u || (v >> 16) == 0xC0A8u) f |= f_private;
  return f;
}
