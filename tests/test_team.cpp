// Team.dat end to end: the framed-file codec, the save pipeline and its refusals and failures.
#include <QtTest>

#include "TestSupport.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/Big5.h"
#include "text/Locale.h"

#include <unistd.h>

using namespace v3;
using namespace v3test;

namespace {

QByteArray teamRecord(int number, const QByteArray& nameBig5, std::initializer_list<int> values) {
  QByteArray r(60, '\0');
  Put(r, 0, Le(number, 4));
  Put(r, 4, nameBig5);
  int at = 24;
  for (int v : values) {
    Put(r, at, Le(v, 4));
    at += 4;
  }
  return r;
}

// A store whose backup copy or replacement fails on demand.
class FailingStore : public FileStore {
 public:
  bool failBackup = false;
  qint64 failAfterBytes = -1;  // replace writes this many bytes of the new content, then fails
  bool backUp(const QString& from, const QByteArray& content, const QString& to, QString* error) override {
    if (failBackup) {
      *error = "backup refused";
      return false;
    }
    return FileStore::backUp(from, content, to, error);
  }
  bool replace(const QString& path, const QByteArray& bytes, QString* error) override {
    if (failAfterBytes >= 0 && !path.endsWith(".bak")) {
      QSaveFile out(path);
      if (!out.open(QIODevice::WriteOnly)) return false;
      out.write(bytes.left(failAfterBytes));
      out.cancelWriting();  // the disk filled up half-way
      *error = "disk full";
      return false;
    }
    return FileStore::replace(path, bytes, error);
  }
};

}  // namespace

class TeamTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString path() const { return dir_.filePath("Team.dat"); }

 private slots:
  void init() {
    QFile::remove(path());
    QFile::remove(path() + ".bak");
  }

  void loadReadsSixteenBitSlots() {
    const QByteArray name = EncodeBig5("星光少女");
    QVERIFY(WriteFile(
        path(), Header(2, 60) + teamRecord(1, name, {3, -1, 0x12345, 2, 900, 0, 0, 0, 7}) + teamRecord(2, "AB", {})));
    RecordStore grid;
    QVERIFY(LoadTable(TeamTable(), dir_.path(), Script::Traditional, grid));
    QCOMPARE(grid.recordCount(), 2);
    QCOMPARE(grid.fieldCount(), 11);
    QCOMPARE(grid.record(1), (QStringList{"1", "星光少女", "3", "-1", "9029", "2", "900", "0", "0", "0", "7"}));
    QCOMPARE(grid.cell(2, 2), QStringLiteral("AB"));
    QCOMPARE(grid.leadingColumns(), 2);
  }

  void untouchedFileSavesIdentical() {
    const QByteArray file = Header(3, 60) + teamRecord(1, EncodeBig5("飛輪海"), {0, 1, 2, 3, 100, 1, 2, 3, 4}) +
                            teamRecord(2, "", {-1, -1, -1, -1, 0, 0, 0, 0, 0}) +
                            teamRecord(10, EncodeBig5("東方神話"), {5, 6, 7, 8, 32767, -32768, 0, 0, -3});
    QVERIFY(WriteFile(path(), file));
    RecordStore grid;
    LoadTable(TeamTable(), dir_.path(), Script::Traditional, grid);
    QCOMPARE(SaveTable(TeamTable(), dir_.path(), Script::Traditional, grid).status, SaveOutcome::Saved);
    QCOMPARE(ReadFile(path()), file);
    QCOMPARE(ReadFile(path() + ".bak"), file);
    QVERIFY(!grid.isModified());
  }

  void saveSortsAndFrames() {
    RecordStore grid;
    grid.reset(11, {{"10", "C"}, {"2", "B", "-1"}, {"1", "A"}});
    QCOMPARE(SaveTable(TeamTable(), dir_.path(), Script::Traditional, grid).status, SaveOutcome::Saved);
    const QByteArray saved = ReadFile(path());
    QCOMPARE(saved.size(), 12 + 3 * 60);
    QCOMPARE(saved.left(12), Header(3, 60));
    QCOMPARE(saved.mid(12, 4), Le(1, 4));
    QCOMPARE(saved.mid(72, 4), Le(2, 4));
    QCOMPARE(saved.mid(72 + 24, 4), Hex("ffffffff"));  // "-1"
    QCOMPARE(saved.mid(132, 4), Le(10, 4));
    QCOMPARE(saved.mid(12 + 4, 20), QByteArray("A") + QByteArray(19, '\0'));
    // The grid shows the order written.
    QCOMPARE(grid.cell(1, 1), QStringLiteral("1"));
    QCOMPARE(grid.cell(2, 1), QStringLiteral("2"));
    QCOMPARE(grid.cell(3, 1), QStringLiteral("10"));
    QVERIFY(!QFile::exists(path() + ".bak"));  // there was no file to keep
  }

  void emptyTableIsHeaderOnly() {
    RecordStore grid;
    grid.reset(11, {});
    QVERIFY(SaveTable(TeamTable(), dir_.path(), Script::Traditional, grid).ok());
    QCOMPARE(ReadFile(path()), Header(0, 60));
  }

  void shortAndOddFiles_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("rows");
    QTest::newRow("missing") << QByteArray() << 0;
    QTest::newRow("shorter than header") << Hex("f203") << 0;
    QTest::newRow("count 0, data after") << Header(0, 60) + QByteArray(60, 'x') << 0;
    QTest::newRow("negative count") << Header(-5, 60) << 0;
    QTest::newRow("count beyond end") << Header(3, 60) + teamRecord(1, "A", {}) << 3;
    QTest::newRow("32767 in 12 bytes") << Header(32767, 60) << 32767;
  }
  void shortAndOddFiles() {
    QFETCH(QByteArray, file);
    QFETCH(int, rows);
    if (!file.isEmpty()) QVERIFY(WriteFile(path(), file));
    RecordStore grid;
    LoadTable(TeamTable(), dir_.path(), Script::Traditional, grid);
    QCOMPARE(grid.recordCount(), rows);
    if (rows > 1) QCOMPARE(grid.record(rows), (QStringList{"0", "", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
    // A load never creates or changes a file.
    QCOMPARE(QFile::exists(path()), !file.isEmpty());
    if (!file.isEmpty()) QCOMPARE(ReadFile(path()), file);
  }

  void refusals_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cell");
    QTest::newRow("not a number") << 2 << 7 << "lots";
    QTest::newRow("beyond 32 bits") << 1 << 11 << "4294967296";
    QTest::newRow("name too long") << 3 << 2 << "一二三四五六七八九十甲";  // 22 bytes in a 20-byte field
    QTest::newRow("number column as text") << 3 << 1 << "x1";
  }
  void refusals() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, cell);
    const QByteArray file = Header(1, 60) + teamRecord(1, "OLD", {});
    QVERIFY(WriteFile(path(), file));
    QVERIFY(WriteFile(path() + ".bak", "older backup"));
    RecordStore grid;
    grid.reset(11, {{"30", "C"}, {"20", "B"}, {"10", "A"}});
    grid.setCell(row, column, cell);
    const std::vector<QStringList> before = grid.records();
    const SaveOutcome out = SaveTable(TeamTable(), dir_.path(), Script::Traditional, grid);
    QCOMPARE(out.status, SaveOutcome::Refused);
    QCOMPARE(out.row, row);  // named as the grid showed it, before any sort
    QCOMPARE(out.column, column);
    QVERIFY(!out.reason.isEmpty());
    QVERIFY(out.message("Team.dat", "人气").contains(QString::number(row)));
    // Nothing on disk changed, and the grid is as it was.
    QCOMPARE(ReadFile(path()), file);
    QCOMPARE(ReadFile(path() + ".bak"), QByteArray("older backup"));
    QCOMPARE(grid.records(), before);
  }

  void roundingAndEmptyCells() {
    RecordStore grid;
    grid.reset(11, {{"1", "", "2.5", "-1.5", "", "3.5"}});
    QVERIFY(SaveTable(TeamTable(), dir_.path(), Script::Traditional, grid).ok());
    const QByteArray saved = ReadFile(path());
    QCOMPARE(saved.mid(12 + 24, 4), Le(2, 4));
    QCOMPARE(saved.mid(12 + 28, 4), Le(-2, 4));
    QCOMPARE(saved.mid(12 + 32, 4), Le(0, 4));
    QCOMPARE(saved.mid(12 + 36, 4), Le(4, 4));
  }

  void failedBackupLeavesFileAlone() {
    const QByteArray file = Header(1, 60) + teamRecord(5, "OLD", {});
    QVERIFY(WriteFile(path(), file));
    RecordStore grid;
    grid.reset(11, {{"1", "NEW"}});
    FailingStore store;
    store.failBackup = true;
    const SaveOutcome out = SaveTable(TeamTable(), dir_.path(), Script::Traditional, grid, store);
    QCOMPARE(out.status, SaveOutcome::Failed);
    QVERIFY(out.message("Team.dat").contains(".bak"));
    QCOMPARE(ReadFile(path()), file);
    QVERIFY(!QFile::exists(path() + ".bak"));
  }

  void failedWriteKeepsOldFileAndBackup_data() {
    QTest::addColumn<qint64>("after");
    QTest::newRow("nothing written") << qint64(0);
    QTest::newRow("header written") << qint64(12);
    QTest::newRow("mid record") << qint64(40);
  }
  void failedWriteKeepsOldFileAndBackup() {
    QFETCH(qint64, after);
    const QByteArray file = Header(1, 60) + teamRecord(5, "OLD", {});
    QVERIFY(WriteFile(path(), file));
    RecordStore grid;
    grid.reset(11, {{"2", "NEW"}, {"1", "NEW"}});
    FailingStore store;
    store.failAfterBytes = after;
    const SaveOutcome out = SaveTable(TeamTable(), dir_.path(), Script::Traditional, grid, store);
    QCOMPARE(out.status, SaveOutcome::Failed);
    QCOMPARE(ReadFile(path()), file);
    QCOMPARE(ReadFile(path() + ".bak"), file);
    QCOMPARE(grid.cell(1, 1), QStringLiteral("2"));  // not shown as saved
  }

  void readOnlyFolder() {
    if (geteuid() == 0) QSKIP("root writes into read-only folders");
    QTemporaryDir ro;
    const QString p = ro.filePath("Team.dat");
    const QByteArray file = Header(0, 60);
    QVERIFY(WriteFile(p, file));
    QFile::setPermissions(ro.path(), QFile::ReadOwner | QFile::ExeOwner);
    RecordStore grid;
    grid.reset(11, {{"1", "A"}});
    const SaveOutcome out = SaveTable(TeamTable(), ro.path(), Script::Traditional, grid);
    QFile::setPermissions(ro.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(out.status, SaveOutcome::Failed);
    QCOMPARE(ReadFile(p), file);
  }

  void folderRemovedBehindTheProgram() {
    RecordStore grid;
    grid.reset(11, {{"1", "A"}});
    const SaveOutcome out = SaveTable(TeamTable(), dir_.filePath("gone"), Script::Traditional, grid);
    QCOMPARE(out.status, SaveOutcome::Failed);
    QVERIFY(!QFileInfo::exists(dir_.filePath("gone")));
  }

  void fileFoundWithoutRegardToCase() {
    QVERIFY(WriteFile(dir_.filePath("TEAM.DAT"), Header(1, 60) + teamRecord(7, "X", {})));
    RecordStore grid;
    LoadTable(TeamTable(), dir_.path(), Script::Traditional, grid);
    QCOMPARE(grid.cell(1, 1), QStringLiteral("7"));
    QVERIFY(SaveTable(TeamTable(), dir_.path(), Script::Traditional, grid).ok());
    QVERIFY(QFile::exists(dir_.filePath("TEAM.DAT.bak")));
    QVERIFY(!QFile::exists(path()));
    QFile::remove(dir_.filePath("TEAM.DAT"));
    QFile::remove(dir_.filePath("TEAM.DAT.bak"));
  }

 private:
  static QByteArray EncodeBig5(const char* utf8) { return EncodeBig5Text(QString::fromUtf8(utf8)).bytes; }
};

QTEST_GUILESS_MAIN(TeamTest)
#include "test_team.moc"
