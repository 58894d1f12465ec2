#pragma once
#include <QString>
#include <QStringList>

#include "text/Script.h"

class QWidget;

namespace v3 {

class UiFront;

// The file in the program folder that remembers the data folder.
inline constexpr char16_t kConfigFileName[] = u"Config.ini";
// The one file whose presence makes a folder the game's data folder.
inline constexpr char16_t kProbeFileName[] = u"CDCase.dat";

QString ConfigFilePath(const QString& programFolder);
bool IsDataFolder(const QString& folder);

struct StartUpResult {
  bool proceed = false;  // false: the program ends, its window never shown
  QString dataFolder;
};

// Settles the data folder before the main window is shown: Config.ini's
// entry when it names a folder holding CDCase.dat, otherwise the folder the
// user settles on in the welcome page (picked, a new sample folder, or a
// recent one; Config.ini then remembers it). Leaving the welcome page ends
// the program.
StartUpResult SettleDataFolder(const QString& programFolder, Script script, UiFront& front, QWidget* owner);

// The set-data-folder command: the picked folder when it holds CDCase.dat
// (and Config.ini remembers it); otherwise the current folder stays. The
// picker opens at the current folder.
QString ChangeDataFolder(const QString& programFolder, Script script, const QString& current, UiFront& front,
                         QWidget* owner);

// A folder chosen without the picker (from the recent folders): used as
// ChangeDataFolder uses a picked one.
QString UseDataFolder(const QString& programFolder, Script script, const QString& folder, const QString& current,
                      UiFront& front, QWidget* owner);

// The data folders opened last, newest first, at most kRecentFolderCount;
// kept in Config.ini's section Recent, beside the Path entry of Config.
inline constexpr int kRecentFolderCount = 5;
QStringList RecentDataFolders(const QString& programFolder);
// Puts the folder first in the list. A Config.ini that cannot be written
// only loses the list.
void RememberRecentDataFolder(const QString& programFolder, const QString& folder);

// The grid table opened last (its file name), kept in Config.ini's section
// Recent as Table; empty when none was. Remembering is quiet: a Config.ini
// that cannot be written only loses the entry.
QString LastOpenTable(const QString& programFolder);
void RememberLastOpenTable(const QString& programFolder, const QString& fileName);

}  // namespace v3
