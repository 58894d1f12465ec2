#include "text/DiskFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "text/Translation.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace v3::disk {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Disk)
};

// Nothing the program reads comes near this; it keeps a hostile "file" (a
// huge sparse one) from exhausting memory.
constexpr qint64 kLargestFile = qint64(1) << 30;

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

QString failure(const QString& what, const QString& path, int e) {
  return Texts::tr("%1 %2：%3").arg(what, shown(path), SystemReason(e));
}

// close() with its result: on Linux the descriptor is gone even when close
// reports an error, so it is never retried.
int closeChecked(int fd) { return ::close(fd) == 0 ? 0 : errno; }

QByteArray randomSuffix() {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  QByteArray s(8, 'x');
  for (char& c : s) c = kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))];
  return s;
}

// Writes all of the bytes, going on after short writes and interruptions.
// Returns 0 or the errno of the failure.
int writeAll(int fd, QByteArrayView bytes) {
  const char* p = bytes.data();
  qint64 left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, size_t(std::min<qint64>(left, qint64(1) << 24)));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return ENOSPC;  // no progress on a regular file: the disk takes no more
    p += n;
    left -= n;
  }
  return 0;
}

int fsyncChecked(int fd) {
  while (::fsync(fd) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

// Flushes the folder's entries (a rename or a new name) to the disk. Some
// file systems cannot flush a folder at all; that is not a failure.
int syncFolder(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  int e = fsyncChecked(fd);
  if (e == EINVAL || e == ENOTSUP || e == EOPNOTSUPP || e == EROFS) e = 0;
  const int c = closeChecked(fd);
  return e ? e : c;
}

// The path a replace works on: a symbolic link is followed to its target, so
// the link stays a link.
bool resolveTarget(const QByteArray& path, QByteArray* target, int* e) {
  struct stat st;
  if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
    *target = path;
    return true;
  }
  char buffer[PATH_MAX];
  if (!::realpath(path.constData(), buffer)) {
    *e = errno;
    return false;
  }
  *target = QByteArray(buffer);
  return true;
}

QByteArray folderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  if (slash < 0) return QByteArray(".");
  if (slash == 0) return QByteArray("/");
  return path.left(slash);
}

}  // namespace

