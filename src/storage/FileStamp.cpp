#include "storage/FileStamp.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace v3 {
namespace {

QByteArray ContentHash(const QString& path, FileStore& store, bool* exists) {
  QString error;
  const QByteArray bytes = store.read(path, exists, &error);
  // An unreadable file has no hash: it compares unequal to any file read before.
  if (!error.isEmpty()) return QByteArray();
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

}  // namespace

FileStamp FileStamp::of(const QString& path, FileStore& store) {
  FileStamp s;
  s.taken = true;
  const QFileInfo info(path);
  s.exists = info.exists();
  if (!s.exists) return s;
  s.size = info.size();
  s.modified = info.lastModified();
  bool exists = false;
  s.hash = ContentHash(path, store, &exists);
  return s;
}

bool FileStamp::sameFileAs(const FileStamp& other) const {
  if (exists != other.exists) return false;
  if (!exists) return true;
  if (size != other.size) return false;
  return !hash.isEmpty() && hash == other.hash;
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
