#include "ipv4lib/ipv4host.h"

#include <algorithm>

namespace {

// Network texts longer than this are cut before reading.
constexpr std::size_t kMaxNetworkText = 31;

bool is_space(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads a prefix length written as a decimal number in floating-point notation
// (leading blanks, a sign and a decimal point allowed) that must fill the whole
// text. The value truncated toward zero must be 1-32. Locale-independent, so a
// decimal comma in the user's locale never changes what is accepted.
bool parse_prefix(std::string_view s, int* out) noexcept {
  std::size_t i = 0;
  while (i < s.size() && is_space(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int whole = 0;
  int digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    if (whole < 1000) whole = whole * 10 + (s[i] - '0');
    ++i;
    ++digits;
  }
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      ++i;
      ++digits;
    }
  }
  if (digits == 0 || i != s.size()) return false;
  if (negative || whole < 1 || whole > 32) return false;
  *out = whole;
  return true;
}

}  // namespace

ipv4host::ipv4host() noexcept
    : analysed_address(0u), analysed_mask(0u), network(0u), address(0u), mask(0u), flags_(0) {}

ipv4host::ipv4host(std::string_view text) noexcept : ipv4host() {
  assign_text(text);
}

ipv4host::ipv4host(uint32_t address_value, uint32_t mask_value) noexcept : ipv4host() {
  address.assign_value(address_value);
  mask.assign_value(mask_value);
  analyse();
}

ipv4host& ipv4host::assign_text(std::string_view text) noexcept {
  text = text.substr(0, kMaxNetworkText);
  const std::size_t slash = text.find('/');
  if (slash != std::string_view::npos) {
    // The address is the first non-empty piece between slashes.
    std::string_view piece = text.substr(0, slash);
    for (std::size_t start = slash + 1; piece.empty() && start < text.size();) {
      const std::size_t end = std::min(text.find('/', start), text.size());
      piece = text.substr(start, end - start);
      start = end + 1;
    }
    address.assign_text(piece);  // an empty piece leaves the address invalid

    int prefix = 0;
    if (parse_prefix(text.substr(slash + 1, 2), &prefix))
      mask.assign_value(0xFFFFFFFFu << (32 - prefix));
  } else if (text.find(' ') != std::string_view::npos) {
    // Runs of blanks separate; the first piece is the address, the second the mask.
    std::string_view pieces[2];
    int found = 0;
    std::size_t i = 0;
    while (found < 2 && i < text.size()) {
      while (i < text.size() && text[i] == ' ') ++i;
      const std::size_t start = i;
      while (i < text.size() && text[i] != ' ') ++i;
      if (i > start) pieces[found++] = text.substr(start, i - start);
    }
    if (found > 0) address.assign_text(pieces[0]);
    if (found > 1) mask.assign_text(pieces[1]);
  }
  analyse();
  return *this;
}

void ipv4host::analyse() noexcept {
  // A wildcard (0.0.0.255) counts as a mask of its own for the mask readers,
  // never as the mask of a network: the address would lie outside the
  // network it is paired with.
  if (!address.is_valid() || !(mask.flags() & (ipv4::f_mask_only | ipv4::f_short_mask)) ||
      mask.is_wildcard()) {
    flags_ = 0;
    return;
  }
  // Both are valid here, so a plain copy equals assign() and skips reclassifying.
  analysed_address = address;
  analysed_mask = mask;
  const uint32_t net = address.value() & mask.value();
  network.assign_value(net);
  if (mask.is_all_ones()) {
    flags_ = f_valid | f_host_route;
    return;
  }
  uint32_t f = f_valid;
  if (!mask.is_mask31()) {
    if (net == address.value()) f |= f_network_address;
    if (net + mask.host_count() + 1u == address.value()) f |= f_broadcast_address;
  }
  if (!(f & (f_network_address | f_broadcast_address))) f |= f_host;
  flags_ = f;
}

std::string ipv4host::text() const {
  if (!is_valid()) return std::string();
  char buf[32];
  std::size_t n = address.text_to(buf);
  buf[n++] = ' ';
  n += mask.text_to(buf + n);
  return std::string(buf, n);
}

std::string ipv4host::network_text() const {
  return ipv4(network_value()).text();
}

uint32_t ipv4host::next_network_value() const noexcept {
  if (mask.is_all_ones()) return address.value() + 1u;
  if (mask.is_mask31()) return network_value() + mask.host_count();
  return network_value() + mask.host_count() + 2u;
}

std::string ipv4host::next_network_text() const {
  return ipv4(next_network_value()).text();
}

std::string ipv4host::broadcast_text() const {
  return ipv4(broadcast_value()).text();
}

bool ipv4host::contains(std::string_view text) const noexcept {
  const ipv4 other(text);
  return (other.value() & mask.value()) == network_value();
}

void ipv4host::widen_mask() noexcept {
  mask.assign_value(mask.value() << 1);
  analysed_mask.assign(mask);
}

void ipv4host::narrow_mask() noexcept {
  mask.assign_value((mask.value() >> 1) | 0x80000000u);
  analyse();
}
