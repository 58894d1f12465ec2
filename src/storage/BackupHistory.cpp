#include "storage/BackupHistory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include "text/DiskFile.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Backups)
};

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

const QRegularExpression& versionName() {
  static const QRegularExpression re(QStringLiteral("^(\\d{1,9})-(\\d{8})-(\\d{6})(\\.[^.]*)?$"));
  return re;
}

QString extensionOf(const QString& fileName) {
  const qsizetype dot = fileName.lastIndexOf(u'.');
  return dot > 0 ? fileName.mid(dot) : QString();
}

// A folder of the history as it is on disk, links not followed: 1 a real
// folder, 0 nothing there, -1 anything else (then *error says what).
int folderState(const QString& path, QString* error) {
  struct stat st;
  if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
    if (errno == ENOENT) return 0;
    *error = Texts::tr("无法读取 %1：%2").arg(shown(path), disk::SystemReason(errno));
    return -1;
  }
  if (S_ISDIR(st.st_mode)) return 1;
  *error = S_ISLNK(st.st_mode) ? Texts::tr("%1 是一个符号链接，备份历史不会写到链接所指之处").arg(shown(path))
                               : Texts::tr("%1 不是文件夹").arg(shown(path));
  return -1;
}

// A folder of the history, made when missing with the owner, group and mode
// of the folder it is in: a save by root leaves a history that the folder's
// owner can still add to.
bool makeFolder(const QString& path, QString* error) {
  const int state = folderState(path, error);
  if (state == 1) return true;
  if (state < 0) return false;
  const QByteArray name = QFile::encodeName(path);
  if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
    *error = Texts::tr("无法建立文件夹 %1：%2").arg(shown(path), disk::SystemReason(errno));
    return false;
  }
  struct stat parent;
  if (::stat(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &parent) == 0) {
    if (parent.st_uid != ::geteuid() || parent.st_gid != ::getegid())
      if (::lchown(name.constData(), parent.st_uid, parent.st_gid) != 0) {
      }
    if (::chmod(name.constData(), parent.st_mode & 0777) != 0) {
    }
  }
  return folderState(path, error) == 1;
}

}  // namespace

QString BackupHistoryFolderName() { return QStringLiteral("Vantaro3Backups"); }

QString BackupHistoryFolder(const QString& dataFile) {
  const QFileInfo info(dataFile);
  return QDir(info.absolutePath()).filePath(BackupHistoryFolderName() + u'/' + info.fileName());
}