QString SystemReason(int e) {
  struct Known {
    int code;
    const char* text;
  };
  static const Known kKnown[] = {
      {ENOSPC, QT_TRANSLATE_NOOP("Disk", "磁盘已满")},
      {EDQUOT, QT_TRANSLATE_NOOP("Disk", "超出磁盘配额")},
      {EIO, QT_TRANSLATE_NOOP("Disk", "磁盘读写错误")},
      {EACCES, QT_TRANSLATE_NOOP("Disk", "没有访问权限")},
      {EPERM, QT_TRANSLATE_NOOP("Disk", "不允许此操作")},
      {EROFS, QT_TRANSLATE_NOOP("Disk", "文件系统为只读")},
      {ENOENT, QT_TRANSLATE_NOOP("Disk", "文件或文件夹不存在")},
      {ENOTDIR, QT_TRANSLATE_NOOP("Disk", "路径中有一项不是文件夹")},
      {EISDIR, QT_TRANSLATE_NOOP("Disk", "这是一个文件夹")},
      {EFBIG, QT_TRANSLATE_NOOP("Disk", "文件过大")},
      {EMFILE, QT_TRANSLATE_NOOP("Disk", "打开的文件过多")},
      {ENFILE, QT_TRANSLATE_NOOP("Disk", "系统中打开的文件过多")},
      {ENAMETOOLONG, QT_TRANSLATE_NOOP("Disk", "文件名过长")},
      {EBUSY, QT_TRANSLATE_NOOP("Disk", "设备或资源正忙")},
      {ETXTBSY, QT_TRANSLATE_NOOP("Disk", "文件正被使用")},
      {EXDEV, QT_TRANSLATE_NOOP("Disk", "不在同一文件系统")},
      {EINTR, QT_TRANSLATE_NOOP("Disk", "操作被中断")},
      {ENOMEM, QT_TRANSLATE_NOOP("Disk", "内存不足")},
      {ELOOP, QT_TRANSLATE_NOOP("Disk", "符号链接层数过多")},
      {EAGAIN, QT_TRANSLATE_NOOP("Disk", "资源暂时不可用")},
      {ESTALE, QT_TRANSLATE_NOOP("Disk", "网络文件已失效")},
      {ENXIO, QT_TRANSLATE_NOOP("Disk", "设备不存在")},
      {ENODEV, QT_TRANSLATE_NOOP("Disk", "设备不存在")},
      {EINVAL, QT_TRANSLATE_NOOP("Disk", "参数无效")},
      {EEXIST, QT_TRANSLATE_NOOP("Disk", "文件已存在")},
      {EBADF, QT_TRANSLATE_NOOP("Disk", "文件句柄无效")},
      {ENOTSUP, QT_TRANSLATE_NOOP("Disk", "不支持此操作")},
      {ETIMEDOUT, QT_TRANSLATE_NOOP("Disk", "操作超时")},
      {ECONNRESET, QT_TRANSLATE_NOOP("Disk", "连接被重置")},
  };
  // In English the system's own words; in Chinese the table's, or the
  // error's name where the table has none.
  const char* english = ::strerrordesc_np(e);
  if (CurrentUiLanguage() == UiLanguage::English)
    return english ? QString::fromUtf8(english) : QStringLiteral("system error %1").arg(e);
  for (const Known& k : kKnown)
    if (k.code == e) return Texts::tr(k.text);
  const char* name = ::strerrorname_np(e);
  return name ? Texts::tr("系统错误 %1（%2）").arg(e).arg(QString::fromLatin1(name)) : Texts::tr("系统错误 %1").arg(e);
}

namespace {

// Opens a regular file for reading: fd >= 0 and its size; -1 when there is no
// such file (*exists false) or it cannot be read (*error set).
int openToRead(const QString& path, qint64* size, bool* exists, QString* error) {
  *exists = true;
  auto fail = [&](const QString& message) {
    if (error) *error = message;
    return -1;
  };
  const QByteArray name = QFile::encodeName(path);
  int fd;
  do {
    fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (errno == ENOENT) {
      *exists = false;
      return -1;
    }
    return fail(failure(Texts::tr("无法打开"), path, errno));
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    const int e = errno;
    ::close(fd);
    return fail(failure(Texts::tr("无法读取"), path, e));
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return fail(S_ISDIR(st.st_mode) ? Texts::tr("无法读取 %1：这是一个文件夹，不是文件").arg(shown(path))
                                    : Texts::tr("无法读取 %1：这不是普通文件").arg(shown(path)));
  }
  if (st.st_size > kLargestFile) {
    ::close(fd);
    return fail(Texts::tr("无法读取 %1：文件过大（%2 字节）").arg(shown(path)).arg(qint64(st.st_size)));
  }
  *size = st.st_size;
  return fd;
}

}  // namespace

bool Read(const QString& path, QByteArray* bytes, bool* exists, QString* error) {
  bytes->clear();
  auto fail = [&](const QString& message) {
    bytes->clear();
    if (error) *error = message;
    return false;
  };
  QString openError;
  qint64 size = 0;
  const int fd = openToRead(path, &size, exists, &openError);
  if (fd < 0) return openError.isEmpty() ? true : fail(openError);
  // Read to the end, then compare with the size the file had when opened: a
  // file that ends early (or grows) while being read is not taken.
  QByteArray data(size + 1, Qt::Uninitialized);
  qint64 got = 0;
  while (true) {
    const ssize_t n = ::read(fd, data.data() + got, size_t(data.size() - got));
    if (n < 0) {
      if (errno == EINTR) continue;
      const int e = errno;
      ::close(fd);
      return fail(failure(Texts::tr("无法读取"), path, e));
    }
    if (n == 0) break;
    got += n;
    if (got > size) break;
  }
  if (const int e = closeChecked(fd)) return fail(failure(Texts::tr("无法读取（关闭文件时出错）"), path, e));
  if (got != size)
    return fail(Texts::tr("无法完整读取 %1：读到 %2 字节，文件有 %3 字节").arg(shown(path)).arg(got).arg(size));
  data.truncate(size);
  *bytes = std::move(data);
  return true;
}

