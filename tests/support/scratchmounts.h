#pragma once
// Small file systems for the tests of a full or read-only disk. They are
// mounted in a mount namespace of the test process alone, entered through a
// user namespace when the test does not run as root, so no privileges are
// needed and nothing is left mounted when the process ends. Where the
// machine allows no namespaces, Available() is false and such tests skip.

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>
#include <QByteArray>
#include <QFile>
#include <QString>

namespace ScratchMounts {

inline bool& Entered() {
  static bool entered = false;
  return entered;
}

inline bool WriteProcFile(const char* path, const QByteArray& text) {
  const int fd = ::open(path, O_WRONLY);
  if (fd < 0) return false;
  const bool ok = ::write(fd, text.constData(), size_t(text.size())) == text.size();
  ::close(fd);
  return ok;
}

// Enters the namespaces; call first in main(), before any thread starts.
inline bool Enter() {
  const uid_t uid = ::geteuid();
  const gid_t gid = ::getegid();
  if (uid == 0) {
    if (::unshare(CLONE_NEWNS) != 0) return false;
  } else {
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    WriteProcFile("/proc/self/setgroups", "deny");
    if (!WriteProcFile("/proc/self/uid_map", QByteArray::number(uint(uid)).prepend("0 ") + " 1") ||
        !WriteProcFile("/proc/self/gid_map", QByteArray::number(uint(gid)).prepend("0 ") + " 1"))
      return false;
  }
  // Mounts made here stay in here.
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
  Entered() = true;
  return true;
}

inline bool Available() {
  return Entered();
}

// Mounts an empty file system of `bytes` bytes on the folder dir.
inline bool MountSmallDisk(const QString& dir, qint64 bytes) {
  const QByteArray options = "size=" + QByteArray::number(bytes);
  return Available() &&
         ::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, options.constData()) == 0;
}

// Makes the file system mounted on dir read-only.
inline bool MakeReadOnly(const QString& dir) {
  return Available() && ::mount(nullptr, QFile::encodeName(dir).constData(), nullptr,
                                MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

// Takes away what was mounted on dir, if anything.
inline void Unmount(const QString& dir) {
  if (Available()) ::umount2(QFile::encodeName(dir).constData(), MNT_DETACH);
}

// Fills the disk of dir until no byte more fits.
inline void FillDisk(const QString& dir) {
  QFile filler(dir + QStringLiteral("/filler"));
  if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
  const QByteArray block(4096, 'x');
  while (filler.write(block) == block.size()) {
  }
  while (filler.write("x", 1) == 1) {
  }
}

}  // namespace ScratchMounts
