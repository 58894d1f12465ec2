#include "storage/SafeSave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <memory>

#include "storage/BackupHistory.h"
#include "text/DiskFile.h"
#include "text/Ini.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Save)
};

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// The file a link points to, or the path itself.
QString linkTarget(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat st;
  if (::lstat(name.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char buffer[PATH_MAX];
  if (!::realpath(name.constData(), buffer)) return path;
  return QFile::decodeName(buffer);
}

// A version that a failed save linked into the history while the file kept
// its old content is still the file itself: it goes, so that nothing but the
// history holds what the history keeps.
void dropVersionStillInUse(const QString& version, const QString& target) {
  if (!version.isEmpty() && disk::SameFile(version, target)) ::unlink(QFile::encodeName(version).constData());
}

enum class Current { Read, Changed, Failed };

// The file's content now, checked against what the caller read: a file that
// is still the one read is compared in pieces and its content is then the
// caller's bytes, so that no second copy of it is made.
Current readCurrent(FileStore& store, const QString& path, const FileStamp* expected, bool* exists, QByteArray* current,
                    QString* error) {
  if (expected && expected->taken && expected->exists && expected->readable) {
    bool same = false;
    if (!store.readSame(path, expected->content, exists, &same, error)) return Current::Failed;
    if (!same) return Current::Changed;
    *current = expected->content;
    return Current::Read;
  }
  *current = store.read(path, exists, error);
  if (!error->isEmpty()) return Current::Failed;
  // No bytes to compare with: no file was there when it was read (a file now
  // is another), or it could not be read (no content equals it).
  if (expected && expected->taken && (expected->exists || *exists)) return Current::Changed;
  return Current::Read;
}

}  // namespace

SaveFileResult SaveDataFile(const QString& path, const QByteArray& bytes, const SaveFileOptions& options,
                            FileStore& store) {
  SaveFileResult result;
  auto stop = [&](SaveFileResult::Status status, const QString& error) {
    result.status = status;
    result.error = error;
    return result;
  };
  const QFileInfo info(path);
  const QString name = info.fileName();
  const QString target = linkTarget(path);
  const QString targetFolder = QFileInfo(target).absolutePath();

  // Every save of a file of this folder (and of the folder its link points
  // into) waits for the others; taken in one order, so that two never wait
  // for each other.
  QStringList folders{info.absolutePath()};
  if (targetFolder != folders.front()) folders << targetFolder;
  folders.sort();
  std::vector<std::unique_ptr<disk::FolderLock>> locks;
  for (const QString& f : folders) {
    locks.push_back(std::make_unique<disk::FolderLock>(f));
    if (!locks.back()->held()) return stop(SaveFileResult::Refused, locks.back()->error());
  }

  bool exists = false;
  QString error;
  QByteArray current;
  const Current read = readCurrent(store, path, options.expected, &exists, &current, &error);
  if (read == Current::Failed) return stop(SaveFileResult::Failed, error + Texts::tr("，文件未改动"));
  if (read == Current::Changed)
    return stop(
        SaveFileResult::Refused,
        Texts::tr("%1 在读入之后已被改动（另一个程序或另一次保存），未写入；请重新读入后再改").arg(shown(path)));

  struct stat old {};
  const QByteArray targetName = QFile::encodeName(target);
  if (exists && ::stat(targetName.constData(), &old) != 0) exists = false;
  if (exists && (old.st_mode & 0222) == 0)
    return stop(SaveFileResult::Refused, disk::ReadOnlyMessage(path, old.st_mode));

  // With the lock held no save is writing temporary files here: those there
  // were left by one that was stopped.
  const QStringList strays = SaveLeftovers(path);
  QStringList failures;
  disk::RemoveStrays(targetFolder, QFileInfo(target).fileName(), nullptr, &failures);
  disk::RemoveStrays(info.absolutePath(), name + QStringLiteral(".bak"), nullptr, &failures);
  result.notices << failures;

  QString version;
  if (exists) {
    if (options.historyDepth > 0 &&
        !AddBackupVersion(path, current, QFileInfo(target).lastModified().toUTC(), old.st_mode & 0777,
                          options.historyDepth, &error, &result.notices, target, &version))
      return stop(SaveFileResult::Failed, Texts::tr("无法把旧版本存入备份历史（%1），%2 未改动").arg(error, name));
    if (!store.backUp(path, current, path + QStringLiteral(".bak"), &error)) {
      dropVersionStillInUse(version, target);
      return stop(SaveFileResult::Failed, Texts::tr("无法建立备份 %1.bak（%2），%1 未改动").arg(name, error));
    }
  }
  if (!store.replace(path, bytes, &error)) {
    dropVersionStillInUse(version, target);
    return stop(SaveFileResult::Failed, exists ? Texts::tr("%1；备份在 %2.bak").arg(error, name) : error);
  }
  result.status = SaveFileResult::Saved;
  // A temporary file of this save that is still there is one whose removal failed.
  for (const QString& stray : SaveLeftovers(path))
    if (!strays.contains(stray))
      result.notices << Texts::tr("临时文件 %1 未能删除（下次保存 %2 时会再试）").arg(shown(stray), name);

  if (exists) {
    if (old.st_nlink > 1)
      result.notices << Texts::tr("%1 另有 %2 个硬链接：那些名称仍是旧内容（新内容只在 %1）")
                            .arg(shown(target))
                            .arg(qulonglong(old.st_nlink - 1));
    struct stat now {};
    if (::stat(targetName.constData(), &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid))
      result.notices << Texts::tr("%1 的所有者未能保留：原为用户 %2、组 %3，现为用户 %4、组 %5")
                            .arg(shown(target))
                            .arg(old.st_uid)
                            .arg(old.st_gid)
                            .arg(now.st_uid)
                            .arg(now.st_gid);
  }
  return result;
}

SaveFileResult SaveDataFiles(const std::vector<SaveFileEntry>& files, int historyDepth, FileStore& store) {
  struct Item {
    const SaveFileEntry* entry;
    QString name, target;
    bool exists = false;
    QByteArray current;
    struct stat old {};
    disk::StagedReplace staged;
    QString version;  // made in the history by this save
  };
  std::vector<std::unique_ptr<Item>> items;
  SaveFileResult result;
  auto stop = [&](SaveFileResult::Status status, const QString& file, const QString& error) {
    for (auto& it : items) dropVersionStillInUse(it->version, it->target);
    result.status = status;
    result.failedFile = file;
    result.error = error;
    return result;
  };
  const QString noneChanged = Texts::tr("；所有文件均未改动");

  QStringList folders;
  for (const SaveFileEntry& f : files) {
    auto item = std::make_unique<Item>();
    item->entry = &f;
    item->name = QFileInfo(f.path).fileName();
    item->target = linkTarget(f.path);
    for (const QString& folder : {QFileInfo(f.path).absolutePath(), QFileInfo(item->target).absolutePath()})
      if (!folders.contains(folder)) folders << folder;
    items.push_back(std::move(item));
  }
  // In one order, so that two saves never wait for each other.
  folders.sort();
  std::vector<std::unique_ptr<disk::FolderLock>> locks;
  for (const QString& f : folders) {
    locks.push_back(std::make_unique<disk::FolderLock>(f));
    if (!locks.back()->held()) return stop(SaveFileResult::Refused, QString(), locks.back()->error() + noneChanged);
  }

  for (auto& it : items) {
    QString error;
    const Current read = readCurrent(store, it->entry->path, it->entry->expected, &it->exists, &it->current, &error);
    if (read == Current::Failed) return stop(SaveFileResult::Failed, it->name, error + noneChanged);
    if (read == Current::Changed)
      return stop(SaveFileResult::Refused, it->name,
                  Texts::tr("%1 在读入之后已被改动（另一个程序或另一次保存），未写入；请重新读入后再改")
                          .arg(shown(it->entry->path)) +
                      noneChanged);
    if (it->exists && ::stat(QFile::encodeName(it->target).constData(), &it->old) != 0) it->exists = false;
    if (it->exists && (it->old.st_mode & 0222) == 0)
      return stop(SaveFileResult::Refused, it->name,
                  disk::ReadOnlyMessage(it->entry->path, it->old.st_mode) + noneChanged);
  }

  // With the locks held no save is writing temporary files here: those
  // there were left by one that was stopped.
  QStringList strays;
  for (auto& it : items) {
    strays << SaveLeftovers(it->entry->path);
    QStringList failures;
    disk::RemoveStrays(QFileInfo(it->target).absolutePath(), QFileInfo(it->target).fileName(), nullptr, &failures);
    disk::RemoveStrays(QFileInfo(it->entry->path).absolutePath(), it->name + QStringLiteral(".bak"), nullptr,
                       &failures);
    result.notices << failures;
  }

  for (auto& it : items) {
    if (!it->exists) continue;
    QString error;
    if (historyDepth > 0 &&
        !AddBackupVersion(it->entry->path, it->current, QFileInfo(it->target).lastModified().toUTC(),
                          it->old.st_mode & 0777, historyDepth, &error, &result.notices, it->target, &it->version))
      return stop(SaveFileResult::Failed, it->name,
                  Texts::tr("无法把 %1 的旧版本存入备份历史（%2）").arg(it->name, error) + noneChanged);
    if (!store.backUp(it->entry->path, it->current, it->entry->path + QStringLiteral(".bak"), &error))
      return stop(SaveFileResult::Failed, it->name,
                  Texts::tr("无法建立备份 %1.bak（%2）").arg(it->name, error) + noneChanged);
  }

  for (auto& it : items) {
    QString error;
    if (!store.stage(it->entry->path, it->entry->bytes, &it->staged, &error))
      return stop(SaveFileResult::Failed, it->name, error + noneChanged);
  }

  for (size_t i = 0; i < items.size(); ++i) {
    QString error;
    if (items[i]->staged.commit(&error)) continue;
    // Put back, in reverse, the files already replaced.
    QStringList lost;
    for (size_t j = i; j-- > 0;) {
      Item& done = *items[j];
      QString ignored;
      if (done.staged.rollBack(&ignored)) continue;
      // No second name to go back to: the old content is written anew.
      if (done.exists && store.replace(done.entry->path, done.current, &ignored)) {
        done.staged.finish();
        continue;
      }
      lost << done.name;
    }
    if (lost.isEmpty()) return stop(SaveFileResult::Failed, items[i]->name, error + noneChanged);
    return stop(
        SaveFileResult::Failed, items[i]->name,
        Texts::tr("%1；%2 已写入新内容且未能恢复（旧内容在各自的 .bak）").arg(error, lost.join(QStringLiteral("、"))));
  }
  for (auto& it : items) it->staged.finish();
  result.status = SaveFileResult::Saved;

  for (auto& it : items) {
    for (const QString& stray : SaveLeftovers(it->entry->path))
      if (!strays.contains(stray))
        result.notices << Texts::tr("临时文件 %1 未能删除（下次保存 %2 时会再试）").arg(shown(stray), it->name);
    if (it->exists && it->old.st_nlink > 1)
      result.notices << Texts::tr("%1 另有 %2 个硬链接：那些名称仍是旧内容（新内容只在 %1）")
                            .arg(shown(it->target))
                            .arg(qulonglong(it->old.st_nlink - 1));
  }
  return result;
}

QStringList SaveLeftovers(const QString& dataFile) {
  const QFileInfo info(dataFile);
  const QFileInfo target(linkTarget(dataFile));
  QStringList paths;
  auto add = [&](const QString& folder, const QString& of) {
    for (const QString& n : disk::StrayFiles(folder, of)) {
      const QString p = QDir(folder).filePath(n);
      if (!paths.contains(p)) paths << p;
    }
  };
  add(info.absolutePath(), info.fileName());
  add(info.absolutePath(), info.fileName() + QStringLiteral(".bak"));
  add(target.absolutePath(), target.fileName());
  add(BackupHistoryFolder(dataFile), QString());
  return paths;
}

int HistoryDepthSetting(const QString& configFolder) {
  QByteArray content;
  bool exists = false;
  QString error;
  if (!disk::Read(QDir(configFolder).filePath(QStringLiteral("Config.ini")), &content, &exists, &error) || !exists)
    return kDefaultHistoryDepth;
  const auto value = ini::FindValue(content, "Config", "BackupVersions");
  if (!value) return kDefaultHistoryDepth;
  bool ok = false;
  const int n = QString::fromUtf8(*value).trimmed().toInt(&ok);
  if (!ok || n < 0) return kDefaultHistoryDepth;
  return std::min(n, 1000);
}

}  // namespace v3