PieceReader::~PieceReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool PieceReader::open(const QString& path, bool* exists, QString* error) {
  path_ = path;
  QString openError;
  fd_ = openToRead(path, &size_, exists, &openError);
  if (fd_ < 0 && error) *error = openError;
  return openError.isEmpty();
}

bool PieceReader::read(qint64 from, qint64 count, QByteArray* into, qsizetype at) const {
  const qint64 end = std::min(from + count, size_);
  into->resize(at + qsizetype(std::max<qint64>(end - from, 0)));
  for (qint64 got = from; got < end;) {
    const ssize_t n = ::pread(fd_, into->data() + at + (got - from), size_t(end - got), got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int none = 0;
      if (n < 0) failure_.compare_exchange_strong(none, errno);
      qint64 unset = -1;
      if (n == 0) endedAt_.compare_exchange_strong(unset, got);
      return false;
    }
    got += n;
  }
  return true;
}

bool PieceReader::finish(QString* error) {
  if (fd_ < 0) return true;
  // One byte past the size it had: a file that grew is not taken either.
  char past;
  ssize_t n;
  do n = ::pread(fd_, &past, 1, size_);
  while (n < 0 && errno == EINTR);
  int e = failure_.load();
  if (n < 0 && e == 0) e = errno;
  const int closed = closeChecked(fd_);
  fd_ = -1;
  QString message;
  if (e != 0)
    message = failure(Texts::tr("无法读取"), path_, e);
  else if (closed != 0)
    message = failure(Texts::tr("无法读取（关闭文件时出错）"), path_, closed);
  else if (endedAt_.load() >= 0 || n > 0)
    message = Texts::tr("无法完整读取 %1：读到 %2 字节，文件有 %3 字节")
                  .arg(shown(path_))
                  .arg(n > 0 ? size_ + 1 : endedAt_.load())
                  .arg(size_);
  if (error) *error = message;
  return message.isEmpty();
}

bool ReadSame(const QString& path, QByteArrayView expected, bool* exists, bool* same, QString* error) {
  *same = false;
  QString openError;
  qint64 size = 0;
  const int fd = openToRead(path, &size, exists, &openError);
  if (fd < 0) {
    if (error) *error = openError;
    return openError.isEmpty();
  }
  if (size != expected.size()) {
    ::close(fd);
    return true;
  }
  // As Read(): a file that ends early (or grows) while it is read is an
  // error, whatever its bytes up to there. A difference ends the reading.
  QByteArray piece(qsizetype(1) << 20, Qt::Uninitialized);
  qint64 got = 0;
  bool differs = false;
  while (!differs && got <= size) {
    const ssize_t n = ::read(fd, piece.data(), size_t(std::min<qint64>(piece.size(), size + 1 - got)));
    if (n < 0) {
      if (errno == EINTR) continue;
      const int e = errno;
      ::close(fd);
      if (error) *error = failure(Texts::tr("无法读取"), path, e);
      return false;
    }
    if (n == 0) break;
    differs = got + n <= size && std::memcmp(piece.constData(), expected.data() + got, size_t(n)) != 0;
    got += n;
  }
  if (const int e = closeChecked(fd)) {
    if (error) *error = failure(Texts::tr("无法读取（关闭文件时出错）"), path, e);
    return false;
  }
  if (differs) return true;
  if (got != size) {
    if (error) *error = Texts::tr("无法完整读取 %1：读到 %2 字节，文件有 %3 字节").arg(shown(path)).arg(got).arg(size);
    return false;
  }
  *same = true;
  return true;
}

