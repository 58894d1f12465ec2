#pragma once
#include <QString>
#include <QStringList>

class QWidget;

namespace v3 {

// Where the windows get their texts from the language file beside the
// program. The shell calls these in two steps only: once when a window
// loads (its captions) and once after a table is opened or reloaded (the
// header row).

// Chooses CHS.txt or CHT.txt for the interface language; once, at start-up.
void SelectLanguage(const QString& languageCode, const QString& programFolder);

// Replaces the window's design texts (caption, buttons, labels, menu
// entries, frames) by the language file's, keyed by their object names.
void ApplyWindowTexts(QWidget* window);

// The header texts of columns 1..fieldCount from the section named after
// the open table; empty texts where the file has none.
QStringList GridHeaderTexts(const QString& section, int fieldCount);

}  // namespace v3
