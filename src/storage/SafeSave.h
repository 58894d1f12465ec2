#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

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
  // Refused or Failed: the file that the step which went wrong was about.
  QString failedFile;
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

// One file of a save of several files.
struct SaveFileEntry {
  QString path;
  QByteArray bytes;
  const FileStamp* expected = nullptr;  // as SaveFileOptions::expected
};

// Writes several data files as one: all of them get their new content, or
// none does. With the save lock of every folder involved held throughout:
//  1. every file is read again and compared with its expected stamp, and
//     checked to be writable: any refusal leaves everything untouched;
//  2. stray temporary files of stopped saves of these files are removed;
//  3. every file's old content goes into the backup history and its .bak;
//  4. every file's new content is written to a temporary file beside it and
//     flushed to the disk;
//  5. only then are the files replaced, one after the other; when one
//     replace fails, those already done are put back.
// A failure at any step leaves every file with its old bytes; the message
// names the file that failed (also in failedFile).
SaveFileResult SaveDataFiles(const std::vector<SaveFileEntry>& files, int historyDepth = kDefaultHistoryDepth,
                             FileStore& store = FileStore::disk());

// The temporary files that stopped saves of this data file left behind
// (beside it, beside its .bak, beside its link's target, in its history), as
// paths. The next save of the file removes those that are the process's own.
QStringList SaveLeftovers(const QString& dataFile);

// How many versions the history keeps, from the [Config] entry "BackupVersions"
// of the Config.ini in configFolder (default kDefaultHistoryDepth, at most 1000).
int HistoryDepthSetting(const QString& configFolder);

}  // namespace v3