std::vector<BackupVersion> BackupVersions(const QString& dataFile, QString* error) {
  std::vector<BackupVersion> versions;
  const QString folder = BackupHistoryFolder(dataFile);
  QString problem;
  if (folderState(QFileInfo(folder).absolutePath(), &problem) != 1 || folderState(folder, &problem) != 1) {
    if (error) *error = problem;
    return versions;
  }
  const QStringList names = QDir(folder).entryList(QDir::Files | QDir::NoSymLinks | QDir::Hidden, QDir::Name);
  for (const QString& n : names) {
    const QRegularExpressionMatch m = versionName().match(n);
    if (!m.hasMatch()) continue;
    BackupVersion v;
    v.id = m.captured(1).toInt();
    v.time = QDateTime(QDate::fromString(m.captured(2), QStringLiteral("yyyyMMdd")),
                       QTime::fromString(m.captured(3), QStringLiteral("HHmmss")), QTimeZone::utc());
    v.path = QDir(folder).filePath(n);
    struct stat st;
    if (::lstat(QFile::encodeName(v.path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    v.size = st.st_size;
    versions.push_back(v);
  }
  std::sort(versions.begin(), versions.end(),
            [](const BackupVersion& a, const BackupVersion& b) { return a.id > b.id; });
  if (error) error->clear();
  return versions;
}

bool FindBackupVersion(const QString& dataFile, const QString& id, BackupVersion* version, QString* error) {
  QString listError;
  const std::vector<BackupVersion> versions = BackupVersions(dataFile, &listError);
  bool ok = false;
  const int wanted = id.trimmed().toInt(&ok);
  for (const BackupVersion& v : versions)
    if (ok && v.id == wanted) {
      *version = v;
      return true;
    }
  if (!listError.isEmpty()) {
    *error = listError;
  } else if (versions.empty()) {
    *error = Texts::tr("%1 没有较早的版本").arg(QFileInfo(dataFile).fileName());
  } else {
    QStringList ids;
    for (const BackupVersion& v : versions) ids << QString::number(v.id);
    *error = Texts::tr("%1 没有编号为 %2 的版本（有：%3）").arg(QFileInfo(dataFile).fileName(), id, ids.join(u' '));
  }
  return false;
}

bool ReadBackupVersion(const BackupVersion& version, QByteArray* bytes, QString* error) {
  struct stat st;
  if (::lstat(QFile::encodeName(version.path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
    *error = Texts::tr("%1 不是普通文件").arg(shown(version.path));
    return false;
  }
  bool exists = false;
  if (!disk::Read(version.path, bytes, &exists, error)) return false;
  if (!exists) *error = Texts::tr("%1：%2").arg(shown(version.path), disk::SystemReason(ENOENT));
  return exists;
}

bool AddBackupVersion(const QString& dataFile, const QByteArray& bytes, const QDateTime& written, unsigned mode,
                      int depth, QString* error, QStringList* notices, const QString& file, QString* added) {
  if (added) added->clear();
  if (depth <= 0) return true;
  const QString folder = BackupHistoryFolder(dataFile);
  if (!makeFolder(QFileInfo(folder).absolutePath(), error) || !makeFolder(folder, error)) return false;
  QString listError;
  std::vector<BackupVersion> versions = BackupVersions(dataFile, &listError);
  if (!listError.isEmpty()) {
    *error = listError;
    return false;
  }
  // A newest version of another size holds other bytes; one that is the
  // file itself (a save that stopped after the history) holds these.
  if (!versions.empty() && versions.front().size == bytes.size()) {
    if (!file.isEmpty() && disk::SameFile(versions.front().path, file)) return true;
    if (disk::SameContent(versions.front().path, bytes)) return true;
  }
  // The caller holds the folder's save lock: a temporary file here is a
  // stopped save's.
  QStringList failures;
  disk::RemoveStrays(folder, QString(), nullptr, &failures);
  if (notices) *notices << failures;
  const int id = versions.empty() ? 1 : versions.front().id + 1;
  const QString name = QStringLiteral("%1-%2%3")
                           .arg(id, 6, 10, QLatin1Char('0'))
                           .arg(written.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss")),
                                extensionOf(QFileInfo(dataFile).fileName()));
  // A version has the table's owner, group and mode, as its .bak has.
  disk::ReplaceOptions options;
  options.followLink = false;
  options.mode = int(mode & 0777);
  options.refuseReadOnly = false;
  struct stat table;
  if (::stat(QFile::encodeName(dataFile).constData(), &table) == 0) {
    options.owner = table.st_uid;
    options.group = table.st_gid;
  }
  const QString path = QDir(folder).filePath(name);
  const int linked = file.isEmpty() ? 0 : disk::LinkSoleName(file, path, error);
  if (linked < 0 || (linked == 0 && !disk::Replace(path, bytes, error, options))) return false;
  if (added) *added = path;
  // The oldest beyond the depth go; one that cannot is told, not fatal.
  for (size_t i = size_t(depth) - 1; i < versions.size(); ++i) {
    const QByteArray path = QFile::encodeName(versions[i].path);
    if (::unlink(path.constData()) != 0 && errno != ENOENT && notices)
      *notices
          << Texts::tr("无法删除备份历史中较早的版本 %1：%2").arg(shown(versions[i].path), disk::SystemReason(errno));
  }
  return true;
}

SaveFileResult RestoreBackupVersion(const QString& dataFile, const BackupVersion& version,
                                    const SaveFileOptions& options, FileStore& store) {
  SaveFileResult result;
  QByteArray bytes;
  if (!ReadBackupVersion(version, &bytes, &result.error)) {
    result.status = SaveFileResult::Failed;
    return result;
  }
  return SaveDataFile(dataFile, bytes, options, store);
}

}  // namespace v3
