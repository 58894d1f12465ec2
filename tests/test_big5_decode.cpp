// The table-driven Big5 decoding gives what ICU's windows-950 converter
// gives, for every byte sequence: all one- and two-byte sequences, pairs
// behind ASCII and behind other pairs, and random junk.
#include <QRandomGenerator>
#include <QtTest>

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>

#include "text/Big5.h"
#include "text/Big5Decode.h"
#include "text/Locale.h"

using namespace v3;

namespace {

// ICU alone, as text fields decode: every byte that is no character becomes
// its byte character.
void byteCharacters(const void*, UConverterToUnicodeArgs* args, const char* units, int32_t length,
                    UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) return;
  for (int32_t i = 0; i < length; ++i) {
    const char32_t c = ByteCharacter(uchar(units[i]));
    const UChar pair[2] = {U16_LEAD(c), U16_TRAIL(c)};
    *err = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, pair, 2, 0, err);
  }
}

// ICU alone, as the text layer decoded before it had a table: language
// files with ICU's substitutions, text fields with byte characters.
QString icu(QByteArrayView bytes, bool fields) {
  auto open = [](bool withBytes) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* c = ucnv_open("windows-950", &status);
    if (U_SUCCESS(status) && withBytes) ucnv_setToUCallBack(c, byteCharacters, nullptr, nullptr, nullptr, &status);
    return U_SUCCESS(status) ? c : nullptr;
  };
  static UConverter* const plain = open(false);
  static UConverter* const exact = open(true);
  UConverter* conv = fields ? exact : plain;
  if (!conv || bytes.isEmpty()) return QString();
  ucnv_resetToUnicode(conv);
  QString out(2 * bytes.size() + 2, Qt::Uninitialized);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(conv, reinterpret_cast<UChar*>(out.data()), int32_t(out.size()), bytes.data(),
                                  int32_t(bytes.size()), &status);
  if (U_FAILURE(status)) return QString();
  out.truncate(n);
  return out;
}
QString icuDecode(QByteArrayView bytes) { return icu(bytes, false); }
QString icuFieldDecode(QByteArrayView bytes) { return icu(bytes, true); }

QByteArray upToZero(QByteArray b) {
  const qsizetype zero = b.indexOf('\0');
  if (zero >= 0) b.truncate(zero);
  return b;
}

}  // namespace

class Big5DecodeTest : public QObject {
  Q_OBJECT
 private slots:

  void everySingleByte() {
    for (int b = 0; b < 256; ++b) {
      const QByteArray in(1, char(b));
      QCOMPARE(DecodeCodePage(in, 950), icuDecode(in));
    }
  }

  void everyPairAloneBehindAsciiAndBeforeAscii() {
    // Alone, after an ASCII letter (which keeps the pair's own alignment),
    // after a lead byte (which shifts it) and with ASCII after it.
    int mismatches = 0;
    QString first;
    for (int a = 0; a < 256; ++a)
      for (int b = 0; b < 256; ++b) {
        const QByteArray pair = QByteArray(1, char(a)) + char(b);
        for (const QByteArray& in : {pair, "x" + pair, QByteArray("\xa4") + pair, pair + "yz", pair + pair}) {
          if (DecodeCodePage(in, 950) == icuDecode(in)) continue;
          if (mismatches++ == 0) first = QString::fromLatin1(in.toHex(' '));
        }
      }
    QVERIFY2(mismatches == 0, qPrintable(QStringLiteral("%1 differ, first: %2").arg(mismatches).arg(first)));
  }

  void randomJunk() {
    // Bytes drawn mostly from the lead and trail ranges, so that valid
    // codes, broken codes and ASCII mix at every position.
    QRandomGenerator rng(20261208);
    const char* pool[] = {"\x41", "\x7e", "\x7f", "\x80", "\x81", "\xa1", "\xa4", "\xa3", "\xc6",
                          "\xc7", "\xf9", "\xfe", "\xff", "\x40", "\xa0", "\x00", "\x0d", "\x20"};
    for (int round = 0; round < 100000; ++round) {
      QByteArray in;
      const int length = int(rng.bounded(1, 24));
      for (int i = 0; i < length; ++i)
        in += rng.bounded(3) == 0 ? QByteArray(pool[rng.bounded(int(std::size(pool)))], 1)
                                  : QByteArray(1, char(rng.bounded(256)));
      QCOMPARE(DecodeCodePage(in, 950), icuDecode(in));
      QCOMPARE(DecodeBig5Text(in), icuFieldDecode(upToZero(in)));
      QCOMPARE(DecodeBig5Bytes(in), icuFieldDecode(in));
    }
  }

  // Bytes taken as plain text are text ICU decodes without a control or a byte character.
  void plainTextIsText() {
    auto plainAsIcuHasIt = [](const QByteArray& in) {
      for (char b : in)
        if (uchar(b) < 0x20) return false;
      const QString text = icuFieldDecode(in);
      if (ContainsByteCharacters(text)) return false;
      for (QChar c : text)
        if (c.unicode() < 0x20) return false;
      return true;
    };
    int plain = 0;
    for (int a = 0; a < 256; ++a)
      for (int b = -1; b < 256; ++b) {
        const QByteArray in = b < 0 ? QByteArray(1, char(a)) : QByteArray(1, char(a)) + char(b);
        if (!IsPlainCommonBig5(in)) continue;
        ++plain;
        if (!plainAsIcuHasIt(in)) QFAIL(qPrintable(QString::fromLatin1(in.toHex(' '))));
      }
    QVERIFY(plain > 13000);                                                 // ASCII and the common characters
    QVERIFY(IsPlainCommonBig5(QByteArray("\xbb\x52\xa5\x78\xbc\x40 ok")));  // 舞台劇
    for (const char* notPlain : {"\x1f", "a\x0d", "\xa4", "\xa4\x20", "\x80\x40"})
      QVERIFY2(!IsPlainCommonBig5(QByteArray(notPlain)), notPlain);
  }

  void textFieldsOnEveryLocale() {
    // 舞台劇, then a broken code at the end: the field decodes as ICU has it
    // (the system's locale has no say in it), the broken byte as its byte character.
    const QByteArray field = QByteArray::fromHex("bb52a578bc4041a4");
    QCOMPARE(DecodeBig5Text(field), icuFieldDecode(field));
    QVERIFY(DecodeBig5Text(field).startsWith(QStringLiteral("舞台劇A")));
  }
};

QTEST_GUILESS_MAIN(Big5DecodeTest)
#include "test_big5_decode.moc"
