// An open table as a document: the file it replaces, its stamp after a save,
// and the folder's documents.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "TestSupport.h"
#include "model/TableDocument.h"
#include "tables/Tables.h"
#include "text/DiskFile.h"
#include "tools/Sample.h"

using namespace v3;
using namespace v3test;

namespace {

enum class Outside { Nothing, Rewritten, Touched, Removed };

}  // namespace

class DocumentTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString sample_;
  int folders_ = 0;

  QString freshFolder() {
    const QString folder = dir_.filePath(QStringLiteral("f%1").arg(++folders_));
    QDir().mkpath(folder);
    for (const QString& f : QDir(sample_).entryList(QDir::Files)) QFile::copy(sample_ + "/" + f, folder + "/" + f);
    return folder;
  }

 private slots:
  void initTestCase() {
    sample_ = dir_.filePath("sample");
    QString error;
    QVERIFY2(WriteSampleFolder(sample_, 3, 20, &error), qPrintable(error));
  }

  // A save replaces only the file the document read (or the one the user
  // chose to overwrite); once saved, the document knows its file as written,
  // so the next save is not taken for a change by another program.
  void saveReplacesOnlyTheFileItRead_data() {
    QTest::addColumn<int>("outside");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<bool>("saved");
    QTest::newRow("nobody else touched the file") << int(Outside::Nothing) << false << true;
    QTest::newRow("only its time changed") << int(Outside::Touched) << false << true;
    QTest::newRow("another program rewrote it") << int(Outside::Rewritten) << false << false;
    QTest::newRow("rewritten, the user chose to overwrite") << int(Outside::Rewritten) << true << true;
    QTest::newRow("another program removed it") << int(Outside::Removed) << false << false;
  }
  void saveReplacesOnlyTheFileItRead() {
    QFETCH(int, outside);
    QFETCH(bool, overwrite);
    QFETCH(bool, saved);
    const QString folder = freshFolder();
    TableDocument document(TeamTable(), folder, Script::Traditional);
    QVERIFY(document.load());
    QVERIFY(document.existed());
    QCOMPARE(document.content(), ReadFile(document.path()));
    document.records().setCell(1, 2, QStringLiteral("Zeta"));

    QByteArray other = document.content();
    if (outside == int(Outside::Rewritten)) {
      other[12 + 4] = char(other[12 + 4] ^ 0x01);
      QVERIFY(WriteFile(document.path(), other));
    } else if (outside == int(Outside::Touched)) {
      QFile f(document.path());
      QVERIFY(f.open(QIODevice::ReadWrite));
      QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    } else if (outside == int(Outside::Removed)) {
      QVERIFY(QFile::remove(document.path()));
    }
    const bool changed = outside == int(Outside::Rewritten) || outside == int(Outside::Removed);
    FileStamp now;
    QCOMPARE(document.changedOnDisk(&now), changed);

    TableSaveRequest request;
    if (overwrite) request.options.expected = &now;
    const SaveOutcome outcome = document.save(request);
    QCOMPARE(outcome.status == SaveOutcome::Saved, saved);
    if (!saved) {
      // What the other program left is still there, and the work is still in the document.
      QCOMPARE(QFileInfo::exists(document.path()), outside != int(Outside::Removed));
      if (outside == int(Outside::Rewritten)) QCOMPARE(ReadFile(document.path()), other);
      QCOMPARE(document.records().cell(1, 2), QStringLiteral("Zeta"));
      return;
    }
    QCOMPARE(document.content(), ReadFile(document.path()));
    QVERIFY(!document.changedOnDisk());
    document.records().setCell(1, 2, QStringLiteral("Omega"));
    QCOMPARE(document.save().status, SaveOutcome::Saved);
    TableDocument reread(TeamTable(), folder, Script::Traditional);
    QVERIFY(reread.load());
    QCOMPARE(reread.records().cell(1, 2), QStringLiteral("Omega"));
  }

  // The folder opens each table once, tells which open tables changed on
  // disk, reads one again on request and saves with its history depth.
  void folderKeepsOneDocumentPerTable() {
    const QString folder = freshFolder();
    DataFolder data(folder, Script::Traditional);
    const std::vector<const TableDef*> present = data.tables();
    QVERIFY(std::find(present.begin(), present.end(), &TeamTable()) != present.end());
    TableDocument& team = data.open(TeamTable());
    TableDocument& producers = data.open(ProducerTable());
    team.records().setCell(1, 2, QStringLiteral("Zeta"));
    QCOMPARE(&data.open(TeamTable()), &team);
    QCOMPARE(team.records().cell(1, 2), QStringLiteral("Zeta"));

    QByteArray bytes = ReadFile(producers.path());
    bytes[bytes.size() - 1] = char(bytes[bytes.size() - 1] ^ 0x01);
    QVERIFY(WriteFile(producers.path(), bytes));
    const std::vector<TableDocument*> changed = data.changedOnDisk();
    QCOMPARE(changed.size(), size_t(1));
    QCOMPARE(changed.front(), &producers);
    QVERIFY(data.reload(ProducerTable()));
    QVERIFY(data.changedOnDisk().empty());

    data.setHistoryDepth(0);
    QCOMPARE(data.save(team).status, SaveOutcome::Saved);
    QVERIFY(QDir(folder + "/Vantaro3Backups/Team.dat").entryList(QDir::Files).isEmpty());
    QVERIFY(data.reload(TeamTable()));
    QCOMPARE(team.records().cell(1, 2), QStringLiteral("Zeta"));
  }
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "test_document.moc"
