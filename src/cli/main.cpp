// vantaro3-cli: the command-line side of the editor. It loads and saves the
// game's tables with the same routines as the editor's grid.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <cstdio>

#include <unistd.h>

#include "tables/StandaloneTables.h"
#include "text/Language.h"
#include "tools/Batch.h"
#include "tools/CsvTable.h"
#include "tools/Diff.h"
#include "tools/Lint.h"
#include "tools/Patch.h"
#include "tools/PatchApply.h"
#include "tools/StandaloneCsv.h"
#include "tools/StoredCells.h"
#include "tools/ToolTable.h"
#include "tools/Workbook.h"
#include "tools/Sample.h"
#include "model/LinkedSave.h"
#include "model/TableDocument.h"
#include "text/Translation.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/DiskFile.h"
#include "text/Locale.h"
#include "text/Places.h"
#include "text/StrictCodec.h"
#include "CommandLine.h"
#include "storage/BackupHistory.h"
#include "storage/SafeSave.h"

using namespace v3;

using namespace v3cli;

namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Cli)
};

// What every command reads and writes with, chosen once from the system
// locale before the command runs: the language file the headers and column
// names come from (the one of the locale's script), and the script of the
// system the game runs on, which decides how its text fields are read and
// written (see CodecContext).
struct Context {
  LanguageFile texts;
  Script systemScript = Script::Traditional;
};
Context& context() {
  static Context c;
  return c;
}
LanguageFile& headerTexts() { return context().texts; }
Script systemScript() { return context().systemScript; }

// What a save went through with but the user should know.
void warn(const QStringList& notices) {
  for (const QString& n : notices) Err(Texts::tr("vantaro3-cli: warning: %1").arg(n));
}

// Saves keep as many earlier versions as Config.ini beside the program says.
int historyDepth() { return HistoryDepthSetting(ConfigFolder(QCoreApplication::applicationDirPath())); }

// The data folder as the commands that save a table open it: its documents
// are read with the system's script and saved with the history depth of the
// program's settings.
DataFolder openFolder(const QString& folder) {
  DataFolder data(folder, systemScript());
  data.setHistoryDepth(historyDepth());
  return data;
}

SaveFileOptions saveOptions(const FileStamp* expected = nullptr) {
  SaveFileOptions o;
  o.expected = expected;
  o.historyDepth = historyDepth();
  return o;
}

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// A data folder: one that is there, can be read, and holds at least one of
// the game's files. kSuccess, or kTrouble with the reason told.
int dataFolder(const QString& folder) {
  const QFileInfo info(folder);
  if (!info.exists()) return Trouble(Texts::tr("no such folder: %1").arg(shown(folder)));
  if (!info.isDir()) return Trouble(Texts::tr("%1 is not a folder").arg(shown(folder)));
  if (!info.isReadable() || !info.isExecutable()) return Trouble(Texts::tr("cannot read the folder %1").arg(shown(folder)));
  const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const ToolTable& t : AllToolTables())
    for (const QString& e : entries)
      if (e.compare(t.fileName(), Qt::CaseInsensitive) == 0) return kSuccess;
  return Trouble(Texts::tr("%1 holds none of the game's data files").arg(shown(folder)));
}

int noSuchTable(const QString& fileName, const QString& folder) {
  return Trouble(Texts::tr("%1: no such file in %2").arg(fileName, shown(folder)));
}

// A table given by name, any case; false with a usage error for a name no table has.
bool findTable(const Invocation& in, const QString& name, ToolTable* t, int* status) {
  if (FindToolTable(name, t, headerTexts())) return true;
  *status = in.usageError(Texts::tr("unknown table: %1 (see 'vantaro3-cli tables')").arg(name));
  return false;
}

// check's line for a table: whether a save would give back the file's bytes.
int reportSame(const QString& fileName, const QByteArray& bytes, const QByteArray& saved, int records) {
  if (saved == bytes) {
    Out(Texts::tr("%1: identical (%n record(s))\n", nullptr, records).arg(fileName).toUtf8());
    return kSuccess;
  }
  qsizetype at = 0;
  while (at < saved.size() && at < bytes.size() && saved[at] == bytes[at]) ++at;
  Out(Texts::tr("%1: differs at offset %2 (0x%3; file %4 bytes, saved %5 bytes)\n")
          .arg(fileName).arg(at).arg(at, 0, 16).arg(bytes.size()).arg(saved.size()).toUtf8());
  return kFound;
}

// --encoding, --delimiter, --spreadsheet-safe, --bom and --allow-empty as
// export and import take them.
bool csvOptions(const Invocation& in, CsvOptions* options, int* status) {
  if (in.isSet(QStringLiteral("encoding"))) {
    const QString value = in.value(QStringLiteral("encoding"));
    if (!TextEncodingFromName(value, &options->encoding)) {
      *status = in.usageError(Texts::tr("unknown encoding %1 (utf-8, gbk or big5)").arg(value));
      return false;
    }
  }
  if (in.isSet(QStringLiteral("delimiter"))) {
    const QString value = in.value(QStringLiteral("delimiter"));
    if (!CsvDelimiterFromName(value, &options->delimiter)) {
      *status = in.usageError(Texts::tr("unknown delimiter %1 (\",\", \";\" or tab)").arg(value));
      return false;
    }
  }
  options->spreadsheetSafe = in.isSet(QStringLiteral("spreadsheet-safe"));
  options->bom = in.isSet(QStringLiteral("bom"));
  options->allowEmpty = in.isSet(QStringLiteral("allow-empty"));
  if (options->bom && options->encoding != TextEncoding::Utf8) {
    *status = in.usageError(Texts::tr("--bom is for UTF-8 only"));
    return false;
  }
  return true;
}

// Header lines that an import skips: the table's header in both scripts.
std::vector<QStringList> knownHeaders(const ToolTable& t) {
  return HeaderLinesOfBothScripts(t.texts, [&t](const LanguageFile& file) {
    ToolTable in = t;
    in.texts = file;
    return in.header();
  });
}

