// The command line of vantaro3-cli: help, options, arguments, the folders it
// is given, standard input and output, and the exit status of each.
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>
#include <unistd.h>

#include "TestSupport.h"

using namespace v3test;

namespace {

const QStringList kCommands{"export", "import",  "check",   "diff",   "batch", "apply",
                            "lint",   "backups", "restore", "sample", "tables"};

QString cliPath() { return QString::fromLocal8Bit(qgetenv("V3_CLI")); }

// Runs the tool with standard input given, or with standard output going to
// a full device ("full") or a pipe whose reader is gone, SIGPIPE ignored ("pipe").
CliRun runWith(const QStringList& args, const QByteArray& input, const QString& sink = QString()) {
  QProcess p;
  int closedPipe[2] = {-1, -1};
  if (sink == "full") p.setStandardOutputFile("/dev/full");
  if (sink == "pipe") {
    if (::pipe(closedPipe) != 0) return {-1, {}, {}};
    ::close(closedPipe[0]);
    p.setChildProcessModifier([w = closedPipe[1]] {
      ::signal(SIGPIPE, SIG_IGN);
      ::dup2(w, STDOUT_FILENO);
    });
  }
  p.start(cliPath(), args);
  p.write(input);
  p.closeWriteChannel();
  const bool finished = p.waitForFinished(120000);
  if (closedPipe[1] >= 0) ::close(closedPipe[1]);
  if (!finished || p.exitStatus() != QProcess::NormalExit) return {-1, {}, {}};
  return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// Text with roff requests, font changes and Markdown marks taken out, blanks collapsed.
QString plain(QString text) {
  text.remove(QRegularExpression("^\\..*$", QRegularExpression::MultilineOption));
  text.remove(QRegularExpression("\\\\f[BIRP]"));
  text.replace("\\-", "-");
  text.remove(u'`');
  return text.simplified();
}

}  // namespace

class CliArgsTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString data_, other_, spoiled_, empty_, partial_, csv_, large_;

  QString folder(const QString& name) {
    const QString path = dir_.filePath(name);
    QDir().mkpath(path);
    return path;
  }

 private slots:
  void initTestCase() {
    if (cliPath().isEmpty()) QSKIP("V3_CLI is set by CTest");
    data_ = folder("data");
    other_ = folder("other");
    spoiled_ = folder("spoiled");
    empty_ = folder("empty");
    partial_ = folder("partial");
    QCOMPARE(RunCli({"sample", data_, "--seed", "2", "--records", "5"}).code, 0);
    QCOMPARE(RunCli({"sample", other_, "--seed", "3", "--records", "5"}).code, 0);
    QCOMPARE(RunCli({"sample", spoiled_, "--seed", "2", "--records", "5"}).code, 0);
    large_ = folder("large");  // an export of many pieces
    QCOMPARE(RunCli({"sample", large_, "--seed", "2", "--records", "2000"}).code, 0);
    QByteArray active = ReadFile(spoiled_ + "/Active.tab");
    active.replace(4, 2, Le(8, 2));  // 8 records where the game reads 9: a lint finding
    QVERIFY(WriteFile(spoiled_ + "/Active.tab", active));
    QVERIFY(QFile::copy(data_ + "/Team.dat", partial_ + "/Team.dat"));
    csv_ = dir_.filePath("team.csv");
    QVERIFY(WriteFile(csv_, RunCli({"export", data_, "Team.dat"}).out));
    QCOMPARE(RunCli({"import", data_, "Team.dat", csv_}).code, 0);  // an earlier version for backups
  }

