// Batch edits through the command-line tool on real folders, each result
// checked against the file's bytes read here on their own.
#include <QDir>
#include <QtEndian>
#include <QtTest>

#include <functional>

#include "TestSupport.h"

using namespace v3test;

namespace {

// One Team.dat record as its bytes hold it: 60 bytes, numbers in 32-bit slots.
struct Team {
  int number = 0, popularity = 0, unknown1 = 0, jobs = 0;
  QByteArray name;  // the 20 bytes of the name field
  bool operator==(const Team&) const = default;
};

std::vector<Team> readTeams(const QString& folder) {
  const QByteArray f = ReadFile(folder + "/Team.dat");
  auto slot = [&f](qsizetype at) { return qFromLittleEndian<qint32>(f.constData() + at); };
  std::vector<Team> out;
  for (int i = 0; i < slot(4); ++i) {
    const qsizetype r = 12 + 60 * qsizetype(i);
    out.push_back({slot(r), slot(r + 40), slot(r + 44), slot(r + 56), f.mid(r + 4, 20)});
  }
  return out;
}

void copyFolder(const QString& from, const QString& to) {
  for (const QString& f : QDir(from).entryList(QDir::Files)) QFile::copy(from + '/' + f, to + '/' + f);
}

int halfEven(int twice) {  // twice / 2, an exact half to the even neighbour
  const int q = twice / 2;
  return twice % 2 == 0 || q % 2 == 0 ? q : q + (twice > 0 ? 1 : -1);
}

}  // namespace

class BatchTest : public QObject {
  Q_OBJECT
  QTemporaryDir sample_;

 private slots:
  void initTestCase() {
    if (qgetenv("V3_CLI").isEmpty()) QSKIP("V3_CLI is set by CTest");
    QCOMPARE(RunCli({"sample", sample_.path(), "--seed", "4", "--records", "12"}).code, 0);
  }

  // Every operator, columns by Simplified and Traditional header and by
  // number, comments, range refusal and clamping, wrong lines.
  void instructions() {
    using Rule = std::function<void(Team&)>;
    const QByteArray tuan = QByteArray::fromHex("b9ce");  // 團 in Big5
    struct Case {
      const char* name;
      const char* text;
      int code;
      const char* err;  // what standard error names (refusals)
      Rule rule;        // what the batch does to a record; none: nothing written
    };
    const Case cases[] = {
        {"equals, set", "=编号=3\n.人气=1234\n", 0, "",
         [](Team& t) {
           if (t.number == 3) t.popularity = 1234;
         }},
        {"greater, Traditional header, number, comments", "# raise the famous\n>人氣=5000   # Traditional\n.7+=10\n", 0,
         "",
         [](Team& t) {
           if (t.popularity > 5000) t.popularity += 10;
         }},
        {"less and differs, subtract", "<人气=5000\n!编号=2\n.人气-=1\n", 0, "",
         [](Team& t) {
           if (t.popularity < 5000 && t.number != 2) t.popularity -= 1;
         }},
        {"multiply rounds an exact half to even", ".人气*=1.5\n", 0, "",
         [](Team& t) { t.popularity = halfEven(t.popularity * 3); }},
        {"another column's value, in order", ">编号=6\n.未知属性1=$人气\n.人气=$编号\n", 0, "",
         [](Team& t) {
           if (t.number <= 6) return;
           t.unknown1 = t.popularity;
           t.popularity = t.number;
         }},
        {"contains, Simplified typed", "~团体名称=团\n.通告数量=77\n", 0, "",
         [tuan](Team& t) {
           if (t.name.contains(tuan)) t.jobs = 77;
         }},
        {"clamped up", ">人气=5000\n.人气+=40000 !clamp\n", 0, "",
         [](Team& t) {
           if (t.popularity > 5000) t.popularity = 32767;
         }},
        {"clamped down", ".人气-=99999 !clamp\n", 0, "", [](Team& t) { t.popularity = -32768; }},
        {"out of range refused", "=编号=2\n.人气+=40000\n", 3, "record 2 (row 2), column 7 (人气), line 2: ", nullptr},
        {"text the field cannot hold", "=编号=5\n.团体名称=😀\n", 3, "record 5 (row 5), column 2", nullptr},
        {"arithmetic on text", ".团体名称+=1\n", 3, "line 1: ", nullptr},
        {"unknown column", "=编号=1\n\n.无此列=5\n", 3, "line 3: no column is named 无此列", nullptr},
        {"column number past the last", ".12=5\n", 3, "line 1: no column 12", nullptr},
        {"no instruction", "# fine\n人气=5\n", 3, "line 2: not an instruction", nullptr},
        {"no number to compare", ">人气=many\n", 3, "line 1: many is not a number", nullptr},
        {"set without a number", ".人气+=x\n", 3, "line 1: x is not a number", nullptr},
    };
    for (const Case& c : cases) {
      QTemporaryDir dir;
      copyFolder(sample_.path(), dir.path());
      const QByteArray before = ReadFile(dir.path() + "/Team.dat");
      std::vector<Team> expected = readTeams(dir.path());
      QVERIFY(WriteFile(dir.path() + "/batch.txt", QByteArray(c.text)));
      const CliRun r =
          RunCli({"--locale", "2052", "--lang", "en", "batch", dir.path(), "Team.dat", dir.path() + "/batch.txt"});
      QVERIFY2(r.code == c.code, qPrintable(QStringLiteral("%1: %2").arg(c.name, QString::fromUtf8(r.err))));
      QVERIFY2(QString::fromUtf8(r.err).contains(QString::fromUtf8(c.err)), qPrintable(QString::fromUtf8(r.err)));
      if (!c.rule) {
        QVERIFY2(ReadFile(dir.path() + "/Team.dat") == before, c.name);
        continue;
      }
      // Team.dat is saved in number order, which no case changes.
      for (Team& t : expected) c.rule(t);
      QVERIFY2(readTeams(dir.path()) == expected, c.name);
      QVERIFY2(ReadFile(dir.path() + "/Team.dat") != before, c.name);
    }
  }

