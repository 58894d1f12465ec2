#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

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

// Replaces the file with the bytes, or creates it. The bytes go to a new file
// beside it, which is written completely, flushed to the disk (fsync) and
// closed before it is renamed over the old name; the folder is flushed after
// the rename. On any failure the temporary file is removed and the old file
// keeps its bytes (also when the folder's flush fails after the rename: the
// old file is put back). A symbolic link is followed: its target is replaced.
bool Replace(const QString& path, QByteArrayView bytes, QString* error);

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
