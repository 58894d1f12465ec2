#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "storage/FileStore.h"

namespace v3 {

// What a file was like when the program last read or wrote it, so that a
// change by another program (or the game) can be noticed.
struct FileStamp {
  bool taken = false;  // false: no stamp (nothing read yet), nothing to compare
  bool exists = false;
  qint64 size = 0;
  QDateTime modified;
  // The content as read or written (shared with whoever holds those bytes,
  // so keeping it costs nothing); an unreadable file has none and compares
  // unequal to every file.
  QByteArray content;
  bool readable = false;

  // The file as it is now.
  static FileStamp of(const QString& path, FileStore& store = FileStore::disk());
  // The file's size and time as they are now, before it is read; withContent()
  // completes the stamp with the bytes then read (or written). Taking the
  // time first means a change made while the file is read is still noticed.
  static FileStamp before(const QString& path);
  FileStamp withContent(const QByteArray& bytes) const;

  // Whether the file now is another than the one stamped. A file whose time
  // alone changed (touched, or copied back unchanged) is the same file. *now
  // (when given) gets the stamp of the file as it is.
  bool changedOnDisk(const QString& path, FileStore& store = FileStore::disk(), FileStamp* now = nullptr) const;

  bool sameFileAs(const FileStamp& other) const;
};

}  // namespace v3
