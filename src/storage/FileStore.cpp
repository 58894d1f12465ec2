#include "storage/FileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace v3 {

QString DataFilePath(const QString& folder, const QString& fileName) {
  const QString exact = QDir(folder).filePath(fileName);
  if (QFileInfo::exists(exact)) return exact;
  const QDir dir(folder);
  const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& e : entries)
    if (e.compare(fileName, Qt::CaseInsensitive) == 0) return dir.filePath(e);
  return exact;
}

bool DataFileExists(const QString& folder, const QString& fileName) {
  return !folder.isEmpty() && QFileInfo(DataFilePath(folder, fileName)).isFile();
}

QByteArray FileStore::read(const QString& path, bool* exists, QString* error) {
  QFile f(path);
  *exists = f.exists();
  if (!*exists) return QByteArray();
  if (!f.open(QIODevice::ReadOnly)) {
    if (error) *error = f.errorString();
    return QByteArray();
  }
  return f.readAll();
}

bool FileStore::replace(const QString& path, const QByteArray& bytes, QString* error) {
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly)) {
    if (error) *error = out.errorString();
    return false;
  }
  if (out.write(bytes) != bytes.size()) {
    if (error) *error = out.errorString();
    out.cancelWriting();
    return false;
  }
  if (!out.commit()) {
    if (error) *error = out.errorString();
    return false;
  }
  return true;
}

bool FileStore::copy(const QString& from, const QString& to, QString* error) {
  bool exists = false;
  QString readError;
  const QByteArray bytes = read(from, &exists, &readError);
  if (!exists || !readError.isEmpty()) {
    if (error) *error = exists ? readError : QStringLiteral("文件不存在");
    return false;
  }
  return replace(to, bytes, error);
}

FileStore& FileStore::disk() {
  static FileStore store;
  return store;
}

}  // namespace v3
