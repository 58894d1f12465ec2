#include "tools/CsvCells.h"

#include "text/Big5.h"

namespace v3 {

QString CsvRefusal::message(const QString& csvName) const {
  if (line <= 0) return QStringLiteral("%1: %2").arg(csvName, reason);
  return QStringLiteral("%1: line %2: %3").arg(csvName).arg(line).arg(reason);
}

namespace {

QString hexByte(uint b) { return QStringLiteral("\\x") + QString::number(b, 16).toUpper().rightJustified(2, u'0'); }

int hexDigit(QChar c) {
  if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
  if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
  return -1;
}

}  // namespace

bool CsvDelimiterFromName(const QString& name, QChar* delimiter) {
  const QString n = name.trimmed().toLower();
  if (n == u',' || n == QLatin1String("comma"))
    *delimiter = u',';
  else if (n == u';' || n == QLatin1String("semicolon"))
    *delimiter = u';';
  else if (n == QLatin1String("tab") || n == u'\t')
    *delimiter = u'\t';
  else
    return false;
  return true;
}

QChar DetectCsvDelimiter(QByteArrayView csv, int fieldCount) {
  // Each candidate is a single byte that no character of several bytes in
  // UTF-8, GBK or Big5 holds, so the bytes can be counted undecoded.
  const char candidates[] = {',', ';', '\t'};
  int counts[3] = {0, 0, 0};
  bool quoted = false;
  for (const char b : csv) {
    if (b == '"') quoted = !quoted;  // a doubled quote toggles twice
    if (quoted) continue;
    if (b == '\n' || b == '\r') break;
    for (int i = 0; i < 3; ++i) counts[i] += b == candidates[i];
  }
  // One column has no delimiter at all: whatever its cells hold is theirs,
  // read as the writer wrote them, with commas.
  if (fieldCount <= 1) return QChar(u',');
  for (int i = 0; i < 3; ++i)
    if (counts[i] == fieldCount - 1) return QChar(candidates[i]);
  int best = 0;
  for (int i = 1; i < 3; ++i)
    if (counts[i] > counts[best]) best = i;
  return QChar(candidates[best]);
}

namespace {

// A plain integer: what a spreadsheet program reads as a number and writes
// back as the same text.
bool plainInteger(const QString& cell) {
  qsizetype i = cell.startsWith(u'-') ? 1 : 0;
  const qsizetype digits = cell.size() - i;
  if (digits < 1 || digits > 15 || (cell[i] == u'0' && (digits > 1 || i == 1))) return false;
  for (; i < cell.size(); ++i)
    if (cell[i] < u'0' || cell[i] > u'9') return false;
  return true;
}

bool protectedForm(const QString& text) {
  if (text.size() < 3 || !text.startsWith(QLatin1String("=\"")) || !text.endsWith(u'"')) return false;
  // Inside, every quote is doubled.
  const qsizetype end = text.size() - 1;
  for (qsizetype i = 2; i < end; ++i)
    if (text[i] == u'"') {
      if (i + 1 >= end || text[i + 1] != u'"') return false;
      ++i;
    }
  return true;
}

}  // namespace

QString CsvProtectCell(const QString& cell, bool spreadsheetSafe) {
  const bool wrap = protectedForm(cell) || (spreadsheetSafe && !cell.isEmpty() && !plainInteger(cell));
  if (!wrap) return cell;
  QString inner = cell;
  inner.replace(QStringLiteral("\""), QStringLiteral("\"\""));
  return QStringLiteral("=\"") + inner + u'"';
}

QString CsvUnprotectCell(const QString& text) {
  if (!protectedForm(text)) return text;
  QString inner = text.mid(2, text.size() - 3);
  inner.replace(QStringLiteral("\"\""), QStringLiteral("\""));
  return inner;
}

QString CsvEscapeCell(const QString& cell) {
  // A code's trailing zero bytes are dropped (the save pads with zeros again).
  qsizetype end = cell.size();
  while (end > 0 && cell[end - 1] == QChar(u'\0')) --end;
  bool plain = true;
  for (qsizetype i = 0; i < end && plain; ++i)
    plain = cell[i] != u'\\' && cell[i] != QChar(u'\0') && !cell[i].isHighSurrogate();
  if (plain) return end == cell.size() ? cell : cell.left(end);
  QString out;
  out.reserve(end + 8);
  for (qsizetype i = 0; i < end; ++i) {
    const QChar c = cell[i];
    if (c == u'\\') {
      out += QStringLiteral("\\\\");
    } else if (c == QChar(u'\0')) {
      out += hexByte(0);
    } else if (c.isHighSurrogate() && i + 1 < end && IsByteCharacter(QChar::surrogateToUcs4(c, cell[i + 1]))) {
      out += hexByte(QChar::surrogateToUcs4(c, cell[i + 1]) & 0xFF);
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

QString CsvUnescapeCell(const QString& text) {
  if (!text.contains(u'\\')) return text;
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'\\' && i + 1 < text.size() && text[i + 1] == u'\\') {
      out += c;
      ++i;
    } else if (c == u'\\' && i + 3 < text.size() && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
               hexDigit(text[i + 2]) >= 0 && hexDigit(text[i + 3]) >= 0) {
      const uint b = uint(hexDigit(text[i + 2]) * 16 + hexDigit(text[i + 3]));
      if (b < 0x80) {
        out += QChar(char16_t(b));  // a zero byte, or a byte that is a character of its own
      } else {
        const char32_t bc = ByteCharacter(uchar(b));
        out += QString::fromUcs4(&bc, 1);
      }
      i += 3;
    } else {
      out += c;  // any other backslash stands for itself
    }
  }
  return out;
}

}  // namespace v3
