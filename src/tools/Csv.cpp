#include "tools/Csv.h"

namespace v3 {

QString CsvLineText(const QStringList& fields) {
  QString line;
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i) line += u',';
    const QString& f = fields[i];
    // A field that starts with U+FEFF is quoted too: at the start of the
    // text it would read as a byte order mark and be dropped.
    if (f.contains(u',') || f.contains(u'"') || f.contains(u'\n') || f.contains(u'\r') || f.startsWith(QChar(0xFEFF))) {
      QString q = f;
      q.replace(QStringLiteral("\""), QStringLiteral("\"\""));
      line += u'"' + q + u'"';
    } else {
      line += f;
    }
  }
  return line + QStringLiteral("\r\n");
}

QByteArray CsvLine(const QStringList& fields) { return CsvLineText(fields).toUtf8(); }

bool ParseCsv(const QByteArray& utf8, std::vector<QStringList>* records, int* badLine, QString* reason) {
  return ParseCsvText(QString::fromUtf8(utf8), records, badLine, reason);
}

bool ParseCsvText(const QString& text, std::vector<QStringList>* records, int* badLine, QString* reason,
                  std::vector<int>* recordLines) {
  records->clear();
  if (recordLines) recordLines->clear();
  QStringList record;
  QString field;
  bool quoted = false, fieldStarted = false, afterQuote = false;
  int line = 1, recordLine = 1;
  auto endField = [&] {
    record << field;
    field.clear();
    fieldStarted = afterQuote = false;
  };
  auto endRecord = [&] {
    endField();
    records->push_back(record);
    if (recordLines) recordLines->push_back(recordLine);
    record.clear();
    recordLine = line;
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (quoted) {
      if (c == u'"') {
        if (i + 1 < text.size() && text[i + 1] == u'"') {
          field += u'"';
          ++i;
        } else {
          quoted = false;
          afterQuote = true;
        }
      } else {
        if (c == u'\n') ++line;
        field += c;
      }
      continue;
    }
    if (c == u',') {
      endField();
    } else if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      ++line;
      endRecord();
    } else if (c == u'"' && !fieldStarted) {
      quoted = fieldStarted = true;
    } else if (afterQuote) {
      *badLine = line;
      *reason = QStringLiteral("text after a closing quote");
      return false;
    } else if (c == u'"') {
      *badLine = line;
      *reason = QStringLiteral("a quote inside an unquoted field");
      return false;
    } else {
      field += c;
      fieldStarted = true;
    }
  }
  if (quoted) {
    *badLine = recordLine;
    *reason = QStringLiteral("a quoted field is not closed");
    return false;
  }
  if (fieldStarted || !record.isEmpty()) endRecord();
  return true;
}

}  // namespace v3