int cmdExport(const Invocation& in) {
  const QString folder = in.arg(0);
  int status = kSuccess;
  ToolTable t;
  CsvOptions options;
  if (!findTable(in, in.arg(1), &t, &status) || !csvOptions(in, &options, &status)) return status;
  const QString format = in.isSet(QStringLiteral("format")) ? in.value(QStringLiteral("format")).toLower() : QStringLiteral("csv");
  if (format != QLatin1String("csv") && format != QLatin1String("xlsx"))
    return in.usageError(Texts::tr("unknown format %1 (csv or xlsx)").arg(in.value(QStringLiteral("format"))));
  const bool xlsx = format == QLatin1String("xlsx");
  if (xlsx && (in.isSet(QStringLiteral("encoding")) || in.isSet(QStringLiteral("delimiter")) || options.bom ||
               options.spreadsheetSafe))
    return in.usageError(Texts::tr("--encoding, --delimiter, --bom and --spreadsheet-safe are for CSV; a workbook "
                                   "keeps its text cells as text"));
  // A workbook's bytes are no text for a terminal.
  if (xlsx && isatty(STDOUT_FILENO))
    return Trouble(Texts::tr("a workbook is not written to a terminal: redirect the output into a file"));
  if (int s = dataFolder(folder)) return s;
  // Anything by the name (a folder, too) is read, and told of when it cannot be.
  if (!QFileInfo::exists(DataFilePath(folder, t.fileName()))) return noSuchTable(t.fileName(), folder);
  if (in.isSet(QStringLiteral("header")) && !xlsx) {
    options.header = t.header();
    // A header of empty names is written, but not without a word.
    bool named = false;
    for (const QString& h : options.header) named = named || !h.trimmed().isEmpty();
    if (!named)
      Err(Texts::tr("vantaro3-cli: warning: no column headers for %1: %2 is missing; the header line is empty")
              .arg(t.fileName(), shown(headerTexts().path().isEmpty() ? LanguageFolder(QCoreApplication::applicationDirPath())
                                                                        : headerTexts().path())));
  }
  QString error;
  QByteArray text;
  CsvRefusal refusal;
  bool written = false;
  if (xlsx) {
    // A workbook always has its header row, typed cells and lists.
    QString workbookError;
    if (!(written = TableToXlsx(t, folder, systemScript(), &text, &error, &workbookError)))
      refusal.reason = workbookError;
  } else if (t.grid) {
    // Each record straight from the file's bytes into the CSV, written out
    // as it grows (a refusal then stops it after the lines before).
    written = TableToCsv(*t.grid, folder, systemScript(), options, &text, &error, &refusal,
                         [](QByteArrayView part) { Out(part); });
  } else {
    std::vector<QStringList> rows;
    bool exists = false;
    if (t.read(folder, systemScript(), &rows, &exists, &error)) written = RecordsToCsv(rows, options, &text, &refusal);
  }
  if (!error.isEmpty()) {
    Err(Texts::tr("cannot read %1: %2").arg(t.fileName(), error));
    return kTrouble;
  }
  if (!written) {
    Err(refusal.message(Texts::tr("export of %1").arg(t.fileName())));
    return kTrouble;
  }
  Out(text);
  return FinishOutput(xlsx ? Texts::tr("the workbook of %1").arg(t.fileName()) : Texts::tr("the CSV of %1").arg(t.fileName()));
}

// An import's summary line: what it does to the records, and the blank
// rows of the file it skipped.
QString importSummary(const QString& fileName, const ImportCounts& c) {
  return Texts::tr("%1: %2 changed, %3 added, %4 removed, %5 unchanged")
             .arg(fileName)
             .arg(c.changed)
             .arg(c.added)
             .arg(c.removed)
             .arg(c.unchanged) +
         (c.blank > 0 ? Texts::tr(" (%n blank row(s) skipped)", nullptr, c.blank) : QString());
}

// What an import may do: --allow-removal (or --allow-empty) lets it remove
// records, --dry-run only tells.
struct ImportMode {
  bool allowRemoval = false;
  bool dryRun = false;
};

int importStandalone(const ToolTable& t, const QString& folder, const ImportedRows& imported, const QString& csvName,
                     const ImportMode& mode) {
  const StandaloneInfo& info = *t.standalone;
  StandaloneTable table(info.kind, systemScript());
  QString error;
  if (!table.load(folder, &error)) {
    Err(Texts::tr("cannot read %1: %2").arg(info.fileName, error));
    return kTrouble;
  }
  const std::vector<QStringList> now = StandaloneRows(table);
  const std::vector<QStringList>& rows = imported.records;
  if (!SetStandaloneRows(table, rows, &error)) {
    Err(QStringLiteral("%1: %2").arg(csvName, error));
    return kTrouble;
  }
  // Its rows go to the records by position: a re-sorted file is refused.
  int record = -1;
  if (const int moved = MovedStandaloneRow(info.kind, now, rows, &record); moved >= 0) {
    Err(Texts::tr("%1: line %2: this row is record %3 of %4, which is matched by position: the rows are not in "
                  "the order of the export; nothing written")
            .arg(csvName)
            .arg(imported.lines[size_t(moved)])
            .arg(record + 1)
            .arg(info.fileName));
    return kTrouble;
  }
  ImportCounts counts;
  counts.blank = imported.blankRows;
  for (size_t r = 0; r < rows.size(); ++r) ++(rows[r] == now[r] ? counts.unchanged : counts.changed);
  if (mode.dryRun) {
    // Checked as the save checks, in memory.
    bool exists = false;
    const QByteArray bytes = FileStore::disk().read(DataFilePath(folder, info.fileName), &exists, &error);
    QByteArray patched;
    const StandaloneSave checked = table.patch(bytes, &patched);
    if (!checked.ok()) {
      Err(checked.message(info.fileName));
      return kTrouble;
    }
    TableDifference d;
    d.table = t;
    d.records = DiffRecords(t, now, rows);
    Out(DiffReport({d}).toUtf8());
    if (int s = FinishOutput(Texts::tr("the changes"))) return s;
    Err(importSummary(info.fileName, counts) + Texts::tr(" (dry run: nothing written)"));
    return kSuccess;
  }
  const StandaloneSave outcome = table.save(folder, FileStore::disk(), saveOptions());
  if (!outcome.ok()) {
    Err(outcome.message(info.fileName));
    return kTrouble;
  }
  warn(outcome.notices);
  Err(importSummary(info.fileName, counts));
  Err(Texts::tr("%1: %n record(s) saved%2", nullptr, int(rows.size()))
          .arg(info.fileName)
          .arg(outcome.status == StandaloneSave::Unchanged ? Texts::tr(" (unchanged)") : QString()));
  return kSuccess;
}

