#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "storage/FileStamp.h"
#include "storage/FileStore.h"

namespace v3 {

// Versions of a file kept in its backup history when Config.ini says nothing.
constexpr int kDefaultHistoryDepth = 10;

struct SaveFileOptions {
  // The file as the caller read it (or decided to overwrite). The save is
  // refused when the file on disk is another one by the time it would be
  // replaced. Null: no such check (a file the caller never read).
  const FileStamp* expected = nullptr;
  // Earlier versions kept in the history; 0 keeps none (the .bak is still made).
  int historyDepth = kDefaultHistoryDepth;
};

struct SaveFileResult {
  enum Status { Saved, Refused, Failed };
  Status status = Failed;
  // Refused: nothing was written (read-only file, changed since read, another
  // save holding the folder). Failed: a step went wrong; the file keeps its
  // old bytes unless the message says otherwise.
  QString error;
  // Saved, but worth telling: the other hard links keep the old content, the
  // owner could not be kept, a stray temporary file could not be removed.
  QStringList notices;
  bool ok() const { return status == Saved; }
};

// Writes a data file the way every save of the program does, with the
// folder's save lock held throughout:
//  1. the file is read again and compared with options.expected;
//  2. temporary files left in its folder by an interrupted save of this file
//     are removed (the lock proves that no save is writing them);
//  3. the old content goes into the backup history and into <file>.bak
//     (a regular file with the table's mode; a link there is replaced, never
//     written through);
//  4. the file is replaced atomically, keeping its owner, group and mode
//     where the process may set them; a file whose mode allows no writing is
//     refused, also for root. A file that is a symbolic link stays one: its
//     target gets the new content.
SaveFileResult SaveDataFile(const QString& path, const QByteArray& bytes, const SaveFileOptions& options = {},
                            FileStore& store = FileStore::disk());

// The temporary files that stopped saves of this data file left behind
// (beside it, beside its .bak, beside its link's target, in its history), as
// paths. The next save of the file removes those that are the process's own.
QStringList SaveLeftovers(const QString& dataFile);

// How many versions the history keeps, from the [Config] entry "BackupVersions"
// of the Config.ini in configFolder (default kDefaultHistoryDepth, at most 1000).
int HistoryDepthSetting(const QString& configFolder);

}  // namespace v3
