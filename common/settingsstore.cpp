#include "common/settingsstore.h"

#include <SimpleIni.h>
#include <sys/stat.h>
#include <QFile>
#include <QList>
#include <QSaveFile>

#include <string>

namespace {

QString& CurrentIniFileName() {
  static QString name;
  return name;
}

// Strict decimal: optional sign, digits, nothing else (blanks around are
// trimmed by the INI parser).
bool ParseDecimal(const char* text, int* out) {
  if (text == nullptr) return false;
  bool ok = false;
  const QByteArray raw = QByteArray(text).trimmed();
  if (raw.isEmpty()) return false;
  for (int i = 0; i < raw.size(); ++i) {
    const char c = raw.at(i);
    if ((c == '+' || c == '-') && i == 0 && raw.size() > 1) continue;
    if (c < '0' || c > '9') return false;
  }
  const int value = raw.toInt(&ok, 10);
  if (!ok) return false;
  *out = value;
  return true;
}

// The comment lines after the last key; the INI parser keeps only comments
// that stand before a section or key, so these are carried over by hand.
QByteArray TrailingComments(const QByteArray& data) {
  // The parser ends a line at a CR as well as at an LF: so does this scan,
  // or a key behind a lone CR would come back as part of a comment.
  const QList<QByteArray> lines = QByteArray(data).replace('\r', '\n').split('\n');
  qsizetype first = lines.size();
  bool anyComment = false;
  while (first > 0) {
    const QByteArray line = lines.at(first - 1).trimmed();
    if (line.isEmpty()) {
      --first;
    } else if (line.startsWith(';') || line.startsWith('#')) {
      anyComment = true;
      --first;
    } else {
      break;
    }
  }
  if (!anyComment || first == 0) return {};
  QByteArray tail;
  for (qsizetype i = first; i < lines.size(); ++i) {
    const QByteArray line = lines.at(i).trimmed();
    if (!line.isEmpty()) tail += line + '\n';
  }
  return tail;
}

// What tells one version of the file from another: every save replaces the
// file (a new inode), and an edit in place changes its size or time.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  long long seconds = 0;
  long nanoseconds = 0;
  bool operator==(const FileStamp& o) const {
    return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
           seconds == o.seconds && nanoseconds == o.nanoseconds;
  }
};

FileStamp StampOf(const QString& path) {
  FileStamp s;
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return s;
  s.exists = true;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = st.st_size;
  s.seconds = st.st_mtim.tv_sec;
  s.nanoseconds = st.st_mtim.tv_nsec;
  return s;
}

}  // namespace

struct SettingsFile::Impl {
  CSimpleIniA ini{false, false, false};
  QByteArray trailing;
  bool loaded = false;
  FileStamp stamp;
  Impl() { ini.SetSpaces(false); }
};

SettingsFile::SettingsFile(const QString& path) : FPath(path), d(std::make_unique<Impl>()) {
  Reload();
}

SettingsFile::~SettingsFile() = default;

// Every operation starts from the file as it is on disk, so two objects open
// at the same time (the main window closing its tool windows) never undo each
// other's writes.
void SettingsFile::Reload() const {
  // Reading is skipped only while the file is the very one read last time.
  const FileStamp now = StampOf(FPath);
  if (d->loaded && now == d->stamp) return;
  d->loaded = true;
  d->stamp = now;
  d->ini.Reset();
  d->ini.SetSpaces(false);
  d->trailing.clear();
  QFile file(FPath);
  if (!file.open(QIODevice::ReadOnly)) return;
  QByteArray data = file.readAll();
  // The INI parser stops at a NUL byte; whatever follows one in a damaged
  // file would be lost with the next save.
  data.replace('\0', QByteArray());
  d->ini.LoadData(data.constData(), static_cast<size_t>(data.size()));
  d->trailing = TrailingComments(data);
}

QString SettingsFile::ReadString(const QString& section, const QString& key,
                                 const QString& def) const {
  Reload();
  const char* v = d->ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
  return v ? QString::fromUtf8(v) : def;
}

int SettingsFile::ReadInteger(const QString& section, const QString& key, int def) const {
  Reload();
  int value = def;
  const char* v = d->ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
  return ParseDecimal(v, &value) ? value : def;
}

bool SettingsFile::ReadBool(const QString& section, const QString& key, bool def) const {
  Reload();
  int value = 0;
  const char* v = d->ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
  return ParseDecimal(v, &value) ? value != 0 : def;
}

bool SettingsFile::ValueExists(const QString& section, const QString& key) const {
  Reload();
  return d->ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr) !=
         nullptr;
}

bool SettingsFile::WriteString(const QString& section, const QString& key, const QString& value) {
  Reload();
  if (d->ini.SetValue(section.toUtf8().constData(), key.toUtf8().constData(),
                      value.toUtf8().constData()) < 0)
    return false;
  return Flush();
}

bool SettingsFile::WriteInteger(const QString& section, const QString& key, int value) {
  return WriteString(section, key, QString::number(value));
}

bool SettingsFile::WriteBool(const QString& section, const QString& key, bool value) {
  return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool SettingsFile::DeleteKey(const QString& section, const QString& key) {
  return RemoveKey(section, key, false);
}

bool SettingsFile::RemoveKey(const QString& section, const QString& key, bool dropEmptySection) {
  Reload();
  const QByteArray s = section.toUtf8();
  const QByteArray k = key.toUtf8();
  if (d->ini.GetValue(s.constData(), k.constData(), nullptr) == nullptr) return true;
  d->ini.Delete(s.constData(), k.constData(), dropEmptySection);
  return Flush();
}

bool SettingsFile::Probe() {
  Reload();
  const bool hadSection = d->ini.GetSectionSize("MRIP") >= 0;
  if (!WriteBool(QStringLiteral("MRIP"), QStringLiteral("Test"), true)) return false;
  // A section the probe created goes again with its key.
  return RemoveKey(QStringLiteral("MRIP"), QStringLiteral("Test"), !hadSection);
}

bool SettingsFile::Flush() {
  // The next call reads the file again, whether this save worked or not.
  d->loaded = false;
  std::string data;
  if (d->ini.Save(data) < 0) return false;
  if (!d->trailing.isEmpty()) {
    data += '\n';
    data.append(d->trailing.constData(), static_cast<size_t>(d->trailing.size()));
  }
  QSaveFile file(FPath);
  // Unbuffered, so a full disk shows in write()'s count: a buffered write
  // reports success and a failing flush still lets commit() go through.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
  // A short write must never be committed: the old file stays instead.
  const qint64 size = static_cast<qint64>(data.size());
  if (file.write(data.data(), size) != size || !file.flush() ||
      file.error() != QFileDevice::NoError) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QString IniFileName() {
  return CurrentIniFileName();
}

void SetIniFileName(const QString& path) {
  CurrentIniFileName() = path;
}
