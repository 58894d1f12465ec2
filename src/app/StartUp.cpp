#include "app/StartUp.h"

#include <QDir>
#include <QFileInfo>

#include "app/Messages.h"
#include "app/UiFront.h"
#include "storage/FileStore.h"
#include "text/Ini.h"
#include "text/Places.h"

namespace v3 {
namespace {

const QString kSection = QStringLiteral("Config");
const QString kKey = QStringLiteral("Path");

// Remembers the folder. A program folder that cannot be written does not
// stop the program, but the user learns that the choice is not kept.
void Remember(const QString& programFolder, const QString& languageCode, const QString& folder, UiFront& front,
              QWidget* owner) {
  const QString config = ConfigFilePath(programFolder);
  QString error;
  if (!WriteIniValue(config, kSection, kKey, folder, &error))
    front.message(owner,
                  msg::Localised(languageCode, QStringLiteral("无法保存设置：%1。下次启动时需要重新选择目录").arg(error)),
                  UiFront::Icon::Warning);
}

// The folder prompt of start-up: a valid folder, or empty text when the
// program has to end (cancelled, or the folder lacks CDCase.dat).
QString PromptAtStart(const QString& languageCode, UiFront& front, QWidget* owner) {
  const QString folder = front.chooseFolder(owner, msg::ChooseFolder(languageCode));
  if (folder.isEmpty()) return QString();
  if (!IsDataFolder(folder)) {
    front.message(owner, msg::FileNotFound(languageCode), UiFront::Icon::None);
    return QString();
  }
  return folder;
}

}  // namespace

QString ConfigFilePath(const QString& programFolder) {
  return QDir(ConfigFolder(programFolder)).filePath(QString::fromUtf16(kConfigFileName));
}

bool IsDataFolder(const QString& folder) { return DataFileExists(folder, QString::fromUtf16(kProbeFileName)); }

StartUpResult SettleDataFolder(const QString& programFolder, const QString& languageCode, UiFront& front,
                               QWidget* owner) {
  StartUpResult result;
  const QString config = ConfigFilePath(programFolder);
  if (QFileInfo(config).isFile()) {
    // A missing or empty entry becomes the program folder (written into the
    // file), which is then tested like any other folder.
    QString folder = ReadIniValue(kSection, kKey, programFolder, config);
    if (!IsDataFolder(folder)) {
      front.message(owner, msg::PathWrong(languageCode), UiFront::Icon::None);
      folder = PromptAtStart(languageCode, front, owner);
      if (folder.isEmpty()) return result;
      Remember(programFolder, languageCode, folder, front, owner);
    }
    result.dataFolder = folder;
  } else {
    const QString folder = PromptAtStart(languageCode, front, owner);
    if (folder.isEmpty()) return result;
    Remember(programFolder, languageCode, folder, front, owner);
    result.dataFolder = folder;
  }
  result.proceed = true;
  return result;
}

QString ChangeDataFolder(const QString& programFolder, const QString& languageCode, const QString& current,
                         UiFront& front, QWidget* owner) {
  const QString folder = front.chooseFolder(owner, msg::ChooseFolder(languageCode));
  if (folder.isEmpty()) return current;
  if (!IsDataFolder(folder)) {
    front.message(owner, msg::FileNotFound(languageCode), UiFront::Icon::None);
    return current;
  }
  Remember(programFolder, languageCode, folder, front, owner);
  return folder;
}

}  // namespace v3
