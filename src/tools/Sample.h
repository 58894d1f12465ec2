#pragma once
#include <QString>
#include <QStringList>

#include "tables/SampleContext.h"

namespace v3 {

// Writes a complete data folder: every table that the program can load and
// save, each with texts and values that survive a load and a save byte for byte.
bool WriteSampleFolder(const QString& folder, unsigned seed, int records, QString* error);
// The files WriteSampleFolder writes.
QStringList SampleFileNames();

}  // namespace v3
