#pragma once
#include <QByteArray>
#include <QString>

namespace v3 {

// The path of a data file in the folder. The game's own platform matches
// file names without regard to case, so an existing file whose name differs
// only in case is found too; otherwise the path with the name as given.
QString DataFilePath(const QString& folder, const QString& fileName);
bool DataFileExists(const QString& folder, const QString& fileName);

// Where a table's bytes come from and go to. Tests replace it to make the
// backup copy or the write fail at a chosen point.
class FileStore {
 public:
  virtual ~FileStore() = default;
  // The file's bytes; *exists false (and empty bytes) when there is no file.
  virtual QByteArray read(const QString& path, bool* exists, QString* error);
  // Replaces the file atomically with the bytes: either the whole new content
  // is in place afterwards or the old file is untouched.
  virtual bool replace(const QString& path, const QByteArray& bytes, QString* error);
  // Copies `from` to `to`, replacing an older `to` (atomically too).
  virtual bool copy(const QString& from, const QString& to, QString* error);

  static FileStore& disk();
};

}  // namespace v3
