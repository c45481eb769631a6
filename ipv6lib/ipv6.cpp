#include "ipv6lib/ipv6.h"

#include <cstring>

namespace {

constexpr uint8_t kNotHex = 0xFF;

// Value of each byte as a hex digit, kNotHex for every other byte.
struct HexTable {
  uint8_t value[256];
  constexpr HexTable() : value() {
    for (int c = 0; c < 256; ++c) value[c] = kNotHex;
    for (int c = '0'; c <= '9'; ++c) value[c] = static_cast<uint8_t>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c) value[c] = static_cast<uint8_t>(c - 'a' + 10);
    for (int c = 'A'; c <= 'F'; ++c) value[c] = static_cast<uint8_t>(c - 'A' + 10);
  }
};
constexpr HexTable kHex;

constexpr char kDigits[] = "0123456789abcdef";

// Reads the dotted IPv4 tail "a.b.c.d" that runs to end. Each part is 0-255
// without leading zeros, as inet_pton reads it inside an IPv6 text.
bool parse_dotted_tail(const unsigned char* p, const unsigned char* end, uint32_t* out) noexcept {
  uint32_t result = 0;
  for (int k = 0;; ++k) {
    if (p == end) return false;
    uint32_t part = uint32_t{*p} - '0';
    if (part > 9) return false;
    ++p;
    uint32_t digit;
    while (p != end && (digit = uint32_t{*p} - '0') <= 9) {
      if (part == 0) return false;  // a leading zero
      part = part * 10 + digit;
      if (part > 255) return false;
      ++p;
    }
    result = (result << 8) | part;
    if (k == 3) break;
    if (p == end || *p != '.') return false;
    ++p;
  }
  if (p != end) return false;
  *out = result;
  return true;
}

// Reads the address part (no zone) into *out. One pass: groups go into words
// in order; the groups after "::" are moved to the end at the close.
bool parse_address(const unsigned char* p, const unsigned char* end, uint128* out) noexcept {
  if (p == end) return false;
  uint16_t words[8] = {};
  int count = 0;
  int gap = -1;  // index of the first group after "::"
  if (*p == ':') {
    if (++p == end || *p != ':') return false;
    gap = 0;
    if (++p == end) {
      *out = 0;
      return true;
    }
  }
  for (;;) {
    if (count == 8) return false;
    const unsigned char* const start = p;
    uint32_t group = 0;
    uint32_t digit;
    while (p != end && (digit = kHex.value[*p]) != kNotHex) {
      if (p - start == 4) return false;  // a fifth digit
      group = (group << 4) | digit;
      ++p;
    }
    if (p == start) return false;  // an empty group: ":::", a stray ':' or another byte
    if (p == end) {
      words[count++] = static_cast<uint16_t>(group);
      break;
    }
    if (*p == '.') {
      uint32_t v4;
      if (count > 6 || !parse_dotted_tail(start, end, &v4)) return false;
      words[count++] = static_cast<uint16_t>(v4 >> 16);
      words[count++] = static_cast<uint16_t>(v4);
      break;
    }
    if (*p != ':') return false;
    words[count++] = static_cast<uint16_t>(group);
    if (++p == end) return false;  // a trailing single ':'
    if (*p == ':') {
      if (gap >= 0) return false;  // a second "::"
      gap = count;
      if (++p == end) break;
    }
  }
  if (gap < 0) {
    if (count != 8) return false;
  } else {
    // "::" stands for at least one group.
    if (count == 8) return false;
    const int moved = count - gap;
    std::memmove(words + 8 - moved, words + gap, sizeof(uint16_t) * std::size_t(moved));
    std::memset(words + gap, 0, sizeof(uint16_t) * std::size_t(8 - count));
  }
  const uint64_t high = (uint64_t{words[0]} << 48) | (uint64_t{words[1]} << 32) |
                        (uint64_t{words[2]} << 16) | words[3];
  const uint64_t low = (uint64_t{words[4]} << 48) | (uint64_t{words[5]} << 32) |
                       (uint64_t{words[6]} << 16) | words[7];
  *out = (uint128{high} << 64) | low;
  return true;
}

bool valid_zone(std::string_view zone) noexcept {
  if (zone.empty() || zone.size() > ipv6::kMaxZone) return false;
  for (const char ch : zone) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c <= ' ' || c > '~' || c == '%' || c == '/') return false;
  }
  return true;
}

// Writes group g in hex without leading zeros.
char* put_group(char* p, unsigned g) noexcept {
  if (g >= 0x1000) *p++ = kDigits[g >> 12];
  if (g >= 0x100) *p++ = kDigits[(g >> 8) & 0xF];
  if (g >= 0x10) *p++ = kDigits[(g >> 4) & 0xF];
  *p++ = kDigits[g & 0xF];
  return p;
}

