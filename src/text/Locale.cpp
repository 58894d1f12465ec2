#include "text/Locale.h"

#include <QByteArray>
#include <QHash>
#include <cstring>

namespace v3 {
namespace {

QString environmentLocaleName() {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QByteArray value = qgetenv(var);
    if (!value.isEmpty()) return QString::fromLatin1(value);
  }
  return QString();
}
}  // namespace

int LocaleIdFromName(const QString& posixName) {
  // "zh_TW.UTF-8@euro" -> "zh_TW"
  QString name = posixName;
  const qsizetype cut = name.indexOf(QLatin1Char('.'));
  if (cut >= 0) name.truncate(cut);
  const qsizetype at = name.indexOf('@');
  if (at >= 0) name.truncate(at);
  name.replace('-', '_');
  static const QHash<QString, int> ids = {
      {"zh_CN", 2052}, {"zh_SG", 2052}, {"zh_TW", 1028}, {"zh_HK", 3076}, {"zh_MO", 5124},
      {"en_US", 1033}, {"en_GB", 2057}, {"en_AU", 3081}, {"en_CA", 4105}, {"ja_JP", 1041},
      {"ko_KR", 1042}, {"de_DE", 1031}, {"fr_FR", 1036}, {"es_ES", 3082}, {"it_IT", 1040},
      {"pt_BR", 1046}, {"ru_RU", 1049}, {"nl_NL", 1043}, {"sv_SE", 1053},
  };
  const auto it = ids.constFind(name);
  if (it != ids.constEnd()) return it.value();
  if (name == "zh") return 2052;
  return 1033;
}

int SystemLocaleNumber() { return LocaleIdFromName(environmentLocaleName()); }

bool TakeLocaleOption(int& argc, char** argv, int* localeId, QString* error) {
  int out = 1;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const char* value = nullptr;
    if (std::strcmp(arg, "--locale") == 0) {
      if (i + 1 >= argc) {
        if (error) *error = QStringLiteral("--locale needs a number");
        return false;
      }
      value = argv[++i];
    } else if (std::strncmp(arg, "--locale=", 9) == 0) {
      value = arg + 9;
    } else {
      argv[out++] = argv[i];
      continue;
    }
    bool ok = false;
    const int id = QByteArray(value).toInt(&ok);
    if (!ok || id <= 0) {
      if (error)
        *error = QStringLiteral("--locale needs a positive number, not \"%1\"").arg(QString::fromLocal8Bit(value));
      return false;
    }
    *localeId = id;
  }
  argc = out;
  argv[argc] = nullptr;
  return true;
}

}  // namespace v3
