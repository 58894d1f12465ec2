// The installed layout: cmake --install into a temporary prefix, the files it
// holds, the split into the packages' components, and the installed programs
// finding their language files in share/vantaro3 and keeping Config.ini in the
// user's configuration folder.
#include <QProcess>
#include <QtTest>

#include "TestSupport.h"
#include "text/Places.h"

using namespace v3;
using namespace v3test;

class InstallTest : public QObject {
  Q_OBJECT
  QTemporaryDir prefix_;
  QString build_;

  QString installed(const QString& path) const { return prefix_.filePath(path); }

  // Every file below root, as paths relative to it.
  static QSet<QString> filesBelow(const QString& root) {
    QSet<QString> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) files.insert(QDir(root).relativeFilePath(it.next()));
    return files;
  }

  // cmake --install of some components only, into prefix.
  CliRun installComponents(const QStringList& components, const QString& prefix) const {
    CliRun last{0, {}, {}};
    for (const QString& c : components) {
      last = run(QString::fromLocal8Bit(qgetenv("V3_CMAKE")),
                 {"--install", build_, "--prefix", prefix, "--component", c}, QProcessEnvironment::systemEnvironment());
      if (last.code != 0) break;
    }
    return last;
  }

  static QByteArray gunzip(const QString& path) {
    const CliRun r = run("gzip", {"-dc", path}, QProcessEnvironment::systemEnvironment());
    return r.code == 0 ? r.out : QByteArray();
  }

  static CliRun run(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(60000)) return {-1, {}, {}};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
  }

 private slots:
  void initTestCase() {
    build_ = QString::fromLocal8Bit(qgetenv("V3_BUILD_DIR"));
    if (build_.isEmpty()) QSKIP("V3_BUILD_DIR is set by CTest");
    const CliRun r = run(QString::fromLocal8Bit(qgetenv("V3_CMAKE")), {"--install", build_, "--prefix", prefix_.path()},
                         QProcessEnvironment::systemEnvironment());
    QVERIFY2(r.code == 0, r.err.constData());
  }

  void layout_data() {
    QTest::addColumn<QString>("path");
    for (const char* p : {"bin/vantaro3-cli", "share/vantaro3/CHS.txt", "share/vantaro3/CHT.txt",
                          "share/man/man1/vantaro3-cli.1.gz", "share/doc/vantaro3-cli/copyright",
                          "share/doc/vantaro3-cli/changelog.Debian.gz", "share/lintian/overrides/vantaro3-cli"})
      QTest::newRow(p) << QString::fromLatin1(p);
#ifdef V3_WITH_GUI
    for (const char* p :
         {"bin/Vantaro3DataEditer", "share/applications/vantaro3.desktop",
          "share/icons/hicolor/scalable/apps/vantaro3.svg", "share/vantaro3/README.md",
          "share/vantaro3/guide-zh_CN.html", "share/vantaro3/guide-zh_TW.html", "share/vantaro3/guide-en.html",
          "share/man/man1/Vantaro3DataEditer.1.gz", "share/doc/vantaro3/copyright",
          "share/doc/vantaro3/changelog.Debian.gz", "share/lintian/overrides/vantaro3"})
      QTest::newRow(p) << QString::fromLatin1(p);
#endif
  }
  void layout() {
    QFETCH(QString, path);
    QVERIFY2(QFileInfo(installed(path)).isFile(), qPrintable(path));
    if (path.startsWith("bin/")) QVERIFY(QFileInfo(installed(path)).isExecutable());
  }

  // Man pages and changelogs are installed gzip'ed; each man page has its
  // examples, and the changelog's newest entry is this version's.
  void compressedDocs_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("holds");
    QTest::newRow("cli man page") << "share/man/man1/vantaro3-cli.1.gz" << QByteArray(".TH VANTARO3-CLI 1 ")
                                  << QByteArray("\n.SH EXAMPLES\n");
    QTest::newRow("cli changelog") << "share/doc/vantaro3-cli/changelog.Debian.gz"
                                   << QByteArray("vantaro3 (" V3_VERSION "-") << QByteArray("\n -- ");
#ifdef V3_WITH_GUI
    QTest::newRow("editor man page") << "share/man/man1/Vantaro3DataEditer.1.gz"
                                     << QByteArray(".TH VANTARO3DATAEDITER 1 ") << QByteArray("\n.SH EXAMPLES\n");
    QTest::newRow("editor changelog") << "share/doc/vantaro3/changelog.Debian.gz"
                                      << QByteArray("vantaro3 (" V3_VERSION "-") << QByteArray("\n -- ");
