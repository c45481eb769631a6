// The options dialog against its settings file: load, compare, write, the
// Cancel question and the limit field.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest>

#include "common/settingsstore.h"
#include "common/widgethelpers.h"
#include "guifixture.h"
#include "shell/optionsdialog.h"
#include "testfiles.h"

namespace {

// Clicks a check box or radio button on its indicator: the button may be
// wider than its label, and a click beside the label does nothing.
void ClickButton(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

}  // namespace

class TestOptionsDialog : public QObject, protected GuiFixture {
  Q_OBJECT
  QString FPath;
  std::unique_ptr<TfrmLOptions> FDialog;

  // A dialog loaded from a settings file holding `options` in [Options].
  TfrmLOptions* Load(const QByteArray& options) {
    if (!options.isNull()) WriteAll(FPath, "[Options]\n" + options);
    FDialog = std::make_unique<TfrmLOptions>();
    FDialog->FOptions.IniFileName = FPath;
    FDialog->ReadOptions(TfrmLOptions::rmLoad);
    FDialog->show();
    return FDialog.get();
  }
  int Stored(const char* key) {
    return SettingsFile(FPath).ReadInteger("Options", QLatin1String(key), -999);
  }

 private slots:
  void init() {
    SetUpGui();
    FPath = FIni;
  }
  void cleanup() {
    FDialog.reset();
    TearDownGui();
  }

  void missingFileLoadsDefaults() {
    TfrmLOptions* d = Load(QByteArray());
    for (int i = 0; i < 5; ++i) QCOMPARE(d->clbGeneral->item(i)->checkState(), Qt::Checked);
    QCOMPARE(d->edtMaxItems->text(), QString("4096"));
    QCOMPARE(d->StartupPagesFromChecks(), kStartIpCalc);
    QVERIFY(d->cbxRestoreDesktop->isChecked());
    QCOMPARE(d->FOptions.CsvDelimiter, QChar(';'));
    QCOMPARE(d->cbxMACFormat->currentText(), QString("aa:bb:cc:dd:ee:ff"));
    QVERIFY(d->rbtnVariable->isChecked());
    QVERIFY(!d->cbxHighlightLow32->isChecked());
    QCOMPARE(d->edtIANALink->text(), DefaultIanaLink());
    QVERIFY(!QFile::exists(FPath));
  }

  void loadFillsRecord_data() {
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<int>("bitWidth");
    QTest::addColumn<bool>("highlight");
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QChar>("delimiter");
    QTest::newRow("BitWidth=144") << QByteArray("BitWidth=144\n") << 16 << true << "rbtn16"
                                  << QChar(';');
    QTest::newRow("BitWidth=64") << QByteArray("BitWidth=64\n") << 64 << false << "rbtn64"
                                 << QChar(';');
    QTest::newRow("BitWidth=200 keeps radio")
        << QByteArray("BitWidth=200\n") << 72 << true << "rbtnVariable" << QChar(';');
    QTest::newRow("CsvDelimiterIndex=0")
        << QByteArray("CsvDelimiterIndex=0\n") << 0 << false << "rbtnVariable" << QChar(',');
    QTest::newRow("CsvDelimiterIndex=2")
        << QByteArray("CsvDelimiterIndex=2\n") << 0 << false << "rbtnVariable" << QChar('\t');
    QTest::newRow("CsvDelimiterIndex=9")
        << QByteArray("CsvDelimiterIndex=9\n") << 0 << false << "rbtnVariable" << QChar(';');
  }
  void loadFillsRecord() {
    QFETCH(QByteArray, options);
    QFETCH(int, bitWidth);
    QFETCH(bool, highlight);
    QFETCH(QString, radio);
    QFETCH(QChar, delimiter);
    TfrmLOptions* d = Load(options);
    QCOMPARE(d->FOptions.BitWidth, bitWidth);
    QCOMPARE(d->FOptions.HighlightLow32, highlight);
    QVERIFY(d->findChild<QRadioButton*>(radio)->isChecked());
    QCOMPARE(d->FOptions.CsvDelimiter, delimiter);
  }

