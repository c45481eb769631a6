#include "ipv6lib/ipv6net.h"

namespace {

constexpr uint128 kAllOnes = ~uint128{0};
constexpr uint64_t kTen19 = 10000000000000000000ull;  // the largest power of ten in 64 bits

// Decimal digits of v, exact: nineteen digits at a time from 64-bit remainders.
std::string decimal_of(uint128 v) {
  char buf[40];
  char* const end = buf + sizeof buf;
  char* p = end;
  do {
    uint64_t chunk = static_cast<uint64_t>(v % kTen19);
    v /= kTen19;
    // Inner chunks keep their leading zeros; the leading chunk does not.
    for (int i = 0; i < 19 && (v || chunk); ++i) {
      *--p = static_cast<char>('0' + chunk % 10);
      chunk /= 10;
    }
  } while (v);
  if (p == end) *--p = '0';
  return std::string(p, static_cast<std::size_t>(end - p));
}

// Adds one to a decimal digit string.
void increment_decimal(std::string& s) {
  for (std::size_t i = s.size(); i-- > 0;) {
    if (s[i] != '9') {
      ++s[i];
      return;
    }
    s[i] = '0';
  }
  s.insert(s.begin(), '1');
}

// Reads digits of the given base into *out, allowing 2^128 itself (reported
// through *full). False when there are no digits, another byte or more.
bool read_digits(std::string_view s, unsigned base, uint128* out, bool* full) noexcept {
  if (s.empty()) return false;
  uint128 v = 0;
  bool over = false;  // the digits so far make 2^128
  for (const char ch : s) {
    unsigned d;
    if (ch >= '0' && ch <= '9') {
      d = static_cast<unsigned>(ch - '0');
    } else if (base == 16 && ch >= 'a' && ch <= 'f') {
      d = static_cast<unsigned>(ch - 'a' + 10);
    } else if (base == 16 && ch >= 'A' && ch <= 'F') {
      d = static_cast<unsigned>(ch - 'A' + 10);
    } else {
      return false;
    }
    if (over) return false;  // any digit after 2^128 goes past it
    if (v > (kAllOnes - d) / base) {
      // Past 2^128 - 1; only the last digit of 2^128 itself is still a count.
      over = base == 16 ? v == uint128{1} << 124 && d == 0 : v == (kAllOnes - 5) / 10 && d == 6;
      if (!over) return false;
      v = 0;
      continue;
    }
    v = v * base + d;
  }
  *out = v;
  *full = over;
  return true;
}

}  // namespace

ipv6count ipv6count::power_of_two(int n) noexcept {
  ipv6count c;
  if (n == 128)
    c.full_ = true;
  else if (n >= 0 && n < 128)
    c.value_ = uint128{1} << n;
  return c;
}

bool ipv6count::from_text(std::string_view text, ipv6count* out) noexcept {
  unsigned base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  uint128 v;
  bool full;
  if (!read_digits(text, base, &v, &full)) return false;
  out->value_ = v;
  out->full_ = full;
  return true;
}

int ipv6count::exponent() const noexcept {
  if (full_) return 128;
  if (value_ == 0 || (value_ & (value_ - 1)) != 0) return -1;
  const uint64_t high = static_cast<uint64_t>(value_ >> 64);
  const uint64_t low = static_cast<uint64_t>(value_);
  return high ? 64 + __builtin_ctzll(high) : __builtin_ctzll(low);
}

std::string ipv6count::decimal() const {
  if (!full_) return decimal_of(value_);
  std::string s = decimal_of(kAllOnes);
  increment_decimal(s);
  return s;
}

std::string ipv6count::power_text() const {
  const int n = exponent();
  return n < 0 ? std::string() : "2^" + std::to_string(n);
}

ipv6net::ipv6net() noexcept : address_(std::string_view()), prefix_(0), error_(e_address) {}

ipv6net::ipv6net(std::string_view text, int default_prefix) noexcept : ipv6net() {
  assign_text(text, default_prefix);
}

ipv6net::ipv6net(const ipv6& address, int prefix) noexcept
    : address_(address),
      prefix_(prefix),
      error_(!address.is_valid()          ? e_address
             : prefix < 0 || prefix > 128 ? e_prefix
                                          : e_none) {}

