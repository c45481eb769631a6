// The Integer Calculator's recognition: any display text is analysed without
// harm, and a 64-bit value printed in each notation is recognised back as
// that notation and that value.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/fuzzcheck.h"
#include "intcalc/intcalcmodel.h"
#include "intcalc/numberformat.h"
#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4mac.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TClassified c = ClassifyNumber(text);
  if (c.kind == nkUnknown) FUZZ_CHECK(c.value == 0);
  TIntCalcModel model;
  model.SetDisplay(text);
  FUZZ_CHECK(model.FValue == ClassifyNumber(model.Display).value);

  uint64_t v = 0;
  std::memcpy(&v, data, size < sizeof v ? size : sizeof v);
  const int64_t s = int64_t(v);
  const auto back = [](const std::string& printed, TNumberKind kind, int64_t value) {
    const TClassified r = ClassifyNumber(printed);
    FUZZ_CHECK(r.kind == kind && r.value == value);
  };
  back(DecimalText(s), nkDecimal, s);
  back(BinaryText(v, 0), nkBinary, s);
  back(BinaryText(v, 64), nkBinary, s);
  back(DisplayHexText(v), nkHex, s);
  if (v <= 0xFFFFFFFFu) back(ipv4(uint32_t(v)).text(), nkIPv4, s);
  if (v <= 0xFFFFFFFFFFFFull)
    for (int format = 0; format <= 2; ++format)
      back(ipv4mac(uint32_t(v), uint32_t(v >> 32)).text(format), nkMAC, s);
  return 0;
}
