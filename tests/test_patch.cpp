// Patches through the command-line tool on real folders: diff --patch, then
// apply, compared byte for byte with the folder the patch was made from.
#include <QRegularExpression>
#include <QDir>
#include <QtTest>

#include "TestSupport.h"

using namespace v3test;

namespace {

void copyFolder(const QString& from, const QString& to) {
  for (const QString& f : QDir(from).entryList(QDir::Files)) QFile::copy(from + '/' + f, to + '/' + f);
}

// Every data file of the folder (no backups) and its bytes.
QMap<QString, QByteArray> dataFiles(const QString& folder) {
  QMap<QString, QByteArray> out;
  for (const QString& f : QDir(folder).entryList(QDir::Files))
    if (!f.endsWith(".bak") && !f.endsWith(".txt") && !f.endsWith(".v3patch") && !f.endsWith(".csv"))
      out.insert(f, ReadFile(folder + '/' + f));
  return out;
}

// The files whose bytes differ between two folders.
QStringList differing(const QString& a, const QString& b) {
  const QMap<QString, QByteArray> x = dataFiles(a), y = dataFiles(b);
  QStringList out;
  for (auto it = x.begin(); it != x.end(); ++it)
    if (y.value(it.key()) != it.value()) out << it.key();
  return out;
}

bool batch(const QString& folder, const char* table, const QByteArray& text) {
  if (!WriteFile(folder + "/b.txt", text)) return false;
  const CliRun r = RunCli({"batch", folder, table, folder + "/b.txt"});
  QFile::remove(folder + "/b.txt");
  return r.code == 0;
}

QByteArray patchOf(const QString& a, const QString& b) { return RunCli({"diff", a, b, "--patch"}).out; }

CliRun apply(const QString& folder, const QByteArray& patch, const QStringList& options = {}) {
  WriteFile(folder + "/p.v3patch", patch);
  return RunCli(QStringList{"--lang", "en", "--locale", "2052", "apply", folder, folder + "/p.v3patch"} + options);
}

}  // namespace

class PatchTest : public QObject {
  Q_OBJECT
  QTemporaryDir a_;  // a sample folder with bytes a save keeps but a grid cannot show

 private slots:
  void initTestCase() {
    if (qgetenv("V3_CLI").isEmpty()) QSKIP("V3_CLI is set by CTest");
    QCOMPARE(RunCli({"sample", a_.path(), "--seed", "4", "--records", "6"}).code, 0);
    // Team.dat record 1: a byte that is no Big5 character in the name, bytes
    // after the name's end, and the unread upper half of a 16-bit number.
    QByteArray team = ReadFile(a_.path() + "/Team.dat");
    Put(team, 12 + 4, QByteArray("X\xA4!\0\x01\x02junk", 10));
    Put(team, 12 + 24 + 2, Hex("7f7f"));
    QVERIFY(WriteFile(a_.path() + "/Team.dat", team));
  }

