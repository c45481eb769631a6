#include "cli/format.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace {
// Width of the label column of a result block ("Next Network Addr.: ").
constexpr std::size_t kLabelWidth = 20;
}  // namespace

std::string Quoted(std::string_view text) {
  // A message stays one readable line, whatever came in.
  constexpr std::size_t kLongest = 80;
  const bool cut = text.size() > kLongest;
  std::string s = "'";
  for (char c : text.substr(0, cut ? kLongest - 3 : text.size()))
    s += static_cast<unsigned char>(c) < 32 || c == 127 ? '?' : c;
  s += cut ? "...'" : "'";
  return s;
}

char* PutDecimal(char* p, uint64_t value) {
  char digits[20];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0) *p++ = digits[--n];
  return p;
}

std::string DottedString(uint32_t value) {
  char buf[16];
  return std::string(buf, ipv4::dotted_to(value, buf));
}

void TLineBuffer::Grow(std::size_t n) {
  const std::size_t used = std::size_t(FEnd - FData);
  std::size_t capacity = FCapacity * 2;
  while (capacity - used < n) capacity *= 2;
  char* data = new char[capacity];
  std::memcpy(data, FData, used);
  delete[] FData;
  FData = data;
  FEnd = data + used;
  FCapacity = capacity;
}

namespace {
// 0: the byte goes into a JSON string as it is; 1: it is escaped; 2: it is
// no ASCII.
struct TJsonBytes {
  unsigned char kind[256];
  constexpr TJsonBytes() : kind() {
    for (int c = 0; c < 256; ++c)
      kind[c] = c >= 128 ? 2 : (c < 32 || c == '"' || c == '\\' || c == 127) ? 1 : 0;
  }
};
constexpr TJsonBytes kJsonBytes;
}  // namespace

void TLineBuffer::PutJsonString(std::string_view s) {
  // Addresses and remarks are ASCII: escaped here; other text (names, the
  // usage of a block, a bad input) is checked for UTF-8 by the JSON library.
  unsigned char seen = 0;
  std::size_t i = 0;
  // Eight bytes at a time: a byte at or above 128, below 32, a quote or a
  // backslash sends the text to the slower checks.
  constexpr uint64_t kOnes = 0x0101010101010101u, kHigh = 0x8080808080808080u;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t w;
    std::memcpy(&w, s.data() + i, 8);
    const uint64_t control = (w - kOnes * 32) & ~w;
    const uint64_t quote = ((w ^ (kOnes * '"')) - kOnes) & ~(w ^ (kOnes * '"'));
    const uint64_t backslash = ((w ^ (kOnes * '\\')) - kOnes) & ~(w ^ (kOnes * '\\'));
    if ((w | control | quote | backslash) & kHigh) break;
  }
  for (; i < s.size(); ++i) seen |= kJsonBytes.kind[static_cast<unsigned char>(s[i])];
  if (seen & 2) {
    Put(JsonString(s));
    return;
  }
  char* p = Room(s.size() * 6 + 2);
  *p++ = '"';
  if (seen == 0) {
    if (!s.empty()) std::memcpy(p, s.data(), s.size());
    p += s.size();
  } else {
    for (char c : s) {
      if (!kJsonBytes.kind[static_cast<unsigned char>(c)]) {
        *p++ = c;
      } else if (c == '"' || c == '\\') {
        *p++ = '\\';
        *p++ = c;
      } else if (c == '\n') {
        *p++ = '\\';
        *p++ = 'n';
      } else {
        static const char kHex[] = "0123456789abcdef";
        p = PutText(p, "\\u00");
        *p++ = kHex[(c >> 4) & 0xF];
        *p++ = kHex[c & 0xF];
      }
    }
  }
  *p++ = '"';
  Advance(p);
}

std::string JsonString(std::string_view s) {
  return nlohmann::json(std::string(s))
      .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void AppendCsvField(TLineBuffer& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out.Put(field);
    return;
  }
  out.Put('"');
  for (char c : field) {
    if (c == '"') out.Put('"');
    out.Put(c);
  }
  out.Put('"');
}

std::string CsvLine(const std::vector<std::string>& fields) {
  TLineBuffer line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) line.Put(',');
    AppendCsvField(line, fields[i]);
  }
  line.Put('\n');
  return std::string(line.View());
}

std::string AlignedTable(const std::vector<std::vector<std::string>>& rows,
                         const std::vector<bool>& rightAligned) {
  std::vector<std::size_t> width;
  for (const auto& row : rows) {
    if (width.size() < row.size()) width.resize(row.size(), 0);
    for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
  }
  std::string out;
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c) line += "  ";
      const std::size_t pad = width[c] - row[c].size();
      const bool right = c < rightAligned.size() && rightAligned[c];
      if (right) line.append(pad, ' ');
      line += row[c];
      if (!right) line.append(pad, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line;
    out += '\n';
  }
  return out;
}

std::string LabelledLine(std::string_view label, std::string_view value) {
  std::string line(label);
  line += ':';
  line.append(line.size() < kLabelWidth ? kLabelWidth - line.size() : 1, ' ');
  for (char c : value) {
    line += c;
    if (c == '\n') line.append(kLabelWidth, ' ');
  }
  line += '\n';
  return line;
}
