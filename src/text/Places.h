#pragma once
#include <QString>

namespace v3 {

// Where the program keeps Config.ini. A program run from its own folder (a
// build, an unpacked copy) keeps it beside itself. An installed one (its
// language files are in ../share/vantaro3, not beside it), or one whose folder
// it cannot write, keeps it in the user's configuration folder
// ($XDG_CONFIG_HOME/vantaro3, made when missing). A Config.ini that is beside
// the program and writable is used wherever the program is.
QString ConfigFolder(const QString& programFolder);

}  // namespace v3
