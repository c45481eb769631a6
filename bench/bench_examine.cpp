// Time of one examination in the IPv4 Calculator: Enter in the address field
// until the result panel and the subnet tables are filled, beside the bare
// computation of the result texts measured in the same run.
// Run: bench_examine [--benchmark_min_time=1]; the ratios are printed after the table.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "common/optionsrec.h"
#include "common/settingsstore.h"
#include "ipcalc/netcalc.h"
#include "ipcalc/tcipcalc.h"

namespace {

struct Window {
  QTemporaryDir dir;
  QMdiArea area;
  TcIpCalc* calc = nullptr;

  explicit Window(bool viewer) {
    SetIniFileName(dir.filePath(QStringLiteral("orvex.ini")));
    calc = new TcIpCalc;
    calc->FWindowKind = wkIpCalc;
    area.addSubWindow(calc);
    TOptionsRec options;
    options.IniFileName = IniFileName();
    options.UseSubnetViewerMask = viewer;
    options.RecallDesktopSettings = false;
    calc->ApplyOptions(options);
    area.resize(1000, 700);
    area.show();
    QApplication::processEvents();
  }

  void Enter(const QString& address, const QString& mask) {
    calc->edtIPCAddress->setEditText(address);
    if (calc->FViewerMode)
      calc->findChild<QLineEdit*>(QStringLiteral("edtSubnetMask"))->setText(mask);
    else
      calc->edtNetworkMask->setText(mask);
  }

  void PressEnter() {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(calc->edtIPCAddress->lineEdit(), &press);
  }
};

std::map<std::string, double> gNanos;

void RunExamine(benchmark::State& state, bool viewer, const char* address, const char* mask,
                bool paint) {
  Window w(viewer);
  w.Enter(QLatin1String(address), QLatin1String(mask));
  w.PressEnter();  // the first examination adds the history entry
  if (w.calc->lblNetwork->text().isEmpty()) {
    state.SkipWithError("the examination filled no result");
    return;
  }
  for (auto _ : state) {
    w.PressEnter();
    if (paint) QApplication::processEvents();
    benchmark::DoNotOptimize(w.calc->lblRemarks->text().size());
  }
}

void BM_ComputeOnly(benchmark::State& state) {
  NetCalcInput in;
  in.addressText = QStringLiteral("192.168.1.10");
  in.address.assign_text("192.168.1.10");
  in.networkMask.assign_text("255.255.255.0");
  in.maskText = QStringLiteral("255.255.255.0");
  for (auto _ : state) {
    const NetCalcResult r = ComputeNetwork(in);
    benchmark::DoNotOptimize(r.remarks.size());
  }
}

void BM_Examine_192_168_1_10_24(benchmark::State& state) {
  RunExamine(state, false, "192.168.1.10", "255.255.255.0", false);
}
void BM_Examine_viewer_192_168_1_10_24(benchmark::State& state) {
  RunExamine(state, true, "192.168.1.10", "255.255.255.0", false);
}
void BM_Examine_10_0_0_0_8(benchmark::State& state) {
  RunExamine(state, false, "10.0.0.0", "255.0.0.0", false);
}
void BM_Examine_multicast_239_1_2_3(benchmark::State& state) {
  RunExamine(state, false, "239.1.2.3", "255.255.255.0", false);
}
void BM_ExamineAndRepaint_viewer_192_168_1_10_24(benchmark::State& state) {
  RunExamine(state, true, "192.168.1.10", "255.255.255.0", true);
}

BENCHMARK(BM_ComputeOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Examine_192_168_1_10_24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Examine_viewer_192_168_1_10_24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Examine_10_0_0_0_8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Examine_multicast_239_1_2_3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExamineAndRepaint_viewer_192_168_1_10_24)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's time per iteration for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (!r.error_occurred && r.iterations > 0)
        gNanos[r.benchmark_name()] = r.GetAdjustedRealTime() * 1000.0;  // us -> ns
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const auto base = gNanos.find("BM_ComputeOnly");
  if (base != gNanos.end() && base->second > 0) {
    std::printf(
        "\nTime per examination (limit 2000 us), and as a multiple of the bare "
        "computation (%.2f us):\n",
        base->second / 1000.0);
    for (const auto& [name, ns] : gNanos) {
      if (name == "BM_ComputeOnly") continue;
      // The repaint variant shows what the screen update adds; the limit is
      // for the examination itself.
      const bool limited = name.rfind("BM_Examine_", 0) == 0;
      std::printf("  %-48s %9.1f us  %7.1fx  %s\n", name.c_str(), ns / 1000.0, ns / base->second,
                  !limited   ? ""
                  : ns < 2e6 ? "within limit"
                             : "OVER LIMIT");
    }
  }
  return 0;
}
