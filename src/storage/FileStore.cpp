#include "storage/FileStore.h"

#include <QFile>

#include <sys/stat.h>

#include "text/DiskFile.h"

namespace v3 {
QByteArray FileStore::read(const QString& path, bool* exists, QString* error) {
  QByteArray bytes;
  QString e;
  if (!disk::Read(path, &bytes, exists, &e) && error) *error = e;
  return bytes;
}

bool FileStore::replace(const QString& path, const QByteArray& bytes, QString* error) {
  return disk::Replace(path, bytes, error);
}

bool FileStore::readSame(const QString& path, const QByteArray& expected, bool* exists, bool* same, QString* error) {
  return disk::ReadSame(path, expected, exists, same, error);
}

bool FileStore::backUp(const QString& from, const QByteArray& content, const QString& to, QString* error) {
  struct stat st;
  disk::ReplaceOptions options;
  options.followLink = false;
  options.refuseReadOnly = false;
  if (::stat(QFile::encodeName(from).constData(), &st) == 0) {
    options.mode = int(st.st_mode & 0777);
    options.owner = st.st_uid;
    options.group = st.st_gid;
  }
  return disk::Replace(to, content, error, options);
}

bool FileStore::stage(const QString& path, const QByteArray& bytes, disk::StagedReplace* staged, QString* error) {
  return staged->prepare(path, bytes, error);
}

FileStore& FileStore::disk() {
  static FileStore store;
  return store;
}

}  // namespace v3
