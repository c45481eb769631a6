// Size of IP host lists in the editor: a /12 (1,048,576 rows) and a /8
// (16,777,216 rows) shown, named, saved and opened again, with the memory
// they take; beside Qt's own QTableView on the same model and a plain file
// write of the same bytes, measured in the same run.
// Run: bench_hostlist [--benchmark_filter=...]; the summary is printed last.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "common/services.h"
#include "hostlist/hostlistview.h"
#include "hostlist/tfrmhostlist.h"

namespace {

// Answers the file dialogs with a fixed path; progress boxes count steps.
class BenchServices : public Services {
 public:
  BenchServices() { Services::Install(this); }
  ~BenchServices() override { Services::Install(nullptr); }
  int MessageBox(QWidget*, const QString&, const QString& text, Icon, int) override {
    std::fprintf(stderr, "box: %s\n", qPrintable(text));
    return Yes;
  }
  QString ChooseOpenFile(QWidget*, FileDialog&) override { return path; }
  QString ChooseSaveFile(QWidget*, FileDialog&) override { return path; }
  class Steps : public Progress {
   public:
    explicit Steps(int* n) : FSteps(n) {}
    bool Step(qint64) override { return ++*FSteps > 0; }

   private:
    int* FSteps;
  };
  std::unique_ptr<Progress> StartProgress(QWidget*, const QString&, const QString&,
                                          qint64) override {
    return std::make_unique<Steps>(&steps);
  }
  bool OpenUrl(const QUrl&) override { return true; }
  void ShowHelp(int) override {}
  void SetClipboardText(const QString&) override {}
  QString ClipboardText() override { return QString(); }

  QString path;
  int steps = 0;
};

double MemoryMB(const char* key) {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith(key))
      return line.mid(int(strlen(key))).trimmed().split(' ')[0].toDouble() / 1024.0;
  return 0;
}
double RssMB() {
  malloc_trim(0);
  return MemoryMB("VmRSS:");
}
double PeakMB() {
  return MemoryMB("VmHWM:");
}

QTemporaryDir* Dir() {
  static QTemporaryDir dir;
  return &dir;
}

BenchServices* Bench() {
  static BenchServices services;
  return &services;
}

std::map<std::string, double> gMillis;  // time per iteration
std::map<std::string, double> gMB;      // memory figures

// One editor for a network, shown offscreen like the program shows it.
struct Editor {
  TfrmHostList dialog;
  Editor(const char* network, int limit) {
    dialog.FTitle = QStringLiteral("IP Host List for ") + QLatin1String(network);
    dialog.FNetwork = HostListNetwork(QLatin1String(network));
    dialog.FMaxListItems = limit;
    dialog.FCsvDelimiter = QLatin1Char(',');
    dialog.resize(423, 565);
  }
  void Show() {
    dialog.show();
    QApplication::processEvents();
  }
  void Hide() {
    dialog.hide();
    QApplication::processEvents();
  }
  void Key(int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(dialog.edtHostName, &press);
  }
};

constexpr int k12 = 1 << 20;
constexpr int k8 = 1 << 24;

void Shown(benchmark::State& state, const char* network, int limit, const char* memoryKey) {
  const double before = RssMB();
  Editor e(network, limit);
  for (auto _ : state) {
    state.PauseTiming();
    e.Hide();
    state.ResumeTiming();
    e.Show();
  }
  if (e.dialog.lvHosts->SelectedRows() != TRowRuns{{0, 0}} || e.dialog.model->rowCount() != limit)
    state.SkipWithError("row 0 not selected or rows missing");
  e.dialog.lvHosts->scrollToBottom();
  QApplication::processEvents();
  gMB[memoryKey] = RssMB() - before;
  state.counters["list_MB"] = gMB[memoryKey];
}

void BM_Show_12(benchmark::State& state) {
  Shown(state, "10.0.0.0/12", k12, "list /12");
}

