#include "tools/Sample.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "model/TableIo.h"
#include "storage/FileStore.h"
#include "tables/Slots.h"
#include "tables/StandaloneTables.h"
#include "tables/Tables.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Tools)
};
}  // namespace

bool WriteSampleFolder(const QString& folder, unsigned seed, int records, QString* error) {
  if (!QDir().mkpath(folder)) {
    if (error) *error = Texts::tr("cannot create %1").arg(folder);
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
    // Written as a save writes a new file, without a backup (and without
    // touching one that is there). The sample's texts are Traditional, as
    // the game's own files are, whatever system the folder is for.
    RecordStore grid;
    grid.reset(t->fieldCount(), t->sample(s));
    QByteArray bytes;
    const SaveOutcome out =
        EncodeTable(*t, folder, Script::Traditional, grid, SaveRowOrder(*t, grid), QByteArray(), &bytes);
    QString e;
    if (!out.ok())
      e = out.message(t->fileName);
    else if (!FileStore::disk().replace(path, bytes, &e))
      e = QStringLiteral("%1: %2").arg(t->fileName, e);
    if (!e.isEmpty()) {
      if (error) *error = e;
      return false;
    }
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

QStringList SampleFileNames() {
  QStringList names;
  for (const TableDef* t : AllTables())
    if (t->sample || t->sampleFile) names << t->fileName;
  for (const StandaloneInfo& i : StandaloneTables()) names << i.fileName;
  if (!names.contains(QStringLiteral("CDCase.dat"))) names << QStringLiteral("CDCase.dat");
  return names;
}

}  // namespace v3
