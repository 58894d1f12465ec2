// CSV files as spreadsheet users hand them back: written by another program
// (Python's csv module, with each delimiter, with the spreadsheet-safe cells
// kept or turned back into values), with blank rows, cut short, re-sorted,
// with repeated record numbers, and with edits the save cannot store.
#include <QtTest>

#include "TestSupport.h"
#include "tools/Csv.h"
#include "tools/CsvTable.h"
#include "tools/Workbook.h"

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
    "    rows = [[c[2:-1].replace('\"\"', '\"') if c.startswith('=\"') and c.endswith('\"') else c for c in r] for r "
    "in rows]\n"
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

// The same in a workbook, by openpyxl (load, change, save): "number" moves
// the last integer cell of the second record by one, "text" changes the last
// character of its last text cell (not in a column with a list), "blank"
// inserts an empty row and adds empty rows at the end. Prints the column.
const char kWorkbookEditor[] =
    "import openpyxl, sys\n"
    "src, dst, first, mode = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]\n"
    "wb = openpyxl.load_workbook(src)\n"
    "ws = wb.worksheets[0]\n"
    "listed = set()\n"
    "for dv in ws.data_validations.dataValidation:\n"
    "    if dv.type == 'list':\n"
    "        for rng in dv.sqref.ranges:\n"
    "            listed.update(range(rng.min_col, rng.max_col + 1))\n"
    "record = 3 if ws.freeze_panes == 'A2' else 2\n"
    "if mode == 'blank':\n"
    "    last = ws.max_row\n"
    "    ws.insert_rows(record)\n"
    "    ws.cell(row=last + 3, column=1).value = ''\n"
    "for cell in reversed(ws[record] if mode != 'blank' else ()):\n"
    "    v = cell.value\n"
    "    if cell.column < first or cell.column in listed:\n"
    "        continue\n"
    "    if mode == 'number' and type(v) is int:\n"
    "        cell.value = v - 1 if v > 0 else v + 1\n"
    "    elif mode == 'text' and type(v) is str and v and '\\\\' not in v:\n"
    "        c = v[-1]\n"
    "        cell.value = v[:-1] + (('Y' if c == 'Z' else 'Z') if ord(c) < 128 else ('\u4e8c' if c == '\u4e00' else "
    "'\u4e00'))\n"
    "    else:\n"
    "        continue\n"
    "    print(cell.column)\n"
    "    break\n"
    "wb.save(dst)\n";

// Loads a workbook with openpyxl and saves it again; prints the data type of
// cell B2 as openpyxl read it.
const char kWorkbookResave[] =
    "import openpyxl, sys\n"
    "wb = openpyxl.load_workbook(sys.argv[1])\n"
    "print(wb.worksheets[0]['B2'].data_type)\n"
    "wb.save(sys.argv[2])\n";

// A workbook's first sheet as openpyxl reads it, one line a row of its
// cells' values (tab-separated), after whether every part's CRC-32 checks.
const char kWorkbookValues[] =
    "import openpyxl, sys, zipfile\n"
    "print(zipfile.ZipFile(sys.argv[1]).testzip())\n"
    "ws = openpyxl.load_workbook(sys.argv[1], read_only=True).worksheets[0]\n"
    "for row in ws.iter_rows(values_only=True):\n"
    "    print('\\t'.join('' if v is None else str(v) for v in row))\n";

