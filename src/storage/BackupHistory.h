#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

#include "storage/SafeSave.h"

// Earlier versions of the data files. Each save puts the content it replaces
// into "<data folder>/Vantaro3Backups/<file name>/", one file per version,
// named "<id>-<yyyyMMdd>-<HHmmss>" (the id counts up per file, the time is
// when that version was written, in UTC) with the file's own extension. The
// history lives beside the data so that it moves and is shared with the
// folder; nothing in it is ever followed as a link.
namespace v3 {

struct BackupVersion {
  int id = 0;
  QDateTime time;  // when this version was written (UTC)
  qint64 size = 0;
  QString path;
};

// "<folder of dataFile>/Vantaro3Backups/<file name of dataFile>".
QString BackupHistoryFolder(const QString& dataFile);
// The name of the history's folder inside the data folder.
QString BackupHistoryFolderName();

// The versions kept for the file, newest first. A history that is not there
// is empty, not an error.
std::vector<BackupVersion> BackupVersions(const QString& dataFile, QString* error = nullptr);
// The version with this id ("12"), or false with a message naming the ids there are.
bool FindBackupVersion(const QString& dataFile, const QString& id, BackupVersion* version, QString* error);
bool ReadBackupVersion(const BackupVersion& version, QByteArray* bytes, QString* error);

// Adds bytes as the newest version (nothing when the newest already holds
// exactly these bytes) with the given time and mode, then removes the oldest
// beyond `depth`. Every step checked; a failure leaves no partial version.
// `file` (when given) is the file that holds these bytes (the data file, or
// its link's target, read under the save lock): when it has no other name
// the version is a second name of it instead of a copy (disk::LinkSoleName),
// which the replace that follows leaves to the history alone. *added (when
// given) gets the new version's path, empty when none was made.
bool AddBackupVersion(const QString& dataFile, const QByteArray& bytes, const QDateTime& written, unsigned mode,
                      int depth, QString* error, QStringList* notices = nullptr, const QString& file = QString(),
                      QString* added = nullptr);

// Puts a version back: a save like any other (the current file goes into the
// history and the .bak first).
SaveFileResult RestoreBackupVersion(const QString& dataFile, const BackupVersion& version,
                                    const SaveFileOptions& options = {}, FileStore& store = FileStore::disk());

}  // namespace v3
