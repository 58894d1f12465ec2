#pragma once
#include <QtGlobal>

#include <functional>

namespace v3 {

// How work that may take long tells how far it is: called from where the
// work loops with what is done of the total (in any unit: bytes, records,
// tables); returning false asks the work to stop, leaving what it was
// working on as it was. The editor shows it as a progress dialog that can
// be cancelled; the command-line tool passes none.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Calls `progress` when there is one: whether the work goes on.
inline bool Report(const Progress& progress, qint64 done, qint64 total) { return !progress || progress(done, total); }

}  // namespace v3
