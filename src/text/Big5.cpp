#include "text/Big5.h"

#include "text/Big5Decode.h"
#include "text/Locale.h"

#include <unicode/translit.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <QHash>

#include <memory>

namespace v3 {
namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

UConverter* converter(int codePage) {
  // One converter per code page for the whole run (the program is single-threaded).
  static ConverterPtr big5, gbk;
  ConverterPtr& slot = codePage == 936 ? gbk : big5;
  if (!slot) {
    UErrorCode status = U_ZERO_ERROR;
    slot.reset(ucnv_open(codePage == 936 ? "windows-936" : "windows-950", &status));
    if (U_FAILURE(status) || !slot) qFatal("ICU has no converter for code page %d", codePage);
    status = U_ZERO_ERROR;
    ucnv_setSubstChars(slot.get(), "?", 1, &status);
  }
  return slot.get();
}

QString decode(QByteArrayView bytes, int codePage) {
  if (bytes.isEmpty()) return QString();
  if (codePage == 950) {
    QString common;
    if (DecodeCommonBig5(bytes, &common)) return common;
  }
  UConverter* conv = converter(codePage);
  ucnv_resetToUnicode(conv);
  QString out(bytes.size() + 1, Qt::Uninitialized);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(conv, reinterpret_cast<UChar*>(out.data()), int32_t(out.size()), bytes.data(),
                                  int32_t(bytes.size()), &status);
  if (U_FAILURE(status)) return QString();
  out.truncate(n);
  return out;
}

QByteArray encode(const QString& text, int codePage) {
  if (text.isEmpty()) return QByteArray();
  UConverter* conv = converter(codePage);
  ucnv_resetFromUnicode(conv);
  QByteArray out(text.size() * 2 + 2, Qt::Uninitialized);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = ucnv_fromUChars(conv, out.data(), int32_t(out.size()), reinterpret_cast<const UChar*>(text.constData()),
                                    int32_t(text.size()), &status);
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) return QByteArray();
  out.truncate(n);
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
  static const QString words[] = {QStringLiteral("芸"),     QStringLiteral("席若芸"),   QStringLiteral("舒芸晴"),
                                  QStringLiteral("凌天芸"), QStringLiteral("電台"),     QStringLiteral("舞台表演"),
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
      if (c.isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate()) {
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

QString DecodeBig5Text(QByteArrayView fieldBytes) {
  const qsizetype zero = fieldBytes.indexOf('\0');
  if (zero >= 0) fieldBytes = fieldBytes.first(zero);
  return decode(fieldBytes, 950);
}

QByteArray EncodeBig5Text(const QString& text) {
  if (SystemLocaleNumber() == 2052) return encode(ToTraditional(text), 950);
  return encode(text, 950);
}

int EncodedByteLength(const QString& text) { return int(EncodeBig5Text(text).size()); }

QString DecodeCodePage(QByteArrayView bytes, int codePage) { return decode(bytes, codePage); }
QByteArray EncodeCodePage(const QString& text, int codePage) { return encode(text, codePage); }

}  // namespace v3