  void okWritesBack_data() {
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<QString>("click");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("stored");
    QTest::newRow("BitWidth=144 unchanged") << QByteArray("BitWidth=144\n") << ""
                                            << "BitWidth" << 144;
    QTest::newRow("highlight then 32") << QByteArray() << "cbxHighlightLow32,rbtn32"
                                       << "BitWidth" << 160;
    QTest::newRow("MaxListItems=5") << QByteArray("MaxListItems=5\n") << ""
                                    << "MaxListItems" << 10;
    QTest::newRow("StartupPages=130") << QByteArray("StartupPages=130\n") << ""
                                      << "StartupPages" << 130;
    QTest::newRow("MacFormatIndex=2") << QByteArray("MacFormatIndex=2\n") << ""
                                      << "MacFormatIndex" << 2;
  }
  void okWritesBack() {
    QFETCH(QByteArray, options);
    QFETCH(QString, click);
    QFETCH(QString, key);
    QFETCH(int, stored);
    TfrmLOptions* d = Load(options);
    for (const QString& name : click.split(',', Qt::SkipEmptyParts)) {
      d->SelectNode(2);
      ClickButton(d->findChild<QAbstractButton*>(name));
    }
    QTest::mouseClick(d->btnOk, Qt::LeftButton);
    QVERIFY(d->FAccepted);
    QVERIFY(!d->isVisible());
    QCOMPARE(Stored(key.toLatin1().constData()), stored);
    QVERIFY(FServices->boxes.isEmpty());
    QVERIFY(!ReadAll(FPath).contains("Test"));
    // The controls and the record say what was written.
    QCOMPARE(d->edtMaxItems->text(), QString::number(Stored("MaxListItems")));
    QCOMPARE(d->FOptions.MaxListItems, Stored("MaxListItems"));
    QCOMPARE(d->FOptions.BitWidth, Stored("BitWidth") & 0x7F);
    QCOMPARE(d->FOptions.HighlightLow32, bool(Stored("BitWidth") & 0x80));
  }

  // A bad limit stops Ok before anything is written.
  void badLimitWritesNothing_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("99999999999") << "99999999999";
    QTest::newRow("300 digits") << QString(300, '9');
  }
  void badLimitWritesNothing() {
    QFETCH(QString, text);
    const QByteArray before("EnableHints=1\nMaxListItems=300\n");
    TfrmLOptions* d = Load(before);
    d->clbGeneral->item(giEnableHints)->setCheckState(Qt::Unchecked);
    d->edtMaxItems->setText(text);
    QTest::mouseClick(d->btnOk, Qt::LeftButton);
    QCOMPARE(FServices->boxes.size(), 1);
    QCOMPARE(FServices->boxes[0].caption, QString("Error"));
    QVERIFY(FServices->boxes[0].text.contains("not a valid number"));
    // A long text is quoted cut short.
    QVERIFY(FServices->boxes[0].text.contains(QuotedInput(text)));
    QCOMPARE(FServices->boxes[0].text.contains(text), text.size() <= kQuotedInputLength);
    QCOMPARE(ReadAll(FPath), "[Options]\n" + before);
    QVERIFY(d->isVisible());
    QVERIFY(!d->FAccepted);
  }

