// The help viewer opened while a modal dialog is up takes clicks and keys
// as the user gives them (through the window system, where a blocked window
// drops them), and Escape closes it.

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "common/helpwindow.h"
#include "shell/optionsdialog.h"

namespace {

enum TDialogKind { dkPlain, dkTool, dkWindowModal, dkOptions };

// Clicks into `w` and types `text` as the window system would deliver it.
void ClickAndType(QWidget* w, const QString& text) {
  QWindow* window = w->window()->windowHandle();
  QTest::mouseClick(window, Qt::LeftButton, {}, w->mapTo(w->window(), w->rect().center()));
  for (QChar c : text) QTest::keyClick(window, c.toLatin1());
}

}  // namespace

class TestHelpWindow : public QObject {
  Q_OBJECT
  QTemporaryDir FDir;

  THelpWindow* Help() { return THelpWindow::Instance(); }
  QLineEdit* Search() { return Help()->findChild<QLineEdit*>("edtSearch"); }

 private slots:
  void init() {
    Help()->close();
    Search()->clear();
  }

  void usableWhileDialogIsUp_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("openBefore");
    QTest::newRow("modal dialog") << int(dkPlain) << false;
    QTest::newRow("modal tool window (Subnetting)") << int(dkTool) << false;
    QTest::newRow("window-modal dialog") << int(dkWindowModal) << false;
    QTest::newRow("options dialog, Help button") << int(dkOptions) << false;
    QTest::newRow("help open before the dialog") << int(dkPlain) << true;
  }
  void usableWhileDialogIsUp() {
    QFETCH(int, kind);
    QFETCH(bool, openBefore);
    QWidget owner;
    owner.resize(400, 300);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    std::unique_ptr<QDialog> dialog;
    if (kind == dkOptions) {
      auto* options = new TfrmLOptions(&owner);
      options->FOptions.IniFileName = FDir.filePath("orvex.ini");
      options->ReadOptions(TfrmLOptions::rmLoad);
      dialog.reset(options);
    } else {
      dialog = std::make_unique<QDialog>(
          &owner, kind == dkTool ? Qt::Tool | Qt::WindowTitleHint : Qt::WindowFlags());
      dialog->resize(200, 100);
    }
    if (openBefore) {
      Help()->Open(1000);
      QVERIFY(QTest::qWaitForWindowExposed(Help()));
    }

    QString typed;
    bool helpOpen = false;
    bool dialogStillUp = false;
    auto whileUp = [&] {
      if (kind == dkOptions)
        static_cast<TfrmLOptions*>(dialog.get())->btnHelp->click();
      else
        Help()->Open(1900);
      helpOpen = QTest::qWaitForWindowExposed(Help());
      ClickAndType(Search(), "mask");
      typed = Search()->text();
      // The topic list takes clicks as well.
      auto* topics = Help()->findChild<QListWidget*>("lstTopics");
      const QRect row = topics->visualItemRect(topics->item(0));
      QTest::mouseClick(Help()->windowHandle(), Qt::LeftButton, {},
                        topics->viewport()->mapTo(Help(), row.center()));
      dialogStillUp = dialog->isVisible();
      dialog->reject();
    };
    if (kind == dkWindowModal) {
      dialog->setWindowModality(Qt::WindowModal);
      dialog->show();
      QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
      whileUp();
    } else {
      QTimer::singleShot(0, whileUp);
      dialog->exec();
    }
    QVERIFY(helpOpen);
    QVERIFY(dialogStillUp);
    QCOMPARE(typed, QString("mask"));
    // The viewer outlives the dialog and goes on taking keys.
    QVERIFY(Help()->isVisible());
    ClickAndType(Search(), "s");
    QCOMPARE(Search()->text(), QString("masks"));
  }

  void escapeCloses() {
    Help()->Open(500);
    QVERIFY(QTest::qWaitForWindowExposed(Help()));
    ClickAndType(Search(), "net");
    QTest::keyClick(Help()->windowHandle(), Qt::Key_Escape);
    QVERIFY(!Help()->isVisible());
  }
};

QTEST_MAIN(TestHelpWindow)
#include "tst_helpwindow.moc"
