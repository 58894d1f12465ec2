#include "text/Translation.h"

#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace v3 {
namespace {

UiLanguage g_language = UiLanguage::Simplified;
std::unique_ptr<QTranslator> g_own, g_qt;

// "zh_TW.UTF-8@euro" -> language "zh", territory or script "TW".
void splitName(const QString& name, QString* language, QString* rest) {
  QString n = name;
  for (QChar stop : {u'.', u'@'}) {
    const qsizetype at = n.indexOf(stop);
    if (at >= 0) n.truncate(at);
  }
  n.replace(u'-', u'_');
  const qsizetype cut = n.indexOf(u'_');
  *language = (cut < 0 ? n : n.left(cut)).toLower();
  *rest = cut < 0 ? QString() : n.mid(cut + 1).toUpper();
}

std::unique_ptr<QTranslator> load(const QString& name, const QString& folder) {
  auto t = std::make_unique<QTranslator>();
  if (!t->load(name, folder)) return nullptr;
  QCoreApplication::installTranslator(t.get());
  return t;
}

}  // namespace

bool UiLanguageFromLocaleName(const QString& name, UiLanguage* language) {
  QString lang, rest;
  splitName(name, &lang, &rest);
  if (lang.isEmpty() || lang == QLatin1String("c") || lang == QLatin1String("posix")) return false;
  if (lang == QLatin1String("zh")) {
    const bool traditional = rest.startsWith(QLatin1String("TW")) || rest.startsWith(QLatin1String("HK")) ||
                             rest.startsWith(QLatin1String("MO")) || rest.startsWith(QLatin1String("HANT"));
    *language = traditional ? UiLanguage::Traditional : UiLanguage::Simplified;
  } else {
    *language = UiLanguage::English;
  }
  return true;
}

bool UiLanguageFromOption(const QString& value, UiLanguage* language) {
  QString lang, rest;
  splitName(value, &lang, &rest);
  if (lang != QLatin1String("zh") && lang != QLatin1String("en")) return false;
  return UiLanguageFromLocaleName(value, language);
}

UiLanguage UiLanguageFromLocaleId(int localeId) {
  switch (localeId) {
    case 2052:
    case 4100: return UiLanguage::Simplified;
    case 1028:
    case 3076:
    case 5124: return UiLanguage::Traditional;
    default: return UiLanguage::English;
  }
}

UiLanguage ChooseUiLanguage(const QString& option, const QString& environmentName, int localeId) {
  UiLanguage l = UiLanguage::English;
  if (!option.isEmpty() && UiLanguageFromOption(option, &l)) return l;
  if (UiLanguageFromLocaleName(environmentName, &l)) return l;
  if (localeId != 0) return UiLanguageFromLocaleId(localeId);
  return UiLanguage::English;
}

QString EnvironmentLocaleName() {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QByteArray value = qgetenv(var);
    if (!value.isEmpty()) return QString::fromLocal8Bit(value);
  }
  return QString();
}

QString UiLanguageName(UiLanguage language) {
  switch (language) {
    case UiLanguage::Simplified: return QStringLiteral("zh_CN");
    case UiLanguage::Traditional: return QStringLiteral("zh_TW");
    case UiLanguage::English: break;
  }
  return QStringLiteral("en");
}

void InstallUiLanguage(UiLanguage language) {
  for (auto* t : {&g_own, &g_qt})
    if (*t) {
      QCoreApplication::removeTranslator(t->get());
      t->reset();
    }
  g_language = language;
  const QString name = UiLanguageName(language);
  g_own = load(QStringLiteral("vantaro3_") + name, QStringLiteral(":/i18n"));
  if (language != UiLanguage::English)
    g_qt = load(QStringLiteral("qtbase_") + name, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

UiLanguage CurrentUiLanguage() { return g_language; }

}  // namespace v3