ipv6net& ipv6net::assign_text(std::string_view text, int default_prefix) noexcept {
  const std::size_t slash = text.find('/');
  address_.assign_text(text.substr(0, slash));
  prefix_ = default_prefix;
  if (!address_.is_valid()) {
    error_ = e_address;
    return *this;
  }
  if (slash != std::string_view::npos) {
    const std::string_view digits = text.substr(slash + 1);
    if (digits.empty() || digits.size() > 3) {
      error_ = e_prefix;
      return *this;
    }
    int p = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') {
        error_ = e_prefix;
        return *this;
      }
      p = p * 10 + (c - '0');
    }
    prefix_ = p;
  }
  error_ = prefix_ >= 0 && prefix_ <= 128 ? e_none : e_prefix;
  return *this;
}

uint128 ipv6net::host_mask() const noexcept {
  const int p = prefix();
  return p == 0 ? kAllOnes : (uint128{1} << (128 - p)) - 1;
}

ipv6 ipv6net::mask() const noexcept {
  return is_valid() ? ipv6(~host_mask()) : ipv6(std::string_view());
}

ipv6 ipv6net::network() const noexcept {
  return is_valid() ? ipv6(address_.value() & ~host_mask()) : ipv6(std::string_view());
}

ipv6 ipv6net::last() const noexcept {
  return is_valid() ? ipv6(address_.value() | host_mask()) : ipv6(std::string_view());
}

std::string ipv6net::cidr() const {
  if (!is_valid()) return std::string();
  return network().compressed() + "/" + std::to_string(prefix_);
}

std::string ipv6net::text() const {
  if (!is_valid()) return std::string();
  return address_.text() + "/" + std::to_string(prefix_);
}

ipv6count ipv6net::count() const noexcept {
  return is_valid() ? ipv6count::power_of_two(128 - prefix_) : ipv6count();
}

ipv6count ipv6net::subnet_count(int target) const noexcept {
  if (!is_valid() || target < prefix_ || target > 128) return ipv6count();
  return ipv6count::power_of_two(target - prefix_);
}

ipv6net ipv6net::subnet(int target, uint128 index) const noexcept {
  if (!is_valid() || target < prefix_ || target > 128) return ipv6net();
  const int bits = target - prefix_;
  if (bits < 128 && index >= (uint128{1} << bits)) return ipv6net();
  const uint128 base = network().value();
  // A /0 has no room for an index; only index 0 is left here for it.
  const uint128 offset = target == 0 ? 0 : index << (128 - target);
  return ipv6net(ipv6(base | offset), target);
}

bool ipv6net::has_next() const noexcept {
  return is_valid() && last().value() != kAllOnes;
}

ipv6net ipv6net::next() const noexcept {
  if (!has_next()) return ipv6net();
  return ipv6net(ipv6(last().value() + 1), prefix_);
}

bool ipv6net::has_previous() const noexcept {
  return is_valid() && network().value() != 0;
}

ipv6net ipv6net::previous() const noexcept {
  if (!has_previous()) return ipv6net();
  return ipv6net(ipv6((network().value() - 1) & ~host_mask()), prefix_);
}

std::vector<std::string> ipv6net::reverse_zones() const {
  std::vector<std::string> zones;
  if (!is_valid()) return zones;
  const int nibbles = (prefix_ + 3) / 4;
  const int spare = nibbles * 4 - prefix_;  // bits between the prefix and the nibble boundary
  const uint128 base = network().value();
  static constexpr char kDigits[] = "0123456789abcdef";
  for (unsigned k = 0; k < (1u << spare); ++k) {
    // With spare bits there is at least one nibble, so the shift stays below 128.
    const uint128 zone = spare ? base | (uint128{k} << (128 - nibbles * 4)) : base;
    std::string name;
    name.reserve(std::size_t(nibbles) * 2 + 8);
    for (int i = nibbles - 1; i >= 0; --i) {
      name += kDigits[static_cast<unsigned>(zone >> (124 - 4 * i)) & 0xF];
      name += '.';
    }
    name += "ip6.arpa";
    zones.push_back(std::move(name));
  }
  return zones;
}

bool ipv6net::contains(const ipv6& a) const noexcept {
  return is_valid() && a.is_valid() && ((a.value() ^ address_.value()) & ~host_mask()) == 0;
}

bool ipv6net::contains(const ipv6net& other) const noexcept {
  return other.is_valid() && other.prefix_ >= prefix() && contains(other.address_);
}
