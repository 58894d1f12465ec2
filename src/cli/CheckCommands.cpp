// The commands that read and report: check, diff, lint.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <cstdio>

#include <unistd.h>

#include "tables/StandaloneTables.h"
#include "tools/Diff.h"
#include "tools/Lint.h"
#include "tools/Patch.h"
#include "tools/StandaloneCsv.h"
#include "tools/ToolTable.h"
#include "text/Translation.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/DiskFile.h"
#include "CommandLine.h"
#include "Commands.h"
#include "storage/SafeSave.h"

using namespace v3;

namespace v3cli {

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
      if (t.grid)
        tables.push_back(t.grid);
      else
        standalone.push_back(t.standalone);
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
    // A file of records of one size that a save would write as it is (the
    // common finding) is told so from pieces of it, without holding it whole.
    // Producer.tab is read once, for the records' cells and their encoding alike.
    ProducerDirectory producers;
    const ProducerDirectory* given = nullptr;
    const auto readProducers = [&] {
      if (!given && t->codec && t->codec->needsProducers()) {
        producers = ProducerDirectory::load(folder);
        given = &producers;
      }
      return producers.readError();
    };
    if (!t->readOnly && t->codec) {
      disk::PieceReader reader;
      if (reader.open(path, &exists, &error) && exists) {
        const ReadPiece read = [&reader](qint64 from, qint64 count, QByteArray* into, qsizetype at) {
          return reader.read(from, count, into, at);
        };
        const std::optional<int> records =
            readProducers().isEmpty() ? SavedAsReadInPieces(*t, folder, systemScript(), reader.size(), read, given)
                                      : std::nullopt;
        if (reader.finish(&error) && records) {
          Out(Texts::tr("%1: identical (%n record(s))\n", nullptr, *records).arg(t->fileName).toUtf8());
          continue;
        }
      }
    }
    // Anything else is told as the whole file shows it; a file that could not be read, as such.
    const QByteArray bytes = error.isEmpty() ? FileStore::disk().read(path, &exists, &error) : QByteArray();
    if (error.isEmpty() && exists) error = readProducers();
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
      int records = 0;
      if (t->codec) t->codec->forEachRecord(bytes, [&](const KeptBytes&) { ++records; });
      Out(Texts::tr("%1: read-only, %n record(s) loaded\n", nullptr, records).arg(t->fileName).toUtf8());
      continue;
    }
    // The content a save would write is compared with the file as it is
    // made: neither it nor the records are ever held whole.
    ComparingSink saved(bytes);
    int records = 0;
    const SaveOutcome o = EncodeAsRead(*t, folder, systemScript(), bytes, saved, &records, given);
    if (!o.ok()) {
      Out(Texts::tr("%1: would be refused: %2\n").arg(t->fileName, o.message(t->fileName)).toUtf8());
      result = Worse(result, kFound);
      continue;
    }
    result = Worse(result, reportSame(t->fileName, bytes.size(), saved, records));
  }
  // What stopped saves left behind is worth a look too.
  QStringList files;
  for (const StandaloneInfo* i : standalone) files << i->fileName;
  for (const TableDef* t : tables) files << t->fileName;
  for (const QString& f : files)
    for (const QString& stray : SaveLeftovers(DataFilePath(folder, f))) {
      Out(Texts::tr("%1: temporary file left by an interrupted save: %2 (the next save of %1 removes it)\n")
              .arg(f, shown(stray))
              .toUtf8());
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
    if (in.isSet(QStringLiteral("csv")))
      return in.usageError(QStringLiteral("--patch and --csv cannot be given together"));
    // A patch with a table left out would be taken for the whole difference.
    for (const TableDifference& d : diffs) {
      if (!d.errorA.isEmpty())
        Err(QStringLiteral("%1: cannot be read in the first folder: %2").arg(d.table.fileName(), d.errorA));
      if (!d.errorB.isEmpty())
        Err(QStringLiteral("%1: cannot be read in the second folder: %2").arg(d.table.fileName(), d.errorB));
    }
    if (unreadable) return Trouble(QStringLiteral("no patch written"));
    // Nothing can apply a change to a table that is never written.
    std::vector<TableDifference> writable;
    for (const TableDifference& d : diffs) {
      if (d.table.grid && d.table.grid->readOnly) {
        if (!d.same())
          Err(QStringLiteral("vantaro3-cli: warning: %1 is read-only: its differences are left out of the patch")
                  .arg(d.table.fileName()));
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
  if (findings.empty())
    Err(Texts::tr("no findings"));
  else
    Err(Texts::tr("%n finding(s)", nullptr, int(findings.size())));
  return findings.empty() ? kSuccess : kFound;
}

}  // namespace v3cli
