#include "app/QtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace v3 {

bool InstallQtTranslations(Script script) {
  static QTranslator* installed = nullptr;
  if (installed) {
    QCoreApplication::removeTranslator(installed);
    delete installed;
    installed = nullptr;
  }
  auto translator = new QTranslator(QCoreApplication::instance());
  const QString name = script == Script::Traditional ? QStringLiteral("qtbase_zh_TW") : QStringLiteral("qtbase_zh_CN");
  if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  installed = translator;
  return true;
}

}  // namespace v3
