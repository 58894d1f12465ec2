#include "tools/CsvImport.h"

#include <algorithm>

#include "text/Big5.h"
#include "tools/Csv.h"

namespace v3 {

namespace {

QStringList trimmed(const QStringList& cells) {
  QStringList t;
  t.reserve(cells.size());
  for (const QString& c : cells) t << c.trimmed();
  return t;
}

// The CSV is decoded and read a piece of about this many bytes at a time.
constexpr qsizetype kCsvPiece = 256 * 1024;

// Where the piece from `from` on ends: just after a line end, or where no
// line end comes soon, before a byte below 0x40 (no such byte is part of a
// character of several bytes in UTF-8, GBK or Big5); at the end of the
// bytes at the latest.
qsizetype pieceEnd(QByteArrayView bytes, qsizetype from) {
  if (bytes.size() - from <= kCsvPiece) return bytes.size();
  const QByteArrayView window = bytes.sliced(from, kCsvPiece);
  if (const qsizetype lf = window.lastIndexOf('\n'); lf >= 0) return from + lf + 1;
  for (qsizetype i = kCsvPiece - 1; i > 0; --i)
    if (uchar(window[i]) < 0x40) return from + i;
  // A piece of letters only: on to the next such byte.
  for (qsizetype i = from + kCsvPiece; i < bytes.size(); ++i)
    if (uchar(bytes[i]) < 0x40) return i;
  return bytes.size();
}

}  // namespace

ImportRowChecker::ImportRowChecker(int fieldCount, QString tableName, const CsvOptions& options, ImportedRows* out,
                                   CsvRefusal* refusal)
    : fieldCount_(fieldCount), tableName_(std::move(tableName)), options_(options), out_(out), refusal_(refusal) {}

bool ImportRowChecker::take(QStringList& record, int line) {
  bool blank = true;
  for (QString& c : record) {
    c = CsvUnprotectCell(c);
    blank = blank && c.isEmpty();
  }
  if (blank) {
    ++out_->blankRows;
    return true;
  }
  if (first_) {
    first_ = false;
    if (!options_.knownHeaders.empty()) {
      const QStringList cells = trimmed(record);
      for (const QStringList& h : options_.knownHeaders)
        if (trimmed(h) == cells) return true;  // a header line: skipped
    }
  }
  if (record.size() != fieldCount_) {
    *refusal_ = {line,
                 QStringLiteral("%1 fields, %2 has %3 columns").arg(record.size()).arg(tableName_).arg(fieldCount_)};
    return false;
  }
  if (out_->records.size() >= size_t(kMaxCsvRecords)) {
    *refusal_ = {line, QStringLiteral("记录过多：最多 %1 条").arg(kMaxCsvRecords)};
    return false;
  }
  for (QString& c : record) c = CsvUnescapeCell(c);
  out_->records.push_back(std::move(record));
  out_->lines.push_back(line);
  return true;
}

bool ImportRowChecker::finish() {
  if (out_->records.empty() && !options_.allowEmpty) {
    *refusal_ = {0, QStringLiteral("no records: importing it would empty %1").arg(tableName_), true};
    return false;
  }
  return true;
}

bool RowsToRecords(std::vector<ImportRow> rows, int fieldCount, const QString& tableName, const CsvOptions& options,
                   ImportedRows* out, CsvRefusal* refusal) {
  *out = {};
  ImportRowChecker checker(fieldCount, tableName, options, out, refusal);
  bool ok = true;
  for (ImportRow& row : rows)
    if (!(ok = checker.take(row.cells, row.line))) break;
  if (ok && checker.finish()) return true;
  *out = {};
  return false;
}

bool CsvToRecords(const QByteArray& csv, int fieldCount, const QString& tableName, const CsvOptions& options,
                  ImportedRows* out, CsvRefusal* refusal) {
  *out = {};
  QByteArrayView bytes(csv);
  if (bytes.startsWith(kUtf8Bom)) {
    if (options.encoding != TextEncoding::Utf8) {
      *refusal = {1, QStringLiteral("the file starts with a UTF-8 byte order mark, but %1 was asked for")
                         .arg(TextEncodingName(options.encoding))};
      return false;
    }
    bytes = bytes.sliced(3);
  }

  // Each record is checked as its line ends, and the reading stops at the
  // first refusal: nothing after it is decoded or read.
  ImportRowChecker checker(fieldCount, tableName, options, out, refusal);
  const QChar delimiter = options.delimiter.isNull() ? DetectCsvDelimiter(bytes, fieldCount) : options.delimiter;
  CsvReader reader([&](QStringList& record, int line) { return checker.take(record, line); }, delimiter);
  auto refused = [&] {
    if (!reader.stopped()) *refusal = {reader.badLine(), reader.reason()};
    *out = {};
    return false;
  };

  QString text;
  int lineEnds = 0;         // '\n' bytes before the piece
  qsizetype lineStart = 0;  // where the line the piece starts in starts
  for (qsizetype from = 0; from < bytes.size();) {
    const qsizetype end = pieceEnd(bytes, from);
    const QByteArrayView piece = bytes.sliced(from, end - from);
    qsizetype badOffset = 0;
    int badLength = 0;
    if (!DecodeStrict(piece, options.encoding, &text, &badOffset, &badLength)) {
      // The records before the bad bytes first: a refusal among them comes first.
      const QByteArrayView before = piece.first(badOffset);
      if (DecodeStrict(before, options.encoding, &text) && !reader.feed(text)) return refused();
      // Line ends are single 0x0A bytes in every encoding here (no trail byte is one).
      const int line = lineEnds + int(before.count('\n')) + 1;
      const qsizetype lf = before.lastIndexOf('\n');
      const qsizetype start = lf >= 0 ? from + lf + 1 : lineStart;
      const qsizetype at = from + badOffset;
      QStringList hex;
      for (int i = 0; i < badLength && at + i < bytes.size(); ++i)
        hex << QStringLiteral("0x") + QString::number(uint(uchar(bytes[at + i])), 16).toUpper().rightJustified(2, u'0');
      const qsizetype fileOffset = at + (csv.size() - bytes.size());
      *refusal = {line, QStringLiteral("byte %1 (offset %2 in the file): %3 is not valid %4")
                            .arg(at - start + 1)
                            .arg(fileOffset)
                            .arg(hex.join(u' '), TextEncodingName(options.encoding))};
      *out = {};
      return false;
    }
    if (!reader.feed(text)) return refused();
    lineEnds += int(piece.count('\n'));
    if (const qsizetype lf = piece.lastIndexOf('\n'); lf >= 0) lineStart = from + lf + 1;
    from = end;
    if (!Report(options.progress, from, bytes.size())) {
      *refusal = {0, QStringLiteral("the reading was stopped")};
      *out = {};
      return false;
    }
  }
  if (!reader.finish()) return refused();
  if (checker.finish()) return true;
  *out = {};
  return false;
}

bool CsvToRecords(const QByteArray& csv, int fieldCount, const QString& tableName, const CsvOptions& options,
                  std::vector<QStringList>* records, CsvRefusal* refusal) {
  ImportedRows out;
  const bool ok = CsvToRecords(csv, fieldCount, tableName, options, &out, refusal);
  *records = std::move(out.records);
  return ok;
}

bool CsvToRecords(const QByteArray& csv, int fieldCount, const QString& tableName, std::vector<QStringList>* records,
                  CsvRefusal* refusal) {
  return CsvToRecords(csv, fieldCount, tableName, CsvOptions{}, records, refusal);
}
std::vector<QStringList> HeaderLinesOfBothScripts(const LanguageFile& texts,
                                                  const std::function<QStringList(const LanguageFile&)>& header) {
  std::vector<QStringList> lines;
  auto take = [&lines](const QStringList& h) {
    bool any = false;
    for (const QString& t : h) any = any || !t.trimmed().isEmpty();
    if (any && std::find(lines.begin(), lines.end(), h) == lines.end()) lines.push_back(h);
  };
  auto both = [&](const QStringList& h) {
    take(h);
    QStringList traditional;
    for (const QString& t : h) traditional << ToTraditional(t);
    take(traditional);
  };
  if (texts.isNone()) {
    both(header(texts));
    return lines;
  }
  for (const Script script : {Script::Simplified, Script::Traditional}) both(header(texts.withScript(script)));
  return lines;
}

std::vector<QStringList> HeaderLinesOfBothScripts(const LanguageFile& texts, const QString& caption, int columnCount) {
  return HeaderLinesOfBothScripts(texts, [&](const LanguageFile& file) { return file.headers(caption, columnCount); });
}
}  // namespace v3
