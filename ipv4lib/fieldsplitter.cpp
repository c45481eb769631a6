#include "ipv4lib/fieldsplitter.h"

#include <new>

TFieldSplitter::TFieldSplitter(std::string_view text, char delimiter) : FDelimiter(delimiter) {
  // Lines come from C-style buffers: the text ends at its first NUL.
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  // Field numbers and lengths are 32-bit; longer texts are cut.
  if (text.size() > 0x7FFFFFFEu) text = text.substr(0, 0x7FFFFFFEu);

  try {
    FData.assign(text.data(), text.size());
  } catch (const std::bad_alloc&) {
    FData.clear();
    return;  // no buffer: no fields
  }
  FLength = static_cast<int32_t>(FData.size());
  FCount = 1;

  // FData[FLength] is the string's terminating NUL, so looking one ahead is safe.
  char* d = FData.data();
  for (int32_t i = 0; i < FLength; ++i) {
    if (d[i] != FDelimiter) continue;
    const char next = d[i + 1];
    if (next == FDelimiter) {
      // A doubled delimiter restarts the count.
      d[i] = '\0';
      FCount = 0;
    } else if (next != '\0') {
      d[i] = '\0';
      ++FCount;
    }
    // A delimiter at the very end stays part of the last field.
  }
}

std::string TFieldSplitter::Field(int32_t n) const {
  if (n < 1 || n > FCount || FLength == 0) return std::string();
  const char* d = FData.data();
  int32_t pos = 0;
  for (int32_t ends = 0; ends < n - 1 && pos < FLength; ++pos)
    if (d[pos] == '\0') ++ends;
  int32_t end = pos;
  while (end < FLength && d[end] != '\0') ++end;
  return std::string(d + pos, static_cast<std::size_t>(end - pos));
}
