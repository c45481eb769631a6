// Start-up of the program to a shown, idle main window (the 2000 ms splash
// timer does not count: the window is usable while it runs). The baseline is
// an empty main window with an MDI area, built and shown the same way.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMainWindow>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTimer>
#include <QtGlobal>

#include <cstdio>
#include <memory>

#include "shell/mainwindow.h"

namespace {

// The offscreen platform warns about every window it cannot size or raise.
void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& msg) {
  if (msg.startsWith(QLatin1String("This plugin does not support"))) return;
  if (type != QtDebugMsg) std::fprintf(stderr, "%s\n", qPrintable(msg));
}

// Runs the event loop until everything queued so far has been handled.
void WaitIdle() {
  QEventLoop loop;
  QTimer::singleShot(0, &loop, &QEventLoop::quit);
  loop.exec();
}

void BM_EmptyMainWindow(benchmark::State& state) {
  for (auto _ : state) {
    auto window = std::make_unique<QMainWindow>();
    window->setCentralWidget(new QMdiArea);
    window->resize(850, 750);
    window->show();
    WaitIdle();
    state.PauseTiming();
    window.reset();
    WaitIdle();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_EmptyMainWindow)->Unit(benchmark::kMillisecond);

// Main window, options, About box, the splash and the default start-up
// IPv4 Calculator.
void BM_OrvexStartup(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<TfrmMain> main(CreateOrvexWindows());
    main->show();
    WaitIdle();
    state.PauseTiming();
    main->tmrSplashTimer();
    main.reset();
    WaitIdle();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OrvexStartup)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Own settings folder: a run never touches the user's settings.
  qInstallMessageHandler(QuietHandler);
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());

  // The first start in this process, application object included: what a
  // user waits for when starting the program.
  QElapsedTimer cold;
  cold.start();
  QApplication app(argc, argv);
  const qint64 appMs = cold.elapsed();
  {
    std::unique_ptr<TfrmMain> main(CreateOrvexWindows());
    main->show();
    WaitIdle();
    std::printf(
        "First start: %lld ms to a shown, idle main window (%lld ms of it the "
        "application object)\n",
        static_cast<long long>(cold.elapsed()), static_cast<long long>(appMs));
    main->tmrSplashTimer();
  }
  WaitIdle();

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
