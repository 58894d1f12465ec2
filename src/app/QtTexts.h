#pragma once
#include <QString>

#include "text/Script.h"

namespace v3 {

// Qt's own texts (message-box buttons, the folder picker, the context menus
// of text boxes) in the interface language: Simplified or Traditional by
// the script. Installed before the first window is made; a second
// call replaces the first. False when Qt's translations are not installed.
bool InstallQtTranslations(Script script);

}  // namespace v3
