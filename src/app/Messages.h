#pragma once
#include <QString>

namespace v3 {

// The program's own messages, in the interface language: Simplified for
// LanguageCode "1", Traditional for "2".
namespace msg {

// Messages whose two forms are fixed texts.
QString PathWrong(const QString& languageCode);      // Config.ini names no data folder
QString FileNotFound(const QString& languageCode);   // the chosen folder lacks CDCase.dat
QString ChooseFolder(const QString& languageCode);   // the folder picker's prompt
QString SelectedCount(const QString& languageCode, int count);  // Label1
// The find dialog's not-found message goes by the system locale: empty
// text (no message) for any locale but 2052 and 1028.
QString NotFoundForLocale(int localeId);

// Any other message: written in Simplified, shown in Traditional for "2".
QString Localised(const QString& languageCode, const QString& simplified);

}  // namespace msg

// The title and version the about box shows.
inline constexpr char16_t kAboutText[] = u"Vantaro3 DataEditer " V3_VERSION;

}  // namespace v3
