// The commands that carry a table to and from a CSV or a workbook: export, import.
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
#include "tools/CsvTable.h"
#include "tools/Diff.h"
#include "tools/StandaloneCsv.h"
#include "tools/StoredCells.h"
#include "tools/ToolTable.h"
#include "tools/Workbook.h"
#include "model/LinkedSave.h"
#include "model/TableDocument.h"
#include "text/Translation.h"
#include "model/TableIo.h"
#include "text/DiskFile.h"
#include "CommandLine.h"
#include "Commands.h"

using namespace v3;

namespace v3cli {

int cmdExport(const Invocation& in) {
  const QString folder = in.arg(0);
  int status = kSuccess;
  ToolTable t;
  CsvOptions options;
  if (!findTable(in, in.arg(1), &t, &status) || !csvOptions(in, &options, &status)) return status;
  const QString format =
      in.isSet(QStringLiteral("format")) ? in.value(QStringLiteral("format")).toLower() : QStringLiteral("csv");
  if (format != QLatin1String("csv") && format != QLatin1String("xlsx"))
    return in.usageError(Texts::tr("unknown format %1 (csv or xlsx)").arg(in.value(QStringLiteral("format"))));
  const bool xlsx = format == QLatin1String("xlsx");
  if (xlsx && (in.isSet(QStringLiteral("encoding")) || in.isSet(QStringLiteral("delimiter")) || options.bom ||
               options.spreadsheetSafe))
    return in.usageError(
        Texts::tr("--encoding, --delimiter, --bom and --spreadsheet-safe are for CSV; a workbook "
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
              .arg(t.fileName(),
                   shown(headerTexts().path().isEmpty() ? LanguageFolder(QCoreApplication::applicationDirPath())
                                                        : headerTexts().path())));
  }
  QString error;
  QByteArray text;
  CsvRefusal refusal;
  bool written = false;
  if (xlsx) {
    // A workbook always has its header row, typed cells and lists.
    QString workbookError;
    // Written out a piece at a time once made whole.
    if (!(written = TableToXlsx(t, folder, systemScript(), &text, &error, &workbookError,
                                [](QByteArrayView piece) { Out(piece); })))
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
  return FinishOutput(xlsx ? Texts::tr("the workbook of %1").arg(t.fileName())
                           : Texts::tr("the CSV of %1").arg(t.fileName()));
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
    if (refusal.noRecords) Err(Texts::tr("(give --allow-empty to empty the table)"));
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
    QString name =
        t.nameColumn() > 0 && t.nameColumn() != column ? grid.cell(record, t.nameColumn()).trimmed() : QString();
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
    Out(DiffReport({DiffTableBytes(*t.grid, folder, systemScript(), document.content(), encoded, headerTexts())})
            .toUtf8());
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

}  // namespace v3cli
