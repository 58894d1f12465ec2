// What the commands of vantaro3-cli share (see Commands.h).
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <cstdio>

#include <unistd.h>

#include "text/Language.h"
#include "tools/CsvImport.h"
#include "tools/ToolTable.h"
#include "model/TableDocument.h"
#include "text/Translation.h"
#include "text/Places.h"
#include "text/StrictCodec.h"
#include "CommandLine.h"
#include "storage/SafeSave.h"

#include "Commands.h"

using namespace v3;

namespace v3cli {

Context& context() {
  static Context c;
  return c;
}
LanguageFile& headerTexts() { return context().texts; }
Script systemScript() { return context().systemScript; }

// What a save went through with but the user should know.
void warn(const QStringList& notices) {
  for (const QString& n : notices) Err(Texts::tr("vantaro3-cli: warning: %1").arg(n));
}

// Saves keep as many earlier versions as Config.ini beside the program says.
int historyDepth() { return HistoryDepthSetting(ConfigFolder(QCoreApplication::applicationDirPath())); }

// The data folder as the commands that save a table open it: its documents
// are read with the system's script and saved with the history depth of the
// program's settings.
DataFolder openFolder(const QString& folder) {
  DataFolder data(folder, systemScript());
  data.setHistoryDepth(historyDepth());
  return data;
}

SaveFileOptions saveOptions(const FileStamp* expected) {
  SaveFileOptions o;
  o.expected = expected;
  o.historyDepth = historyDepth();
  return o;
}

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// A data folder: one that is there, can be read, and holds at least one of
// the game's files. kSuccess, or kTrouble with the reason told.
int dataFolder(const QString& folder) {
  const QFileInfo info(folder);
  if (!info.exists()) return Trouble(Texts::tr("no such folder: %1").arg(shown(folder)));
  if (!info.isDir()) return Trouble(Texts::tr("%1 is not a folder").arg(shown(folder)));
  if (!info.isReadable() || !info.isExecutable())
    return Trouble(Texts::tr("cannot read the folder %1").arg(shown(folder)));
  const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const ToolTable& t : AllToolTables())
    for (const QString& e : entries)
      if (e.compare(t.fileName(), Qt::CaseInsensitive) == 0) return kSuccess;
  return Trouble(Texts::tr("%1 holds none of the game's data files").arg(shown(folder)));
}

int noSuchTable(const QString& fileName, const QString& folder) {
  return Trouble(Texts::tr("%1: no such file in %2").arg(fileName, shown(folder)));
}

// A table given by name, any case; false with a usage error for a name no table has.
bool findTable(const Invocation& in, const QString& name, ToolTable* t, int* status) {
  if (FindToolTable(name, t, headerTexts())) return true;
  *status = in.usageError(Texts::tr("unknown table: %1 (see 'vantaro3-cli tables')").arg(name));
  return false;
}

// check's line for a table: whether a save would give back the file's bytes.
int reportSame(const QString& fileName, qint64 fileSize, const ComparingSink& saved, int records) {
  if (saved.same()) {
    Out(Texts::tr("%1: identical (%n record(s))\n", nullptr, records).arg(fileName).toUtf8());
    return kSuccess;
  }
  const qint64 at = saved.firstDifference();
  Out(Texts::tr("%1: differs at offset %2 (0x%3; file %4 bytes, saved %5 bytes)\n")
          .arg(fileName)
          .arg(at)
          .arg(at, 0, 16)
          .arg(fileSize)
          .arg(saved.size())
          .toUtf8());
  return kFound;
}

int reportSame(const QString& fileName, const QByteArray& bytes, const QByteArray& saved, int records) {
  ComparingSink compared(bytes);
  compared.appendArray(saved);
  return reportSame(fileName, bytes.size(), compared, records);
}

// --encoding, --delimiter, --spreadsheet-safe, --bom and --allow-empty as
// export and import take them.
bool csvOptions(const Invocation& in, CsvOptions* options, int* status) {
  if (in.isSet(QStringLiteral("encoding"))) {
    const QString value = in.value(QStringLiteral("encoding"));
    if (!TextEncodingFromName(value, &options->encoding)) {
      *status = in.usageError(Texts::tr("unknown encoding %1 (utf-8, gbk or big5)").arg(value));
      return false;
    }
  }
  if (in.isSet(QStringLiteral("delimiter"))) {
    const QString value = in.value(QStringLiteral("delimiter"));
    if (!CsvDelimiterFromName(value, &options->delimiter)) {
      *status = in.usageError(Texts::tr("unknown delimiter %1 (\",\", \";\" or tab)").arg(value));
      return false;
    }
  }
  options->spreadsheetSafe = in.isSet(QStringLiteral("spreadsheet-safe"));
  options->bom = in.isSet(QStringLiteral("bom"));
  options->allowEmpty = in.isSet(QStringLiteral("allow-empty"));
  if (options->bom && options->encoding != TextEncoding::Utf8) {
    *status = in.usageError(Texts::tr("--bom is for UTF-8 only"));
    return false;
  }
  return true;
}

// Header lines that an import skips: the table's header in both scripts.
std::vector<QStringList> knownHeaders(const ToolTable& t) {
  return HeaderLinesOfBothScripts(t.texts, [&t](const LanguageFile& file) {
    ToolTable in = t;
    in.texts = file;
    return in.header();
  });
}

}  // namespace v3cli
