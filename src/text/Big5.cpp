#include "text/Big5.h"

#include "text/Big5Decode.h"

#include <QCoreApplication>
#include <unicode/translit.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>

#include <QHash>

#include <memory>

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Big5)
};

constexpr char32_t kByteCharBase = 0x10FE00;

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Every byte the converter cannot turn into a character becomes that byte's
// byte character.
void toByteCharacters(const void*, UConverterToUnicodeArgs* args, const char* codeUnits, int32_t length,
                      UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone
  UChar buffer[2 * 32];
  int32_t n = 0;
  for (int32_t i = 0; i < length && n + 2 <= int32_t(std::size(buffer)); ++i) {
    const char32_t c = ByteCharacter(uchar(codeUnits[i]));
    buffer[n++] = U16_LEAD(c);
    buffer[n++] = U16_TRAIL(c);
  }
  *err = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, buffer, n, 0, err);
}

enum class Page { Gbk, Big5, Big5Fields };

UConverter* converter(Page page) {
  // One converter per use and thread, opened at its first text (a converter
  // keeps state between calls, so two threads never share one).
  thread_local ConverterPtr converters[3];
  ConverterPtr& slot = converters[int(page)];
  if (!slot) {
    UErrorCode status = U_ZERO_ERROR;
    slot.reset(ucnv_open(page == Page::Gbk ? "windows-936" : "windows-950", &status));
    if (U_FAILURE(status) || !slot) qFatal("ICU has no converter for code page %d", page == Page::Gbk ? 936 : 950);
    status = U_ZERO_ERROR;
    if (page == Page::Big5Fields) {
      // Exact both ways: undecodable bytes become byte characters, and a
      // character without its own Big5 code stops the encoding.
      ucnv_setToUCallBack(slot.get(), toByteCharacters, nullptr, nullptr, nullptr, &status);
      status = U_ZERO_ERROR;
      ucnv_setFromUCallBack(slot.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
      ucnv_setFallback(slot.get(), false);
    } else {
      ucnv_setSubstChars(slot.get(), "?", 1, &status);
    }
  }
  return slot.get();
}

Page pageFor(int codePage) { return codePage == 936 ? Page::Gbk : Page::Big5; }

void decodeInto(QByteArrayView bytes, Page page, QString* out) {
  if (bytes.isEmpty()) {
    out->clear();
    return;
  }
  if (page != Page::Gbk && DecodeCommonBig5(bytes, out)) return;
  UConverter* conv = converter(page);
  ucnv_resetToUnicode(conv);
  // A byte character takes two UTF-16 units.
  out->resize(2 * bytes.size() + 2);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(conv, reinterpret_cast<UChar*>(out->data()), int32_t(out->size()), bytes.data(),
                                  int32_t(bytes.size()), &status);
  if (U_FAILURE(status)) {
    out->clear();
    return;
  }
  out->truncate(n);
}

QString decode(QByteArrayView bytes, Page page) {
  if (bytes.isEmpty()) return QString();
  QString out;
  decodeInto(bytes, page, &out);
  return out;
}

// Encodes the whole text; false when a character stops the converter.
bool encodeRun(QStringView text, Page page, QByteArray* out) {
  if (text.isEmpty()) return true;
  UConverter* conv = converter(page);
  ucnv_resetFromUnicode(conv);
  QByteArray bytes(text.size() * 2 + 2, Qt::Uninitialized);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = ucnv_fromUChars(conv, bytes.data(), int32_t(bytes.size()),
                                    reinterpret_cast<const UChar*>(text.data()), int32_t(text.size()), &status);
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) return false;
  bytes.truncate(n);
  *out += bytes;
  return true;
}

QByteArray encode(const QString& text, int codePage) {
  QByteArray out;
  encodeRun(text, pageFor(codePage), &out);
  return out;
}

icu::Transliterator* hansToHant() {
  static std::unique_ptr<icu::Transliterator> t;
  if (!t) {
    UErrorCode status = U_ZERO_ERROR;
    t.reset(icu::Transliterator::createInstance("Hans-Hant", UTRANS_FORWARD, status));
    if (U_FAILURE(status) || !t) qFatal("ICU has no Hans-Hant transliterator");
  }
  return t.get();
}

QString transliterate(const QString& text) {
  icu::UnicodeString s(reinterpret_cast<const UChar*>(text.constData()), int32_t(text.size()));
  hansToHant()->transliterate(s);
  return QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
}

bool isException(const QString& text) {
  static const QString words[] = {QStringLiteral("芸"),     QStringLiteral("席若芸"), QStringLiteral("舒芸晴"),
                                  QStringLiteral("凌天芸"), QStringLiteral("電台"),   QStringLiteral("舞台表演"),
                                  QStringLiteral("舞台劇")};
  for (const QString& w : words)
    if (text == w) return true;
  return false;
}

}  // namespace

