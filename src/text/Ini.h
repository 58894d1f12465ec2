#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace v3 {

// INI files with the everyday behaviour of the Windows private-profile
// functions: section and key names match without regard to (ASCII) case,
// blanks around keys and values are trimmed, one pair of enclosing quotes is
// removed, lines starting with ';' are comments, the first of duplicate keys
// wins. Works on raw bytes; callers decode values in the file's encoding.
namespace ini {

std::optional<QByteArray> FindValue(const QByteArray& content, QByteArrayView section, QByteArrayView key);

// Returns the content with the key set: only that key's line changes; a missing
// section is appended at the end, a missing key at the end of its section.
QByteArray SetValue(const QByteArray& content, QByteArrayView section, QByteArrayView key, QByteArrayView value);

// Cuts text so that its UTF-8 form has at most maxBytes bytes, at a character boundary.
QString CutUtf8(const QString& text, int maxBytes);

}  // namespace ini

// Config.ini and other UTF-8 INI files.
// Returns the value (at most 254 bytes, cut at a character boundary). When
// the file, section or key is missing, or the value is empty, writes the
// default as the key's value (creating what is needed) and returns it. A file
// that exists but cannot be read gives the default and is left as it is.
QString ReadIniValue(const QString& section, const QString& key, const QString& defaultValue, const QString& file);

// Writes the value under the key, creating file, section and key as needed;
// the file is replaced atomically. Returns false, with the reason, when the
// file cannot be read or written; it then keeps its bytes.
bool WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value,
                   QString* error = nullptr);

}  // namespace v3
