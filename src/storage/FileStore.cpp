#include "storage/FileStore.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>

#include <sys/stat.h>

#include "text/DiskFile.h"

namespace v3 {
namespace {
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Files)
};
}  // namespace

QByteArray FileStore::read(const QString& path, bool* exists, QString* error) {
  QByteArray bytes;
  QString e;
  if (!disk::Read(path, &bytes, exists, &e) && error) *error = e;
  return bytes;
}

bool FileStore::replace(const QString& path, const QByteArray& bytes, QString* error) {
  return disk::Replace(path, bytes, error);
}

// Through read, so that a store made for a test fails the copy where it
// fails reading.
bool FileStore::copy(const QString& from, const QString& to, QString* error) {
  bool exists = false;
  QString readError;
  const QByteArray bytes = read(from, &exists, &readError);
  if (!readError.isEmpty() || !exists) {
    if (error) *error = exists ? readError : Texts::tr("无法复制 %1：%2").arg(from, disk::SystemReason(ENOENT));
    return false;
  }
  struct stat st;
  disk::ReplaceOptions options;
  options.followLink = false;
  options.refuseReadOnly = false;
  if (::stat(QFile::encodeName(from).constData(), &st) == 0) {
    options.mode = int(st.st_mode & 0777);
    options.owner = st.st_uid;
    options.group = st.st_gid;
  }
  return disk::Replace(to, bytes, error, options);
}

bool FileStore::stage(const QString& path, const QByteArray& bytes, disk::StagedReplace* staged, QString* error) {
  return staged->prepare(path, bytes, error);
}

FileStore& FileStore::disk() {
  static FileStore store;
  return store;
}

}  // namespace v3
