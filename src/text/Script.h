#pragma once
#include <QString>

namespace v3 {

// The two ways Chinese is written that the game ships in.
enum class Script { Simplified, Traditional };

// The interface language of a system by its locale id: Traditional on a
// Traditional Chinese system (1028), Simplified on every other.
Script InterfaceScript(int localeId);

// The script a system writes the platform's own text fields in: Simplified
// on a Simplified Chinese system (2052), Traditional (Big5) on every other.
Script SystemTextScript(int localeId);

// The locale id a script stands for: 2052 or 1028.
int LocaleIdOf(Script script);

// The code page of the script: 936 (GBK) or 950 (Big5).
int CodePageOf(Script script);

// The language file of the script: "CHS.txt" or "CHT.txt".
QString LanguageFileName(Script script);

// The script whose language file has this name (without regard to case);
// false when it is neither.
bool ScriptOfLanguageFile(const QString& fileName, Script* script);

// A short name for messages and file names: "zh_CN" or "zh_TW".
QString ScriptLocaleName(Script script);

}  // namespace v3
