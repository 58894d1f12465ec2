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
