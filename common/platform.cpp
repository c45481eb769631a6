#include "common/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#include "ipv4lib/fieldsplitter.h"

namespace {

// Reads a small sysfs file; "" when missing.
QByteArray ReadSys(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().trimmed();
}

// Whether block device `device` ("/dev/sdb1") is removable or on USB.
bool IsRemovableDevice(const QString& device) {
  if (!device.startsWith(QLatin1String("/dev/"))) return false;
  const QString name = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
  if (name.isEmpty()) return false;
  // /sys/class/block/<partition> points into its disk's folder.
  QString node = QFileInfo(QStringLiteral("/sys/class/block/") + name).canonicalFilePath();
  if (node.isEmpty()) return false;
  if (QFile::exists(node + QStringLiteral("/partition"))) node = QFileInfo(node).path();
  if (ReadSys(node + QStringLiteral("/removable")) == "1") return true;
  return node.contains(QLatin1String("/usb"));
}

}  // namespace

int DriveTypeOf(const QString& fsType, bool removableDevice) {
  const QString t = fsType.toLower();
  if (t == QLatin1String("iso9660") || t == QLatin1String("udf")) return dtCdRom;
  static const char* const remote[] = {"nfs",   "nfs4",      "cifs",   "smb",  "smb3",
                                       "smbfs", "ncpfs",     "afs",    "9p",   "ceph",
                                       "coda",  "glusterfs", "lustre", "davfs"};
  for (const char* r : remote)
    if (t == QLatin1String(r)) return dtRemote;
  // Network file systems in user space.
  static const char* const fuseRemote[] = {"sshfs",    "rclone",    "s3fs",      "gcsfuse", "davfs",
                                           "smbnetfs", "curlftpfs", "glusterfs", "cephfs"};
  if (t.startsWith(QLatin1String("fuse."))) {
    const QString sub = t.mid(5);
    for (const char* r : fuseRemote)
      if (sub == QLatin1String(r)) return dtRemote;
  }
  if (removableDevice) return dtRemovable;
  return dtFixed;
}

int DriveTypeOfFolder(const QString& dir) {
  QStorageInfo storage(dir);
  if (!storage.isValid()) return dtFixed;
  return DriveTypeOf(QString::fromLatin1(storage.fileSystemType()),
                     IsRemovableDevice(QString::fromLocal8Bit(storage.device())));
}

QString PortInfoText(int driveType) {
  const char* media = "other media.)";
  switch (driveType) {
    case dtRemovable:
      media = "removable media.)";
      break;
    case dtFixed:
      media = "fixed media.)";
      break;
    case dtRemote:
      media = "remote network drive.)";
      break;
    case dtCdRom:
      media = "CD-ROM.)";
      break;
    default:
      break;
  }
  return QStringLiteral("(Orvex runs from ") + QLatin1String(media);
}

QString UserDataFolder() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base))
    base = QDir::homePath() + QStringLiteral("/.config");
  return QDir::cleanPath(base + QStringLiteral("/orvex"));
}

QString IniFileFor(int driveType, const QString& programDir, const QString& userDataDir) {
  const QString dir = driveType == dtRemovable ? programDir : userDataDir;
  return QDir(dir).filePath(QStringLiteral("orvex.ini"));
}

TSettingsLocation LocateSettings(const QString& programDir) {
  TSettingsLocation loc;
  loc.userDataDir = UserDataFolder();
  loc.driveType = DriveTypeOfFolder(programDir);
  // A folder that cannot be made only means the settings cannot be saved.
  if (loc.driveType != dtRemovable) QDir().mkpath(loc.userDataDir);
  loc.iniFileName = IniFileFor(loc.driveType, programDir, loc.userDataDir);
  return loc;
}

QString VersionTextOf(const QString& fileVersion) {
  if (fileVersion.isEmpty()) return {};
  const TFieldSplitter fields(fileVersion.toStdString(), '.');
  return QString::fromStdString(fields.Field(1) + "." + fields.Field(2) + "." + fields.Field(3));
}

QString BuildTextOf(const QString& fileVersion, const QString& buildDate) {
  if (fileVersion.isEmpty()) return {};
  const TFieldSplitter fields(fileVersion.toStdString(), '.');
  const QString date = buildDate.simplified();
  return VersionTextOf(fileVersion) + QStringLiteral(" portable, Build ") +
         QString::fromStdString(fields.Field(4)) + QStringLiteral(" (") + date +
         QStringLiteral(")");
}

QStringList DataFileCandidates(const QString& name, const QString& workDir,
                               const QString& programDir) {
  return {QDir(workDir).filePath(name), QDir(programDir).filePath(name),
          QDir::cleanPath(programDir + QStringLiteral("/../share/orvex/") + name),
          QStringLiteral(":/data/") + name};
}

QByteArray ReadFirstFile(const QStringList& candidates, QString* usedPath) {
  for (const QString& path : candidates) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) continue;
    if (usedPath) *usedPath = path;
    return f.readAll();
  }
  if (usedPath) usedPath->clear();
  return QByteArray();
}