  void cancelAsksOnlyAfterChanges_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("storedLink");
    QTest::newRow("no change") << "" << int(Services::Yes) << false << "";
    QTest::newRow("link edited, No") << "http://x/" << int(Services::No) << true << "";
    QTest::newRow("link edited, Yes") << "http://x/" << int(Services::Yes) << true << "http://x/";
  }
  void cancelAsksOnlyAfterChanges() {
    QFETCH(QString, change);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(QString, storedLink);
    TfrmLOptions* d = Load("IanaLink=http://old/\n");
    FServices->boxAnswer = answer;
    if (!change.isEmpty()) d->edtIANALink->setText(change);
    QTest::mouseClick(d->btnCancel, Qt::LeftButton);
    QCOMPARE(FServices->boxes.size(), asked ? 1 : 0);
    if (asked) {
      QCOMPARE(FServices->boxes[0].caption, QString("Options have been changed:"));
      QCOMPARE(FServices->boxes[0].text, QString("Save changes?"));
      QCOMPARE(FServices->boxes[0].icon, Services::Icon::Question);
    }
    QCOMPARE(d->FAccepted, asked);
    QCOMPARE(SettingsFile(FPath).ReadString("Options", "IanaLink", ""),
             storedLink.isEmpty() ? QString("http://old/") : storedLink);
    // The controls show the file again.
    QCOMPARE(d->edtIANALink->text(), storedLink.isEmpty() ? QString("http://old/") : storedLink);
    QVERIFY(!d->isVisible());
  }

  void limitFieldTakesDigitsOnly() {
    TfrmLOptions* d = Load(QByteArray());
    d->SelectNode(4);
    d->edtMaxItems->clear();
    QApplication::setActiveWindow(d);
    QVERIFY(QTest::qWaitForWindowActive(d));
    d->edtMaxItems->setFocus();
    QCOMPARE(d->edtMaxItems->palette().color(QPalette::Base), QColor(0xCC, 0xEC, 0xFF));
    QTest::keyClicks(d->edtMaxItems, "12a-3 ");
    QCOMPARE(d->edtMaxItems->text(), QString("123"));
    QTest::keyClick(d->edtMaxItems, Qt::Key_Backspace);
    QCOMPARE(d->edtMaxItems->text(), QString("12"));
    d->edtIANALink->setFocus();
    QCOMPARE(d->edtMaxItems->palette().color(QPalette::Base),
             d->edtIANALink->palette().color(QPalette::Base));
  }

  // Hints follow "Enable Hints" at once, before anything is saved.
  void hintsFollowEnableHints() {
    TfrmLOptions* d = Load("EnableHints=0\n");
    auto tipShown = [d] {
      QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), d->tvOptions->mapToGlobal(QPoint(2, 2)));
      QCoreApplication::sendEvent(d->tvOptions, &tip);
      const bool shown = QToolTip::isVisible();
      QToolTip::hideText();
      return shown;
    };
    QVERIFY(!tipShown());
    d->clbGeneral->item(giEnableHints)->setCheckState(Qt::Checked);
    QVERIFY(tipShown());
  }

  void linkLabelsSelectTheirTopic_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("node");
    QTest::addColumn<int>("help");
    QTest::newRow("Startup Options") << "lblStartupOptions"
                                     << "pnlStartup"
                                     << "Startup" << 19100;
    QTest::newRow("Integer Calculator Options") << "lblIntCalcOptions"
                                                << "pnlIntCalc"
                                                << "Integer Calculator" << 19800;
    QTest::newRow("Paths") << "lblPaths"
                           << "pnlPaths"
                           << "Paths" << 19920;
    QTest::newRow("Data Formats") << "lblDataFormats"
                                  << "pnlFormat"
                                  << "Data Formats" << 19940;
  }
  void linkLabelsSelectTheirTopic() {
    QFETCH(QString, link);
    QFETCH(QString, page);
    QFETCH(QString, node);
    QFETCH(int, help);
    TfrmLOptions* d = Load(QByteArray());
    TLinkLabel* label = d->findChild<TLinkLabel*>(link);
    const QString parentPage =
        link == "lblPaths" || link == "lblDataFormats" ? "pnlMiscellaneous" : "pnlOptions";
    d->pgPages->setCurrentWidget(d->findChild<QWidget*>(parentPage));
    QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(d->findChild<QWidget*>(page)->isVisible());
    QCOMPARE(d->tvOptions->currentItem()->text(0), node);
    QCOMPARE(d->HelpContext(), help);
    QTest::mouseClick(d->btnHelp, Qt::LeftButton);
    QCOMPARE(FServices->helpTopics, QList<int>{help});
  }

  void unwritableFileStillFillsRecord() {
    TfrmLOptions* d = Load(QByteArray());
    d->FOptions.IniFileName = FDir->path();  // a folder: nothing can be written there
    d->clbGeneral->item(giRFC3021Subnets)->setCheckState(Qt::Unchecked);
    d->cboxCsvDelimiter->setCurrentIndex(0);
    QTest::mouseClick(d->btnOk, Qt::LeftButton);
    QVERIFY(FServices->boxes.isEmpty());
    QVERIFY(!d->FOptions.RFC3021Subnets);
    QCOMPARE(d->FOptions.CsvDelimiter, QChar(','));
    QVERIFY(d->FAccepted);
  }
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
