// The main window with the largest Team.dat the format allows (32767
// records): opening it, the selection commands, deleting every second row,
// find through the last row, and save.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include "app/Dialogs.h"
#include "app/FindDialog.h"
#include "app/GridView.h"
#include "app/MainWindow.h"
#include "app/Search.h"
#include "BenchSupport.h"
#include "app/UiFront.h"
#include "app/Catalogue.h"
#include "tables/SampleContext.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/Locale.h"

using namespace v3;

namespace {

constexpr int kRecords = 32767;

struct Fixture {
  QTemporaryDir dir;
  QString program;
  QString data;
  QuietFront front;
  std::unique_ptr<Vantaro3> window;

  Fixture() {
    program = dir.filePath(QStringLiteral("program"));
    data = dir.filePath(QStringLiteral("data"));
    QDir().mkpath(program);
    QDir().mkpath(data);
    SampleContext s(1, kRecords);
    RecordGrid grid;
    grid.reset(TeamTable().fieldCount(), TeamTable().sample(s));
    SaveTable(TeamTable(), data, Script::Traditional, grid);
    QFile probe(data + QStringLiteral("/CDCase.dat"));
    probe.open(QIODevice::WriteOnly);
    probe.write(QByteArray::fromHex("f203000000000000c0010000"));
    probe.close();
    QFile config(program + QStringLiteral("/Config.ini"));
    config.open(QIODevice::WriteOnly);
    config.write("[Config]\r\nPath=" + data.toUtf8() + "\r\n");
    config.close();

    ShellOptions o;
    o.programFolder = program;
    o.script = Script::Simplified;
    o.localeId = 2052;
    o.front = &front;
    window = std::make_unique<Vantaro3>(o);
    if (!window->startUp()) std::abort();
    window->show();
    QApplication::processEvents();
  }

  void open() {
    window->openTable(*CatalogueEntryByCaption(QStringLiteral("Team.dat")));
    QApplication::processEvents();
  }
  void restore() {
    // Back to the file as it was written first.
    window->reload();
    QApplication::processEvents();
  }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& fixture() {
  if (!g_fixture) g_fixture = std::make_unique<Fixture>();
  return *g_fixture;
}

void BM_OpenTeam(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    f.open();
    benchmark::DoNotOptimize(f.window->grid().recordCount());
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_SelectAll(benchmark::State& state) {
  Fixture& f = fixture();
  f.open();
  for (auto _ : state) {
    state.PauseTiming();
    f.window->selectNone();
    state.ResumeTiming();
    f.window->selectAll();
    QApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_InvertAlternating(benchmark::State& state) {
  // The worst case for the selection: every second row selected.
  Fixture& f = fixture();
  f.open();
  RecordGrid& g = f.window->grid();
  QItemSelection sel;
  for (int r = 1; r <= kRecords; r += 2)
    sel.append(QItemSelectionRange(g.index(r - 1, 0), g.index(r - 1, g.columnCount() - 1)));
  g.selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
  for (auto _ : state) {
    f.window->invertSelection();
    QApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_DeleteEverySecondRow(benchmark::State& state) {
  Fixture& f = fixture();
  f.open();
  RecordGrid& g = f.window->grid();
  for (auto _ : state) {
    state.PauseTiming();
    f.restore();
    QItemSelection sel;
    for (int r = 1; r <= kRecords; r += 2)
      sel.append(QItemSelectionRange(g.index(r - 1, 0), g.index(r - 1, g.columnCount() - 1)));
    g.selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
    state.ResumeTiming();
    f.window->deleteSelected(false);
    QApplication::processEvents();
    if (g.recordCount() != kRecords / 2) state.SkipWithError("wrong row count");
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_FindLastRow(benchmark::State& state) {
  Fixture& f = fixture();
  f.open();
  RecordGrid& g = f.window->grid();
  const QString last = g.cell(kRecords, 1);  // the record number of the last row
  FindDialog dialog(g, f.window->gridView(), f.front, f.window->texts(), f.window->localeId(), f.window.get());
  for (auto _ : state) {
    // Column 1 holds numbers: searching the last one's text scans every row.
    const int row = FindRow(g, 1, SearchTextFor(last), 1);
    g.setCurrentRow(row);
    f.window->gridView()->setTopRow(row);
    QApplication::processEvents();
    if (row < 1) state.SkipWithError("not found");
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_SaveTeam(benchmark::State& state) {
  // Every second row selected: the selection follows its records through the sort.
  Fixture& f = fixture();
  f.open();
  RecordGrid& g = f.window->grid();
  for (int r = 1; r <= kRecords; ++r) g.setCell(r, 1, QString::number(kRecords - r));
  QItemSelection sel;
  for (int r = 1; r <= kRecords; r += 2)
    sel.append(QItemSelectionRange(g.index(r - 1, 0), g.index(r - 1, g.columnCount() - 1)));
  g.selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
  for (auto _ : state) {
    f.window->save();
    QApplication::processEvents();
  }
  if (f.front.messages != 0) state.SkipWithError("save reported a problem");
  state.SetItemsProcessed(state.iterations() * kRecords);
}

}  // namespace

BENCHMARK(BM_OpenTeam)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InvertAlternating)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteEverySecondRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindLastRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveTeam)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_fixture.reset();  // the window goes before the application
  return 0;
}
