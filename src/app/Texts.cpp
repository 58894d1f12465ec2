#include "app/Texts.h"

#include "app/FormTexts.h"

namespace v3 {

LanguageFile ProgramLanguageFile(Script script, const QString& programFolder) {
  return LanguageFile(script, LanguageFolder(programFolder));
}

}  // namespace v3
