#include "text/StrictCodec.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <memory>

namespace v3 {
namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

const char* icuName(TextEncoding e) {
  switch (e) {
    case TextEncoding::Gbk: return "windows-936";
    case TextEncoding::Big5: return "windows-950";
    case TextEncoding::Utf8: break;
  }
  return "UTF-8";
}

// A converter of its own (the shared ones substitute '?'), stopping at the
// first fault in both directions.
ConverterPtr openStrict(TextEncoding e) {
  UErrorCode status = U_ZERO_ERROR;
  ConverterPtr c(ucnv_open(icuName(e), &status));
  if (U_FAILURE(status) || !c) qFatal("ICU has no converter for %s", icuName(e));
  ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  ucnv_setFallback(c.get(), false);
  if (U_FAILURE(status)) qFatal("ICU cannot make the %s converter strict", icuName(e));
  return c;
}

}  // namespace

bool TextEncodingFromName(const QString& name, TextEncoding* encoding) {
  const QString n = name.trimmed().toLower();
  if (n == QLatin1String("utf-8") || n == QLatin1String("utf8")) {
    *encoding = TextEncoding::Utf8;
  } else if (n == QLatin1String("gbk") || n == QLatin1String("cp936") || n == QLatin1String("936")) {
    *encoding = TextEncoding::Gbk;
  } else if (n == QLatin1String("big5") || n == QLatin1String("cp950") || n == QLatin1String("950")) {
    *encoding = TextEncoding::Big5;
  } else {
    return false;
  }
  return true;
}

QString TextEncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Gbk: return QStringLiteral("GBK");
    case TextEncoding::Big5: return QStringLiteral("Big5");
    case TextEncoding::Utf8: break;
  }
  return QStringLiteral("UTF-8");
}

bool DecodeStrict(QByteArrayView bytes, TextEncoding encoding, QString* text, qsizetype* badOffset, int* badLength) {
  text->clear();
  if (bytes.isEmpty()) return true;
  ConverterPtr conv = openStrict(encoding);
  // No encoding here gives more UTF-16 units than it has bytes.
  QString out(bytes.size(), Qt::Uninitialized);
  UChar* target = reinterpret_cast<UChar*>(out.data());
  UChar* const targetStart = target;
  const char* source = bytes.data();
  UErrorCode status = U_ZERO_ERROR;
  ucnv_toUnicode(conv.get(), &target, targetStart + out.size(), &source, bytes.data() + bytes.size(), nullptr, true,
                 &status);
  if (U_FAILURE(status)) {
    char invalid[32];
    int8_t invalidLength = sizeof invalid;
    UErrorCode s2 = U_ZERO_ERROR;
    ucnv_getInvalidChars(conv.get(), invalid, &invalidLength, &s2);
    if (U_FAILURE(s2)) invalidLength = 1;
    if (badOffset) *badOffset = qsizetype(source - bytes.data()) - invalidLength;
    if (badLength) *badLength = invalidLength;
    return false;
  }
  out.truncate(qsizetype(target - targetStart));
  *text = std::move(out);
  return true;
}

bool EncodeStrict(const QString& text, TextEncoding encoding, QByteArray* bytes, qsizetype* badIndex) {
  bytes->clear();
  if (text.isEmpty()) return true;
  ConverterPtr conv = openStrict(encoding);
  QByteArray out(UCNV_GET_MAX_BYTES_FOR_STRING(text.size(), ucnv_getMaxCharSize(conv.get())), Qt::Uninitialized);
  char* target = out.data();
  const UChar* source = reinterpret_cast<const UChar*>(text.constData());
  const UChar* const sourceStart = source;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_fromUnicode(conv.get(), &target, out.data() + out.size(), &source, sourceStart + text.size(), nullptr, true,
                   &status);
  if (U_FAILURE(status)) {
    UChar invalid[8];
    int8_t invalidLength = 8;
    UErrorCode s2 = U_ZERO_ERROR;
    ucnv_getInvalidUChars(conv.get(), invalid, &invalidLength, &s2);
    if (U_FAILURE(s2)) invalidLength = 1;
    if (badIndex) *badIndex = qsizetype(source - sourceStart) - invalidLength;
    return false;
  }
  out.truncate(qsizetype(target - out.data()));
  *bytes = std::move(out);
  return true;
}

}  // namespace v3
