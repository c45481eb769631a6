#pragma once
// Text pieces the subcommands share: numbers and addresses written straight
// into a buffer, JSON strings, CSV fields, aligned tables and the quoting of
// inputs in messages.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ipv4lib/ipv4.h"
#include "ipv6lib/ipv6net.h"

// A bad input: the one-line message (without the program's name) and exit 1.
struct TInputError {
  std::string message;
};

// "'text'" for messages, control characters shown as "?", a text longer
// than 80 characters cut to 77 and "...".
std::string Quoted(std::string_view text);

// Writes into p and returns the end.
inline char* PutDotted(char* p, uint32_t value) {
  return p + ipv4::dotted_to(value, p);
}
char* PutDecimal(char* p, uint64_t value);
inline char* PutText(char* p, std::string_view s) {
  for (char c : s) *p++ = c;
  return p;
}

std::string DottedString(uint32_t value);

// One output line (or a few) built through a pointer: the hot loops append
// many short pieces, which std::string pays a call and a check for each.
class TLineBuffer {
 public:
  TLineBuffer() : FData(new char[FCapacity]), FEnd(FData) {}
  ~TLineBuffer() { delete[] FData; }
  TLineBuffer(const TLineBuffer&) = delete;
  TLineBuffer& operator=(const TLineBuffer&) = delete;

  void Clear() { FEnd = FData; }
  std::string_view View() const { return std::string_view(FData, std::size_t(FEnd - FData)); }
  bool Empty() const { return FEnd == FData; }

  // Room for n more bytes at the returned pointer; Advance tells the end.
  char* Room(std::size_t n) {
    if (n > FCapacity - std::size_t(FEnd - FData)) Grow(n);
    return FEnd;
  }
  void Advance(char* end) { FEnd = end; }

  void Put(char c) { *Room(1) = c, ++FEnd; }
  void Put(std::string_view s) {
    if (s.empty()) return;  // an empty view may hold no pointer at all
    char* p = Room(s.size());
    std::memcpy(p, s.data(), s.size());
    FEnd = p + s.size();
  }
  void PutDotted(uint32_t value) { FEnd = ::PutDotted(Room(16), value); }
  void PutDecimal(uint64_t value) { FEnd = ::PutDecimal(Room(20), value); }
  // s as a JSON string, quotes included; bytes that are no UTF-8 become U+FFFD.
  void PutJsonString(std::string_view s);

 private:
  void Grow(std::size_t n);
  std::size_t FCapacity = 4096;
  char* FData;
  char* FEnd;
};

// Builds one JSON object with its keys in the order they are added; the keys
// are literals, written without escaping.
class TJsonObject {
 public:
  explicit TJsonObject(TLineBuffer& out) : FOut(out) {}
  template <std::size_t N>
  TJsonObject& String(const char (&key)[N], std::string_view value) {
    FOut.Advance(Key(FOut.Room(N + 3), key));
    FOut.PutJsonString(value);
    return *this;
  }
  template <std::size_t N>
  TJsonObject& Dotted(const char (&key)[N], uint32_t value) {
    char* p = Key(FOut.Room(N + 3 + 18), key);
    *p++ = '"';
    p = ::PutDotted(p, value);
    *p++ = '"';
    FOut.Advance(p);
    return *this;
  }
  template <std::size_t N>
  TJsonObject& Number(const char (&key)[N], uint64_t value) {
    FOut.Advance(::PutDecimal(Key(FOut.Room(N + 3 + 20), key), value));
    return *this;
  }
  template <std::size_t N>
  TJsonObject& Null(const char (&key)[N]) {
    return Raw(key, "null");
  }
  // The value as JSON text, inserted as it is.
  template <std::size_t N>
  TJsonObject& Raw(const char (&key)[N], std::string_view json) {
    FOut.Advance(Key(FOut.Room(N + 3), key));
    FOut.Put(json);
    return *this;
  }
  void End() { FOut.Put(FFirst ? std::string_view("{}") : std::string_view("}")); }

 private:
  // Writes {"key": or ,"key": at p (room for N + 3 bytes); returns the end.
  template <std::size_t N>
  char* Key(char* p, const char (&key)[N]) {
    *p++ = FFirst ? '{' : ',';
    FFirst = false;
    *p++ = '"';
    std::memcpy(p, key, N - 1);
    p += N - 1;
    *p++ = '"';
    *p++ = ':';
    return p;
  }
  TLineBuffer& FOut;
  bool FFirst = true;
};

// A JSON string of s, quotes included.
std::string JsonString(std::string_view s);
// Whether a count is written as a JSON number: up to 2^53, which readers
// that use doubles keep exactly; larger counts go out as strings of digits.
inline bool IsJsonNumber(const ipv6count& c) {
  return !c.is_full() && c.value() <= (uint128(1) << 53);
}

// Appends a CSV field, quoted when it holds a comma, a quote or a line break.
void AppendCsvField(TLineBuffer& out, std::string_view field);
// A CSV line of the fields with its line end.
std::string CsvLine(const std::vector<std::string>& fields);

// Columns padded to their widest cell and two blanks apart; the columns
// marked in rightAligned are aligned to the right. No trailing blanks.
std::string AlignedTable(const std::vector<std::vector<std::string>>& rows,
                         const std::vector<bool>& rightAligned);

// "Label:" padded to the label column of a result block, then the value; a
// value of several lines continues under the value column.
std::string LabelledLine(std::string_view label, std::string_view value);