  void invocations_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("fragment");  // in standard output or standard error
    for (const QString& c : kCommands) {
      const QString usage = "Usage: vantaro3-cli [--locale N] [--lang L] " + c;
      QTest::addRow("help %s", qPrintable(c)) << QStringList{"help", c} << 0 << usage;
      QTest::addRow("%s --help", qPrintable(c)) << QStringList{c, "--help"} << 0 << usage;
      QTest::addRow("%s -h", qPrintable(c)) << QStringList{c, "-h"} << 0 << usage;
      QTest::addRow("%s unknown option", qPrintable(c))
          << QStringList{c, "--bogus"} << 2 << "Unknown option 'bogus'.\nTry 'vantaro3-cli help " + c + "'.";
    }
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "Commands:\n  export FOLDER TABLE";
    QTest::newRow("help") << QStringList{"help"} << 0 << "Exit status:";
    QTest::newRow("--help COMMAND") << QStringList{"--help", "lint"} << 0
                                    << "Usage: vantaro3-cli [--locale N] [--lang L] lint";
    QTest::newRow("help of no command") << QStringList{"help", "frobnicate"} << 2 << "unknown command: frobnicate";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "Try 'vantaro3-cli --help'.";
    QTest::newRow("unknown option before the command") << QStringList{"--bogus", "tables"} << 2 << "Unknown option";
    // Options take their value either way, before or after the arguments.
    QTest::newRow("--encoding=gbk") << QStringList{"export", data_, "Team.dat", "--encoding=gbk"} << 0 << "1,";
    QTest::newRow("--encoding gbk") << QStringList{"export", "--encoding", "gbk", data_, "Team.dat"} << 0 << "1,";
    QTest::newRow("--locale=1028 in the command")
        << QStringList{"export", data_, "Team.dat", "--header", "--locale=1028"} << 0
        << QStringLiteral("編號,團體名稱");
    QTest::newRow("--locale 2052 first") << QStringList{"--locale", "2052", "export", data_, "Team.dat", "--header"}
                                         << 0 << QStringLiteral("编号,团体名称");
    QTest::newRow("--seed=5 --records=2")
        << QStringList{"sample", dir_.filePath("s1"), "--seed=5", "--records=2"} << 0 << "sample data folder written";
    QTest::newRow("--seed 5 --records 2") << QStringList{"sample", "--seed", "5", dir_.filePath("s2"), "--records", "2"}
                                          << 0 << "sample data folder written";
    QTest::newRow("value of a switch") << QStringList{"export", data_, "Team.dat", "--bom=yes"} << 2 << "--bom";
    QTest::newRow("option without its value") << QStringList{"sample", dir_.filePath("s3"), "--seed"} << 2 << "--seed";
    QTest::newRow("bad --records") << QStringList{"sample", dir_.filePath("s4"), "--records=0"} << 2 << "--records";
    QTest::newRow("bad --seed") << QStringList{"sample", dir_.filePath("s5"), "--seed", "x"} << 2 << "--seed";
    QTest::newRow("unknown encoding") << QStringList{"export", data_, "Team.dat", "--encoding", "latin1"} << 2
                                      << "latin1";
    QTest::newRow("unknown format") << QStringList{"export", data_, "Team.dat", "--format", "ods"} << 2
                                    << "unknown format ods";
    QTest::newRow("workbook with a delimiter")
        << QStringList{"export", data_, "Team.dat", "--format=xlsx", "--delimiter", ";"} << 2 << "are for CSV";
    QTest::newRow("--format=XLSX") << QStringList{"export", data_, "Team.dat", "--format=XLSX"} << 0 << "PK";
    QTest::newRow("unknown table") << QStringList{"export", data_, "Nope.dat"} << 2 << "unknown table: Nope.dat";
    // Arguments: too many, too few.
    QTest::newRow("tables extra") << QStringList{"tables", "extra"} << 2 << "unexpected argument \"extra\"";
    QTest::newRow("lint extra") << QStringList{"lint", data_, "extra"} << 2 << "Try 'vantaro3-cli help lint'.";
    QTest::newRow("export extra") << QStringList{"export", data_, "Team.dat", "x"} << 2 << "unexpected argument";
    QTest::newRow("backups extra") << QStringList{"backups", data_, "Team.dat", "x"} << 2 << "unexpected argument";
    QTest::newRow("restore extra") << QStringList{"restore", data_, "Team.dat", "1", "2"} << 2 << "unexpected argument";
    QTest::newRow("sample extra") << QStringList{"sample", dir_.filePath("s6"), "x"} << 2 << "unexpected argument";
    QTest::newRow("export missing") << QStringList{"export", data_} << 2 << "missing TABLE";
    QTest::newRow("import missing") << QStringList{"import", data_, "Team.dat"} << 2 << "missing FILE";
    QTest::newRow("diff missing") << QStringList{"diff", data_} << 2 << "missing FOLDER_B";
    QTest::newRow("restore missing") << QStringList{"restore", data_, "Team.dat"} << 2 << "missing ID";
    for (const char* c : {"check", "lint", "backups", "sample"})
      QTest::addRow("%s missing", c) << QStringList{c} << 2
                                     << QStringLiteral("Try 'vantaro3-cli help %1'.").arg(QLatin1String(c));
    // Locale ids: the known ones only.
    QTest::newRow("locale 9999") << QStringList{"--locale", "9999", "tables"} << 2 << "unknown locale id \"9999\"";
    QTest::newRow("locale=9999 in the command") << QStringList{"tables", "--locale=9999"} << 2 << "2052 (Simplified";
    QTest::newRow("locale x") << QStringList{"--locale", "x", "check", data_} << 2 << "unknown locale id";
    QTest::newRow("locale 1033") << QStringList{"--locale", "1033", "tables"} << 0 << "Team.dat";
    // Folders that are no data folder, and tables that are not there.
    const QString none = "holds none of the game's data files";
    QTest::newRow("export empty folder") << QStringList{"export", empty_, "Team.dat"} << 3 << none;
    QTest::newRow("import empty folder") << QStringList{"import", empty_, "Team.dat", csv_} << 3 << none;
    QTest::newRow("check empty folder") << QStringList{"check", empty_} << 3 << none;
    QTest::newRow("diff empty first folder") << QStringList{"diff", empty_, data_} << 3 << none;
    QTest::newRow("diff empty second folder") << QStringList{"diff", data_, empty_} << 3 << none;
    QTest::newRow("lint empty folder") << QStringList{"lint", empty_} << 3 << none;
    QTest::newRow("backups empty folder") << QStringList{"backups", empty_} << 3 << none;
    QTest::newRow("restore empty folder") << QStringList{"restore", empty_, "Team.dat", "1"} << 3 << none;
    QTest::newRow("no such folder") << QStringList{"lint", dir_.filePath("nowhere")} << 3 << "no such folder";
    QTest::newRow("a file for a folder") << QStringList{"check", csv_} << 3 << "is not a folder";
    QTest::newRow("export missing table")
        << QStringList{"export", partial_, "Level.tab"} << 3 << "Level.tab: no such file in " + partial_;
    QTest::newRow("export missing grid table")
        << QStringList{"export", partial_, "item.dat"} << 3 << "Item.dat: no such file in ";
    QTest::newRow("check missing table") << QStringList{"check", partial_, "Level.tab"} << 3 << "Level.tab: missing";
    QTest::newRow("check of a partial folder") << QStringList{"check", partial_} << 0 << "Item.dat: missing";
    QTest::newRow("missing CSV") << QStringList{"import", data_, "Team.dat", dir_.filePath("none.csv")} << 3
                                 << "none.csv";
    QTest::newRow("restore of no version") << QStringList{"restore", data_, "Team.dat", "999"} << 3 << "restore: ";
  }
  void invocations() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, fragment);
    const CliRun r = RunCli(args);
    const QString text = QString::fromUtf8(r.out + r.err);
    QVERIFY2(r.code == code, qPrintable(QStringLiteral("exit %1: %2").arg(r.code).arg(text)));
    QVERIFY2(text.contains(fragment), qPrintable(text));
    if (code == 2) QVERIFY2(r.out.isEmpty(), r.out.constData());
  }

  // "-" is standard input: the import reads it whole, and names it in a refusal.
  void importFromStandardInput_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("the exported CSV") << ReadFile(csv_) << 0 << QByteArray("Team.dat: 5 records saved");
    QTest::newRow("a record") << QByteArray("1,X,0,0,0,0,0,0,0,0,0\n") << 0 << QByteArray("Team.dat: 1 record saved");
    QTest::newRow("a bad line") << QByteArray("1,X\n") << 3 << QByteArray("standard input: line 1");
    QTest::newRow("nothing") << QByteArray() << 3 << QByteArray("standard input");
  }
  void importFromStandardInput() {
    QFETCH(QByteArray, input);
    QFETCH(int, code);
    QFETCH(QByteArray, message);
    QTemporaryDir d;
    QCOMPARE(RunCli({"sample", d.path(), "--seed", "2", "--records", "5"}).code, 0);
    const QByteArray before = ReadFile(d.filePath("Team.dat"));
    const CliRun r = runWith({"import", d.path(), "Team.dat", "-", "--allow-removal"}, input);
    QVERIFY2(r.code == code, r.err.constData());
    QVERIFY2(r.err.contains(message), r.err.constData());
    const QByteArray now = RunCli({"export", d.path(), "Team.dat"}).out;
    if (code == 0 && input != ReadFile(csv_))
      QVERIFY2(now.startsWith("1,X,"), now.constData());
    else
      QCOMPARE(ReadFile(d.filePath("Team.dat")), before);  // the same records, or refused
  }

  // Output that does not reach its place is trouble, whatever the command found.
  void outputErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("sink");
    QTest::addColumn<QString>("reason");
    const QStringList runs[] = {{"tables"},
                                {"check", data_},
                                {"diff", data_, other_},
                                {"diff", data_, other_, "--csv"},
                                {"lint", spoiled_},
                                {"export", data_, "Team.dat"},
                                {"export", large_, "StarRole.dat"},
                                {"backups", data_},
                                {"--help"},
                                {"help", "import"}};
    for (const QStringList& args : runs) {
      QTest::addRow("%s to a full device", qPrintable(args.join(' ').remove(dir_.path() + '/')))
          << args << "full"
          << "No space left on device";
      QTest::addRow("%s to a closed pipe", qPrintable(args.join(' ').remove(dir_.path() + '/'))) << args << "pipe"
                                                                                                 << "Broken pipe";
    }
  }
  void outputErrors() {
    QFETCH(QStringList, args);
    QFETCH(QString, sink);
    QFETCH(QString, reason);
    QVERIFY(!RunCli(args).out.isEmpty());  // there is output to lose
    const CliRun r = runWith(args, {}, sink);
    QVERIFY2(r.code == 3, qPrintable(QStringLiteral("exit %1: %2").arg(r.code).arg(QString::fromUtf8(r.err))));
    QVERIFY2(r.err.contains("cannot write") && QString::fromUtf8(r.err).contains(reason), r.err.constData());
    QCOMPARE(r.err.count("cannot write"), 1);
  }

  // Every command of --help is in the README and the man page, and both say
  // what each exit status means in the words of --help.
  void everyCommandIsDocumented() {
    const QString help = QString::fromUtf8(RunCli({"--help"}).out);
    const QString readme = QString::fromUtf8(ReadFile(QStringLiteral(V3_SOURCE_DIR "/README.md")));
    const QString man = QString::fromUtf8(ReadFile(QStringLiteral(V3_SOURCE_DIR "/data/vantaro3-cli.1")));
    QVERIFY(!readme.isEmpty() && !man.isEmpty());
    const QString commandList = help.section("Commands:\n", 1).section("\n\n", 0, 0);
    QStringList listed;
    for (const QString& line : commandList.split(u'\n'))
      if (line.startsWith("  ") && !line.startsWith("   ")) listed << line.trimmed().section(u' ', 0, 0);
    QCOMPARE(listed, kCommands);
    // Each with an example: in the README, and in the EXAMPLES of the man page.
    const QString examples = man.section(".SH EXAMPLES", 1).section(".SH ", 0, 0);
    QVERIFY(!examples.isEmpty());
    for (const QString& c : listed) {
      QVERIFY2(readme.contains("| `" + c), qPrintable(c));
      QVERIFY2(man.contains("\\fB" + c + "\\fR") || man.contains(".B " + c + "\n"), qPrintable(c));
      const QRegularExpression example("(^|\n)vantaro3\\\\?-cli( \\\\?-\\\\?-\\w+ \\w+)* " + c + "( |\n)");
      QVERIFY2(readme.contains(example), qPrintable("README example: " + c));
      QVERIFY2(examples.contains(example), qPrintable("man page example: " + c));
    }
    const QString editorMan = QString::fromUtf8(ReadFile(QStringLiteral(V3_SOURCE_DIR "/data/Vantaro3DataEditer.1")));
    QVERIFY(editorMan.contains(".SH EXAMPLES"));
    const QString status = help.section("Exit status:\n", 1);
    const QStringList entries = status.split(QRegularExpression("\n(?=  \\d  )"));
    QCOMPARE(entries.size(), 4);
    for (const QString& entry : entries) {
      const QString meaning = entry.simplified().section(u' ', 1);
      QVERIFY2(plain(readme).contains(meaning), qPrintable("README: " + meaning));
      QVERIFY2(plain(man).contains(meaning), qPrintable("man page: " + meaning));
    }
  }
};

QTEST_GUILESS_MAIN(CliArgsTest)
#include "test_cli_args.moc"
