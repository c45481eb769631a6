// The settings file: any content of "orvex.ini" is read through the settings
// store with every key the program knows. A write of one key is read back as
// written and leaves every other known key as it was.
#include <unistd.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "common/settingsstore.h"
#include "fuzz/fuzzcheck.h"

namespace {

struct Key {
  const char* section;
  const char* name;
};

// The keys of the program, and spellings of them in other letter cases.
const Key kKeys[] = {{"Size", "MainTop"},
                     {"Size", "MainLeft"},
                     {"Size", "MainHeight"},
                     {"Size", "MainWidth"},
                     {"Size", "Maximized"},
                     {"Size", "Width1"},
                     {"Size", "Height1"},
                     {"Size", "Width3"},
                     {"Size", "Height3"},
                     {"Size", "Width6"},
                     {"Size", "Height6"},
                     {"Options", "Recall Desktop Settings"},
                     {"Options", "RecallDesktopSettings"},
                     {"Options", "EnableHints"},
                     {"Options", "UseSubnetViewerMask"},
                     {"Options", "EnableClassASupernets"},
                     {"Options", "RFC3021Subnets"},
                     {"Options", "ClassDESubnets"},
                     {"Options", "MaxListItems"},
                     {"Options", "StartupPages"},
                     {"Options", "CsvDelimiterIndex"},
                     {"Options", "MacFormatIndex"},
                     {"Options", "IanaLink"},
                     {"Options", "BitWidth"},
                     {"MRIP", "a"},
                     {"MRIP", "b"},
                     {"MRIP", "c"},
                     {"MRIP", "d"},
                     {"MRIP", "e"},
                     {"MRIP", "f"},
                     {"MRIP", "g"},
                     {"MRIP", "h"},
                     {"MRIP", "i"},
                     {"MRIP", "j"},
                     {"MRIP", "LastIP"},
                     {"MRIP", "LastMask"},
                     {"MRIP", "LastNetworkMask"},
                     {"MRIP", "LastSubnetMaskIndex"},
                     {"MRIP", "LastSubnetworkIndex"},
                     {"MRIP", "Test"},
                     {"size", "MAINTOP"},
                     {"mrip", "lastip"}};

struct Values {
  QString text[std::size(kKeys)];
  int number[std::size(kKeys)];
};

Values ReadAll(const SettingsFile& ini) {
  Values v;
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    const QString s = QLatin1String(kKeys[i].section), k = QLatin1String(kKeys[i].name);
    v.text[i] = ini.ReadString(s, k, QStringLiteral("<default>"));
    v.number[i] = ini.ReadInteger(s, k, -12345);
  }
  return v;
}

// In memory where the machine has it: every write replaces the file and
// syncs it to disk.
struct TTempFile {
  ~TTempFile() { QFile::remove(path); }
  QString path;
};

QString FilePath() {
  static TTempFile file{QDir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath())
                            .filePath(QStringLiteral("fuzz-orvex-%1.ini").arg(getpid()))};
  return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const QString path = FilePath();
  {
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
  }
  SettingsFile ini(path);
  const Values before = ReadAll(ini);
  // The write every window makes when it closes.
  const std::size_t written = 5;  // [Size] Width1
  if (ini.WriteInteger(QStringLiteral("Size"), QStringLiteral("Width1"), 640)) {
    const Values after = ReadAll(ini);
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
      if (i == written) {
        FUZZ_CHECK(after.number[i] == 640 &&
                   ini.ValueExists(QStringLiteral("size"), QStringLiteral("WIDTH1")));
        continue;
      }
      FUZZ_CHECK(after.text[i] == before.text[i]);
      FUZZ_CHECK(after.number[i] == before.number[i]);
    }
  }
  return 0;
}
