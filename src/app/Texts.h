#pragma once
#include <QString>
#include <QStringList>

#include "text/Language.h"
#include "text/Script.h"

class QWidget;

namespace v3 {

// Where the windows get their texts from the language file beside the
// program. The shell calls these in two steps only: once when a window
// loads (its captions) and once after a table is opened or reloaded (the
// header row).

// The interface's language file, which every window of the editor takes its
// captions from. The main window chooses it when it starts (CHS.txt or
// CHT.txt for its script in the program's language folder); nothing else
// changes it. None until then.
const LanguageFile& InterfaceLanguage();
void SetInterfaceLanguage(const LanguageFile& file);
// The file of the script in the language folder of the program.
LanguageFile ProgramLanguageFile(Script script, const QString& programFolder);

// Replaces the window's design texts (caption, buttons, labels, menu
// entries, frames) by the interface language file's, keyed by their object names.
void ApplyWindowTexts(QWidget* window);

}  // namespace v3
