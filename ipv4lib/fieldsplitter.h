#pragma once
// Splits one text line at a delimiter into 1-based fields.
// A doubled delimiter restarts the count; a delimiter at the very end stays in
// the last field.

#include <cstdint>
#include <string>
#include <string_view>

class TFieldSplitter {
 public:
  TFieldSplitter(std::string_view text, char delimiter);
  // Field n (1-based); "" for n outside 1..FCount.
  std::string Field(int32_t n) const;

  int32_t FCount = 0;

 private:
  std::string FData;  // the text with separating delimiters replaced by NULs
  char FDelimiter;
  int32_t FLength = 0;
};
