// The table layer in one process on a sample folder of 32767 records per
// table: CSV export and check (load, encode with nothing changed) of one
// table per file family, and StarRole.dat's vote on its layout alone.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QTemporaryDir>

#include "model/TableIo.h"
#include "storage/FileStore.h"
#include "tables/Tables.h"
#include "text/DiskFile.h"
#include "tools/CsvTable.h"
#include "SampleFolder.h"
#include "tools/Sample.h"

using namespace v3;

namespace {

const QString& folder() { return v3bench::SampleFolder(); }

QByteArray fileOf(const TableDef& t) {
  bool exists = false;
  return FileStore::disk().read(DataFilePath(folder(), t.fileName), &exists, nullptr);
}

void BM_Export(benchmark::State& state, const char* file) {
  const TableDef& t = *FindTable(QString::fromLatin1(file));
  const QByteArray bytes = fileOf(t);
  CodecContext ctx(Script::Traditional, folder());
  ProducerDirectory producers = ProducerDirectory::load(folder());
  if (t.codec->needsProducers()) ctx.producers = &producers;
  QByteArray csv;
  CsvRefusal refusal;
  for (auto _ : state) {
    csv.clear();
    if (!TableBytesToCsv(*t.codec, bytes, ctx, CsvOptions{}, &csv, &refusal)) state.SkipWithError("refused");
    benchmark::DoNotOptimize(csv.size());
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

// What check does: the content a save would write compared with the file as it is made, no grid held.
void BM_Check(benchmark::State& state, const char* file) {
  const TableDef& t = *FindTable(QString::fromLatin1(file));
  const QByteArray bytes = fileOf(t);
  for (auto _ : state) {
    ComparingSink saved(bytes);
    const SaveOutcome o = EncodeAsRead(t, folder(), Script::Traditional, bytes, saved);
    if (!o.ok() || !saved.same()) state.SkipWithError("not identical");
    benchmark::DoNotOptimize(saved.size());
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

// A load into a grid and its whole new content in one array, as a save makes it.
void BM_LoadEncode(benchmark::State& state, const char* file) {
  const TableDef& t = *FindTable(QString::fromLatin1(file));
  const QByteArray bytes = fileOf(t);
  for (auto _ : state) {
    RecordStore grid;
    LoadTable(t, folder(), Script::Traditional, grid);
    QByteArray saved;
    const SaveOutcome o = EncodeTable(t, folder(), Script::Traditional, grid, SaveRowOrder(t, grid), bytes, &saved);
    if (!o.ok() || saved.size() != bytes.size()) state.SkipWithError("not identical");
    benchmark::DoNotOptimize(saved.size());
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

// StarRole.dat's vote on its layout as a pass over the file's pieces weighs
// it: each piece copied into a buffer of its own (as a read would) and
// weighed. The layout a whole file chose is kept for that file, so a choice
// over the whole bytes would measure only that.
void BM_StarLayoutVote(benchmark::State& state) {
  const TableDef& t = *FindTable(QStringLiteral("StarRole.dat"));
  const QByteArray bytes = fileOf(t);
  const qint64 count = (bytes.size() - 12) / 360, perPiece = kFilePieceBytes / 360;
  QByteArray piece(12, '\0');
  for (auto _ : state) {
    LayoutVote total;
    for (qint64 first = 0; first < count; first += perPiece) {
      const qint64 n = std::min(perPiece, count - first);
      piece.resize(12);
      piece.append(bytes.constData() + 12 + first * 360, n * 360);
      total += *t.codec->pieceVote(piece, n);
    }
    benchmark::DoNotOptimize(total.against[0]);
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

}  // namespace

BENCHMARK_CAPTURE(BM_Export, StarRole, "StarRole.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, Team, "Team.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, CDCase, "CDCase.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, OfficeEmo, "OfficeEmo.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, StarRole, "StarRole.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, Team, "Team.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, OfficeEmo, "OfficeEmo.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadEncode, StarRole, "StarRole.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadEncode, OfficeEmo, "OfficeEmo.dat")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StarLayoutVote)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
