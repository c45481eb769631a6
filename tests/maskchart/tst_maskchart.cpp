// The Mask Chart and the Subnetting dialog driven through real windows: menu
// rules, toggles, copy commands, the round trip through the dialog, sizes.

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "maskchart/subnettingdialog.h"
#include "maskchart/tcmaskchart.h"
#include "recordingservices.h"
#include "shell/optionsrec.h"
#include "shell/settingsstore.h"

namespace {

int RowOf(const QTreeWidget* view, const QString& mask) {
  for (int i = 0; i < view->topLevelItemCount(); ++i)
    if (view->topLevelItem(i)->text(0) == mask) return i;
  return -1;
}

QString SelectedMask(const QTreeWidget* view) {
  const QList<QTreeWidgetItem*> s = view->selectedItems();
  return s.size() == 1 ? s.first()->text(0) : QString();
}

QPoint RowCentre(QTreeWidget* view, int row) {
  view->scrollToItem(view->topLevelItem(row));
  return view->visualItemRect(view->topLevelItem(row)).center();
}

void ClickRow(QTreeWidget* view, int row) {
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, RowCentre(view, row));
}

void DoubleClickRow(QTreeWidget* view, int row) {
  const QPoint at = RowCentre(view, row);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class TestMaskChart : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> FDir;
  std::unique_ptr<RecordingServices> FServices;
  std::unique_ptr<QMdiArea> FArea;
  TfrmSubnetting* FDialog = nullptr;
  TcMaskChart* FChart = nullptr;

  TcMaskChart* Open(const TOptionsRec& options = TOptionsRec()) {
    auto* chart = new TcMaskChart;
    FArea->addSubWindow(chart);
    chart->FWindowKind = wkMaskChart;
    chart->SetSubnettingDialog(FDialog);
    chart->ApplyOptions(options);
    chart->show();
    return chart;
  }
  // Opens the context menu over the list as a right-click does.
  QMenu* PopUp() {
    QTreeWidget* list = FChart->lvChartList;
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                            list->viewport()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(list->viewport(), &event);
    return FChart->pmChartMenu;
  }
  // Runs answer on the dialog once it is up; returns whether it came up.
  bool WhileModal(const std::function<void()>& open, const std::function<void()>& answer) {
    bool shown = false;
    QTimer::singleShot(0, [&] {
      if (QApplication::activeModalWidget() != FDialog) return;
      shown = true;
      answer();
    });
    open();
    QCoreApplication::processEvents();
    return shown;
  }

 private slots:
  void init() {
    FDir = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", FDir->path().toLocal8Bit());
    SetIniFileName(FDir->filePath("orvex.ini"));
    FServices = std::make_unique<RecordingServices>();
    FArea = std::make_unique<QMdiArea>();
    FArea->resize(900, 700);
    FArea->show();
    FDialog = new TfrmSubnetting(FArea.get());
    FChart = Open();
  }
  void cleanup() {
    FArea.reset();
    FServices.reset();
  }

  void layout() {
    QTreeWidget* list = FChart->lvChartList;
    QCOMPARE(list->headerItem()->text(2), QString("Number of Hosts "));
    QVERIFY(list->topLevelItem(0)->textAlignment(2) & Qt::AlignRight);
    QCOMPARE(FChart->HelpContext(), 2000);
    // Every column as wide as its header and its longest cell.
    const QFontMetrics fm(list->font());
    for (int c = 0; c < list->columnCount(); ++c) {
      QVERIFY(list->columnWidth(c) > fm.horizontalAdvance(list->headerItem()->text(c)));
      for (int i = 0; i < list->topLevelItemCount(); ++i)
        QVERIFY(list->columnWidth(c) > fm.horizontalAdvance(list->topLevelItem(i)->text(c)));
    }
  }

  // Copy entries and "Show Subnetting..." need one row; subnetting needs a
  // mask that is shorter than /30.
  void menuRules_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("copy");
    QTest::addColumn<bool>("subnetting");
    QTest::newRow("/4 supernet") << "240.0.0.0" << true << true;
    QTest::newRow("/29") << "255.255.255.248" << true << true;
    QTest::newRow("/30") << "255.255.255.252" << true << false;
    QTest::newRow("/31") << "255.255.255.254" << true << false;
    QTest::newRow("/32") << "255.255.255.255" << true << false;
    QTest::newRow("no row") << "" << false << false;
  }
  void menuRules() {
    QFETCH(QString, mask);
    QFETCH(bool, copy);
    QFETCH(bool, subnetting);
    QTreeWidget* list = FChart->lvChartList;
    if (mask.isEmpty())
      list->clearSelection();
    else
      ClickRow(list, RowOf(list, mask));
    QMenu* menu = PopUp();
    QVERIFY(menu->isVisible());
    for (QAction* a : {FChart->CopySubnetMask1, FChart->CopyPrefix1, FChart->CopyNumberofHosts1,
                       FChart->CopyWildcardBitmask1})
      QCOMPARE(a->isEnabled(), copy);
    QCOMPARE(FChart->ShowSubnetting1->isEnabled(), subnetting);
    QVERIFY(FChart->ClassASupernets1->isEnabled() && FChart->RFC3021Subnets1->isEnabled());
    menu->close();
  }

  // Menu entry and tool bar button stay in step both ways.
  void toggles_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("classA");
    QTest::addColumn<bool>("rfc3021");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("caption");
    QTest::newRow("ClassASupernets1") << "ClassASupernets1" << false << true << 25 << "255.0.0.0";
    QTest::newRow("sbtnClassASupernets")
        << "sbtnClassASupernets" << false << true << 25 << "255.0.0.0";
    QTest::newRow("RFC3021Subnets1") << "RFC3021Subnets1" << true << false << 31 << "128.0.0.0";
    QTest::newRow("sbtnRFC3021Subnet") << "sbtnRFC3021Subnet" << true << false << 31 << "128.0.0.0";
  }
  void toggles() {
    QFETCH(QString, control);
    QFETCH(bool, classA);
    QFETCH(bool, rfc3021);
    QFETCH(int, rows);
    QFETCH(QString, caption);
    auto click = [&] {
      if (auto* button = FChart->findChild<QToolButton*>(control))
        QTest::mouseClick(button, Qt::LeftButton);
      else
        FChart->findChild<QAction*>(control)->trigger();
    };
    ClickRow(FChart->lvChartList, 12);
    click();
    QCOMPARE(FChart->FClassASupernets, classA);
    QCOMPARE(FChart->FRFC3021Subnets, rfc3021);
    QCOMPARE(FChart->ClassASupernets1->isChecked(), classA);
    QCOMPARE(FChart->sbtnClassASupernets->isChecked(), classA);
    QCOMPARE(FChart->RFC3021Subnets1->isChecked(), rfc3021);
    QCOMPARE(FChart->sbtnRFC3021Subnet->isChecked(), rfc3021);
    QCOMPARE(FChart->lvChartList->topLevelItemCount(), rows);
    QCOMPARE(SelectedMask(FChart->lvChartList), caption);
    QCOMPARE(FChart->windowTitle(), "IPv4 Mask Chart " + caption);
    click();
    QCOMPARE(FChart->lvChartList->topLevelItemCount(), 32);
    QVERIFY(FChart->sbtnClassASupernets->isChecked() && FChart->RFC3021Subnets1->isChecked());
    // A change of options takes the stored values again.
    TOptionsRec options;
    options.EnableClassASupernets = false;
    options.RFC3021Subnets = false;
    FChart->ApplyOptions(options);
    FChart->RefreshDisplay();
    QCOMPARE(FChart->lvChartList->topLevelItemCount(), 24);
    QVERIFY(!FChart->sbtnClassASupernets->isChecked() && !FChart->RFC3021Subnets1->isChecked());
  }

  void copy_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("text");
    QTest::newRow("CopySubnetMask1 /1") << "CopySubnetMask1"
                                        << "128.0.0.0"
                                        << "128.0.0.0";
    QTest::newRow("CopyPrefix1 /24") << "CopyPrefix1"
                                     << "255.255.255.0"
                                     << "/24";
    QTest::newRow("CopyNumberofHosts1 /1") << "CopyNumberofHosts1"
                                           << "128.0.0.0"
                                           << "2147483646";
    QTest::newRow("CopyNumberofHosts1 /32") << "CopyNumberofHosts1"
                                            << "255.255.255.255"
                                            << "Host Mask";
    QTest::newRow("CopyWildcardBitmask1 /31") << "CopyWildcardBitmask1"
                                              << "255.255.255.254"
                                              << "0.0.0.1";
    QTest::newRow("CopySubnetMask1, no row") << "CopySubnetMask1"
                                             << ""
                                             << "";
  }
  void copy() {
    QFETCH(QString, entry);
    QFETCH(QString, mask);
    QFETCH(QString, text);
    QTreeWidget* list = FChart->lvChartList;
    if (mask.isEmpty())
      list->clearSelection();
    else
      ClickRow(list, RowOf(list, mask));
    PopUp();
    FChart->findChild<QAction*>(entry)->trigger();
    FChart->pmChartMenu->close();
    QCOMPARE(FServices->clipboard, text.isEmpty() ? QStringList() : QStringList{text});
  }

  // Opened from /24 by double-click, Enter or the menu; the chart then shows
  // what the dialog returned.
  void subnettingRoundTrip_data() {
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("returned");
    QTest::addColumn<QString>("selected");
    QTest::newRow("double-click, pick /26") << "double-click"
                                            << "pick /26"
                                            << "255.255.255.192"
                                            << "255.255.255.192";
    QTest::newRow("Enter, pick /31 by Enter") << "Enter"
                                              << "Enter on /31"
                                              << "255.255.255.254"
                                              << "255.255.255.254";
    QTest::newRow("menu, Close") << "menu"
                                 << "Close"
                                 << ""
                                 << "255.255.255.0";
    QTest::newRow("menu, Escape") << "menu"
                                  << "Escape"
                                  << ""
                                  << "255.255.255.0";
    QTest::newRow("double-click, close box") << "double-click"
                                             << "close box"
                                             << "255.255.255.0"
                                             << "255.255.255.0";
    QTest::newRow("Enter, double-click below the rows") << "Enter"
                                                        << "blank double-click"
                                                        << "255.255.255.0"
                                                        << "255.255.255.0";
  }
  void subnettingRoundTrip() {
    QFETCH(QString, open);
    QFETCH(QString, answer);
    QFETCH(QString, returned);
    QFETCH(QString, selected);
    QTreeWidget* list = FChart->lvChartList;
    const int row24 = RowOf(list, "255.255.255.0");
    auto opener = [&] {
      if (open == "double-click") {
        DoubleClickRow(list, row24);
      } else if (open == "Enter") {
        ClickRow(list, row24);
        QTest::keyClick(list, Qt::Key_Return);
      } else {
        ClickRow(list, row24);
        PopUp();
        FChart->ShowSubnetting1->trigger();
        FChart->pmChartMenu->close();
      }
    };
    QString caption;
    QPoint centre;
    const bool shown = WhileModal(opener, [&] {
      caption = FDialog->windowTitle();
      centre = FDialog->frameGeometry().center();
      QTreeWidget* rows = FDialog->lvSubnets;
      if (answer == "pick /26") {
        DoubleClickRow(rows, RowOf(rows, "255.255.255.192"));
      } else if (answer == "Enter on /31") {
        ClickRow(rows, RowOf(rows, "255.255.255.254"));
        QTest::keyClick(rows, Qt::Key_Enter);
      } else if (answer == "Close") {
        QTest::mouseClick(FDialog->btnClose, Qt::LeftButton);
      } else if (answer == "Escape") {
        QTest::keyClick(rows, Qt::Key_Escape);
      } else if (answer == "close box") {
        FDialog->close();
      } else {
        rows->clearSelection();
        QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {},
                           QPoint(20, rows->viewport()->height() - 5));
      }
    });
    QVERIFY(shown);
    QVERIFY(!FDialog->isVisible());
    QCOMPARE(caption, QString("Subnetting for a subnet mask: 255.255.255.0"));
    QCOMPARE(centre, FDialog->screen()->availableGeometry().center());
    QCOMPARE(FDialog->FMaskText, returned);
    QCOMPARE(SelectedMask(list), selected);
    QCOMPARE(FChart->windowTitle(), "IPv4 Mask Chart " + selected);
    // The chart has the keyboard again, whoever gives back the activation.
    QTRY_VERIFY(list->hasFocus());
    if (answer.startsWith("pick") || answer.startsWith("Enter")) {
      // Picked rows below the visible part are scrolled into view.
      QVERIFY(
          list->viewport()->rect().contains(list->visualItemRect(list->selectedItems().first())));
    }
  }

  // The dialog is not shown for masks that have nothing below /30.
  void noSubnettingFromSlash30() {
    QTreeWidget* list = FChart->lvChartList;
    const bool shown = WhileModal([&] { DoubleClickRow(list, RowOf(list, "255.255.255.252")); },
                                  [&] { FDialog->close(); });
    QVERIFY(!shown);
    QCOMPARE(SelectedMask(list), QString("255.255.255.252"));
  }

  void sizeIsRemembered() {
    FChart->resize(500, 450);
    FChart->close();
    const SettingsFile ini(IniFileName());
    QCOMPARE(ini.ReadInteger("Size", "Width3", 0), 500);
    QCOMPARE(ini.ReadInteger("Size", "Height3", 0), 450);
    QCOMPARE(Open()->size(), QSize(500, 450));
    TOptionsRec noRecall;
    noRecall.RecallDesktopSettings = false;
    QVERIFY(Open(noRecall)->size() != QSize(500, 450));
  }

  // The row colours are dark: on a dark background the rows keep the
  // palette's text colour.
  void rowColoursOnLightPaletteOnly() {
    QTreeWidget* list = FChart->lvChartList;
    QCOMPARE(list->topLevelItem(0)->foreground(0).color(), QColor(0, 0, 255));
    QPalette dark = list->palette();
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    list->setPalette(dark);
    FChart->BuildMaskChart();
    QCOMPARE(list->topLevelItem(0)->foreground(0).style(), Qt::NoBrush);
  }
};

QTEST_MAIN(TestMaskChart)
#include "tst_maskchart.moc"
