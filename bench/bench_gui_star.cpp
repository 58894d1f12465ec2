// The editor with the largest StarRole.dat the format allows (32767 stars):
// opening it to the first painted rows, saving it after one edit, the record
// editors whose lists hold every star, and find and filter through every row;
// beside it the save of the largest file of the same sample, OfficeEmo.dat.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <memory>
#include <string>

#include "app/FilterBar.h"
#include "app/GridView.h"
#include "app/MainWindow.h"
#include "app/Search.h"
#include "BenchSupport.h"
#include "app/UiFront.h"
#include "editors/Editors.h"
#include "editors/RecordDialog.h"
#include "app/Catalogue.h"
#include "app/CsvCommands.h"
#include "text/Ini.h"
#include "text/Locale.h"
#include "tools/Sample.h"

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
    QString error;
    if (!WriteSampleFolder(data, 1, kRecords, &error)) std::abort();
    if (!WriteIniValue(program + QStringLiteral("/Config.ini"), QStringLiteral("Config"), QStringLiteral("Path"), data))
      std::abort();

    ShellOptions o;
    o.programFolder = program;
    o.script = Script::Simplified;
    o.localeId = 2052;
    o.front = &front;
    window = std::make_unique<Vantaro3>(o);
    if (!window->startUp()) std::abort();
    window->resize(1280, 800);
    window->show();
    QApplication::processEvents();
  }

  // Opens the table and paints the rows in view.
  void open(const QString& caption) {
    window->openTable(*CatalogueEntryByCaption(caption));
    QApplication::processEvents();
    window->gridView()->viewport()->repaint();
  }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& fixture() {
  if (!g_fixture) g_fixture = std::make_unique<Fixture>();
  return *g_fixture;
}

void BM_OpenStarRole(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    f.open(QStringLiteral("StarRole.dat"));
    if (f.window->grid().recordCount() != kRecords) state.SkipWithError("wrong row count");
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

// Team.dat opened from another table: the names of its members, read from
// the 32767 records of StarRole.dat, beside their numbers.
void BM_OpenTeam(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    state.PauseTiming();
    f.open(QStringLiteral("StarRole.dat"));
    state.ResumeTiming();
    f.open(QStringLiteral("Team.dat"));
    if (f.window->grid().recordCount() != kRecords) state.SkipWithError("wrong row count");
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

// The processor time the system spent for the process, in ms (for a save:
// mostly copying the bytes written into the page cache).
double systemMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_stime.tv_sec) * 1000 + double(usage.ru_stime.tv_usec) / 1000;
}

// The table saved after one edited cell each time, so every save has
// something to write; the system's share of the time in the label.
void saveAfterEdits(benchmark::State& state, const char* table, int column) {
  Fixture& f = fixture();
  f.open(QString::fromLatin1(table));
  RecordGrid& g = f.window->grid();
  int n = 0;
  double system = 0;
  for (auto _ : state) {
    state.PauseTiming();
    g.setCell(kRecords / 2, column, QString::number(++n % 100));
    const double before = systemMs();
    state.ResumeTiming();
    f.window->save();
    QApplication::processEvents();
    system += systemMs() - before;
  }
  if (f.front.messages != 0) state.SkipWithError("save reported a problem");
  state.SetItemsProcessed(state.iterations() * kRecords);
  // A label, not a counter: the CSV report wants every run to have the same counters.
  if (state.iterations() > 0) state.SetLabel("sys_ms=" + std::to_string(system / double(state.iterations())));
}

void BM_SaveStarRole(benchmark::State& state) { saveAfterEdits(state, "StarRole.dat", 7); }

// The largest table file of the sample (OfficeEmo.dat, about 33 MB at 32767
// records): the save's cost is mostly the file's size.
void BM_SaveOfficeEmo(benchmark::State& state) { saveAfterEdits(state, "OfficeEmo.dat", 2); }

// An editor opened on the first row of its table, shown, then closed.
void editorOpen(benchmark::State& state, const char* editor, const char* table) {
  Fixture& f = fixture();
  f.open(QString::fromLatin1(table));
  RecordGrid& g = f.window->grid();
  g.setCurrentRow(1);
  const EditorForm* form = FindEditorForm(QString::fromLatin1(editor));
  if (!form) {
    state.SkipWithError("no such editor");
    return;
  }
  EditorEnvironment env;
  env.programFolder = f.program;
  EditorRequest request;
  request.editor = QString::fromLatin1(editor);
  for (auto _ : state) {
    auto dialog = std::make_unique<RecordDialog>(*form, g, request, env, f.window.get());
    dialog->show();
    QApplication::processEvents();
    state.PauseTiming();
    dialog.reset();
    QApplication::processEvents();
    state.ResumeTiming();
  }
}

void BM_EditorTeam(benchmark::State& state) { editorOpen(state, "Team", "Team.dat"); }
void BM_EditorFirm(benchmark::State& state) { editorOpen(state, "Firm", "Firm.dat"); }
void BM_EditorCDW(benchmark::State& state) { editorOpen(state, "CDW", "CDCase.dat"); }
void BM_EditorCFR(benchmark::State& state) { editorOpen(state, "CFR", "CFRequest.dat"); }

