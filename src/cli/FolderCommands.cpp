// The commands about the folder as a whole: backups, restore, sample, tables.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <cstdio>

#include <unistd.h>

#include "tables/StandaloneTables.h"
#include "tools/StandaloneCsv.h"
#include "tools/ToolTable.h"
#include "tools/Sample.h"
#include "text/Translation.h"
#include "tables/Tables.h"
#include "text/DiskFile.h"
#include "CommandLine.h"
#include "Commands.h"
#include "storage/BackupHistory.h"
#include "storage/SafeSave.h"

using namespace v3;

namespace v3cli {

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
                               .arg(in.value(QStringLiteral("records")))
                               .arg(kMaxCsvRecords));
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
    Out(Texts::tr("%1\t%n column(s), patched in place\n", nullptr, StandaloneColumnCount(i.kind))
            .arg(i.fileName)
            .toUtf8());
  return kSuccess;
}

}  // namespace v3cli
