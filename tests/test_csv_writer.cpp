// Export's CSV writing: the UTF-8 lines written straight into the buffer
// are the lines of the general way (cells escaped, quoted where needed,
// then encoded), and a cell UTF-8 cannot carry is refused with its line and column.
#include <QRandomGenerator>
#include <QtTest>

#include "text/StrictCodec.h"
#include "tools/Csv.h"
#include "tools/CsvTable.h"

using namespace v3;

namespace {

// The CSV the records give through the general way, or a null array where
// a record holds what UTF-8 cannot; *badLine then names its line.
QByteArray expected(const std::vector<QStringList>& records, int* badLine) {
  QByteArray csv("");
  for (size_t i = 0; i < records.size(); ++i) {
    QStringList cells = records[i];
    for (QString& c : cells) c = CsvEscapeCell(c);
    QByteArray bytes;
    if (!EncodeStrict(CsvLineText(cells), TextEncoding::Utf8, &bytes)) {
      *badLine = int(i + 1);
      return QByteArray();
    }
    csv += bytes;
  }
  return csv;
}

}  // namespace

class CsvWriterTest : public QObject {
  Q_OBJECT
 private slots:
  void cells_data() {
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("plain") << QStringList{"1", "abc", ""} << QByteArray("1,abc,\r\n");
    QTest::newRow("comma, quote, breaks") << QStringList{"a,b", "say \"hi\"", "x\ny", "\r"}
                                          << QByteArray("\"a,b\",\"say \"\"hi\"\"\",\"x\ny\",\"\r\"\r\n");
    QTest::newRow("NUL dropped") << QStringList{QStringView(u"AB\0\0", 4).toString(), QStringView(u"\0", 1).toString()}
                                 << QByteArray("AB,\r\n");
    QTest::newRow("two, three and four bytes")
        << QStringList{QStringLiteral("é"), QStringLiteral("舞台劇"), QStringLiteral("😀")}
        << QByteArray("\xC3\xA9,\xE8\x88\x9E\xE5\x8F\xB0\xE5\x8A\x87,\xF0\x9F\x98\x80\r\n");
    QTest::newRow("quoted CJK") << QStringList{QStringLiteral("周,杰")}
                                << QByteArray("\"\xE5\x91\xA8,\xE6\x9D\xB0\"\r\n");
    QTest::newRow("one column with a tab and a semicolon") << QStringList{"a\tb;c"} << QByteArray("a\tb;c\r\n");
  }
  void cells() {
    QFETCH(QStringList, cells);
    QFETCH(QByteArray, line);
    QByteArray csv;
    CsvRefusal refusal;
    QVERIFY(RecordsToCsv({cells}, CsvOptions{}, &csv, &refusal));
    QCOMPARE(csv, line);
    // And it reads back as written, whatever delimiter the cells hold.
    for (QString& c : cells) c.remove(QChar(u'\0'));
    std::vector<QStringList> back;
    QVERIFY2(CsvToRecords(csv, int(cells.size()), "t", CsvOptions{}, &back, &refusal), qPrintable(refusal.reason));
    QCOMPARE(back, std::vector<QStringList>{cells});
  }

  // A first cell whose bytes in the file's encoding are those of a UTF-8
  // byte order mark is quoted: the file reads back, its first cell whole.
  void firstCellLikeAByteOrderMark_data() {
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QByteArray>("bytes");  // the first cell in that encoding
    QTest::newRow("UTF-8") << TextEncoding::Utf8
                           << QByteArray(
                                  "\xEF\xBB\xBF"
                                  "ab");
    QTest::newRow("GBK") << TextEncoding::Gbk
                         << QByteArray(
                                "\xEF\xBB\xBF"
                                "e");
    QTest::newRow("Big5") << TextEncoding::Big5
                          << QByteArray(
                                 "\xEF\xBB\xBF"
                                 "@");
  }
  void firstCellLikeAByteOrderMark() {
    QFETCH(TextEncoding, encoding);
    QFETCH(QByteArray, bytes);
    QString first;
    QVERIFY(DecodeStrict(bytes, encoding, &first));
    const std::vector<QStringList> records{{first, "1"}, {first, "2"}};
    CsvOptions options;
    options.encoding = encoding;
    QByteArray csv;
    CsvRefusal refusal;
    QVERIFY(RecordsToCsv(records, options, &csv, &refusal));
    QVERIFY2(csv.startsWith('"'), csv.constData());
    std::vector<QStringList> back;
    QVERIFY2(CsvToRecords(csv, 2, "t", options, &back, &refusal), qPrintable(refusal.reason));
    QCOMPARE(back, records);
  }

  void loneSurrogateRefusedWithLineAndColumn() {
    for (const QString& bad : {QString(QChar(0xD800)), QString(QChar(0xDC00)) + u'x', u'a' + QString(QChar(0xD83D))}) {
      QByteArray csv;
      CsvRefusal refusal;
      QVERIFY(!RecordsToCsv({{"1", "ok"}, {"2", bad}}, CsvOptions{}, &csv, &refusal));
      QCOMPARE(refusal.line, 2);
      QVERIFY2(refusal.reason.startsWith(QStringLiteral("column 2:")), qPrintable(refusal.reason));
    }
  }

  void randomCellsAsTheGeneralWay() {
    QRandomGenerator rng(15);
    const char16_t pool[] = {u'a',  u'7',  u',',   u'"',   u'\n',  u'\r',  u' ',   0,      0xE9,
                             0x7FF, 0x800, 0x821E, 0xFFFD, 0xFFFF, 0xD83D, 0xDE00, 0xD800, 0xDFFF};
    for (int round = 0; round < 3000; ++round) {
      std::vector<QStringList> records;
      for (int r = int(rng.bounded(1, 6)); r > 0; --r) {
        QStringList cells;
        for (int c = int(rng.bounded(1, 8)); c > 0; --c) {
          QString cell;
          for (int k = int(rng.bounded(0, 6)); k > 0; --k) {
            // Surrogates mostly in pairs, now and then alone.
            const char16_t u = pool[rng.bounded(int(std::size(pool)))];
            cell += QChar(u);
            if (u == 0xD83D && rng.bounded(4) != 0) cell += QChar(0xDE00);
          }
          cells << cell;
        }
        records.push_back(cells);
      }
      int badLine = 0;
      const QByteArray want = expected(records, &badLine);
      QByteArray csv;
      CsvRefusal refusal;
      const bool ok = RecordsToCsv(records, CsvOptions{}, &csv, &refusal);
      QCOMPARE(ok, !want.isNull());
      if (ok)
        QCOMPARE(csv, want);
      else
        QCOMPARE(refusal.line, badLine);
    }
  }
};

QTEST_GUILESS_MAIN(CsvWriterTest)
#include "test_csv_writer.moc"
