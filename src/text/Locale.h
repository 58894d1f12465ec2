#pragma once
#include <QString>

#include "text/Script.h"

namespace v3 {

// The system default locale identifier as Windows numbers it: 2052 for a
// Simplified Chinese system, 1028 for a Traditional one, others as they are.
// It comes from the environment's locale (LC_ALL, LC_MESSAGES, LANG); the
// --locale option of both programs stands in for it, passed on from main().
int SystemLocaleNumber();

// Windows locale id for a POSIX locale name such as "zh_TW.UTF-8".
int LocaleIdFromName(const QString& posixName);

// Takes a "--locale N" or "--locale=N" option out of argv into *localeId
// (left as it is when there is none). Returns false with a message when the
// value is not a number.
bool TakeLocaleOption(int& argc, char** argv, int* localeId, QString* error);

}  // namespace v3
