#pragma once
// The program's one door to modal boxes and the desktop: message boxes, file
// dialogs, web addresses, help topics and the clipboard. The program uses the
// Qt implementation; tests install a recording one so nothing blocks.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>

class QWidget;

class Services {
 public:
  enum class Icon { None, Information, Warning, Stop, Question };
  enum Button { Ok = 0x1, Yes = 0x2, No = 0x4, Cancel = 0x8 };
  // Names the default button of a box: Yes | No | DefaultIs(No).
  static constexpr int DefaultIs(int button) { return button << 8; }

  // A file dialog's caption, file types with the one preselected (0-based),
  // default extension, preset file name and starting folder.
  struct FileDialog {
    QString caption;
    QStringList filters;
    int filterIndex = 0;
    QString defaultSuffix;
    QString fileName;
    QString directory;
  };

  // A progress box with a Cancel button; it appears only when the task takes
  // a while and closes when destroyed.
  class Progress {
   public:
    virtual ~Progress() = default;
    // Shows `done` of the total; false once the user has cancelled.
    virtual bool Step(qint64 done) = 0;
  };

  virtual ~Services() = default;

  // Shows a modal message box; returns the Button pressed.
  virtual int MessageBox(QWidget* parent, const QString& caption, const QString& text, Icon icon,
                         int buttons = Ok) = 0;
  // Open (the file must exist) and save (asks before replacing a file)
  // dialogs; the chosen path, "" when cancelled. `d.filterIndex` is set to
  // the file type chosen.
  virtual QString ChooseOpenFile(QWidget* parent, FileDialog& d) = 0;
  virtual QString ChooseSaveFile(QWidget* parent, FileDialog& d) = 0;
  // Starts a progress box for a task of `total` steps.
  virtual std::unique_ptr<Progress> StartProgress(QWidget* parent, const QString& caption,
                                                  const QString& text, qint64 total) = 0;
  // Opens a web address in the desktop's browser; false when that failed.
  virtual bool OpenUrl(const QUrl& url) = 0;
  // Shows help topic `context` (500, 1000, 1900, ...).
  virtual void ShowHelp(int context) = 0;
  // Puts plain text on the clipboard.
  virtual void SetClipboardText(const QString& text) = 0;
  // The plain text on the clipboard.
  virtual QString ClipboardText() = 0;

  // The services in use (the Qt ones unless a test installed others).
  static Services& Instance();
  // Installs s (not owned); nullptr restores the Qt implementation.
  static void Install(Services* s);
};

// Message box with caption "Error", the stop icon and an OK button.
void ShowErrorBox(QWidget* parent, const QString& text);
