#pragma once
#include <QString>
#include <QStringList>

#include "text/Language.h"
#include "text/Script.h"

class QWidget;

namespace v3 {

// The interface's language file, which every window of the editor takes its
// captions from: the main window chooses it when it starts (CHS.txt or
// CHT.txt for its script in the program's language folder) and passes it to
// the dialogs it opens (DialogContext). This is the file of the script in
// the language folder of the program.
LanguageFile ProgramLanguageFile(Script script, const QString& programFolder);

}  // namespace v3
