// The calculator opens the host list editor: from its number of hosts and
// from its subnetworks list, with title, network, delimiter, limit and the
// highlighted address.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "common/widgethelpers.h"
#include "guifixture.h"
#include "hostlist/hostlistview.h"
#include "hostlist/tfrmhostlist.h"
#include "ipcalc/subnettables.h"
#include "ipcalc/tcipcalc.h"
#include "shell/mainwindow.h"

namespace {

// Reads the modal editor as soon as it is up, then closes it: title, rows,
// host count panel, highlighted address and delimiter.
void CaptureAndClose(QStringList* seen) {
  QTimer::singleShot(0, [seen] {
    auto* d = qobject_cast<TfrmHostList*>(QApplication::activeModalWidget());
    if (!d) return;
    *seen = QStringList{d->windowTitle(), QString::number(d->model->rowCount()),
                        d->pnlHostCount->text(), d->model->HighlightedAddress(), d->FCsvDelimiter};
    d->reject();
  });
}

}  // namespace

class TestHostListHandover : public QObject, protected GuiFixture {
  Q_OBJECT
  std::unique_ptr<TfrmMain> FMain;
  TcIpCalc* FCalc = nullptr;

  // A calculator that examined 192.168.1.10/24, with its own limit and delimiter.
  void Start() {
    FMain.reset(CreateOrvexWindows());
    FMain->show();
    FMain->tmrSplashTimer();
    if (FMain->ToolWindows().isEmpty()) FMain->OpenToolWindow(wkIpCalc);
    FCalc = qobject_cast<TcIpCalc*>(FMain->ToolWindows().first());
    QVERIFY(FCalc);
    FCalc->FMaxListItems = 40;
    FCalc->FCsvDelimiter = QLatin1Char('\t');
    FCalc->edtIPCAddress->setEditText(QStringLiteral("192.168.1.10"));
    FCalc->edtNetworkMask->setText(QStringLiteral("255.255.255.0"));
    FCalc->Examine(true);
    QCOMPARE(FCalc->lblNetwork->text(), QStringLiteral("192.168.1.0  255.255.255.0"));
  }

 private slots:
  void init() { SetUpGui(); }
  void cleanup() {
    FMain.reset();
    TearDownGui();
  }

  void fromNumberOfHosts() {
    Start();
    QStringList status;
    const auto show = FMain->frmHostList->SetStatusText;
    FMain->frmHostList->SetStatusText = [&](const QString& t) {
      status << t;
      show(t);
    };
    FMain->statusBar()->showMessage(QStringLiteral("before"));
    QStringList seen;
    CaptureAndClose(&seen);
    QTest::mouseClick(FCalc->lblNumberOfHosts, Qt::LeftButton);
    // 40 rows and "more...".
    QCOMPARE(seen, (QStringList{"IP Host List for 192.168.1.0  255.255.255.0", "41",
                                "254 hosts, 40 shown", "192.168.1.10", "\t"}));
    QCOMPARE(status, (QStringList{"Generating IP host list, 0 % done...", "before"}));
    QCOMPARE(FMain->statusBar()->currentMessage(), QStringLiteral("before"));
  }

  void fromSubnetworks_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("highlight");
    QTest::newRow("menu, subnet holding the address") << 0 << "menu"
                                                      << "IP Host List for 192.168.1.0/26"
                                                      << "192.168.1.10";
    QTest::newRow("double-click, another subnet") << 1 << "double-click"
                                                  << "IP Host List for 192.168.1.64/26"
                                                  << "";
    QTest::newRow("Enter") << 3 << "enter"
                           << "IP Host List for 192.168.1.192/26"
                           << "";
  }
  void fromSubnetworks() {
    QFETCH(int, row);
    QFETCH(QString, how);
    QFETCH(QString, title);
    QFETCH(QString, highlight);
    Start();
    TSubnetTables* tables = FCalc->subnetTables;
    SelectListItem(tables->lvSubnets, 2);  // /26
    SelectListItem(tables->lvNetworks, row);
    QStringList seen;
    CaptureAndClose(&seen);
    if (how == QLatin1String("menu")) {
      emit tables->pmNetworks->aboutToShow();
      QVERIFY(tables->Showhostlist1->isEnabled());
      tables->Showhostlist1->trigger();
    } else if (how == QLatin1String("double-click")) {
      const QRect r = tables->lvNetworks->visualItemRect(tables->lvNetworks->topLevelItem(row));
      QTest::mouseClick(tables->lvNetworks->viewport(), Qt::LeftButton, {}, r.center());
      QTest::mouseDClick(tables->lvNetworks->viewport(), Qt::LeftButton, {}, r.center());
    } else {
      QTest::keyClick(tables->lvNetworks, Qt::Key_Return);
    }
    QCOMPARE(seen, (QStringList{title, "41", "62 hosts, 40 shown", highlight, "\t"}));
  }
};

QTEST_MAIN(TestHostListHandover)
#include "tst_hostlisthandover.moc"
