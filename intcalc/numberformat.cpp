#include "intcalc/numberformat.h"

#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4mac.h"

namespace {

bool IsTrimmed(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u <= 32 || u == 127;
}

// White space as the C library's isspace sees it in the "C" locale.
bool IsCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// One half of a binary text, read as a 32-bit strtoul in base 2 does:
// leading white space, an optional sign (a minus negates modulo 2^32), then
// binary digits. The half must be used up; an empty half reads as 0, a half
// without digits ends the conversion at its start.
bool ReadBinaryHalf(std::string_view half, uint32_t& out) {
  std::size_t i = 0;
  while (i < half.size() && IsCSpace(half[i])) ++i;
  bool negative = false;
  if (i < half.size() && (half[i] == '+' || half[i] == '-')) negative = half[i++] == '-';
  const std::size_t first = i;
  uint64_t v = 0;
  while (i < half.size() && (half[i] == '0' || half[i] == '1')) {
    // A half has at most 32 characters; saturate all the same, as strtoul does.
    v = v > 0xFFFFFFFFu ? v : (v << 1) | static_cast<uint64_t>(half[i] - '0');
    ++i;
  }
  if (i == first) {
    out = 0;
    return half.empty();
  }
  if (i != half.size()) return false;
  const auto low = static_cast<uint32_t>(v > 0xFFFFFFFFu ? 0xFFFFFFFFu : v);
  out = negative ? 0u - low : low;
  return true;
}

// The signed 64-bit conversion: optional leading blanks, an optional sign,
// then decimal digits within the signed 64-bit range, or hexadecimal digits
// after "$", "x" or "0x" (at most 64 significant bits, any leading zeros).
// Nothing may follow the digits.
bool ReadInt64(std::string_view s, int64_t& out) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  bool hex = false;
  if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == s.size()) return false;
  uint64_t u = 0;
  if (hex) {
    int significant = 0;
    for (; i < s.size(); ++i) {
      const int d = HexDigit(s[i]);
      if (d < 0) return false;
      if (u == 0 && d == 0) continue;
      if (++significant > 16) return false;
      u = (u << 4) | static_cast<uint64_t>(d);
    }
  } else {
    const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
    for (; i < s.size(); ++i) {
      if (s[i] < '0' || s[i] > '9') return false;
      const auto d = static_cast<uint64_t>(s[i] - '0');
      if (u > (limit - d) / 10) return false;
      u = u * 10 + d;
    }
  }
  out = static_cast<int64_t>(negative ? 0 - u : u);
  return true;
}

// Digits of v in base 2^shift, most significant first, at least minDigits.
std::string PowerOfTwoDigits(uint64_t v, int shift, int minDigits, const char* alphabet) {
  char buf[64];
  int n = 0;
  const uint64_t mask = (uint64_t{1} << shift) - 1;
  do {
    buf[n++] = alphabet[v & mask];
    v >>= shift;
  } while (v != 0);
  std::string s;
  const int pad = minDigits > n ? minDigits - n : 0;
  s.reserve(static_cast<std::size_t>(pad + n));
  s.append(static_cast<std::size_t>(pad), '0');
  while (n > 0) s.push_back(buf[--n]);
  return s;
}

const char kLowerDigits[] = "0123456789abcdef";
const char kUpperDigits[] = "0123456789ABCDEF";

}  // namespace

std::string_view TrimText(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsTrimmed(text[b])) ++b;
  while (e > b && IsTrimmed(text[e - 1])) --e;
  return text.substr(b, e - b);
}

TClassified ClassifyNumber(std::string_view text) {
  std::string u(TrimText(text));
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');

  const ipv4 address(u);
  if (address.is_valid()) return {nkIPv4, static_cast<int64_t>(address.value())};
  const ipv4mac mac(u);
  if (mac.is_valid()) return {nkMAC, static_cast<int64_t>(mac.value())};

  const std::string_view s(u);
  if (s.size() >= 2 && s[0] == '0' && s[1] == 'B') {
    const std::string_view digits = s.substr(2);
    if (digits.size() > 64) return {};
    const std::size_t split = digits.size() > 32 ? digits.size() - 32 : 0;
    uint32_t high = 0, low = 0;
    if (!ReadBinaryHalf(digits.substr(0, split), high) ||
        !ReadBinaryHalf(digits.substr(split), low))
      return {};
    return {nkBinary, static_cast<int64_t>((uint64_t{high} << 32) | low)};
  }
  int64_t v = 0;
  if (s.size() >= 2 && s[0] == '0' && s[1] == 'X') {
    if (s.size() == 2) return {nkHex, 0};
    if (!ReadInt64(s, v)) return {};
    return {nkHex, v};
  }
  if (!ReadInt64(s, v)) return {};
  return {nkDecimal, v};
}

std::string DecimalText(int64_t value) {
  const bool negative = value < 0;
  uint64_t u = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  char buf[21];
  int n = 0;
  do {
    buf[n++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  std::string s;
  s.reserve(static_cast<std::size_t>(n + 1));
  if (negative) s.push_back('-');
  while (n > 0) s.push_back(buf[--n]);
  return s;
}

std::string BinaryText(uint64_t value, int minDigits) {
  return "0b" + PowerOfTwoDigits(value, 1, minDigits, kLowerDigits);
}

std::string OctalText(uint64_t value) {
  // Octal digits are three bits wide; 64 bits do not divide evenly.
  char buf[22];
  int n = 0;
  do {
    buf[n++] = static_cast<char>('0' + (value & 7u));
    value >>= 3;
  } while (value != 0);
  std::string s = "0o";
  while (n > 0) s.push_back(buf[--n]);
  return s;
}

std::string DisplayHexText(uint64_t value) {
  return "0x" + PowerOfTwoDigits(value, 4, 0, kLowerDigits);
}

std::string BlockHexDigits(uint64_t value, int bitWidth) {
  return PowerOfTwoDigits(value, 4, bitWidth > 0 ? bitWidth / 4 : 0, kUpperDigits);
}
