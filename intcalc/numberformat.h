#pragma once
// Number notations of the Integer Calculator: recognising a display text as
// decimal, "0b" binary, "0x" hexadecimal, dotted IPv4 or MAC, and printing a
// 64-bit value in each notation. Plain C++17; no Qt.

#include <cstdint>
#include <string>
#include <string_view>

// The notation a text was recognised in.
enum TNumberKind { nkUnknown, nkDecimal, nkBinary, nkHex, nkIPv4, nkMAC };

// What ClassifyNumber found: the notation and the value (0 when unknown).
struct TClassified {
  TNumberKind kind = nkUnknown;
  int64_t value = 0;
};

// Recognises text, first match wins: a dotted IPv4 address, a MAC address,
// "0b" binary (up to 64 digits, each 32-digit half read like a 32-bit
// strtoul), "0x" hexadecimal (up to 64 significant bits, the top bit making
// it negative), then a signed 64-bit decimal that also takes "$", "x" and
// "0x" hexadecimal after an optional sign. Blanks and control characters at
// both ends are ignored, letters in either case.
TClassified ClassifyNumber(std::string_view text);

// The text without blanks and control characters at either end.
std::string_view TrimText(std::string_view text);

// Signed decimal ("-1" for all bits set).
std::string DecimalText(int64_t value);
// "0b" and the binary digits of the unsigned value, zero-padded on the left
// to at least minDigits digits.
std::string BinaryText(uint64_t value, int minDigits);
// "0o" and the octal digits of the unsigned value.
std::string OctalText(uint64_t value);
// "0x" and the lower-case hexadecimal digits of the unsigned value.
std::string DisplayHexText(uint64_t value);
// Upper-case hexadecimal digits, zero-padded on the left to bitWidth / 4
// digits (no padding for 0).
std::string BlockHexDigits(uint64_t value, int bitWidth);

// The four bytes in reverse order: host to network byte order on the
// little-endian hosts whose results the calculator shows, whatever this
// machine's own byte order.
constexpr uint32_t SwapBytes32(uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0x0000FF00u) | ((v << 8) & 0x00FF0000u) | (v << 24);
}