#endif
  }
  void compressedDocs() {
    QFETCH(QString, path);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, holds);
    QVERIFY2(ReadFile(installed(path)).startsWith("\x1f\x8b"), qPrintable(path));
    const QByteArray text = gunzip(installed(path));
    QVERIFY2(text.startsWith(start), text.left(80).constData());
    QVERIFY(text.contains(holds));
  }

  // The packages are the install components: vantaro3-cli (the component cli
  // and what is installed without one) and vantaro3 (editor). No file is in
  // both, together they are the whole install, and the command-line package
  // links no Qt Gui or Widgets.
  void componentsSplitTheInstall() {
    QTemporaryDir cli, editor;
    const CliRun c = installComponents({"cli", "Unspecified"}, cli.path());
    QVERIFY2(c.code == 0, c.err.constData());
    const QSet<QString> cliFiles = filesBelow(cli.path());
    QVERIFY(cliFiles.contains("bin/vantaro3-cli"));
    QVERIFY(cliFiles.contains("share/vantaro3/CHS.txt"));
    QVERIFY(cliFiles.contains("share/vantaro3/CHT.txt"));
    for (const QString& f : cliFiles) {
      const QByteArray bytes = ReadFile(cli.filePath(f));
      QVERIFY2(!bytes.contains("libQt6Widgets") && !bytes.contains("libQt6Gui"), qPrintable(f));
    }
#ifdef V3_WITH_GUI
    const CliRun e = installComponents({"editor"}, editor.path());
    QVERIFY2(e.code == 0, e.err.constData());
    const QSet<QString> editorFiles = filesBelow(editor.path());
    QVERIFY(editorFiles.contains("bin/Vantaro3DataEditer"));
    QVERIFY2(!editorFiles.intersects(cliFiles), qPrintable(QStringList((editorFiles & cliFiles).values()).join(' ')));
    QCOMPARE(cliFiles + editorFiles, filesBelow(prefix_.path()));
#else
    QCOMPARE(cliFiles, filesBelow(prefix_.path()));
#endif
  }

  void nothingElseInBin() {
    for (const QString& f : QDir(installed("bin")).entryList(QDir::Files))
      QVERIFY2(f == "vantaro3-cli" || f == "Vantaro3DataEditer", qPrintable(f));
  }

  void desktopEntryStartsTheEditor() {
    const QByteArray entry = ReadFile(installed("share/applications/vantaro3.desktop"));
    if (entry.isEmpty()) QSKIP("built without the editor");
    QVERIFY(entry.startsWith("[Desktop Entry]\n"));
    QVERIFY(entry.contains("\nExec=Vantaro3DataEditer\n"));
    QVERIFY(entry.contains("\nIcon=vantaro3\n"));
    QVERIFY(entry.contains("\nType=Application\n"));
  }

  void installedToolFindsItsLanguageFiles() {
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const CliRun v = run(installed("bin/vantaro3-cli"), {"--version"}, env);
    QCOMPARE(v.code, 0);
    QCOMPARE(v.out, QByteArray("vantaro3-cli " V3_VERSION "\n"));
    QTemporaryDir data;
    QCOMPARE(run(installed("bin/vantaro3-cli"), {"sample", data.path(), "--records", "2"}, env).code, 0);
    const CliRun h =
        run(installed("bin/vantaro3-cli"), {"--locale", "1028", "export", data.path(), "Team.dat", "--header"}, env);
    QCOMPARE(h.code, 0);
    QVERIFY2(h.out.startsWith(QStringLiteral("編號,團體名稱,").toUtf8()), h.out.constData());
  }

  void installedEditorKeepsConfigInTheUsersFolder() {
#ifndef V3_WITH_GUI
    QSKIP("built without the editor");
#endif
    const QString editor = installed("bin/Vantaro3DataEditer");
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    const CliRun v = run(editor, {"--version"}, env);
    QCOMPARE(v.out, QByteArray("Vantaro3DataEditer " V3_VERSION "\n"));

    // A per-user Config.ini without a data folder: the editor writes its own
    // folder into it (and then says the folder is wrong, and waits).
    const QString config = home.filePath("config/vantaro3/Config.ini");
    QVERIFY(QDir().mkpath(home.filePath("config/vantaro3")));
    QVERIFY(WriteFile(config, "[Config]\r\nPath=\r\n"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(editor, {"--locale", "2052"});
    QVERIFY(p.waitForStarted());
    const QByteArray want = "Path=" + QDir(installed("bin")).absolutePath().toUtf8();
    QTRY_VERIFY_WITH_TIMEOUT(ReadFile(config).contains(want), 20000);
    QCOMPARE(p.state(), QProcess::Running);
    p.kill();
    p.waitForFinished();
    QVERIFY(!QFile::exists(installed("bin/Config.ini")));
  }

  void configFolderRules() {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath("cfg").toLocal8Bit());
    const QString user = home.filePath("cfg/vantaro3");
    // A program in its build folder: Config.ini beside it.
    QTemporaryDir own;
    QVERIFY(WriteFile(own.filePath("CHS.txt"), "[x]\n"));
    QCOMPARE(ConfigFolder(own.path()), own.path());
    QVERIFY(!QFileInfo::exists(user));
    // Installed: the user's folder, made when missing.
    QCOMPARE(ConfigFolder(installed("bin")), user);
    QVERIFY(QFileInfo(user).isDir());
    // A writable Config.ini that is beside an installed program stays in use.
    QTemporaryDir portable;
    QVERIFY(QDir().mkpath(portable.filePath("bin")));
    QVERIFY(QDir().mkpath(portable.filePath("share/vantaro3")));
    QVERIFY(WriteFile(portable.filePath("share/vantaro3/CHT.txt"), "[x]\n"));
    QCOMPARE(ConfigFolder(portable.filePath("bin")), user);
    QVERIFY(WriteFile(portable.filePath("bin/Config.ini"), "[Config]\r\n"));
    QCOMPARE(ConfigFolder(portable.filePath("bin")), portable.filePath("bin"));
  }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "test_install.moc"
