#pragma once
// Where the program runs from and where its settings live.

#include <QByteArray>
#include <QString>
#include <QStringList>

// Drive types of the folder that holds the program.
enum TDriveType { dtUnknown = 0, dtRemovable = 2, dtFixed = 3, dtRemote = 4, dtCdRom = 5 };

// Drive type from what the system says about the mount: its file system type
// (as in /proc/self/mountinfo, e.g. "ext4", "nfs4", "fuse.sshfs") and whether
// its block device is removable or sits on a USB bus.
int DriveTypeOf(const QString& fsType, bool removableDevice);
// Drive type of the folder `dir`.
int DriveTypeOfFolder(const QString& dir);

// "(Orvex runs from " + the media text for `driveType`.
QString PortInfoText(int driveType);

// The per-user settings folder: $XDG_CONFIG_HOME/orvex, or ~/.config/orvex.
QString UserDataFolder();

struct TSettingsLocation {
  QString userDataDir;
  QString iniFileName;
  int driveType = dtUnknown;
};
// Settings beside the program on removable media, otherwise in the per-user
// folder, which is created when missing.
TSettingsLocation LocateSettings(const QString& programDir);
// The same rule for a known drive type; creates nothing.
QString IniFileFor(int driveType, const QString& programDir, const QString& userDataDir);

// "2.2.0" from "2.2.0.90".
QString VersionTextOf(const QString& fileVersion);
// "2.2.0 portable, Build 90 (Jul 16 2012)" from the file version and a
// compiler date ("Jul 16 2012"; a padded day "Jul  6 2012" loses the pad).
QString BuildTextOf(const QString& fileVersion, const QString& buildDate);

// Where a data file shipped with the program is looked for, in this order: the
// working folder, the program's folder, share/orvex beside the program's folder
// (an installed program), and last the copy built into the program.
QStringList DataFileCandidates(const QString& name, const QString& workDir,
                               const QString& programDir);
// The content of the first of `candidates` that can be read, and its path in
// *usedPath; empty (and "") when none can.
QByteArray ReadFirstFile(const QStringList& candidates, QString* usedPath);