  // B is A changed through the editor's own save in every table (cells,
  // producers, added records, a grid-ordered table reordered, a byte that is
  // no character carried in a changed cell). The patch turns a copy of A
  // into B byte for byte, and its reverse turns B back into A.
  void roundTripEveryTable() {
    QTemporaryDir other, b, c, d;
    QCOMPARE(RunCli({"sample", other.path(), "--seed", "5", "--records", "8"}).code, 0);
    copyFolder(a_.path(), b.path());
    for (const QByteArray& line : RunCli({"tables"}).out.split('\n')) {
      const QString table = QString::fromUtf8(line.split('\t').value(0));
      if (table.isEmpty() || line.contains("read-only")) continue;
      QByteArray csv = RunCli({"export", other.path(), table}).out;
      if (table == "Team.dat") {
        QList<QByteArray> lines = csv.split('\n');
        lines[0] = RunCli({"export", a_.path(), table}).out.split('\n')[0];  // record 1 as it is in A
        QList<QByteArray> second = lines[1].split(',');
        second[1] = "Q\\xA4!";
        lines[1] = second.join(',');
        csv = lines.join('\n');
      }
      if (table == "Active.tab" || table == "Pression.tab") {
        // The save does not write columns 2-3 of these: they stay as in A.
        QList<QByteArray> lines = csv.split('\n');
        const QList<QByteArray> inA = RunCli({"export", a_.path(), table}).out.split('\n');
        for (qsizetype i = 0; i < lines.size() && i < inA.size(); ++i) {
          QList<QByteArray> cells = lines[i].split(','), kept = inA[i].split(',');
          if (cells.size() < 3 || kept.size() < 3) continue;
          cells[1] = kept[1];
          cells[2] = kept[2];
          lines[i] = cells.join(',');
        }
        csv = lines.join('\n');
      }
      QVERIFY(WriteFile(b.path() + "/in.csv", csv));
      const CliRun r = RunCli({"import", b.path(), table, b.path() + "/in.csv"});
      QVERIFY2(r.code == 0, qPrintable(table + ": " + QString::fromUtf8(r.err)));
    }
    QFile::remove(b.path() + "/in.csv");
    QVERIFY(differing(a_.path(), b.path()).size() >= 25);

    const QByteArray patch = patchOf(a_.path(), b.path());
    QVERIFY(patch.startsWith("Vantaro3 patch\t1\ntables\t"));
    QVERIFY(patch.contains("Team.dat\tchanged\t2\t1\t2\t"));
    QVERIFY(patch.contains("\tQ\\xA4!\n"));
    QVERIFY(patch.contains("\tadded\t"));

    copyFolder(a_.path(), c.path());
    const CliRun forward = apply(c.path(), patch);
    QVERIFY2(forward.code == 0, forward.err.constData());
    QCOMPARE(differing(b.path(), c.path()), QStringList{});
    QVERIFY(dataFiles(c.path()).value("Team.dat").contains(QByteArray("X\xA4!\0\x01\x02junk", 10)));

    copyFolder(b.path(), d.path());
    const CliRun back = apply(d.path(), patch, {"--reverse"});
    QVERIFY2(back.code == 0, back.err.constData());
    QCOMPARE(differing(a_.path(), d.path()), QStringList{});
    // Applied again, every change is found done.
    const CliRun again = apply(c.path(), patch);
    QCOMPARE(again.code, 0);
    QVERIFY2(again.err.startsWith("0 changes to apply, "), again.err.constData());
  }

  // Two patches of different fields give both, in either order; the same
  // field changed differently is a conflict, listed, and nothing is written
  // (in any table of the patch) unless --force.
  void twoPatches() {
    QTemporaryDir one, two, first, second;
    copyFolder(a_.path(), one.path());
    copyFolder(a_.path(), two.path());
    QVERIFY(batch(one.path(), "Team.dat", "=编号=3\n.人气=1111\n"));
    QVERIFY(batch(one.path(), "Item.dat", ".价格*=2\n"));
    QVERIFY(batch(two.path(), "Team.dat", "=编号=3\n.通告数量=9\n"));
    const QByteArray p1 = patchOf(a_.path(), one.path()), p2 = patchOf(a_.path(), two.path());
    copyFolder(a_.path(), first.path());
    copyFolder(a_.path(), second.path());
    QCOMPARE(apply(first.path(), p1).code, 0);
    QCOMPARE(apply(first.path(), p2).code, 0);
    QCOMPARE(apply(second.path(), p2).code, 0);
    QCOMPARE(apply(second.path(), p1).code, 0);
    QCOMPARE(differing(first.path(), second.path()), QStringList{});
    const QByteArray team = RunCli({"export", first.path(), "Team.dat"}).out.split('\n')[2];
    QVERIFY2(team.startsWith("3,") && team.contains(",1111,") && team.endsWith(",9\r"), team.constData());

    // The same field changed another way: a conflict, and nothing written.
    QTemporaryDir target;
    copyFolder(a_.path(), target.path());
    QVERIFY(batch(target.path(), "Team.dat", "=编号=3\n.人气=2222\n"));
    const QMap<QString, QByteArray> before = dataFiles(target.path());
    const QList<QByteArray> record3 = RunCli({"export", a_.path(), "Team.dat"}).out.split('\n')[2].split(',');
    const QString old = QString::fromUtf8(record3[6]), name = QString::fromUtf8(record3[1]);
    const CliRun r = apply(target.path(), p1);
    QCOMPARE(r.code, 1);
    // Named by key and name, as diff names records.
    QVERIFY2(QString::fromUtf8(r.err).contains(
                 QStringLiteral("conflict: Team.dat: record 3 “%2”: 人气: expected %1, found 2222, wanted 1111")
                     .arg(old, name)),
             r.err.constData());
    QCOMPARE(dataFiles(target.path()), before);
    QVERIFY(!QFile::exists(target.path() + "/Item.dat.bak"));
    const CliRun dry = apply(target.path(), p1, {"--dry-run", "--force"});
    QCOMPARE(dry.code, 1);
    QVERIFY2(QString::fromUtf8(dry.out).contains(
                 QRegularExpression(QStringLiteral("Team\\.dat: record 3( “[^”]*”)?: 人气: 2222 → 1111\n"))),
             dry.out.constData());
    QCOMPARE(dataFiles(target.path()), before);
    QCOMPARE(apply(target.path(), p1, {"--force"}).code, 1);
    QCOMPARE(RunCli({"export", target.path(), "Team.dat"}).out.split('\n')[2].split(',')[6], QByteArray("1111"));
  }