QString ToTraditional(const QString& text) {
  if (text.isEmpty() || isException(text)) return text;
  // Character by character, so the text keeps its length; each character's
  // mapping is asked of ICU once and remembered.
  static QHash<char16_t, char16_t> cache;
  QString out = text;
  for (qsizetype i = 0; i < out.size(); ++i) {
    const QChar c = out[i];
    if (c.unicode() < 0x2E80) continue;
    if (c.isSurrogate()) {
      if (c.isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate() &&
          !IsByteCharacter(QChar::surrogateToUcs4(c, out[i + 1]))) {
        const QString pair = out.mid(i, 2);
        const QString mapped = transliterate(pair);
        if (mapped.size() == 2) out.replace(i, 2, mapped);
        ++i;
      }
      continue;
    }
    auto it = cache.constFind(c.unicode());
    if (it == cache.constEnd()) {
      const QString mapped = transliterate(QString(c));
      it = cache.insert(c.unicode(), mapped.size() == 1 ? mapped[0].unicode() : c.unicode());
    }
    out[i] = QChar(it.value());
  }
  return out;
}

char32_t ByteCharacter(uchar byte) { return kByteCharBase + byte; }
bool IsByteCharacter(char32_t c) { return c >= kByteCharBase && c <= kByteCharBase + 0xFF; }

bool ContainsByteCharacters(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i)
    if (text[i].isHighSurrogate() && IsByteCharacter(QChar::surrogateToUcs4(text[i], text[i + 1]))) return true;
  return false;
}

QString ShowByteCharacters(const QString& text) {
  if (!ContainsByteCharacters(text)) return text;
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (i + 1 < text.size() && text[i].isHighSurrogate() &&
        IsByteCharacter(QChar::surrogateToUcs4(text[i], text[i + 1]))) {
      out += QChar(QChar::ReplacementCharacter);
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

QString DecodeBig5Text(QByteArrayView fieldBytes) {
  const qsizetype zero = fieldBytes.indexOf('\0');
  if (zero >= 0) fieldBytes = fieldBytes.first(zero);
  return decode(fieldBytes, Page::Big5Fields);
}

QString DecodeBig5Bytes(QByteArrayView bytes) { return decode(bytes, Page::Big5Fields); }

void DecodeBig5TextInto(QByteArrayView fieldBytes, QString* out) {
  const qsizetype zero = fieldBytes.indexOf('\0');
  if (zero >= 0) fieldBytes = fieldBytes.first(zero);
  decodeInto(fieldBytes, Page::Big5Fields, out);
}

void DecodeBig5BytesInto(QByteArrayView bytes, QString* out) { decodeInto(bytes, Page::Big5Fields, out); }

qsizetype FirstControlCharacter(QStringView text, LineBreaks lineBreaks, QStringView asRead) {
  const bool lines = lineBreaks == LineBreaks::Allowed;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if ((c.unicode() >= 0x20 && c.unicode() != 0x7F) || c == u'\t') continue;
    if (lines && (c == u'\r' || c == u'\n')) continue;
    if (asRead.contains(c)) continue;
    return i;
  }
  return -1;
}

QString ControlCharacterProblem(QStringView text, qsizetype at) {
  const char16_t c = text[at].unicode();
  const QString code = QStringLiteral("U+%1").arg(QString::number(uint(c), 16).toUpper().rightJustified(4, u'0'));
  if (c == u'\r' || c == u'\n') return Texts::tr("换行符 %1：此栏只能有一行文字").arg(code);
  return Texts::tr("控制字符 %1 无法以 Big5 保存").arg(code);
}

QString Big5Encoded::problem() const {
  if (ok()) return QString();
  return Texts::tr("“%1” 无法以 Big5 保存").arg(unencodable);
}

Big5Encoded EncodeBig5Text(const QString& typed, Script systemScript) {
  Big5Encoded result;
  // The mapping keeps the length, so a position in it is one in the typed text.
  const QString text = systemScript == Script::Simplified ? ToTraditional(typed) : typed;
  qsizetype runStart = 0;
  auto flush = [&](qsizetype end) {
    const QStringView run = QStringView(text).mid(runStart, end - runStart);
    if (encodeRun(run, Page::Big5Fields, &result.bytes)) return true;
    // Find the character that stopped it, one at a time.
    for (qsizetype i = runStart; i < end;) {
      const qsizetype len = text[i].isHighSurrogate() && i + 1 < end && text[i + 1].isLowSurrogate() ? 2 : 1;
      QByteArray ignored;
      if (!encodeRun(QStringView(text).mid(i, len), Page::Big5Fields, &ignored)) {
        result.unencodable = typed.mid(i, len);
        return false;
      }
      i += len;
    }
    result.unencodable = typed.mid(runStart, end - runStart);
    return false;
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
      const char32_t c = QChar::surrogateToUcs4(text[i], text[i + 1]);
      if (IsByteCharacter(c)) {
        if (!flush(i)) return result;
        result.bytes += char(uchar(c - kByteCharBase));
        runStart = i + 2;
      }
      ++i;
    }
  }
  if (!flush(text.size())) return result;
  return result;
}

int EncodedByteLength(const QString& text, Script systemScript) {
  const Big5Encoded e = EncodeBig5Text(text, systemScript);
  return e.ok() ? int(e.bytes.size()) : -1;
}

QString DecodeCodePage(QByteArrayView bytes, int codePage) { return decode(bytes, pageFor(codePage)); }
QByteArray EncodeCodePage(const QString& text, int codePage) { return encode(text, codePage); }

}  // namespace v3
