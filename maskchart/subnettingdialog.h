#pragma once
// The Subnetting dialog: for one subnet mask, how a network of that size
// divides into smaller subnets. Created once and shown modally for each use;
// a longer mask can be picked by double-click.

#include <QDialog>
#include <QString>

// Help topic of the Mask Chart and its Subnetting dialog.
constexpr int kMaskChartHelpTopic = 2000;

class QPushButton;
class QTreeWidget;

class TfrmSubnetting : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmSubnetting(QWidget* parent = nullptr);

  // Shows the dialog modally, centred on the screen, for FMaskText and
  // returns FMaskText as it is afterwards: the picked mask, "" after
  // "Close", or the caller's text when the window was closed otherwise.
  QString Execute();

  // Fills caption and list from FMaskText and FRFC3021Subnets.
  void FormShow();
  // Picks the selected mask, if exactly one row is selected, and closes.
  void lvSubnetsDblClick();
  // Empties FMaskText and closes.
  void btnCloseClick();

  // In: dotted text of the mask to subnet. Out: see Execute.
  QString FMaskText;
  // List down to /31 instead of /30.
  bool FRFC3021Subnets = false;

  QTreeWidget* lvSubnets = nullptr;
  QPushButton* btnClose = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CentreOnScreen();
};