  // A dry run prints the changes as diff does and writes nothing; the real
  // run saves through the one save (.bak kept).
  void dryRunThenSave() {
    QTemporaryDir dir;
    copyFolder(sample_.path(), dir.path());
    const QByteArray before = ReadFile(dir.path() + "/Team.dat");
    const int old = readTeams(dir.path())[2].popularity;
    QVERIFY(WriteFile(dir.path() + "/b.txt", "=1=3\n.人气=1234\n"));
    const CliRun dry = RunCli(
        {"--lang", "en", "--locale", "2052", "batch", dir.path(), "team.dat", dir.path() + "/b.txt", "--dry-run"});
    QCOMPARE(dry.code, 0);
    QCOMPARE(QString::fromUtf8(dry.out), QStringLiteral("Team.dat: record 3: 人气: %1 → 1234\n").arg(old));
    QCOMPARE(ReadFile(dir.path() + "/Team.dat"), before);
    QVERIFY(!QFile::exists(dir.path() + "/Team.dat.bak"));
    QCOMPARE(RunCli({"batch", dir.path(), "Team.dat", dir.path() + "/b.txt"}).code, 0);
    QCOMPARE(ReadFile(dir.path() + "/Team.dat.bak"), before);
    QCOMPARE(readTeams(dir.path())[2].popularity, 1234);
  }

