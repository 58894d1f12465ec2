// CSV export and import from the editor's File menu: the options dialog,
// the file, the refusals shown like a save's, the header line, the progress
// dialog, and the table left alone by every refusal.
#include "test_gui_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "app/CsvCommands.h"
#include "app/GridCommands.h"
#include "app/Progress.h"
#include "tools/Csv.h"
#include "tools/CsvImport.h"
#include "tools/Workbook.h"

using namespace v3;
using namespace v3test;

namespace {

// Answers the options dialog that the next command opens, as a user would:
// picks the encoding, ticks the boxes, presses OK (or Cancel).
void answerOptions(const QString& encoding, bool header, bool bom, bool ok = true) {
  QTimer::singleShot(0, [=] {
    auto* d = qobject_cast<CsvOptionsDialog*>(QApplication::activeModalWidget());
    if (!d) {
      qWarning("no options dialog");
      return;
    }
    d->encodingBox()->setCurrentIndex(d->encodingBox()->findText(encoding));
    if (d->headerBox()) d->headerBox()->setChecked(header);
    if (d->bomBox() && d->bomBox()->isEnabled()) d->bomBox()->setChecked(bom);
    auto* buttons = d->findChild<QDialogButtonBox*>();
    QTest::mouseClick(buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel), Qt::LeftButton);
  });
}

std::vector<QStringList> recordsOf(const RecordGrid& g) { return g.records(); }

// A Team.dat with bytes the grid does not show: the unread upper halves of
// the number slots and whatever follows a name's end.
QByteArray dirtyTeam(QByteArray file) {
  const int n = (int(file.size()) - 12) / 60;
  for (int k = 0; k < n; ++k) {
    char* r = file.data() + 12 + 60 * k;
    for (int slot : {0, 24, 28, 32, 36, 40, 44, 48, 52, 56}) {
      r[slot + 2] = char(0x11 * (k + 1));
      r[slot + 3] = char(0x80 | k);
    }
    const int end = int(std::find(r + 4, r + 24, '\0') - (r + 4));
    for (int i = 4 + end + 1; i < 24; ++i) r[i] = char('a' + (i + k) % 26);
  }
  return file;
}

void copyLanguageFiles(const QString& programFolder) {
  for (const char* f : {"CHS.txt", "CHT.txt"})
    QFile::copy(QCoreApplication::applicationDirPath() + "/" + f, programFolder + "/" + f);
}

}  // namespace

class CsvGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void menuCaptions_data() {
    QTest::addColumn<Script>("language");
    QTest::addColumn<QString>("exportText");
    QTest::addColumn<QString>("importText");
    QTest::newRow("Simplified") << Script::Simplified << QStringLiteral("导出表格文件(&E)…")
                                << QStringLiteral("导入表格文件(&I)…");
    QTest::newRow("Traditional") << Script::Traditional << QStringLiteral("匯出表格檔案(&E)…")
                                 << QStringLiteral("匯入表格檔案(&I)…");
  }
  void menuCaptions() {
    QFETCH(Script, language);
    QFETCH(QString, exportText);
    QFETCH(QString, importText);
    Shell s;
    QVERIFY(s.start(language));
    QCOMPARE(s.action("mnu_csvExport")->text(), exportText);
    QCOMPARE(s.action("mnu_csvImport")->text(), importText);
  }

  void roundTripThroughTheMenu_data() {
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<bool>("header");
    QTest::addColumn<bool>("bom");
    QTest::newRow("UTF-8") << "UTF-8" << false << false;
    QTest::newRow("UTF-8, header, BOM") << "UTF-8" << true << true;
    QTest::newRow("GBK, header") << "GBK" << true << false;
    QTest::newRow("Big5, header") << "Big5" << true << false;
  }
  void roundTripThroughTheMenu() {
    QFETCH(QString, encoding);
    QFETCH(bool, header);
    QFETCH(bool, bom);
    Shell s(12);
    copyLanguageFiles(s.programFolder);
    QVERIFY(s.start());
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.open("Team.dat");
    const QByteArray before = ReadFile(s.path("Team.dat"));
    const std::vector<QStringList> records = recordsOf(s.grid());

    const QString csv = s.root.filePath("team.csv");
    s.front.fileAnswers = {csv};
    answerOptions(encoding, header, bom);
    s.trigger("mnu_csvExport");
    QVERIFY2(s.front.messages.isEmpty(), qPrintable(s.front.texts().join('\n')));
    const QByteArray written = ReadFile(csv);
    QCOMPARE(written.startsWith("\xEF\xBB\xBF"), bom);
    QCOMPARE(written.count('\n'), 12 + (header ? 1 : 0));
    if (header && encoding == "GBK") QVERIFY(written.startsWith(EncodeCodePage(QStringLiteral("编号,团体名称"), 936)));
    if (header && encoding == "Big5") QVERIFY(written.startsWith(EncodeCodePage(QStringLiteral("編號,團體名稱"), 950)));

    s.front.fileAnswers = {csv};
    answerOptions(encoding, false, false);
    s.trigger("mnu_csvImport");
    QVERIFY2(s.front.messages.isEmpty(), qPrintable(s.front.texts().join('\n')));
    QCOMPARE(recordsOf(s.grid()), records);
    QVERIFY(!s.grid().isModified());
    s.trigger("mnu_save");
    QCOMPARE(ReadFile(s.path("Team.dat")), before);
  }

  void cancelledOptionsOrFileDoNothing() {
    Shell s;
    QVERIFY(s.start());
    s.open("Team.dat");
    const QString csv = s.root.filePath("never.csv");
    answerOptions("UTF-8", false, false, false);
    s.front.fileAnswers = {csv};
    s.trigger("mnu_csvExport");
    QVERIFY(!QFile::exists(csv));
    answerOptions("UTF-8", false, false);
    s.front.fileAnswers.clear();  // the file picker cancelled
    s.trigger("mnu_csvImport");
    QVERIFY(s.front.messages.isEmpty());
    QVERIFY(!s.grid().isModified());
  }

  void importChangesAddsAndRemoves() {
    Shell s(5);
    QVERIFY(s.start());
    s.open("Team.dat");
    const QByteArray before = ReadFile(s.path("Team.dat"));
    const std::vector<QStringList> records = recordsOf(s.grid());
    std::vector<QStringList> want = records;
    want[1][1] = QStringLiteral("新名字");
    want.erase(want.begin() + 3);
    want.push_back({"40", "Z", "-1", "-1", "-1", "-1", "7", "0", "0", "0", "0"});
    CsvOptions utf8;
    QByteArray csv;
    CsvRefusal refusal;
    QVERIFY(RecordsToCsv(want, utf8, &csv, &refusal));
    const QString path = s.root.filePath("edit.csv");
    QVERIFY(WriteFile(path, csv));
    s.front.askAnswers = {true};  // the removed record
    QVERIFY(ImportOpenTableCsv(*s.window, path, utf8, s.front));
    QCOMPARE(recordsOf(s.grid()), want);
    QVERIFY(s.grid().isModified());
    {
      // One undo step takes the whole import back, and redo brings it again.
      GridUndo* undo = GridUndo::of(s.grid());
      QVERIFY(undo);
      const std::vector<QStringList> imported = recordsOf(s.grid());
      undo->stack().undo();
      QCOMPARE(recordsOf(s.grid()), records);
      undo->stack().redo();
      QCOMPARE(recordsOf(s.grid()), imported);
    }
    // Nothing is written before the user saves.
    QCOMPARE(ReadFile(s.path("Team.dat")), before);
    s.trigger("mnu_save");
    QCOMPARE(ReadFile(s.path("Team.dat.bak")), before);
    QCOMPARE(RunCli({"export", s.dataFolder, "Team.dat"}).out, RecordsToCsv(want));
  }

  // Through the menu as a spreadsheet user goes: export with a semicolon and
  // protected cells, the file cut short and padded with blank rows by the
  // spreadsheet, import. Removing records is asked first; the status bar
  // tells what the import did.
  void spreadsheetFileThroughTheMenu_data() {
    QTest::addColumn<bool>("removeThem");
    QTest::newRow("removal declined") << false;
    QTest::newRow("removal confirmed") << true;
  }
  void spreadsheetFileThroughTheMenu() {
    QFETCH(bool, removeThem);
    Shell s(6);
    QVERIFY(s.start());
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.open("Team.dat");
    s.grid().setCell(1, 2, QStringLiteral("007"));
    const std::vector<QStringList> records = recordsOf(s.grid());
    const QString csv = s.root.filePath("sheet.csv");
    auto answer = [](int delimiter, bool spreadsheet) {
      QTimer::singleShot(0, [=] {
        auto* d = qobject_cast<CsvOptionsDialog*>(QApplication::activeModalWidget());
        QVERIFY(d);
        d->delimiterBox()->setCurrentIndex(d->delimiterBox()->findData(QChar(delimiter)));
        if (d->spreadsheetBox()) d->spreadsheetBox()->setChecked(spreadsheet);
        QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
      });
    };
    s.front.fileAnswers = {csv};
    answer(';', true);
    s.trigger("mnu_csvExport");
    QByteArray written = ReadFile(csv);
    QVERIFY2(written.contains(";\"=\"\"007\"\"\";"), written.constData());
    written.truncate(written.indexOf('\n', written.indexOf('\n') + 1) + 1);  // two records left
    QVERIFY(WriteFile(csv, written + ";;;;;;;;;;\r\n\r\n"));
    s.front.fileAnswers = {csv};
    s.front.askAnswers = {removeThem};
    answer(0, false);  // the delimiter found in the file
    s.trigger("mnu_csvImport");
    QCOMPARE(s.front.questions.size(), 1);
    QVERIFY2(s.front.questions[0].contains(QStringLiteral("删除 4 项")), qPrintable(s.front.questions[0]));
    if (!removeThem) {
      QCOMPARE(recordsOf(s.grid()), records);
      return;
    }
    QCOMPARE(recordsOf(s.grid()), std::vector<QStringList>(records.begin(), records.begin() + 2));
    QVERIFY2(s.window->statusBar()->currentMessage().contains(
                 QStringLiteral("修改 0 项、新增 0 项、删除 4 项、未变 2 项（跳过 2 个空行）")),
             qPrintable(s.window->statusBar()->currentMessage()));
  }

  // A workbook through the menu, in either script: no CSV options are asked,
  // the header row is the grid's, text stays text, and an import knows the
  // workbook by its content whatever the file is called.
  void workbookThroughTheMenu_data() {
    QTest::addColumn<Script>("language");
    QTest::addColumn<QString>("summary");
    QTest::newRow("Simplified") << Script::Simplified << QStringLiteral("修改 1 项、新增 0 项、删除 0 项、未变 5 项");
    QTest::newRow("Traditional") << Script::Traditional << QStringLiteral("修改 1 項、新增 0 項、刪除 0 項、未變 5 項");
  }
  void workbookThroughTheMenu() {
    QFETCH(Script, language);
    QFETCH(QString, summary);
    Shell s(6);
    copyLanguageFiles(s.programFolder);
    QVERIFY(s.start(language));
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.open("SHCase.dat");
    s.grid().setCell(1, 2, QStringLiteral("007"));
    const std::vector<QStringList> records = recordsOf(s.grid());
    // Any options dialog would be a fault: it is closed and counted.
    int dialogs = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&dialogs] {
      if (auto* d = qobject_cast<CsvOptionsDialog*>(QApplication::activeModalWidget())) {
        ++dialogs;
        d->reject();
      }
    });
    watch.start(10);
    const QString xlsx = s.root.filePath("sheet.xlsx");
    s.front.fileAnswers = {xlsx};
    s.trigger("mnu_csvExport");
    QVERIFY2(s.front.messages.isEmpty(), qPrintable(s.front.texts().join('\n')));
    const QByteArray written = ReadFile(xlsx);
    QVERIFY(IsZipArchive(written));
    std::vector<QStringList> rows;
    CsvRefusal refusal;
    QVERIFY2(ReadWorkbookRows(
                 written, s.grid().fieldCount(),
                 [&rows](QStringList& cells, int) {
                   rows.push_back(cells);
                   return true;
                 },
                 &refusal),
             qPrintable(refusal.reason));
    QCOMPARE(rows.size(), size_t(7));
    for (int c = 1; c <= s.grid().fieldCount(); ++c) QCOMPARE(rows[0][c - 1], s.grid().headerText(c));
    QCOMPARE(rows[1][1], QStringLiteral("007"));

    const QString renamed = s.root.filePath("sheet.txt");
    QVERIFY(QFile::copy(xlsx, renamed));
    s.grid().setCell(1, 2, QStringLiteral("X"));
    s.front.fileAnswers = {renamed};
    s.trigger("mnu_csvImport");
    QVERIFY2(s.front.messages.isEmpty(), qPrintable(s.front.texts().join('\n')));
    QCOMPARE(recordsOf(s.grid()), records);
    QVERIFY2(s.window->statusBar()->currentMessage().contains(summary),
             qPrintable(s.window->statusBar()->currentMessage()));
    QCOMPARE(dialogs, 0);
  }

  void refusalsLeaveTheTable_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("message");
    QTest::newRow("stray byte") << QByteArray("1,A\xFF,0,0,0,0,0,0,0,0,0\n") << int(TextEncoding::Utf8)
                                << QStringLiteral("line 1: byte 4");
    QTest::newRow("GBK bytes read as Big5") << QByteArray("1,\xD6\xD0\x81\x20,0,0,0,0,0,0,0,0,0\n")
                                            << int(TextEncoding::Big5) << QStringLiteral("not valid Big5");
    QTest::newRow("field count") << QByteArray("1,A,0,0,0,0,0,0,0,0,0\n2,B,0\n") << int(TextEncoding::Utf8)
                                 << QStringLiteral("line 2: 3 fields");
    QTest::newRow("not a number") << QByteArray("1,A,0,0,0,0,0,0,0,0,0\n2,B,0,0,x,0,0,0,0,0,0\n")
                                  << int(TextEncoding::Utf8) << QStringLiteral("第 2 项记录，第 5 列（成员3）");
    QTest::newRow("out of range") << QByteArray("1,A,0,0,0,0,99999999999,0,0,0,0\n") << int(TextEncoding::Utf8)
                                  << QStringLiteral("第 7 列");
    // Refused as a whole, for what is wrong in it: no question of emptying the table.
    QTest::newRow("damaged workbook") << QByteArray("PK\x03\x04 cut short") << int(TextEncoding::Utf8)
                                      << QStringLiteral("not a readable ZIP archive");
  }
  void refusalsLeaveTheTable() {
    QFETCH(QByteArray, csv);
    QFETCH(int, encoding);
    QFETCH(QString, message);
    Shell s(4);
    copyLanguageFiles(s.programFolder);
    QVERIFY(s.start());
    s.open("Team.dat");
    const std::vector<QStringList> before = recordsOf(s.grid());
    const QString path = s.root.filePath("bad.csv");
    QVERIFY(WriteFile(path, csv));
    CsvOptions o;
    o.encoding = TextEncoding(encoding);
    QVERIFY(!ImportOpenTableCsv(*s.window, path, o, s.front));
    QVERIFY2(s.front.questions.isEmpty(), qPrintable(s.front.questions.join('\n')));
    QCOMPARE(s.front.messages.size(), 1);
    QCOMPARE(s.front.messages[0].icon, UiFront::Icon::Warning);
    QVERIFY2(s.front.messages[0].text.contains(message), qPrintable(s.front.messages[0].text));
    QVERIFY(s.front.messages[0].text.startsWith(QStringLiteral("Team.dat 未导入")));
    QCOMPARE(recordsOf(s.grid()), before);
    QVERIFY(!s.grid().isModified());
  }

  void emptyCsvEmptiesOnlyWhenTheUserSaysSo() {
    Shell s(4);
    QVERIFY(s.start());
    s.open("Producer.tab");
    const std::vector<QStringList> before = recordsOf(s.grid());
    const QString path = s.root.filePath("empty.csv");
    QVERIFY(WriteFile(path, QByteArray()));
    s.front.askAnswers = {false};
    QVERIFY(!ImportOpenTableCsv(*s.window, path, {}, s.front));
    QCOMPARE(s.front.questions.size(), 1);
    QVERIFY(s.front.questions[0].contains(QStringLiteral("清空 Producer.tab 的全部 4 项记录")));
    QCOMPARE(recordsOf(s.grid()), before);
    s.front.askAnswers = {true};
    QVERIFY(ImportOpenTableCsv(*s.window, path, {}, s.front));
    QCOMPARE(s.grid().recordCount(), 0);
  }

  void readOnlyTableCannotBeImported() {
    Shell s(4);
    QVERIFY(s.start());
    s.open("Nickname.tab");
    QMenu* file = s.window->findChild<QMenu*>("mnu_menu1");
    emit file->aboutToShow();
    QVERIFY(s.action("mnu_csvExport")->isEnabled());
    QVERIFY(!s.action("mnu_csvImport")->isEnabled());
    const QString path = s.root.filePath("nn.csv");
    QVERIFY(WriteFile(path, "1,x\n"));
    QVERIFY(!ImportOpenTableCsv(*s.window, path, {}, s.front));
    QVERIFY(s.front.texts().join("").contains(QStringLiteral("只读")));
  }

  void exportRefusesWhatTheEncodingCannotHold() {
    Shell s(3);
    QVERIFY(s.start());
    s.open("Team.dat");
    s.grid().setCell(2, 2, QStringLiteral("x\U0001F600"));
    const QString path = s.root.filePath("gbk.csv");
    CsvOptions gbk;
    gbk.encoding = TextEncoding::Gbk;
    QVERIFY(!ExportOpenTableCsv(*s.window, path, gbk, s.front));
    QVERIFY(!QFile::exists(path));
    QVERIFY2(s.front.texts().join("").contains("line 2: column 2"), qPrintable(s.front.texts().join("")));
  }

  // A CSV re-sorted, cut or with a record renumbered finds the rows it came
  // from: after the import and a save, the bytes the grid does not show
  // (upper halves of number slots, what follows a name's end) are still
  // there, and the file is what the command line's import makes of the CSV.
  void importFindsTheRowsItCameFrom_data() {
    QTest::addColumn<QString>("change");
    for (const char* c : {"reversed", "one renumbered", "one dropped, one added", "shuffled, one edited"})
      QTest::newRow(c) << QString::fromLatin1(c);
  }
  void importFindsTheRowsItCameFrom() {
    QFETCH(QString, change);
    const int n = 8;
    Shell s(n), cli(n);
    const QByteArray dirty = dirtyTeam(ReadFile(s.path("Team.dat")));
    QVERIFY(WriteFile(s.path("Team.dat"), dirty));
    QVERIFY(WriteFile(cli.path("Team.dat"), dirty));
    QVERIFY(s.start());
    s.window->show();
    s.open("Team.dat");
    const QString path = s.root.filePath("team.csv");
    QVERIFY(ExportOpenTableCsv(*s.window, path, {}, s.front));
    QList<QByteArray> lines = ReadFile(path).split('\n');
    lines.removeAll(QByteArray());
    QCOMPARE(lines.size(), n);
    if (change != "one renumbered") std::reverse(lines.begin(), lines.end());
    // Record 3 becomes 99 in its own place.
    if (change == "one renumbered") lines[2] = "99" + lines[2].mid(lines[2].indexOf(','));
    int dropped = 0;
    if (change == "one dropped, one added") {
      dropped = lines[2].left(lines[2].indexOf(',')).toInt();
      lines.removeAt(2);
      lines.insert(4, "40,Z,-1,-1,-1,-1,7,0,0,0,0\r");
    }
    if (change == "shuffled, one edited") {
      std::swap(lines[0], lines[6]);
      std::swap(lines[1], lines[3]);
      lines[2].replace(lines[2].lastIndexOf(','), 1, ",1");
    }
    QVERIFY(WriteFile(path, lines.join('\n') + '\n'));
    s.front.askAnswers = {true};  // the dropped record goes
    QVERIFY(ImportOpenTableCsv(*s.window, path, {}, s.front));
    QVERIFY2(s.front.messages.isEmpty(), qPrintable(s.front.texts().join('\n')));
    s.trigger("mnu_save");
    const QByteArray saved = ReadFile(s.path("Team.dat"));
    QCOMPARE(RunCli({"import", cli.dataFolder, "Team.dat", path, "--allow-removal"}).code, 0);
    QCOMPARE(saved.toHex(), ReadFile(cli.path("Team.dat")).toHex());
    if (change == "reversed") QCOMPARE(saved.toHex(), dirty.toHex());
    if (change == "one renumbered") {
      // Record 3 went to the end as 99 with every byte but its number's.
      const int was = 3;
      QCOMPARE(saved.mid(12 + 60 * (n - 1) + 4, 56).toHex(), dirty.mid(12 + 60 * (was - 1) + 4, 56).toHex());
    }
    // Every other record that stayed kept its bytes.
    for (int k = 0; k < n; ++k) {
      const QByteArray record = dirty.mid(12 + 60 * k, 60);
      if (change == "reversed" || change == "one dropped, one added")
        QVERIFY2(k + 1 == dropped || saved.contains(record), qPrintable(QStringLiteral("record %1").arg(k + 1)));
    }
  }

  void largeTablesShowProgress() {
    SetProgressDelay(0);
    auto delay = qScopeGuard([] { SetProgressDelay(1000); });
    Shell s(6000);
    QVERIFY(s.start());
    s.window->show();
    s.open("Team.dat");
    bool seen = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] { seen = seen || s.window->findChild<QProgressDialog*>("csvProgress"); });
    poll.start(0);
    const QString path = s.root.filePath("big.csv");
    QVERIFY(ExportOpenTableCsv(*s.window, path, {}, s.front));
    QVERIFY(seen);
    QCOMPARE(ReadFile(path).count('\n'), 6000);
    seen = false;
    QVERIFY(ImportOpenTableCsv(*s.window, path, {}, s.front));
    QVERIFY(seen);
    QVERIFY(!s.grid().isModified());
    QVERIFY(!s.window->findChild<QProgressDialog*>("csvProgress"));
  }

  // Work that goes on past the delay shows its progress dialog, in the
  // interface's script, with 取消. Pressed (a click, or Escape), the export
  // writes nothing over the file it was to replace and the import leaves the
  // table and its file as they were; left alone, both finish.
  void longWorkCanBeCancelled_data() {
    QTest::addColumn<bool>("import");
    QTest::addColumn<QString>("stop");  // "click", "escape", or empty: left to finish
    QTest::addColumn<bool>("traditional");
    QTest::addColumn<QString>("name");  // what is imported from or exported to
    QTest::newRow("export, 取消 clicked") << false << "click" << false << "stars.csv";
    QTest::newRow("export, Escape, Traditional") << false << "escape" << true << "stars.csv";
    QTest::newRow("export finishes") << false << "" << false << "stars.csv";
    QTest::newRow("import, 取消 clicked, Traditional") << true << "click" << true << "stars.csv";
    QTest::newRow("import, Escape") << true << "escape" << false << "stars.csv";
    QTest::newRow("import finishes, Traditional") << true << "" << true << "stars.csv";
    QTest::newRow("workbook import, 取消 clicked") << true << "click" << false << "stars.xlsx";
    QTest::newRow("workbook import finishes, Traditional") << true << "" << true << "stars.xlsx";
  }
  void longWorkCanBeCancelled() {
    QFETCH(bool, import);
    QFETCH(QString, stop);
    QFETCH(bool, traditional);
    QFETCH(QString, name);
    SetProgressDelay(0);  // as if the disk were slow: the dialog shows at once
    auto delay = qScopeGuard([] { SetProgressDelay(1000); });
    Shell s(12000);
    QVERIFY(s.start(traditional ? Script::Traditional : Script::Simplified));
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.open("StarRole.dat");
    const std::vector<QStringList> before = recordsOf(s.grid());
    const QByteArray file = ReadFile(s.path("StarRole.dat"));
    const QString csv = s.root.filePath(name);
    QByteArray csvBytes = "an earlier export\n";
    if (import) {
      // Every star's popularity (column 7) one more, the last line included.
      QVERIFY(ExportOpenTableCsv(*s.window, csv, {}, s.front));
      std::vector<QStringList> records;
      CsvRefusal refusal;
      QVERIFY(CsvToRecords(ReadFile(csv), s.grid().fieldCount(), "StarRole.dat", &records, &refusal));
      for (QStringList& r : records) r[6] = QString::number((r[6].toInt() + 1) % 100);
      csvBytes.clear();
      if (name.endsWith(".xlsx")) {
        ToolTable t;
        QString error;
        QVERIFY(FindToolTable("StarRole.dat", &t));
        QVERIFY2(RecordsToXlsx(records, SheetColumns(t, s.dataFolder), t.fileName(), &csvBytes, &error),
                 qPrintable(error));
      } else {
        QVERIFY(RecordsToCsv(records, {}, &csvBytes, &refusal));
      }
    }
    QVERIFY(WriteFile(csv, csvBytes));
    const int steps = s.window->undoStack().count();

    QString label, button;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
      auto* d = s.window->findChild<QProgressDialog*>("csvProgress");
      if (!d || !d->isVisible() || !label.isEmpty()) return;
      label = d->labelText();
      auto* cancel = d->findChild<QPushButton*>("progressCancel");
      button = cancel ? cancel->text() : QString();
      if (stop == "click") QTest::mouseClick(cancel, Qt::LeftButton);
      if (stop == "escape") QTest::keyClick(d, Qt::Key_Escape);
    });
    poll.start(0);
    const bool done =
        import ? ImportOpenTableCsv(*s.window, csv, {}, s.front) : ExportOpenTableCsv(*s.window, csv, {}, s.front);
    poll.stop();
    QVERIFY2(s.front.messages.isEmpty(), qPrintable(s.front.texts().join('\n')));
    const QString reading = import ? (traditional ? "正在讀取 " : "正在读取 ") + name
                                   : (traditional ? "正在導出 StarRole.dat" : "正在导出 StarRole.dat");
    QVERIFY2(label.startsWith(reading), qPrintable(label));
    QCOMPARE(button, QStringLiteral("取消"));
    QCOMPARE(done, stop.isEmpty());
    QCOMPARE(ReadFile(s.path("StarRole.dat")), file);
    QVERIFY(!QDir(s.root.path()).entryList({"*.saving-*"}, QDir::Files | QDir::Hidden).size());
    if (!stop.isEmpty()) {
      QCOMPARE(ReadFile(csv), csvBytes);
      QCOMPARE(recordsOf(s.grid()), before);
      QVERIFY(!s.grid().isModified());
      QCOMPARE(s.window->undoStack().count(), steps);
      QVERIFY(s.window->statusBar()->currentMessage().startsWith("已取消"));
    } else if (import) {
      QVERIFY(s.grid().isModified());
      QCOMPARE(s.grid().cell(1, 7), QString::number((before[0][6].toInt() + 1) % 100));
    } else {
      std::vector<QStringList> records;
      CsvRefusal refusal;
      QVERIFY(CsvToRecords(ReadFile(csv), s.grid().fieldCount(), "StarRole.dat", &records, &refusal));
      QCOMPARE(records, before);
    }
  }
};

QTEST_MAIN(CsvGuiTest)
#include "test_gui_csv.moc"
