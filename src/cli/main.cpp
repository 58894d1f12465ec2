// vantaro3-cli: the command-line side of the editor. It loads and saves the
// game's tables with the same routines as the editor's grid.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include "tables/StandaloneTables.h"
#include "text/Language.h"
#include "tools/CsvTable.h"
#include "tools/Diff.h"
#include "tools/Lint.h"
#include "tools/StandaloneCsv.h"
#include "tools/ToolTable.h"
#include "tools/Sample.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/DiskFile.h"
#include "text/Locale.h"
#include "text/Places.h"
#include "storage/BackupHistory.h"
#include "storage/SafeSave.h"

using namespace v3;

namespace {

const char kUsage[] =
    "Usage: vantaro3-cli [--locale N] COMMAND ...\n"
    "\n"
    "Loads and saves the game's data tables with the same routines as the editor.\n"
    "\n"
    "Commands:\n"
    "  export FOLDER TABLE [--encoding E] [--bom] [--header]\n"
    "      Write TABLE of the data folder as CSV to standard output: one line per\n"
    "      record, the grid's columns in order (the standalone tables: the values\n"
    "      their window shows, one line per record). --header writes the column\n"
    "      headers of the language file first; --bom puts a UTF-8 byte order mark\n"
    "      first (for spreadsheet programs). A character the encoding cannot hold\n"
    "      stops the export with its line and column.\n"
    "  import FOLDER TABLE CSVFILE [--encoding E] [--allow-empty]\n"
    "      Replace TABLE's records with the CSV's and save it as the editor does\n"
    "      (TABLE.bak keeps the old file; the standalone tables are patched in\n"
    "      place like their windows do). Refused, and nothing written, when the\n"
    "      file is not valid in its encoding (the line and byte are named), a line\n"
    "      has the wrong number of fields, a cell cannot be stored, or the CSV has\n"
    "      no records (unless --allow-empty). A first line that is the table's\n"
    "      header in either script is skipped; a UTF-8 byte order mark is skipped.\n"
    "  check FOLDER [TABLE ...]\n"
    "      Load and save each table in memory; report whether its bytes stay identical.\n"
    "  diff FOLDER_A FOLDER_B [TABLE ...] [--csv]\n"
    "      Record-level differences: records matched by number (and occurrence);\n"
    "      added and removed records, changed cells as \"column: old → new\".\n"
    "      --csv writes table,record,occurrence,change,column,column name,old,new.\n"
    "  lint FOLDER\n"
    "      Report what the game would trip over, with table, row and column: team\n"
    "      members and firm artists past the end of StarRole.dat, producer numbers\n"
    "      without a Producer.tab record, repeated record numbers, cells a save\n"
    "      would refuse, Active.tab and Pression.tab without their 9 and 99 records.\n"
    "  backups FOLDER [TABLE]\n"
    "      List the earlier versions each save kept (in FOLDER/Vantaro3Backups), newest\n"
    "      first, one line each: id, date and time, size in bytes (and the table,\n"
    "      when no TABLE is given). Config.ini's BackupVersions= sets how many are kept.\n"
    "  restore FOLDER TABLE ID\n"
    "      Put version ID of TABLE back. This is a save: the file it replaces goes\n"
    "      into the history and TABLE.bak first.\n"
    "  sample OUTDIR [--seed N] [--records M] [--force]\n"
    "      Write a sample data folder with every table. A folder that holds any\n"
    "      of the game's files is refused unless --force is given.\n"
    "  tables\n"
    "      List the tables.\n"
    "\n"
    "TABLE is a file name such as Team.dat, matched without regard to case.\n"
    "E is utf-8 (the default), gbk or big5.\n"
    "--locale N sets the system locale id (2052 Simplified, 1028 Traditional); it\n"
    "chooses the language file (CHS.txt or CHT.txt) for headers and column names\n"
    "and how text is written (on 2052 Simplified characters become Traditional).\n"
    "\n"
    "Exit status: 0 success (diff: no difference; lint: nothing found); 1 a table\n"
    "differs, a save or import was refused or failed, a file cannot be read, diff\n"
    "found differences or lint found problems; 2 bad usage or a CSV file that is not there.\n";

void out(const QByteArray& b) { std::fwrite(b.constData(), 1, size_t(b.size()), stdout); }
void err(const QString& s) {
  const QByteArray b = s.toUtf8() + '\n';
  std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
}

// What a save went through with but the user should know.
void warn(const QStringList& notices) {
  for (const QString& n : notices) err(QStringLiteral("vantaro3-cli: warning: %1").arg(n));
}

// Saves keep as many earlier versions as Config.ini beside the program says.
SaveFileOptions saveOptions(const FileStamp* expected = nullptr) {
  SaveFileOptions o;
  o.expected = expected;
  o.historyDepth = HistoryDepthSetting(ConfigFolder(QCoreApplication::applicationDirPath()));
  return o;
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

// check's line for a table: whether a save would give back the file's bytes.
int reportSame(const QString& fileName, const QByteArray& bytes, const QByteArray& saved, int records) {
  if (saved == bytes) {
    out(QStringLiteral("%1: identical (%2 records)\n").arg(fileName).arg(records).toUtf8());
    return 0;
  }
  qsizetype at = 0;
  while (at < saved.size() && at < bytes.size() && saved[at] == bytes[at]) ++at;
  out(QStringLiteral("%1: differs at offset %2 (0x%3; file %4 bytes, saved %5 bytes)\n")
          .arg(fileName).arg(at).arg(at, 0, 16).arg(bytes.size()).arg(saved.size()).toUtf8());
  return 1;
}

// The options export and import share, taken out of the arguments.
struct CsvArguments {
  QStringList positional;
  CsvOptions options;
  bool header = false;
  bool encodingGiven = false;
};

bool takeCsvArguments(const QString& command, const QStringList& a, bool importing, CsvArguments* out, int* status) {
  for (qsizetype i = 0; i < a.size(); ++i) {
    const QString& arg = a[i];
    if (arg == QLatin1String("--encoding") || arg.startsWith(QLatin1String("--encoding="))) {
      QString value;
      if (arg.contains(u'=')) {
        value = arg.section(u'=', 1);
      } else if (i + 1 < a.size()) {
        value = a[++i];
      } else {
        *status = usageError(QStringLiteral("%1: --encoding needs utf-8, gbk or big5").arg(command));
        return false;
      }
      if (!TextEncodingFromName(value, &out->options.encoding)) {
        *status = usageError(QStringLiteral("%1: unknown encoding %2 (utf-8, gbk or big5)").arg(command, value));
        return false;
      }
      out->encodingGiven = true;
    } else if (arg == QLatin1String("--header")) {
      out->header = true;
    } else if (!importing && arg == QLatin1String("--bom")) {
      out->options.bom = true;
    } else if (importing && arg == QLatin1String("--allow-empty")) {
      out->options.allowEmpty = true;
    } else if (arg.startsWith(QLatin1String("--"))) {
      *status = usageError(QStringLiteral("%1: unknown option %2").arg(command, arg));
      return false;
    } else {
      out->positional << arg;
    }
  }
  if (out->options.bom && out->options.encoding != TextEncoding::Utf8) {
    *status = usageError(QStringLiteral("%1: --bom is for UTF-8 only").arg(command));
    return false;
  }
  return true;
}

bool anyTable(const QString& name, ToolTable* t, int* status) {
  if (FindToolTable(name, t)) return true;
  return table(name, status) != nullptr;
}

// Header lines that an import skips: the table's header in both scripts.
std::vector<QStringList> knownHeaders(const ToolTable& t) {
  return HeaderLinesOfBothScripts([&t] { return t.header(); });
}

int cmdExport(const QStringList& args) {
  CsvArguments csv;
  int status = 0;
  if (!takeCsvArguments(QStringLiteral("export"), args, false, &csv, &status)) return status;
  const QStringList& a = csv.positional;
  if (a.size() != 2) return usageError(QStringLiteral("export needs FOLDER and TABLE"));
  if (!checkFolder(a[0], &status)) return status;
  ToolTable t;
  if (!anyTable(a[1], &t, &status)) return status;
  if (csv.header) csv.options.header = t.header();
  QString error;
  QByteArray text;
  CsvRefusal refusal;
  bool written = false;
  if (t.grid) {
    // Each record straight from the file's bytes into the CSV.
    written = TableToCsv(*t.grid, a[0], csv.options, &text, &error, &refusal);
  } else {
    std::vector<QStringList> rows;
    bool exists = false;
    if (t.read(a[0], &rows, &exists, &error)) written = RecordsToCsv(rows, csv.options, &text, &refusal);
  }
  if (!error.isEmpty()) {
    err(QStringLiteral("cannot read %1: %2").arg(t.fileName(), error));
    return 1;
  }
  if (!written) {
    err(refusal.message(QStringLiteral("export of %1").arg(t.fileName())));
    return 1;
  }
  out(text);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    err(QStringLiteral("cannot write the CSV of %1: %2").arg(t.fileName(), disk::SystemReason(errno)));
    return 1;
  }
  return 0;
}

int importStandalone(const StandaloneInfo& info, const QString& folder, const std::vector<QStringList>& records,
                     const QString& csvName) {
  StandaloneTable table(info.kind);
  QString error;
  if (!table.load(folder, &error)) {
    err(QStringLiteral("cannot read %1: %2").arg(info.fileName, error));
    return 1;
  }
  if (!SetStandaloneRows(table, records, &error)) {
    err(QStringLiteral("%1: %2").arg(csvName, error));
    return 1;
  }
  const StandaloneSave outcome = table.save(folder, FileStore::disk(), saveOptions());
  if (!outcome.ok()) {
    err(outcome.message(info.fileName));
    return 1;
  }
  warn(outcome.notices);
  err(QStringLiteral("%1: %2 records saved%3")
          .arg(info.fileName)
          .arg(records.size())
          .arg(outcome.status == StandaloneSave::Unchanged ? QStringLiteral(" (unchanged)") : QString()));
  return 0;
}

int cmdImport(const QStringList& args) {
  CsvArguments csv;
  int status = 0;
  if (!takeCsvArguments(QStringLiteral("import"), args, true, &csv, &status)) return status;
  const QStringList& a = csv.positional;
  if (a.size() != 3) return usageError(QStringLiteral("import needs FOLDER, TABLE and CSVFILE"));
  if (!checkFolder(a[0], &status)) return status;
  ToolTable t;
  if (!anyTable(a[1], &t, &status)) return status;
  // The CSV is taken whole or not at all: part of it would replace the table
  // with part of its records.
  QByteArray bytes;
  bool csvExists = false;
  QString readError;
  if (!disk::Read(a[2], &bytes, &csvExists, &readError)) {
    err(QStringLiteral("cannot read %1: %2").arg(a[2], readError));
    return 1;
  }
  if (!csvExists) return usageError(QStringLiteral("cannot read %1: %2").arg(a[2], disk::SystemReason(ENOENT)));
  // A header line is always recognised, whether or not --header is given.
  csv.options.knownHeaders = knownHeaders(t);
  std::vector<QStringList> records;
  CsvRefusal refusal;
  if (!CsvToRecords(bytes, t.fieldCount(), t.fileName(), csv.options, &records, &refusal)) {
    err(refusal.message(a[2]));
    if (records.empty() && refusal.line == 0 && !csv.options.allowEmpty)
      err(QStringLiteral("(give --allow-empty to empty the table)"));
    return 1;
  }
  if (t.standalone) return importStandalone(*t.standalone, a[0], records, a[2]);
  if (t.grid->readOnly) {
    err(QStringLiteral("%1 is read-only: nothing written").arg(t.grid->fileName));
    return 1;
  }
  // Each CSV row finds the record it was exported from, so the cells it
  // leaves as they were keep their bytes.
  QString tableError;
  const QString tablePath = DataFilePath(a[0], t.grid->fileName);
  const FileStamp before = FileStamp::before(tablePath);
  QByteArray content;
  std::vector<TableRecord> existing = ReadTableRecords(*t.grid, a[0], &tableError, FileStore::disk(), &content);
  if (!tableError.isEmpty()) {
    err(QStringLiteral("cannot read %1: %2").arg(t.grid->fileName, tableError));
    return 1;
  }
  RecordGrid grid;
  grid.resetRecords(t.fieldCount(), MatchCsvRecords(std::move(records), existing));
  // The save replaces only the file these records were matched against.
  const FileStamp loaded = before.withContent(content);
  const SaveOutcome outcome = SaveTable(*t.grid, a[0], grid, FileStore::disk(), nullptr, saveOptions(&loaded));
  if (!outcome.ok()) {
    err(outcome.message(t.grid->fileName));
    return 1;
  }
  err(QStringLiteral("%1: %2 records saved").arg(t.grid->fileName).arg(grid.recordCount()));
  warn(outcome.notices);
  return 0;
}

// check of a standalone table: load and patch with nothing changed.
int checkStandalone(const StandaloneInfo& info, const QString& folder, bool named) {
  const QString path = DataFilePath(folder, info.fileName);
  bool exists = false;
  QString error;
  const QByteArray bytes = FileStore::disk().read(path, &exists, &error);
  if (!exists) {
    out(QStringLiteral("%1: missing\n").arg(info.fileName).toUtf8());
    return named ? 1 : 0;
  }
  if (!error.isEmpty()) {
    out(QStringLiteral("%1: cannot be read: %2\n").arg(info.fileName, error).toUtf8());
    return 1;
  }
  StandaloneTable table(info.kind);
  table.loadBytes(bytes);
  QByteArray saved;
  const StandaloneSave o = table.patch(bytes, &saved);
  if (!o.ok()) {
    out(QStringLiteral("%1: would be refused: %2\n").arg(info.fileName, o.message(info.fileName)).toUtf8());
    return 1;
  }
  const int records = int(table.values().size()) / StandaloneColumnCount(info.kind);
  return reportSame(info.fileName, bytes, saved, records);
}

// The disk, where reading a file a second time gives the bytes of the first
// read (shared, not copied): check compares the save with the very bytes the load read.
class ReadOnceStore : public FileStore {
 public:
  QByteArray read(const QString& path, bool* exists, QString* error) override {
    if (path != path_) {
      path_ = path;
      bytes_ = FileStore::disk().read(path, &exists_, &error_);
    }
    *exists = exists_;
    if (error) *error = error_;
    return bytes_;
  }

