// Saves in a folder that does not play along: links where the .bak goes,
// tables that are links or have a second name, odd modes and owners, files
// left by stopped saves, another save holding the folder, a file changed
// after it was read, and the history of earlier versions. Each case runs the
// real command-line tool on real files.
#include <QProcess>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "storage/BackupHistory.h"
#include "storage/SafeSave.h"

using namespace v3;
using namespace v3test;

namespace {

enum class Setup {
  Plain,
  BakLinkToTable,
  BakLinkElsewhere,
  BakDangling,
  BakLoop,
  BakLinkToFolder,
  TableIsLink,
  HardLink,
  Mode0600,
  Mode0640,
  ReadOnly,
  OtherOwner,
  Strays,
  LockHeld,
  HistoryIsLink,
};

// The last number of the first line changed by one: a save that changes the file.
QByteArray edited(const QByteArray& csv, int by) {
  QList<QByteArray> lines = csv.split('\n');
  QByteArray& first = lines[0];
  const qsizetype comma = first.lastIndexOf(',');
  first = first.left(comma + 1) + QByteArray::number(first.mid(comma + 1).toInt() + by);
  return lines.join('\n');
}

mode_t modeOf(const QString& path) {
  struct stat st;
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}

}  // namespace

Q_DECLARE_METATYPE(Setup)

class SaveSafetyTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString sample_, csv_;
  QByteArray original_;

  QString folder() const { return dir_.filePath("data"); }
  QString table() const { return folder() + "/Team.dat"; }
  QString victim() const { return dir_.filePath("victim"); }
  QString history() const { return folder() + "/Vantaro3Backups/Team.dat"; }

  void freshFolder() {
    QDir(folder()).removeRecursively();
    QDir(dir_.filePath("elsewhere")).removeRecursively();
    QFile::remove(victim());
    QFile::remove(dir_.filePath("second-name"));
    QVERIFY(QDir().mkpath(folder()));
    for (const QString& f : QDir(sample_).entryList(QDir::Files))
      QVERIFY(QFile::copy(sample_ + "/" + f, folder() + "/" + f));
    QVERIFY(WriteFile(victim(), "someone else's file"));
  }

 private slots:
  void initTestCase() {
    if (qEnvironmentVariableIsEmpty("V3_CLI")) QSKIP("the command-line tool is set by CTest");
    sample_ = dir_.filePath("sample");
    QCOMPARE(RunCli({"sample", sample_, "--records", "8"}).code, 0);
    original_ = ReadFile(sample_ + "/Team.dat");
    const CliRun exported = RunCli({"export", sample_, "Team.dat"});
    QCOMPARE(exported.code, 0);
    csv_ = dir_.filePath("edited.csv");
    QVERIFY(WriteFile(csv_, edited(exported.out, 1)));
  }

  void folderSituations_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("message");  // in the standard error
    QTest::addColumn<int>("mode");         // of the table, .bak and history after; 0: not checked
    const bool root = ::geteuid() == 0;
    QTest::newRow("plain") << Setup::Plain << true << "" << 0;
    QTest::newRow(".bak links to the table") << Setup::BakLinkToTable << true << "" << 0;
    QTest::newRow(".bak links elsewhere") << Setup::BakLinkElsewhere << true << "" << 0;
    QTest::newRow(".bak is a dangling link") << Setup::BakDangling << true << "" << 0;
    QTest::newRow(".bak is a link loop") << Setup::BakLoop << true << "" << 0;
    QTest::newRow(".bak links to a folder") << Setup::BakLinkToFolder << true << "" << 0;
    QTest::newRow("table is a link") << Setup::TableIsLink << true << "" << 0;
    QTest::newRow("table has a second name") << Setup::HardLink << true << "hard link" << 0;
    QTest::newRow("mode 0600") << Setup::Mode0600 << true << "" << 0600;
    QTest::newRow("mode 0640") << Setup::Mode0640 << true << "" << 0640;
    QTest::newRow("mode 0444") << Setup::ReadOnly << false << "chmod u+w" << 0444;
    if (root) QTest::newRow("another owner") << Setup::OtherOwner << true << "" << 0664;
    QTest::newRow("stray files of stopped saves") << Setup::Strays << true << "" << 0;
    QTest::newRow("another save holds the folder") << Setup::LockHeld << false << "another program is saving" << 0;
    QTest::newRow("history folder is a link") << Setup::HistoryIsLink << false << "symbolic link" << 0;
  }

  void folderSituations() {
    QFETCH(Setup, setup);
    QFETCH(bool, saved);
    QFETCH(QString, message);
    QFETCH(int, mode);
    freshFolder();
    const QString bak = table() + ".bak";
    const QString elsewhere = dir_.filePath("elsewhere");
    QProcess holder;
    switch (setup) {
      case Setup::Plain: break;
      case Setup::BakLinkToTable: QVERIFY(QFile::link("Team.dat", bak)); break;
      case Setup::BakLinkElsewhere: QVERIFY(QFile::link(victim(), bak)); break;
      case Setup::BakDangling: QVERIFY(QFile::link(dir_.filePath("nowhere"), bak)); break;
      case Setup::BakLoop: QVERIFY(::symlink("Team.dat.bak", QFile::encodeName(bak).constData()) == 0); break;
      case Setup::BakLinkToFolder:
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(QFile::link(elsewhere, bak));
        break;
      case Setup::TableIsLink:
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(QFile::rename(table(), elsewhere + "/Team.dat"));
        QVERIFY(QFile::link(elsewhere + "/Team.dat", table()));
        break;
      case Setup::HardLink:
        QVERIFY(::link(QFile::encodeName(table()).constData(),
                       QFile::encodeName(dir_.filePath("second-name")).constData()) == 0);
        break;
      case Setup::Mode0600:
      case Setup::Mode0640:
      case Setup::ReadOnly: QVERIFY(::chmod(QFile::encodeName(table()).constData(), mode_t(mode)) == 0); break;
      case Setup::OtherOwner:
        QVERIFY(::chown(QFile::encodeName(table()).constData(), 65534, 65534) == 0);
        QVERIFY(::chmod(QFile::encodeName(table()).constData(), 0664) == 0);
        break;
      case Setup::Strays:
        for (const char* n : {"Team.dat.saving-abcd1234", "Team.dat.keep-0000zzzz", "Team.dat.bak.saving-12345678",
                              "Team.dat.saving-short", "Firm.dat.saving-aaaaaaaa"})
          QVERIFY(WriteFile(folder() + "/" + n, "left behind"));
        break;
      case Setup::LockHeld:
        holder.start("flock", {folder(), "sleep", "30"});
        QVERIFY(holder.waitForStarted());
        QTest::qWait(300);
        break;
      case Setup::HistoryIsLink:
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(QFile::link(elsewhere, folder() + "/Vantaro3Backups"));
        break;
    }

    const CliRun r = RunCli({"import", folder(), "Team.dat", csv_});
    if (holder.state() != QProcess::NotRunning) {
      holder.kill();
      holder.waitForFinished();
    }
    const QString err = QString::fromUtf8(r.err);
    QCOMPARE(r.code, saved ? 0 : 3);
    if (!message.isEmpty()) QVERIFY2(err.contains(message), qPrintable(err));
    QCOMPARE(ReadFile(victim()), QByteArray("someone else's file"));
    QVERIFY(!QFileInfo::exists(dir_.filePath("nowhere")));
    if (setup == Setup::BakLinkToFolder) QVERIFY(QDir(elsewhere).isEmpty());
    if (setup == Setup::HistoryIsLink) QVERIFY(QDir(elsewhere).isEmpty());

    const QFileInfo bakInfo(bak);
    const std::vector<BackupVersion> versions = BackupVersions(table());
    if (!saved) {
      QCOMPARE(ReadFile(table()), original_);
      QVERIFY(!bakInfo.exists());
      QVERIFY(versions.empty());
      if (mode) QCOMPARE(int(modeOf(table()) & 0777), mode);
      return;
    }
    QVERIFY(ReadFile(table()) != original_);
    // The old table is in a regular .bak and in the history, never written through a link.
    QVERIFY(bakInfo.isFile() && !bakInfo.isSymLink());
    QCOMPARE(ReadFile(bak), original_);
    QCOMPARE(int(versions.size()), 1);
    QByteArray kept;
    QString error;
    QVERIFY(ReadBackupVersion(versions.front(), &kept, &error));
    QCOMPARE(kept, original_);
    if (mode) {
      QCOMPARE(int(modeOf(table()) & 0777), mode);
      QCOMPARE(int(modeOf(bak) & 0777), mode);
      QCOMPARE(int(modeOf(versions.front().path) & 0777), mode);
    }
    switch (setup) {
      case Setup::TableIsLink:
        QVERIFY(QFileInfo(table()).isSymLink());
        QVERIFY(ReadFile(elsewhere + "/Team.dat") != original_);
        break;
      case Setup::HardLink: QCOMPARE(ReadFile(dir_.filePath("second-name")), original_); break;
      case Setup::OtherOwner:
        for (const QString& f : {table(), bak}) {
          struct stat st;
          QVERIFY(::stat(QFile::encodeName(f).constData(), &st) == 0);
          QCOMPARE(st.st_uid, uid_t(65534));
          QCOMPARE(st.st_gid, gid_t(65534));
        }
        break;
      case Setup::Strays: {
        // Only the files that are a stopped save's of this table go.
        const QStringList left = QDir(folder()).entryList({"*.saving-*", "*.keep-*"}, QDir::Files, QDir::Name);
        QCOMPARE(left, QStringList({"Firm.dat.saving-aaaaaaaa", "Team.dat.saving-short"}));
        break;
      }
      default: break;
    }
  }

  // Two imports of one table at once: each either saves a whole version over
  // the one it read, or is refused; no saved version is lost without a word.
  void twoWritersAtOnce() {
    freshFolder();
    const QString other = dir_.filePath("other.csv");
    QVERIFY(WriteFile(other, edited(ReadFile(csv_), 1)));
    const QString cli = qEnvironmentVariable("V3_CLI");
    const QStringList csvs = {csv_, other};
    QList<QByteArray> results;  // each import's file, made alone
    for (const QString& c : csvs) {
      QVERIFY(WriteFile(table(), original_));
      QCOMPARE(RunCli({"import", folder(), "Team.dat", c}).code, 0);
      results << ReadFile(table());
    }
    QVERIFY(results[0] != results[1]);
    int refused = 0;
    for (int round = 0; round < 12; ++round) {
      QVERIFY(WriteFile(table(), original_));
      QDir(folder() + "/Vantaro3Backups").removeRecursively();
      QProcess p[2];
      for (int i = 0; i < 2; ++i) p[i].start(cli, {"import", folder(), "Team.dat", csvs[i]});
      QSet<QByteArray> there;
      for (QProcess& x : p) QVERIFY(x.waitForFinished(60000));
      there = {ReadFile(table()), ReadFile(table() + ".bak")};
      for (const BackupVersion& v : BackupVersions(table())) {
        QByteArray bytes;
        QString error;
        QVERIFY(ReadBackupVersion(v, &bytes, &error));
        there << bytes;
      }
      QVERIFY(there.contains(original_));
      for (int i = 0; i < 2; ++i) {
        const QString err = QString::fromUtf8(p[i].readAllStandardError());
        if (p[i].exitCode() == 0) {
          QVERIFY2(there.contains(results[i]),
                   qPrintable(QStringLiteral("round %1: import %2's save is gone").arg(round).arg(i)));
        } else {
          ++refused;
          QCOMPARE(p[i].exitCode(), 3);
          QVERIFY2(err.contains("changed after it was read"), qPrintable(err));
        }
      }
      QVERIFY(p[0].exitCode() == 0 || p[1].exitCode() == 0);
    }
    qInfo("%d of 24 imports refused as the loser of a race", refused);
  }

  // The check right before the replace, within one process: a file changed
  // after it was read is not replaced.
  void fileChangedAfterItWasRead() {
    freshFolder();
    FileStamp read = FileStamp::of(table());
    QVERIFY(WriteFile(table(), "changed by the game"));
    SaveFileOptions options;
    options.expected = &read;
    const SaveFileResult r = SaveDataFile(table(), "new content", options);
    QCOMPARE(r.status, SaveFileResult::Refused);
    QCOMPARE(ReadFile(table()), QByteArray("changed by the game"));
    QVERIFY(!QFileInfo::exists(table() + ".bak"));
  }

  void historyKeepsTheNewestVersions() {
    freshFolder();
    SaveFileOptions options;
    options.historyDepth = 3;
    // Five saves, one of them of unchanged bytes: four versions replaced,
    // the same content twice in a row kept once, three kept.
    const QList<QByteArray> contents = {"one", "two", "two", "three", "four"};
    for (const QByteArray& c : contents) QVERIFY(SaveDataFile(table(), c, options).ok());
    const std::vector<BackupVersion> v = BackupVersions(table());
    QCOMPARE(int(v.size()), 3);
    QList<QByteArray> kept;
    for (const BackupVersion& x : v) {
      QByteArray bytes;
      QString error;
      QVERIFY(ReadBackupVersion(x, &bytes, &error));
      kept << bytes;
    }
    QCOMPARE(kept, QList<QByteArray>({"three", "two", "one"}));
    QVERIFY(v[0].id > v[1].id && v[1].id > v[2].id);

    // The command line lists them and puts one back, keeping what it replaces.
    const CliRun list = RunCli({"backups", folder(), "team.dat"});
    QCOMPARE(list.code, 0);
    QCOMPARE(list.out.count('\n'), 3);
    QVERIFY(list.out.startsWith(QByteArray::number(v[0].id) + '\t'));
    const CliRun wrong = RunCli({"restore", folder(), "Team.dat", "999"});
    QCOMPARE(wrong.code, 3);
    QVERIFY2(QString::fromUtf8(wrong.err).contains(QString::number(v[2].id)), wrong.err.constData());
    const CliRun back = RunCli({"restore", folder(), "Team.dat", QString::number(v[2].id)});
    QCOMPARE(back.code, 0);
    QCOMPARE(ReadFile(table()), QByteArray("one"));
    QCOMPARE(ReadFile(table() + ".bak"), QByteArray("four"));
    QByteArray newest;
    QString error;
    QVERIFY(ReadBackupVersion(BackupVersions(table()).front(), &newest, &error));
    QCOMPARE(newest, QByteArray("four"));
  }

  // Each replaced content stays in the history however the file's names are
  // written afterwards: a file with no other name goes into the history as it
  // is (the save gives its name a new file), one with a second name is copied,
  // and a save that fails leaves no version that is still the file itself.
  // Written in place through every name afterwards, no version changes.
  void historyOutlivesWritesInPlace_data() {
    QTest::addColumn<bool>("secondName");
    QTest::addColumn<bool>("lastFails");
    QTest::newRow("sole name") << false << false;
    QTest::newRow("a second name") << true << false;
    QTest::newRow("the last save fails") << false << true;
  }
  void historyOutlivesWritesInPlace() {
    QFETCH(bool, secondName);
    QFETCH(bool, lastFails);
    struct FailingReplace : FileStore {
      bool replace(const QString&, const QByteArray&, QString* error) override {
        *error = QStringLiteral("disk full");
        return false;
      }
    } failing;
    freshFolder();
    const QString other = dir_.filePath("second-name");
    QVERIFY(WriteFile(table(), "one"));
    if (secondName) QCOMPARE(::link(QFile::encodeName(table()).constData(), QFile::encodeName(other).constData()), 0);
    SaveFileOptions options;
    QVERIFY(SaveDataFile(table(), "two", options).ok());
    const SaveFileResult last = SaveDataFile(table(), "three", options, lastFails ? failing : FileStore::disk());
    QCOMPARE(last.ok(), !lastFails);
    QCOMPARE(ReadFile(table()), QByteArray(lastFails ? "two" : "three"));
    for (const QString& name : {table(), table() + ".bak", other})
      if (QFileInfo::exists(name)) QVERIFY(WriteFile(name, "written in place"));
    QList<QByteArray> kept;
    for (const BackupVersion& v : BackupVersions(table())) {
      QByteArray bytes;
      QString error;
      QVERIFY(ReadBackupVersion(v, &bytes, &error));
      kept << bytes;
    }
    QCOMPARE(kept, lastFails ? QList<QByteArray>({"one"}) : QList<QByteArray>({"two", "one"}));
  }

  void historyDepthFromConfig_data() {
    QTest::addColumn<QByteArray>("config");  // empty: no Config.ini
    QTest::addColumn<int>("depth");
    QTest::newRow("no file") << QByteArray() << kDefaultHistoryDepth;
    QTest::newRow("no entry") << QByteArray("[Config]\nPath=/x\n") << kDefaultHistoryDepth;
    QTest::newRow("three") << QByteArray("[Config]\nBackupVersions=3\n") << 3;
    QTest::newRow("none") << QByteArray("[config]\nbackupversions = 0\n") << 0;
    QTest::newRow("not a number") << QByteArray("[Config]\nBackupVersions=many\n") << kDefaultHistoryDepth;
    QTest::newRow("negative") << QByteArray("[Config]\nBackupVersions=-2\n") << kDefaultHistoryDepth;
    QTest::newRow("huge") << QByteArray("[Config]\nBackupVersions=99999\n") << 1000;
  }

  void historyDepthFromConfig() {
    QFETCH(QByteArray, config);
    QFETCH(int, depth);
    const QString ini = dir_.filePath("Config.ini");
    QFile::remove(ini);
    if (!config.isEmpty()) QVERIFY(WriteFile(ini, config));
    QCOMPARE(HistoryDepthSetting(dir_.path()), depth);
  }
};

QTEST_GUILESS_MAIN(SaveSafetyTest)
#include "test_save_safety.moc"
