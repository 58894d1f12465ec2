#pragma once
#include <QString>

#include "text/Script.h"

namespace v3 {

// The system default locale identifier as Windows numbers it: 2052 for a
// Simplified Chinese system, 1028 for a Traditional one, others as they are.
// It comes from the environment's locale (LC_ALL, LC_MESSAGES, LANG) unless
// an override was set (the --locale option of both programs).
int SystemLocaleNumber();
QString SystemLocaleId();  // the same number as decimal text

void SetSystemLocaleOverride(int id);  // 0 clears the override

// Windows locale id for a POSIX locale name such as "zh_TW.UTF-8".
int LocaleIdFromName(const QString& posixName);

// Takes a "--locale N" or "--locale=N" option out of argv (both programs use it).
// Returns false with a message when the value is not a number.
bool TakeLocaleOption(int& argc, char** argv, QString* error);

}  // namespace v3
