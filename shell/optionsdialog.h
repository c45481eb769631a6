#pragma once
// The options dialog: edits the program-wide options, stores them in
// [Options] of the settings file and fills the options record that the main
// window hands to every tool window.

#include <QDialog>
#include <QVector>

#include "common/options.h"
#include "common/optionsrec.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TLinkLabel;

class TfrmLOptions : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmLOptions(QWidget* parent = nullptr);

  enum TReadMode { rmLoad, rmCompare };
  // Load: fills the controls and the record from the settings file.
  // Compare: true when the controls differ from the settings file.
  bool ReadOptions(TReadMode mode);
  // The options as the controls show them.
  TStoredOptions OptionsFromControls() const;
  // Puts stored options into the controls.
  void ShowOptions(const TStoredOptions& options);
  // Writes the controls to the settings file (nothing when it cannot be
  // written); false when the limit field holds no valid number.
  bool WriteOptions();
  void FillOptionsRec();
  int StartupPagesFromChecks() const;
  void SetDelimiter(int index);
  // The selected MAC format, -1 when a text was typed instead.
  int MacFormatIndex() const;
  int HelpContext() const { return FHelpContext; }
  // Shows the page of tree node `position` (0..6).
  void SelectNode(int position);

  // Names the settings file the options live in and the per-user folder,
  // both handed on in the options record.
  void SetSettingsFiles(const QString& iniFileName, const QString& userDataDir);
  // The options record for the tool windows.
  const TOptionsRec& Options() const { return FOptions; }
  // The start-up page set as last loaded or saved.
  int StartupPages() const { return FStartupPages; }
  // Whether the last modal run left options for the tool windows to take.
  bool Accepted() const { return FAccepted; }

  bool FAccepted = false;
  int FStartupPages = kStartIpCalc;
  int FBitWidthByte = 0;
  int FMaxListItems = 4096;
  QChar FCsvDelimiter = QLatin1Char(';');
  TOptionsRec FOptions;

  QTreeWidget* tvOptions;
  QStackedWidget* pgPages;
  QFrame* pnlOptions;
  QFrame* pnlStartup;
  QFrame* pnlIntCalc;
  QFrame* pnlMiscellaneous;
  QFrame* pnlGeneral;
  QFrame* pnlPaths;
  QFrame* pnlFormat;
  TLinkLabel* lblStartupOptions;
  TLinkLabel* lblIntCalcOptions;
  TLinkLabel* lblMiscellaneous;
  TLinkLabel* lblGeneralOptions;
  TLinkLabel* lblPaths;
  TLinkLabel* lblDataFormats;
  QListWidget* clbStartup;
  QCheckBox* cbxRestoreDesktop;
  QRadioButton* rbtnVariable;
  QRadioButton* rbtn16;
  QRadioButton* rbtn32;
  QRadioButton* rbtn64;
  QCheckBox* cbxHighlightLow32;
  QListWidget* clbGeneral;
  QLineEdit* edtMaxItems;
  QLineEdit* edtIANALink;
  QComboBox* cbxMACFormat;
  QComboBox* cboxCsvDelimiter;
  QPushButton* btnOk;
  QPushButton* btnCancel;
  QPushButton* btnHelp;

  void btnOkClick();
  void btnCancelClick();
  void btnHelpClick();
  void tvOptionsClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool GeneralChecked(int item) const;
  void SetGeneralChecked(int item, bool on);
  void UpdateHints();
  void SetBitWidth(int bits);
  // The limit field as a number; false when it holds none.
  bool MaxItemsValue(int* value) const;
  bool ConfirmMaxItems();

  QVector<QTreeWidgetItem*> FNodes;
  QVector<QFrame*> FPages;
  int FHelpContext = 19100;
};