  // The standalone tables by the same instructions: each checked against
  // the file's bytes read here (numbers in their slots, the bytes around
  // them kept), values their save cannot store or would not read back
  // refused with record, column and line, and a dry run that writes nothing.
  void standaloneTables() {
    using Rule = std::function<void(QByteArray&)>;
    auto s16 = [](const QByteArray& f, qsizetype at) { return int(qFromLittleEndian<qint16>(f.constData() + at)); };
    auto s32 = [](const QByteArray& f, qsizetype at) { return int(qFromLittleEndian<qint32>(f.constData() + at)); };
    auto put16 = [](QByteArray& f, qsizetype at, int v) { qToLittleEndian<qint16>(qint16(v), f.data() + at); };
    auto put32 = [](QByteArray& f, qsizetype at, int v) { qToLittleEndian<qint32>(v, f.data() + at); };
    // Length.tab: record j at 12 + j * the record size of the header.
    auto lengthAt = [](const QByteArray& f, int j, int offset) {
      return 12 + qsizetype(j) * (uchar(f[8]) | uchar(f[9]) << 8) + offset;
    };
    struct Case {
      const char* name;
      const char* table;
      const char* text;
      int code;
      const char* err;
      Rule rule;  // what the batch does to the file's bytes; none: nothing written
      bool dryRun = false;
    };
    const Case cases[] = {
        {"Constellation.tab: filter by month, add to the day", "Constellation.tab", "=开始时间月=3\n.開始時間日+=1\n",
         0, "",
         [](QByteArray& f) {
           for (int i = 0; i < 12; ++i)
             if (uchar(f[12 + 20 * i + 12]) == 3) f[12 + 20 * i + 16] = char(uchar(f[12 + 20 * i + 16]) + 1);
         }},
        {"Constellation.tab: a day byte clamped, the rest of its slot kept", "Constellation.tab", ".3=300 !clamp\n", 0,
         "",
         [](QByteArray& f) {
           for (int i = 0; i < 12; ++i) f[12 + 20 * i + 16] = char(255);
         }},
        {"Constellation.tab: a month out of range", "Constellation.tab", "# months\n.开始时间月=256\n", 3,
         "record 1 (row 1), column 2 (开始时间月), line 2: ", nullptr},
        {"Constellation.tab: a name of more than six bytes", "Constellation.tab", "=1=金牛座\n.星座=白羊座座\n", 3,
         "record 2 (row 2), column 1 (星座), line 2: ", nullptr},
        {"Difficulty.tab: multiply, 16 bits written, the upper half kept", "Difficulty.tab", ">2=100\n.1*=1.5\n", 0, "",
         [s16, put16](QByteArray& f) {
           for (int d = 0; d < 5; ++d) {
             const qsizetype from = 12 + 4 * (8 * d), to = from + 4;
             if (s16(f, to) > 100) put16(f, from, halfEven(s16(f, from) * 3));
           }
         }},
        {"Level.tab: less than, subtract", "Level.tab", "<能力值=500\n.能力值-=30\n", 0, "",
         [s32, put32](QByteArray& f) {
           for (int k = 0; k < 9; ++k)
             if (s32(f, 4 * k) < 500) put32(f, 4 * k, s32(f, 4 * k) - 30);
         }},
        {"Level.tab: a dry run", "Level.tab", ".1=1\n", 0, "9 records matched, 9 cells changed (dry run", nullptr,
         true},
        {"Length.tab: copy a column, by number", "Length.tab", "=通告期限=2\n.3=$2\n", 0, "",
         [s32, put16, lengthAt](QByteArray& f) {
           for (int j = 0; j < 36; ++j)
             if (s32(f, lengthAt(f, j, 24)) == 2) put16(f, lengthAt(f, j, 32), s32(f, lengthAt(f, j, 28)));
         }},
        {"Length.tab: a value that would not read back", "Length.tab", "=1=1\n.完成需要=7\n", 3,
         "record 1 (row 1), column 3 (完成需要), line 2: only the first two bytes of this slot are written: 7 would "
         "read back as 65543",
         nullptr},
        {"Length.tab: no such column", "Length.tab", ".完成=7\n", 3, "line 1: no column is named 完成", nullptr},
    };
    for (const Case& c : cases) {
      QTemporaryDir dir;
      copyFolder(sample_.path(), dir.path());
      const QString path = dir.path() + '/' + c.table;
      QByteArray before = ReadFile(path);
      if (QByteArray(c.table) == "Difficulty.tab") Put(before, 12 + 2, Hex("7f7f"));  // the slot's unread upper half
      if (QByteArray(c.table) == "Length.tab") {
        // Record 1 needs one day, another in the slot's unread upper half.
        put32(before, lengthAt(before, 0, 24), 1);
        put32(before, lengthAt(before, 0, 32), 0x10005);
      }
      QVERIFY(WriteFile(path, before));
      QVERIFY(WriteFile(dir.path() + "/batch.txt", QByteArray(c.text)));
      QStringList args{"--locale", "2052", "--lang", "en", "batch", dir.path(), c.table, dir.path() + "/batch.txt"};
      if (c.dryRun) args << "--dry-run";
      const CliRun r = RunCli(args);
      QVERIFY2(r.code == c.code, qPrintable(QStringLiteral("%1: %2").arg(c.name, QString::fromUtf8(r.err))));
      QVERIFY2(QString::fromUtf8(r.err).contains(QString::fromUtf8(c.err)), qPrintable(QString::fromUtf8(r.err)));
      if (!c.rule) {
        QVERIFY2(ReadFile(path) == before, c.name);
        QVERIFY2(!QFile::exists(path + ".bak"), c.name);
        continue;
      }
      QByteArray expected = before;
      c.rule(expected);
      QVERIFY2(expected != before, c.name);
      QVERIFY2(ReadFile(path) == expected, c.name);
      QVERIFY2(ReadFile(path + ".bak") == before, c.name);
      QVERIFY2(QDir(dir.path() + "/Vantaro3Backups/" + c.table).entryList(QDir::Files).size() == 1, c.name);
    }
  }
};

QTEST_GUILESS_MAIN(BatchTest)
#include "test_batch.moc"
