#pragma once
// The language of the program's own messages: Simplified or Traditional
// Chinese, or English. Messages are written once in the source (the lower
// layers' in Simplified Chinese, the command-line tool's in English) and
// translated through Qt's translation system; the compiled translations
// are resources of each program (":/i18n/vantaro3_<language>.qm").
//
// How to add a message: in the unit that words it, declare a translation
// context once and pass the text through its tr():
//
//   namespace { struct Texts { Q_DECLARE_TR_FUNCTIONS(Backups) }; }
//   ... Texts::tr("%1 has no earlier versions").arg(name)
//   ... Texts::tr("%n record(s) saved", nullptr, count)   // plural forms
//
// then run the build's update_translations target (lupdate) and fill in the
// new entries of translations/*.ts (Qt Linguist, or by hand).
#include <QCoreApplication>
#include <QString>

namespace v3 {

enum class UiLanguage { Simplified, Traditional, English };

// The language a locale or option name names: "zh_CN", "zh_SG", "zh" and
// "zh_Hans" Simplified; "zh_TW", "zh_HK", "zh_MO" and "zh_Hant" Traditional;
// any other language English. False for a name that names no language
// ("", "C", "POSIX"). Encoding and modifier ("zh_TW.UTF-8@x") do not count.
bool UiLanguageFromLocaleName(const QString& name, UiLanguage* language);

// What --lang accepts: zh_CN, zh_TW or en (and the other Chinese and
// English locale names above). False for anything else.
bool UiLanguageFromOption(const QString& value, UiLanguage* language);

// The language of a Windows locale id: 2052 and 4100 Simplified; 1028,
// 3076 and 5124 Traditional; any other English.
UiLanguage UiLanguageFromLocaleId(int localeId);

// The messages' language: the option when given (valid), else the
// environment's locale name (LC_ALL, then LC_MESSAGES, then LANG) when it
// names a language, else the locale id when one was given (0: none), else English.
UiLanguage ChooseUiLanguage(const QString& option, const QString& environmentName, int localeId);

// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty.
QString EnvironmentLocaleName();

// Installs the program's translations of `language` (and Qt's own, for
// its texts such as the command-line parser's) into the application.
// Until then messages come out as written in the source, and
// CurrentUiLanguage() is Simplified.
void InstallUiLanguage(UiLanguage language);
UiLanguage CurrentUiLanguage();

// "zh_CN", "zh_TW" or "en".
QString UiLanguageName(UiLanguage language);

}  // namespace v3