QString ReadOnlyMessage(const QString& path, unsigned mode) {
  return Texts::tr("%1 是只读文件（权限 %2），未改动；要保存它，先使它可写（例如 chmod u+w %3）")
      .arg(shown(path), QStringLiteral("%1").arg(mode & 07777, 4, 8, QLatin1Char('0')), path);
}

bool IsStrayName(const QString& fileName, const QString& ofFile) {
  for (const QLatin1String kind : {QLatin1String(".saving-"), QLatin1String(".keep-")}) {
    const qsizetype at = fileName.lastIndexOf(kind);
    if (at <= 0 || fileName.size() != at + kind.size() + 8) continue;
    if (!ofFile.isEmpty() && QStringView(fileName).left(at) != ofFile) continue;
    bool ok = true;
    for (const QChar c : QStringView(fileName).mid(at + kind.size()))
      ok = ok && ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'));
    if (ok) return true;
  }
  return false;
}

QStringList StrayFiles(const QString& folder, const QString& ofFile) {
  QStringList strays;
  const QStringList names =
      QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks, QDir::Name);
  for (const QString& n : names)
    if (IsStrayName(n, ofFile)) strays << n;
  return strays;
}

void RemoveStrays(const QString& folder, const QString& ofFile, QStringList* removed, QStringList* failures) {
  const uid_t me = ::geteuid();
  for (const QString& n : StrayFiles(folder, ofFile)) {
    const QString path = QDir(folder).filePath(n);
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode) || (me != 0 && st.st_uid != me)) continue;
    if (::unlink(name.constData()) == 0) {
      if (removed) *removed << n;
    } else if (errno != ENOENT && failures) {
      *failures << failure(Texts::tr("无法删除中断的保存留下的临时文件"), path, errno);
    }
  }
}