int cmdImport(const Invocation& in) {
  const QString folder = in.arg(0), csvPath = in.arg(2), csvName = InputName(csvPath);
  int status = kSuccess;
  ToolTable t;
  CsvOptions options;
  if (!findTable(in, in.arg(1), &t, &status) || !csvOptions(in, &options, &status)) return status;
  if (int s = dataFolder(folder)) return s;
  ImportMode mode;
  mode.dryRun = in.isSet(QStringLiteral("dry-run"));
  // Emptying the table removes every record: --allow-empty says so too.
  mode.allowRemoval = in.isSet(QStringLiteral("allow-removal")) || options.allowEmpty;
  // The CSV is taken whole or not at all: part of it would replace the table
  // with part of its records.
  QByteArray bytes;
  QString readError;
  if (!ReadInputFile(csvPath, &bytes, &readError)) {
    Err(readError);
    return kTrouble;
  }
  // A header line is always recognised, whether or not --header is given.
  options.knownHeaders = knownHeaders(t);
  ImportedRows imported;
  CsvRefusal refusal;
  // A workbook is known by its content, whatever the file is called.
  if (!SheetFileToRecords(bytes, t.fieldCount(), t.fileName(), options, &imported, &refusal)) {
    Err(refusal.message(csvName));
    if (imported.records.empty() && refusal.line == 0 && !options.allowEmpty)
      Err(Texts::tr("(give --allow-empty to empty the table)"));
    return kTrouble;
  }
  if (t.standalone) return importStandalone(t, folder, imported, csvName, mode);
  if (t.grid->readOnly) {
    Err(Texts::tr("%1 is read-only: nothing written").arg(t.grid->fileName));
    return kTrouble;
  }
  // Each CSV row finds the record it was exported from, so the cells it
  // leaves as they were keep their bytes.
  // The save replaces only the file these records were matched against.
  QString tableError;
  DataFolder data = openFolder(folder);
  TableDocument& document = data.open(*t.grid, &tableError);
  if (!tableError.isEmpty()) {
    Err(Texts::tr("cannot read %1: %2").arg(t.grid->fileName, tableError));
    return kTrouble;
  }
  RecordStore& grid = document.records();
  const std::vector<TableRecord> existing(grid.rows().begin(), grid.rows().end());
  const std::vector<int> lines = imported.lines;
  ImportCounts counts;
  int ambiguous = -1;
  grid.resetRecords(t.fieldCount(), MatchCsvRecords(std::move(imported.records), existing, &counts, &ambiguous));
  counts.blank = imported.blankRows;
  if (ambiguous >= 0) {
    Err(Texts::tr("%1: line %2: %3 has several records numbered %4 and this row gives none of them back as "
                  "exported: which one it is cannot be told; nothing written")
            .arg(csvName)
            .arg(lines[size_t(ambiguous)])
            .arg(t.grid->fileName, grid.cell(ambiguous + 1, 1)));
    return kTrouble;
  }
  // A cell the save cannot store, or a changed cell it would not store (a
  // column it does not write), is refused, not dropped: named by the line of
  // the user's file, the record's name and the column's header.
  auto refuseCell = [&](int record, int column, const QString& reason) {
    // The name as the row gives it, unless that is the cell refused or it
    // holds characters a terminal should not be sent.
    QString name = t.nameColumn() > 0 && t.nameColumn() != column ? grid.cell(record, t.nameColumn()).trimmed()
                                                                   : QString();
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }))
      name.clear();
    const QString line = QString::number(lines[size_t(record - 1)]);
    if (name.isEmpty())
      Err(Texts::tr("%1: line %2, column %3 (%4): %5; nothing written")
              .arg(csvName, line)
              .arg(column)
              .arg(t.columnName(column), reason));
    else
      Err(Texts::tr("%1: line %2 (%3), column %4 (%5): %6; nothing written")
              .arg(csvName, line, name)
              .arg(column)
              .arg(t.columnName(column), reason));
    return kTrouble;
  };
  QByteArray encoded;
  std::vector<int> order;
  if (const SaveOutcome o = document.encode(&encoded, &order); !o.ok()) {
    if (o.status == SaveOutcome::Refused && o.row >= 1 && size_t(o.row) <= lines.size())
      return refuseCell(o.row, o.column, o.reason);
    Err(o.message(t.grid->fileName));
    return kTrouble;
  } else {
    if (const std::optional<CellProblem> p = FirstCellNotStored(*t.grid, folder, systemScript(), grid, order, encoded))
      return refuseCell(p->record, p->column, p->reason);
  }
  const QString summary = importSummary(t.grid->fileName, counts);
  if (counts.removed > 0 && !mode.allowRemoval && !mode.dryRun) {
    Err(summary);
    Err(Texts::tr("%1: the CSV would remove %n record(s): give --allow-removal to remove them; nothing written",
                  nullptr, counts.removed)
            .arg(t.grid->fileName));
    return kTrouble;
  }
  // Tables that refer to this one by position are updated in the same save;
  // what changes is told first, and --dry-run stops there.
  bool checked = false;  // the records can be stored: the plan was made
  auto tell = [&](const ReferencePlan& plan) {
    checked = true;
    if (!plan.tables.empty()) {
      Err(plan.summary(CurrentUiLanguage() == UiLanguage::Traditional));
      for (const QString& line : plan.details()) Err(QStringLiteral("  ") + line);
    }
    return !mode.dryRun;
  };
  TableSaveRequest request;
  request.proceed = tell;
  const SaveOutcome outcome = data.save(document, request);
  if (mode.dryRun && checked) {
    Out(DiffReport({DiffTableBytes(*t.grid, folder, systemScript(), document.content(), encoded, headerTexts())}).toUtf8());
    if (int s = FinishOutput(Texts::tr("the changes"))) return s;
    Err(summary);
    if (counts.removed > 0 && !mode.allowRemoval)
      Err(Texts::tr("%1: the CSV would remove %n record(s): an import needs --allow-removal", nullptr, counts.removed)
              .arg(t.grid->fileName));
    Err(Texts::tr("%1: %n record(s) checked, nothing written (--dry-run)", nullptr, grid.recordCount())
            .arg(t.grid->fileName));
    return kSuccess;
  }
  if (!outcome.ok()) {
    Err(outcome.message(t.grid->fileName));
    return kTrouble;
  }
  Err(summary);
  Err(Texts::tr("%1: %n record(s) saved", nullptr, grid.recordCount()).arg(t.grid->fileName));
  warn(outcome.notices);
  return kSuccess;
}

