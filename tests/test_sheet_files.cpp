// CSV files as spreadsheet users hand them back: written by another program
// (Python's csv module, with each delimiter, with the spreadsheet-safe cells
// kept or turned back into values), with blank rows, cut short, re-sorted,
// with repeated record numbers, and with edits the save cannot store.
#include <QtTest>

#include "TestSupport.h"
#include "tools/Csv.h"
#include "tools/CsvTable.h"

using namespace v3;
using namespace v3test;

namespace {

// Changes one cell the way a user in a spreadsheet would: the last cell of
// the second record that holds an integer (from column `first` on) is moved
// by one, and the file is written back by Python's csv module with the
// delimiter. "values" turns the ="…" cells into their text first, as a
// spreadsheet program saves them.
const char kEditor[] =
    "import csv, sys\n"
    "src, dst, delim, first, mode = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5]\n"
    "delim = '\\t' if delim == 'tab' else delim\n"
    "with open(src, newline='', encoding='utf-8') as f:\n"
    "    rows = list(csv.reader(f, delimiter=delim))\n"
    "if mode == 'values':\n"
    "    rows = [[c[2:-1].replace('\"\"', '\"') if c.startswith('=\"') and c.endswith('\"') else c for c in r] for r in rows]\n"
    "row = rows[1]\n"
    "for c in range(len(row) - 1, first - 2, -1):\n"
    "    try:\n"
    "        v = int(row[c])\n"
    "    except ValueError:\n"
    "        continue\n"
    "    row[c] = str(v - 1 if v > 0 else v + 1)\n"
    "    print(c + 1)\n"
    "    break\n"
    "with open(dst, 'w', newline='', encoding='utf-8') as f:\n"
    "    csv.writer(f, delimiter=delim, lineterminator='\\r\\n').writerows(rows)\n";

}  // namespace

class SheetFilesTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString sample_;
  QString python_ = QStringLiteral("/usr/bin/python3");  // Debian's, whatever PATH says

  QString copyOfSample(const QString& name) {
    const QString to = dir_.filePath(name);
    QDir(to).removeRecursively();
    QDir().mkpath(to);
    for (const QString& f : QDir(sample_).entryList(QDir::Files)) QFile::copy(sample_ + "/" + f, to + "/" + f);
    return to;
  }
  QString file(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    return WriteFile(path, bytes) ? path : QString();
  }

 private slots:
  void initTestCase() {
    if (qgetenv("V3_CLI").isEmpty()) QSKIP("V3_CLI is set by CTest");
    if (!QFile::exists(python_)) QSKIP("no /usr/bin/python3");
    sample_ = dir_.filePath("sample");
    QCOMPARE(RunCli({"sample", sample_, "--seed", "4", "--records", "6"}).code, 0);
  }

  // Export, one cell changed by Python's csv module, import: the table then
  // differs from the sample in that one cell and nowhere else.
  void oneCellThroughAnotherWriter_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("exportOptions");
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<QString>("mode");
    const QByteArray list = RunCli({"tables"}).out;
    for (const QByteArray& line : list.split('\n')) {
      const QString table = QString::fromUtf8(line.left(line.indexOf('\t')));
      if (!table.contains(u'.') || line.contains("read-only")) continue;
      QTest::addRow("%s, comma", qPrintable(table)) << table << QStringList{} << "," << "";
      QTest::addRow("%s, semicolon", qPrintable(table)) << table << QStringList{"--delimiter", ";"} << ";" << "";
      QTest::addRow("%s, tab, header", qPrintable(table)) << table << QStringList{"--delimiter", "tab", "--header"}
                                                         << "tab" << "";
      QTest::addRow("%s, spreadsheet-safe kept", qPrintable(table))
          << table << QStringList{"--spreadsheet-safe"} << "," << "";
      QTest::addRow("%s, spreadsheet-safe as values, semicolon", qPrintable(table))
          << table << QStringList{"--spreadsheet-safe", "--delimiter", ";"} << ";" << "values";
    }
  }
  void oneCellThroughAnotherWriter() {
    QFETCH(QString, table);
    QFETCH(QStringList, exportOptions);
    QFETCH(QString, delimiter);
    QFETCH(QString, mode);
    const QString folder = copyOfSample(QStringLiteral("rt"));
    const CliRun e = RunCli(QStringList{"export", folder, table} + exportOptions);
    QVERIFY2(e.code == 0, e.err.constData());
    const QString in = file("sheet.csv", e.out), out = dir_.filePath("edited.csv");
    QProcess py;
    const bool standalone = QStringList{"Constellation.tab", "Difficulty.tab", "Level.tab", "Length.tab"}.contains(table);
    py.start(python_, {"-c", kEditor, in, out, delimiter, standalone ? "1" : table == "RichBa.tab" ? "3" : "2", mode.isEmpty() ? "keep" : mode});
    QVERIFY(py.waitForFinished(60000));
    QVERIFY2(py.exitCode() == 0, py.readAllStandardError().constData());
    const QByteArray column = py.readAllStandardOutput().trimmed();
    const CliRun i = RunCli({"import", folder, table, out});
    QVERIFY2(i.code == 0, i.err.constData());
    QVERIFY2(i.err.contains(column.isEmpty() ? ": 0 changed, 0 added, 0 removed, " : ": 1 changed, 0 added, 0 removed, "),
             i.err.constData());
    // One changed cell and nothing else: no other cell, no bytes outside the
    // fields (a changed sort key may move the record).
    const CliRun d = RunCli({"diff", sample_, folder, table, "--csv"});
    QCOMPARE(d.code, column.isEmpty() ? 0 : 1);
    QList<QByteArray> lines = d.out.trimmed().split('\n');
    lines.removeIf([](const QByteArray& l) { return l.contains(",reordered,"); });
    QVERIFY2(lines.size() == (column.isEmpty() ? 1 : 2), d.out.constData());
    if (!column.isEmpty()) QVERIFY2(lines[1].contains(",changed," + column + ","), d.out.constData());
  }

  // What the spreadsheet-safe export protects reads back as the text it was.
  void spreadsheetSafeCells_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("protectedCell");
    for (const char* c : {"007", "12345678901234567890", "1/2", "3e5", "=1+1", "-0", "1.50", " 5", "a\"b", "=\"x\""})
      QTest::newRow(c) << QString::fromUtf8(c) << true;
    for (const char* c : {"0", "-12", "123456789012345", ""}) QTest::newRow(c) << QString::fromUtf8(c) << false;
  }
  void spreadsheetSafeCells() {
    QFETCH(QString, cell);
    QFETCH(bool, protectedCell);
    CsvOptions safe;
    safe.spreadsheetSafe = true;
    safe.delimiter = u';';
    QByteArray csv;
    CsvRefusal refusal;
    QVERIFY(RecordsToCsv({{"1", cell}}, safe, &csv, &refusal));
    QCOMPARE(csv.contains("=\"\""), protectedCell);
    std::vector<QStringList> back;
    QVERIFY2(CsvToRecords(csv, 2, "t", &back, &refusal), qPrintable(refusal.reason));
    QCOMPARE(back, (std::vector<QStringList>{{"1", cell}}));
  }

  // Imports a CSV made from the sample's export by `edit`, then checks the
  // exit status, the message and whether the file kept its bytes.
  void importCases_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("sameBytes");
    QTest::newRow("blank rows and lines") << "Team.dat" << "blank" << QStringList{} << 0
                                          << "0 changed, 0 added, 0 removed, 6 unchanged (3 blank rows skipped)" << true;
    QTest::newRow("blank lines, Level") << "Level.tab" << "blank" << QStringList{} << 0 << "(2 blank rows skipped)" << true;
    QTest::newRow("cut after a row") << "Team.dat" << "truncate" << QStringList{} << 3
                                     << "would remove 5 records: give --allow-removal" << true;
    QTest::newRow("cut, --allow-removal") << "Team.dat" << "truncate" << QStringList{"--allow-removal"} << 0
                                          << "0 changed, 0 added, 5 removed, 1 unchanged" << false;
    QTest::newRow("cut, --dry-run") << "Team.dat" << "truncate" << QStringList{"--dry-run"} << 0
                                    << "an import needs --allow-removal" << true;
    QTest::newRow("cut, standalone") << "Length.tab" << "truncate" << QStringList{"--allow-removal"} << 3
                                     << "1 records, Length.tab has 36" << true;
    QTest::newRow("dropped column") << "Team.dat" << "drop" << QStringList{} << 3 << "10 fields, Team.dat has 11" << true;
    QTest::newRow("dropped column, semicolons") << "Item.dat" << "drop;" << QStringList{} << 3 << "fields" << true;
    QTest::newRow("reversed Level") << "Level.tab" << "reverse" << QStringList{} << 3 << "line 1: this row is record 9"
                                    << true;
    QTest::newRow("sorted Constellation") << "Constellation.tab" << "sort" << QStringList{} << 3 << "matched by position"
                                          << true;
    QTest::newRow("reversed Difficulty") << "Difficulty.tab" << "reverse" << QStringList{} << 3 << "record 5" << true;
    QTest::newRow("Active: name") << "Active.tab" << "cell 1 2 X" << QStringList{} << 3 << "line 2, column 2" << true;
    QTest::newRow("Active: size") << "Active.tab" << "cell 1 3 小型" << QStringList{} << 3 << "column 3" << true;
    QTest::newRow("Pression: person sought") << "Pression.tab" << "cell 0 3 丫" << QStringList{} << 3
                                             << "line 1, column 3" << true;
    QTest::newRow("Pression: pressure is written") << "Pression.tab" << "cell 0 4 9" << QStringList{} << 0
                                                   << "1 changed" << false;
    QTest::newRow("quote inside a field") << "Team.dat" << "cell 0 2 a\"b" << QStringList{} << 0 << "1 changed"
                                          << false;
    QTest::newRow("semicolons, given") << "Team.dat" << ";" << QStringList{"--delimiter", ";"} << 0 << "6 unchanged"
                                       << true;
    QTest::newRow("tabs, detected") << "Team.dat" << "\t" << QStringList{} << 0 << "6 unchanged" << true;
  }
  void importCases() {
    QFETCH(QString, table);
    QFETCH(QString, edit);
    QFETCH(QStringList, options);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(bool, sameBytes);
    const QString folder = copyOfSample(QStringLiteral("case"));
    const QByteArray before = ReadFile(folder + "/" + table);
    std::vector<QStringList> rows;
    int line = 0;
    QString reason;
    QVERIFY(ParseCsv(RunCli({"export", folder, table}).out, &rows, &line, &reason));
    QChar delimiter = u',';
    QByteArray tail;
    if (edit == "blank") tail = QByteArray(rows[0].size() - 1, ',') + "\r\n\r\n" + QByteArray(rows[0].size() - 1, ',');
    if (edit == "truncate") rows.resize(1);
    if (edit.startsWith("drop"))
      for (QStringList& r : rows) r.removeLast();
    if (edit == "reverse") std::reverse(rows.begin(), rows.end());
    if (edit == "sort") std::sort(rows.begin(), rows.end());
    if (edit.startsWith("cell")) rows[size_t(edit.section(u' ', 1, 1).toInt())][edit.section(u' ', 2, 2).toInt() - 1] = edit.section(u' ', 3);
    if (edit.endsWith(u';') || edit == "\t") delimiter = edit.back();
    QByteArray csv;
    for (const QStringList& r : rows) csv += CsvLineText(r, delimiter).toUtf8();
    if (edit == "cell 0 2 a\"b") csv.replace("\"a\"\"b\"", "a\"b");  // as a hand-written file has it
    const CliRun i = RunCli(QStringList{"import", folder, table, file("case.csv", csv + tail)} + options);
    QVERIFY2(i.code == code, i.err.constData());
    QVERIFY2(QString::fromUtf8(i.err).contains(message), i.err.constData());
    QCOMPARE(ReadFile(folder + "/" + table) == before, sameBytes);
  }

  // Records that share a number are told apart by their content: moved rows
  // keep their own bytes; rows that match none of them are refused.
  void repeatedNumbers() {
    const QString folder = copyOfSample(QStringLiteral("dup"));
    std::vector<QStringList> rows;
    int line = 0;
    QString reason;
    QVERIFY(ParseCsv(RunCli({"export", folder, "Team.dat"}).out, &rows, &line, &reason));
    rows[1][0] = rows[0][0];
    QByteArray csv;
    for (const QStringList& r : rows) csv += CsvLine(r);
    QCOMPARE(RunCli({"import", folder, "Team.dat", file("dup.csv", csv)}).code, 0);
    const QByteArray duplicated = ReadFile(folder + "/Team.dat");
    QVERIFY(ParseCsv(RunCli({"export", folder, "Team.dat"}).out, &rows, &line, &reason));
    std::swap(rows[0], rows[1]);
    csv.clear();
    for (const QStringList& r : rows) csv += CsvLine(r);
    const CliRun swapped = RunCli({"import", folder, "Team.dat", file("swap.csv", csv)});
    QVERIFY2(swapped.code == 0, swapped.err.constData());
    // The two records change places, each with its own bytes.
    auto records = [](const QByteArray& team) {
      QList<QByteArray> r;
      for (qsizetype at = 12; at < team.size(); at += 60) r << team.mid(at, 60);
      return r;
    };
    QList<QByteArray> want = records(duplicated);
    want.swapItemsAt(0, 1);
    QCOMPARE(records(ReadFile(folder + "/Team.dat")), want);
    rows[0][6] = "1";
    rows[1][6] = "2";
    csv.clear();
    for (const QStringList& r : rows) csv += CsvLine(r);
    const CliRun both = RunCli({"import", folder, "Team.dat", file("both.csv", csv)});
    QCOMPARE(both.code, 3);
    QVERIFY2(both.err.contains("line 1: Team.dat has several records numbered " + rows[0][0].toUtf8()), both.err.constData());
    QCOMPARE(records(ReadFile(folder + "/Team.dat")), want);
  }

  // A shorter sign name reads back as itself: the rest of the six bytes a
  // load reads are zeros.
  void shorterConstellationName() {
    const QString folder = copyOfSample(QStringLiteral("cons"));
    QByteArray csv = RunCli({"export", folder, "Constellation.tab"}).out;
    const qsizetype comma = csv.indexOf(',');
    csv.replace(0, comma, QStringLiteral("牛").toUtf8());
    QCOMPARE(RunCli({"import", folder, "Constellation.tab", file("c.csv", csv)}).code, 0);
    QVERIFY(RunCli({"export", folder, "Constellation.tab"}).out.startsWith(QStringLiteral("牛,").toUtf8()));
    QCOMPARE(ReadFile(folder + "/Constellation.tab").mid(12, 6), EncodeCodePage(QStringLiteral("牛"), 950) + QByteArray(4, '\0'));
  }
};

QTEST_GUILESS_MAIN(SheetFilesTest)
#include "test_sheet_files.moc"
