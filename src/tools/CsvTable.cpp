#include "tools/CsvTable.h"

#include "tools/Csv.h"

namespace v3 {

QString CsvRefusal::message(const QString& csvName) const {
  if (line <= 0) return QStringLiteral("%1: %2").arg(csvName, reason);
  return QStringLiteral("%1: line %2: %3").arg(csvName).arg(line).arg(reason);
}

namespace {

QString csvCell(QString cell) {
  // CSV never carries NUL characters: a code's trailing zero bytes are dropped
  // (the save pads with zeros again).
  cell.remove(QChar(u'\0'));
  return cell;
}

}  // namespace

QByteArray RecordsToCsv(const std::vector<QStringList>& records) {
  QByteArray text;
  for (const QStringList& r : records) {
    QStringList cells;
    cells.reserve(r.size());
    for (const QString& c : r) cells << csvCell(c);
    text += CsvLine(cells);
  }
  return text;
}

bool CsvToRecords(const QByteArray& csv, int fieldCount, const QString& tableName,
                  std::vector<QStringList>* records, CsvRefusal* refusal) {
  int badLine = 0;
  QString reason;
  if (!ParseCsv(csv, records, &badLine, &reason)) {
    *refusal = {badLine, reason};
    return false;
  }
  for (size_t i = 0; i < records->size(); ++i)
    if ((*records)[i].size() != fieldCount) {
      *refusal = {int(i + 1), QStringLiteral("%1 fields, %2 has %3 columns")
                                  .arg((*records)[i].size()).arg(tableName).arg(fieldCount)};
      records->clear();
      return false;
    }
  return true;
}

}  // namespace v3