 private:
  QString path_;
  QByteArray bytes_;
  bool exists_ = false;
  QString error_;
};

int cmdCheck(const QStringList& a) {
  if (a.isEmpty()) return usageError(QStringLiteral("check needs FOLDER"));
  int status = 0;
  if (!checkFolder(a[0], &status)) return status;
  std::vector<const TableDef*> tables;
  std::vector<const StandaloneInfo*> standalone;
  if (a.size() == 1) {
    tables = AllTables();
    for (const StandaloneInfo& i : StandaloneTables()) standalone.push_back(&i);
  } else {
    for (const QString& name : a.mid(1)) {
      ToolTable t;
      if (!anyTable(name, &t, &status)) return status;
      if (t.grid) tables.push_back(t.grid);
      else standalone.push_back(t.standalone);
    }
  }
  int result = 0;
  for (const StandaloneInfo* i : standalone) result |= checkStandalone(*i, a[0], a.size() > 1);
  for (const TableDef* t : tables) {
    const QString path = DataFilePath(a[0], t->fileName);
    bool exists = false;
    QString error;
    ReadOnceStore store;
    const QByteArray bytes = store.read(path, &exists, &error);
    RecordGrid grid;
    if (error.isEmpty() && exists) LoadTable(*t, a[0], grid, &error, store);
    if (!error.isEmpty()) {
      out(QStringLiteral("%1: cannot be read: %2\n").arg(t->fileName, error).toUtf8());
      result = 1;
      continue;
    }
    if (!exists) {
      out(QStringLiteral("%1: missing\n").arg(t->fileName).toUtf8());
      if (a.size() > 1) result = 1;
      continue;
    }
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
    result |= reportSame(t->fileName, bytes, saved, grid.recordCount());
  }
  // What stopped saves left behind is worth a look too.
  QStringList files;
  for (const StandaloneInfo* i : standalone) files << i->fileName;
  for (const TableDef* t : tables) files << t->fileName;
  for (const QString& f : files)
    for (const QString& stray : SaveLeftovers(DataFilePath(a[0], f))) {
      out(QStringLiteral("%1: temporary file left by an interrupted save: %2 (the next save of %1 removes it)\n")
              .arg(f, QDir::toNativeSeparators(stray)).toUtf8());
      result = 1;
    }
  return result;
}

int cmdDiff(const QStringList& args) {
  bool csv = false;
  QStringList a;
  for (const QString& arg : args) {
    if (arg == QLatin1String("--csv")) csv = true;
    else if (arg.startsWith(QLatin1String("--"))) return usageError(QStringLiteral("diff: unknown option %1").arg(arg));
    else a << arg;
  }
  if (a.size() < 2) return usageError(QStringLiteral("diff needs FOLDER_A and FOLDER_B"));
  int status = 0;
  if (!checkFolder(a[0], &status) || !checkFolder(a[1], &status)) return status;
  std::vector<ToolTable> tables;
  for (const QString& name : a.mid(2)) {
    ToolTable t;
    if (!anyTable(name, &t, &status)) return status;
    tables.push_back(t);
  }
  const std::vector<TableDifference> diffs = DiffFolders(a[0], a[1], tables);
  bool same = true, unreadable = false;
  for (const TableDifference& d : diffs) {
    same = same && d.same();
    unreadable = unreadable || !d.errorA.isEmpty() || !d.errorB.isEmpty();
  }
  out(csv ? DiffCsv(diffs) : DiffReport(diffs).toUtf8());
  if (unreadable) return 2;
  return same ? 0 : 1;
}

int cmdLint(const QStringList& a) {
  if (a.size() != 1) return usageError(QStringLiteral("lint needs FOLDER"));
  int status = 0;
  if (!checkFolder(a[0], &status)) return status;
  const std::vector<LintFinding> findings = LintFolder(a[0]);
  QString text;
  for (const LintFinding& f : findings) text += f.text() + u'\n';
  out(text.toUtf8());
  if (findings.empty()) err(QStringLiteral("no findings"));
  else err(QStringLiteral("%1 findings").arg(findings.size()));
  return findings.empty() ? 0 : 1;
}

// The file name of a table given by name, any case, or false with a usage error.
bool tableFile(const QString& name, QString* fileName, bool* readOnly, int* status) {
  ToolTable t;
  if (!anyTable(name, &t, status)) return false;
  *fileName = t.fileName();
  *readOnly = t.grid && t.grid->readOnly;
  return true;
}

QString shownTime(const QDateTime& utc) { return utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

int cmdBackups(const QStringList& a) {
  if (a.isEmpty() || a.size() > 2) return usageError(QStringLiteral("backups needs FOLDER and at most one TABLE"));
  int status = 0;
  if (!checkFolder(a[0], &status)) return status;
  QStringList files;
  if (a.size() == 2) {
    QString name;
    bool readOnly = false;
    if (!tableFile(a[1], &name, &readOnly, &status)) return status;
    files << name;
  } else {
    for (const TableDef* t : AllTables()) files << t->fileName;
    for (const StandaloneInfo& i : StandaloneTables()) files << i.fileName;
  }
  QByteArray text;
  int result = 0;
  for (const QString& f : files) {
    QString error;
    const std::vector<BackupVersion> versions = BackupVersions(DataFilePath(a[0], f), &error);
    if (!error.isEmpty()) {
      err(QStringLiteral("%1: %2").arg(f, error));
      result = 1;
    }
    for (const BackupVersion& v : versions) {
      const QString line = QStringLiteral("%1\t%2\t%3\n").arg(v.id).arg(shownTime(v.time)).arg(v.size);
      text += (a.size() == 2 ? line : f + u'\t' + line).toUtf8();
    }
  }
  out(text);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    err(QStringLiteral("cannot write the list: %1").arg(disk::SystemReason(errno)));
    return 1;
  }
  if (text.isEmpty() && result == 0) err(QStringLiteral("no earlier versions"));
  return result;
}

int cmdRestore(const QStringList& a) {
  if (a.size() != 3) return usageError(QStringLiteral("restore needs FOLDER, TABLE and ID"));
  int status = 0;
  if (!checkFolder(a[0], &status)) return status;
  QString name;
  bool readOnly = false;
  if (!tableFile(a[1], &name, &readOnly, &status)) return status;
  if (readOnly) {
    err(QStringLiteral("%1 is read-only: nothing written").arg(name));
    return 1;
  }
  const QString path = DataFilePath(a[0], name);
  BackupVersion version;
  QString error;
  if (!FindBackupVersion(path, a[2], &version, &error)) {
    err(QStringLiteral("restore: %1").arg(error));
    return 1;
  }
  // The file as it is now is what the restore replaces (and keeps).
  const FileStamp now = FileStamp::of(path);
  const SaveFileResult r = RestoreBackupVersion(path, version, saveOptions(&now));
  if (!r.ok()) {
    err(QStringLiteral("%1 not restored: %2").arg(name, r.error));
    return 1;
  }
  err(QStringLiteral("%1: version %2 (%3) restored").arg(name).arg(version.id).arg(shownTime(version.time)));
  warn(r.notices);
  return 0;
}

int cmdSample(const QStringList& a) {
  QString dir;
  unsigned seed = 1;
  int records = 20;
  bool force = false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    bool ok = true;
    if (a[i] == QLatin1String("--seed") && i + 1 < a.size()) {
      seed = a[++i].toUInt(&ok);
    } else if (a[i] == QLatin1String("--records") && i + 1 < a.size()) {
      records = a[++i].toInt(&ok);
      ok = ok && records >= 1 && records <= 32767;
    } else if (a[i] == QLatin1String("--force")) {
      force = true;
    } else if (a[i].startsWith(QLatin1String("--")) || !dir.isEmpty()) {
      return usageError(QStringLiteral("sample: unexpected argument %1").arg(a[i]));
    } else {
      dir = a[i];
    }
    if (!ok) return usageError(QStringLiteral("sample: bad value for %1").arg(a[i - 1]));
  }
  if (dir.isEmpty()) return usageError(QStringLiteral("sample needs OUTDIR"));
  // A sample is made up: it never replaces a game's files.
  if (!force) {
    QStringList there;
    for (const QString& name : SampleFileNames())
      if (QFileInfo::exists(QDir(dir).filePath(name))) there << name;
    if (!there.isEmpty()) {
      err(QStringLiteral("sample: %1 already holds %2; choose an empty folder, or give --force to replace them")
              .arg(QDir::toNativeSeparators(dir), there.join(QStringLiteral(", "))));
      return 1;
    }
  }
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
  // Headers and column names come from the language file of the locale's script.
  SelectLanguageFile(LanguageCodeForLocale(SystemLocaleNumber()), LanguageFolder(QCoreApplication::applicationDirPath()));
  QStringList args = app.arguments().mid(1);
  if (args.isEmpty()) return usageError(QStringLiteral("no command"));
  const QString command = args.takeFirst();
  if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
    out(kUsage);
    return 0;
  }
  if (command == QLatin1String("--version")) {
    out("vantaro3-cli " V3_VERSION "\n");
    return 0;
  }
  if (command == QLatin1String("export")) return cmdExport(args);
  if (command == QLatin1String("import")) return cmdImport(args);
  if (command == QLatin1String("check")) return cmdCheck(args);
  if (command == QLatin1String("sample")) return cmdSample(args);
  if (command == QLatin1String("diff")) return cmdDiff(args);
  if (command == QLatin1String("lint")) return cmdLint(args);
  if (command == QLatin1String("backups")) return cmdBackups(args);
  if (command == QLatin1String("restore")) return cmdRestore(args);
  if (command == QLatin1String("tables")) {
    for (const TableDef* t : AllTables())
      out(QStringLiteral("%1\t%2 columns%3\n").arg(t->fileName).arg(t->fieldCount()).arg(t->readOnly ? ", read-only" : "").toUtf8());
    for (const StandaloneInfo& i : StandaloneTables())
      out(QStringLiteral("%1\t%2 columns, patched in place\n").arg(i.fileName).arg(StandaloneColumnCount(i.kind)).toUtf8());
    return 0;
  }
  return usageError(QStringLiteral("unknown command: %1").arg(command));
}
