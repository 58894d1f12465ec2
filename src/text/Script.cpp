#include "text/Script.h"

namespace v3 {

Script InterfaceScript(int localeId) { return localeId == 1028 ? Script::Traditional : Script::Simplified; }

Script SystemTextScript(int localeId) { return localeId == 2052 ? Script::Simplified : Script::Traditional; }

int LocaleIdOf(Script script) { return script == Script::Traditional ? 1028 : 2052; }

int CodePageOf(Script script) { return script == Script::Traditional ? 950 : 936; }

QString LanguageFileName(Script script) {
  return script == Script::Traditional ? QStringLiteral("CHT.txt") : QStringLiteral("CHS.txt");
}

bool ScriptOfLanguageFile(const QString& fileName, Script* script) {
  for (const Script s : {Script::Simplified, Script::Traditional}) {
    if (fileName.compare(LanguageFileName(s), Qt::CaseInsensitive) == 0) {
      if (script) *script = s;
      return true;
    }
  }
  return false;
}

QString ScriptLocaleName(Script script) {
  return script == Script::Traditional ? QStringLiteral("zh_TW") : QStringLiteral("zh_CN");
}

}  // namespace v3
