#pragma once
// Sample data folders for tests, each seed and size written once for the
// whole test program (a large one takes a while under the sanitizers) and
// copied into the folder a case works in.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "tools/Sample.h"

// The sample folder of the seed and size, its files copied into `folder`
// (made when missing). False with *error when it cannot be.
inline bool CopySampleFolder(const QString& folder, unsigned seed, int records, QString* error) {
  static QTemporaryDir samples;
  const QString sample = samples.filePath(QStringLiteral("%1-%2").arg(seed).arg(records));
  if (!QFileInfo::exists(sample) && !v3::WriteSampleFolder(sample, seed, records, error)) return false;
  QDir().mkpath(folder);
  for (const QString& f : QDir(sample).entryList(QDir::Files))
    if (!QFile::copy(sample + u'/' + f, folder + u'/' + f)) {
      *error = QStringLiteral("cannot copy %1 into %2").arg(f, folder);
      return false;
    }
  return true;
}
