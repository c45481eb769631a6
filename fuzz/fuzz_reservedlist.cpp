// The special-purpose block list: any file content gives rows in ascending
// block order whose blocks are valid networks, and the row an address selects
// always contains that address.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/fuzzcheck.h"
#include "ipcalc/reservedlist.h"
#include "ipv4lib/ipv4.h"
#include "ipv4lib/ipv4host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // The first eight bytes, when there are that many, pick an address and a
  // mask to look up; all bytes are the file.
  uint32_t address = 0, mask = 0;
  if (size >= 8) {
    std::memcpy(&address, data, 4);
    std::memcpy(&mask, data + 4, 4);
  }
  const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const std::vector<TChartEntry> rows = ParseReservedList(content);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) FUZZ_CHECK(rows[i - 1].key <= rows[i].key);
    FUZZ_CHECK((rows[i].key & rows[i].mask) == rows[i].key);
    FUZZ_CHECK(!rows[i].block.isEmpty());
  }
  const int found = ChartHighlightIndex(rows, QString::fromStdString(ipv4(address).text()), mask);
  FUZZ_CHECK(found >= -1 && found < int(rows.size()));
  if (found >= 0) {
    const TChartEntry& e = rows[std::size_t(found)];
    FUZZ_CHECK((address & e.mask) == e.key && mask >= e.mask);
  }
  return 0;
}
