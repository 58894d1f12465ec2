// CSV through the command-line tool: encodings, byte order mark, header
// lines, the refusals, and the four standalone tables.
#include <QProcess>
#include <QtTest>

#include "TestSupport.h"
#include "tools/Csv.h"
#include "tools/CsvTable.h"

using namespace v3;
using namespace v3test;

class CliCsvTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString folder_;

  QString csvFile(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    return WriteFile(path, bytes) ? path : QString();
  }

 private slots:
  void initTestCase() {
    if (qgetenv("V3_CLI").isEmpty()) QSKIP("V3_CLI is set by CTest");
    folder_ = dir_.filePath("data");
    QCOMPARE(RunCli({"sample", folder_, "--seed", "3", "--records", "12"}).code, 0);
    // A save leaves a .bak; every refusal below must leave both alone.
    const CliRun e = RunCli({"export", folder_, "Team.dat"});
    QCOMPARE(RunCli({"import", folder_, "Team.dat", csvFile("first.csv", e.out)}).code, 0);
    QVERIFY(QFile::exists(folder_ + "/Team.dat.bak"));
  }

  void refusalsLeaveTheTableAlone_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");
    const QByteArray row = "1,A,0,0,0,0,0,0,0,0,0\r\n";
    QTest::newRow("empty file") << QByteArray() << QStringList{} << "no records";
    QTest::newRow("only a byte order mark") << QByteArray("\xEF\xBB\xBF") << QStringList{} << "no records";
    QTest::newRow("only line ends") << QByteArray("") << QStringList{} << "no records";
    QTest::newRow("stray byte in UTF-8") << row + "2,B\xFF,0,0,0,0,0,0,0,0,0\r\n"
                                         << QStringList{}
                                         << "line 2: byte 4 (offset 26 in the file): 0xFF is not valid UTF-8";
    QTest::newRow("cut UTF-8 sequence at the end") << row + "3,\xE4\xB8" << QStringList{} << "line 2: byte 3";
    QTest::newRow("overlong UTF-8") << QByteArray("1,\xC0\xAF,0,0,0,0,0,0,0,0,0\n") << QStringList{}
                                    << "line 1: byte 3";
    QTest::newRow("GBK read as UTF-8") << QByteArray("1,\xD6\xD0\xCE\xC4,0,0,0,0,0,0,0,0,0\n") << QStringList{}
                                       << "0xD6";
    QTest::newRow("bad GBK lead byte") << row + row + "2,\x81\x20,0,0,0,0,0,0,0,0,0\n"
                                       << QStringList{"--encoding", "gbk"} << "line 3: byte 3";
    QTest::newRow("bad GBK trail byte") << QByteArray("1,\xD6\x0A") << QStringList{"--encoding=GBK"} << "line 1";
    QTest::newRow("bad Big5 trail byte") << QByteArray("1,\xA4\x20,0,0,0,0,0,0,0,0,0\n")
                                         << QStringList{"--encoding", "big5"} << "not valid Big5";
    QTest::newRow("UTF-8 byte order mark but GBK")
        << QByteArray("\xEF\xBB\xBF") + row << QStringList{"--encoding", "gbk"} << "byte order mark";
    QTest::newRow("header line only")
        << QByteArray("编号,团体名称,成员1,成员2,成员3,成员4,人气,未知属性1,未知属性2,未知属性3,通告数量\n")
        << QStringList{} << "no records";
    QTest::newRow("field count on a later line") << row + "\"x\ny\",1\n" << QStringList{} << "line 2: 2 fields";
  }
  void refusalsLeaveTheTableAlone() {
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    const QByteArray before = ReadFile(folder_ + "/Team.dat");
    const QByteArray bak = ReadFile(folder_ + "/Team.dat.bak");
    const CliRun r = RunCli(QStringList{"import", folder_, "Team.dat", csvFile("bad.csv", csv)} + options);
    QCOMPARE(r.code, 3);
    QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
    QCOMPARE(ReadFile(folder_ + "/Team.dat"), before);
    QCOMPARE(ReadFile(folder_ + "/Team.dat.bak"), bak);
  }

  // A cell of the first record replaced: the control characters that no
  // text field holds are refused where the cell is written, naming the row,
  // the column and the character; a line break only in a description.
  void controlCharactersInCells_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cell");     // as the CSV carries it
    QTest::addColumn<QString>("refusal");  // the character named, empty: saved (and exported as given)
    const QString nul(QChar(0));
    QTest::newRow("NUL in a name") << "CDCase.dat" << 2 << "ab" + nul + "cd"
                                   << "U+0000";
    QTest::newRow("escaped zero byte in a name") << "CDCase.dat" << 2 << "ab\\x00cd"
                                                 << "U+0000";
    QTest::newRow("SOH in a name") << "CDCase.dat" << 2
                                   << "a\x01"
                                      "b"
                                   << "U+0001";
    QTest::newRow("ESC in a description") << "CDCase.dat" << 13
                                          << "a\x1b"
                                             "b"
                                          << "U+001B";
    QTest::newRow("DEL in a name") << "CDCase.dat" << 2
                                   << "a\x7f"
                                      "b"
                                   << "U+007F";
    QTest::newRow("LF in a name") << "CDCase.dat" << 2 << "a\nb"
                                  << "U+000A";
    QTest::newRow("CR in a name") << "CDCase.dat" << 2 << "a\rb"
                                  << "U+000D";
    QTest::newRow("NUL in an item's description") << "Item.dat" << 31 << "a" + nul << "U+0000";
    QTest::newRow("SOH in a constellation's name") << "Constellation.tab" << 1 << "\x01"
                                                   << "U+0001";
    QTest::newRow("tab in a name") << "CDCase.dat" << 2 << "a\tb"
                                   << "";
    QTest::newRow("line breaks in a description") << "CDCase.dat" << 13 << "first\r\nsecond\nthird"
                                                  << "";
    QTest::newRow("line break in an item's description") << "Item.dat" << 32 << "a\r\nb"
                                                         << "";
    QTest::newRow("escaped zero byte in a code") << "CDCase.dat" << 1 << "A\\x00B"
                                                 << "";
  }
  void controlCharactersInCells() {
    QFETCH(QString, table);
    QFETCH(int, column);
    QFETCH(QString, cell);
    QFETCH(QString, refusal);
    QTemporaryDir d;
    QCOMPARE(RunCli({"sample", d.path(), "--seed", "5", "--records", "6"}).code, 0);
    std::vector<QStringList> rows;
    int line = 0;
    QString reason;
    QVERIFY(ParseCsv(RunCli({"export", d.path(), table}).out, &rows, &line, &reason));
    rows[0][column - 1] = cell;
    QByteArray csv;
    for (const QStringList& r : rows) csv += CsvLine(r);
    const QString file = d.filePath(table);
    const QByteArray before = ReadFile(file);
    const CliRun i = RunCli({"import", d.path(), table, csvFile("cc.csv", csv)});
    const QString err = QString::fromUtf8(i.err);
    if (refusal.isEmpty()) {
      QVERIFY2(i.code == 0, i.err.constData());
      QVERIFY(ParseCsv(RunCli({"export", d.path(), table}).out, &rows, &line, &reason));
      QCOMPARE(rows[0][column - 1], cell);
      return;
    }
    QCOMPARE(i.code, 3);
    QVERIFY2(err.contains(refusal), i.err.constData());
    // Named by the line of the user's file and the record's name (left out
    // when it is the cell refused).
    if (!table.endsWith(".tab"))
      QVERIFY2(err.contains(QRegularExpression(QStringLiteral("line 1( \\([^)]+\\))?, column %1 ").arg(column))),
               i.err.constData());
    QCOMPARE(ReadFile(file), before);
  }

  // A control character that the text as read holds came from the file:
  // an edit of the text keeps it; another one is refused.
  void controlCharacterFromTheFileStays_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("code");
    QTest::newRow("the file's own") << QByteArray(
                                           "a\x01"
                                           "bc")
                                    << 0;
    QTest::newRow("another") << QByteArray(
                                    "a\x02"
                                    "b")
                             << 3;
  }
  void controlCharacterFromTheFileStays() {
    QFETCH(QByteArray, name);
    QFETCH(int, code);
    QTemporaryDir d;
    QByteArray record = Le(1, 4) +
                        "a\x01"
                        "b";
    record.resize(60, '\0');
    QVERIFY(WriteFile(d.filePath("Team.dat"), Header(1, 60) + record));
    const CliRun i = RunCli({"import", d.path(), "Team.dat", csvFile("f.csv", "1," + name + ",0,0,0,0,0,0,0,0,0\r\n")});
    QVERIFY2(i.code == code, i.err.constData());
    if (code == 0)
      QCOMPARE(ReadFile(d.filePath("Team.dat")).mid(16, 5), QByteArray("a\x01"
                                                                       "bc\0",
                                                                       5));
  }

  // A CSV of more records than a table holds is refused at the first record
  // too many, and nothing after it is read: the faults further on go unseen.
  void tooManyRecordsStopTheReading_data() {
    QTest::addColumn<bool>("header");
    QTest::newRow("records only") << false;
    QTest::newRow("after a header line") << true;
  }
  void tooManyRecordsStopTheReading() {
    QFETCH(bool, header);
    QByteArray csv;
    if (header)
      csv += QStringLiteral("编号,团体名称,成员1,成员2,成员3,成员4,人气,未知属性1,未知属性2,未知属性3,通告数量\r\n")
                 .toUtf8();
    for (int r = 1; r <= 40000; ++r) {
      if (r == 35000)
        csv += "1,\"not closed\r\n";
      else if (r == 36000)
        csv += "2,\xFF,0\r\n";
      else
        csv += QByteArray::number(r) + ",T,0,0,0,0,0,0,0,0,0\r\n";
    }
    const QByteArray before = ReadFile(folder_ + "/Team.dat");
    const CliRun i = RunCli({"import", folder_, "Team.dat", csvFile("many.csv", csv)});
    QCOMPARE(i.code, 3);
    QVERIFY2(
        i.err.startsWith(dir_.filePath("many.csv").toUtf8() + ": line " + QByteArray::number(header ? 32769 : 32768) +
                         ": " + QStringLiteral("记录过多：最多 32767 条").toUtf8()),
        i.err.constData());
    QVERIFY2(!i.err.contains("not closed") && !i.err.contains("0xFF"), i.err.constData());
    QCOMPARE(ReadFile(folder_ + "/Team.dat"), before);
  }

  void allowEmptyEmptiesTheTable() {
    QTemporaryDir d;
    QCOMPARE(RunCli({"sample", d.path(), "--records", "3"}).code, 0);
    const QString empty = csvFile("empty.csv", QByteArray());
    // Without it, the refusal says how; a file refused for what is in it does not.
    const CliRun refused = RunCli({"import", d.path(), "Producer.tab", empty});
    QCOMPARE(refused.code, 3);
    QVERIFY2(refused.err.contains("--allow-empty"), refused.err.constData());
    const CliRun damaged = RunCli({"import", d.path(), "Producer.tab", csvFile("cut.xlsx", "PK\x03\x04 cut short")});
    QCOMPARE(damaged.code, 3);
    QVERIFY2(damaged.err.contains("not a readable ZIP archive") && !damaged.err.contains("--allow-empty"),
             damaged.err.constData());
    QCOMPARE(RunCli({"import", d.path(), "Producer.tab", empty, "--allow-empty"}).code, 0);
    QCOMPARE(RunCli({"export", d.path(), "Producer.tab"}).out, QByteArray());
  }

  void encodingsRoundTrip_data() {
    QTest::addColumn<QStringList>("options");
    QTest::newRow("utf-8") << QStringList{};
    QTest::newRow("utf-8, bom, header") << QStringList{"--bom", "--header"};
    QTest::newRow("gbk") << QStringList{"--encoding", "gbk"};
    QTest::newRow("gbk, header") << QStringList{"--encoding", "gbk", "--header"};
    QTest::newRow("big5") << QStringList{"--encoding", "big5"};
    QTest::newRow("big5, header, traditional") << QStringList{"--encoding", "big5", "--header", "--locale", "1028"};
  }
  void encodingsRoundTrip() {
    QFETCH(QStringList, options);
    for (const char* table : {"Team.dat", "StarRole.dat", "Item.dat", "Producer.tab"}) {
      const QString path = folder_ + "/" + table;
      const QByteArray before = ReadFile(path);
      const CliRun e = RunCli(QStringList{"export", folder_, table} + options);
      QCOMPARE(e.code, 0);
      QCOMPARE(e.out.startsWith("\xEF\xBB\xBF"), options.contains("--bom"));
      QStringList importOptions = options;
      importOptions.removeAll("--bom");
      importOptions.removeAll("--header");
      const CliRun i = RunCli(QStringList{"import", folder_, table, csvFile("rt.csv", e.out)} + importOptions);
      QVERIFY2(i.code == 0, i.err.constData());
      QCOMPARE(ReadFile(path), before);
    }
  }

  void encodingsDecodeTheirBytes_data() {
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QByteArray>("name");  // 中文 in the encoding
    QTest::newRow("gbk") << "gbk" << QByteArray("\xD6\xD0\xCE\xC4");
    QTest::newRow("big5") << "big5" << QByteArray("\xA4\xA4\xA4\xE5");
    QTest::newRow("utf-8") << "utf-8" << QByteArray("\xE4\xB8\xAD\xE6\x96\x87");
  }
  void encodingsDecodeTheirBytes() {
    QFETCH(QString, encoding);
    QFETCH(QByteArray, name);
    QTemporaryDir d;
    QVERIFY(WriteFile(d.filePath("Team.dat"), Header(0, 60)));
    const QString csv = csvFile("enc.csv", "1," + name + ",0,0,0,0,0,0,0,0,0\r\n");
    QCOMPARE(RunCli({"--locale", "1028", "import", d.path(), "Team.dat", csv, "--encoding", encoding}).code, 0);
    const CliRun utf8 = RunCli({"export", d.path(), "Team.dat"});
    QVERIFY2(utf8.out.startsWith(QStringLiteral("1,中文,").toUtf8()), utf8.out.constData());
    QCOMPARE(RunCli({"export", d.path(), "Team.dat", "--encoding", encoding}).out.left(2 + name.size()), "1," + name);
  }

  void headerLines() {
    const CliRun plain = RunCli({"export", folder_, "Team.dat"});
    const CliRun simplified = RunCli({"--locale", "2052", "export", folder_, "Team.dat", "--header"});
    const CliRun traditional = RunCli({"--locale", "1028", "export", folder_, "Team.dat", "--header"});
    QVERIFY(simplified.out.startsWith(QStringLiteral("编号,团体名称,成员1,").toUtf8()));
    QVERIFY(traditional.out.startsWith(QStringLiteral("編號,團體名稱,成員1,").toUtf8()));
    QCOMPARE(simplified.out.mid(simplified.out.indexOf('\n') + 1), plain.out);
    // Either script's header is recognised and skipped, whatever the locale.
    const QByteArray before = ReadFile(folder_ + "/Team.dat");
    for (const CliRun* e : {&simplified, &traditional})
      for (const char* locale : {"2052", "1028"}) {
        const CliRun i = RunCli({"--locale", locale, "import", folder_, "Team.dat", csvFile("h.csv", e->out)});
        QVERIFY2(i.code == 0, i.err.constData());
        QCOMPARE(ReadFile(folder_ + "/Team.dat"), before);
      }
    // A header line that a spreadsheet padded with blanks is a header still.
    QByteArray padded = simplified.out;
    padded.replace("编号,", " 编号 ,");
    QCOMPARE(RunCli({"import", folder_, "Team.dat", csvFile("p.csv", padded)}).code, 0);
    QCOMPARE(ReadFile(folder_ + "/Team.dat"), before);
  }

  void exportRefusesWhatTheEncodingCannotHold() {
    QByteArray csv;
    CsvRefusal refusal;
    CsvOptions gbk;
    gbk.encoding = TextEncoding::Gbk;
    QVERIFY(!RecordsToCsv({{"1", "a"}, {"2", QStringLiteral("x\U0001F600")}}, gbk, &csv, &refusal));
    QCOMPARE(refusal.line, 2);
    QVERIFY2(refusal.reason.contains("column 2") && refusal.reason.contains("U+1F600"), qPrintable(refusal.reason));
    gbk.header = QStringList{"h1", "h2"};
    QVERIFY(!RecordsToCsv({{"1", "a"}, {"2", QStringLiteral("\U0001F600")}}, gbk, &csv, &refusal));
    QCOMPARE(refusal.line, 3);
  }

  // A first cell that starts with U+FEFF (behind an escaped NUL, too) is
  // not taken for a byte order mark when the CSV is read back.
  void leadingFeffCellSurvives() {
    for (const QString& first : {QStringLiteral("\uFEFFa"), QString(QChar(0)) + QChar(0xFEFF)}) {
      QByteArray csv;
      CsvRefusal refusal;
      QVERIFY(RecordsToCsv({{first, "b"}}, CsvOptions{}, &csv, &refusal));
      std::vector<QStringList> back;
      QVERIFY2(CsvToRecords(csv, 2, "t", &back, &refusal), qPrintable(refusal.reason));
      QCOMPARE(back.size(), size_t(1));
      QCOMPARE(back[0][0], first);
    }
  }

  void usage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("unknown encoding") << QStringList{"export", folder_, "Team.dat", "--encoding", "latin1"};
    QTest::newRow("encoding without value") << QStringList{"export", folder_, "Team.dat", "--encoding"};
    QTest::newRow("bom with gbk") << QStringList{"export", folder_, "Team.dat", "--bom", "--encoding", "gbk"};
    QTest::newRow("allow-empty on export") << QStringList{"export", folder_, "Team.dat", "--allow-empty"};
    QTest::newRow("unknown option") << QStringList{"import", folder_, "Team.dat", "x.csv", "--force"};
  }
  void usage() {
    QFETCH(QStringList, args);
    const CliRun r = RunCli(args);
    QCOMPARE(r.code, 2);
    QVERIFY(!r.err.isEmpty());
  }

  void standaloneTablesRoundTrip_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("columns");
    QTest::newRow("Constellation") << "Constellation.tab" << 12 << 3;
    QTest::newRow("Difficulty") << "difficulty.TAB" << 5 << 8;
    QTest::newRow("Level") << "Level.tab" << 9 << 1;
    QTest::newRow("Length") << "Length.tab" << 36 << 3;
  }
  void standaloneTablesRoundTrip() {
    QFETCH(QString, table);
    QFETCH(int, records);
    QFETCH(int, columns);
    QTemporaryDir d;
    QCOMPARE(RunCli({"sample", d.path(), "--seed", "9"}).code, 0);
    QString file;
    for (const QString& f : QDir(d.path()).entryList(QDir::Files))
      if (f.compare(table, Qt::CaseInsensitive) == 0) file = d.filePath(f);
    // Bytes a load does not show (unused slot bytes, a name's tail after its
    // six bytes) survive an import.
    QByteArray bytes = ReadFile(file);
    bytes.append("\x01\x02\x03", 3);
    bytes[10] = char(0x7F);
    QVERIFY(WriteFile(file, bytes));

    for (const QStringList& options :
         {QStringList{}, QStringList{"--header"}, QStringList{"--encoding", "big5", "--header"}}) {
      const CliRun e = RunCli(QStringList{"export", d.path(), table} + options);
      QCOMPARE(e.code, 0);
      QCOMPARE(e.out.count('\n'), records + (options.contains("--header") ? 1 : 0));
      QCOMPARE(e.out.left(e.out.indexOf('\r')).count(',') + 1, columns);
      QStringList importOptions = options;
      importOptions.removeAll("--header");
      const CliRun i = RunCli(QStringList{"import", d.path(), table, csvFile("s.csv", e.out)} + importOptions);
      QVERIFY2(i.code == 0, i.err.constData());
      QCOMPARE(ReadFile(file), bytes);
      QCOMPARE(ReadFile(file + ".bak"), bytes);
    }
    const CliRun c = RunCli({"check", d.path(), table});
    QCOMPARE(c.code, 0);
    QVERIFY2(c.out.contains(QStringLiteral(": identical (%1 records)").arg(records).toUtf8()), c.out.constData());
  }

  void standaloneImportChangesOnlyItsValue() {
    QTemporaryDir d;
    QCOMPARE(RunCli({"sample", d.path()}).code, 0);
    const QByteArray before = ReadFile(d.filePath("Level.tab"));
    QByteArray csv = RunCli({"export", d.path(), "Level.tab"}).out;
    QList<QByteArray> lines = csv.split('\n');
    lines[3] = "650\r";
    const CliRun i = RunCli({"import", d.path(), "Level.tab", csvFile("lv.csv", lines.join('\n'))});
    QCOMPARE(i.code, 0);
    QByteArray want = before;
    want.replace(12, 4, Le(650, 4));
    QCOMPARE(ReadFile(d.filePath("Level.tab")), want);
    QCOMPARE(ReadFile(d.filePath("Level.tab.bak")), before);
  }

  void standaloneRefusals_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<QString>("message");
    QTest::newRow("Level: not a number") << "Level.tab" << 2 << QByteArray("abc\r") << "ability value 3";
    QTest::newRow("Level: too many records") << "Level.tab" << 2 << QByteArray("1\r\n2\r") << "10 records";
    QTest::newRow("Constellation: month out of range")
        << "Constellation.tab" << 0 << QByteArray("AB,300,1\r") << "start month of constellation 1";
    QTest::newRow("Constellation: name too long")
        << "Constellation.tab" << 1 << QByteArray("名稱太長太長太長太長,1,1\r") << "bytes";
    QTest::newRow("Difficulty: too few fields") << "Difficulty.tab" << 4 << QByteArray("1,2,3\r") << "line 5";
    QTest::newRow("Length: empty value") << "Length.tab" << 35 << QByteArray("1,,3\r") << "the value is empty";
  }
  void standaloneRefusals() {
    QFETCH(QString, table);
    QFETCH(int, line);
    QFETCH(QByteArray, replacement);
    QFETCH(QString, message);
    QTemporaryDir d;
    QCOMPARE(RunCli({"sample", d.path()}).code, 0);
    const QString file = d.filePath(table);
    QVERIFY(WriteFile(file + ".bak", "old backup"));
    const QByteArray before = ReadFile(file);
    QList<QByteArray> lines = RunCli({"export", d.path(), table}).out.split('\n');
    lines[line] = replacement;
    const CliRun i = RunCli({"import", d.path(), table, csvFile("bad.csv", lines.join('\n'))});
    QCOMPARE(i.code, 3);
    QVERIFY2(QString::fromUtf8(i.err).contains(message), i.err.constData());
    QCOMPARE(ReadFile(file), before);
    QCOMPARE(ReadFile(file + ".bak"), QByteArray("old backup"));
  }

  void checkCoversTheStandaloneTables() {
    const CliRun c = RunCli({"check", folder_});
    QCOMPARE(c.code, 0);
    for (const char* t : {"Constellation.tab", "Difficulty.tab", "Level.tab", "Length.tab"})
      QVERIFY2(c.out.contains(QByteArray(t) + ": identical"), c.out.constData());
    // A Length.tab whose record size lets its values overlap cannot be saved.
    QTemporaryDir d;
    QVERIFY(WriteFile(d.filePath("Length.tab"), Header(36, 2) + QByteArray(200, '\0')));
    const CliRun bad = RunCli({"check", d.path(), "Length.tab"});
    QCOMPARE(bad.code, 1);
    QVERIFY2(bad.out.contains("would be refused"), bad.out.constData());
  }
};

QTEST_GUILESS_MAIN(CliCsvTest)
#include "test_cli_csv.moc"
