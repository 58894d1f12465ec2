// Big5 text fields, the Simplified-to-Traditional mapping, locales and value conversions.
#include <QtTest>

#include "TestSupport.h"
#include "text/Big5.h"
#include "text/Convert.h"
#include "text/Locale.h"
#include "text/TwoHalves.h"

using namespace v3;

class TextTest : public QObject {
  Q_OBJECT
 private slots:
  void decodeStopsAtFirstZero() {
    // 舞台劇 in Big5, then zero bytes and garbage after them.
    const QByteArray field = QByteArray::fromHex("bb52a578bc40") + QByteArray(4, '\0') + "xyz";
    QCOMPARE(DecodeBig5Text(field), QStringLiteral("舞台劇"));
    QCOMPARE(DecodeBig5Text(QByteArray(8, '\0')), QString());
  }

  void encode_data() {
    QTest::addColumn<int>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");       // what the Big5 bytes decode to
    QTest::addColumn<QString>("unencodable");  // the character reported instead
    // 2052 maps Simplified to Traditional, except the seven whole words.
    QTest::newRow("2052 maps") << 2052 << QStringLiteral("简体发") << QStringLiteral("簡體發") << QString();
    QTest::newRow("2052 traditional stays") << 2052 << QStringLiteral("電影") << QStringLiteral("電影") << QString();
    QTest::newRow("2052 exception 電台") << 2052 << QStringLiteral("電台") << QStringLiteral("電台") << QString();
    QTest::newRow("2052 exception 席若芸") << 2052 << QStringLiteral("席若芸") << QStringLiteral("席若芸") << QString();
    QTest::newRow("2052 exception 舞台劇") << 2052 << QStringLiteral("舞台劇") << QStringLiteral("舞台劇") << QString();
    QTest::newRow("2052 latin") << 2052 << QStringLiteral("AB 12") << QStringLiteral("AB 12") << QString();
    // 1028 and every other locale write the text as it stands; what Big5
    // lacks is reported as typed, never written as '?'.
    QTest::newRow("1028 no mapping") << 1028 << QStringLiteral("新团体") << QString() << QStringLiteral("团");
    QTest::newRow("1033 like 1028") << 1033 << QStringLiteral("電影") << QStringLiteral("電影") << QString();
    QTest::newRow("1041 not blanked") << 1041 << QStringLiteral("明星") << QStringLiteral("明星") << QString();
    QTest::newRow("emoji 1028") << 1028 << QStringLiteral("A😀") << QString() << QStringLiteral("😀");
    QTest::newRow("emoji 2052") << 2052 << QStringLiteral("新团😀") << QString() << QStringLiteral("😀");
    QTest::newRow("lone surrogate") << 1028 << QString(QChar(0xD800)) << QString() << QString(QChar(0xD800));
    QTest::newRow("replacement character")
        << 1028 << QStringLiteral("A\uFFFD") << QString() << QStringLiteral("\uFFFD");
    QTest::newRow("question mark is a character") << 1028 << QStringLiteral("?") << QStringLiteral("?") << QString();
  }
  void encode() {
    QFETCH(int, locale);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QFETCH(QString, unencodable);
    const Script system = SystemTextScript(locale);
    const Big5Encoded e = EncodeBig5Text(text, system);
    QCOMPARE(e.unencodable, unencodable);
    if (!unencodable.isEmpty()) {
      QVERIFY(!e.ok());
      QVERIFY(e.problem().contains(unencodable));
      QCOMPARE(EncodedByteLength(text, system), -1);
      return;
    }
    QCOMPARE(DecodeBig5Text(e.bytes), stored);
    QCOMPARE(EncodedByteLength(text, system), int(e.bytes.size()));
  }

