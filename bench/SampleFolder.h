#pragma once
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include "tools/Sample.h"

namespace v3bench {

// A sample data folder of 32767 records a table (the most a table holds),
// written once on first use and removed when the program ends.
inline const QString& SampleFolder() {
  struct Folder {
    QTemporaryDir dir;
    Folder() {
      QString error;
      if (!v3::WriteSampleFolder(dir.path(), 1, 32767, &error)) qFatal("%s", qPrintable(error));
    }
  };
  static Folder f;
  static const QString path = f.dir.path();
  return path;
}

}  // namespace v3bench
