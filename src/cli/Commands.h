#pragma once
// What the commands of vantaro3-cli share: the context of the run (chosen
// once from the system locale), the checks of their arguments, and the
// commands themselves, which main() lists with their options and help.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

#include "CommandLine.h"
#include "model/TableDocument.h"
#include "storage/SafeSave.h"
#include "text/Language.h"
#include "text/Script.h"
#include "tools/CsvCells.h"
#include "tools/ToolTable.h"

namespace v3cli {

// What every command reads and writes with, chosen once from the system
// locale before the command runs: the language file the headers and column
// names come from (the one of the locale's script), and the script of the
// system the game runs on, which decides how its text fields are read and
// written (see CodecContext).
struct Context {
  v3::LanguageFile texts;
  v3::Script systemScript = v3::Script::Traditional;
};
Context& context();
v3::LanguageFile& headerTexts();
v3::Script systemScript();

// What a save went through with but the user should know.
void warn(const QStringList& notices);
// Saves keep as many earlier versions as Config.ini beside the program says.
int historyDepth();
// The data folder as the commands that save a table open it.
v3::DataFolder openFolder(const QString& folder);
v3::SaveFileOptions saveOptions(const v3::FileStamp* expected = nullptr);
QString shown(const QString& path);  // a path as the system writes it

// A data folder: one that is there, can be read, and holds at least one of
// the game's files. kSuccess, or kTrouble with the reason told.
int dataFolder(const QString& folder);
int noSuchTable(const QString& fileName, const QString& folder);
bool findTable(const Invocation& in, const QString& name, v3::ToolTable* t, int* status);
int reportSame(const QString& fileName, const QByteArray& bytes, const QByteArray& saved, int records);
int reportSame(const QString& fileName, qint64 fileSize, const v3::ComparingSink& saved, int records);
bool csvOptions(const Invocation& in, v3::CsvOptions* options, int* status);
// Header lines that an import skips: the table's header in both scripts.
std::vector<QStringList> knownHeaders(const v3::ToolTable& t);

int cmdExport(const Invocation& in);
int cmdImport(const Invocation& in);
int cmdCheck(const Invocation& in);
int cmdDiff(const Invocation& in);
int cmdLint(const Invocation& in);
int cmdBatch(const Invocation& in);
int cmdApply(const Invocation& in);
int cmdBackups(const Invocation& in);
int cmdRestore(const Invocation& in);
int cmdSample(const Invocation& in);
int cmdTables(const Invocation& in);

}  // namespace v3cli