  // Bytes that are no Big5 character decode to byte characters, which the
  // grid shows as U+FFFD and which encode back to the very bytes, at every locale.
  void undecodableBytesComeBack_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("lead byte at the end") << QByteArray::fromHex("a4a4a4");
    QTest::newRow("bad trail byte 7F") << QByteArray::fromHex("a47f41");
    QTest::newRow("C6 A0") << QByteArray::fromHex("c6a0");
    QTest::newRow("lone 80") << QByteArray::fromHex("4180ff42");
    QTest::newRow("user-defined area") << QByteArray::fromHex("fa40fefe8e40");
    QTest::newRow("lead then zero-free ascii") << QByteArray::fromHex("a4");
  }
  void undecodableBytesComeBack() {
    QFETCH(QByteArray, bytes);
    for (const Script system : {Script::Simplified, Script::Traditional}) {
      const QString text = DecodeBig5Text(bytes);
      const Big5Encoded back = EncodeBig5Text(text, system);
      QVERIFY2(back.ok(), qPrintable(back.problem()));
      QCOMPARE(back.bytes.toHex(), bytes.toHex());
    }
    if (ContainsByteCharacters(DecodeBig5Text(bytes)))
      QVERIFY(ShowByteCharacters(DecodeBig5Text(bytes)).contains(QChar(QChar::ReplacementCharacter)));
  }

  // A text of explicit length keeps its zero bytes.
  void explicitLengthKeepsZeros() {
    const QByteArray bytes("A\0B", 3);
    const QString text = DecodeBig5Bytes(bytes);
    QCOMPARE(text.size(), 3);
    QCOMPARE(EncodeBig5Text(text).bytes, bytes);
    QCOMPARE(DecodeBig5Text(bytes), QStringLiteral("A"));
  }

  void big5Bytes() {
    QCOMPARE(EncodeBig5Text(QStringLiteral("廣告")).bytes, QByteArray::fromHex("bc73a769"));
    QCOMPARE(EncodeBig5Text(QStringLiteral("電影")).bytes, QByteArray::fromHex("b971bc76"));
  }

  void toTraditional_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("word inside longer text is mapped") << QStringLiteral("电台主持") << QStringLiteral("電臺主持");
    QTest::newRow("exception 芸") << QStringLiteral("芸") << QStringLiteral("芸");
    QTest::newRow("exception 舞台表演") << QStringLiteral("舞台表演") << QStringLiteral("舞台表演");
    QTest::newRow("mixed") << QStringLiteral("A级歌手") << QStringLiteral("A級歌手");
  }
  void toTraditional() {
    QFETCH(QString, in);
    QFETCH(QString, out);
    const QString got = ToTraditional(in);
    QCOMPARE(got.size(), in.size());
    // 台 may stay or become 臺 depending on the mapping table; compare the rest.
    QString a = got, b = out;
    a.replace(QStringLiteral("臺"), QStringLiteral("台"));
    b.replace(QStringLiteral("臺"), QStringLiteral("台"));
    QCOMPARE(a, b);
  }

  void keepsLength() {
    // Every character of a long mixed text maps to exactly one character.
    const QString text = QStringLiteral("这是一个测试：头发、干净、后面、里面、发展、电视台、〇一二三 ABC 😀");
    QCOMPARE(ToTraditional(text).size(), text.size());
  }

  void localeIds_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("id");
    QTest::addColumn<Script>("interface");
    QTest::addColumn<Script>("fields");
    QTest::newRow("zh_TW") << "zh_TW.UTF-8" << 1028 << Script::Traditional << Script::Traditional;
    QTest::newRow("zh_CN") << "zh_CN.UTF-8" << 2052 << Script::Simplified << Script::Simplified;
    QTest::newRow("zh_SG") << "zh_SG" << 2052 << Script::Simplified << Script::Simplified;
    QTest::newRow("en_US") << "en_US.UTF-8" << 1033 << Script::Simplified << Script::Traditional;
    QTest::newRow("ja_JP") << "ja_JP.eucJP" << 1041 << Script::Simplified << Script::Traditional;
    QTest::newRow("C") << "C" << 1033 << Script::Simplified << Script::Traditional;
    QTest::newRow("empty") << "" << 1033 << Script::Simplified << Script::Traditional;
  }
  void localeIds() {
    QFETCH(QString, name);
    QFETCH(int, id);
    QFETCH(Script, interface);
    QFETCH(Script, fields);
    QCOMPARE(LocaleIdFromName(name), id);
    QCOMPARE(InterfaceScript(id), interface);
    QCOMPARE(SystemTextScript(id), fields);
    // A script's own locale gives it back.
    QCOMPARE(InterfaceScript(LocaleIdOf(interface)), interface);
    QCOMPARE(SystemTextScript(LocaleIdOf(fields)), fields);
  }

  void localeOption() {
    char a0[] = "prog", a1[] = "--locale", a2[] = "1028", a3[] = "check";
    char* argv[] = {a0, a1, a2, a3, nullptr};
    int argc = 4;
    QString error;
    int id = 0;
    QVERIFY(TakeLocaleOption(argc, argv, &id, &error));
    QCOMPARE(argc, 2);
    QCOMPARE(QByteArray(argv[1]), QByteArray("check"));
    QCOMPARE(id, 1028);
    char b1[] = "--locale=abc";
    char* bad[] = {a0, b1, nullptr};
    argc = 2;
    QVERIFY(!TakeLocaleOption(argc, bad, &id, &error));
    QCOMPARE(id, 1028);
    QVERIFY(!error.isEmpty());
  }

  void years_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("written");
    QTest::newRow("0 special (the save keeps its byte)") << 0 << "特殊" << 4;
    QTest::newRow("1") << 1 << "第一年" << 1;
    QTest::newRow("2") << 2 << "第二年" << 2;
    QTest::newRow("3") << 3 << "第三年" << 3;
    QTest::newRow("4") << 4 << "特殊" << 4;
    QTest::newRow("7 shows its number") << 7 << "7" << 7;
    QTest::newRow("255 shows its number") << 255 << "255" << 255;
  }
  void years() {
    QFETCH(int, code);
    QFETCH(QString, text);
    QFETCH(int, written);
    QCOMPARE(YearCodeToText(code), text);
    QCOMPARE(YearTextToCode(YearCodeToText(code)), written);
  }
  void yearTexts() {
    QCOMPARE(YearTextToCode(QString()), 0);
    QCOMPARE(YearTextToCode(QStringLiteral("12")), 12);
    QCOMPARE(YearTextToCode(QStringLiteral("第四年")), -1);
  }

  void cellToInteger_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("value");
    const int u8 = int(IntWidth::U8), s16 = int(IntWidth::S16), s32 = int(IntWidth::S32);
    QTest::newRow("empty is 0") << "" << s32 << true << 0ll;
    QTest::newRow("blank is 0") << "  " << s16 << true << 0ll;
    QTest::newRow("-1") << "-1" << s32 << true << -1ll;
    QTest::newRow("+7 with blanks") << " +7 " << u8 << true << 7ll;
    QTest::newRow("2.5 to even") << "2.5" << s32 << true << 2ll;
    QTest::newRow("3.5 to even") << "3.5" << s32 << true << 4ll;
    QTest::newRow("-1.5 to even") << "-1.5" << s32 << true << -2ll;
    QTest::newRow("2.51 up") << "2.51" << s32 << true << 3ll;
    QTest::newRow("2.49 down") << "2.49" << s32 << true << 2ll;
    QTest::newRow(".5") << ".5" << s32 << true << 0ll;
    QTest::newRow("u8 255") << "255" << u8 << true << 255ll;
    QTest::newRow("u8 256") << "256" << u8 << false << 0ll;
    QTest::newRow("u8 -1") << "-1" << u8 << false << 0ll;
    QTest::newRow("u8 255.5 rounds to 256") << "255.5" << u8 << false << 0ll;
    QTest::newRow("s16 max") << "32767" << s16 << true << 32767ll;
    QTest::newRow("s16 over") << "32768" << s16 << false << 0ll;
    QTest::newRow("s16 min") << "-32768" << s16 << true << -32768ll;
    QTest::newRow("s32 max") << "2147483647" << s32 << true << 2147483647ll;
    QTest::newRow("s32 over") << "2147483648" << s32 << false << 0ll;
    QTest::newRow("huge") << "99999999999999999999999" << s32 << false << 0ll;
    QTest::newRow("leading zeros") << "000000000000000000000012" << s32 << true << 12ll;
    QTest::newRow("text") << "abc" << s32 << false << 0ll;
    QTest::newRow("sign only") << "-" << s32 << false << 0ll;
    QTest::newRow("exponent") << "1e3" << s32 << false << 0ll;
    QTest::newRow("two dots") << "1.2.3" << s32 << false << 0ll;
    QTest::newRow("full-width digits") << "１２" << s32 << false << 0ll;
  }
  void cellToInteger() {
    QFETCH(QString, cell);
    QFETCH(int, width);
    QFETCH(bool, ok);
    QFETCH(qint64, value);
    int64_t v = -999;
    QString reason;
    QCOMPARE(CellToInteger(cell, IntWidth(width), &v, &reason), ok);
    if (ok)
      QCOMPARE(qint64(v), value);
    else
      QVERIFY(!reason.isEmpty());
  }

  void integerTextAsNumber() {
    // The shared texts and the ones made on each call read as QString::number has them, twice over.
    for (int round = 0; round < 2; ++round) {
      for (int64_t v = -40000; v <= 40000; ++v) QCOMPARE(IntegerText(v), QString::number(v));
      for (int64_t v : {int64_t(INT32_MIN), int64_t(INT32_MAX), INT64_MIN, INT64_MAX, int64_t(4294967295)})
        QCOMPARE(IntegerText(v), QString::number(v));
    }
  }

  // Only the texts IntegerText writes are shared, and the shared text is the one given.
  void sharedIntegerText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shared");
    for (const char* t : {"0", "7", "-1", "120", "32767", "-32768"}) QTest::newRow(t) << QString::fromLatin1(t) << true;
    for (const char* t : {"", "-", "-0", "007", "+5", "32768", "-32769", "1234567", "12a", " 1", "1.0", "1e3"})
      QTest::newRow(t) << QString::fromLatin1(t) << false;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << false;
  }
  void sharedIntegerText() {
    QFETCH(QString, text);
    QFETCH(bool, shared);
    const std::optional<QString> got = SharedIntegerText(text);
    QCOMPARE(got.has_value(), shared);
    if (shared) QCOMPARE(*got, text);
  }

  // Pieces made on two threads come out in order, and the first piece that
  // fails is the last one taken.
  void piecesInOrder_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("failing");  // -1: none
    QTest::newRow("none") << 0 << -1;
    QTest::newRow("one") << 1 << -1;
    QTest::newRow("two") << 2 << -1;
    QTest::newRow("many") << 101 << -1;
    QTest::newRow("first fails") << 101 << 0;
    QTest::newRow("the other thread's fails") << 101 << 57;
    QTest::newRow("this thread's fails") << 101 << 58;
    QTest::newRow("the last fails") << 101 << 100;
  }
  void piecesInOrder() {
    QFETCH(int, count);
    QFETCH(int, failing);
    QList<qint64> taken;
    std::atomic<int> made{0};
    std::thread::id mine = std::this_thread::get_id(), other;
    const bool ok = InOrderedPieces<QList<qint64>>(
        count,
        [&](qint64 piece, QList<qint64>& out) {
          if (piece == 1) other = std::this_thread::get_id();
          out = {piece, piece * piece};
          ++made;
          return piece != failing;
        },
        [&](qint64 piece, const QList<qint64>& in) {
          QCOMPARE(std::this_thread::get_id(), mine);
          QCOMPARE(in, (QList<qint64>{piece, piece * piece}));
          taken.append(piece);
        });
    const int last = failing >= 0 ? failing : count - 1;
    QCOMPARE(ok, failing < 0);
    QCOMPARE(taken.size(), last + 1);
    for (int i = 0; i <= last; ++i) QCOMPARE(taken[i], qint64(i));
    QVERIFY(made <= last + 3);  // the other thread stops within a turn or two
    if (count > 1 && last > 0 && HasSecondCore()) QVERIFY(other != mine);
  }

  // Text decoded on two threads at once, through the converter too, is the
  // text one thread decodes; so are the shared texts of numbers.
  void decodingOnTwoThreads() {
    QList<QByteArray> fields;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
      for (int trail = 0x40; trail <= 0xFE; trail += 3)
        fields.append(QByteArray(1, char(lead)) + char(trail) + 'a' + char(0x80));
    QStringList alone, together(fields.size()), numbers(fields.size());
    for (const QByteArray& f : fields) alone.append(DecodeBig5Text(f));
    for (int round = 0; round < 50; ++round)
      InTwoHalves(fields.size(), 2, [&](qint64 from, qint64 to, int) {
        for (qint64 i = from; i < to; ++i) {
          together[i] = DecodeBig5Text(fields[i]);
          numbers[i] = IntegerText(i - 9000 + round);
        }
      });
    QCOMPARE(together, alone);
    for (int i = 0; i < numbers.size(); ++i) QCOMPARE(numbers[i], QString::number(i - 9000 + 49));
  }

  void numericSortKey_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<double>("key");
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("minus zero") << "-0" << 0.0;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("negative") << "-32768" << -32768.0;
    QTest::newRow("15 digits") << "123456789012345" << 123456789012345.0;
    QTest::newRow("16 digits") << "1234567890123456" << 1234567890123456.0;
    QTest::newRow("20 digits") << "99999999999999999999" << 1e20;
    QTest::newRow("blanks around") << " 12 " << 12.0;
    QTest::newRow("plus") << "+7" << 7.0;
    QTest::newRow("fraction") << "1.5" << 1.5;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("minus alone") << "-" << 0.0;
    QTest::newRow("double minus") << "--5" << 0.0;
    QTest::newRow("inner minus") << "5-3" << 0.0;
    QTest::newRow("word") << "abc" << 0.0;
    QTest::newRow("infinity") << "inf" << 0.0;
    QTest::newRow("full-width digits") << QString::fromUtf8("１２") << 0.0;
  }
  void numericSortKey() {
    QFETCH(QString, cell);
    QFETCH(double, key);
    QCOMPARE(NumericSortKey(cell), key);
  }
};

QTEST_GUILESS_MAIN(TextTest)
#include "test_text.moc"