char* put_octet(char* p, unsigned octet) noexcept {
  if (octet >= 100) *p++ = static_cast<char>('0' + octet / 100);
  if (octet >= 10) *p++ = static_cast<char>('0' + octet / 10 % 10);
  *p++ = static_cast<char>('0' + octet % 10);
  return p;
}

char* put_dotted(char* p, uint32_t v) noexcept {
  for (int shift = 24; shift >= 0; shift -= 8) {
    p = put_octet(p, (v >> shift) & 0xFFu);
    if (shift) *p++ = '.';
  }
  return p;
}

// The RFC 5952 form of v into p; returns the end.
char* put_compressed(char* p, uint128 v) noexcept {
  unsigned words[8];
  for (int i = 0; i < 8; ++i) words[i] = static_cast<unsigned>(v >> (16 * (7 - i))) & 0xFFFFu;
  // The longest run of zero groups, the first on a tie; one group is no run.
  int best = -1, best_len = 1;
  for (int i = 0; i < 8;) {
    if (words[i]) {
      ++i;
      continue;
    }
    int j = i;
    while (j < 8 && words[j] == 0) ++j;
    if (j - i > best_len) {
      best = i;
      best_len = j - i;
    }
    i = j;
  }
  // inet_ntop's mixed forms: ::a.b.c.d and ::ffff:a.b.c.d.
  if (best == 0 && (best_len == 6 || (best_len == 5 && words[5] == 0xFFFF))) {
    *p++ = ':';
    *p++ = ':';
    if (best_len == 5) {
      std::memcpy(p, "ffff:", 5);
      p += 5;
    }
    return put_dotted(p, static_cast<uint32_t>(v));
  }
  for (int i = 0; i < 8; ++i) {
    if (i == best) {
      *p++ = ':';
      if (i == 0) *p++ = ':';
      i += best_len - 1;
      continue;
    }
    p = put_group(p, words[i]);
    if (i < 7) *p++ = ':';
  }
  return p;
}

}  // namespace

ipv6::ipv6() noexcept : value_(0), flags_(classify(0)), zone_length_(0), zone_() {}

ipv6::ipv6(std::string_view text) noexcept : value_(0), flags_(0), zone_length_(0), zone_() {
  assign_text(text);
}

ipv6::ipv6(uint128 value) noexcept
    : value_(value), flags_(classify(value)), zone_length_(0), zone_() {}

ipv6::ipv6(uint64_t high, uint64_t low) noexcept : ipv6((uint128{high} << 64) | low) {}

ipv6& ipv6::assign_text(std::string_view text) noexcept {
  const unsigned char* const begin = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t percent = text.find('%');
  const std::size_t length = percent == std::string_view::npos ? text.size() : percent;
  uint128 v = 0;
  bool ok = parse_address(begin, begin + length, &v);
  std::string_view zone;
  if (ok && percent != std::string_view::npos) {
    zone = text.substr(percent + 1);
    ok = valid_zone(zone);
  }
  if (!ok) {
    value_ = 0;
    flags_ = 0;
    zone_length_ = 0;
    return *this;
  }
  value_ = v;
  flags_ = classify(v);
  zone_length_ = static_cast<uint8_t>(zone.size());
  if (!zone.empty()) {
    std::memcpy(zone_, zone.data(), zone.size());
    flags_ |= f_zone;
  }
  return *this;
}

ipv6& ipv6::assign_value(uint128 value) noexcept {
  value_ = value;
  flags_ = classify(value);
  zone_length_ = 0;
  return *this;
}

uint32_t ipv6::classify(uint128 v) noexcept {
  const uint64_t high = static_cast<uint64_t>(v >> 64);
  const uint64_t low = static_cast<uint64_t>(v);
  uint32_t f = f_valid;
  if (high == 0) {
    if (low == 0) f |= f_unspecified;
    if (low == 1) f |= f_loopback;
    if ((low >> 32) == 0xFFFF) f |= f_ipv4_mapped;
    return f;
  }
  const unsigned top = static_cast<unsigned>(high >> 48);
  if ((top >> 8) == 0xFF) f |= f_multicast;
  if ((top & 0xFFC0) == 0xFE80) f |= f_link_local;
  if ((top & 0xFE00) == 0xFC00) f |= f_unique_local;
  if ((top & 0xE000) == 0x2000) f |= f_global_unicast;
  return f;
}

std::size_t ipv6::text_to(char* buf) const noexcept {
  if (!flags_) {
    buf[0] = '\0';
    return 0;
  }
  char* p = put_compressed(buf, value_);
  if (zone_length_) {
    *p++ = '%';
    std::memcpy(p, zone_, zone_length_);
    p += zone_length_;
  }
  *p = '\0';
  return static_cast<std::size_t>(p - buf);
}

