#pragma once
// The settings file "orvex.ini". A SettingsFile is opened for one task (load a
// window, save a window, load or save the options) and dropped right after.
// Section and key names are case-insensitive. Every write replaces the file
// atomically, so a failed write leaves the previous file intact; keys,
// sections and comments the program does not know survive every write.

#include <QString>
#include <memory>

class SettingsFile {
 public:
  // Reads the file now; a missing or unreadable file reads as empty.
  explicit SettingsFile(const QString& path);
  ~SettingsFile();
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  // A missing key or a value that is not a decimal number gives def.
  int ReadInteger(const QString& section, const QString& key, int def) const;
  // Stored as an integer; non-zero is true; a missing key gives def.
  bool ReadBool(const QString& section, const QString& key, bool def) const;
  bool ValueExists(const QString& section, const QString& key) const;

  // Each write stores the key and replaces the file; false when the file could
  // not be written (the file on disk is then unchanged).
  bool WriteString(const QString& section, const QString& key, const QString& value);
  bool WriteInteger(const QString& section, const QString& key, int value);
  bool WriteBool(const QString& section, const QString& key, bool value);
  // Removes the key and replaces the file; false when the file could not be written.
  bool DeleteKey(const QString& section, const QString& key);

  // Write probe used before the options and calculator saves: writes
  // [MRIP] Test=1 and deletes it again; false when either step failed.
  bool Probe();

 private:
  // Rereads the file; every call starts from what is on disk.
  void Reload() const;
  bool RemoveKey(const QString& section, const QString& key, bool dropEmptySection);
  bool Flush();
  QString FPath;
  struct Impl;
  std::unique_ptr<Impl> d;
};

// The settings file path of this run, fixed by the main window at start-up
// (tests set their own).
QString IniFileName();
void SetIniFileName(const QString& path);
