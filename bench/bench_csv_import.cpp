// The refusal of a CSV far larger than a table can hold: 1,000,000 records
// for Team.dat (about 35 MB). The import stops at the first record too many,
// so neither its time nor its memory grows with the rest of the file.
//   ImportRefusal: the command-line tool's `import` as a process of its own,
//     from its start to its exit, with the peak resident memory it reached
//     (its getrusage maximum) beside the CSV's size.
//   CsvToRecordsRefusal: the CSV reading alone, in this process.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "tools/CsvTable.h"
#include "tools/Sample.h"

extern char** environ;

using namespace v3;

namespace {

constexpr int kRows = 1000000;

struct Input {
  QTemporaryDir dir;
  QString data, csvPath;
  QByteArray csv, team;
  Input() {
    data = dir.filePath(QStringLiteral("data"));
    QString error;
    if (!WriteSampleFolder(data, 1, 100, &error)) qFatal("%s", qPrintable(error));
    csv.reserve(qsizetype(kRows) * 40);
    const QByteArray name = QByteArrayLiteral("\xE5\x9C\x98\xE9\xAB\x94");  // 團體 in UTF-8
    for (int r = 1; r <= kRows; ++r)
      csv += QByteArray::number(r) + ',' + name + QByteArray::number(r % 1000) + ",-1,-1,3,7,2500,60,40,0,12\r\n";
    csvPath = dir.filePath(QStringLiteral("team.csv"));
    QFile f(csvPath);
    if (!f.open(QIODevice::WriteOnly) || f.write(csv) != csv.size()) qFatal("cannot write %s", qPrintable(csvPath));
    f.close();
    team = teamBytes();
  }
  QByteArray teamBytes() const {
    QFile f(data + QStringLiteral("/Team.dat"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

Input& input() {
  static Input in;
  return in;
}

// Runs the command to its end: its exit status (-1 when it did not exit),
// its peak resident memory in KB and the start of its standard error.
int run(const std::vector<QByteArray>& args, long* peakKb, QByteArray* err) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
  std::vector<char*> argv;
  for (const QByteArray& a : args) argv.push_back(const_cast<char*>(a.constData()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    return -1;
  }
  char buffer[4096];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
    if (err->size() < 4096) err->append(buffer, n);
  close(pipeFds[0]);
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return -1;
  *peakKb = usage.ru_maxrss;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_ImportRefusal(benchmark::State& state) {
  Input& in = input();
  const std::vector<QByteArray> args{QByteArrayLiteral(V3_CLI_PATH), "import", in.data.toLocal8Bit(), "Team.dat",
                                     in.csvPath.toLocal8Bit()};
  long peak = 0;
  for (auto _ : state) {
    long kb = 0;
    QByteArray err;
    const int code = run(args, &kb, &err);
    if (code != 3 || !err.contains("32767")) {  // a refused import: exit status 3
      state.SkipWithError(("not refused at the record limit: " + err.left(200)).constData());
      break;
    }
    peak = std::max(peak, kb);
  }
  if (in.teamBytes() != in.team) state.SkipWithError("Team.dat changed");
  const double mb = 1024.0 * 1024.0;
  state.counters["csv_MB"] = double(in.csv.size()) / mb;
  state.counters["peak_MB"] = double(peak) / 1024.0;
  state.counters["goal_MB"] = 150.0;
}

void BM_CsvToRecordsRefusal(benchmark::State& state) {
  Input& in = input();
  CsvOptions options;
  std::vector<QStringList> records;
  for (auto _ : state) {
    CsvRefusal refusal;
    if (CsvToRecords(in.csv, 11, QStringLiteral("Team.dat"), options, &records, &refusal) ||
        refusal.line != kMaxCsvRecords + 1) {
      state.SkipWithError("not refused at the record limit");
      break;
    }
    benchmark::DoNotOptimize(records.size());
  }
}

}  // namespace

BENCHMARK(BM_ImportRefusal)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CsvToRecordsRefusal)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
