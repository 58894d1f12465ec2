#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace v3 {

// A table's records as CSV text and back: the one conversion that the
// command-line tool and the editor's File menu share.

// Where and why a CSV was refused.
struct CsvRefusal {
  int line = 0;  // 1-based line of the CSV text, 0 when the text as a whole
  QString reason;
  // "FILE: line N: reason" (or "FILE: reason").
  QString message(const QString& csvName) const;
};

// One CSV line per record, fields 1..K in order.
QByteArray RecordsToCsv(const std::vector<QStringList>& records);

// Parses CSV text into records of `fieldCount` fields each. `tableName`
// only names the table in a refusal. Returns false, filling *refusal, when the
// text is malformed or a line has another field count.
bool CsvToRecords(const QByteArray& csv, int fieldCount, const QString& tableName,
                  std::vector<QStringList>* records, CsvRefusal* refusal);

}  // namespace v3
