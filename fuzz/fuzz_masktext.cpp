// Mask readers of the calculator: the network mask field (dotted, "/p" or a
// number of hosts) and the mask viewer's check. An accepted mask reads back
// from its own dotted text and from its "/p" form; a host count gets the
// smallest block that holds it.
#include <QString>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzzcheck.h"
#include "ipcalc/netcalc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))
          .trimmed();
  bool ok = false;
  const ipv4 mask = ParseMaskText(text, ok);
  if (ok) {
    FUZZ_CHECK(mask.is_mask() && mask.prefix_length() >= 8 && mask.prefix_length() <= 32);
    bool again = false;
    FUZZ_CHECK(ParseMaskText(QtText(mask.text()), again).value() == mask.value() && again);
    FUZZ_CHECK(ParseMaskText(QStringLiteral("/%1").arg(mask.prefix_length()), again).value() ==
               mask.value());
  }
  bool isNumber = false;
  const int hosts = text.toInt(&isNumber, 10);
  if (isNumber && mask.is_valid() && !ipv4(text.toLatin1().toStdString()).is_valid()) {
    const int64_t block = int64_t(1) << (32 - mask.prefix_length());
    FUZZ_CHECK(block >= int64_t(hosts) + 2 || block == 4);
    FUZZ_CHECK(block == 4 || block / 2 < int64_t(hosts) + 2);
  }
  for (bool classA : {false, true}) {
    const ViewerMaskCheck c = CheckViewerMask(text, classA);
    if (c.usable) {
      FUZZ_CHECK(c.mask.is_mask() || (classA && c.mask.is_short_mask()));
      const ViewerLabels l = ComputeViewerLabels(c.mask, true, c.usageShown, c.usageCount);
      FUZZ_CHECK(l.subnetMask == QtText(c.mask.text()));
      FUZZ_CHECK(l.prefix == QStringLiteral("/%1").arg(c.mask.prefix_length()));
    }
    FUZZ_CHECK(!(c.empty && c.usable));
  }
  return 0;
}
