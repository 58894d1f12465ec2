#include "tools/Csv.h"

#include <utility>

#include "text/Convert.h"

namespace v3 {

QString CsvLineText(const QStringList& fields, QChar delimiter) {
  QString line;
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i) line += delimiter;
    const QString& f = fields[i];
    // A field that starts with U+FEFF is quoted too: at the start of the
    // text it would read as a byte order mark and be dropped.
    if (f.contains(delimiter) || f.contains(u'"') || f.contains(u'\n') || f.contains(u'\r') ||
        f.startsWith(QChar(0xFEFF))) {
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

bool CsvReader::refuse(int line, const QString& reason) {
  badLine_ = line;
  reason_ = reason;
  done_ = true;
  return false;
}

bool CsvReader::endRecord() {
  record_.append(std::exchange(field_, QString()));
  fieldStarted_ = afterQuote_ = false;
  const int start = recordLine_;
  recordLine_ = line_;
  // The next record most likely has as many fields: room for them at once
  // (the sink may take the record's list away).
  const qsizetype fields = record_.size();
  if (!sink_(record_, start)) {
    stopped_ = done_ = true;
    return false;
  }
  record_.clear();
  record_.reserve(fields);
  return true;
}

bool CsvReader::feed(QStringView text) {
  if (done_) return false;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (afterCr_) {
      afterCr_ = false;
      if (c == u'\n') continue;
    }
    if (quoteInQuoted_) {
      quoteInQuoted_ = false;
      if (c == u'"') {
        field_ += u'"';
        continue;
      }
      quoted_ = false;
      afterQuote_ = true;
    }
    if (quoted_) {
      // The run up to the next quote in one go.
      qsizetype end = i;
      while (end < n && text[end] != u'"') {
        if (text[end] == u'\n') ++line_;
        ++end;
      }
      field_ += text.sliced(i, end - i);
      if (end < n) quoteInQuoted_ = true;
      i = end;
      continue;
    }
    if (c == delimiter_) {
      record_.append(std::exchange(field_, QString()));
      fieldStarted_ = afterQuote_ = false;
    } else if (c == u'\r' || c == u'\n') {
      afterCr_ = c == u'\r';
      ++line_;
      if (!endRecord()) return false;
    } else if (c == u'"' && !fieldStarted_) {
      quoted_ = fieldStarted_ = true;
    } else if (afterQuote_) {
      return refuse(line_, QStringLiteral("text after a closing quote"));
    } else {
      // The run of plain characters in one go. A quote inside an unquoted
      // field stands for itself, as spreadsheet programs and Python's csv
      // module read it.
      qsizetype end = i + 1;
      while (end < n) {
        const QChar d = text[end];
        if (d == delimiter_ || d == u'\r' || d == u'\n') break;
        ++end;
      }
      const QStringView run = text.sliced(i, end - i);
      std::optional<QString> number;
      if (field_.isEmpty() && (number = SharedIntegerText(run)))
        field_ = *number;
      else
        field_ += run;
      fieldStarted_ = true;
      i = end - 1;
    }
  }
  return true;
}

bool CsvReader::finish() {
  if (done_) return false;
  if (quoteInQuoted_) {
    quoteInQuoted_ = false;
    quoted_ = false;
    afterQuote_ = true;
  }
  if (quoted_) return refuse(recordLine_, QStringLiteral("a quoted field is not closed"));
  if ((fieldStarted_ || !record_.isEmpty()) && !endRecord()) return false;
  done_ = true;
  return true;
}

bool ParseCsv(const QByteArray& utf8, std::vector<QStringList>* records, int* badLine, QString* reason) {
  return ParseCsvText(QString::fromUtf8(utf8), records, badLine, reason);
}

bool ParseCsvText(const QString& text, std::vector<QStringList>* records, int* badLine, QString* reason,
                  std::vector<int>* recordLines) {
  records->clear();
  if (recordLines) recordLines->clear();
  CsvReader reader([&](QStringList& record, int line) {
    records->push_back(std::move(record));
    if (recordLines) recordLines->push_back(line);
    return true;
  });
  if (reader.feed(text) && reader.finish()) return true;
  *badLine = reader.badLine();
  *reason = reader.reason();
  return false;
}

}  // namespace v3
