#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <atomic>

// The one path to the disk that every reader and writer of the program takes.
// Every system call's result is checked; a failure comes back as a message
// that names the file and the system's reason, and a failed replace leaves
// the old file exactly as it was.
namespace v3::disk {

// Reads the whole file. A missing file is not an error: *exists is false and
// the bytes are empty. A folder, a device or pipe, a file that cannot be
// opened, a read error and a read that ends before the file's size are all
// errors (false, *error set, empty bytes, *exists true).
bool Read(const QString& path, QByteArray* bytes, bool* exists, QString* error);

// Whether the file holds exactly `expected` (*same), read in pieces of a
// megabyte, so that no second copy of a large file is made. Fails (false,
// *error set) where Read() fails; a missing file is *exists false, not the same.
bool ReadSame(const QString& path, QByteArrayView expected, bool* exists, bool* same, QString* error);

// A regular file read a stretch at a time, from any thread, for a pass over
// a large file that never holds it whole (and reads each stretch into memory
// that is already in the cache). It is read as Read() reads it: a file that
// cannot be opened or read, that ends before the size it was opened with or
// grows past it, is an error.
class PieceReader {
 public:
  PieceReader() = default;
  ~PieceReader();
  PieceReader(const PieceReader&) = delete;
  PieceReader& operator=(const PieceReader&) = delete;

  // As Read(): a missing file is *exists false and no error.
  bool open(const QString& path, bool* exists, QString* error);
  qint64 size() const { return size_; }  // when opened
  // Bytes [from, from + count) of the file, cut at its size, into *into from
  // index `at` on (*into resized to end there). False when they cannot all
  // be read; finish() tells why.
  bool read(qint64 from, qint64 count, QByteArray* into, qsizetype at = 0) const;
  // Closes the file: false, with *error, when a read failed, or the file no
  // longer has the size it was opened with.
  bool finish(QString* error);

 private:
  QString path_;
  int fd_ = -1;
  qint64 size_ = 0;
  // The first failure: its errno, or 0 with endedAt_ >= 0 where the file ended early.
  mutable std::atomic<int> failure_{0};
  mutable std::atomic<qint64> endedAt_{-1};
};

// Replaces the file with the bytes, or creates it. The bytes go to a new file
// beside it, which is written completely, flushed to the disk (fsync) and
// closed before it is renamed over the old name; the folder is flushed after
// the rename. On any failure the temporary file is removed and the old file
// keeps its bytes (also when the folder's flush fails after the rename: the
// old file is put back). A symbolic link is followed: its target is replaced
// (unless options say otherwise). The new file keeps the old one's owner,
// group and mode where the process may set them. A file whose mode lets
// nobody write it is refused, also for root.
struct ReplaceOptions {
  // false: a symbolic link at the path is itself replaced by a regular file,
  // never written through (backup copies).
  bool followLink = true;
  // The new file's mode, owner and group; -1: those of the file replaced
  // (a new file: the process's own, mode 0666 less the umask).
  int mode = -1;
  qint64 owner = -1, group = -1;
  // Whether a file whose mode allows no writing is refused (a backup copy is
  // the program's own and is replaced whatever its mode).
  bool refuseReadOnly = true;
};
bool Replace(const QString& path, QByteArrayView bytes, QString* error, const ReplaceOptions& options = {});

// The same replace in steps, for a save that changes several files as one:
// every file's new content is written beside it first, and only then are
// they put in place, so that a failure at any step can leave every file as
// it was.
//  prepare()  checks the file and writes the new content to a temporary file
//             beside it (written, flushed, closed); the old file is untouched.
//  commit()   renames it over the file and flushes the folder, keeping the
//             old content under a second name; on failure the old file is
//             back in place (as Replace).
//  rollBack() after a commit: puts the old content back (false when it
//             cannot: no second name, or the rename fails).
//  finish()   after every commit of the save: drops the second name.
// The destructor removes the temporary file of a replace never committed,
// and the second name of one committed but never finished or rolled back.
class StagedReplace {
 public:
  StagedReplace() = default;
  ~StagedReplace();
  StagedReplace(const StagedReplace&) = delete;
  StagedReplace& operator=(const StagedReplace&) = delete;

  bool prepare(const QString& path, QByteArrayView bytes, QString* error, const ReplaceOptions& options = {});
  bool commit(QString* error);
  bool rollBack(QString* error);
  void finish();
  bool existed() const { return existed_; }
  bool committed() const { return committed_; }

 private:
  QString path_;
  QByteArray target_, folder_, temp_, keep_;
  bool existed_ = false, regular_ = false, committed_ = false;
};

// Gives a regular file that has no other name a second one, `newName` (a
// hard link, made only where no file is), and flushes the new name's folder
// to the disk. 1: done. 0: not possible here (the file is a link or has
// other names, the file system has no hard links, the names are on two
// file systems); nothing made. -1: a step failed (*error says which and
// why); nothing made. A save keeps the old content this way without copying
// it: the replace gives the file's name a new file and leaves the old one to
// the second name alone.
int LinkSoleName(const QString& path, const QString& newName, QString* error);

// Whether the regular file at `path` holds exactly these bytes, read a piece
// at a time up to the first difference; false when it cannot be read.
bool SameContent(const QString& path, QByteArrayView bytes);

// Whether the two paths name the same file (the same device and inode).
bool SameFile(const QString& a, const QString& b);

// Why a file whose mode allows no writing is not saved, and how to change that.
QString ReadOnlyMessage(const QString& path, unsigned mode);

// The temporary files a replace makes beside the file: "<name>.saving-XXXXXXXX"
// (the new content being written) and "<name>.keep-XXXXXXXX" (a second name
// of the old content until the new one is in place), X a lowercase letter or
// digit. A run that is killed can leave them behind.
bool IsStrayName(const QString& fileName, const QString& ofFile = QString());
// The stray temporary files in a folder (names only), of one file or of all.
QStringList StrayFiles(const QString& folder, const QString& ofFile = QString());
// Removes the strays of one file that the process can tell are its own:
// regular files with the name pattern, owned by the process's user (any, for
// root). Call only while holding the folder's save lock: then no save is
// still writing them. Each removed name goes to *removed, each failure to *failures.
void RemoveStrays(const QString& folder, const QString& ofFile, QStringList* removed, QStringList* failures);

// An advisory lock (flock) on a folder, taken by every save of a file in it,
// so that two saves never interleave. Waits up to `waitMs` for another
// holder; a file system without locks is saved without one.
class FolderLock {
 public:
  explicit FolderLock(const QString& folder, int waitMs = 5000);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool held() const { return error_.isEmpty(); }
  QString error() const { return error_; }

 private:
  int fd_ = -1;
  QString error_;
};

// The system's reason for an errno value, for messages: Chinese text with the
// system's own words beside it, "磁盘已满（No space left on device）".
QString SystemReason(int errnoValue);

}  // namespace v3::disk

namespace v3 {

// The path of a data file in the folder. The game's own platform matches
// file names without regard to case, so an existing file whose name differs
// only in case is found too; otherwise the path with the name as given.
QString DataFilePath(const QString& folder, const QString& fileName);
bool DataFileExists(const QString& folder, const QString& fileName);

}  // namespace v3
