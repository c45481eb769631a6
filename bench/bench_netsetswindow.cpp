// The Network Sets window with large lists: 100,000 random IPv4 networks
// pasted into list A, aggregated and shown (the result list painted), and the
// same run on a list already pasted and on a million lines; beside the set
// engine alone on the same text, measured in the same run.
// Run: bench_netsetswindow [--benchmark_filter=...]; the summary is printed last.

#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "common/rowlistview.h"
#include "netsets/setjob.h"
#include "netsets/tcnetsets.h"

namespace {

std::map<std::string, double> gMillis;  // real time per iteration

// n random networks of /16 to /32, one a line, the same every run.
QString RandomList(int n) {
  std::mt19937 random(20261209);
  std::uniform_int_distribution<uint32_t> address;
  std::uniform_int_distribution<int> prefix(16, 32);
  std::string t;
  t.reserve(std::size_t(n) * 20);
  for (int i = 0; i < n; ++i) {
    const uint32_t a = address(random);
    const int p = prefix(random);
    t += std::to_string(a >> 24) + '.' + std::to_string(a >> 16 & 255) + '.' +
         std::to_string(a >> 8 & 255) + '.' + std::to_string(a & 255) + '/' + std::to_string(p) +
         '\n';
  }
  return QString::fromStdString(t);
}

const QString& List(int n) {
  static std::map<int, QString> lists;
  auto it = lists.find(n);
  if (it == lists.end()) it = lists.emplace(n, RandomList(n)).first;
  return it->second;
}

// A window shown offscreen like the program shows it.
struct Window {
  TcNetSets w;
  Window() {
    w.resize(900, 650);
    w.show();
    QApplication::processEvents();
  }
  // Runs the operation and waits until the result is in the list and painted.
  void RunAndShow() {
    QEventLoop loop;
    QObject::connect(&w, &TcNetSets::runFinished, &loop, &QEventLoop::quit);
    w.btnSetRun->click();
    if (w.Running()) loop.exec();
    w.lvSetResult->viewport()->repaint();
  }
  int Rows() const { return w.lvSetResult->model()->rowCount(); }
};

void PasteAndRun(benchmark::State& state, int lines) {
  Window win;
  const QString& text = List(lines);
  int rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    win.w.edtSetA->clear();
    QApplication::processEvents();
    state.ResumeTiming();
    win.w.edtSetA->setPlainText(text);
    win.RunAndShow();
    rows = win.Rows();
  }
  if (rows == 0) state.SkipWithError("no rows shown");
  state.counters["rows"] = rows;
}

void BM_PasteAggregateShow_100k(benchmark::State& state) {
  PasteAndRun(state, 100000);
}

void BM_AggregateShow_100k(benchmark::State& state) {
  Window win;
  win.w.edtSetA->setPlainText(List(100000));
  for (auto _ : state) win.RunAndShow();
  if (win.Rows() == 0) state.SkipWithError("no rows shown");
}

void BM_PasteAggregateShow_1M(benchmark::State& state) {
  PasteAndRun(state, 1000000);
}

// The set engine alone: the text read and aggregated, no window.
void BM_EngineBaseline_100k(benchmark::State& state) {
  const std::string text = List(100000).toStdString();
  std::size_t rows = 0;
  for (auto _ : state) {
    auto r = netsets::setresult::run(text, std::string(), netsets::operation::aggregate,
                                     netsets::notation::cidr);
    rows = r->row_count();
  }
  state.counters["rows"] = double(rows);
}

BENCHMARK(BM_PasteAggregateShow_100k)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_AggregateShow_100k)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_EngineBaseline_100k)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_PasteAggregateShow_1M)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

class Reporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (!r.error_occurred && r.iterations > 0)
        gMillis[r.benchmark_name()] = r.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

double Millis(const char* name) {
  for (const auto& [key, value] : gMillis)
    if (key.rfind(name, 0) == 0) return value;
  return -1;
}

void Line(const char* what, double value, double limit) {
  if (value < 0) {
    std::printf("  %-44s   not run\n", what);
    return;
  }
  std::printf("  %-44s %9.1f ms  limit %6.0f  %s\n", what, value, limit,
              value <= limit ? "ok" : "OVER");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  Reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\nNetwork Sets window (real time per run):\n");
  Line("100,000 lines pasted, aggregated and shown", Millis("BM_PasteAggregateShow_100k"), 1000);
  Line("100,000 lines aggregated and shown", Millis("BM_AggregateShow_100k"), 1000);
  Line("1,000,000 lines pasted, aggregated and shown", Millis("BM_PasteAggregateShow_1M"), 10000);
  const double engine = Millis("BM_EngineBaseline_100k");
  if (engine > 0)
    std::printf("  100,000 lines: the window takes %.1fx the engine alone (%.1f ms)\n",
                Millis("BM_AggregateShow_100k") / engine, engine);
  return 0;
}
