#pragma once
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "text/Script.h"

namespace v3 {

// The language file beside the program supplies every caption, every grid
// header and the entries of the fixed lists. It is an INI file:
//   [window name]   Caption=..., <control objectName>=...
//   [table file]    1=... K=...   (grid header texts)
//   [list name]     keys from 0 or 1 (fixed list entries)
// CHS.txt is GBK (code page 936) and CHT.txt Big5 (950), whatever the
// system's own code page. Without a file every caption keeps its design text.

// The folder that holds the language files for a program in programFolder:
// the program's own folder when CHS.txt or CHT.txt is there, otherwise
// ../share/vantaro3 beside it when they are there (an installed program),
// otherwise the program's folder.
QString LanguageFolder(const QString& programFolder);

// One language file: <folder>/CHS.txt (GBK) for Simplified, <folder>/CHT.txt
// (Big5) for Traditional, or none (every lookup gives its default). Copies
// share what was read, so passing one around costs nothing.
class LanguageFile {
 public:
  LanguageFile();  // none
  LanguageFile(Script script, const QString& folder);

  bool isNone() const;
  Script script() const;
  // Full path of the file; empty for none.
  QString path() const;
  QString folder() const;
  // The file of the other script (or this one) in the same folder; none for none.
  LanguageFile withScript(Script script) const;

  // The value under the key of the section, decoded in the file's encoding
  // and cut to its first 126 bytes at a character boundary. The default when
  // no file exists at path(), when section or key is missing, or when the
  // value is empty. The file is read again whenever its modification time
  // or size changes, so an edit takes effect on the next window or table opened.
  QString text(const QString& section, const QString& key, const QString& defaultText) const;

  // Entries of a fixed list: text(section, k, "") for k = firstKey..lastKey
  // in ascending order; a missing key gives an empty entry, so the count and
  // positions never depend on the file.
  QStringList list(const QString& section, int firstKey, int lastKey) const;

  // Header texts of grid columns 1..columnCount of the table whose caption
  // (file name) is given: text(caption, "1".., ""). Empty text where the
  // file has none.
  QStringList headers(const QString& caption, int columnCount) const;

  struct State;  // what was read; opaque

 private:
  std::shared_ptr<State> state_;
};

// The fixed lists that windows fill from the language file: the window's
// object name, the drop-down list's object name (elements of a control array
// named "Combo(2)"), the list's section and its key range.
struct FixedList {
  QString window;
  QString control;
  QString section;
  int firstKey;
  int lastKey;
};
const std::vector<FixedList>& FixedLists();

}  // namespace v3
