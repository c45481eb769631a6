// A long session: one calculator examines thousands of random networks in
// every notation and steps through their neighbours, while tool windows of
// every kind are opened and closed. Nothing crashes and the memory in use
// stays flat once the first rounds have warmed the caches up.

#include <malloc.h>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmapCache>
#include <QRandomGenerator>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "common/settingsstore.h"
#include "guifixture.h"
#include "ipcalc/tcipcalc.h"
#include "ipv4lib/ipv4.h"
#include "shell/mainwindow.h"

#if defined(__SANITIZE_ADDRESS__)
#define ORVEX_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVEX_ASAN 1
#endif
#endif
#if defined(ORVEX_ASAN)
// From the sanitizer runtime.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// Bytes of heap in use (the sanitizer's count in a sanitizer build, where
// freed memory is held back for a while and the process size says little).
// The style's pixmap cache is emptied first: it holds up to its fixed limit
// of drawn controls, and every window's own palette gives new ones.
qint64 HeapInUse() {
  QPixmapCache::clear();
#if defined(ORVEX_ASAN)
  return qint64(__sanitizer_get_current_allocated_bytes());
#else
  return qint64(mallinfo2().uordblks);
#endif
}

QString Dotted(uint32_t v) {
  return QString::fromStdString(ipv4(v).text());
}

}  // namespace

class TestLongSession : public QObject, protected GuiFixture {
  Q_OBJECT
 private slots:
  void init() {
    SetUpGui();
    FServices->boxTakesFocus = false;
  }
  void cleanup() { TearDownGui(); }

  void manyExaminationsAndWindows() {
    std::unique_ptr<TfrmMain> main(CreateOrvexWindows());
    main->show();
    main->tmrSplashTimer();  // the first start opens one calculator
    auto* calc = qobject_cast<TcIpCalc*>(main->ToolWindows().value(0));
    QVERIFY(calc);
    auto* address = calc->findChild<QComboBox*>(QStringLiteral("edtIPCAddress"));
    auto* mask = calc->findChild<QLineEdit*>(QStringLiteral("edtNetworkMask"));
    auto* viewerMask = calc->findChild<QLineEdit*>(QStringLiteral("edtSubnetMask"));
    auto* prev = calc->findChild<QToolButton*>(QStringLiteral("bbtnPrev"));
    auto* next = calc->findChild<QToolButton*>(QStringLiteral("bbtnNext"));
    auto* viewer = calc->findChild<QToolButton*>(QStringLiteral("sbtnSubnetMaskViewer"));

    QRandomGenerator random(20261209);
    const int rounds = qEnvironmentVariableIntValue("ORVEX_LONG_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("ORVEX_LONG_ROUNDS")
                           : 20000;
    qint64 warm = 0;
    for (int i = 0; i < rounds; ++i) {
      const uint32_t a = random.generate();
      const int p = int(random.bounded(1, 33));
      const QString dotted = Dotted(p == 0 ? 0 : 0xFFFFFFFFu << (32 - p));
      QString text = Dotted(a), maskText;
      switch (i % 6) {
        case 0:
          maskText = dotted;
          break;
        case 1:
          maskText = QStringLiteral("/%1").arg(p);
          break;
        case 2:
          maskText = QString::number(random.bounded(0, 1 << 24));
          break;
        case 3:
          text += QStringLiteral("/%1").arg(p);
          break;
        case 4:
          text += QLatin1Char(' ') + dotted;
          break;
        case 5:
          maskText = Dotted(~(0xFFFFFFFFu << (32 - p)));  // a wildcard
      }
      // The viewer's mask is the network mask every few rounds.
      if ((i % 50 == 0) != calc->FViewerMode) viewer->click();
      (calc->FViewerMode ? viewerMask : mask)->setText(maskText);
      address->setEditText(text);
      calc->Examine(true);
      if (i % 4 == 0) next->click();
      if (i % 4 == 1) prev->click();
      // What the event loop does between the user's actions (every few
      // rounds: each pass repaints the whole window).
      if (i % 25 == 0) QCoreApplication::processEvents();
      if (i % 100 == 0) {
        // Tool windows come and go beside the calculator: 200 of each kind.
        for (int kind : {wkIpCalc, wkMaskChart, wkIntConv}) {
          const QList<TcChild*> before = main->ToolWindows();
          main->OpenToolWindow(kind);
          for (TcChild* w : main->ToolWindows())
            if (!before.contains(w)) w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      }
      if (i == 100) warm = HeapInUse();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const qint64 end = HeapInUse();
    qInfo("heap in use after 100 rounds %lld KB, after %d rounds %lld KB", warm / 1024, rounds,
          end / 1024);
    QVERIFY2(end - warm < 10 * 1024 * 1024, "the heap grew by 10 MB or more");
    QCOMPARE(main->ToolWindows().size(), 1);
    main->close();
  }
};

QTEST_MAIN(TestLongSession)
#include "tst_longsession.moc"
