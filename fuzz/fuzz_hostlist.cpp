// Host list files: any file is merged into a generated list without harm,
// and the list saved and opened again gives the same names back (all but
// those holding the delimiter, which the editor warns about before saving).
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzzcheck.h"
#include "hostlist/hostlistfile.h"
#include "hostlist/hostlistmodel.h"

namespace {

// Files of this run, gone when it ends.
struct TTempFiles {
  ~TTempFiles() {
    for (const QString& path : paths) QFile::remove(path);
  }
  QStringList paths;
} gTempFiles;

QString TempPath(const char* name) {
  const QString dir =
      QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
  const QString path =
      QDir(dir).filePath(QStringLiteral("fuzz-hostlist-%1-%2").arg(getpid()).arg(name));
  if (!gTempFiles.paths.contains(path)) gTempFiles.paths.append(path);
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // The first byte picks the delimiter and the size of the list; the file is
  // the rest, listed against 192.168.1.0.
  if (size < 1) return 0;
  const char delimiters[] = {',', ';', '\t', ' '};
  const char delimiter = delimiters[data[0] & 3];
  const int prefix = 24 + ((data[0] >> 2) & 7) + ((data[0] >> 5) & 1);  // 24..32
  const QString in = TempPath("in"), out = TempPath("out");
  {
    QFile f(in);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(reinterpret_cast<const char*>(data) + 1, qint64(size - 1));
  }
  THostListModel model;
  model.Generate(ipv4host(QStringLiteral("192.168.1.0/%1").arg(prefix).toStdString()), 0);
  const THostListMerge merge = ReadHostListFile(in, model, delimiter);
  FUZZ_CHECK(merge.result == TFileResult::Done);
  FUZZ_CHECK(merge.matched >= 0 && merge.matched <= model.rowCount());
  if (merge.matched == 0) return 0;
  model.ApplyNames(merge.names, merge.addressTexts);

  THostListSave how;
  how.delimiter = delimiter;
  FUZZ_CHECK(SaveHostListFile(out, model, how) == TFileResult::Done);
  THostListModel again;
  again.Generate(model.Network(), 0);
  const THostListMerge reread = ReadHostListFile(out, again, delimiter);
  FUZZ_CHECK(reread.result == TFileResult::Done);
  again.ApplyNames(reread.names, reread.addressTexts);
  // A name holding the delimiter cannot be written back as it is; the editor
  // warns before it saves one ("Save anyway?").
  const TDelimiterClash clash = RowsWithDelimiter(model, delimiter, std::size_t(model.rowCount()));
  for (int row = 0; row < model.rowCount(); ++row) {
    FUZZ_CHECK(again.AddressText(row) == model.AddressText(row));
    if (std::find(clash.rows.begin(), clash.rows.end(), row) != clash.rows.end()) continue;
    FUZZ_CHECK(again.Name(row) == model.Name(row));
  }
  return 0;
}