std::string ipv6::text() const {
  char buf[kTextSize];
  const std::size_t n = text_to(buf);
  return std::string(buf, n);
}

std::string ipv6::compressed() const {
  if (!flags_) return std::string();
  char buf[kTextSize];
  return std::string(buf, static_cast<std::size_t>(put_compressed(buf, value_) - buf));
}

std::string ipv6::expanded() const {
  if (!flags_) return std::string();
  std::string s(39, ':');
  for (int i = 0; i < 32; ++i)
    s[std::size_t(i + i / 4)] = kDigits[static_cast<unsigned>(value_ >> (124 - 4 * i)) & 0xF];
  return s;
}

std::string ipv6::binary() const {
  if (!flags_) return std::string();
  std::string s(135, ':');
  for (int i = 0; i < 128; ++i)
    s[std::size_t(i + i / 16)] =
        static_cast<char>('0' + (static_cast<unsigned>(value_ >> (127 - i)) & 1));
  return s;
}

std::string ipv6::ptr_name() const {
  if (!flags_) return std::string();
  std::string s;
  s.reserve(72);
  for (int i = 0; i < 32; ++i) {
    s += kDigits[static_cast<unsigned>(value_ >> (4 * i)) & 0xF];
    s += '.';
  }
  s += "ip6.arpa";
  return s;
}

int ipv6::scope() const noexcept {
  if (!flags_ || (flags_ & f_unspecified)) return -1;
  if (flags_ & f_multicast) return static_cast<int>(value_ >> 112) & 0xF;
  if (flags_ & (f_link_local | f_loopback)) return 2;
  if ((value_ >> 118) == (0xFEC0 >> 6)) return 5;
  return 14;
}

std::string ipv6::scope_name(int scope) {
  switch (scope) {
    case 0x1:
      return "Interface-Local";
    case 0x2:
      return "Link-Local";
    case 0x3:
      return "Realm-Local";
    case 0x4:
      return "Admin-Local";
    case 0x5:
      return "Site-Local";
    case 0x8:
      return "Organization-Local";
    case 0xE:
      return "Global";
    case 0x0:
    case 0xF:
      return "Reserved";
    default:
      return scope > 0 && scope < 16 ? "Unassigned" : "";
  }
}

int ipv6::multicast_flags() const noexcept {
  if (!(flags_ & f_multicast)) return -1;
  return static_cast<int>(value_ >> 116) & 0xF;
}

std::string ipv6::multicast_flags_text(int flags) {
  if (flags < 0 || flags > 15) return std::string();
  std::string s = (flags & 1) ? "transient" : "permanent";
  if (flags & 2) s += ", prefix-based";
  if (flags & 4) s += ", embedded RP";
  return s;
}

ipv6 ipv6::solicited_node() const noexcept {
  if (!flags_) return ipv6(std::string_view());
  const uint128 prefix = uint128{0xFF02000000000000ull} << 64 | 0x00000001FF000000ull;
  return ipv6(prefix | (value_ & 0xFFFFFF));
}

std::optional<uint64_t> ipv6::multicast_mac() const noexcept {
  if (!(flags_ & f_multicast)) return std::nullopt;
  return 0x333300000000ull | static_cast<uint32_t>(value_);
}

std::string ipv6::interface_id_text() const {
  if (!flags_) return std::string();
  const std::string e = expanded();
  return e.substr(20);
}

std::optional<uint64_t> ipv6::eui64_mac() const noexcept {
  const uint64_t iid = low();
  if (!flags_ || ((iid >> 24) & 0xFFFF) != 0xFFFE) return std::nullopt;
  return (((iid >> 40) << 24) | (iid & 0xFFFFFF)) ^ 0x020000000000ull;
}

ipv6 ipv6::from_mac(const ipv6& prefix, uint64_t mac) noexcept {
  if (!prefix.is_valid() || mac > 0xFFFFFFFFFFFFull) return ipv6(std::string_view());
  const uint64_t iid =
      (((mac >> 24) << 40) | (uint64_t{0xFFFE} << 24) | (mac & 0xFFFFFF)) ^ (uint64_t{2} << 56);
  return ipv6(prefix.high(), iid);
}

bool ipv6::operator==(const ipv6& other) const noexcept {
  return flags_ == other.flags_ && value() == other.value() && zone() == other.zone();
}

std::string ipv6::mac_text(uint64_t mac) {
  std::string s(17, ':');
  for (int i = 0; i < 12; ++i)
    s[std::size_t(i + i / 2)] = kDigits[static_cast<unsigned>(mac >> (44 - 4 * i)) & 0xF];
  return s;
}