// A workbook made from scratch by openpyxl: header n,t, record 1 in A2, then
// the statement given (on the sheet `ws`).
const char kWorkbookFromScratch[] =
    "import openpyxl, sys\n"
    "wb = openpyxl.Workbook()\n"
    "ws = wb.active\n"
    "ws.append(['n', 't'])\n"
    "ws['A2'] = 1\n"
    "exec(sys.argv[2] if sys.argv[2] not in ('shared', 'ods') else '')\n"
    "wb.save(sys.argv[1])\n"
    "if sys.argv[2] == 'shared':\n"
    "    import zipfile\n"
    "    with zipfile.ZipFile(sys.argv[1]) as z:\n"
    "        parts = {n: z.read(n) for n in z.namelist()}\n"
    "    ns = b'xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"'\n"
    "    parts['xl/sharedStrings.xml'] = b'<sst ' + ns + b'><si><t>n</t></si><si><t>t</t></si><si><r><t>a</t></r>'"
    " b'<r><rPr><b/></rPr><t xml:space=\"preserve\"> b</t></r><rPh sb=\"0\" eb=\"1\"><t>PH</t></rPh></si></sst>'\n"
    "    parts['xl/worksheets/sheet1.xml'] = b'<worksheet ' + ns + b'><sheetData><row r=\"1\"><c r=\"A1\" "
    "t=\"s\"><v>0</v></c>'"
    " b'<c r=\"B1\" t=\"s\"><v>1</v></c></row><row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"B2\" t=\"s\"><v>2</v></c>'"
    " b'</row></sheetData></worksheet>'\n"
    "    parts['xl/_rels/workbook.xml.rels'] = parts['xl/_rels/workbook.xml.rels'].replace(b'</Relationships>',"
    " b'<Relationship Id=\"rId99\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>')\n"
    "    with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
    "        for n, b in parts.items():\n"
    "            z.writestr(n, b)\n"
    "if sys.argv[2] == 'ods':\n"
    "    import zipfile\n"
    "    t = 'urn:oasis:names:tc:opendocument:xmlns:'\n"
    "    rows = ('<table:table-row><table:table-cell "
    "office:value-type=\"string\"><text:p>n</text:p></table:table-cell>'\n"
    "            '<table:table-cell "
    "office:value-type=\"string\"><text:p>t</text:p></table:table-cell></table:table-row>'\n"
    "            '<table:table-row><table:table-cell office:value-type=\"float\" "
    "office:value=\"1\"><text:p>1</text:p>'\n"
    "            '</table:table-cell><table:table-cell office:value-type=\"string\"><text:p>x<text:s "
    "text:c=\"2\"/>y</text:p>'\n"
    "            "
    "'<text:p>z</text:p><office:annotation><text:p>note</text:p></office:annotation></table:table-cell></"
    "table:table-row>'\n"
    "            '<table:table-row table:number-rows-repeated=\"2\"><table:table-cell "
    "table:number-columns-repeated=\"2\"/></table:table-row>'\n"
    "            '<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"2\"/>'\n"
    "            '<table:table-cell office:value-type=\"float\" "
    "office:value=\"2.5\"><text:p>2,5</text:p></table:table-cell></table:table-row>'\n"
    "            '<table:table-row table:number-rows-repeated=\"1048570\"><table:table-cell "
    "table:number-columns-repeated=\"1024\"/></table:table-row>')\n"
    "    content = ('<office:document-content xmlns:office=\"' + t + 'office:1.0\" xmlns:table=\"' + t + 'table:1.0\" "
    "'\n"
    "               'xmlns:text=\"' + t + 'text:1.0\"><office:body><office:spreadsheet><table:table "
    "table:name=\"t\">'\n"
    "               + rows + '</table:table></office:spreadsheet></office:body></office:document-content>')\n"
    "    with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
    "        z.writestr('mimetype', 'application/vnd.oasis.opendocument.spreadsheet')\n"
    "        z.writestr('content.xml', content)\n";

