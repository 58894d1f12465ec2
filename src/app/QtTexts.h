#pragma once
#include <QString>

namespace v3 {

// Qt's own texts (message-box buttons, the folder picker, the context menus
// of text boxes) in the interface language: Simplified for LanguageCode "1",
// Traditional for "2". Installed before the first window is made; a second
// call replaces the first. False when Qt's translations are not installed.
bool InstallQtTranslations(const QString& languageCode);

}  // namespace v3
