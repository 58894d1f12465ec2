#include "app/Texts.h"

#include "app/FormTexts.h"
#include "text/Language.h"

namespace v3 {

void SelectLanguage(const QString& languageCode, const QString& programFolder) {
  SelectLanguageFile(languageCode, LanguageFolder(programFolder));
}

void ApplyWindowTexts(QWidget* window) { ApplyFormTexts(window); }

QStringList GridHeaderTexts(const QString& section, int fieldCount) { return HeaderTexts(section, fieldCount); }

}  // namespace v3