  // A patch with a wrong line is refused naming the line; nothing is written.
  void badLines() {
    struct Case {
      QByteArray text;
      const char* err;
    };
    const QByteArray head = "Vantaro3 patch\t1\ntables\tTeam.dat\tLevel.tab\n";
    const Case cases[] = {
        {"Vantaro3 patch\n", "line 1: not a patch"},
        {"Vantaro3 patch\t2\ntables\tTeam.dat\n", "line 1: format version 2 is not known"},
        {"Vantaro3 patch\t1\n# tables below\ntables\tNoSuch.dat\n", "line 3: unknown table NoSuch.dat"},
        {"Vantaro3 patch\t1\nTeam.dat\tchanged\t1\t1\t7\tx\t1\t2\n", "line 2: the tables line"},
        {head + "Item.dat\tchanged\t1\t1\t7\tx\t1\t2\n", "line 3: Item.dat is not one of the tables"},
        {head + "\nTeam.dat\tmoved\t1\t1\t7\tx\t1\t2\n", "line 4: moved is no change"},
        {head + "Team.dat\tchanged\t1\t1\t7\tx\t1\n", "line 3: 7 fields where a changed change of Team.dat has 8"},
        {head + "Team.dat\tchanged\t1\t1\t12\tx\t1\t2\n", "line 3: 12 is no column of Team.dat (1 to 11)"},
        {head + "Team.dat\tchanged\t1\t0\t7\tx\t1\t2\n", "line 3: 0 is no occurrence"},
        {head + "Level.tab\tremoved\t1\t1\t1\t480\n", "line 3: Level.tab has a fixed set of records"},
        {head + "Team.dat\tadded\t9\t1\t9\t9\tZ\n", "line 3: 7 fields where a added change of Team.dat has 16"},
        {head + "Team.dat\tchanged\t1\t1\t7\tx\t\xff\t2\n", "line 3: not UTF-8 text"},
        {head + "Team.dat\torder\t1#1\t1#1\n", "line 3: a save sorts Team.dat"},
    };
    QTemporaryDir dir;
    copyFolder(a_.path(), dir.path());
    const QMap<QString, QByteArray> before = dataFiles(dir.path());
    for (const Case& c : cases) {
      const CliRun r = apply(dir.path(), c.text);
      QCOMPARE(r.code, 3);
      QVERIFY2(r.err.contains(c.err), r.err.constData());
      QCOMPARE(dataFiles(dir.path()), before);
    }
  }
};

QTEST_GUILESS_MAIN(PatchTest)
#include "test_patch.moc"
