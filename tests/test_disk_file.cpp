// The disk layer on real files: what is not a readable regular file is an
// error, a replace keeps links and permissions and leaves nothing behind,
// Config.ini is never written over when it cannot be read.
#include <QtTest>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "text/DiskFile.h"
#include "text/Ini.h"
#include "text/Translation.h"

using namespace v3;
using namespace v3test;

class DiskFileTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString path(const char* name) const { return dir_.filePath(name); }

 private slots:
  // The system's words are English ones.
  void initTestCase() { InstallUiLanguage(UiLanguage::English); }

  void init() {
    for (const QString& f :
         QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
      QFileInfo info(dir_.filePath(f));
      if (info.isDir() && !info.isSymLink())
        QDir(info.filePath()).removeRecursively();
      else
        QFile::remove(info.filePath());
    }
  }

  void readsWholeFilesAndMissingOnes() {
    QVERIFY(WriteFile(path("a.dat"), QByteArray(70000, 'a')));
    QByteArray bytes;
    bool exists = false;
    QString error;
    QVERIFY(disk::Read(path("a.dat"), &bytes, &exists, &error));
    QVERIFY(exists);
    QCOMPARE(bytes.size(), 70000);
    QVERIFY(disk::Read(path("none.dat"), &bytes, &exists, &error));
    QVERIFY(!exists);
    QVERIFY(bytes.isEmpty());
  }

  // Compared in pieces of a megabyte: a difference in any piece, or in the
  // size, is another content.
  void readSameComparesEveryByte_data() {
    QTest::addColumn<int>("changedAt");  // -1: none
    QTest::addColumn<int>("sizeChange");
    QTest::addColumn<bool>("same");
    QTest::newRow("same") << -1 << 0 << true;
    QTest::newRow("first byte") << 0 << 0 << false;
    QTest::newRow("second piece") << (1 << 20) + 5 << 0 << false;
    QTest::newRow("last byte") << 3000000 - 1 << 0 << false;
    QTest::newRow("one byte longer") << -1 << 1 << false;
    QTest::newRow("one byte shorter") << -1 << -1 << false;
  }
  void readSameComparesEveryByte() {
    QFETCH(int, changedAt);
    QFETCH(int, sizeChange);
    QFETCH(bool, same);
    QByteArray expected(3000000, 'a');
    for (int i = 0; i < expected.size(); i += 7) expected[i] = char(i);
    QByteArray onDisk = expected;
    if (changedAt >= 0) onDisk[changedAt] = char(onDisk[changedAt] ^ 1);
    onDisk.resize(onDisk.size() + sizeChange, 'a');
    QVERIFY(WriteFile(path("a.dat"), onDisk));
    bool exists = false, isSame = !same;
    QString error;
    QVERIFY(disk::ReadSame(path("a.dat"), expected, &exists, &isSame, &error));
    QVERIFY(exists);
    QCOMPARE(isSame, same);
    QVERIFY(disk::ReadSame(path("none.dat"), expected, &exists, &isSame, &error));
    QVERIFY(!exists);
    QVERIFY(!isSame);
    QVERIFY(error.isEmpty());
  }

  void whatCannotBeReadIsAnError_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder") << "folder";
    QTest::newRow("pipe") << "pipe";
    QTest::newRow("dangling link") << "dangling";
    QTest::newRow("no permission") << "mode000";
  }

  void whatCannotBeReadIsAnError() {
    QFETCH(QString, kind);
    const QString p = path("x.dat");
    if (kind == "folder") QVERIFY(QDir().mkdir(p));
    if (kind == "pipe") QCOMPARE(::mkfifo(QFile::encodeName(p).constData(), 0644), 0);
    if (kind == "dangling")
      QCOMPARE(::symlink(QFile::encodeName(path("gone.dat")).constData(), QFile::encodeName(p).constData()), 0);
    if (kind == "mode000") {
      if (::geteuid() == 0) QSKIP("root reads every file");
      QVERIFY(WriteFile(p, "abc"));
      QFile::setPermissions(p, {});
    }
    QByteArray bytes = "stale";
    bool exists = false;
    QString error;
    const bool ok = disk::Read(p, &bytes, &exists, &error);
    if (kind == "dangling") {
      // A link to nothing is a missing file, as for any other reader.
      QVERIFY(ok);
      QVERIFY(!exists);
      return;
    }
    QVERIFY(!ok);
    QVERIFY(exists);
    QVERIFY(bytes.isEmpty());
    QVERIFY2(error.contains("x.dat"), qPrintable(error));
    QVERIFY(!error.contains("Unknown error"));
    // Compared with what was read before, or read in pieces, the same error.
    QString compareError, piecesError;
    bool same = true;
    QVERIFY(!disk::ReadSame(p, "abc", &exists, &same, &compareError));
    QCOMPARE(compareError, error);
    QVERIFY(!same);
    disk::PieceReader pieces;
    QVERIFY(!pieces.open(p, &exists, &piecesError));
    QCOMPARE(piecesError, error);
  }

  // Read in pieces, a file is its bytes; one that is cut short or grows
  // after it was opened is an error, as it is for a whole read.
  void piecesOfAFileThatChanges_data() {
    QTest::addColumn<int>("change");        // bytes the file gains (or loses) after it is opened
    QTest::addColumn<int>("changedAfter");  // pieces read before the change
    QTest::addColumn<int>("readTo");        // where the error says the reading ended; -1: no error
    QTest::newRow("unchanged") << 0 << 0 << -1;
    QTest::newRow("cut short before the last piece") << -50000 << 1 << 200000;
    QTest::newRow("cut to nothing") << -250000 << 0 << 0;
    QTest::newRow("grown") << 10 << 0 << 250001;
    QTest::newRow("grown once read") << 1 << 3 << 250001;
  }
  void piecesOfAFileThatChanges() {
    QFETCH(int, change);
    QFETCH(int, changedAfter);
    QFETCH(int, readTo);
    QByteArray content(250000, '\0');
    for (int i = 0; i < content.size(); ++i) content[i] = char(i * 7);
    QVERIFY(WriteFile(path("a.dat"), content));
    disk::PieceReader reader;
    bool exists = false;
    QString openError;
    QVERIFY(reader.open(path("a.dat"), &exists, &openError) && exists);
    QCOMPARE(reader.size(), 250000);
    QByteArray all = "head", piece;
    bool read = true;
    for (int k = 0; k < 4; ++k) {
      if (k == changedAfter && change != 0) {
        QFile f(path("a.dat"));
        QVERIFY(change > 0 ? f.open(QIODevice::Append) && f.write(QByteArray(change, 'x')) == change
                           : f.resize(250000 + change));
      }
      // Pieces of 100000 bytes, the last cut at the size; each behind what came before.
      read = read && reader.read(k * 100000, 100000, &all, all.size());
      if (change == 0) QCOMPARE(all.size(), qsizetype(4 + std::min(250000, (k + 1) * 100000)));
    }
    if (change == 0) QCOMPARE(all.mid(4), content);
    QString finishError = "stale";
    QCOMPARE(reader.finish(&finishError), readTo < 0);
    QCOMPARE(read, change >= 0);
    QVERIFY2(readTo < 0 ? finishError.isEmpty()
                        : finishError.contains(QString::number(readTo)) && finishError.contains("250000") &&
                              finishError.contains("a.dat"),
             qPrintable(finishError));
    // A missing file is no error.
    disk::PieceReader none;
    QVERIFY(none.open(path("none.dat"), &exists, &openError) && !exists);
    QVERIFY(none.finish(&openError));
  }

  void replaceKeepsLinksAndPermissions() {
    QVERIFY(WriteFile(path("real.dat"), "old"));
    QFile::setPermissions(path("real.dat"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QVERIFY(QFile::link(path("real.dat"), path("link.dat")));
    QString error;
    QVERIFY2(disk::Replace(path("link.dat"), "new content", &error), qPrintable(error));
    QVERIFY(QFileInfo(path("link.dat")).isSymLink());
    QCOMPARE(ReadFile(path("real.dat")), QByteArray("new content"));
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(path("real.dat")).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0640u);
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList({"link.dat", "real.dat"}));
  }

  void replaceRefusesWhatIsNotAFile() {
    QVERIFY(QDir().mkdir(path("Team.dat")));
    QString error;
    QVERIFY(!disk::Replace(path("Team.dat"), "x", &error));
    QVERIFY(error.contains("Team.dat"));
    QVERIFY(QFileInfo(path("Team.dat")).isDir());
    QString missingFolder;
    QVERIFY(!disk::Replace(path("no/such/folder/Team.dat"), "x", &missingFolder));
    QVERIFY2(missingFolder.contains("No such file or directory"), qPrintable(missingFolder));
  }

  void readOnlyFileIsLeftAlone() {
    if (::geteuid() == 0) QSKIP("root writes every file");
    QVERIFY(WriteFile(path("ro.dat"), "old"));
    QFile::setPermissions(path("ro.dat"), QFile::ReadOwner);
    QString error;
    QVERIFY(!disk::Replace(path("ro.dat"), "new", &error));
    QCOMPARE(ReadFile(path("ro.dat")), QByteArray("old"));
    QVERIFY(error.contains("Permission denied"));
  }

  void reasonsNameTheSystemsWords_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("words");
    QTest::newRow("ENOSPC") << ENOSPC << QStringLiteral("No space left on device");
    QTest::newRow("EIO") << EIO << QStringLiteral("Input/output error");
    QTest::newRow("EROFS") << EROFS << QStringLiteral("Read-only file system");
    QTest::newRow("EHWPOISON (no Chinese text)") << EHWPOISON << QStringLiteral("Memory page has hardware error");
    QTest::newRow("not an errno") << 9999 << QStringLiteral("9999");
  }

  void reasonsNameTheSystemsWords() {
    QFETCH(int, code);
    QFETCH(QString, words);
    const QString reason = disk::SystemReason(code);
    QVERIFY2(reason.contains(words), qPrintable(reason));
    QVERIFY(!reason.contains("Unknown error"));
  }

  // Config.ini that cannot be read keeps its other entries: neither the
  // reader's default nor a write replaces it.
  void unreadableSettingsAreNotWrittenOver() {
    QVERIFY(QDir().mkdir(path("Config.ini")));
    QString error;
    QVERIFY(!WriteIniValue(path("Config.ini"), "Config", "Path", "/data", &error));
    QVERIFY(error.contains("Config.ini"));
    QCOMPARE(ReadIniValue("Config", "Path", "/default", path("Config.ini")), QString("/default"));
    QVERIFY(QFileInfo(path("Config.ini")).isDir());
  }

  void settingsWriteChangesOnlyItsKey() {
    const QByteArray before = "; mine\r\n[Config]\r\nPath=/old\r\n[Other]\r\nKeep=1\r\n";
    QVERIFY(WriteFile(path("Config.ini"), before));
    QVERIFY(WriteIniValue(path("Config.ini"), "Config", "Path", "/new"));
    QCOMPARE(ReadFile(path("Config.ini")), QByteArray("; mine\r\n[Config]\r\nPath=/new\r\n[Other]\r\nKeep=1\r\n"));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
  }
};

QTEST_GUILESS_MAIN(DiskFileTest)
#include "test_disk_file.moc"
