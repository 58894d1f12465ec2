// The command-line tool: export, import, check, sample, and its CSV.
#include <QProcess>
#include <QtTest>

#include "TestSupport.h"
#include "tools/Csv.h"

using namespace v3;
using namespace v3test;

namespace {
using Run = CliRun;
inline Run cli(const QStringList& args) { return RunCli(args); }
}  // namespace

class CliTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString folder_;

 private slots:
  void initTestCase() {
    if (qgetenv("V3_CLI").isEmpty()) QSKIP("V3_CLI is set by CTest");
    folder_ = dir_.filePath("data");
    const Run r = cli({"sample", folder_, "--seed", "7", "--records", "30"});
    QCOMPARE(r.code, 0);
    QVERIFY(QFile::exists(folder_ + "/CDCase.dat"));
  }

  void checkIsIdentical() {
    const Run r = cli({"check", folder_});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains("Team.dat: identical (30 records)"));
    QVERIFY(!r.out.contains("differs"));
  }

  void exportImportRoundTrip() {
    const QByteArray before = ReadFile(folder_ + "/Team.dat");
    const Run e = cli({"export", folder_, "TEAM.DAT"});  // any case
    QCOMPARE(e.code, 0);
    QCOMPARE(e.out.count("\r\n"), 30);
    QVERIFY(QString::fromUtf8(e.out).startsWith("1,"));
    const QString csv = dir_.filePath("team.csv");
    QVERIFY(WriteFile(csv, e.out));
    const Run i = cli({"import", folder_, "Team.dat", csv});
    QCOMPARE(i.code, 0);
    QCOMPARE(ReadFile(folder_ + "/Team.dat"), before);
    QCOMPARE(ReadFile(folder_ + "/Team.dat.bak"), before);
  }

  void importSortsLikeTheSave() {
    const QString csv = dir_.filePath("sorted.csv");
    QVERIFY(WriteFile(csv, "10,C,0,0,0,0,0,0,0,0,0\n2,\"B, with comma\",0,0,0,0,0,0,0,0,0\n1,A,0,0,0,0,0,0,0,0,0\n"));
    QCOMPARE(cli({"import", folder_, "Team.dat", csv, "--allow-removal"}).code, 0);
    const Run e = cli({"export", folder_, "Team.dat"});
    QCOMPARE(e.out, QByteArray("1,A,0,0,0,0,0,0,0,0,0\r\n2,\"B, with comma\",0,0,0,0,0,0,0,0,0\r\n"
                               "10,C,0,0,0,0,0,0,0,0,0\r\n"));
  }

  void importRefusals_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("field count") << QByteArray("1,A,0,0,0,0,0,0,0,0,0\n2,B\n") << QByteArray("line 2");
    QTest::newRow("not a number") << QByteArray("1,A,0,0,0,0,x,0,0,0,0\n") << QByteArray("7");
    QTest::newRow("bad quote") << QByteArray("1,\"A\"x,0\n") << QByteArray("line 1");
  }
  void importRefusals() {
    QFETCH(QByteArray, csv);
    QFETCH(QByteArray, message);
    const QByteArray before = ReadFile(folder_ + "/Team.dat");
    const QByteArray bak = ReadFile(folder_ + "/Team.dat.bak");
    const QString path = dir_.filePath("bad.csv");
    QVERIFY(WriteFile(path, csv));
    const Run r = cli({"import", folder_, "Team.dat", path});
    QCOMPARE(r.code, 3);
    QVERIFY2(r.err.contains(message), r.err.constData());
    QCOMPARE(ReadFile(folder_ + "/Team.dat"), before);
    QCOMPARE(ReadFile(folder_ + "/Team.dat.bak"), bak);
  }

  void checkReportsDifference() {
    QTemporaryDir d;
    // Records out of order: the save would sort them, so the bytes differ.
    QByteArray rec1(60, '\0'), rec2(60, '\0');
    rec1[0] = 2;
    rec2[0] = 1;
    QVERIFY(WriteFile(d.filePath("Team.dat"), Header(2, 60) + rec1 + rec2));
    const Run r = cli({"check", d.path(), "Team.dat"});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.out.contains("differs at offset 12"), r.out.constData());
  }

  void usageErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::newRow("no command") << QStringList{} << 2;
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2;
    QTest::newRow("unknown table") << QStringList{"export", "/tmp", "Nope.dat"} << 2;
    QTest::newRow("missing folder") << QStringList{"export", "/nonexistent-v3", "Team.dat"} << 3;
    QTest::newRow("export arity") << QStringList{"export", "/tmp"} << 2;
    QTest::newRow("bad locale") << QStringList{"--locale", "x", "check", "/tmp"} << 2;
    QTest::newRow("bad records") << QStringList{"sample", "/tmp/v3-x", "--records", "0"} << 2;
    QTest::newRow("help") << QStringList{"--help"} << 0;
    QTest::newRow("version") << QStringList{"--version"} << 0;
  }
  void usageErrors() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    const Run r = cli(args);
    QCOMPARE(r.code, code);
    if (code == 2) QVERIFY(!r.err.isEmpty());
  }

  // A sample never replaces a game's files unless asked to, and never
  // touches a backup that is there.
  void sampleKeepsAGamesFiles_data() {
    QTest::addColumn<QString>("present");
    QTest::newRow("a table") << "Team.dat";
    QTest::newRow("a standalone table") << "Level.tab";
    QTest::newRow("the folder's mark") << "CDCase.dat";
  }
  void sampleKeepsAGamesFiles() {
    QFETCH(QString, present);
    QTemporaryDir d;
    QVERIFY(WriteFile(d.filePath(present), "the player's own"));
    QVERIFY(WriteFile(d.filePath("StarRole.dat.bak"), "an old backup"));
    const Run refused = cli({"sample", d.path()});
    QCOMPARE(refused.code, 3);
    QVERIFY2(refused.err.contains(present.toUtf8()), refused.err.constData());
    QCOMPARE(ReadFile(d.filePath(present)), QByteArray("the player's own"));
    QCOMPARE(QDir(d.path()).entryList(QDir::Files).size(), 2);
    QCOMPARE(cli({"sample", d.path(), "--force", "--records", "3"}).code, 0);
    QVERIFY(ReadFile(d.filePath(present)) != QByteArray("the player's own"));
    QCOMPARE(ReadFile(d.filePath("StarRole.dat.bak")), QByteArray("an old backup"));
    QCOMPARE(cli({"check", d.path()}).code, 0);
  }

  void localeOptionChangesWrittenText() {
    // On a Simplified system the save maps Simplified characters to Traditional ones.
    QTemporaryDir d;
    QVERIFY(WriteFile(d.filePath("CDCase.dat"), Header(0, 448)));
    const QString csv = d.filePath("t.csv");
    QVERIFY(WriteFile(csv, QStringLiteral("1,飞轮海,0,0,0,0,0,0,0,0,0\n").toUtf8()));
    QCOMPARE(cli({"--locale", "2052", "import", d.path(), "Team.dat", csv}).code, 0);
    QVERIFY(cli({"export", d.path(), "Team.dat"}).out.startsWith(QStringLiteral("1,飛輪海,").toUtf8()));
    // On a Traditional system the Simplified 飞 has no Big5 code: refused (in
    // Traditional, the system's language), nothing written.
    const QByteArray before = ReadFile(d.filePath("Team.dat"));
    const Run refused = cli({"--locale", "1028", "import", d.path(), "Team.dat", csv});
    QCOMPARE(refused.code, 3);
    QVERIFY2(QString::fromUtf8(refused.err).contains(QStringLiteral("「飞」無法以 Big5 儲存")),
             refused.err.constData());
    QCOMPARE(ReadFile(d.filePath("Team.dat")), before);
  }

  void csvParse_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("records");
    QTest::addColumn<QStringList>("first");
    QTest::newRow("empty") << QByteArray() << 0 << QStringList{};
    QTest::newRow("no final newline") << QByteArray("a,b") << 1 << QStringList{"a", "b"};
    QTest::newRow("crlf") << QByteArray("a,b\r\nc,d\r\n") << 2 << QStringList{"a", "b"};
    QTest::newRow("quoted comma, quote, newline")
        << QByteArray("\"x,\"\"y\"\"\nz\",2\n") << 1 << QStringList{"x,\"y\"\nz", "2"};
    QTest::newRow("empty fields") << QByteArray(",,\n") << 1 << QStringList{"", "", ""};
    QTest::newRow("numbers and texts like them")
        << QByteArray("0,-1,32767,-32768,32768,007,+5,-0,12a,\"12\",1 2\n4,5\n") << 2
        << QStringList{"0", "-1", "32767", "-32768", "32768", "007", "+5", "-0", "12a", "12", "1 2"};
  }
  void csvParse() {
    QFETCH(QByteArray, text);
    QFETCH(int, records);
    QFETCH(QStringList, first);
    std::vector<QStringList> out;
    int line = 0;
    QString reason;
    QVERIFY(ParseCsv(text, &out, &line, &reason));
    QCOMPARE(int(out.size()), records);
    if (records) QCOMPARE(out[0], first);
    // Read in two pieces, cut anywhere (a field's first part a number, the
    // rest text or more digits), the records are the same.
    const QString whole = QString::fromUtf8(text);
    for (qsizetype cut = 1; cut < whole.size(); ++cut) {
      std::vector<QStringList> pieces;
      CsvReader reader([&](QStringList& record, int) {
        pieces.push_back(record);
        return true;
      });
      QVERIFY(reader.feed(QStringView(whole).first(cut)) && reader.feed(QStringView(whole).sliced(cut)));
      QVERIFY(reader.finish());
      QCOMPARE(pieces, out);
    }
    // What CsvLine writes parses back to the same fields.
    if (records) {
      std::vector<QStringList> again;
      QVERIFY(ParseCsv(CsvLine(first), &again, &line, &reason));
      QCOMPARE(again.at(0), first);
    }
  }
};

QTEST_GUILESS_MAIN(CliTest)
#include "test_cli.moc"
