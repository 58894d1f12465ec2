#include "tools/Sample.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "model/TableIo.h"
#include "storage/FileStore.h"
#include "tables/Slots.h"
#include "tables/StandaloneTables.h"
#include "tables/Tables.h"

namespace v3 {

bool WriteSampleFolder(const QString& folder, unsigned seed, int records, QString* error) {
  if (!QDir().mkpath(folder)) {
    if (error) *error = QStringLiteral("cannot create %1").arg(folder);
    return false;
  }
  SampleContext s(seed, records);
  for (const TableDef* t : AllTables()) {
    const QString path = QDir(folder).filePath(t->fileName);
    if (t->sampleFile) {
      QString e;
      if (!FileStore::disk().replace(path, t->sampleFile(s), &e)) {
        if (error) *error = QStringLiteral("%1: %2").arg(t->fileName, e);
        return false;
      }
      continue;
    }
    if (!t->sample) continue;
    RecordGrid grid;
    grid.reset(t->fieldCount(), t->sample(s));
    QFile::remove(path);
    const SaveOutcome out = SaveTable(*t, folder, grid);
    if (!out.ok()) {
      if (error) *error = out.message(t->fileName);
      return false;
    }
    QFile::remove(path + QStringLiteral(".bak"));
  }
  if (!WriteStandaloneSamples(folder, s, error)) return false;
  // Start-up accepts a folder only when it holds CDCase.dat.
  if (!QFileInfo::exists(QDir(folder).filePath(QStringLiteral("CDCase.dat")))) {
    ByteWriter header;
    PutFrameHeader(header, 0, 448);
    QString e;
    if (!FileStore::disk().replace(QDir(folder).filePath(QStringLiteral("CDCase.dat")), header.take(), &e)) {
      if (error) *error = e;
      return false;
    }
  }
  return true;
}

}  // namespace v3
