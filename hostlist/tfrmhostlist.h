#pragma once
// The IP Host List Editor: a modal dialog listing every address of one
// network with a host name, to name hosts and to save and open host list files.

#include <QDialog>
#include <QString>
#include <functional>

#include "common/handover.h"
#include "hostlist/hostlistfile.h"
#include "hostlist/hostlistmodel.h"
#include "ipv4lib/ipv4host.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class THostListView;

class TfrmHostList : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmHostList(QWidget* parent = nullptr);
  ~TfrmHostList() override;

  // Takes over the request and shows the editor modally.
  int Execute(const THostListRequest& request);

  // Fills the list anew for FNetwork (runs at every showing).
  void GenerateHostList();
  void SaveHostList();
  void OpenHostList();

  void lvHostsSelectItem();
  void edtHostNameChange();
  void edtHostNameKeyPress();
  void pmPopupPopup();
  void Selectall1Click();
  void Copyselected1Click();
  void Copytable1Click();
  void Pasteselcted1Click();
  void Edit1Click();
  void btnHelpClick();
  // Asks before unsaved changes are discarded; true when the editor may close.
  bool FormCloseQuery();
  void reject() override;

  // Inputs, set before each showing.
  QString FTitle;
  ipv4host FNetwork;
  QChar FCsvDelimiter = QLatin1Char(';');
  int FMaxListItems = 4096;
  QString FExaminedAddress;
  bool FShowHints = true;

  bool FModified = false;
  // Names given to rows (Enter, paste) since the list was made or saved: a
  // close asks before they are lost, as it does for the field's text.
  bool FNamesChanged = false;
  int FRowCount = 0;
  int FMinWidth = 0;

  // The main window's status bar text: read, and set ("" clears it).
  std::function<QString()> StatusText;
  std::function<void(const QString&)> SetStatusText;
  // How the file writer puts its blocks on disk; empty for the real write.
  TBlockWriteFn FWriteBlock;

  THostListModel* model;
  THostListView* lvHosts;
  QLabel* Label1;
  QLineEdit* edtHostName;
  QPushButton* btnOpen;
  QPushButton* btnSave;
  QPushButton* btnClose;
  QPushButton* btnHelp;
  QStatusBar* sbStatus;
  QLabel* pnlHostCount;
  QMenu* pmPopup;
  QAction* Selectall1;
  QAction* N1;
  QAction* Copyselected1;
  QAction* Copytable1;
  QAction* Pasteselcted1;
  QAction* N2;
  QAction* Edit1;

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Gives the selected rows the typed name (only when something was typed).
  void Commit();
  // Selects `row` alone, makes it current and scrolls it into view; a row
  // outside the list leaves none selected.
  void SelectRow(int row);
  // Shows the selected row's name again after names changed underneath,
  // leaving FModified as it was.
  void RefreshNameField();
  // "FTitle (file name)".
  void ShowFileCaption(const QString& path);
  bool ConfirmDelimiterClash(char delimiter);
  // A list cut at the row limit holds fewer hosts than the network: the
  // user says whether to save it all the same. True for a complete list.
  bool ConfirmCutList();

  // Set by typing, cleared when the field is filled from the list or committed.
  bool FFieldEdited = false;
  QString FLastFolder;
};
