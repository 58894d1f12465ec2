#pragma once
#include <QString>

#include <memory>

#include "app/Dialogs.h"

namespace v3 {

// The dialogs the program has; they find Config.ini and the language file in
// the program folder.
std::unique_ptr<DialogFactory> MakeBuiltInDialogs(const QString& programFolder);

}  // namespace v3