void BM_SelectAllAndName_12(benchmark::State& state) {
  Editor e("10.0.0.0/12", k12);
  e.Show();
  for (auto _ : state) {
    e.dialog.Selectall1Click();
    e.Key(Qt::Key_S, QStringLiteral("s"));
    e.Key(Qt::Key_Return, QStringLiteral("\r"));
    QApplication::processEvents();
  }
  if (e.dialog.model->Names().Runs().size() != 1 || e.dialog.model->Name(k12 - 1) != "s")
    state.SkipWithError("not every row named");
}

// A /12 whose every row has a name of its own: the largest file of its size.
std::unique_ptr<Editor> Named12() {
  auto e = std::make_unique<Editor>("10.0.0.0/12", k12);
  e->Show();
  TNameRuns names;
  char buf[32];
  for (uint32_t row = 0; row < uint32_t(k12); ++row) {
    const int n = std::snprintf(buf, sizeof buf, "host-%07u", row);
    const std::string_view view(buf, std::size_t(n));
    names.Append(row, &view);
  }
  e->dialog.model->ApplyNames(names);
  return e;
}

void BM_Save_12(benchmark::State& state) {
  std::unique_ptr<Editor> e = Named12();
  Bench()->path = Dir()->filePath(QStringLiteral("list12.csv"));
  for (auto _ : state) e->dialog.SaveHostList();
  state.counters["file_MB"] = QFile(Bench()->path).size() / 1048576.0;
}

void BM_Open_12(benchmark::State& state) {
  Editor e("10.0.0.0/12", k12);
  e.Show();
  Bench()->path = Dir()->filePath(QStringLiteral("list12.csv"));
  for (auto _ : state) {
    state.PauseTiming();
    e.dialog.GenerateHostList();
    state.ResumeTiming();
    e.dialog.OpenHostList();
  }
  if (e.dialog.model->Name(k12 - 1) != QLatin1String("host-1048575"))
    state.SkipWithError("names not merged back");
  gMB["peak after /12"] = PeakMB();
  state.counters["peak_MB"] = gMB["peak after /12"];
}

// The same bytes as the /12 file, written with QFile in the same blocks.
void BM_WriteBaseline_12(benchmark::State& state) {
  const QString source = Dir()->filePath(QStringLiteral("list12.csv"));
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) {
    state.SkipWithError("no /12 file");
    return;
  }
  const QByteArray bytes = in.readAll();
  for (auto _ : state) {
    QFile out(Dir()->filePath(QStringLiteral("plain.csv")));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) break;
    for (qsizetype at = 0; at < bytes.size(); at += 1 << 20)
      out.write(bytes.constData() + at, qMin<qsizetype>(1 << 20, bytes.size() - at));
  }
}

void BM_Show_8(benchmark::State& state) {
  Shown(state, "10.0.0.0/8", k8, "list /8");
}

void BM_ScrollToEnd_8(benchmark::State& state) {
  Editor e("10.0.0.0/8", k8);
  e.Show();
  QScrollBar* bar = e.dialog.lvHosts->verticalScrollBar();
  for (auto _ : state) {
    state.PauseTiming();
    e.dialog.lvHosts->scrollToTop();
    QApplication::processEvents();
    state.ResumeTiming();
    e.dialog.lvHosts->scrollToBottom();
    e.dialog.lvHosts->viewport()->repaint();
  }
  if (bar->value() != bar->maximum() || bar->maximum() < k8 - 100)
    state.SkipWithError("not at the end");
}

void BM_SaveOpen_8(benchmark::State& state) {
  Editor e("10.0.0.0/8", k8);
  e.Show();
  Bench()->path = Dir()->filePath(QStringLiteral("list8.csv"));
  e.dialog.model->SetName({{5, 5}}, QStringLiteral("named"));
  double save = 0;
  double open = 0;
  for (auto _ : state) {
    Bench()->steps = 0;
    auto t0 = std::chrono::steady_clock::now();
    e.dialog.SaveHostList();
    auto t1 = std::chrono::steady_clock::now();
    e.dialog.GenerateHostList();
    auto t2 = std::chrono::steady_clock::now();
    e.dialog.OpenHostList();
    auto t3 = std::chrono::steady_clock::now();
    save += std::chrono::duration<double, std::milli>(t1 - t0).count();
    open += std::chrono::duration<double, std::milli>(t3 - t2).count();
  }
  if (e.dialog.model->Name(5) != QLatin1String("named") || Bench()->steps < 100)
    state.SkipWithError("names not merged back or no progress told");
  gMillis["save /8"] = save / double(state.iterations());
  gMillis["open /8"] = open / double(state.iterations());
  state.counters["save_ms"] = gMillis["save /8"];
  state.counters["open_ms"] = gMillis["open /8"];
  state.counters["progress_steps"] = Bench()->steps;
  QFile::remove(Bench()->path);
}

