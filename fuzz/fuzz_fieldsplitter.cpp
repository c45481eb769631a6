// Line splitter: the first byte is the delimiter, the rest the line. Fields
// never reach past the line, and where no delimiter is doubled (a doubled one
// restarts the count on purpose) the fields joined with the delimiter give
// the line back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzzcheck.h"
#include "ipv4lib/fieldsplitter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char delimiter = static_cast<char>(data[0]);
  std::string_view line(reinterpret_cast<const char*>(data) + 1, size - 1);
  const TFieldSplitter s(line, delimiter);
  std::size_t total = 0;
  for (int32_t n = -1; n <= s.FCount + 1; ++n) total += s.Field(n).size();
  FUZZ_CHECK(total <= line.size());
  FUZZ_CHECK(s.Field(0).empty() && s.Field(s.FCount + 1).empty());

  line = line.substr(0, line.find('\0'));  // the splitter reads up to the first NUL
  const std::string doubled(2, delimiter);
  if (delimiter == '\0' || line.find(doubled) != std::string_view::npos) return 0;
  std::string joined;
  for (int32_t n = 1; n <= s.FCount; ++n) {
    if (n > 1) joined += delimiter;
    joined += s.Field(n);
  }
  FUZZ_CHECK(joined == line);
  return 0;
}
