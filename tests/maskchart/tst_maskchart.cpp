// The Mask Chart and the Subnetting dialog driven through real windows: menu
// rules with the copy entries, toggles, the round trip through the dialog,
// sizes and colours.

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "common/optionsrec.h"
#include "common/settingsstore.h"
#include "common/themecolors.h"
#include "common/widgethelpers.h"
#include "guifixture.h"
#include "maskchart/subnettingdialog.h"
#include "maskchart/tcmaskchart.h"
#include "togglelook.h"

namespace {

QString SelectedMask(const QTreeWidget* view) {
  const QList<QTreeWidgetItem*> s = view->selectedItems();
  return s.size() == 1 ? s.first()->text(0) : QString();
}

// Clicks (or double-clicks) the row of mask; an empty mask clears the selection.
void ClickRow(QTreeWidget* view, const QString& mask, bool twice = false) {
  if (mask.isEmpty()) return view->clearSelection();
  const QList<QTreeWidgetItem*> found = view->findItems(mask, Qt::MatchExactly, 0);
  QVERIFY(found.size() == 1);
  view->scrollToItem(found.first());
  const QPoint at = view->visualItemRect(found.first()).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
  if (twice) QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class TestMaskChart : public QObject, protected GuiFixture {
  Q_OBJECT
  TfrmSubnetting* FDialog = nullptr;
  TcMaskChart* FChart = nullptr;

  // Opens the pop-up menu as a right-click over the list does.
  void PopUp() {
    QWidget* viewport = FChart->lvChartList->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                            viewport->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(viewport, &event);
    QVERIFY(FChart->pmChartMenu->isVisible());
  }

 private slots:
  void init() {
    SetUpGui();
    ShowArea(900, 700);
    FDialog = new TfrmSubnetting(FArea.get());
    FChart = new TcMaskChart;
    FArea->addSubWindow(FChart);
    FChart->FWindowKind = wkMaskChart;
    FChart->SetSubnettingDialog(FDialog);
    FChart->ApplyOptions(TOptionsRec());
    FChart->show();
  }
  void cleanup() { TearDownGui(); }

  // The copy entries need one row and copy its cells; subnetting needs a mask
  // shorter than /30.
  void menuRules_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("subnetting");
    QTest::addColumn<QStringList>("copied");
    auto row = [](const char* mask, bool subnetting, const QStringList& copied) {
      QTest::newRow(mask) << QString(mask) << subnetting << copied;
    };
    row("240.0.0.0", true, {"240.0.0.0", "/4", "268435454", "15.255.255.255"});
    row("255.255.255.248", true, {"255.255.255.248", "/29", "6", "0.0.0.7"});
    row("255.255.255.252", false, {"255.255.255.252", "/30", "2", "0.0.0.3"});
    row("255.255.255.254", false, {"255.255.255.254", "/31", "2", "0.0.0.1"});
    row("255.255.255.255", false, {"255.255.255.255", "/32", "Host Mask", "0.0.0.0"});
    row("", false, {});
  }
  void menuRules() {
    QFETCH(QString, mask);
    QFETCH(bool, subnetting);
    QFETCH(QStringList, copied);
    ClickRow(FChart->lvChartList, mask);
    PopUp();
    const QList<QAction*> copies{FChart->CopySubnetMask1, FChart->CopyPrefix1,
                                 FChart->CopyNumberofHosts1, FChart->CopyWildcardBitmask1};
    for (QAction* a : copies) QCOMPARE(a->isEnabled(), !mask.isEmpty());
    QCOMPARE(FChart->ShowSubnetting1->isEnabled(), subnetting);
    QVERIFY(FChart->ClassASupernets1->isEnabled() && FChart->RFC3021Subnets1->isEnabled());
    FChart->pmChartMenu->close();
    for (QAction* a : copies) a->trigger();
    QCOMPARE(FServices->clipboard, copied);
  }

  // Menu entry and tool bar button stay in step both ways; the chart starts
  // again at its first row.
  void toggles_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("first");
    QTest::newRow("ClassASupernets1") << "ClassASupernets1" << 25 << "255.0.0.0";
    QTest::newRow("sbtnClassASupernets") << "sbtnClassASupernets" << 25 << "255.0.0.0";
    QTest::newRow("RFC3021Subnets1") << "RFC3021Subnets1" << 31 << "128.0.0.0";
    QTest::newRow("sbtnRFC3021Subnet") << "sbtnRFC3021Subnet" << 31 << "128.0.0.0";
  }
  void toggles() {
    QFETCH(QString, control);
    QFETCH(int, rows);
    QFETCH(QString, first);
    auto click = [&] {
      if (auto* button = FChart->findChild<QToolButton*>(control))
        QTest::mouseClick(button, Qt::LeftButton);
      else
        FChart->findChild<QAction*>(control)->trigger();
    };
    ClickRow(FChart->lvChartList, "255.255.0.0");
    click();
    const bool classA = rows == 31;
    QCOMPARE(QList<bool>(
                 {FChart->ClassASupernets1->isChecked(), FChart->sbtnClassASupernets->isChecked(),
                  FChart->RFC3021Subnets1->isChecked(), FChart->sbtnRFC3021Subnet->isChecked()}),
             QList<bool>({classA, classA, !classA, !classA}));
    QCOMPARE(FChart->lvChartList->topLevelItemCount(), rows);
    QCOMPARE(SelectedMask(FChart->lvChartList), first);
    QCOMPARE(FChart->windowTitle(), "IPv4 Mask Chart " + first);
    click();
    QCOMPARE(FChart->lvChartList->topLevelItemCount(), 32);
  }

