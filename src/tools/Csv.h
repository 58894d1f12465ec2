#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <vector>

namespace v3 {

// The bytes a UTF-8 byte order mark is made of.
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// CSV as RFC 4180 has it: fields holding the delimiter, a quote or a line
// break are quoted, quotes doubled; records end with CRLF.
QString CsvLineText(const QStringList& fields, QChar delimiter = u',');
QByteArray CsvLine(const QStringList& fields);  // the same in UTF-8

// Reads CSV text handed over in pieces of any size (CRLF or LF line ends; a
// final line end is optional), handing each record on as soon as its line
// ends, so that a caller can stop without the rest being read. A record
// that continues past a piece, a CRLF or a doubled quote split between two
// pieces, read as they would in one piece.
class CsvReader {
 public:
  // Receives each record and the 1-based line it starts on; returns false
  // to stop the reading.
  using RecordSink = std::function<bool(QStringList& record, int line)>;
  explicit CsvReader(RecordSink sink, QChar delimiter = u',') : sink_(std::move(sink)), delimiter_(delimiter) {}

  // Reads the next piece. False when the text is malformed (badLine(),
  // reason()) or the sink stopped the reading; nothing more is read then.
  bool feed(QStringView text);
  // The end of the text: the last record without its line end, or the
  // refusal of a quoted field that is not closed.
  bool finish();

  bool stopped() const { return stopped_; }  // by the sink, not by malformed text
  int badLine() const { return badLine_; }
  const QString& reason() const { return reason_; }

 private:
  bool refuse(int line, const QString& reason);
  bool endRecord();

  RecordSink sink_;
  QChar delimiter_;
  QStringList record_;
  QString field_;
  bool quoted_ = false, fieldStarted_ = false, afterQuote_ = false;
  bool quoteInQuoted_ = false;  // a quote inside a quoted field: doubled, or its end
  bool afterCr_ = false;        // a record just ended at CR: an LF next is part of that line end
  bool done_ = false, stopped_ = false;
  int line_ = 1, recordLine_ = 1;
  int badLine_ = 0;
  QString reason_;
};

// Parses CSV text (CRLF or LF line ends; a final line end is optional).
// Returns false with the 1-based line number and a reason for malformed input.
// recordLines, when given, receives the line each record starts on.
bool ParseCsvText(const QString& text, std::vector<QStringList>* records, int* badLine, QString* reason,
                  std::vector<int>* recordLines = nullptr);
bool ParseCsv(const QByteArray& utf8, std::vector<QStringList>* records, int* badLine, QString* reason);

}  // namespace v3
