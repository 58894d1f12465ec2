#include "app/Texts.h"

#include "app/FormTexts.h"

namespace v3 {
namespace {
LanguageFile& interfaceLanguage() {
  static LanguageFile file;
  return file;
}
}  // namespace

const LanguageFile& InterfaceLanguage() { return interfaceLanguage(); }
void SetInterfaceLanguage(const LanguageFile& file) { interfaceLanguage() = file; }

LanguageFile ProgramLanguageFile(Script script, const QString& programFolder) {
  return LanguageFile(script, LanguageFolder(programFolder));
}

void ApplyWindowTexts(QWidget* window) { ApplyFormTexts(window, InterfaceLanguage()); }

}  // namespace v3
