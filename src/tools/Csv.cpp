#include "tools/Csv.h"

namespace v3 {

QByteArray CsvLine(const QStringList& fields) {
  QByteArray line;
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i) line += ',';
    const QByteArray f = fields[i].toUtf8();
    if (f.contains(',') || f.contains('"') || f.contains('\n') || f.contains('\r')) {
      QByteArray q = f;
      q.replace("\"", "\"\"");
      line += '"' + q + '"';
    } else {
      line += f;
    }
  }
  return line + "\r\n";
}

bool ParseCsv(const QByteArray& utf8, std::vector<QStringList>* records, int* badLine, QString* reason) {
  records->clear();
  const QString text = QString::fromUtf8(utf8);
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
