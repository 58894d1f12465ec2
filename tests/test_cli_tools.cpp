// diff and lint through the command-line tool, on real folders.
#include <QProcess>
#include <QtTest>

#include <functional>

#include "TestSupport.h"

using namespace v3test;

namespace {

// Replaces line `line` (0-based) of a table's CSV export, or drops it when
// `text` is empty, or appends `text` when line is -1; then imports it.
bool editTable(const QString& folder, const QString& table, int line, const QByteArray& text) {
  QList<QByteArray> lines = RunCli({"export", folder, table}).out.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  if (line < 0)
    lines << text + "\r";
  else if (text.isEmpty())
    lines.removeAt(line);
  else
    lines[line] = text + "\r";
  QTemporaryFile csv;
  if (!csv.open()) return false;
  csv.write(lines.join('\n') + '\n');
  csv.close();
  const CliRun r = RunCli({"import", folder, table, csv.fileName(), "--allow-removal"});
  if (r.code != 0) qWarning("%s", r.err.constData());
  return r.code == 0;
}

QByteArray field(const QString& folder, const QString& table, int line, int column) {
  return RunCli({"export", folder, table}).out.split('\n').value(line).split(',').value(column - 1);
}

}  // namespace

class CliToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (qgetenv("V3_CLI").isEmpty()) QSKIP("V3_CLI is set by CTest");
  }

  void diffOfEqualFolders() {
    QTemporaryDir a, b;
    QCOMPARE(RunCli({"sample", a.path(), "--seed", "4"}).code, 0);
    QCOMPARE(RunCli({"sample", b.path(), "--seed", "4"}).code, 0);
    const CliRun r = RunCli({"diff", a.path(), b.path()});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(RunCli({"diff", a.path(), b.path(), "--csv"}).out.count('\n'), 1);  // the header line alone
  }

  void diffNamesChangedAddedAndRemovedRecords() {
    QTemporaryDir a, b;
    QCOMPARE(RunCli({"sample", a.path(), "--seed", "4", "--records", "10"}).code, 0);
    QCOMPARE(RunCli({"sample", b.path(), "--seed", "4", "--records", "10"}).code, 0);
    const QByteArray oldPopularity = field(b.path(), "Team.dat", 1, 7);
    QList<QByteArray> record2 = RunCli({"export", b.path(), "Team.dat"}).out.split('\n')[1].trimmed().split(',');
    record2[6] = "4321";
    QVERIFY(editTable(b.path(), "Team.dat", 1, record2.join(',')));              // record 2: 人气 changed
    QVERIFY(editTable(b.path(), "Team.dat", 4, QByteArray()));                   // record 5 removed
    QVERIFY(editTable(b.path(), "Team.dat", -1, "77,Z,-1,-1,-1,-1,1,0,0,0,0"));  // record 77 added
    QByteArray level = RunCli({"export", b.path(), "Level.tab"}).out;
    QVERIFY(editTable(b.path(), "Level.tab", 2, "650"));

    const CliRun r = RunCli({"--lang", "en", "--locale", "2052", "diff", a.path(), b.path()});
    QCOMPARE(r.code, 1);
    const QString text = QString::fromUtf8(r.out);
    QVERIFY2(
        text.contains(QStringLiteral("Team.dat: record 2 “%1”: 人气: %2 → 4321\n")
                          .arg(QString::fromUtf8(field(b.path(), "Team.dat", 1, 2)), QString::fromUtf8(oldPopularity))),
        qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Team.dat: record 5 “%1” removed: 5, ")
                               .arg(QString::fromUtf8(field(a.path(), "Team.dat", 4, 2)))),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Team.dat: record 77 “Z” added: 77, Z, -1")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Level.tab: record 3: 能力值: 480 → 650")), qPrintable(text));
    QCOMPARE(text.count(u'\n'), 4);

    // Traditional column names; the tables named restrict the comparison.
    const CliRun t = RunCli({"--locale", "1028", "diff", a.path(), b.path(), "team.dat"});
    QCOMPARE(t.code, 1);
    QVERIFY(QString::fromUtf8(t.out).contains(QStringLiteral("人氣")));
    QVERIFY(!t.out.contains("Level.tab"));
    QCOMPARE(RunCli({"diff", a.path(), b.path(), "Item.dat"}).code, 0);

    const CliRun csv = RunCli({"--lang", "en", "--locale", "2052", "diff", a.path(), b.path(), "Team.dat", "--csv"});
    QCOMPARE(csv.code, 1);
    const QList<QByteArray> lines = csv.out.split('\n');
    QCOMPARE(lines[0], QByteArray("table,record,occurrence,change,column,column name,old,new,record name\r"));
    QVERIFY(csv.out.contains(
        QStringLiteral("Team.dat,2,1,changed,7,人气,%1,4321,%2\r\n")
            .arg(QString::fromUtf8(oldPopularity), QString::fromUtf8(field(b.path(), "Team.dat", 1, 2)))
            .toUtf8()));
    QVERIFY(csv.out.contains("Team.dat,5,1,removed,,,\"5,"));
    QVERIFY(csv.out.contains("Team.dat,77,1,added,,,,\"77,Z,-1,-1,-1,-1,1,0,0,0,0\",Z\r\n"));
  }

  // Bytes of folder B changed in place: what diff says of them, in text and
  // in CSV, and its exit status.
  void diffOfBytes_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<qint64>("offset");     // in the file
    QTest::addColumn<QByteArray>("bytes");  // put there; empty: records 1 and 2 swapped
    QTest::addColumn<QString>("only");      // the table diff is asked about, empty: all
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("line");  // a part of the report
    QTest::addColumn<QString>("csv");   // a part of the CSV
    // Team.dat: 12-byte header, 60-byte records, the name at 4 (20 bytes), numbers read as 16 bits of 32.
    QTest::newRow("byte after a name's end") << "Team.dat" << qint64(12 + 23) << QByteArray("X") << "" << 1
                                             << "Team.dat: bytes outside the fields of record 1 “"
                                             << "Team.dat,1,1,bytes outside the fields,,,,,";
    QTest::newRow("unread half of a number") << "Team.dat" << qint64(12 + 40 + 2) << QByteArray("\x7f") << "" << 1
                                             << "Team.dat: bytes outside the fields of record 1 “"
                                             << "bytes outside the fields";
    QTest::newRow("byte no Big5 character")
        << "Team.dat" << qint64(12 + 4) << QByteArray("\xa1\x30") << "" << 1 << "团体名称: "
        << "\\xA10";
    // CDCase.dat: the code at 0 (5 bytes).
    QTest::newRow("zero byte inside a code") << "CDCase.dat" << qint64(12 + 2) << QByteArray("\0", 1) << "CDCase.dat"
                                             << 1 << "CDCase.dat: record CD\\x0001 “"
                                             << "CDCase.dat,CD\\x0001,1,added,";
    // NeedEffect.tab: 152-byte records, the last 8 bytes read by no field; saved in the grid's order.
    QTest::newRow("NeedEffect's reserved bytes")
        << "NeedEffect.tab" << qint64(12 + 150) << QByteArray("\x01") << "" << 1
        << "NeedEffect.tab: bytes outside the fields of record 1 changed\n"
        << "NeedEffect.tab,1,1,bytes outside the fields,";
    QTest::newRow("NeedEffect's order") << "NeedEffect.tab" << qint64(12) << QByteArray() << "" << 1
                                        << "NeedEffect.tab: the records are in another order\n"
                                        << "NeedEffect.tab,,,reordered,";
    QTest::newRow("bytes after the last record") << "Team.dat" << qint64(12 + 5 * 60) << QByteArray("junk") << "" << 1
                                                 << "Team.dat: bytes outside every record changed\n"
                                                 << "Team.dat,,,bytes outside the records,";
  }

  void diffOfBytes() {
    QFETCH(QString, table);
    QFETCH(qint64, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, only);
    QFETCH(int, code);
    QFETCH(QString, line);
    QFETCH(QString, csv);
    QTemporaryDir a, b;
    QCOMPARE(RunCli({"sample", a.path(), "--records", "5"}).code, 0);
    QCOMPARE(RunCli({"sample", b.path(), "--records", "5"}).code, 0);
    QByteArray file = ReadFile(b.filePath(table));
    const qsizetype size = table == "NeedEffect.tab" ? 152 : 60;
    if (bytes.isEmpty()) {
      const QByteArray first = file.mid(offset, size);
      file.replace(offset, size, file.mid(offset + size, size));
      file.replace(offset + size, size, first);
    } else {
      file.replace(offset, bytes.size(), bytes);
    }
    QVERIFY(WriteFile(b.filePath(table), file));
    QStringList args{"--lang", "en", "--locale", "2052", "diff", a.path(), b.path()};
    if (!only.isEmpty()) args << only;
    const CliRun r = RunCli(args);
    QCOMPARE(r.code, code);
    QVERIFY2(QString::fromUtf8(r.out).contains(line), r.out.constData());
    QVERIFY2(!r.out.contains('\0'), r.out.constData());
    const CliRun c = RunCli(args << "--csv");
    QCOMPARE(c.code, code);
    QVERIFY2(QString::fromUtf8(c.out).contains(csv), c.out.constData());
    QVERIFY2(!c.out.contains('\0'), c.out.constData());
  }

  // A producer renamed: the job tables show the new name from the same
  // bytes, marked as display only and left out of the exit status.
  void diffOfDisplayOnlyChanges() {
    QTemporaryDir a, b;
    QCOMPARE(RunCli({"sample", a.path(), "--records", "5"}).code, 0);
    QCOMPARE(RunCli({"sample", b.path(), "--records", "5"}).code, 0);
    const QByteArray name = field(b.path(), "Producer.tab", 0, 2);
    QList<QByteArray> producer = RunCli({"export", b.path(), "Producer.tab"}).out.split('\n')[0].trimmed().split(',');
    producer[1] = "Renamed";
    QVERIFY(editTable(b.path(), "Producer.tab", 0, producer.join(',')));
    const CliRun all = RunCli({"diff", a.path(), b.path()});
    QCOMPARE(all.code, 1);  // Producer.tab itself changed
    QVERIFY2(all.out.contains(": 制作人: " + name + " → Renamed (display only: the record's bytes are the same)\n") ||
                 all.out.contains(": 製作人: " + name + " → Renamed (display only: the record's bytes are the same)\n"),
             all.out.constData());
    const QStringList jobs{"diff",       a.path(),     b.path(),     "CDCase.dat",
                           "CFCase.dat", "MVCase.dat", "TVCase.dat", "SHCase.dat"};
    const CliRun display = RunCli(jobs);
    QCOMPARE(display.code, 0);
    QVERIFY2(display.out.contains("display only"), display.out.constData());
    QVERIFY2(RunCli(QStringList(jobs) << "--csv").out.contains(",display only,"), display.out.constData());
  }

  void diffMatchesRepeatedNumbersByOccurrence() {
    QTemporaryDir a, b;
    const QByteArray rows = "3,A,0,0,0,0,1,0,0,0,0\n3,B,0,0,0,0,2,0,0,0,0\n";
    for (QTemporaryDir* d : {&a, &b}) QVERIFY(WriteFile(d->filePath("Team.dat"), Header(0, 60)));
    QTemporaryFile csv;
    QVERIFY(csv.open());
    csv.write(rows);
    csv.close();
    QCOMPARE(RunCli({"import", a.path(), "Team.dat", csv.fileName()}).code, 0);
    QVERIFY(editTable(b.path(), "Team.dat", -1, "3,A,0,0,0,0,1,0,0,0,0"));
    QVERIFY(editTable(b.path(), "Team.dat", -1, "3,C,0,0,0,0,2,0,0,0,0"));
    const CliRun r = RunCli({"diff", a.path(), b.path(), "Team.dat"});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.out.endsWith(": record 3 (occurrence 2) “C”: 团体名称: B → C\n") ||
                 r.out.endsWith(": record 3 (occurrence 2) “C”: 團體名稱: B → C\n"),
             r.out.constData());
    QCOMPARE(r.out.count('\n'), 1);
  }

  void diffOfMissingFiles() {
    QTemporaryDir a, b;
    QCOMPARE(RunCli({"sample", a.path()}).code, 0);
    QCOMPARE(RunCli({"sample", b.path()}).code, 0);
    QVERIFY(QFile::remove(b.filePath("World.tab")));
    QVERIFY(QFile::remove(a.filePath("Length.tab")));
    const CliRun r = RunCli({"diff", a.path(), b.path()});
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.contains("World.tab: only in the first folder\n"));
    QVERIFY(r.out.contains("Length.tab: only in the second folder\n"));
    QCOMPARE(RunCli({"diff", a.path(), "/nonexistent-v3"}).code, 3);
  }

  // A sample of any size is a folder lint finds nothing in: numbers and job
  // codes stay distinct past what three digits or one byte can count.
  void lintOfACleanSample_data() {
    QTest::addColumn<int>("records");
    for (int n : {40, 256, 1000}) QTest::newRow(qPrintable(QString::number(n))) << n;
#ifndef __SANITIZE_ADDRESS__
    // The largest folder there can be: minutes under the sanitizers, so the plain build alone.
    QTest::newRow("32767") << 32767;
#endif
  }
  void lintOfACleanSample() {
    QFETCH(int, records);
    QTemporaryDir d;
    QCOMPARE(RunCli({"sample", d.path(), "--seed", "11", "--records", QString::number(records)}).code, 0);
    const CliRun r = RunCli({"--lang", "en", "lint", d.path()});
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.code, 0);
  }

  // lint reports a refusal exactly where a save that changes nothing meets
  // one; a stored value the field's write width cannot hold is kept by such a save.
  void lintAgreesWithTheSave_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("refused");
    QTest::newRow("NeedEffect.tab number 300, written as one byte") << "NeedEffect.tab" << 12 << Le(300, 2) << false;
    QTest::newRow("MVCase.dat producer 300, written as one byte") << "MVCase.dat" << 12 + 100 << Le(300, 4) << false;
    QTest::newRow("Length.tab values that overlap") << "Length.tab" << 8 << Le(4, 2) << true;
  }
  void lintAgreesWithTheSave() {
    QFETCH(QString, table);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, refused);
    QTemporaryDir d;
    QCOMPARE(RunCli({"sample", d.path(), "--seed", "3", "--records", "12"}).code, 0);
    const QString path = d.filePath(table);
    QByteArray file = ReadFile(path);
    file.replace(offset, bytes.size(), bytes);
    QVERIFY(WriteFile(path, file));
    const CliRun lint = RunCli({"--lang", "en", "lint", d.path(), "--csv"});
    bool lintRefuses = false;
    for (const QByteArray& line : lint.out.split('\n'))
      lintRefuses = lintRefuses || (line.startsWith(table.toUtf8() + ',') && line.contains("a save would refuse"));
    const CliRun check = RunCli({"--lang", "en", "check", d.path(), table});
    QCOMPARE(lintRefuses, refused);
    QCOMPARE(check.out.contains("would be refused"), refused);
    if (refused) return;
    QVERIFY2(check.out.startsWith(table.toUtf8() + ": identical"), check.out.constData());
    // A save of the unchanged table (its export imported back) writes the same bytes.
    QTemporaryFile csv;
    QVERIFY(csv.open());
    csv.write(RunCli({"export", d.path(), table}).out);
    csv.close();
    QCOMPARE(RunCli({"import", d.path(), table, csv.fileName()}).code, 0);
    QCOMPARE(ReadFile(path), file);
  }

  void lintFindings_data() {
    QTest::addColumn<std::function<bool(const QString&)>>("spoil");
    QTest::addColumn<QStringList>("wanted");  // parts of one finding line
    QTest::newRow("team member past the end of StarRole.dat")
        << std::function<bool(const QString&)>(
               [](const QString& d) { return editTable(d, "Team.dat", 2, "3,T,0,1,12,-1,5,0,0,0,0"); })
        << QStringList{
               "Team.dat: row 3 (record 3, T), column 5 (成员3): star 12 is past the end of StarRole.dat (12 records"};
    QTest::newRow("team member below -1") << std::function<bool(const QString&)>([](const QString& d) {
      return editTable(d, "Team.dat", 0, "1,T,-2,-1,-1,-1,5,0,0,0,0");
    }) << QStringList{"Team.dat: row 1 (record 1, T), column 3 (成员1): -2 is no star"};
    QTest::newRow("firm artist past the end") << std::function<bool(const QString&)>([](const QString& d) {
      QList<QByteArray> f = RunCli({"export", d, "Firm.dat"}).out.split('\n')[1].trimmed().split(',');
      f[8] = "300";
      return editTable(d, "Firm.dat", 1, f.join(','));
    }) << QStringList{"Firm.dat: row ", "column 9 (旗下艺人6): star 300 is past the end"};
    QTest::newRow("StarRole.dat missing")
        << std::function<bool(const QString&)>([](const QString& d) { return QFile::remove(d + "/StarRole.dat"); })
        << QStringList{"Team.dat: row ", "is past the end of StarRole.dat (0 records"};
    QTest::newRow("producer without a record") << std::function<bool(const QString&)>([](const QString& d) {
      QList<QByteArray> r = RunCli({"export", d, "CDCase.dat"}).out.split('\n')[3].trimmed().split(',');
      r[6] = "200";
      return editTable(d, "CDCase.dat", 3, r.join(','));
    }) << QStringList{"CDCase.dat: row ", "(record CD00", "column 7 (制作人): producer 200 has no Producer.tab record"};
    QTest::newRow("request's job that no case has") << std::function<bool(const QString&)>([](const QString& d) {
      QList<QByteArray> r = RunCli({"export", d, "CFRequest.dat"}).out.split('\n')[0].trimmed().split(',');
      r[1] = "CF999";
      return editTable(d, "CFRequest.dat", 0, r.join(','));
    }) << QStringList{"CFRequest.dat: row 1 (record R", "column 2 (通告编号): job CF999 has no CFCase.dat record"};
    QTest::newRow("team member naming a star without a name")
        << std::function<bool(const QString&)>([](const QString& d) {
             QList<QByteArray> star = RunCli({"export", d, "StarRole.dat"}).out.split('\n')[4].trimmed().split(',');
             star[1] = "";
             return editTable(d, "StarRole.dat", 4, star.join(',')) &&
                    editTable(d, "Team.dat", 1, "2,T,4,-1,-1,-1,5,0,0,0,0");
           })
        << QStringList{
               "Team.dat: row 2 (record 2, T), column 3 (成员1): star 4 is an empty record of StarRole.dat (record 5 "
               "has no name)"};
    QTest::newRow("request's job code two cases have")
        << std::function<bool(const QString&)>([](const QString& d) {
             const QByteArray job = RunCli({"export", d, "CFCase.dat"}).out.split('\n')[0].trimmed();
             QList<QByteArray> r = RunCli({"export", d, "CFRequest.dat"}).out.split('\n')[0].trimmed().split(',');
             r[1] = job.split(',')[0];
             return editTable(d, "CFCase.dat", -1, job) && editTable(d, "CFRequest.dat", 0, r.join(','));
           })
        << QStringList{
               "CFRequest.dat: row 1 ",
               "column 2 (通告编号): job CF001 is ambiguous: 2 records of CFCase.dat have it (the first is record 1)"};
    QTest::newRow("duplicate record number") << std::function<bool(const QString&)>([](const QString& d) {
      return editTable(d, "Producer.tab", -1, "5,Dup,1,1");
    }) << QStringList{"Producer.tab: row 6 (record 5), column 1 (编号): record number 5 occurs again (first in row 5)"};
    QTest::newRow("duplicate request number pair") << std::function<bool(const QString&)>([](const QString& d) {
      const QByteArray first = RunCli({"export", d, "TVRequest.dat"}).out.split('\n')[0].trimmed();
      return editTable(d, "TVRequest.dat", -1, first);
    }) << QStringList{"TVRequest.dat: row ", "occurs again (first in row 1)"};
    QTest::newRow("a producer number one byte cannot hold")
        << std::function<bool(const QString&)>([](const QString& d) {
             // MVCase.dat reads its producer as 32 bits and writes one byte; a save keeps the stored 300.
             QByteArray mv = ReadFile(d + "/MVCase.dat");
             mv.replace(12 + 100, 4, Le(300, 4));
             return WriteFile(d + "/MVCase.dat", mv);
           })
        << QStringList{"MVCase.dat: row 1 (record ", "column 5 (制作人): producer 300 has no Producer.tab record"};
    QTest::newRow("Active.tab without its 9 rows") << std::function<bool(const QString&)>([](const QString& d) {
      QByteArray a = ReadFile(d + "/Active.tab");
      a.replace(4, 2, Le(8, 2));
      return WriteFile(d + "/Active.tab", a);
    }) << QStringList{"Active.tab: holds 8 records; the game reads exactly 9"};
    QTest::newRow("Pression.tab cut short") << std::function<bool(const QString&)>([](const QString& d) {
      return WriteFile(d + "/Pression.tab", ReadFile(d + "/Pression.tab").left(12 + 44 * 50 + 3));
    }) << QStringList{"Pression.tab: is 2215 bytes long; its 99 records need 4368 (it ends inside record 51)"};
    QTest::newRow("Length.tab whose values overlap") << std::function<bool(const QString&)>([](const QString& d) {
      QByteArray l = ReadFile(d + "/Length.tab");
      l.replace(8, 2, Le(4, 2));
      return WriteFile(d + "/Length.tab", l);
    }) << QStringList{"Length.tab: a save would refuse it"};
  }
  void lintFindings() {
    QFETCH(std::function<bool(const QString&)>, spoil);
    QFETCH(QStringList, wanted);
    QTemporaryDir d;
    QCOMPARE(RunCli({"--locale", "2052", "sample", d.path(), "--seed", "5", "--records", "12"}).code, 0);
    QVERIFY(spoil(d.path()));
    const CliRun r = RunCli({"--locale", "2052", "--lang", "en", "lint", d.path()});
    QCOMPARE(r.code, 1);
    const QStringList lines = QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts);
    bool found = false;
    for (const QString& line : lines) {
      bool all = true;
      for (const QString& w : wanted) all = all && line.contains(w);
      found = found || all;
    }
    QVERIFY2(found, r.out.constData());
    // The same findings as CSV: a header, then one line each with the table first.
    const CliRun c = RunCli({"--locale", "2052", "--lang", "en", "lint", d.path(), "--csv"});
    QCOMPARE(c.code, 1);
    QList<QByteArray> rows = c.out.split('\n');
    QCOMPARE(rows.takeFirst(), QByteArray("table,row,record,record name,column,column name,reason\r"));
    if (rows.last().isEmpty()) rows.removeLast();
    QCOMPARE(rows.size(), lines.size());
    for (const QByteArray& row : rows) QVERIFY2(row.contains(".tab,") || row.contains(".dat,"), row.constData());
  }

  // lint's findings and the tables' own refusals in the language asked for,
  // with nothing of another language mixed in.
  void messagesInTheChosenLanguage_data() {
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("finding");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("en") << "en"
                        << "column 1 (编号): record number 5 occurs again (first in row 5)"
                        << "text too long: ";
    QTest::newRow("zh_CN") << "zh_CN"
                           << "第 1 列（编号）：记录编号 5 重复出现（第一次在第 5 行）"
                           << "文字过长：";
    QTest::newRow("zh_TW") << "zh_TW"
                           << "第 1 欄（编号）：記錄編號 5 重複出現（第一次在第 5 行）"
                           << "文字過長：";
  }
  void messagesInTheChosenLanguage() {
    QFETCH(QString, lang);
    QFETCH(QString, finding);
    QFETCH(QString, refusal);
    QTemporaryDir d;
    QCOMPARE(RunCli({"--locale", "2052", "sample", d.path(), "--seed", "5", "--records", "12"}).code, 0);
    QVERIFY(editTable(d.path(), "Producer.tab", -1, "5,Dup,1,1"));
    const CliRun lint = RunCli({"--locale", "2052", "--lang", lang, "lint", d.path()});
    QCOMPARE(lint.code, 1);
    QVERIFY2(QString::fromUtf8(lint.out).contains(finding), lint.out.constData());
    QList<QByteArray> lines = RunCli({"export", d.path(), "Team.dat"}).out.split('\n');
    QList<QByteArray> first = lines[0].split(',');
    first[1] = QString(QStringLiteral("星光少女")).repeated(10).toUtf8();
    lines[0] = first.join(',');
    QTemporaryFile csv;
    QVERIFY(csv.open());
    csv.write(lines.join('\n'));
    csv.close();
    const CliRun import = RunCli({"--locale", "2052", "--lang", lang, "import", d.path(), "Team.dat", csv.fileName()});
    QCOMPARE(import.code, 3);
    const QString err = QString::fromUtf8(import.err);
    QVERIFY2(err.contains(refusal), import.err.constData());
    for (const QString& other :
         {QStringLiteral("text too long"), QStringLiteral("文字过长"), QStringLiteral("文字過長")})
      if (!refusal.startsWith(other)) QVERIFY2(!err.contains(other), import.err.constData());
  }

  // --header without the language files: the empty header comes with a warning.
  void exportHeaderWithoutLanguageFiles() {
    QTemporaryDir d, bare;
    QCOMPARE(RunCli({"sample", d.path()}).code, 0);
    const QString cli = bare.filePath("vantaro3-cli");
    QVERIFY(QFile::copy(QString::fromLocal8Bit(qgetenv("V3_CLI")), cli));
    QProcess p;
    p.start(cli, {"export", d.path(), "Team.dat", "--header"});
    QVERIFY(p.waitForFinished(120000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(p.readAllStandardOutput().startsWith(",,,,,,,,,,\r\n"));
    const QByteArray err = p.readAllStandardError();
    QVERIFY2(err.contains("warning: no column headers for Team.dat") && err.contains("CHS.txt"), err.constData());
  }
};

QTEST_GUILESS_MAIN(CliToolsTest)
#include "test_cli_tools.moc"
