// Saves on a failing disk. Every writer runs as its own process with a shim
// (faultshim.c, loaded with LD_PRELOAD) that fails one chosen system call on
// the data folder's files: the Nth open, read, write, fsync, close and rename
// for every N the save makes, with EIO and with ENOSPC, a write that puts
// only part of its bytes before the disk is full, and a read that ends
// early. After each, the old file must have its bytes, the .bak must be the
// complete old file or not there (or the older copy it replaced), no stray
// file may be left, the exit status is 1 and the message names the file and
// the system's reason.
#include <QProcess>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include <unistd.h>

#include "TestSupport.h"
#include "tools/Csv.h"

using namespace v3;
using namespace v3test;

namespace {

const QString kHistory = QStringLiteral("Vantaro3Backups");
const char* const kOps[] = {"open", "read", "write", "fsync", "close", "rename"};

enum class Writer { Import, Standalone, Ini };

struct Case {
  const char* name;
  const char* file;  // the file the save replaces
  Writer writer;
  QStringList args;  // Standalone: window, box, text; Ini: section, key, value
};

// Small, large (over 16 KiB), patched and slot-stream tables, two standalone
// windows (one fixed, one laid out by its header) and the settings file.
const Case kCases[] = {
    {"Team.dat (small)", "Team.dat", Writer::Import, {}},
    {"StarRole.dat (large)", "StarRole.dat", Writer::Import, {}},
    {"Active.tab (patched)", "Active.tab", Writer::Import, {}},
    {"Item.dat (slot stream)", "Item.dat", Writer::Import, {}},
    {"Level.tab", "Level.tab", Writer::Standalone, {"Level", "Text1(2)", "450"}},
    {"Length.tab", "Length.tab", Writer::Standalone, {"Length", "Texta(1)", "7"}},
    {"Config.ini", "Config.ini", Writer::Ini, {"Config", "Path", "/games/vantaro3/Data"}},
};

struct Fault {
  QString op;  // empty: none, only count
  int n = 0;
  int errnoValue = 0;
  QString mode;  // "", "short", "eof"
};

struct Outcome {
  int code = -1;
  QString err;
  QByteArray out;
  std::map<QString, int> counts;
  bool fired = false;
};

bool IsStray(const QString& name) { return name.contains(".saving-") || name.contains(".keep-"); }

QStringList listing(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot,
                                QDir::Name);
}

// Toggles the lowest bit of the last whole-number cell of the first record
// (column 1 is left: it orders the records), so the new content differs
// from the old and stays within every field's range.
QByteArray changedCsv(const QByteArray& csv) {
  std::vector<QStringList> records;
  int line = 0;
  QString reason;
  if (!ParseCsv(csv, &records, &line, &reason) || records.empty()) return QByteArray();
  QStringList& first = records.front();
  for (qsizetype c = first.size() - 1; c >= 1; --c) {
    bool ok = false;
    const qlonglong v = first[c].toLongLong(&ok);
    if (!ok) continue;
    first[c] = QString::number(v ^ 1);
    break;
  }
  QByteArray out;
  for (const QStringList& r : records) out += CsvLine(r);
  return out;
}

}  // namespace

class FaultInjectionTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString shim_, writer_, cli_, sample_;
  int tried_ = 0, survived_ = 0;

  struct Prepared {
    QString folder;  // the folder the shim watches
    QString target;  // the file the save replaces
    QStringList command;
    QString program;
    QByteArray original, changed, stale;
    QStringList files;  // the folder's files before the save, .bak aside
  };

  Outcome run(const Prepared& p, const Fault& f) {
    QProcess proc;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", shim_);
    // A sanitizer runtime would insist on coming first in the library list.
    env.insert("ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0");
    env.insert("V3FAULT_DIR", p.folder);
    const QString report = dir_.filePath("report.txt");
    QFile::remove(report);
    env.insert("V3FAULT_REPORT", report);
    if (!f.op.isEmpty()) {
      env.insert("V3FAULT_OP", f.op);
      env.insert("V3FAULT_N", QString::number(f.n));
      env.insert("V3FAULT_ERRNO", QString::number(f.errnoValue));
      if (!f.mode.isEmpty()) env.insert("V3FAULT_MODE", f.mode);
    }
    proc.setProcessEnvironment(env);
    proc.start(p.program, p.command);
    Outcome o;
    if (!proc.waitForFinished(60000)) return o;
    o.code = proc.exitStatus() == QProcess::NormalExit ? proc.exitCode() : -1;
    o.err = QString::fromUtf8(proc.readAllStandardError());
    o.out = proc.readAllStandardOutput();
    for (const QByteArray& line : ReadFile(report).split('\n')) {
      const QList<QByteArray> parts = line.split(' ');
      if (parts.size() != 2) continue;
      if (parts[0] == "fired")
        o.fired = parts[1] == "1";
      else
        o.counts[QString::fromLatin1(parts[0])] = parts[1].toInt();
    }
    return o;
  }

  // Puts the folder back as it was before a save: the old file, no .bak or a
  // stale one, nothing else.
  void reset(const Prepared& p, bool staleBackup) {
    for (const QString& f : listing(p.folder))
      if (!p.files.contains(f)) QFile::remove(QDir(p.folder).filePath(f));
    QDir(QDir(p.folder).filePath(kHistory)).removeRecursively();
    QVERIFY(WriteFile(p.target, p.original));
    if (staleBackup) QVERIFY(WriteFile(p.target + ".bak", p.stale));
  }

  Prepared prepare(const Case& c) {
    Prepared p;
    const QString root = dir_.filePath(QString::fromLatin1(c.name).section(' ', 0, 0));
    p.folder = root + "/data";
    QDir().mkpath(p.folder);
    p.target = QDir(p.folder).filePath(c.file);
    if (c.writer == Writer::Ini) {
      p.original = "; settings\r\n[Config]\r\nPath=/old/Data\r\n[Window]\r\nWidth=1024\r\n";
      WriteFile(p.target, p.original);
      p.program = writer_;
      p.command = QStringList{"ini", p.target} + c.args;
    } else {
      for (const QString& f : QDir(sample_).entryList(QDir::Files)) QFile::copy(sample_ + "/" + f, p.folder + "/" + f);
      if (c.writer == Writer::Import) {
        QProcess exp;
        exp.start(cli_, {"export", p.folder, c.file});
        exp.waitForFinished(60000);
        QByteArray csv = exp.readAllStandardOutput();
        if (QString::fromLatin1(c.file) == "Team.dat") {
          // A small file: the first five teams.
          const QList<QByteArray> lines = csv.split('\n');
          csv = lines.mid(0, 5).join('\n') + '\n';
          const QString small = root + "/small.csv";
          WriteFile(small, csv);
          QProcess imp;
          imp.start(cli_, {"import", p.folder, c.file, small, "--allow-removal"});
          imp.waitForFinished(60000);
          QFile::remove(p.target + ".bak");
          QDir(QDir(p.folder).filePath(kHistory)).removeRecursively();
        }
        const QString csvPath = root + "/new.csv";
        WriteFile(csvPath, changedCsv(csv));
        p.program = cli_;
        p.command = {"import", p.folder, c.file, csvPath, "--allow-removal"};
      } else {
        p.program = writer_;
        p.command = QStringList{"standalone", p.folder} + c.args;
      }
      p.original = ReadFile(p.target);
    }
    p.stale = "an older backup";
    p.files = listing(p.folder);
    return p;
  }

 private slots:
  void initTestCase() {
    shim_ = QString::fromLocal8Bit(qgetenv("V3_FAULTSHIM"));
    writer_ = QString::fromLocal8Bit(qgetenv("V3_FAULT_WRITER"));
    cli_ = QString::fromLocal8Bit(qgetenv("V3_CLI"));
    if (shim_.isEmpty() || writer_.isEmpty() || cli_.isEmpty()) QSKIP("the shim and the writers are set by CTest");
    sample_ = dir_.filePath("sample");
    QCOMPARE(RunCli({"sample", sample_, "--seed", "3", "--records", "50"}).code, 0);
    QVERIFY(QFileInfo(sample_ + "/StarRole.dat").size() > 16 * 1024);
  }

  void everyFaultOfEverySave_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kCases)); ++i) QTest::newRow(kCases[i].name) << i;
  }

  void everyFaultOfEverySave() {
    QFETCH(int, index);
    const Case& c = kCases[index];
    const Prepared p = prepare(c);
    QVERIFY2(p.original.size() > 0, c.file);
    if (QString::fromLatin1(c.file) == "StarRole.dat") QVERIFY(p.original.size() > 16 * 1024);

    // The save without a fault: what it writes, and how many calls it makes.
    reset(p, false);
    const Outcome clean = run(p, Fault{});
    QVERIFY2(clean.code == 0, qPrintable(clean.err));
    const QByteArray expected = ReadFile(p.target);
    QVERIFY2(expected != p.original, "the save must change the file for the test to mean anything");
    if (c.writer == Writer::Ini)
      QVERIFY(!QFile::exists(p.target + ".bak"));  // settings keep no backup
    else
      QCOMPARE(ReadFile(p.target + ".bak"), p.original);
    for (const char* op : {"open", "write", "fsync", "rename"}) QVERIFY2(clean.counts.at(op) > 0, op);

    std::vector<Fault> faults;
    for (const char* op : kOps)
      for (int n = 1; n <= clean.counts.at(op); ++n)
        for (int e : {EIO, ENOSPC}) faults.push_back({op, n, e, {}});
    for (int n = 1; n <= clean.counts.at("write"); ++n) faults.push_back({"write", n, ENOSPC, "short"});
    for (int n = 1; n <= clean.counts.at("read"); ++n) faults.push_back({"read", n, 0, "eof"});

    QStringList problems;
    int tried = 0, survived = 0;
    for (size_t i = 0; i < faults.size(); ++i) {
      const Fault& f = faults[i];
      const bool stale = i % 2 == 1;
      reset(p, stale);
      const Outcome o = run(p, f);
      const QString what = QStringLiteral("%1 #%2 %3%4")
                               .arg(f.op)
                               .arg(f.n)
                               .arg(f.mode.isEmpty() ? QString::fromLatin1(strerrorname_np(f.errnoValue)) : f.mode)
                               .arg(stale ? " (older .bak)" : "");
      ++tried;
      QStringList wrong;
      if (!o.fired) wrong << "the fault did not happen";
      const QByteArray now = ReadFile(p.target);
      const bool backupThere = QFile::exists(p.target + ".bak");
      const QByteArray backup = ReadFile(p.target + ".bak");
      // A read that only meets the end early, at the end, changes nothing:
      // the save may then go through, with the same result as without fault.
      const bool harmless = f.mode == "eof" && o.code == 0 && now == expected &&
                            (c.writer == Writer::Ini ? !backupThere : backup == p.original);
      if (!harmless) {
        // The command-line tool's status for a refused or failed save; the
        // test writer's for any failure.
        const int failed = c.writer == Writer::Import ? 3 : 1;
        if (o.code != failed) wrong << QStringLiteral("exit status %1").arg(o.code);
        if (now != p.original) wrong << QStringLiteral("the file changed (%1 bytes now)").arg(now.size());
        if (backupThere && backup != p.original && !(stale && backup == p.stale))
          wrong << QStringLiteral(".bak is neither the old file nor the older copy (%1 bytes)").arg(backup.size());
        if (!o.err.contains(QString::fromLatin1(c.file))) wrong << "the message does not name the file";
        const QString reason =
            f.mode == "eof" ? QStringLiteral("cannot read all of") : QString::fromUtf8(strerrordesc_np(f.errnoValue));
        if (!o.err.contains(reason)) wrong << QStringLiteral("the message does not give the reason \"%1\"").arg(reason);
        if (o.err.contains("Unknown error")) wrong << "the message says \"Unknown error\"";
      }
      QStringList left = listing(p.folder);
      left.removeAll(QString::fromLatin1(c.file) + ".bak");
      left.removeAll(kHistory);
      if (left != p.files) wrong << QStringLiteral("stray files: %1").arg(left.join(' '));
      // The history holds whole copies of the old file and nothing else.
      const QString history = QDir(p.folder).filePath(kHistory + "/" + c.file);
      for (const QString& f : listing(history))
        if (ReadFile(history + "/" + f) != p.original)
          wrong << QStringLiteral("history: %1 is not the old file").arg(f);
      if (wrong.isEmpty())
        ++survived;
      else
        problems << QStringLiteral("%1: %2 [%3]").arg(what, wrong.join("; "), o.err.trimmed());
    }
    tried_ += tried;
    survived_ += survived;
    qInfo("%s: %d faults tried, %d survived", c.name, tried, survived);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.mid(0, 12).join('\n')));
  }

  // Saves of several files: a star removed through import renumbers the
  // stars after it, so Team.dat and Firm.dat are saved with StarRole.dat as
  // one; a patch that renames a producer and changes a case writes
  // Producer.tab and CDCase.dat as one. For every fault of every call,
  // either all the files keep their old bytes or all have their new ones;
  // nothing is left beside them.
  void severalFilesAllOrNothing_data() {
    QTest::addColumn<bool>("patch");
    QTest::newRow("import moving stars") << false;
    QTest::newRow("patch of Producer.tab and a case") << true;
  }

  void severalFilesAllOrNothing() {
    QFETCH(bool, patch);
    Prepared p;
    const QString root = dir_.filePath(patch ? "patched" : "linked");
    p.folder = root + "/data";
    QDir().mkpath(p.folder);
    const QStringList files =
        patch ? QStringList{"Producer.tab", "CDCase.dat"} : QStringList{"StarRole.dat", "Team.dat", "Firm.dat"};
    for (const QString& f : files + QStringList{"Producer.tab"})
      if (!QFile::exists(p.folder + "/" + f)) QVERIFY(QFile::copy(sample_ + "/" + f, p.folder + "/" + f));
    p.program = cli_;
    if (patch) {
      // The mod: the first producer renamed, one number of the first case changed.
      const QString mod = root + "/mod";
      QVERIFY(QDir().mkpath(mod));
      for (const QString& f : files) QVERIFY(QFile::copy(p.folder + "/" + f, mod + "/" + f));
      QList<QByteArray> producers = RunCli({"export", mod, "Producer.tab"}).out.split('\n');
      QList<QByteArray> first = producers[0].split(',');
      first[1] = "新名";
      producers[0] = first.join(',');
      QVERIFY(WriteFile(root + "/producers.csv", producers.join('\n')));
      QCOMPARE(RunCli({"import", mod, "Producer.tab", root + "/producers.csv"}).code, 0);
      QVERIFY(WriteFile(root + "/cases.csv", changedCsv(RunCli({"export", mod, "CDCase.dat"}).out)));
      QCOMPARE(RunCli({"import", mod, "CDCase.dat", root + "/cases.csv"}).code, 0);
      const CliRun diff = RunCli({"diff", p.folder, mod, "--patch"});
      QVERIFY(WriteFile(root + "/mod.v3patch", diff.out));
      p.command = {"apply", p.folder, root + "/mod.v3patch"};
    } else {
      const CliRun exp = RunCli({"export", p.folder, "StarRole.dat"});
      QList<QByteArray> lines = exp.out.split('\n');
      lines.removeAt(2);  // the third star
      const QString csv = root + "/stars.csv";
      QVERIFY(WriteFile(csv, lines.join('\n')));
      p.command = {"import", p.folder, "StarRole.dat", csv, "--allow-removal"};
    }
    p.files = listing(p.folder);
    std::map<QString, QByteArray> old, saved;
    for (const QString& f : files) old[f] = ReadFile(p.folder + "/" + f);
    auto restore = [&] {
      for (const QString& f : listing(p.folder))
        if (!p.files.contains(f)) QDir(p.folder).remove(f);
      QDir(p.folder + "/" + kHistory).removeRecursively();
      for (const QString& f : files) WriteFile(p.folder + "/" + f, old[f]);
    };
    const Outcome clean = run(p, {});
    QVERIFY2(clean.code == 0, qPrintable(clean.err));
    for (const QString& f : files) {
      saved[f] = ReadFile(p.folder + "/" + f);
      QVERIFY2(saved[f] != old[f], qPrintable(f + " must change for the test to mean anything"));
    }
    std::vector<Fault> faults;
    for (const char* op : kOps)
      for (int n = 1; n <= clean.counts.at(op); ++n)
        for (int e : {EIO, ENOSPC}) faults.push_back({op, n, e, {}});
    for (int n = 1; n <= clean.counts.at("write"); ++n) faults.push_back({"write", n, ENOSPC, "short"});
    QStringList problems;
    int allOld = 0, allNew = 0;
    for (const Fault& f : faults) {
      restore();
      const Outcome o = run(p, f);
      const QString what =
          QStringLiteral("%1 #%2 %3").arg(f.op).arg(f.n).arg(f.mode.isEmpty() ? strerrorname_np(f.errnoValue) : f.mode);
      int same = 0, done = 0;
      for (const QString& f : files) {
        const QByteArray now = ReadFile(p.folder + "/" + f);
        same += now == old[f];
        done += now == saved[f];
      }
      QStringList wrong;
      if (!o.fired) wrong << "the fault did not happen";
      if (same == int(files.size()) && o.code == 3) {
        ++allOld;
        // A file, or the folder when the failure is the folder's.
        if (std::none_of(files.begin(), files.end(), [&](const QString& n) { return o.err.contains(n); }) &&
            !o.err.contains(p.folder + ':'))
          wrong << "the message names no file";
      } else if (done == int(files.size()) && o.code == 0) {
        ++allNew;
      } else {
        wrong << QStringLiteral("%1 files old, %2 new, exit status %3").arg(same).arg(done).arg(o.code);
      }
      QStringList left = listing(p.folder);
      for (const QString& n : files) left.removeAll(n + ".bak");
      left.removeAll(kHistory);
      if (left != p.files) wrong << QStringLiteral("stray files: %1").arg(left.join(' '));
      if (!wrong.isEmpty())
        problems << QStringLiteral("%1: %2 [%3]").arg(what, wrong.join("; "), o.err.trimmed().right(300));
    }
    qInfo("%s: %d faults tried, %d left all old, %d all new", qPrintable(files.join(" + ")), int(faults.size()), allOld,
          allNew);
    tried_ += int(faults.size());
    survived_ += int(faults.size()) - int(problems.size());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.mid(0, 12).join('\n')));
  }

  // A save killed at any write, flush or rename leaves the old or the new
  // file whole; what it leaves behind is reported by check and lint, and the
  // next save removes it.
  void killedSavesLeaveNothingForLong() {
    const Prepared p = prepare(kCases[0]);
    reset(p, false);
    const Outcome clean = run(p, {});
    QCOMPARE(clean.code, 0);
    const QByteArray saved = ReadFile(p.target);
    int leftSomething = 0;
    for (const char* op : {"write", "fsync", "rename"})
      for (int n = 1; n <= clean.counts.at(op); ++n) {
        const QString what = QStringLiteral("killed at %1 #%2").arg(op).arg(n);
        reset(p, false);
        const Outcome killed = run(p, {op, n, 0, "kill"});
        QVERIFY2(killed.code == -1, qPrintable(what));
        const QByteArray now = ReadFile(p.target);
        QVERIFY2(now == p.original || now == saved, qPrintable(what));
        QStringList left = listing(p.folder);
        for (const QString& f : p.files) left.removeAll(f);
        left.removeAll(QString::fromLatin1(kCases[0].file) + ".bak");
        left.removeAll(kHistory);
        const CliRun check = RunCli({"check", p.folder, "Team.dat"});
        const CliRun lint = RunCli({"lint", p.folder});
        for (const QString& f : left) {
          QVERIFY2(IsStray(f), qPrintable(what + ": " + f));
          QVERIFY2(check.code == 1 && check.out.contains(f.toUtf8()), qPrintable(what + ": check " + check.out));
          QVERIFY2(lint.out.contains(f.toUtf8()), qPrintable(what + ": lint " + lint.out));
        }
        leftSomething += !left.isEmpty();
        QVERIFY2(run(p, {}).code == 0, qPrintable(what));
        QCOMPARE(ReadFile(p.target), saved);
        left = listing(p.folder);
        for (const QString& f : p.files) left.removeAll(f);
        QCOMPARE(left, QStringList({QString::fromLatin1(kCases[0].file) + ".bak", kHistory}));
        const CliRun after = RunCli({"check", p.folder, "Team.dat"});
        QVERIFY2(after.code == 0, after.out.constData());
      }
    QVERIFY(leftSomething > 0);

    // A temporary file that cannot be removed after the save went through is told.
    QVERIFY(clean.counts.at("unlink") > 0);
    for (int n = 1; n <= clean.counts.at("unlink"); ++n) {
      reset(p, false);
      const Outcome o = run(p, {"unlink", n, EIO, {}});
      QCOMPARE(o.code, 0);
      QVERIFY2(o.err.contains("warning") && o.err.contains(".keep-"), qPrintable(o.err));
      QCOMPARE(RunCli({"check", p.folder, "Team.dat"}).code, 1);
      QCOMPARE(run(p, {}).code, 0);
      QCOMPARE(RunCli({"check", p.folder, "Team.dat"}).code, 0);
    }
  }

  // Reading commands: a read that fails is reported, never taken as an empty
  // or a different file.
  void readErrorsOfTheReadingCommands() {
    Prepared p;
    p.folder = dir_.filePath("reading");
    QDir().mkpath(p.folder);
    for (const char* f : {"Team.dat", "Firm.dat", "StarRole.dat", "OfficeEmo.dat"})
      QVERIFY(QFile::copy(sample_ + "/" + f, p.folder + "/" + f));
    p.program = cli_;
    // A workbook is all or nothing: a read that fails after its first rows
    // were made (the second read of StarRole.dat) writes none of it.
    for (const char* command : {"export", "check", "xlsx"})
      for (const char* table : {"Team.dat", "StarRole.dat", "OfficeEmo.dat"}) {
        p.command = {command, p.folder, table};
        if (QString(command) == "xlsx") p.command = QStringList{"export", p.folder, table, "--format", "xlsx"};
        for (const Fault& f : {Fault{"open", 1, EIO, {}}, Fault{"read", 1, EIO, {}}, Fault{"read", 1, 0, "eof"},
                               Fault{"read", 2, EIO, {}}}) {
          if (f.n == 2 && QString(table) == "Team.dat") continue;
          const Outcome o = run(p, f);
          QVERIFY2(o.fired, command);
          QCOMPARE(o.code, 3);
          QVERIFY2(o.err.contains(table) || QString(command) == "check", qPrintable(o.err));
          if (QString(command) == "xlsx" || (QString(command) == "export" && f.n == 1))
            QVERIFY2(o.out.isEmpty(), command);
        }
      }
    // check reports a file it cannot read as such, not as a difference.
    QVERIFY(QFile::remove(p.folder + "/Firm.dat"));
    QVERIFY(QDir().mkdir(p.folder + "/Firm.dat"));
    const CliRun r = RunCli({"check", p.folder, "Firm.dat"});
    QCOMPARE(r.code, 3);
    QVERIFY2(r.out.contains("Firm.dat: cannot be read") && !r.out.contains("differs"), r.out.constData());
    const CliRun e = RunCli({"export", p.folder, "Firm.dat"});
    QCOMPARE(e.code, 3);
    QVERIFY(e.out.isEmpty());
  }

  // A real full disk: a 64 KiB tmpfs, filled up but for 0..3 pages. Each
  // save either goes through whole or leaves the old file and says why.
  void fullFileSystem() {
    if (::geteuid() != 0) QSKIP("mounting a small file system needs root");
    const QString mount = dir_.filePath("small-disk");
    QDir().mkpath(mount);
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", mount}) != 0)
      QSKIP("cannot mount a tmpfs here");
    auto unmount = qScopeGuard([&] { QProcess::execute("umount", {mount}); });
    const QString folder = mount + "/data";
    QVERIFY(QDir().mkpath(folder));
    for (const char* f : {"Team.dat", "StarRole.dat", "Producer.tab"})
      QVERIFY(QFile::copy(sample_ + "/" + f, folder + "/" + f));
    const QString target = folder + "/Team.dat";
    const QByteArray original = ReadFile(target);
    QProcess exp;
    exp.start(cli_, {"export", folder, "Team.dat"});
    exp.waitForFinished(60000);
    const QString csv = dir_.filePath("full.csv");
    QVERIFY(WriteFile(csv, changedCsv(exp.readAllStandardOutput())));

    int failedSaves = 0, goodSaves = 0;
    for (int freePages = 0; freePages <= 3; ++freePages) {
      for (const QString& f : QDir(mount).entryList({"fill-*"}, QDir::Files)) QFile::remove(mount + "/" + f);
      QFile::remove(target + ".bak");
      QVERIFY(WriteFile(target, original));
      QStringList fillers;
      for (int i = 0;; ++i) {
        const QString name = QStringLiteral("%1/fill-%2").arg(mount).arg(i);
        QFile f(name);
        if (!f.open(QIODevice::WriteOnly) || f.write(QByteArray(4096, 'x')) != 4096 || !f.flush()) {
          f.close();
          QFile::remove(name);
          break;
        }
        fillers << name;
      }
      for (int i = 0; i < freePages && !fillers.isEmpty(); ++i) QFile::remove(fillers.takeLast());
      const CliRun r = RunCli({"import", folder, "Team.dat", csv, "--allow-removal"});
      const QByteArray now = ReadFile(target);
      const bool backupThere = QFile::exists(target + ".bak");
      if (r.code == 0) {
        ++goodSaves;
        QVERIFY(now != original);
        QCOMPARE(ReadFile(target + ".bak"), original);
      } else {
        ++failedSaves;
        QCOMPARE(r.code, 3);
        QCOMPARE(now, original);
        if (backupThere) QCOMPARE(ReadFile(target + ".bak"), original);
        QVERIFY2(r.err.contains("No space left on device") && r.err.contains("Team.dat"), r.err.constData());
      }
      for (const QString& f : QDir(folder).entryList(QDir::Files))
        QVERIFY2(f == "Team.dat" || f == "Team.dat.bak" || f == "StarRole.dat" || f == "Producer.tab", qPrintable(f));
    }
    QVERIFY(failedSaves > 0);  // no room at all cannot go through
    qInfo("full disk: %d saves refused, %d went through", failedSaves, goodSaves);
  }

  void cleanupTestCase() {
    if (tried_) qInfo("fault injection: %d faults tried, %d survived", tried_, survived_);
  }
};

QTEST_GUILESS_MAIN(FaultInjectionTest)
#include "test_fault_injection.moc"