void BM_FindStarRole(benchmark::State& state) {
  // The last record's number: the search passes every row before it.
  Fixture& f = fixture();
  f.open(QStringLiteral("StarRole.dat"));
  RecordGrid& g = f.window->grid();
  const QString last = g.cell(kRecords, 1);
  for (auto _ : state) {
    const int row = FindRow(g, 1, SearchTextFor(last), 1);
    if (row != kRecords) state.SkipWithError("not found");
    g.setCurrentRow(row);
    f.window->gridView()->setTopRow(row);
    QApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

// The filter bar over all columns, its text changed between the first
// characters of two names: every keystroke decides every row. With `edit`,
// one record is edited between keystrokes: the filter reads that record
// again, not every record.
void filterRows(benchmark::State& state, bool edit) {
  Fixture& f = fixture();
  f.open(QStringLiteral("StarRole.dat"));
  RecordGrid& g = f.window->grid();
  FilterBar* bar = f.window->filterBar();
  const QString texts[] = {g.cell(1, 2).left(1), g.cell(2, 2).left(1) + u'x'};
  bar->textBox()->setText(texts[1]);  // the filter's index is built on first use
  QApplication::processEvents();
  int n = 0;
  for (auto _ : state) {
    if (edit) g.setCell(1 + (n * 7919) % kRecords, 2, texts[0] + QString::number(n));
    bar->textBox()->setText(texts[n++ % 2]);  // applies the filter
    QApplication::processEvents();
  }
  bar->textBox()->clear();  // every row shown again for the benchmarks after this one
  QApplication::processEvents();
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_FilterStarRole(benchmark::State& state) { filterRows(state, false); }
void BM_FilterAfterEditStarRole(benchmark::State& state) { filterRows(state, true); }

// The grid scrolled one way or the other, then its rows in view painted.
enum class Scroll { Page, Wheel, Sideways, Far };

void scrollAndPaint(benchmark::State& state, Scroll how) {
  Fixture& f = fixture();
  f.open(QStringLiteral("StarRole.dat"));
  GridView* v = f.window->gridView();
  QScrollBar* vertical = v->verticalScrollBar();
  QScrollBar* horizontal = v->horizontalScrollBar();
  vertical->setValue(kRecords / 3);
  horizontal->setValue(0);
  QApplication::processEvents();
  if (vertical->maximum() < kRecords / 2 || horizontal->maximum() <= 0) {
    state.SkipWithError("the grid does not scroll");
    return;
  }
  int n = 0;
  for (auto _ : state) {
    const bool back = (n++ / 8) % 2 == 1;
    switch (how) {
      case Scroll::Page:
        vertical->triggerAction(back ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderPageStepAdd);
        break;
      case Scroll::Wheel: {
        const QPoint at = v->viewport()->rect().center();
        QWheelEvent wheel(at, v->viewport()->mapToGlobal(at), QPoint(), QPoint(0, back ? 120 : -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(v->viewport(), &wheel);
        break;
      }
      case Scroll::Sideways:
        horizontal->triggerAction(back ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderPageStepAdd);
        break;
      case Scroll::Far:  // the scroll bar's handle dragged across the table
        vertical->setValue(n % 2 ? kRecords - 50 : 10 + n % 1000);
        break;
    }
    QApplication::processEvents();  // paints what the scroll brought into view
  }
  // A label, not a counter: the CSV output wants the same counters in every benchmark.
  state.SetLabel(std::to_string(v->rowAt(v->viewport()->height() - 1) - v->rowAt(0) + 1) + " rows in view");
}

// The table's CSV imported back, one cell changed by turns from one import
// to the next (as a modder who edits a column in a spreadsheet): read,
// matched to the records, checked as a save checks it, and put in the grid.
void BM_ImportCsvStarRole(benchmark::State& state) {
  Fixture& f = fixture();
  f.open(QStringLiteral("StarRole.dat"));
  const QString files[] = {f.dir.filePath(QStringLiteral("a.csv")), f.dir.filePath(QStringLiteral("b.csv"))};
  if (!ExportOpenTableCsv(*f.window, files[0], CsvOptions{}, f.front)) {
    state.SkipWithError("export failed");
    return;
  }
  QFile a(files[0]), b(files[1]);
  if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::WriteOnly)) std::abort();
  QByteArray csv = a.readAll();
  const qsizetype line = csv.indexOf('\n', csv.size() / 2) + 1;
  csv.insert(csv.indexOf(',', csv.indexOf(',', line) + 1), 'x');  // a name in the middle
  b.write(csv);
  b.close();
  int n = 0;
  for (auto _ : state)
    if (!ImportOpenTableCsv(*f.window, files[++n % 2], CsvOptions{}, f.front)) state.SkipWithError("import refused");
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_ScrollPageStarRole(benchmark::State& state) { scrollAndPaint(state, Scroll::Page); }
void BM_ScrollWheelStarRole(benchmark::State& state) { scrollAndPaint(state, Scroll::Wheel); }
void BM_ScrollSidewaysStarRole(benchmark::State& state) { scrollAndPaint(state, Scroll::Sideways); }
void BM_ScrollFarStarRole(benchmark::State& state) { scrollAndPaint(state, Scroll::Far); }

}  // namespace

BENCHMARK(BM_OpenStarRole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTeam)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveStarRole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveOfficeEmo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorTeam)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorFirm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorCDW)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorCFR)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindStarRole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterStarRole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterAfterEditStarRole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportCsvStarRole)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_ScrollPageStarRole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollWheelStarRole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollSidewaysStarRole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollFarStarRole)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_fixture.reset();  // the window goes before the application
  return 0;
}
