#include "storage/FileStamp.h"

#include <QFileInfo>

namespace v3 {

FileStamp FileStamp::before(const QString& path) {
  FileStamp s;
  s.taken = true;
  const QFileInfo info(path);
  s.exists = info.exists();
  if (!s.exists) return s;
  s.size = info.size();
  s.modified = info.lastModified();
  return s;
}

FileStamp FileStamp::withContent(const QByteArray& bytes) const {
  FileStamp s = *this;
  if (!s.exists) return s;
  s.content = bytes;
  s.readable = true;
  return s;
}

FileStamp FileStamp::of(const QString& path, FileStore& store) {
  FileStamp s = before(path);
  if (!s.exists) return s;
  bool exists = false;
  QString error;
  const QByteArray bytes = store.read(path, &exists, &error);
  // An unreadable file keeps no content: it compares unequal to any file read before.
  if (!error.isEmpty()) return s;
  return s.withContent(bytes);
}

bool FileStamp::sameFileAs(const FileStamp& other) const {
  if (exists != other.exists) return false;
  if (!exists) return true;
  if (size != other.size || !readable || !other.readable) return false;
  return content == other.content;
}

bool FileStamp::changedOnDisk(const QString& path, FileStore& store, FileStamp* now) const {
  if (!taken) {
    if (now) *now = of(path, store);
    return false;
  }
  const QFileInfo info(path);
  // The same size and time: the same file, without reading it.
  if (info.exists() == exists && (!exists || (info.size() == size && info.lastModified() == modified))) {
    if (now) *now = *this;
    return false;
  }
  const FileStamp current = of(path, store);
  if (now) *now = current;
  return !sameFileAs(current);
}

}  // namespace v3
