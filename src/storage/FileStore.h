#pragma once
#include <QByteArray>
#include <QString>

#include "text/DiskFile.h"

namespace v3 {

// Where a table's bytes come from and go to: the disk (every system call
// checked, see text/DiskFile.h). Tests replace it to make the backup copy or
// the write fail at a chosen point without a disk.
class FileStore {
 public:
  virtual ~FileStore() = default;
  // The file's bytes; *exists false (and empty bytes) when there is no file.
  // A file that cannot be read whole sets *error and gives no bytes.
  virtual QByteArray read(const QString& path, bool* exists, QString* error);
  // Whether the file holds exactly `expected` (*same), read in pieces (see
  // disk::ReadSame); false with *error set where read() would fail.
  virtual bool readSame(const QString& path, const QByteArray& expected, bool* exists, bool* same, QString* error);
  // Replaces the file atomically with the bytes: either the whole new content
  // is in place afterwards or the old file is untouched.
  virtual bool replace(const QString& path, const QByteArray& bytes, QString* error);
  // Writes `content`, the bytes the caller has just read from `from`, to `to`
  // as its backup, replacing an older `to` atomically. `to` is never
  // followed as a link (a link there is replaced by a regular file) and gets
  // the owner, group and mode of `from` where the process may set them.
  virtual bool backUp(const QString& from, const QByteArray& content, const QString& to, QString* error);
  // The first step of a replace that a save of several files puts in place
  // later (see disk::StagedReplace): the new content written beside the file.
  virtual bool stage(const QString& path, const QByteArray& bytes, disk::StagedReplace* staged, QString* error);

  static FileStore& disk();
};

}  // namespace v3
