#include "text/Places.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "text/Language.h"

namespace v3 {

QString ConfigFolder(const QString& programFolder) {
  const QFileInfo beside(QDir(programFolder).filePath(QStringLiteral("Config.ini")));
  if (beside.isFile() && beside.isWritable()) return programFolder;
  const bool installed = QDir(LanguageFolder(programFolder)) != QDir(programFolder);
  if (!installed && QFileInfo(programFolder).isWritable()) return programFolder;
  const QString user = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                           .filePath(QStringLiteral("vantaro3"));
  QDir().mkpath(user);
  return user;
}

}  // namespace v3