// Spoils an exported workbook: cut in half, a byte flipped in a stored part,
// a part that unpacks to 300 MiB, malformed XML, a row outside the sheet, a
// document type declaration, an archive of something else.
const char kWorkbookSpoiler[] =
    "import zipfile, sys\n"
    "src, dst, how = sys.argv[1:4]\n"
    "data = open(src, 'rb').read()\n"
    "if how == 'cut':\n"
    "    open(dst, 'wb').write(data[:len(data) // 2])\n"
    "    sys.exit()\n"
    "with zipfile.ZipFile(src) as z:\n"
    "    parts = {n: z.read(n) for n in z.namelist()}\n"
    "sheet = 'xl/worksheets/sheet1.xml'\n"
    "ns = b'<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">'\n"
    "if how == 'xml':\n"
    "    parts['xl/workbook.xml'] = b'<workbook><sheets><sheet name=\"a\"'\n"
    "if how == 'rows':\n"
    "    parts[sheet] = ns + b'<sheetData><row r=\"2000000\"><c><v>1</v></c></row></sheetData></worksheet>'\n"
    "if how == 'cell':\n"
    "    parts[sheet] = ns + b'<sheetData><row r=\"1\"><c r=\"B1\"><v>1</v></c><c "
    "r=\"A1\"><v>2</v></c></row></sheetData></worksheet>'\n"
    "if how == 'dtd':\n"
    "    parts[sheet] = b'<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY a \"aaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>' "
    "+ ns + b'<sheetData><row><c t=\"inlineStr\"><is><t>&b;</t></is></c></row></sheetData></worksheet>'\n"
    "if how == 'other':\n"
    "    parts = {'hello.txt': b'hello'}\n"
    "method = zipfile.ZIP_STORED if how == 'flip' else zipfile.ZIP_DEFLATED\n"
    "with zipfile.ZipFile(dst, 'w', method) as z:\n"
    "    for n, b in parts.items():\n"
    "        if how == 'bomb' and n == sheet:\n"
    "            with z.open(n, 'w') as f:\n"
    "                for i in range(300):\n"
    "                    f.write(b' ' * (1 << 20))\n"
    "        else:\n"
    "            z.writestr(n, b)\n"
    "if how == 'flip':\n"
    "    data = bytearray(open(dst, 'rb').read())\n"
    "    at = data.index(b'<sheetData>') + 40\n"
    "    data[at] ^= 0x01\n"
    "    open(dst, 'wb').write(data)\n";

