#pragma once
#include <QString>

#include "text/Script.h"

namespace v3 {

// The program's own messages, in the interface language: Simplified for
// Script::Simplified, Traditional for Script::Traditional.
namespace msg {

// Messages whose two forms are fixed texts.
QString PathWrong(Script script);                 // Config.ini names no data folder
QString FileNotFound(Script script);              // the chosen folder lacks CDCase.dat
QString ChooseFolder(Script script);              // the folder picker's prompt
QString SelectedCount(Script script, int count);  // Label1
// The find dialog's not-found message goes by the system locale: empty
// text (no message) for any locale but 2052 and 1028.
QString NotFoundForLocale(int localeId);

// Any other message: written in Simplified, shown in Traditional for
// Script::Traditional; the text between quotes (“…”, 「…」, 『…』) is the
// user's or the file's own and stays as it is.
QString Localised(Script script, const QString& simplified);

}  // namespace msg

// The title and version the about box shows.
inline constexpr char16_t kAboutText[] = u"Vantaro3 DataEditer " V3_VERSION;

}  // namespace v3
