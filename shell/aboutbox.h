#pragma once
// The About box: product name, versions, the drive the program runs from and
// a link to the maker's page. Also serves as the start-up splash.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class TLinkLabel;

class TfrmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmAbout(QWidget* parent = nullptr);

  // Client heights of the box as a dialog and as the splash (without "Ok").
  static constexpr int kDialogHeight = 196;
  static constexpr int kSplashHeight = 166;

  // The maker's software page opened by the link.
  static QUrl SoftwarePage();

  // Shows the box as the start-up splash: without "Ok", above all other
  // windows, not taking the focus, centred over `owner`'s client area.
  void ShowAsSplash(const QWidget* owner);
  // Closes the splash and makes the box a dialog again.
  void EndSplash();
  // Completes the version line with `buildText`, names the address
  // library's version and says where the program runs from.
  void SetVersionTexts(const QString& buildText, const QString& libraryVersion,
                       const QString& portInfo);
  // Runs the box modally as a dialog, centred over `owner`'s client area.
  int ExecOver(const QWidget* owner);

  QFrame* Panel1;
  QLabel* Label1;
  QLabel* VerLabel;
  QLabel* lblIPv4Ver;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label5;
  TLinkLabel* LinkLabel;
  QPushButton* btnOk;
  QLabel* lblPortInfo;

  void FormClick();
  void btnOkClick();
  void LinkLabelClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void CentreOver(const QWidget* owner);
  // Set for the splash and never cleared: the box then stays above all
  // other windows.
  bool FStayOnTop = false;
};