// What openpyxl sees of a workbook's layout, one line each: the sheets and
// their states; the frozen cell; per cell of the first data row its type,
// number format and boldness (and the header's); the columns' widths; the
// data validations.
const char kWorkbookLayout[] =
    "import openpyxl, sys\n"
    "wb = openpyxl.load_workbook(sys.argv[1])\n"
    "ws = wb.worksheets[0]\n"
    "print(' '.join('%s:%s' % (w.title, w.sheet_state) for w in wb.worksheets))\n"
    "print(ws.freeze_panes)\n"
    "for row in ws.iter_rows(min_row=1, max_row=2):\n"
    "    print(' '.join('%s/%s/%s/%s' % (c.value, c.data_type, c.number_format, int(bool(c.font.b))) for c in row))\n"
    "print(' '.join('%s=%g' % (k, d.width) for k, d in sorted(ws.column_dimensions.items())))\n"
    "for dv in ws.data_validations.dataValidation:\n"
    "    print(dv.type, dv.errorStyle or 'stop', dv.sqref, dv.formula1, dv.formula2)\n"
    "if len(wb.worksheets) > 1:\n"
    "    print([[c.value for c in r] for r in wb.worksheets[1].iter_rows()])\n";

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
      QTest::addRow("%s, comma", qPrintable(table)) << table << QStringList{} << ","
                                                    << "";
      QTest::addRow("%s, semicolon", qPrintable(table)) << table << QStringList{"--delimiter", ";"} << ";"
                                                        << "";
      QTest::addRow("%s, tab, header", qPrintable(table))
          << table << QStringList{"--delimiter", "tab", "--header"} << "tab"
          << "";
      QTest::addRow("%s, spreadsheet-safe kept", qPrintable(table)) << table << QStringList{"--spreadsheet-safe"} << ","
                                                                    << "";
      QTest::addRow("%s, spreadsheet-safe as values, semicolon", qPrintable(table))
          << table << QStringList{"--spreadsheet-safe", "--delimiter", ";"} << ";"
          << "values";
      // A workbook through openpyxl: a number cell, and a text cell where the
      // save writes one (Active.tab and Pression.tab keep their names).
      QTest::addRow("%s, xlsx number", qPrintable(table)) << table << QStringList{"--format", "xlsx"} << ""
                                                          << "number";
      if (table != "Active.tab" && table != "Pression.tab")
        QTest::addRow("%s, xlsx text", qPrintable(table)) << table << QStringList{"--format", "xlsx"} << ""
                                                          << "text";
    }
    QTest::addRow("Team.dat, xlsx blank rows") << "Team.dat" << QStringList{"--format", "xlsx"} << ""
                                               << "blank";
  }
  void oneCellThroughAnotherWriter() {
    QFETCH(QString, table);
    QFETCH(QStringList, exportOptions);
    QFETCH(QString, delimiter);
    QFETCH(QString, mode);
    const QString folder = copyOfSample(QStringLiteral("rt"));
    const CliRun e = RunCli(QStringList{"export", folder, table} + exportOptions);
    QVERIFY2(e.code == 0, e.err.constData());
    const bool workbook = exportOptions.contains("xlsx");
    const QString in = file(workbook ? "sheet.xlsx" : "sheet.csv", e.out),
                  out = dir_.filePath(workbook ? "edited.xlsx" : "edited.csv");
    QProcess py;
    const bool standalone =
        QStringList{"Constellation.tab", "Difficulty.tab", "Level.tab", "Length.tab"}.contains(table);
    const QString first = standalone ? "1" : table == "RichBa.tab" ? "3" : "2";
    if (workbook)
      py.start(python_, {"-c", kWorkbookEditor, in, out, first, mode});
    else
      py.start(python_, {"-c", kEditor, in, out, delimiter, first, mode.isEmpty() ? "keep" : mode});
    QVERIFY(py.waitForFinished(60000));
    QVERIFY2(py.exitCode() == 0, py.readAllStandardError().constData());
    const QByteArray column = py.readAllStandardOutput().trimmed();
    const CliRun i = RunCli({"import", folder, table, out});
    QVERIFY2(i.code == 0, i.err.constData());
    QVERIFY2(
        i.err.contains(column.isEmpty() ? ": 0 changed, 0 added, 0 removed, " : ": 1 changed, 0 added, 0 removed, "),
        i.err.constData());
    if (mode == "blank") QVERIFY2(i.err.contains("(3 blank rows skipped)"), i.err.constData());
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

  // Text cells that a spreadsheet would turn into numbers, dates or
  // formulas stay text cells through openpyxl's load and save, and read back
  // as they were.
  void workbookTextCells_data() {
    QTest::addColumn<QString>("cell");
    for (const char* c : {"007", "0012", "12345678901234567890", "1/2", "3e5", "=1+1", "=\"x\"", "a\\b", " 5",
                          "line\nbreak", "tab\there", "\x01\x1f", "\r", "_x0041_", "\u5718\u9ad4"})
      QTest::newRow(c) << QString::fromUtf8(c);
  }
  void workbookTextCells() {
    QFETCH(QString, cell);
    const std::vector<SheetColumn> columns{{"n", true, 0, 100, {}}, {"t", false, 0, 0, {}}};
    QByteArray xlsx;
    QString error;
    QVERIFY2(RecordsToXlsx({{"1", cell}}, columns, "t", &xlsx, &error), qPrintable(error));
    const QString out = dir_.filePath("resaved.xlsx");
    QProcess py;
    py.start(python_, {"-c", kWorkbookResave, file("cells.xlsx", xlsx), out});
    QVERIFY(py.waitForFinished(60000));
    QVERIFY2(py.exitCode() == 0, py.readAllStandardError().constData());
    QCOMPARE(py.readAllStandardOutput().trimmed(), QByteArray("s"));  // a string cell, no number, date or formula
    CsvOptions options;
    options.knownHeaders = {{"n", "t"}};
    for (const QByteArray& bytes : {xlsx, ReadFile(out)}) {
      ImportedRows rows;
      CsvRefusal refusal;
      QVERIFY2(SheetFileToRecords(bytes, 2, "t", options, &rows, &refusal), qPrintable(refusal.reason));
      QCOMPARE(rows.records, (std::vector<QStringList>{{"1", cell}}));
    }
  }

  // A sheet small enough for one packed stretch, and one of many (packed
  // on several threads): the same bytes on every run, every cell read back
  // by openpyxl and by our reader.
  void workbookStretches_data() {
    QTest::addColumn<int>("records");
    QTest::newRow("one stretch") << 3;
    QTest::newRow("many stretches") << 32767;  // the most records a table holds
  }
  void workbookStretches() {
    QFETCH(int, records);
    const std::vector<SheetColumn> columns{{"n", true, 0, 1 << 30, {}}, {"t", false, 0, 0, {}}};
    std::vector<QStringList> rows;
    QByteArray expected = "None\nn\tt\n";
    for (int i = 0; i < records; ++i) {
      // Numbers of every length, texts that pack well and that do not.
      const QString n = QString::number(qint64(i) * i % 1000003);
      const QString t = QStringLiteral("%1 團體 & <%2>").arg(QString::number(i, 36).repeated(1 + i % 5)).arg(i % 7);
      rows.push_back({n, t});
      expected += (n + u'\t' + t + u'\n').toUtf8();
    }
    QByteArray xlsx, again;
    QString error;
    QVERIFY2(RecordsToXlsx(rows, columns, "t", &xlsx, &error), qPrintable(error));
    for (int run = 0; run < 3; ++run) {
      QVERIFY(RecordsToXlsx(rows, columns, "t", &again, &error));
      QVERIFY(again == xlsx);
    }
    QProcess py;
    py.start(python_, {"-c", kWorkbookValues, file("stretches.xlsx", xlsx)});
    QVERIFY(py.waitForFinished(300000));
    QVERIFY2(py.exitCode() == 0, py.readAllStandardError().constData());
    QVERIFY(py.readAllStandardOutput() == expected);
    CsvOptions options;
    options.knownHeaders = {{"n", "t"}};
    ImportedRows back;
    CsvRefusal refusal;
    QVERIFY2(WorkbookToRecords(xlsx, 2, "t", options, &back, &refusal), qPrintable(refusal.reason));
    QVERIFY(back.records == rows);
  }

  // The sheet as openpyxl reads it: the header row frozen and bold, number
  // cells in number columns, text cells formatted as text, widths fitted to
  // the cells, each number column's range and each list column's drop-down
  // from the hidden sheet of lists; no header row, nothing frozen.
  void workbookLayout_data() {
    QTest::addColumn<QString>("header");  // the names of the three columns, comma-separated
    QTest::addColumn<QString>("expected");
    QTest::newRow("header") << "n,name,sex"
                            << "t:visible Lists:hidden\n"
                               "A2\n"
                               "n/s/@/1 name/s/@/1 sex/s/@/1\n"
                               "-12/n/General/0 a long, long & <odd> name/s/@/0 女/s/@/0\n"
                               "A=7.71094 B=27.7109 C=6.71094\n"
                               "whole stop A2:A1048576 -32768 32767\n"
                               "list warning C2:C1048576 Lists!$A$1:$A$2 None\n"
                               "[['女'], ['男']]";
    QTest::newRow("no header") << ",,"
                               << "t:visible Lists:hidden\n"
                                  "None\n"
                                  "-12/n/General/0 a long, long & <odd> name/s/@/0 女/s/@/0\n"
                                  "12345/n/General/0  x/s/@/0 None/n/General/0\n"
                                  "A=7.71094 B=27.7109 C=6.71094\n"
                                  "whole stop A1:A1048576 -32768 32767\n"
                                  "list warning C1:C1048576 Lists!$A$1:$A$2 None\n"
                                  "[['女'], ['男']]";
  }
  void workbookLayout() {
    QFETCH(QString, header);
    QFETCH(QString, expected);
    const QStringList names = header.split(u',');
    const std::vector<SheetColumn> columns{
        {names[0], true, -32768, 32767, {}}, {names[1], false, 0, 0, {}}, {names[2], false, 0, 0, {"女", "男"}}};
    QByteArray xlsx;
    QString error;
    QVERIFY2(
        RecordsToXlsx({{"-12", "a long, long & <odd> name", "女"}, {"12345", " x", ""}}, columns, "t", &xlsx, &error),
        qPrintable(error));
    QProcess py;
    py.start(python_, {"-c", kWorkbookLayout, file("layout.xlsx", xlsx)});
    QVERIFY(py.waitForFinished(60000));
    QVERIFY2(py.exitCode() == 0, py.readAllStandardError().constData());
    QCOMPARE(QString::fromUtf8(py.readAllStandardOutput()).trimmed(), expected);
  }

  // A text longer than a cell holds is refused with its row and column.
  void workbookCellTooLong() {
    const std::vector<SheetColumn> columns{{"n", true, 0, 100, {}}, {"t", false, 0, 0, {}}};
    QByteArray xlsx;
    QString error;
    QVERIFY(RecordsToXlsx({{"1", QString(32767, u'團')}}, columns, "t", &xlsx, &error));
    QVERIFY(!RecordsToXlsx({{"1", "x"}, {"2", QString(32768, u'a')}}, columns, "t", &xlsx, &error));
    QVERIFY2(error.contains("row 3, column 2"), qPrintable(error));
  }

  // A workbook that openpyxl makes from scratch (shared strings, numbers
  // where text is wanted, rows and cells left out) reads as its cells show.
  void workbookFromAnotherWriter_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QStringList>("cells");  // the records' cells in turn; empty: refused
    QTest::addColumn<QString>("message");
    QTest::newRow("integer") << "ws['B2'] = 7" << QStringList{"1", "7"} << "";
    QTest::newRow("fraction") << "ws['B2'] = 2.5" << QStringList{"1", "2.5"} << "";
    QTest::newRow("sum of tenths") << "ws['B2'] = 0.1 + 0.2" << QStringList{"1", "0.3"} << "";  // as openpyxl writes it
    // openpyxl writes the 20-digit number as a double (1.234567890123457e+19):
    // its digits, as far as the double holds them, without an exponent.
    QTest::newRow("20 digits") << "ws['B2'] = 12345678901234567890" << QStringList{"1", "12345678901234570000"} << "";
    QTest::newRow("large double") << "ws['B2'] = 1.5e20" << QStringList{"1", "150000000000000000000"} << "";
    QTest::newRow("small double") << "ws['B2'] = 0.00001" << QStringList{"1", "0.00001"} << "";
    QTest::newRow("boolean") << "ws['B2'] = True" << QStringList{"1", "1"} << "";
    QTest::newRow("text digits") << "ws['B2'] = '007'" << QStringList{"1", "007"} << "";
    QTest::newRow("sparse rows, a blank row")
        << "ws['B2'] = 'x'; ws['B4'] = 'y'; ws['A4'] = 2" << QStringList{"1", "x", "2", "y"} << "1 blank";
    QTest::newRow("cell past the columns") << "ws['B2'] = 'x'; ws['D2'] = 'z'" << QStringList{} << "line 2: 4 fields";
    QTest::newRow("formula without value") << "ws['B2'] = '=1+1'" << QStringList{} << "cell B2 holds a formula";
    QTest::newRow("no records") << "ws['A2'] = None" << QStringList{} << "no records";
    QTest::newRow("shared strings, rich text") << "shared" << QStringList{"1", "a b"} << "";
    QTest::newRow("OpenDocument") << "ods" << QStringList{"1", "x  y\nz", "2", "2.5"} << "2 blank";
  }
  void workbookFromAnotherWriter() {
    QFETCH(QString, statement);
    QFETCH(QStringList, cells);
    QFETCH(QString, message);
    const QString path = dir_.filePath("scratch.xlsx");
    QProcess py;
    py.start(python_, {"-c", kWorkbookFromScratch, path, statement});
    QVERIFY(py.waitForFinished(60000));
    QVERIFY2(py.exitCode() == 0, py.readAllStandardError().constData());
    CsvOptions options;
    options.knownHeaders = {{"n", "t"}};
    ImportedRows rows;
    CsvRefusal refusal;
    const bool ok = SheetFileToRecords(ReadFile(path), 2, "t", options, &rows, &refusal);
    QVERIFY2(ok == !cells.isEmpty(), qPrintable(refusal.message("scratch.xlsx")));
    if (!ok) {
      QVERIFY2(refusal.message("scratch.xlsx").contains(message), qPrintable(refusal.message("scratch.xlsx")));
      // What openpyxl writes is well-formed, whatever a workbook cannot hold.
      QVERIFY2(!refusal.message("scratch.xlsx").contains("malformed"), qPrintable(refusal.message("scratch.xlsx")));
      return;
    }
    std::vector<QStringList> want;
    for (qsizetype i = 0; i < cells.size(); i += 2) want.push_back(cells.mid(i, 2));
    QCOMPARE(rows.records, want);
    QCOMPARE(rows.blankRows, message.isEmpty() ? 0 : message.section(u' ', 0, 0).toInt());
  }

  // A damaged or hostile workbook is refused as an unreadable CSV is, with
  // the reason, and the table keeps its bytes.
  void hostileWorkbooks_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("message");
    QTest::newRow("cut short") << "cut"
                               << "not a readable ZIP archive";
    QTest::newRow("flipped byte") << "flip"
                                  << "checksum does not match";
    QTest::newRow("300 MiB part") << "bomb"
                                  << "more than the 256 MiB";
    QTest::newRow("malformed XML") << "xml"
                                   << "xl/workbook.xml, line 1: malformed XML";
    QTest::newRow("row outside the sheet") << "rows"
                                           << "row number 2000000 is outside the sheet";
    QTest::newRow("cells out of order") << "cell"
                                        << "cell A1 comes after a cell to its right";
    QTest::newRow("entity declarations") << "dtd"
                                         << "document type declaration";
    QTest::newRow("another archive") << "other"
                                     << "neither an XLSX nor an OpenDocument";
  }
  void hostileWorkbooks() {
    QFETCH(QString, how);
    QFETCH(QString, message);
    const QString folder = copyOfSample(QStringLiteral("hostile"));
    const QByteArray before = ReadFile(folder + "/Team.dat");
    const CliRun e = RunCli({"export", folder, "Team.dat", "--format", "xlsx"});
    QVERIFY2(e.code == 0, e.err.constData());
    const QString spoiled = dir_.filePath("spoiled.xlsx");
    QProcess py;
    py.start(python_, {"-c", kWorkbookSpoiler, file("good.xlsx", e.out), spoiled, how});
    QVERIFY(py.waitForFinished(120000));
    QVERIFY2(py.exitCode() == 0, py.readAllStandardError().constData());
    const CliRun i = RunCli({"import", folder, "Team.dat", spoiled});
    QCOMPARE(i.code, 3);
    QVERIFY2(i.err.contains(message.toUtf8()), i.err.constData());
    QCOMPARE(ReadFile(folder + "/Team.dat"), before);
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
    QTest::newRow("blank rows and lines")
        << "Team.dat"
        << "blank" << QStringList{} << 0 << "0 changed, 0 added, 0 removed, 6 unchanged (3 blank rows skipped)" << true;
    QTest::newRow("blank lines, Level") << "Level.tab"
                                        << "blank" << QStringList{} << 0 << "(2 blank rows skipped)" << true;
    QTest::newRow("cut after a row") << "Team.dat"
                                     << "truncate" << QStringList{} << 3
                                     << "would remove 5 records: give --allow-removal" << true;
    QTest::newRow("cut, --allow-removal")
        << "Team.dat"
        << "truncate" << QStringList{"--allow-removal"} << 0 << "0 changed, 0 added, 5 removed, 1 unchanged" << false;
    QTest::newRow("cut, --dry-run") << "Team.dat"
                                    << "truncate" << QStringList{"--dry-run"} << 0 << "an import needs --allow-removal"
                                    << true;
    QTest::newRow("cut, standalone") << "Length.tab"
                                     << "truncate" << QStringList{"--allow-removal"} << 3
                                     << "1 records, Length.tab has 36" << true;
    QTest::newRow("dropped column") << "Team.dat"
                                    << "drop" << QStringList{} << 3 << "10 fields, Team.dat has 11" << true;
    QTest::newRow("dropped column, semicolons") << "Item.dat"
                                                << "drop;" << QStringList{} << 3 << "fields" << true;
    QTest::newRow("reversed Level") << "Level.tab"
                                    << "reverse" << QStringList{} << 3 << "line 1: this row is record 9" << true;
    QTest::newRow("sorted Constellation") << "Constellation.tab"
                                          << "sort" << QStringList{} << 3 << "matched by position" << true;
    QTest::newRow("reversed Difficulty") << "Difficulty.tab"
                                         << "reverse" << QStringList{} << 3 << "record 5" << true;
    QTest::newRow("Active: name") << "Active.tab"
                                  << "cell 1 2 X" << QStringList{} << 3 << "line 2, column 2" << true;
    QTest::newRow("Active: size") << "Active.tab"
                                  << "cell 1 3 小型" << QStringList{} << 3 << "column 3" << true;
    QTest::newRow("Pression: person sought") << "Pression.tab"
                                             << "cell 0 3 丫" << QStringList{} << 3 << "line 1, column 3" << true;
    QTest::newRow("Pression: pressure is written") << "Pression.tab"
                                                   << "cell 0 4 9" << QStringList{} << 0 << "1 changed" << false;
    QTest::newRow("quote inside a field") << "Team.dat"
                                          << "cell 0 2 a\"b" << QStringList{} << 0 << "1 changed" << false;
    QTest::newRow("semicolons, given") << "Team.dat"
                                       << ";" << QStringList{"--delimiter", ";"} << 0 << "6 unchanged" << true;
    QTest::newRow("tabs, detected") << "Team.dat"
                                    << "\t" << QStringList{} << 0 << "6 unchanged" << true;
    // The same checks for a workbook's rows (written here without a header row,
    // so that a sheet's row is the CSV's line).
    QTest::newRow("xlsx: cut after a row")
        << "Team.dat"
        << "xlsx truncate" << QStringList{} << 3 << "would remove 5 records: give --allow-removal" << true;
    QTest::newRow("xlsx: cut, --allow-removal") << "Team.dat"
                                                << "xlsx truncate" << QStringList{"--allow-removal"} << 0
                                                << "0 changed, 0 added, 5 removed, 1 unchanged" << false;
    QTest::newRow("xlsx: cut, --dry-run")
        << "Team.dat"
        << "xlsx truncate" << QStringList{"--dry-run"} << 0 << "an import needs --allow-removal" << true;
    QTest::newRow("xlsx: dropped column") << "Team.dat"
                                          << "xlsx drop" << QStringList{} << 3 << "column 11" << true;
    QTest::newRow("xlsx: reversed Level")
        << "Level.tab"
        << "xlsx reverse" << QStringList{} << 3 << "line 2: this row is record 9" << true;  // below its header row
    QTest::newRow("xlsx: Active name") << "Active.tab"
                                       << "xlsx cell 1 2 X" << QStringList{} << 3 << "line 2, column 2" << true;
    QTest::newRow("xlsx: from standard input") << "Team.dat"
                                               << "xlsx cell 0 2 X" << QStringList{"-"} << 0 << "1 changed" << false;
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
    const bool workbook = edit.startsWith("xlsx ");
    if (workbook) edit = edit.mid(5);
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
    if (edit.startsWith("cell"))
      rows[size_t(edit.section(u' ', 1, 1).toInt())][edit.section(u' ', 2, 2).toInt() - 1] = edit.section(u' ', 3);
    if (edit.endsWith(u';') || edit == "\t") delimiter = edit.back();
    QByteArray csv;
    for (const QStringList& r : rows) csv += CsvLineText(r, delimiter).toUtf8();
    if (edit == "cell 0 2 a\"b") csv.replace("\"a\"\"b\"", "a\"b");  // as a hand-written file has it
    QString path = file("case.csv", csv + tail);
    if (workbook) {
      ToolTable t;
      QVERIFY(FindToolTable(table, &t));  // no language file: no header row
      QByteArray xlsx;
      QString error;
      QVERIFY2(RecordsToXlsx(rows, SheetColumns(t, folder), table, &xlsx, &error), qPrintable(error));
      path = file("case.xlsx", xlsx);
    }
    QStringList args{"import", folder, table, path};
    if (options.value(0) == "-") {  // the file on standard input
      args.last() = "-";
      options.removeFirst();
    }
    QProcess cli;
    cli.setStandardInputFile(path);
    cli.start(QString::fromLocal8Bit(qgetenv("V3_CLI")), args + options);
    QVERIFY(cli.waitForFinished(60000));
    const CliRun i{cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
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
    QVERIFY2(both.err.contains("line 1: Team.dat has several records numbered " + rows[0][0].toUtf8()),
             both.err.constData());
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
    QCOMPARE(ReadFile(folder + "/Constellation.tab").mid(12, 6),
             EncodeCodePage(QStringLiteral("牛"), 950) + QByteArray(4, '\0'));
  }
};

QTEST_GUILESS_MAIN(SheetFilesTest)
#include "test_sheet_files.moc"