  // Down or up shows at a glance, also when set from the menu: down, the
  // toggle is filled with the highlight colour.
  void togglesShowTheirState() {
    for (QToolButton* button : {FChart->sbtnClassASupernets, FChart->sbtnRFC3021Subnet}) {
      QVERIFY(qobject_cast<TToolBarToggle*>(button));
      QCOMPARE(ToggleFill(button) == ToggleHighlight(button), button->isChecked());
      button->click();
      QCOMPARE(ToggleFill(button) == ToggleHighlight(button), button->isChecked());
    }
    FChart->RFC3021Subnets1->trigger();
    QCOMPARE(ToggleFill(FChart->sbtnRFC3021Subnet) == ToggleHighlight(FChart->sbtnRFC3021Subnet),
             FChart->sbtnRFC3021Subnet->isChecked());
  }

  // Opened from /24 by double-click, Enter or the menu; the chart then selects
  // what the dialog returned.
  void subnettingRoundTrip_data() {
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("returned");
    auto row = [](const char* open, const char* answer, const char* returned) {
      QTest::newRow(qPrintable(QString("%1, %2").arg(open, answer)))
          << QString(open) << QString(answer) << QString(returned);
    };
    row("double-click", "pick /26", "255.255.255.192");
    row("Enter", "Enter on /31", "255.255.255.254");
    row("menu", "Close", "");
    row("menu", "Escape", "");
    row("double-click", "close box", "255.255.255.0");
    row("Enter", "double-click below the rows", "255.255.255.0");
    row("double-click", "F1, then Close", "");
  }
  void subnettingRoundTrip() {
    QFETCH(QString, open);
    QFETCH(QString, answer);
    QFETCH(QString, returned);
    QTreeWidget* list = FChart->lvChartList;
    QString caption;
    QPoint centre;
    QTimer::singleShot(0, [&] {
      if (QApplication::activeModalWidget() != FDialog) return;
      caption = FDialog->windowTitle();
      centre = FDialog->frameGeometry().center();
      QTreeWidget* rows = FDialog->lvSubnets;
      if (answer == "pick /26") {
        ClickRow(rows, "255.255.255.192", true);
      } else if (answer == "Enter on /31") {
        ClickRow(rows, "255.255.255.254");
        QTest::keyClick(rows, Qt::Key_Enter);
      } else if (answer == "Close") {
        QTest::mouseClick(FDialog->btnClose, Qt::LeftButton);
      } else if (answer == "Escape") {
        QTest::keyClick(rows, Qt::Key_Escape);
      } else if (answer == "F1, then Close") {
        QTest::keyClick(rows, Qt::Key_F1);
        FServices->helpTopics.append(-1);  // marks that the dialog was still up
        QTest::mouseClick(FDialog->btnClose, Qt::LeftButton);
      } else if (answer == "close box") {
        FDialog->close();
      } else {
        rows->clearSelection();
        QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {},
                           QPoint(20, rows->viewport()->height() - 5));
      }
    });
    ClickRow(list, "255.255.255.0", open == "double-click");
    if (open == "Enter") QTest::keyClick(list, Qt::Key_Return);
    if (open == "menu") {
      PopUp();
      FChart->pmChartMenu->close();  // as a click on the entry does first
      FChart->ShowSubnetting1->trigger();
    }
    QVERIFY(!FDialog->isVisible());
    QCOMPARE(caption, QString("Subnetting for a subnet mask: 255.255.255.0"));
    QCOMPARE(centre, FDialog->screen()->availableGeometry().center());
    QCOMPARE(FDialog->FMaskText, returned);
    // F1 in the dialog opens the Mask Chart's topic and leaves the dialog up.
    if (answer == "F1, then Close") QCOMPARE(FServices->helpTopics, QList<int>({2000, -1}));
    const QString selected = returned.isEmpty() ? "255.255.255.0" : returned;
    QCOMPARE(SelectedMask(list), selected);
    QCOMPARE(FChart->windowTitle(), "IPv4 Mask Chart " + selected);
    // The chart has the keyboard again, and a picked row below the visible
    // part is scrolled into view.
    QTRY_VERIFY(list->hasFocus());
    QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->selectedItems()[0])));
  }

  // The row colours are made for light backgrounds: on a dark one each row
  // is drawn in a readable colour of the same hue.
  void rowColoursFollowThePalette() {
    QTreeWidget* list = FChart->lvChartList;
    QCOMPARE(list->topLevelItem(0)->foreground(0).color(), QColor(0, 0, 255));
    QPalette dark = list->palette();
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    list->setPalette(dark);
    FChart->BuildMaskChart();
    const QColor drawn = list->topLevelItem(0)->foreground(0).color();
    QCOMPARE(drawn.hslHue(), QColor(0, 0, 255).hslHue());
    QVERIFY(ContrastRatio(drawn, QColor(30, 30, 30)) >= 4.5);
  }
};

QTEST_MAIN(TestMaskChart)
#include "tst_maskchart.moc"