FolderLock::FolderLock(const QString& folder, int waitMs) {
  const QByteArray name = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
  do {
    fd_ = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) {
    error_ = failure(Texts::tr("无法打开文件夹"), folder, errno);
    return;
  }
  for (int waited = 0;; waited += 20) {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
    const int e = errno;
    if (e == EINTR) continue;
    // A file system that has no locks: saved as before, without one.
    if (e == ENOLCK || e == EOPNOTSUPP || e == ENOTSUP || e == EINVAL) return;
    if (e != EWOULDBLOCK || waited >= waitMs) {
      error_ = e == EWOULDBLOCK
                   ? Texts::tr("另一个程序正在保存 %1 中的文件（等候 %2 秒后仍未结束），未写入；请稍后再试")
                         .arg(shown(folder))
                         .arg((waitMs + 999) / 1000)
                   : failure(Texts::tr("无法锁定文件夹"), folder, e);
      ::close(fd_);
      fd_ = -1;
      return;
    }
    ::usleep(20 * 1000);
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

int LinkSoleName(const QString& path, const QString& newName, QString* error) {
  const QByteArray from = QFile::encodeName(path);
  const QByteArray to = QFile::encodeName(newName);
  struct stat st;
  if (::lstat(from.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) return 0;
  if (::link(from.constData(), to.constData()) != 0) {
    if (errno == EXDEV || errno == EPERM || errno == EMLINK || errno == ENOTSUP || errno == EOPNOTSUPP ||
        errno == ENOSYS)
      return 0;
    if (error) *error = failure(Texts::tr("无法写入"), newName, errno);
    return -1;
  }
  // The file named may have been replaced meanwhile: only the same one counts.
  struct stat linked;
  if (::lstat(to.constData(), &linked) != 0 || linked.st_dev != st.st_dev || linked.st_ino != st.st_ino) {
    ::unlink(to.constData());
    return 0;
  }
  if (const int e = syncFolder(folderOf(to))) {
    ::unlink(to.constData());
    if (error) *error = Texts::tr("无法将 %1 所在文件夹的更新写到磁盘：%2").arg(shown(newName), SystemReason(e));
    return -1;
  }
  return 1;
}

bool SameContent(const QString& path, QByteArrayView bytes) {
  bool exists = false, same = false;
  return ReadSame(path, bytes, &exists, &same, nullptr) && same;
}

bool SameFile(const QString& a, const QString& b) {
  struct stat sa, sb;
  return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0 &&
         sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool Replace(const QString& path, QByteArrayView bytes, QString* error, const ReplaceOptions& options) {
  StagedReplace staged;
  if (!staged.prepare(path, bytes, error, options) || !staged.commit(error)) return false;
  staged.finish();
  return true;
}

StagedReplace::~StagedReplace() {
  if (!temp_.isEmpty()) ::unlink(temp_.constData());
  if (!keep_.isEmpty()) ::unlink(keep_.constData());
}

bool StagedReplace::prepare(const QString& path, QByteArrayView bytes, QString* error, const ReplaceOptions& options) {
  auto fail = [&](const QString& message) {
    if (error) *error = message;
    return false;
  };
  path_ = path;
  int e = 0;
  QByteArray target = QFile::encodeName(path);
  if (options.followLink && !resolveTarget(QFile::encodeName(path), &target, &e))
    return fail(failure(Texts::tr("无法写入"), path, e));

  // Without following a link: a link at a backup's name is replaced itself.
  struct stat old;
  const bool existed = (options.followLink ? ::stat(target.constData(), &old) : ::lstat(target.constData(), &old)) == 0;
  if (!existed && errno != ENOENT) return fail(failure(Texts::tr("无法写入"), path, errno));
  if (existed && S_ISDIR(old.st_mode)) return fail(Texts::tr("无法写入 %1：这是一个文件夹").arg(shown(path)));
  const bool regular = existed && S_ISREG(old.st_mode);
  if (existed && !regular && !(S_ISLNK(old.st_mode) && !options.followLink))
    return fail(Texts::tr("无法写入 %1：这不是普通文件").arg(shown(path)));
  if (regular && options.refuseReadOnly) {
    // A file marked read-only stays as it is, although its folder would let
    // the rename replace it: by its mode, since root may write any file.
    if ((old.st_mode & 0222) == 0) return fail(ReadOnlyMessage(path, old.st_mode));
    if (::access(target.constData(), W_OK) != 0) return fail(failure(Texts::tr("无法写入"), path, errno));
  }

  const QString unchanged = existed ? Texts::tr("，原文件未改动") : QString();
  const QByteArray folder = folderOf(target);
  const QByteArray base = target.mid(target.lastIndexOf('/') + 1);
  QByteArray temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder + '/' + base + ".saving-" + randomSuffix();
    fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST && errno != EINTR)
      return fail(failure(Texts::tr("无法在文件夹中建立新文件以写入"), path, errno));
  }
  if (fd < 0) return fail(failure(Texts::tr("无法在文件夹中建立新文件以写入"), path, EEXIST));
  auto dropTemp = [&](const QString& message) {
    ::unlink(temp.constData());
    return fail(message);
  };
  // The new file takes the old one's owner, group and permissions (the
  // owner first: a change of owner clears the set-id bits). Who may not give
  // a file away keeps what the system allows; the caller compares and tells.
  // A file system without permissions may refuse this; the content is what
  // matters.
  {
    const qint64 uid = options.owner >= 0 ? options.owner : regular ? qint64(old.st_uid) : -1;
    const qint64 gid = options.group >= 0 ? options.group : regular ? qint64(old.st_gid) : -1;
    if ((uid >= 0 || gid >= 0) && ::fchown(fd, uid_t(uid), gid_t(gid)) != 0 && gid >= 0)
      if (::fchown(fd, uid_t(-1), gid_t(gid)) != 0) {
      }  // what is kept is compared after
    const int mode = options.mode >= 0 ? options.mode : regular ? int(old.st_mode & 07777) : -1;
    if (mode >= 0 && ::fchmod(fd, mode_t(mode)) != 0) {
    }
  }

  if ((e = writeAll(fd, bytes))) {
    ::close(fd);
    return dropTemp(failure(Texts::tr("无法写入"), path, e) + unchanged);
  }
  if ((e = fsyncChecked(fd))) {
    ::close(fd);
    return dropTemp(failure(Texts::tr("无法将新内容写到磁盘"), path, e) + unchanged);
  }
  struct stat written;
  if (::fstat(fd, &written) != 0) {
    e = errno;
    ::close(fd);
    return dropTemp(failure(Texts::tr("无法写入"), path, e) + unchanged);
  }
  if (written.st_size != bytes.size()) {
    ::close(fd);
    return dropTemp(Texts::tr("写入 %1 不完整：写入 %2 字节，磁盘上只有 %3 字节")
                        .arg(shown(path))
                        .arg(bytes.size())
                        .arg(qint64(written.st_size)) +
                    unchanged);
  }
  if ((e = closeChecked(fd)))
    return dropTemp(failure(Texts::tr("无法写入"), path, e) + Texts::tr("（关闭文件时出错）") + unchanged);
  target_ = target;
  folder_ = folder;
  temp_ = temp;
  existed_ = existed;
  regular_ = regular;
  return true;
}

bool StagedReplace::commit(QString* error) {
  auto fail = [&](const QString& message) {
    if (error) *error = message;
    return false;
  };
  if (temp_.isEmpty()) return fail(Texts::tr("无法写入 %1：新内容未准备好").arg(shown(path_)));
  const QString unchanged = existed_ ? Texts::tr("，原文件未改动") : QString();
  const QByteArray base = target_.mid(target_.lastIndexOf('/') + 1);
  // A second name for the old file, so that it can be put back when the
  // folder cannot be flushed after the rename (or a later file of the same
  // save fails). Without hard links (some file systems have none) the save
  // goes on without that way back.
  if (regular_) {
    keep_ = folder_ + '/' + base + ".keep-" + randomSuffix();
    if (::link(target_.constData(), keep_.constData()) != 0) keep_.clear();
  }
  if (::rename(temp_.constData(), target_.constData()) != 0) {
    const int e = errno;
    if (!keep_.isEmpty()) ::unlink(keep_.constData());
    keep_.clear();
    ::unlink(temp_.constData());
    temp_.clear();
    return fail(failure(Texts::tr("无法用新内容替换"), path_, e) + unchanged);
  }
  temp_.clear();
  committed_ = true;
  if (const int e = syncFolder(folder_)) {
    // The new name may not be on the disk: go back to the old file.
    QString ignored;
    const bool restored = rollBack(&ignored);
    const QString message = Texts::tr("无法将 %1 所在文件夹的更新写到磁盘：%2").arg(shown(path_), SystemReason(e));
    if (restored) return fail(message + (existed_ ? unchanged : Texts::tr("，未建立文件")));
    finish();
    return fail(message + Texts::tr("；新内容已换入，但可能没有写到磁盘"));
  }
  return true;
}

bool StagedReplace::rollBack(QString* error) {
  if (!committed_) return true;
  bool restored = false;
  int e = 0;
  if (!keep_.isEmpty()) {
    restored = ::rename(keep_.constData(), target_.constData()) == 0;
    if (restored)
      keep_.clear();
    else
      e = errno;
  } else if (!existed_) {
    restored = ::unlink(target_.constData()) == 0;
    if (!restored) e = errno;
  }
  if (restored) {
    committed_ = false;
    (void)syncFolder(folder_);
    return true;
  }
  if (error)
    *error = e ? failure(Texts::tr("无法恢复旧内容"), path_, e)
               : Texts::tr("无法恢复 %1 的旧内容：文件系统不支持第二个名称").arg(shown(path_));
  return false;
}

void StagedReplace::finish() {
  // The old file's second name goes; if it cannot, it is only a stray copy.
  if (!keep_.isEmpty()) ::unlink(keep_.constData());
  keep_.clear();
  committed_ = false;
}

}  // namespace v3::disk

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

}  // namespace v3
