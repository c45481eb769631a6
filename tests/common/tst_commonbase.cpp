// Helpers the tool windows share: list selection, hints, help topics, quoted
// input, labels wrapped at blanks, tool bar toggles, and the platform answers
// behind the About box and the settings location.

#include <QFile>
#include <QListWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include "common/helpwindow.h"
#include "common/icons.h"
#include "common/platform.h"
#include "common/widgethelpers.h"
#include "togglelook.h"

class TestCommonBase : public QObject {
  Q_OBJECT

 private slots:
  void everyIconIsDrawnAtEachScale() {
    // Drawn from the vector file at the device size, and not blank (a missing
    // resource or image plugin gives a null or an empty picture).
    for (int i = 0; i < iiCount; ++i) {
      const QIcon icon = ProgramIcon(i);
      QVERIFY2(!icon.isNull(), qPrintable(QString::number(i)));
      for (qreal dpr : {1.0, 2.0}) {
        const QImage image = icon.pixmap(QSize(16, 16), dpr).toImage();
        QCOMPARE(image.size(), QSize(16, 16) * dpr);
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
          for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) == 255;
        QVERIFY2(opaque >= 10 * dpr * dpr, qPrintable(QString::number(i)));
      }
    }
    QVERIFY(ProgramIcon(iiCount).isNull());
    QVERIFY(ProgramIcon(-1).isNull());
  }

  void selectListItem_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("selected");
    QTest::newRow("-1") << -1 << -1;
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("last (49)") << 49 << 49;
    QTest::newRow("past the end (50)") << 50 << -1;
  }
  void selectListItem() {
    QFETCH(int, index);
    QFETCH(int, selected);
    QTreeWidget view;
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.resize(200, 120);
    for (int i = 0; i < 50; ++i) new QTreeWidgetItem(&view, {QString::number(i)});
    view.show();
    SelectAllListItems(&view);
    QCOMPARE(view.selectedItems().size(), 50);
    SelectListItem(&view, index);
    QCOMPARE(SelectedListIndex(&view), selected);
    QCOMPARE(view.selectedItems().size(), selected < 0 ? 0 : 1);
    if (selected >= 0) {
      QCOMPARE(view.currentItem(), view.topLevelItem(selected));
      // Fully in view, not just touching the edge.
      const QRect row = view.visualItemRect(view.topLevelItem(selected));
      QVERIFY(view.viewport()->rect().contains(row));
    } else {
      QVERIFY(!view.currentIndex().isValid());
    }
    DeselectAllListItems(&view);
    QCOMPARE(SelectedListIndex(&view), -1);
    ClearListView(&view);
    QCOMPARE(view.topLevelItemCount(), 0);
    SelectListItem(nullptr, 0);  // swallowed
  }

  void hintParts_data() {
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shortPart");
    QTest::addColumn<QString>("longPart");
    QTest::newRow("Stick|Keep Orvex on top") << "Stick|Keep Orvex on top"
                                             << "Stick"
                                             << "Keep Orvex on top";
    QTest::newRow("Cascade") << "Cascade"
                             << "Cascade"
                             << "Cascade";
    QTest::newRow("a|b|c") << "a|b|c"
                           << "a"
                           << "b|c";
    QTest::newRow("|long only") << "|long only"
                                << ""
                                << "long only";
  }
  void hintParts() {
    QFETCH(QString, hint);
    QFETCH(QString, shortPart);
    QFETCH(QString, longPart);
    QCOMPARE(ShortHint(hint), shortPart);
    QCOMPARE(LongHint(hint), longPart);
  }

  // However long the text typed, a message quotes at most 60 characters of it.
  void quotedInput_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted");
    const QString ellipsis(QChar(0x2026));
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("abc") << "abc"
                         << "abc";
    QTest::newRow("60 characters: whole") << QString(60, 'x') << QString(60, 'x');
    QTest::newRow("61 characters: cut") << QString(61, 'x') << QString(59, 'x') + ellipsis;
    QTest::newRow("300 characters: cut") << QString(300, '1') << QString(59, '1') + ellipsis;
    QTest::newRow("line break and tab: blanks") << "1.2\n3\t4"
                                                << "1.2 3 4";
    // A character outside the basic plane straddling the cut goes as a whole.
    const QString clef = QString::fromUtf8("\U0001D11E");
    QTest::newRow("surrogate pair at the cut")
        << QString(58, 'x') + clef + "yyy" << QString(58, 'x') + ellipsis;
  }
  void quotedInput() {
    QFETCH(QString, text);
    QFETCH(QString, quoted);
    QCOMPARE(QuotedInput(text), quoted);
    QVERIFY(QuotedInput(text).size() <= kQuotedInputLength);
  }

  // Lines break at blanks only, never inside a word such as a MAC address.
  void linesAtBlanks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("widthOf");  // the line is as wide as this text
    QTest::addColumn<QStringList>("lines");
    const QString remark("Multicast reserved link local address, MAC: 01:00:5E:00:00:05");
    QTest::newRow("room for all") << remark << remark << QStringList{remark};
    QTest::newRow("room up to the middle of the MAC address")
        << remark << "Multicast reserved link local address, MAC: 01:00:5E:"
        << QStringList{"Multicast reserved link local address, MAC:", "01:00:5E:00:00:05"};
    QTest::newRow("line break kept")
        << "Multicast globally scoped address\nMAC: 01-00-5E-01-02-03" << remark
        << QStringList{"Multicast globally scoped address", "MAC: 01-00-5E-01-02-03"};
    QTest::newRow("word wider than the line")
        << "MAC: 01:00:5E:00:00:05"
        << "01:00" << QStringList{"MAC:", "01:00:5E:00:00:05"};
    QTest::newRow("empty") << ""
                           << "x" << QStringList{""};
  }
  void linesAtBlanks() {
    QFETCH(QString, text);
    QFETCH(QString, widthOf);
    QFETCH(QStringList, lines);
    const QFontMetrics metrics(QApplication::font());
    QCOMPARE(LinesAtBlanks(text, metrics, metrics.horizontalAdvance(widthOf)), lines);
  }

  // The label keeps its text as set and grows a line for each wrap.
  void blankWrapLabelGrowsForItsLines() {
    TBlankWrapLabel label;
    const QString text("Multicast reserved link local address, MAC: 01:00:5E:00:00:05");
    label.setText(text);
    const QFontMetrics metrics(label.font());
    const int wide = metrics.horizontalAdvance(text) + 10;
    const int narrow = metrics.horizontalAdvance("Multicast reserved link local address, MAC: 01");
    QCOMPARE(label.heightForWidth(wide), metrics.lineSpacing());
    QCOMPARE(label.heightForWidth(narrow), 2 * metrics.lineSpacing());
    label.resize(narrow, label.heightForWidth(narrow));
    QCOMPARE(label.text(), text);
    QCOMPARE(label.Lines().last(), QString("01:00:5E:00:00:05"));
  }

  // Down and up differ at a glance: down is filled with the highlight colour
  // and captioned in the highlighted text colour, in light and dark palettes.
  void toolBarToggleShowsItsState_data() {
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("highlight");
    QTest::addColumn<QColor>("highlightedText");
    QTest::newRow("light") << QColor(239, 239, 239) << QColor(Qt::black) << QColor(48, 140, 198)
                           << QColor(Qt::white);
    QTest::newRow("dark") << QColor(53, 53, 53) << QColor(Qt::white) << QColor(42, 130, 218)
                          << QColor(Qt::black);
  }
  void toolBarToggleShowsItsState() {
    QFETCH(QColor, window);
    QFETCH(QColor, text);
    QFETCH(QColor, highlight);
    QFETCH(QColor, highlightedText);
    QToolBar bar;
    QPalette palette = bar.palette();
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, highlightedText);
    bar.setPalette(palette);
    TToolBarToggle* toggle =
        AddToolBarToggle(&bar, "sbtnTest", "RFC3021 Subnet", "Toggle RFC3021 subnet|Long hint");
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QCOMPARE(toggle->objectName(), QString("sbtnTest"));
    QCOMPARE(toggle->toolTip(), QString("Toggle RFC3021 subnet"));
    QCOMPARE(toggle->statusTip(), QString("Long hint"));
    QVERIFY(toggle->isCheckable());
    QVERIFY(toggle->width() >= 120);
    QCOMPARE(toggle->height(), 22);

    QVERIFY(!toggle->isChecked());
    QVERIFY(ToggleFill(toggle) != highlight);
    QVERIFY(!ToggleShows(toggle, highlightedText));
    toggle->click();
    QVERIFY(toggle->isChecked());
    QCOMPARE(ToggleFill(toggle), highlight);
    QVERIFY(ToggleShows(toggle, highlightedText));
    toggle->click();
    QVERIFY(!toggle->isChecked());
    QVERIFY(ToggleFill(toggle) != highlight);
  }

  void everyHelpTopicIsBuiltIn() {
    int count = 0;
    const THelpTopic* topics = HelpTopics(&count);
    QCOMPARE(count, 14);
    THelpWindow help;
    for (int i = 0; i < count; ++i) {
      QFile file(HelpTopicPath(topics[i].context));
      QVERIFY2(file.open(QIODevice::ReadOnly), topics[i].title);
      QVERIFY(file.readAll().contains("<h2>"));
      help.ShowTopic(topics[i].context);
      QCOMPARE(help.CurrentTopic(), topics[i].context);
    }
    help.ShowTopic(4242);  // unknown numbers land on the hints
    QCOMPARE(help.CurrentTopic(), 500);

    // The search lists the topics holding every word, and shows one of them.
    auto* list = help.findChild<QListWidget*>(QStringLiteral("lstTopics"));
    auto visible = [list] {
      QStringList titles;
      for (int i = 0; i < list->count(); ++i)
        if (!list->item(i)->isHidden()) titles << list->item(i)->text();
      return titles;
    };
    help.Search(QStringLiteral("xyzzy"));
    QVERIFY(visible().isEmpty());
    help.Search(QStringLiteral("iana multicast LINK"));
    QVERIFY(visible().contains(QStringLiteral("Options: Paths")));
    QVERIFY(visible().size() < count);
    QVERIFY(visible().contains(list->currentItem()->text()));
    help.Search(QString());
    QCOMPARE(visible().size(), count);
  }

  void driveTypes_data() {
    QTest::addColumn<QString>("fsType");
    QTest::addColumn<bool>("removable");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("portInfo");
    QTest::newRow("ext4") << "ext4" << false << 3 << "(Orvex runs from fixed media.)";
    QTest::newRow("vfat on USB stick")
        << "vfat" << true << 2 << "(Orvex runs from removable media.)";
    QTest::newRow("nfs4") << "nfs4" << false << 4 << "(Orvex runs from remote network drive.)";
    QTest::newRow("cifs") << "cifs" << false << 4 << "(Orvex runs from remote network drive.)";
    QTest::newRow("fuse.sshfs") << "fuse.sshfs" << false << 4
                                << "(Orvex runs from remote network drive.)";
    QTest::newRow("fuse.ntfs-3g on USB")
        << "fuse.ntfs-3g" << true << 2 << "(Orvex runs from removable media.)";
    QTest::newRow("iso9660") << "iso9660" << true << 5 << "(Orvex runs from CD-ROM.)";
    QTest::newRow("udf") << "udf" << false << 5 << "(Orvex runs from CD-ROM.)";
  }
  void driveTypes() {
    QFETCH(QString, fsType);
    QFETCH(bool, removable);
    QFETCH(int, type);
    QFETCH(QString, portInfo);
    QCOMPARE(DriveTypeOf(fsType, removable), type);
    QCOMPARE(PortInfoText(type), portInfo);
  }

  void otherMediaText() { QCOMPARE(PortInfoText(0), QString("(Orvex runs from other media.)")); }

  void settingsLocation() {
    QCOMPARE(IniFileFor(dtRemovable, "/media/stick/orvex", "/home/u/.config/orvex"),
             QString("/media/stick/orvex/orvex.ini"));
    QCOMPARE(IniFileFor(dtFixed, "/usr/bin", "/home/u/.config/orvex"),
             QString("/home/u/.config/orvex/orvex.ini"));
    qputenv("XDG_CONFIG_HOME", "/tmp/xdg-test");
    QCOMPARE(UserDataFolder(), QString("/tmp/xdg-test/orvex"));
    qputenv("XDG_CONFIG_HOME", "relative/path");  // not allowed by XDG: ignored
    QVERIFY(UserDataFolder().endsWith("/.config/orvex"));
  }

  void versionTexts_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("versionText");
    QTest::addColumn<QString>("buildText");
    QTest::newRow("2.2.0.90") << "2.2.0.90"
                              << "Jul 16 2012"
                              << "2.2.0"
                              << "2.2.0 portable, Build 90 (Jul 16 2012)";
    QTest::newRow("padded day") << "3.1.4.7"
                                << "Dec  8 2026"
                                << "3.1.4"
                                << "3.1.4 portable, Build 7 (Dec 8 2026)";
    QTest::newRow("no version") << ""
                                << "Dec  8 2026"
                                << ""
                                << "";
  }
  void versionTexts() {
    QFETCH(QString, version);
    QFETCH(QString, date);
    QFETCH(QString, versionText);
    QFETCH(QString, buildText);
    QCOMPARE(VersionTextOf(version), versionText);
    QCOMPARE(BuildTextOf(version, date), buildText);
  }
};

QTEST_MAIN(TestCommonBase)
#include "tst_commonbase.moc"
