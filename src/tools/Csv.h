#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace v3 {

// CSV as RFC 4180 has it: fields holding a comma, a quote or a line break are
// quoted, quotes doubled; records end with CRLF.
QString CsvLineText(const QStringList& fields);
QByteArray CsvLine(const QStringList& fields);  // the same in UTF-8

// Parses CSV text (CRLF or LF line ends; a final line end is optional).
// Returns false with the 1-based line number and a reason for malformed input.
// recordLines, when given, receives the line each record starts on.
bool ParseCsvText(const QString& text, std::vector<QStringList>* records, int* badLine, QString* reason,
                  std::vector<int>* recordLines = nullptr);
bool ParseCsv(const QByteArray& utf8, std::vector<QStringList>* records, int* badLine, QString* reason);

}  // namespace v3
