// vantaro3-cli: the command-line side of the editor. It loads and saves the
// game's tables with the same routines as the editor's grid.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

#include "tools/CsvTable.h"
#include "tools/Sample.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/Locale.h"

using namespace v3;

namespace {

const char kUsage[] =
    "Usage: vantaro3-cli [--locale N] COMMAND ...\n"
    "\n"
    "Commands:\n"
    "  export FOLDER TABLE           write TABLE of the data folder as CSV (UTF-8) to standard output\n"
    "  import FOLDER TABLE CSVFILE   replace TABLE's records with the CSV's and save it (keeps TABLE.bak)\n"
    "  check FOLDER [TABLE ...]      load and save each table in memory; report whether its bytes stay identical\n"
    "  sample OUTDIR [--seed N] [--records M]\n"
    "                                write a sample data folder with every table\n"
    "  tables                        list the tables\n"
    "\n"
    "TABLE is a file name such as Team.dat, matched without regard to case.\n"
    "--locale N sets the system locale id (2052 Simplified, 1028 Traditional).\n"
    "Exit status: 0 success, 1 a table differs or a save was refused, 2 bad usage.\n";

void out(const QByteArray& b) { std::fwrite(b.constData(), 1, size_t(b.size()), stdout); }
void err(const QString& s) {
  const QByteArray b = s.toUtf8() + '\n';
  std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
}

int usageError(const QString& message) {
  err(QStringLiteral("vantaro3-cli: %1").arg(message));
  err(QStringLiteral("Try 'vantaro3-cli --help'."));
  return 2;
}

bool checkFolder(const QString& folder, int* status) {
  if (!QFileInfo(folder).isDir()) {
    *status = usageError(QStringLiteral("no such folder: %1").arg(folder));
    return false;
  }
  return true;
}

const TableDef* table(const QString& name, int* status) {
  const TableDef* t = FindTable(name);
  if (!t) *status = usageError(QStringLiteral("unknown table: %1 (see 'vantaro3-cli tables')").arg(name));
  return t;
}

int cmdExport(const QStringList& a) {
  if (a.size() != 2) return usageError(QStringLiteral("export needs FOLDER and TABLE"));
  int status = 0;
  if (!checkFolder(a[0], &status)) return status;
  const TableDef* t = table(a[1], &status);
  if (!t) return status;
  QString error;
  const std::vector<QStringList> rows = ReadTableRows(*t, a[0], &error);
  if (!error.isEmpty()) {
    err(QStringLiteral("cannot read %1: %2").arg(t->fileName, error));
    return 1;
  }
  out(RecordsToCsv(rows));
  return 0;
}

int cmdImport(const QStringList& a) {
  if (a.size() != 3) return usageError(QStringLiteral("import needs FOLDER, TABLE and CSVFILE"));
  int status = 0;
  if (!checkFolder(a[0], &status)) return status;
  const TableDef* t = table(a[1], &status);
  if (!t) return status;
  QFile f(a[2]);
  if (!f.open(QIODevice::ReadOnly)) return usageError(QStringLiteral("cannot read %1: %2").arg(a[2], f.errorString()));
  std::vector<QStringList> records;
  CsvRefusal refusal;
  const int k = t->fieldCount();
  if (!CsvToRecords(f.readAll(), k, t->fileName, &records, &refusal)) {
    err(refusal.message(a[2]));
    return 1;
  }
  if (t->readOnly) {
    err(QStringLiteral("%1 is read-only: nothing written").arg(t->fileName));
    return 1;
  }
  RecordGrid grid;
  grid.reset(k, std::move(records));
  const SaveOutcome outcome = SaveTable(*t, a[0], grid);
  if (!outcome.ok()) {
    err(outcome.message(t->fileName));
    return 1;
  }
  err(QStringLiteral("%1: %2 records saved").arg(t->fileName).arg(grid.recordCount()));
  return 0;
}

int cmdCheck(const QStringList& a) {
  if (a.isEmpty()) return usageError(QStringLiteral("check needs FOLDER"));
  int status = 0;
  if (!checkFolder(a[0], &status)) return status;
  std::vector<const TableDef*> tables;
  if (a.size() == 1) {
    tables = AllTables();
  } else {
    for (const QString& name : a.mid(1)) {
      const TableDef* t = table(name, &status);
      if (!t) return status;
      tables.push_back(t);
    }
  }
  int result = 0;
  for (const TableDef* t : tables) {
    const QString path = DataFilePath(a[0], t->fileName);
    bool exists = false;
    QString error;
    const QByteArray bytes = FileStore::disk().read(path, &exists, &error);
    if (!exists) {
      out(QStringLiteral("%1: missing\n").arg(t->fileName).toUtf8());
      if (a.size() > 1) result = 1;
      continue;
    }
    RecordGrid grid;
    LoadTable(*t, a[0], grid);
    if (t->readOnly) {
      out(QStringLiteral("%1: read-only, %2 records loaded\n").arg(t->fileName).arg(grid.recordCount()).toUtf8());
      continue;
    }
    QByteArray saved;
    const SaveOutcome o = EncodeTable(*t, a[0], grid, SaveRowOrder(*t, grid), bytes, &saved);
    if (!o.ok()) {
      out(QStringLiteral("%1: would be refused: %2\n").arg(t->fileName, o.message(t->fileName)).toUtf8());
      result = 1;
      continue;
    }
    if (saved == bytes) {
      out(QStringLiteral("%1: identical (%2 records)\n").arg(t->fileName).arg(grid.recordCount()).toUtf8());
      continue;
    }
    qsizetype at = 0;
    while (at < saved.size() && at < bytes.size() && saved[at] == bytes[at]) ++at;
    out(QStringLiteral("%1: differs at offset %2 (0x%3; file %4 bytes, saved %5 bytes)\n")
            .arg(t->fileName).arg(at).arg(at, 0, 16).arg(bytes.size()).arg(saved.size()).toUtf8());
    result = 1;
  }
  return result;
}

int cmdSample(const QStringList& a) {
  QString dir;
  unsigned seed = 1;
  int records = 20;
  for (qsizetype i = 0; i < a.size(); ++i) {
    bool ok = true;
    if (a[i] == QLatin1String("--seed") && i + 1 < a.size()) {
      seed = a[++i].toUInt(&ok);
    } else if (a[i] == QLatin1String("--records") && i + 1 < a.size()) {
      records = a[++i].toInt(&ok);
      ok = ok && records >= 1 && records <= 32767;
    } else if (a[i].startsWith(QLatin1String("--")) || !dir.isEmpty()) {
      return usageError(QStringLiteral("sample: unexpected argument %1").arg(a[i]));
    } else {
      dir = a[i];
    }
    if (!ok) return usageError(QStringLiteral("sample: bad value for %1").arg(a[i - 1]));
  }
  if (dir.isEmpty()) return usageError(QStringLiteral("sample needs OUTDIR"));
  QString error;
  if (!WriteSampleFolder(dir, seed, records, &error)) {
    err(QStringLiteral("sample: %1").arg(error));
    return 1;
  }
  err(QStringLiteral("sample data folder written: %1").arg(QDir(dir).absolutePath()));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QString error;
  if (!TakeLocaleOption(argc, argv, &error)) return usageError(error);
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  if (args.isEmpty()) return usageError(QStringLiteral("no command"));
  const QString command = args.takeFirst();
  if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
    out(kUsage);
    return 0;
  }
  if (command == QLatin1String("--version")) {
    out("vantaro3-cli " PROJECT_VERSION "\n");
    return 0;
  }
  if (command == QLatin1String("export")) return cmdExport(args);
  if (command == QLatin1String("import")) return cmdImport(args);
  if (command == QLatin1String("check")) return cmdCheck(args);
  if (command == QLatin1String("sample")) return cmdSample(args);
  if (command == QLatin1String("tables")) {
    for (const TableDef* t : AllTables())
      out(QStringLiteral("%1\t%2 columns%3\n").arg(t->fileName).arg(t->fieldCount()).arg(t->readOnly ? ", read-only" : "").toUtf8());
    return 0;
  }
  return usageError(QStringLiteral("unknown command: %1").arg(command));
}
