#include "ipv4lib/ipv4mac.h"

#include <cstdio>

namespace {

constexpr std::size_t kMaxMacText = 17;
constexpr uint64_t kMax48 = 0xFFFFFFFFFFFFull;

int hex_digit(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool is_separator(char c) noexcept {
  return c == '-' || c == ':' || c == '.';
}

uint32_t classify(uint64_t v) noexcept {
  if (v > kMax48) return 0;
  if (v == 0) return ipv4mac::f_valid | ipv4mac::f_zero;
  // 01-00-5E-00-00-00 ... 01-00-5E-7F-FF-FF: the top 25 bits are 01-00-5E and a clear bit.
  if ((v >> 23) == (0x01005E000000ull >> 23)) return ipv4mac::f_valid | ipv4mac::f_ipv4_multicast;
  return ipv4mac::f_valid;
}

// Reads six groups of up to 0xFF or three groups of up to 0xFFFF, separated by
// any mix of "-", ":" and "."; a sixth separator ends the text.
bool parse_mac(std::string_view s, uint64_t* out) noexcept {
  if (s.size() > kMaxMacText) return false;
  for (char c : s)
    if (hex_digit(c) < 0 && !is_separator(c)) return false;

  uint32_t groups[6] = {};
  int separators = 0;
  int digits = 0;
  for (char c : s) {
    if (is_separator(c)) {
      if (digits == 0) return false;  // empty group
      if (++separators == 6) break;
      digits = 0;
    } else {
      uint32_t& g = groups[separators];
      // Saturate: any value past 0xFFFF is rejected below anyway.
      g = g > 0xFFFFu ? g : (g << 4) | static_cast<uint32_t>(hex_digit(c));
      ++digits;
    }
  }
  if (separators < 6 && digits == 0) return false;  // empty last group
  if (separators == 6) separators = 5;

  uint64_t v = 0;
  if (separators == 5) {
    for (uint32_t g : groups) {
      if (g > 0xFFu) return false;
      v = (v << 8) | g;
    }
  } else if (separators == 2) {
    for (int i = 0; i < 3; ++i) {
      if (groups[i] > 0xFFFFu) return false;
      v = (v << 16) | groups[i];
    }
  } else {
    return false;
  }
  *out = v;
  return true;
}

uint8_t reverse_octet(uint32_t b) noexcept {
  b = ((b & 0xF0u) >> 4) | ((b & 0x0Fu) << 4);
  b = ((b & 0xCCu) >> 2) | ((b & 0x33u) << 2);
  b = ((b & 0xAAu) >> 1) | ((b & 0x55u) << 1);
  return static_cast<uint8_t>(b);
}

uint32_t reverse_each_octet(uint32_t w) noexcept {
  uint32_t r = 0;
  for (int shift = 0; shift < 32; shift += 8)
    r |= uint32_t{reverse_octet((w >> shift) & 0xFFu)} << shift;
  return r;
}

}  // namespace

ipv4mac::ipv4mac() noexcept : low_(0), high_(0), flags_(classify(0)) {}

ipv4mac::ipv4mac(std::string_view text) noexcept : low_(0), high_(0), flags_(0) {
  uint64_t v = 0;
  if (!parse_mac(text, &v)) return;
  low_ = static_cast<uint32_t>(v);
  high_ = static_cast<uint32_t>(v >> 32);
  flags_ = classify(v);
}

ipv4mac::ipv4mac(uint32_t low, uint32_t high) noexcept
    : low_(low), high_(high), flags_(classify((uint64_t{high} << 32) | low)) {}

uint64_t ipv4mac::value() const noexcept {
  return flags_ ? (uint64_t{high_} << 32) | low_ : 0;
}

std::string ipv4mac::text(int format) const {
  if (!flags_ || format > 2) return std::string();
  char buf[24];
  int n;
  if (format == 2) {
    n = std::snprintf(buf, sizeof buf, "%04x.%04x.%04x", static_cast<unsigned>(high_ & 0xFFFFu),
                      static_cast<unsigned>(low_ >> 16), static_cast<unsigned>(low_ & 0xFFFFu));
  } else {
    const char sep = format == 1 ? '-' : ':';
    n = std::snprintf(
        buf, sizeof buf, "%02x%c%02x%c%02x%c%02x%c%02x%c%02x",
        static_cast<unsigned>((high_ >> 8) & 0xFFu), sep, static_cast<unsigned>(high_ & 0xFFu), sep,
        static_cast<unsigned>(low_ >> 24), sep, static_cast<unsigned>((low_ >> 16) & 0xFFu), sep,
        static_cast<unsigned>((low_ >> 8) & 0xFFu), sep, static_cast<unsigned>(low_ & 0xFFu));
  }
  return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

void ipv4mac::reverse_bits() noexcept {
  low_ = reverse_each_octet(low_);
  high_ = reverse_each_octet(high_);
}