// check of a standalone table: load and patch with nothing changed.
int checkStandalone(const StandaloneInfo& info, const QString& folder, bool named) {
  const QString path = DataFilePath(folder, info.fileName);
  bool exists = false;
  QString error;
  const QByteArray bytes = FileStore::disk().read(path, &exists, &error);
  if (!exists) {
    Out(Texts::tr("%1: missing\n").arg(info.fileName).toUtf8());
    return named ? noSuchTable(info.fileName, folder) : kSuccess;
  }
  if (!error.isEmpty()) {
    Out(Texts::tr("%1: cannot be read: %2\n").arg(info.fileName, error).toUtf8());
    return kTrouble;
  }
  StandaloneTable table(info.kind, systemScript());
  table.loadBytes(bytes);
  QByteArray saved;
  const StandaloneSave o = table.patch(bytes, &saved);
  if (!o.ok()) {
    Out(Texts::tr("%1: would be refused: %2\n").arg(info.fileName, o.message(info.fileName)).toUtf8());
    return kFound;
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

int cmdCheck(const Invocation& in) {
  const QString folder = in.arg(0);
  const QStringList names = in.positional().mid(1);
  const bool named = !names.isEmpty();
  int status = kSuccess;
  std::vector<const TableDef*> tables;
  std::vector<const StandaloneInfo*> standalone;
  if (!named) {
    tables = AllTables();
    for (const StandaloneInfo& i : StandaloneTables()) standalone.push_back(&i);
  } else {
    for (const QString& name : names) {
      ToolTable t;
      if (!findTable(in, name, &t, &status)) return status;
      if (t.grid) tables.push_back(t.grid);
      else standalone.push_back(t.standalone);
    }
  }
  if (int s = dataFolder(folder)) return s;
  // A table of the whole folder that is not there is listed; one that was named is trouble.
  int result = kSuccess;
  for (const StandaloneInfo* i : standalone) result = Worse(result, checkStandalone(*i, folder, named));
  for (const TableDef* t : tables) {
    const QString path = DataFilePath(folder, t->fileName);
    bool exists = false;
    QString error;
    ReadOnceStore store;
    const QByteArray bytes = store.read(path, &exists, &error);
    RecordStore grid;
    if (error.isEmpty() && exists) LoadTable(*t, folder, systemScript(), grid, &error, store);
    if (!error.isEmpty()) {
      Out(Texts::tr("%1: cannot be read: %2\n").arg(t->fileName, error).toUtf8());
      result = kTrouble;
      continue;
    }
    if (!exists) {
      Out(Texts::tr("%1: missing\n").arg(t->fileName).toUtf8());
      if (named) result = Worse(result, noSuchTable(t->fileName, folder));
      continue;
    }
    if (t->readOnly) {
      Out(Texts::tr("%1: read-only, %n record(s) loaded\n", nullptr, grid.recordCount()).arg(t->fileName).toUtf8());
      continue;
    }
    QByteArray saved;
    const SaveOutcome o = EncodeTable(*t, folder, systemScript(), grid, SaveRowOrder(*t, grid), bytes, &saved);
    if (!o.ok()) {
      Out(Texts::tr("%1: would be refused: %2\n").arg(t->fileName, o.message(t->fileName)).toUtf8());
      result = Worse(result, kFound);
      continue;
    }
    result = Worse(result, reportSame(t->fileName, bytes, saved, grid.recordCount()));
  }
  // What stopped saves left behind is worth a look too.
  QStringList files;
  for (const StandaloneInfo* i : standalone) files << i->fileName;
  for (const TableDef* t : tables) files << t->fileName;
  for (const QString& f : files)
    for (const QString& stray : SaveLeftovers(DataFilePath(folder, f))) {
      Out(Texts::tr("%1: temporary file left by an interrupted save: %2 (the next save of %1 removes it)\n")
              .arg(f, shown(stray)).toUtf8());
      result = Worse(result, kFound);
    }
  return result;
}

int cmdDiff(const Invocation& in) {
  int status = kSuccess;
  std::vector<ToolTable> tables;
  for (const QString& name : in.positional().mid(2)) {
    ToolTable t;
    if (!findTable(in, name, &t, &status)) return status;
    tables.push_back(t);
  }
  if (int s = dataFolder(in.arg(0))) return s;
  if (int s = dataFolder(in.arg(1))) return s;
  const std::vector<TableDifference> diffs = DiffFolders(in.arg(0), in.arg(1), systemScript(), tables, headerTexts());
  bool same = true, unreadable = false;
  for (const TableDifference& d : diffs) {
    same = same && d.same();
    unreadable = unreadable || !d.errorA.isEmpty() || !d.errorB.isEmpty();
  }
  if (in.isSet(QStringLiteral("patch"))) {
    if (in.isSet(QStringLiteral("csv"))) return in.usageError(QStringLiteral("--patch and --csv cannot be given together"));
    // A patch with a table left out would be taken for the whole difference.
    for (const TableDifference& d : diffs) {
      if (!d.errorA.isEmpty()) Err(QStringLiteral("%1: cannot be read in the first folder: %2").arg(d.table.fileName(), d.errorA));
      if (!d.errorB.isEmpty()) Err(QStringLiteral("%1: cannot be read in the second folder: %2").arg(d.table.fileName(), d.errorB));
    }
    if (unreadable) return Trouble(QStringLiteral("no patch written"));
    // Nothing can apply a change to a table that is never written.
    std::vector<TableDifference> writable;
    for (const TableDifference& d : diffs) {
      if (d.table.grid && d.table.grid->readOnly) {
        if (!d.same()) Err(QStringLiteral("vantaro3-cli: warning: %1 is read-only: its differences are left out of the patch").arg(d.table.fileName()));
        continue;
      }
      writable.push_back(d);
    }
    // The tables written in the grid's order carry their records' order too.
    std::vector<PatchOrder> orders;
    for (const TableDifference& d : writable) {
      if (!d.table.grid || d.table.grid->order != SaveOrder::GridOrder) continue;
      std::vector<QStringList> a, b;
      bool exists = false;
      d.table.read(in.arg(0), systemScript(), &a, &exists, nullptr);
      d.table.read(in.arg(1), systemScript(), &b, &exists, nullptr);
      orders.push_back({d.table, OrderNames(d.table, a), OrderNames(d.table, b)});
    }
    Out(WritePatch(writable, orders));
    if (int s = FinishOutput(QStringLiteral("the patch"))) return s;
    return same ? kSuccess : kFound;
  }
  Out(in.isSet(QStringLiteral("csv")) ? DiffCsv(diffs) : DiffReport(diffs).toUtf8());
  if (unreadable) return kTrouble;
  return same ? kSuccess : kFound;
}

// A table of the folder that a command may change: kSuccess, or the
// status with the reason told.
int writableTable(const Invocation& in, const ToolTable& t, const QString& folder) {
  if (int s = dataFolder(folder)) return s;
  if (!QFileInfo::exists(DataFilePath(folder, t.fileName()))) return noSuchTable(t.fileName(), folder);
  if (t.grid && t.grid->readOnly) return Trouble(Texts::tr("%1 is read-only: nothing written").arg(t.fileName()));
  (void)in;
  return kSuccess;
}

// Encodes the grid as its save would and checks that every changed cell is
// stored as the grid holds it: kSuccess, or kTrouble naming the first that
// is refused or would not be kept.
int encodeChecked(const TableDocument& document) {
  QString error;
  if (EncodeChecked(document, nullptr, nullptr, &error, headerTexts())) return kSuccess;
  return Trouble(error);
}

// What a batch tells when it is done (or would be, with --dry-run).
QString batchSummary(const QString& fileName, const BatchResult& result) {
  return Texts::tr("%1: %2 records matched, %3 cells changed%4")
      .arg(fileName)
      .arg(result.matched.size())
      .arg(result.edits.size())
      .arg(result.clamped ? Texts::tr(" (%1 brought into range)").arg(result.clamped) : QString());
}

// A dry run prints the batch's changes as diff does, and a batch that changes
// nothing writes nothing: the exit status then; -1 when the batch goes on to
// its save.
int batchEndsUnsaved(const Invocation& in, const TableDifference& difference, const QString& summary,
                     const BatchResult& result) {
  if (in.isSet(QStringLiteral("dry-run"))) {
    Out(DiffReport({difference}).toUtf8());
    if (int s = FinishOutput(QStringLiteral("the changes"))) return s;
    Err(summary + Texts::tr(" (dry run: nothing written)"));
    return kSuccess;
  }
  if (result.edits.empty()) {
    Err(summary + Texts::tr(": nothing written"));
    return kSuccess;
  }
  return -1;
}

// A batch of a standalone table: its values checked as its save checks
// them, and written by that save (in place, with the backup history).
int batchStandalone(const Invocation& in, const ToolTable& t, const QString& folder, const BatchProgram& program) {
  const StandaloneInfo& info = *t.standalone;
  const QString path = DataFilePath(folder, info.fileName);
  const FileStamp before = FileStamp::before(path);
  bool exists = false;
  QString error;
  const QByteArray content = FileStore::disk().read(path, &exists, &error);
  if (!error.isEmpty()) return Trouble(Texts::tr("cannot read %1: %2").arg(info.fileName, error));
  const FileStamp loaded = before.withContent(content);
  StandaloneTable table(info.kind, systemScript());
  table.loadBytes(content);
  const std::vector<QStringList> rows = StandaloneRows(table);
  const BatchResult result = RunStandaloneBatch(program, table, content);
  if (!result.ok()) {
    for (const QString& line : result.refusalLines(t)) Err(line);
    return Trouble(Texts::tr("%1 refused: nothing written").arg(info.fileName));
  }
  const QString summary = batchSummary(info.fileName, result);
  std::vector<QStringList> after = rows;
  for (const RecordStore::CellEdit& e : result.edits) after[size_t(e.row - 1)][e.column - 1] = e.text;
  if (!SetStandaloneRows(table, after, &error)) return Trouble(QStringLiteral("%1: %2").arg(info.fileName, error));
  // The whole file checked as the save checks it, before anything is written.
  QByteArray patched;
  if (const StandaloneSave o = table.patch(content, &patched); !o.ok())
    return Trouble(o.message(info.fileName) + Texts::tr("; nothing written"));
  if (int s = batchEndsUnsaved(in, BatchDifference(t, rows, result), summary, result); s >= 0) return s;
  // Only over the file as it was read.
  const StandaloneSave outcome = table.save(folder, FileStore::disk(), saveOptions(&loaded));
  if (!outcome.ok()) return Trouble(outcome.message(info.fileName));
  Err(summary);
  warn(outcome.notices);
  return kSuccess;
}

int cmdBatch(const Invocation& in) {
  const QString folder = in.arg(0), file = in.arg(2), fileName = InputName(file);
  int status = kSuccess;
  ToolTable t;
  if (!findTable(in, in.arg(1), &t, &status)) return status;
  if (int s = writableTable(in, t, folder)) return s;
  QByteArray bytes;
  QString error;
  if (!ReadInputFile(file, &bytes, &error)) return Trouble(error);
  QString text;
  qsizetype bad = 0;
  if (!DecodeStrict(bytes, TextEncoding::Utf8, &text, &bad))
    return Trouble(Texts::tr("%1: line %2: not UTF-8 text").arg(fileName).arg(bytes.left(bad).count('\n') + 1));
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  BatchProgram program;
  BatchError batchError;
  if (!ParseBatch(text, BatchColumnNames(t), t.fieldCount(), &program, &batchError))
    return Trouble(Texts::tr("%1: %2").arg(fileName, batchError.message()));
  if (t.standalone) return batchStandalone(in, t, folder, program);
  const TableDef& table = *t.grid;
  DataFolder data = openFolder(folder);
  TableDocument& document = data.open(table, &error);
  if (!error.isEmpty()) return Trouble(Texts::tr("cannot read %1: %2").arg(table.fileName, error));
  RecordStore& grid = document.records();
  const BatchResult result = RunBatch(program, table, folder, systemScript(), grid, &document.content());
  if (!result.ok()) {
    for (const QString& line : result.refusalLines(t)) Err(line);
    return Trouble(Texts::tr("%1 refused: nothing written").arg(table.fileName));
  }
  const QString summary = batchSummary(table.fileName, result);
  const TableDifference difference = BatchDifference(t, grid, result);
  if (!result.edits.empty()) grid.setCells(result.edits);
  // What the save would refuse is told before anything is written (and by a dry run).
  if (int s = encodeChecked(document)) return s;
  if (int s = batchEndsUnsaved(in, difference, summary, result); s >= 0) return s;
  // A changed number may move records that other tables refer to by position:
  // those follow in the same save.
  TableSaveRequest request;
  request.proceed = [](const ReferencePlan& plan) {
    if (!plan.tables.empty()) Err(plan.summary(CurrentUiLanguage() == UiLanguage::Traditional));
    return true;
  };
  const SaveOutcome outcome = data.save(document, request);
  if (!outcome.ok()) return Trouble(outcome.message(table.fileName));
  Err(summary);
  warn(outcome.notices);
  return kSuccess;
}

int cmdApply(const Invocation& in) {
  const QString folder = in.arg(0), file = in.arg(1), fileName = InputName(file);
  const bool force = in.isSet(QStringLiteral("force")), dryRun = in.isSet(QStringLiteral("dry-run"));
  if (int s = dataFolder(folder)) return s;
  QByteArray bytes;
  QString error;
  if (!ReadInputFile(file, &bytes, &error)) return Trouble(error);
  Patch patch;
  PatchError patchError;
  if (!ReadPatch(bytes, &patch, &patchError, headerTexts())) return Trouble(patchError.message(fileName));
  if (in.isSet(QStringLiteral("reverse"))) patch = ReversedPatch(patch);

  // Every table is read and every change weighed before anything is written.
  FolderPatch plan;
  if (!PlanFolderPatch(patch, folder, systemScript(), force, &plan, &error)) return Trouble(error);
  for (const PatchTarget& t : plan.targets)
    for (const PatchConflict& c : t.plan.conflicts) Err(Texts::tr("conflict: ") + c.text());
  const QString summary = plan.summary();
  if (plan.unsettled > 0 && !dryRun) {
    Err(summary);
    Err(force ? Texts::tr("nothing written: %1 changes find no record to change").arg(plan.unsettled)
              : Texts::tr("nothing written (--force takes the patch's values)"));
    return kFound;
  }
  // Every table's new content is made in memory first: a cell that cannot
  // be stored refuses the whole patch. Then every file of the patch is
  // written in one save of several files, all of them or none.
  QString report;
  if (!MakePatchedContents(plan, &report, &error)) return Trouble(error);
  if (dryRun) {
    Out(report.toUtf8());
    if (int s = FinishOutput(QStringLiteral("the changes"))) return s;
    Err(summary + Texts::tr(" (dry run: nothing written)"));
    return plan.conflicts ? kFound : kSuccess;
  }
  const std::vector<SaveFileEntry> entries = PatchSaveEntries(plan);
  if (!entries.empty()) {
    const SaveFileResult r = SaveDataFiles(entries, saveOptions().historyDepth);
    if (!r.ok()) return Trouble(Texts::tr("patch not applied: %1").arg(r.error));
    warn(r.notices);
  }
  for (const PatchTarget& t : plan.targets)
    if (t.writes()) Err(Texts::tr("%1: saved").arg(t.table.fileName()));
  Err(summary);
  return plan.conflicts ? kFound : kSuccess;
}

int cmdLint(const Invocation& in) {
  if (int s = dataFolder(in.arg(0))) return s;
  const std::vector<LintFinding> findings = LintFolder(in.arg(0), systemScript(), headerTexts());
  if (in.isSet(QStringLiteral("csv"))) {
    Out(LintCsv(findings));
  } else {
    QString text;
    for (const LintFinding& f : findings) text += f.text() + u'\n';
    Out(text.toUtf8());
  }
  if (int s = FinishOutput()) return s;
  if (findings.empty()) Err(Texts::tr("no findings"));
  else Err(Texts::tr("%n finding(s)", nullptr, int(findings.size())));
  return findings.empty() ? kSuccess : kFound;
}

QString shownTime(const QDateTime& utc) { return utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

int cmdBackups(const Invocation& in) {
  const QString folder = in.arg(0);
  const bool named = in.positional().size() == 2;
  int status = kSuccess;
  QStringList files;
  if (named) {
    ToolTable t;
    if (!findTable(in, in.arg(1), &t, &status)) return status;
    files << t.fileName();
  } else {
    for (const ToolTable& t : AllToolTables()) files << t.fileName();
  }
  if (int s = dataFolder(folder)) return s;
  QByteArray text;
  int result = kSuccess;
  for (const QString& f : files) {
    QString error;
    const std::vector<BackupVersion> versions = BackupVersions(DataFilePath(folder, f), &error);
    if (!error.isEmpty()) {
      Err(QStringLiteral("%1: %2").arg(f, error));
      result = kTrouble;
    }
    for (const BackupVersion& v : versions) {
      const QString line = QStringLiteral("%1\t%2\t%3\n").arg(v.id).arg(shownTime(v.time)).arg(v.size);
      text += (named ? line : f + u'\t' + line).toUtf8();
    }
  }
  Out(text);
  if (int s = FinishOutput(Texts::tr("the list"))) return s;
  if (text.isEmpty() && result == kSuccess) Err(Texts::tr("no earlier versions"));
  return result;
}

int cmdRestore(const Invocation& in) {
  const QString folder = in.arg(0);
  int status = kSuccess;
  ToolTable t;
  if (!findTable(in, in.arg(1), &t, &status)) return status;
  if (int s = dataFolder(folder)) return s;
  const QString name = t.fileName();
  if (t.grid && t.grid->readOnly) {
    Err(Texts::tr("%1 is read-only: nothing written").arg(name));
    return kTrouble;
  }
  const QString path = DataFilePath(folder, name);
  BackupVersion version;
  QString error;
  if (!FindBackupVersion(path, in.arg(2), &version, &error)) {
    Err(Texts::tr("restore: %1").arg(error));
    return kTrouble;
  }
  // The file as it is now is what the restore replaces (and keeps).
  const FileStamp now = FileStamp::of(path);
  const SaveFileResult r = RestoreBackupVersion(path, version, saveOptions(&now));
  if (!r.ok()) {
    Err(Texts::tr("%1 not restored: %2").arg(name, r.error));
    return kTrouble;
  }
  Err(Texts::tr("%1: version %2 (%3) restored").arg(name).arg(version.id).arg(shownTime(version.time)));
  warn(r.notices);
  return kSuccess;
}

int cmdSample(const Invocation& in) {
  const QString dir = in.arg(0);
  unsigned seed = 1;
  int records = 20;
  bool ok = true;
  if (in.isSet(QStringLiteral("seed"))) seed = in.value(QStringLiteral("seed")).toUInt(&ok);
  if (!ok) return in.usageError(Texts::tr("bad value for --seed: %1").arg(in.value(QStringLiteral("seed"))));
  if (in.isSet(QStringLiteral("records"))) {
    records = in.value(QStringLiteral("records")).toInt(&ok);
    if (!ok || records < 1 || records > kMaxCsvRecords)
      return in.usageError(Texts::tr("bad value for --records: %1 (1 to %2)")
                               .arg(in.value(QStringLiteral("records"))).arg(kMaxCsvRecords));
  }
  // A sample is made up: it never replaces a game's files.
  if (!in.isSet(QStringLiteral("force"))) {
    QStringList there;
    for (const QString& name : SampleFileNames())
      if (QFileInfo::exists(QDir(dir).filePath(name))) there << name;
    if (!there.isEmpty()) {
      Err(Texts::tr("sample: %1 already holds %2; choose an empty folder, or give --force to replace them")
              .arg(shown(dir), there.join(QStringLiteral(", "))));
      return kTrouble;
    }
  }
  QString error;
  if (!WriteSampleFolder(dir, seed, records, &error)) {
    Err(Texts::tr("sample: %1").arg(error));
    return kTrouble;
  }
  Err(Texts::tr("sample data folder written: %1").arg(QDir(dir).absolutePath()));
  return kSuccess;
}

int cmdTables(const Invocation&) {
  for (const TableDef* t : AllTables())
    Out((t->readOnly ? Texts::tr("%1\t%n column(s), read-only\n", nullptr, t->fieldCount())
                     : Texts::tr("%1\t%n column(s)\n", nullptr, t->fieldCount()))
            .arg(t->fileName)
            .toUtf8());
  for (const StandaloneInfo& i : StandaloneTables())
    Out(Texts::tr("%1\t%n column(s), patched in place\n", nullptr, StandaloneColumnCount(i.kind)).arg(i.fileName).toUtf8());
  return kSuccess;
}

using A = ArgumentDef;

// Every command: its arguments, its options and its help, parsed and shown from here.
std::vector<CommandDef> commands() {
  const OptionDef encoding{QStringLiteral("encoding"), QStringLiteral("E"),
                            Texts::tr("the CSV's encoding: utf-8 (the default), gbk or big5")};
  const OptionDef delimiter{QStringLiteral("delimiter"), QStringLiteral("D"),
                             Texts::tr("the field delimiter: \",\" (the default), \";\" or tab")};
  return {
      {QStringLiteral("export"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("TABLE")}},
       {encoding,
        delimiter,
        {QStringLiteral("spreadsheet-safe"), {}, Texts::tr("text cells as =\"…\", which spreadsheet programs keep as text")},
        {QStringLiteral("bom"), {}, Texts::tr("a UTF-8 byte order mark first (for spreadsheet programs)")},
        {QStringLiteral("header"), {}, Texts::tr("the column headers of the language file first")},
        {QStringLiteral("format"), QStringLiteral("FORMAT"), Texts::tr("csv (the default) or xlsx, a workbook")}},
       Texts::tr("Write TABLE of the data folder as CSV (or an XLSX workbook) to standard output."),
       Texts::tr("One line per record, the grid's columns in order (the standalone tables: the\n"
                      "values their window shows). A character the encoding cannot hold stops the\n"
                      "export with its line and column. With --spreadsheet-safe every cell that a\n"
                      "spreadsheet program would turn into a number, a date or a formula (leading\n"
                      "zeros, long digit strings, 1/2, 3e5, =1+1) is written as =\"…\"; import takes\n"
                      "that form off again. --format xlsx writes a workbook instead: a frozen header\n"
                      "row, text columns as text cells, number columns as numbers, the words of a\n"
                      "list column (flags, years, sizes, producers) as its drop-down list."),
       cmdExport},
      {QStringLiteral("import"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("TABLE")}, {QStringLiteral("FILE")}},
       {encoding,
        delimiter,
        {QStringLiteral("allow-removal"), {}, Texts::tr("let the CSV remove the records it does not hold")},
        {QStringLiteral("allow-empty"), {}, Texts::tr("a CSV without records empties the table")},
        {QStringLiteral("dry-run"), {}, Texts::tr("print the summary and the differences, write nothing")}},
       Texts::tr("Replace TABLE's records with FILE's, CSV or a workbook (- for standard input), and save it."),
       Texts::tr("The save is the editor's: TABLE.bak and the backup history keep the old file;\n"
                      "the standalone tables are patched in place like their windows do. Refused,\n"
                      "and nothing written, when the CSV is not valid in its encoding (the line and\n"
                      "byte are named), a line has the wrong number of fields, a cell cannot be\n"
                      "stored, or the CSV has no records (unless --allow-empty). A first line that\n"
                      "is the table's header in either script is skipped, and so is a UTF-8 byte\n"
                      "order mark; rows of empty fields and blank lines are skipped and counted.\n"
                      "A workbook (XLSX, or OpenDocument ODS) is known by its content and its first\n"
                      "visible sheet is read, each cell as the text it shows; its rows are checked\n"
                      "like a CSV's lines. A ZIP archive that is damaged, or a part of it larger\n"
                      "than 256 MiB, is refused.\n"
                      "The delimiter (comma, semicolon or tab) is found in the first line unless\n"
                      "--delimiter gives it. Every import tells how many records it changes, adds,\n"
                      "removes and leaves unchanged; one that would remove records is refused\n"
                      "unless --allow-removal (or --allow-empty) is given. Also refused: a changed\n"
                      "cell in a column the save does not write (Active.tab and Pression.tab keep\n"
                      "their columns 2-3), rows of a standalone table in another order than the\n"
                      "export's (they are matched by position), and a row of a repeated record\n"
                      "number whose record cannot be told. When records of TABLE are removed,\n"
                      "added or moved, the tables that refer to them by position (Team.dat and\n"
                      "Firm.dat to StarRole.dat) are updated in the same save, all files or none:\n"
                      "a reference follows its record, one to a removed record becomes -1; what\n"
                      "changes is told first."),
       cmdImport},
      {QStringLiteral("check"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("TABLE"), A::Many}},
       {},
       Texts::tr("Load and save each table in memory; report whether its bytes stay identical."),
       Texts::tr("Without TABLE every table of the folder; one that is not there is listed as\n"
                      "missing. Temporary files left by an interrupted save are reported too."),
       cmdCheck},
      {QStringLiteral("diff"),
       {{QStringLiteral("FOLDER_A")}, {QStringLiteral("FOLDER_B")}, {QStringLiteral("TABLE"), A::Many}},
       {{QStringLiteral("csv"), {}, Texts::tr("write table,record,occurrence,change,column,column name,old,new")},
        {QStringLiteral("patch"), {}, Texts::tr("write the differences as a patch that 'apply' carries out")}},
       Texts::tr("Record-level differences between two data folders."),
       Texts::tr("Records are matched by number (and occurrence); added and removed records are\n"
                      "listed, changed cells as \"column: old → new\"."),
       cmdDiff},
      {QStringLiteral("batch"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("TABLE")}, {QStringLiteral("FILE")}},
       {{QStringLiteral("dry-run"), {}, QStringLiteral("print the changes as diff does; write nothing")}},
       QStringLiteral("Change TABLE's records by the instructions in FILE (- for standard input) and save it."),
       QStringLiteral("One instruction a line (UTF-8); columns by header (either script) or number:\n"
                      "  =COL=V  !COL=V  >COL=N  <COL=N  ~COL=TEXT   filters, all must hold\n"
                      "  .COL=V  .COL=$COL2  .COL+=N  .COL-=N  .COL*=F  sets, in order\n"
                      "  # comment; a set ending in !clamp brings a result into the field's range.\n"
                      "A value the save cannot store is refused with its record, column and line;\n"
                      "nothing is written then. The standalone tables' records go by position."),
       cmdBatch},
      {QStringLiteral("apply"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("PATCH")}},
       {{QStringLiteral("dry-run"), {}, QStringLiteral("print what would change; write nothing")},
        {QStringLiteral("force"), {}, QStringLiteral("take the patch's value where a cell or record is not what it expects")},
        {QStringLiteral("reverse"), {}, QStringLiteral("undo the patch: old and new swapped")}},
       QStringLiteral("Apply a patch written by 'diff --patch' (- for standard input)."),
       QStringLiteral("A change whose old value is there is made, one whose new value is there is\n"
                      "skipped; any other is a conflict (table, record, column, expected, found,\n"
                      "wanted), and with a conflict nothing is written unless --force. Every table\n"
                      "is checked in memory before any is saved. Exit status 1 when there were\n"
                      "conflicts."),
       cmdApply},
      {QStringLiteral("lint"),
       {{QStringLiteral("FOLDER")}},
       {{QStringLiteral("csv"), {}, Texts::tr("write table,row,record,record name,column,column name,reason")}},
       Texts::tr("Report what the game would trip over, with table, row and column."),
       Texts::tr("Team members and firm artists past the end of StarRole.dat, producer numbers\n"
                      "without a Producer.tab record, repeated record numbers, cells a save would\n"
                      "refuse, Active.tab and Pression.tab without their 9 and 99 records."),
       cmdLint},
      {QStringLiteral("backups"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("TABLE"), A::Optional}},
       {},
       Texts::tr("List the earlier versions each save kept, newest first."),
       Texts::tr("One line each (in FOLDER/Vantaro3Backups): id, date and time, size in bytes\n"
                      "(and the table, when no TABLE is given). Config.ini's BackupVersions= sets\n"
                      "how many are kept."),
       cmdBackups},
      {QStringLiteral("restore"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("TABLE")}, {QStringLiteral("ID")}},
       {},
       Texts::tr("Put version ID of TABLE back."),
       Texts::tr("This is a save: the file it replaces goes into the history and TABLE.bak first."),
       cmdRestore},
      {QStringLiteral("sample"),
       {{QStringLiteral("OUTDIR")}},
       {{QStringLiteral("seed"), QStringLiteral("N"), Texts::tr("the seed of the made-up values (default 1)")},
        {QStringLiteral("records"), QStringLiteral("M"), Texts::tr("records per table, 1 to 32767 (default 20)")},
        {QStringLiteral("force"), {}, Texts::tr("replace the game's files in OUTDIR")}},
       Texts::tr("Write a sample data folder with every table."),
       Texts::tr("A folder that holds any of the game's files is refused unless --force is given."),
       cmdSample},
      {QStringLiteral("tables"), {}, {}, Texts::tr("List the tables."), QString(), cmdTables},
  };
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // Messages and help in the user's language: chosen before any text is made.
  ChooseMessageLanguage(app.arguments().mid(1));
  const std::vector<CommandDef> all = commands();
  return RunCommandLine(all, app.arguments().mid(1), [](int localeId) {
    context().texts = LanguageFile(InterfaceScript(localeId), LanguageFolder(QCoreApplication::applicationDirPath()));
    context().systemScript = SystemTextScript(localeId);
  });
}