// Qt's QTableView on the same /8 model: its vertical header keeps a few bytes
// for every row.
void BM_QTableViewBaseline_8(benchmark::State& state) {
  const double before = RssMB();
  THostListModel model;
  model.Generate(HostListNetwork(QStringLiteral("10.0.0.0/8")), k8);
  QTableView view;
  view.verticalHeader()->hide();
  view.resize(423, 500);
  for (auto _ : state) {
    view.setModel(nullptr);
    view.setModel(&model);
    view.show();
    view.selectRow(0);
    QApplication::processEvents();
  }
  gMB["QTableView /8"] = RssMB() - before;
  state.counters["list_MB"] = gMB["QTableView /8"];
}

BENCHMARK(BM_Show_12)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SelectAllAndName_12)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Save_12)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Open_12)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteBaseline_12)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Show_8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScrollToEnd_8)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SaveOpen_8)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_QTableViewBaseline_8)->Unit(benchmark::kMillisecond)->Iterations(1);

class Reporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (!r.error_occurred && r.iterations > 0)
        gMillis[r.benchmark_name()] = r.GetAdjustedRealTime();  // ms
    ConsoleReporter::ReportRuns(runs);
  }
};

void Line(const char* what, double value, const char* unit, double limit) {
  if (value <= 0) {
    std::printf("  %-40s   not run\n", what);
    return;
  }
  std::printf("  %-40s %9.1f %-3s  limit %6.0f  %s\n", what, value, unit, limit,
              value < limit ? "within limit" : "OVER LIMIT");
}

double Millis(const char* prefix) {
  for (const auto& [name, ms] : gMillis)
    if (name.rfind(prefix, 0) == 0) return ms;
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Bench();
  benchmark::Initialize(&argc, argv);
  Reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  {
    Editor e("10.0.0.0/8", k8);
    std::printf("\nRows the list view can show: %d (rows of %d px)\n", e.dialog.lvHosts->MaxRows(),
                e.dialog.lvHosts->RowHeight());
  }
  std::printf("\nHost lists (real time per run):\n");
  Line("/12 shown, row 0 selected", Millis("BM_Show_12"), "ms", 200);
  Line("/12 select all and name every row", Millis("BM_SelectAllAndName_12"), "ms", 50);
  Line("/12 saved, a name on every row", Millis("BM_Save_12"), "ms", 1000);
  Line("/12 opened, every name merged back", Millis("BM_Open_12"), "ms", 1500);
  Line("/12 peak memory of the process", gMB["peak after /12"], "MB", 150);
  Line("/8 shown, row 0 selected", Millis("BM_Show_8"), "ms", 500);
  Line("/8 scrolled to its end and painted", Millis("BM_ScrollToEnd_8"), "ms", 50);
  Line("/8 list in memory", gMB["list /8"], "MB", 50);
  if (gMillis.count("save /8"))
    std::printf("  %-40s %9.1f ms\n  %-40s %9.1f ms\n", "/8 saved (progress box)",
                gMillis["save /8"], "/8 opened (progress box)", gMillis["open /8"]);
  const double plain = Millis("BM_WriteBaseline_12");
  if (plain > 0)
    std::printf("  /12 save as a multiple of a plain write of its bytes: %.1fx\n",
                Millis("BM_Save_12") / plain);
  if (gMB["QTableView /8"] > 0)
    std::printf("  /8 list memory: %.1f MB here, %.1f MB in a QTableView (%.0fx)\n", gMB["list /8"],
                gMB["QTableView /8"], gMB["QTableView /8"] / std::max(0.1, gMB["list /8"]));
  return 0;
}
