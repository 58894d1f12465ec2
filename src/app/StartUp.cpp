#include "app/StartUp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/Messages.h"
#include "app/UiFront.h"
#include "app/WelcomePage.h"
#include "storage/FileStore.h"
#include "text/Ini.h"
#include "text/Places.h"

namespace v3 {
namespace {

const QString kSection = QStringLiteral("Config");
const QString kKey = QStringLiteral("Path");
const QString kRecentSection = QStringLiteral("Recent");
const QString kTableKey = QStringLiteral("Table");
QString RecentKey(int i) { return QStringLiteral("Folder%1").arg(i); }

// Remembers the folder. A program folder that cannot be written does not
// stop the program, but the user learns that the choice is not kept.
void Remember(const QString& programFolder, Script script, const QString& folder, UiFront& front, QWidget* owner) {
  const QString config = ConfigFilePath(programFolder);
  QString error;
  if (!WriteIniValue(config, kSection, kKey, folder, &error))
    front.message(owner,
                  msg::Localised(script, QStringLiteral("无法保存设置：%1。下次启动时需要重新选择目录").arg(error)),
                  UiFront::Icon::Warning);
}

// The welcome page of start-up: a valid folder, or empty text when the user
// leaves the page (the program then ends).
QString PromptAtStart(const QString& programFolder, Script script, UiFront& front, QWidget* owner) {
  WelcomePage page(programFolder, script, front, owner);
  return page.exec() == QDialog::Accepted ? page.folder() : QString();
}

}  // namespace

QString ConfigFilePath(const QString& programFolder) {
  return QDir(ConfigFolder(programFolder)).filePath(QString::fromUtf16(kConfigFileName));
}

bool IsDataFolder(const QString& folder) { return DataFileExists(folder, QString::fromUtf16(kProbeFileName)); }

StartUpResult SettleDataFolder(const QString& programFolder, Script script, UiFront& front, QWidget* owner) {
  StartUpResult result;
  const QString config = ConfigFilePath(programFolder);
  if (QFileInfo(config).isFile()) {
    // A missing or empty entry becomes the program folder (written into the
    // file), which is then tested like any other folder.
    QString folder = ReadIniValue(kSection, kKey, programFolder, config);
    if (!IsDataFolder(folder)) {
      front.message(owner, msg::PathWrong(script), UiFront::Icon::None);
      folder = PromptAtStart(programFolder, script, front, owner);
      if (folder.isEmpty()) return result;
      Remember(programFolder, script, folder, front, owner);
    }
    result.dataFolder = folder;
  } else {
    const QString folder = PromptAtStart(programFolder, script, front, owner);
    if (folder.isEmpty()) return result;
    Remember(programFolder, script, folder, front, owner);
    result.dataFolder = folder;
  }
  result.proceed = true;
  return result;
}

QString ChangeDataFolder(const QString& programFolder, Script script, const QString& current, UiFront& front,
                         QWidget* owner) {
  const QString folder = front.chooseFolder(owner, msg::ChooseFolder(script), current);
  if (folder.isEmpty()) return current;
  return UseDataFolder(programFolder, script, folder, current, front, owner);
}

QString UseDataFolder(const QString& programFolder, Script script, const QString& folder, const QString& current,
                      UiFront& front, QWidget* owner) {
  if (!IsDataFolder(folder)) {
    front.message(owner, msg::FileNotFound(script), UiFront::Icon::None);
    return current;
  }
  Remember(programFolder, script, folder, front, owner);
  return folder;
}

QStringList RecentDataFolders(const QString& programFolder) {
  QFile file(ConfigFilePath(programFolder));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray content = file.readAll();
  QStringList folders;
  for (int i = 1; i <= kRecentFolderCount; ++i) {
    const auto value = ini::FindValue(content, kRecentSection.toUtf8(), RecentKey(i).toUtf8());
    if (!value || value->isEmpty()) continue;
    const QString folder = QString::fromUtf8(*value);
    if (!folders.contains(folder)) folders << folder;
  }
  return folders;
}

void RememberRecentDataFolder(const QString& programFolder, const QString& folder) {
  if (folder.isEmpty()) return;
  QStringList folders = RecentDataFolders(programFolder);
  if (!folders.isEmpty() && folders.first() == folder) return;  // nothing to write
  folders.removeAll(folder);
  folders.prepend(folder);
  const QString config = ConfigFilePath(programFolder);
  for (int i = 1; i <= kRecentFolderCount; ++i)
    if (!WriteIniValue(config, kRecentSection, RecentKey(i), i <= folders.size() ? folders[i - 1] : QString())) return;
}

QString LastOpenTable(const QString& programFolder) {
  QFile file(ConfigFilePath(programFolder));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const auto value = ini::FindValue(file.readAll(), kRecentSection.toUtf8(), kTableKey.toUtf8());
  return value ? QString::fromUtf8(*value) : QString();
}

void RememberLastOpenTable(const QString& programFolder, const QString& fileName) {
  if (fileName.isEmpty() || LastOpenTable(programFolder) == fileName) return;  // nothing to write
  WriteIniValue(ConfigFilePath(programFolder), kRecentSection, kTableKey, fileName);
}

}  // namespace v3
