// Load, save and export of the largest Team.dat the format allows (32767 records).
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QTemporaryDir>

#include "tools/Csv.h"
#include "tables/SampleContext.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/Locale.h"

using namespace v3;

namespace {

// The Simplified path does the most work per text.
struct Fixture {
  QTemporaryDir dir;
  Fixture() {
    SampleContext s(1, 32767);
    RecordStore grid;
    grid.reset(TeamTable().fieldCount(), TeamTable().sample(s));
    SaveTable(TeamTable(), dir.path(), Script::Simplified, grid);
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_LoadTeam(benchmark::State& state) {
  RecordStore grid;
  for (auto _ : state) {
    LoadTable(TeamTable(), fixture().dir.path(), Script::Simplified, grid);
    benchmark::DoNotOptimize(grid.recordCount());
  }
  state.SetItemsProcessed(state.iterations() * 32767);
}

void BM_SaveTeam(benchmark::State& state) {
  RecordStore grid;
  LoadTable(TeamTable(), fixture().dir.path(), Script::Simplified, grid);
  for (auto _ : state) {
    const SaveOutcome o = SaveTable(TeamTable(), fixture().dir.path(), Script::Simplified, grid);
    if (!o.ok()) state.SkipWithError("save failed");
  }
  state.SetItemsProcessed(state.iterations() * 32767);
}

void BM_EncodeTeam(benchmark::State& state) {
  RecordStore grid;
  LoadTable(TeamTable(), fixture().dir.path(), Script::Simplified, grid);
  const std::vector<int> order = SaveRowOrder(TeamTable(), grid);
  for (auto _ : state) {
    QByteArray out;
    EncodeTable(TeamTable(), fixture().dir.path(), Script::Simplified, grid, order, QByteArray(), &out);
    benchmark::DoNotOptimize(out.data());
  }
}

void BM_ExportTeam(benchmark::State& state) {
  for (auto _ : state) {
    const std::vector<QStringList> rows = ReadTableRows(TeamTable(), fixture().dir.path(), Script::Simplified);
    QByteArray csv;
    for (const QStringList& r : rows) csv += CsvLine(r);
    benchmark::DoNotOptimize(csv.data());
  }
  state.SetItemsProcessed(state.iterations() * 32767);
}

}  // namespace

BENCHMARK(BM_LoadTeam)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveTeam)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeTeam)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTeam)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
